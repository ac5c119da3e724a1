#pragma once

#include "core/Color.h"
#include "core/FileAddress.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Strata
{

class IStream;
class Image;
struct FileVariant; // framework/ResourceManager.h

// Turns an image name into pixels: finds the file as GIF, JPEG or PNG through the registered file
// source, decodes it and applies an optional "_mask" companion to its alpha. Safe to call from several
// threads at once (nothing is kept between calls). Nothing here throws.
class ImageManager
{
public:
    ImageManager() = delete;

    // Fills `out` through Image::Init and returns it. On failure returns null, leaves `out` as it was
    // and writes one log line: "Image <name> was not found." when no file opens, or
    // "Image <file> could not be loaded. (<reason>)" when it cannot be decoded. A mask that cannot be used
    // is logged by its compositor and leaves the image as decoded. Null arguments return null silently.
    static Image* LoadImage(const wchar_t* name, Image* out);
    // A new image, or null as above.
    static std::unique_ptr<Image> LoadImage(const wchar_t* name);

    // The first of name + ".gif", ".jpg", ".png" that the file source opens; its address is copied to
    // `found` when given. Null when none opens (logged as "Image <name> was not found."), when there is
    // no file source, or when the name is null or too long for an address. The caller closes the stream
    // through the file system.
    static IStream* OpenImageFile(const wchar_t* name, FileAddress* found);
    // As OpenImageFile for name + "_mask" with ".gif", ".png", ".jpg"; logs nothing when there is none.
    static IStream* OpenImageMaskFile(const wchar_t* name, FileAddress* found);

    // The files a streamed image may need: name with ".jpg", ".gif", ".png", and name + "_mask" with
    // ".gif", ".png", ".jpg".
    static FileVariant GetImageFileVariant(const std::wstring& name);
    static FileVariant GetImageMaskFileVariant(const std::wstring& name);
};

// One image loaded exactly as ImageManager::LoadImage loads it, in three steps, so that several can be
// decoded on several threads while their files are still read, and their lines logged, in order:
// Read finds the image and its mask and reads them into memory (on the thread that may use the file
// system, which a loader may hold locked), Decode makes and masks the pixels (on any thread: it touches
// no file and nothing shared, and keeps its log lines), and Finish writes the lines LoadImage would
// have written and hands the image over. Each step runs once, in that order; nothing here throws.
class PendingImage
{
public:
    explicit PendingImage(std::wstring name);
    PendingImage(const PendingImage&) = delete;
    PendingImage& operator=(const PendingImage&) = delete;

    // False when no image file opens (or reading failed); nothing is logged yet.
    bool Read();
    // Nothing to do when Read found nothing.
    void Decode();
    // Logs what LoadImage would have logged and fills `out` through Image::Init: `out`, or null as
    // LoadImage answers it.
    Image* Finish(Image* out);

    // Decode of every image given, on up to `threads` threads (the calling one among them); returns
    // when all are decoded.
    static void DecodeAll(const std::vector<PendingImage*>& images, unsigned threads);
    // The threads DecodeAll is worth giving on this machine: its cores, at most 8, at least 1.
    static unsigned GetDecodeThreads();

private:
    std::wstring mName;
    // The name with the found extension once the file is found; the name until then.
    std::wstring mFileName;
    FileAddress mAddress;
    FileAddress mMaskAddress;
    bool mFound = false;
    bool mHasMask = false;
    bool mDecoded = false;
    std::vector<uint8_t> mBytes;
    std::vector<uint8_t> mMaskBytes;
    // The lengths the files' streams gave, which the bytes read may fall short of.
    uint32_t mLength = 0;
    uint32_t mMaskLength = 0;
    std::vector<Color32> mPixels;
    int mWidth = 0;
    int mHeight = 0;
    bool mHasAlpha = false;
    bool mHasColorKey = false;
    // Why decoding failed; null when it did not.
    const char* mReason = nullptr;
    // The message of an error met on the way; empty when none was.
    std::string mError;
    // What Decode logged (the mask's lines), written by Finish.
    std::string mLog;
};

} // namespace Strata
