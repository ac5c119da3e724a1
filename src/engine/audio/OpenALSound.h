#pragma once

#include "framework/AudioInterfaces.h"
#include "framework/ResourceManager.h"

#include <boost/intrusive_ptr.hpp>

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace Strata::AudioLibrary
{
struct sClipLength;
}

namespace Strata
{

class IAttributeContainer;
class IXMLReader;

// The data of one file variant of a sound, as a library handle of its own, and the length its decoder
// gives, which is known with or without a device.
class SoundFileData
{
public:
    explicit SoundFileData(std::wstring file) : mFile(std::move(file)) {}
    virtual ~SoundFileData() = default;
    // A channel handle to play this data; 0 without a device or when the data failed to load.
    virtual uint32_t GetChannel() const = 0;

    // False when the bytes could not be decoded at all: such a clip plays nothing, not even silence.
    bool IsDecodable() const { return Prepare(), mRate != 0; }
    unsigned GetRate() const { return Prepare(), mRate; }
    // Frames of one play at the clip's own rate; -1 when its decoder cannot tell.
    long long GetFrames() const { return Prepare(), mFrames; }
    const std::wstring& GetFile() const { return mFile; }
    // True on the first call only, so a clip's trouble at play time is logged once. Main thread only.
    bool TakeFirstReport() const { return !std::exchange(mReported, true); }

protected:
    // Opens a clip whose opening was put off, before its length or handle is first read. Nothing here.
    virtual void Prepare() const {}

    // Opens the clip once and keeps its length: with a device `make` makes the handle from the bytes
    // and fills in what its decoder learned on the way; without one the bytes are only measured. Logs
    // "<call> error: <code> (<file>)" once when the bytes cannot be decoded or the handle cannot be made.
    // The handle, or 0 without a device or on failure.
    uint32_t Open(const void* bytes, size_t length, bool module, const char* call,
                  const std::function<uint32_t(AudioLibrary::sClipLength*)>& make);

private:
    // Reads the clip's length alone. Logs as Open does and answers false when the bytes cannot be decoded.
    bool Measure(const void* bytes, size_t length, bool module, const char* call);

    std::wstring mFile;
    unsigned mRate = 0;
    long long mFrames = -1;
    mutable bool mReported = false;
};

// Decoded once; every GetChannel is a new playback (at most 32 at once).
class SampleSoundFileData final : public SoundFileData
{
public:
    // Logs one line naming `file` when the bytes cannot be decoded.
    SampleSoundFileData(const std::vector<uint8_t>& bytes, const std::wstring& file);
    ~SampleSoundFileData() override;
    uint32_t GetChannel() const override;

private:
    uint32_t mSample = 0;
};

// Decoded as it plays, from bytes it keeps; every play shares the one handle and position. Opening an Ogg
// Vorbis file builds its decoder's tables, which costs several times reading it: a whole one
// (Internal::IsWholeOggVorbis) is opened when its length or handle is first read, any other file at once,
// so that a file that cannot be opened is logged as it loads. Thread-safe.
class StreamSoundFileData final : public SoundFileData
{
public:
    StreamSoundFileData(std::vector<uint8_t> bytes, const std::wstring& file);
    ~StreamSoundFileData() override;
    uint32_t GetChannel() const override { return Prepare(), mStream; }

protected:
    void Prepare() const override;

private:
    void OpenStream();

    mutable std::once_flag mOpened;
    std::vector<uint8_t> mBytes;
    uint32_t mStream = 0;
};

// A tracker module rendered as it plays; one shared handle like a stream.
class MusicSoundFileData final : public SoundFileData
{
public:
    MusicSoundFileData(const std::vector<uint8_t>& bytes, const std::wstring& file);
    ~MusicSoundFileData() override;
    uint32_t GetChannel() const override { return mMusic; }

private:
    uint32_t mMusic = 0;
};

// A sound's file variants; one is picked for every play.
class OpenALSoundData final : public IReferenced
{
public:
    void AddRef() override;
    void Release() override;

    void AddVariant(std::shared_ptr<SoundFileData> variant);
    size_t GetVariantCount() const { return mVariants.size(); }
    // Null without variants. With more than two variants the same one never comes twice in a row. The
    // pick lives as long as this data. Main thread only.
    const SoundFileData* PickVariant();
    int GetLastIndex() const { return mLastIndex; }

private:
    ~OpenALSoundData() override = default;

    std::atomic<int> mReferences{1};
    std::vector<std::shared_ptr<SoundFileData>> mVariants;
    int mLastIndex = -1;
};

class OpenALSound : public ISound
{
public:
    OpenALSound();
    ~OpenALSound() override;

    Label GetKind() const override { return mKind; }
    float GetDefaultVolume() const override { return mDefaultVolume; }
    float GetDefaultRate() const override { return mDefaultRate; }
    float GetDefaultPan() const override { return mDefaultPan; }
    int GetDefaultLoopCount() const override { return mDefaultLoopCount; }
    IReferenced* GetSoundData() const override { return mSoundData.get(); }
    OpenALSoundData* GetData() const { return mSoundData.get(); }

    // Builds the resource of a "sound" element (random false) or a "randomsound" element (random
    // true, one variant per inner "sound" tag). Never null; a variant whose file is missing or cannot
    // be read is left out.
    static IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name,
                                               const IAttributeContainer& attributes, IXMLReader& element, bool random);
    static void GetFileListForResource(std::list<FileVariant>* files, const IAttributeContainer& attributes,
                                       IXMLReader& element, bool random);

private:
    Label mKind;
    float mDefaultVolume = 1.0f;
    float mDefaultRate = 1.0f;
    float mDefaultPan = 0.0f;
    int mDefaultLoopCount = 1;
    boost::intrusive_ptr<OpenALSoundData> mSoundData;
};

// "effect", "sfx" and "" give the "Effect" kind, "ambient" and "music" theirs; any other text is a
// kind of its own.
Label ToSoundKind(const std::wstring& type);

// The file variant named by "src": the first of the audio extensions that opens. Null when none does or
// the file cannot be read. Without a device the variant has no handle but knows its clip's length.
std::shared_ptr<SoundFileData> CreateSoundFileData(const IAttributeContainer& attributes, bool allowStream);

namespace Internal
{
// True for bytes that begin with an Ogg page holding a Vorbis identification header of one or two
// channels and end with the stream's last page, each whole and with a checksum that holds: a file whose
// decoder will tell its length. Damage between them is found only when it is decoded.
bool IsWholeOggVorbis(const uint8_t* bytes, size_t length);
} // namespace Internal

class OpenALSoundResourceFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
    void GetFileListForResource(std::list<FileVariant>* files, const std::wstring& manifest, Label name,
                                const IAttributeContainer& attributes, IXMLReader& element) const override;
};

class OpenALRandomSoundResourceFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
    void GetFileListForResource(std::list<FileVariant>* files, const std::wstring& manifest, Label name,
                                const IAttributeContainer& attributes, IXMLReader& element) const override;
};

} // namespace Strata
