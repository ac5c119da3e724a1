#pragma once

#include <memory>
#include <string>

namespace Strata
{

class FileAddress;
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

} // namespace Strata
