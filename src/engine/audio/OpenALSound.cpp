#include "audio/OpenALSound.h"

#include "audio/Audio.h"
#include "audio/AudioLibrary.h"
#include "audio/OpenALAudioPlatform.h"
#include "core/AttributeContainer.h"
#include "core/FileAddress.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Stream.h"
#include "core/StreamCopy.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "framework/ResourceDescriptor.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>

namespace Strata
{

namespace
{

struct sExtension
{
    const wchar_t* text;
    bool module;
};

constexpr sExtension kExtensions[] = {{L".ogg", false}, {L".mp3", false}, {L".wav", false}, {L".aif", false},
                                      {L".mod", true},  {L".s3m", true},  {L".xm", true},   {L".it", true},
                                      {L".mo3", true},  {L".mtm", true},  {L".umx", true}};

// A sound file larger than this is refused rather than read whole into memory.
constexpr uint32_t kMaxSoundFileBytes = 64u << 20;

std::string Narrow(const std::wstring& text)
{
    return TruncateStringWideToASCII(text.c_str());
}

void LogLoadFailure(const char* call, const std::wstring& file, int code)
{
    Internal::LogWrite("%s error: %d (%s)\n", call, code, Narrow(file).c_str());
}

// NaN takes the fallback; anything else is clamped.
float ClampOr(float value, float low, float high, float fallback)
{
    return std::isnan(value) ? fallback : std::clamp(value, low, high);
}

int ReadLoopCount(const IAttributeContainer& attributes)
{
    const std::wstring text = attributes.GetAttribute(L"loop");
    if (text == L"forever")
        return 0;
    if (text.empty())
        return 1;
    // Read wide so a count beyond 32 bits clamps instead of wrapping.
    wchar_t* end = nullptr;
    const long long count = std::wcstoll(text.c_str(), &end, 10);
    return static_cast<int>(std::clamp<long long>(count, 0, INT_MAX));
}

// The whole file, or nothing when it cannot be opened or read.
bool ReadWholeFile(IStream& stream, std::vector<uint8_t>* bytes)
{
    const uint32_t length = stream.GetLength();
    if (length > kMaxSoundFileBytes)
        return false;
    bytes->resize(length);
    bytes->resize(StreamReadFully(stream, bytes->data(), length));
    return true;
}

// Every start tag named "sound" inside the element, in document order.
std::vector<AttributeContainer> InnerSounds(IXMLReader& element)
{
    std::vector<AttributeContainer> sounds;
    element.ReadElement();
    while (!element.IsEOF())
    {
        const XMLElement* item = element.ReadElement();
        if (item == nullptr)
            break;
        if (item->IsStartElement() && item->GetName() == L"sound")
            sounds.emplace_back(item->GetAttributes());
    }
    return sounds;
}

FileVariant AllExtensions(const std::wstring& name)
{
    FileVariant variant;
    variant.name = name;
    for (const sExtension& extension : kExtensions)
        variant.extensions.push_back(extension.text);
    return variant;
}

constexpr size_t kOggPageHeader = 27;
constexpr uint8_t kOggFirstPage = 0x02;
constexpr uint8_t kOggLastPage = 0x04;
// The largest page: its header, 255 lacing values of 255 bytes each.
constexpr size_t kOggMaxPage = kOggPageHeader + 255 + 255 * 255;

uint32_t ReadLittleEndian(const uint8_t* p, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// Ogg's page checksum: CRC-32 of polynomial 0x04c11db7, unreflected, over the page with its checksum
// field taken as zero.
uint32_t OggChecksum(const uint8_t* page, size_t size)
{
    static const auto table = []
    {
        std::array<uint32_t, 256> values{};
        for (uint32_t i = 0; i < 256; ++i)
        {
            uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                r = r & 0x80000000u ? r << 1 ^ 0x04c11db7u : r << 1;
            values[i] = r;
        }
        return values;
    }();
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i)
        crc = crc << 8 ^ table[(crc >> 24 ^ (i >= 22 && i < 26 ? 0 : page[i])) & 0xff];
    return crc;
}

struct sOggPage
{
    uint8_t flags = 0;
    uint32_t serial = 0;
    bool hasGranule = false;
    const uint8_t* body = nullptr;
    size_t bodySize = 0;
    size_t size = 0;
};

// The page at `offset`, when it lies whole within the bytes and its checksum holds.
bool ReadOggPage(const uint8_t* bytes, size_t length, size_t offset, sOggPage& page)
{
    if (offset > length || length - offset < kOggPageHeader)
        return false;
    const uint8_t* p = bytes + offset;
    if (std::memcmp(p, "OggS", 4) != 0 || p[4] != 0)
        return false;
    const size_t segments = p[26];
    if (length - offset < kOggPageHeader + segments)
        return false;
    size_t bodySize = 0;
    for (size_t i = 0; i < segments; ++i)
        bodySize += p[kOggPageHeader + i];
    const size_t size = kOggPageHeader + segments + bodySize;
    if (length - offset < size || OggChecksum(p, size) != ReadLittleEndian(p + 22, 4))
        return false;
    page.flags = p[5];
    page.hasGranule = ReadLittleEndian(p + 6, 4) != 0xffffffffu || ReadLittleEndian(p + 10, 4) != 0xffffffffu;
    page.serial = ReadLittleEndian(p + 14, 4);
    page.body = p + kOggPageHeader + segments;
    page.bodySize = bodySize;
    page.size = size;
    return true;
}

} // namespace

namespace Internal
{

bool IsWholeOggVorbis(const uint8_t* bytes, size_t length)
{
    sOggPage first;
    if (bytes == nullptr || !ReadOggPage(bytes, length, 0, first) || !(first.flags & kOggFirstPage))
        return false;
    // The identification header: type 1, "vorbis", version 0, channels, rate.
    constexpr size_t kIdentification = 30;
    const uint8_t* id = first.body;
    if (first.bodySize < kIdentification || id[0] != 1 || std::memcmp(id + 1, "vorbis", 6) != 0 ||
        ReadLittleEndian(id + 7, 4) != 0 || id[11] < 1 || id[11] > 2 || ReadLittleEndian(id + 12, 4) == 0)
        return false;
    // The last page ends the bytes; its start is found from the end, a page being at most kOggMaxPage.
    const size_t earliest = length > kOggMaxPage ? length - kOggMaxPage : 0;
    for (size_t offset = length - kOggPageHeader + 1; offset-- > earliest;)
    {
        sOggPage last;
        if (bytes[offset] == 'O' && ReadOggPage(bytes, length, offset, last) && offset + last.size == length)
            return (last.flags & kOggLastPage) && last.serial == first.serial && last.hasGranule;
    }
    return false;
}

} // namespace Internal

bool SoundFileData::Measure(const void* bytes, size_t length, bool module, const char* call)
{
    if (!AudioLibrary::ClipGetLength(bytes, length, module, &mRate, &mFrames))
    {
        mRate = 0;
        LogLoadFailure(call, mFile, AudioLibrary::ErrorGetCode());
        return false;
    }
    return true;
}

uint32_t SoundFileData::Open(const void* bytes, size_t length, bool module, const char* call,
                             const std::function<uint32_t(AudioLibrary::sClipLength*)>& make)
{
    if (!IsOpenALAudioPlatformInitialized())
    {
        // No handle is to be made; the length is known all the same.
        Measure(bytes, length, module, call);
        return 0;
    }
    AudioLibrary::sClipLength clip;
    const uint32_t handle = make(&clip);
    const int error = AudioLibrary::ErrorGetCode();
    if (clip.measured)
    {
        mRate = clip.rate;
        mFrames = clip.frames;
    }
    else if (!Measure(bytes, length, module, call))
    {
        // The bytes cannot be decoded: logged once, by the measure.
        return 0;
    }
    if (handle == 0)
        LogLoadFailure(call, mFile, error);
    return handle;
}

SampleSoundFileData::SampleSoundFileData(const std::vector<uint8_t>& bytes, const std::wstring& file)
    : SoundFileData(file)
{
    mSample = Open(
        bytes.data(), bytes.size(), false, "BASS_SampleLoad",
        [&](AudioLibrary::sClipLength* clip)
        { return AudioLibrary::SampleLoad(bytes.data(), bytes.size(), 32, clip); });
}

SampleSoundFileData::~SampleSoundFileData()
{
    // After the library is closed every handle is gone with it.
    if (mSample != 0 && IsOpenALAudioPlatformInitialized())
    {
        AudioLibrary::SampleFree(mSample);
        CheckAudioCall("BASS_SampleFree(m_hsample)");
    }
}

uint32_t SampleSoundFileData::GetChannel() const
{
    return mSample != 0 ? AudioLibrary::SampleGetChannel(mSample) : 0;
}

StreamSoundFileData::StreamSoundFileData(std::vector<uint8_t> bytes, const std::wstring& file)
    : SoundFileData(file), mBytes(std::move(bytes))
{
    if (!Internal::IsWholeOggVorbis(mBytes.data(), mBytes.size()))
        std::call_once(
            mOpened, [this] { OpenStream(); });
}

void StreamSoundFileData::Prepare() const
{
    // Never made const: every stream is made by CreateSoundFileData.
    std::call_once(mOpened, [this] { const_cast<StreamSoundFileData*>(this)->OpenStream(); });
}

void StreamSoundFileData::OpenStream()
{
    mStream = Open(mBytes.data(), mBytes.size(), false, "BASS_StreamCreateFile",
                   [this](AudioLibrary::sClipLength* clip)
                   { return AudioLibrary::StreamCreate(mBytes.data(), mBytes.size(), clip); });
    if (mStream == 0)
    {
        // Nothing will stream them.
        std::vector<uint8_t>().swap(mBytes);
    }
}

StreamSoundFileData::~StreamSoundFileData()
{
    if (mStream != 0 && IsOpenALAudioPlatformInitialized())
    {
        AudioLibrary::StreamFree(mStream);
        CheckAudioCall("BASS_StreamFree(m_hstream)");
    }
}

MusicSoundFileData::MusicSoundFileData(const std::vector<uint8_t>& bytes, const std::wstring& file)
    : SoundFileData(file)
{
    mMusic = Open(
        bytes.data(), bytes.size(), true, "BASS_MusicLoad",
        [&](AudioLibrary::sClipLength* clip) { return AudioLibrary::MusicLoad(bytes.data(), bytes.size(), clip); });
}

MusicSoundFileData::~MusicSoundFileData()
{
    if (mMusic != 0 && IsOpenALAudioPlatformInitialized())
    {
        AudioLibrary::MusicFree(mMusic);
        CheckAudioCall("BASS_MusicFree(m_hmusic)");
    }
}

void OpenALSoundData::AddRef()
{
    mReferences.fetch_add(1);
}

void OpenALSoundData::Release()
{
    if (mReferences.fetch_sub(1) == 1)
        delete this;
}

void OpenALSoundData::AddVariant(std::shared_ptr<SoundFileData> variant)
{
    if (variant)
        mVariants.push_back(std::move(variant));
}

const SoundFileData* OpenALSoundData::PickVariant()
{
    if (mVariants.empty())
        return nullptr;
    const int last = static_cast<int>(mVariants.size()) - 1;
    int index = 0;
    if (mVariants.size() > 2 && mLastIndex >= 0)
    {
        // One draw among the others: drawing again until it differs would never end on a generator
        // that keeps answering the same.
        index = Random::GetIntRange(last - 1);
        if (index >= mLastIndex)
            ++index;
    }
    else
    {
        index = Random::GetIntRange(last);
    }
    mLastIndex = index;
    return mVariants[static_cast<size_t>(index)].get();
}

Label ToSoundKind(const std::wstring& type)
{
    if (type.empty() || type == L"effect" || type == L"sfx")
        return Audio::GetEffectKind();
    if (type == L"ambient")
        return Audio::GetAmbientKind();
    if (type == L"music")
        return Audio::GetMusicKind();
    return Label::FromString(type);
}

std::shared_ptr<SoundFileData> CreateSoundFileData(const IAttributeContainer& attributes, bool allowStream)
{
    IFileSource* source = GetFileSource();
    if (source == nullptr)
        return nullptr;
    const std::wstring name = attributes.GetAttribute(L"src");
    if (name.empty())
        return nullptr;
    for (const sExtension& extension : kExtensions)
    {
        std::unique_ptr<IStream> stream;
        try
        {
            stream.reset(source->OpenFileStream(FileAddress(name.c_str(), extension.text)));
        }
        catch (const std::exception&)
        {
            // A name too long for an address: this form is not there.
        }
        if (!stream)
            continue;
        const std::wstring file = name + extension.text;
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(*stream, &bytes))
        {
            Internal::LogWrite("Sound file %s is too large.\n", Narrow(file).c_str());
            return nullptr;
        }
        if (extension.module)
            return std::make_shared<MusicSoundFileData>(bytes, file);
        if (allowStream)
            return std::make_shared<StreamSoundFileData>(std::move(bytes), file);
        return std::make_shared<SampleSoundFileData>(bytes, file);
    }
    return nullptr;
}

OpenALSound::OpenALSound() : mKind(Audio::GetEffectKind())
{
}

OpenALSound::~OpenALSound() = default;

IResourceDescriptor* OpenALSound::CreateResource(const std::wstring& manifest, Label name,
                                                 const IAttributeContainer& attributes, IXMLReader& element,
                                                 bool random)
{
    auto wrapper = std::make_unique<ResourceWrapper<OpenALSound>>(manifest, name, attributes);
    OpenALSound& sound = *wrapper;
    sound.mKind = ToSoundKind(attributes.GetAttribute(L"type", L"effect"));
    sound.mDefaultVolume = ClampOr(attributes.GetAttribute(L"volume", 1.0f), 0.0f, 1.0f, 1.0f);
    sound.mDefaultPan = ClampOr(attributes.GetAttribute(L"pan", 0.0f), -1.0f, 1.0f, 0.0f);
    sound.mDefaultRate = ClampOr(attributes.GetAttribute(L"rate", 1.0f), FLT_MIN, FLT_MAX, 1.0f);
    sound.mDefaultLoopCount = ReadLoopCount(attributes);
    sound.mSoundData.reset(new OpenALSoundData(), false);
    if (random)
        for (const AttributeContainer& inner : InnerSounds(element))
            sound.mSoundData->AddVariant(CreateSoundFileData(inner, true));
    else
        sound.mSoundData->AddVariant(CreateSoundFileData(attributes, true));
    return wrapper.release();
}

void OpenALSound::GetFileListForResource(std::list<FileVariant>* files, const IAttributeContainer& attributes,
                                         IXMLReader& element, bool random)
{
    if (files == nullptr)
        return;
    if (!random)
    {
        files->push_back(AllExtensions(attributes.GetAttribute(L"src")));
        return;
    }
    for (const AttributeContainer& inner : InnerSounds(element))
        files->push_back(AllExtensions(inner.GetAttribute(L"src")));
}

IResourceDescriptor* OpenALSoundResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                                const IAttributeContainer& attributes,
                                                                IXMLReader& element) const
{
    return OpenALSound::CreateResource(manifest, name, attributes, element, false);
}

void OpenALSoundResourceFactory::GetFileListForResource(std::list<FileVariant>* files, const std::wstring&, Label,
                                                        const IAttributeContainer& attributes,
                                                        IXMLReader& element) const
{
    OpenALSound::GetFileListForResource(files, attributes, element, false);
}

IResourceDescriptor* OpenALRandomSoundResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                                      const IAttributeContainer& attributes,
                                                                      IXMLReader& element) const
{
    return OpenALSound::CreateResource(manifest, name, attributes, element, true);
}

void OpenALRandomSoundResourceFactory::GetFileListForResource(std::list<FileVariant>* files, const std::wstring&, Label,
                                                              const IAttributeContainer& attributes,
                                                              IXMLReader& element) const
{
    OpenALSound::GetFileListForResource(files, attributes, element, true);
}

} // namespace Strata
