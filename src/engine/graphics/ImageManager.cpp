#include "graphics/ImageManager.h"

#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/Stream.h"
#include "core/WideString.h"
#include "framework/FileSource.h"
#include "framework/ResourceManager.h"
#include "graphics/GifDecoder.h"
#include "graphics/Image.h"
#include "graphics/ImageFiles.h"

#include <exception>
#include <utility>
#include <vector>

namespace Strata
{

namespace
{

const wchar_t* const kImageSearchOrder[] = {L".gif", L".jpg", L".png"};
const wchar_t* const kMaskSearchOrder[] = {L".gif", L".png", L".jpg"};

// Closes a stream the file source opened, through the file system that made it.
class StreamHolder
{
public:
    explicit StreamHolder(IStream* stream) : mStream(stream) {}
    ~StreamHolder()
    {
        if (mStream == nullptr)
            return;
        if (FileSystem* fileSystem = GetFileSystem())
            fileSystem->CloseStream(mStream);
        else
            delete mStream;
    }
    StreamHolder(const StreamHolder&) = delete;
    StreamHolder& operator=(const StreamHolder&) = delete;

    IStream* Get() const { return mStream; }

private:
    IStream* mStream;
};

IStream* OpenFirst(const wchar_t* name, const wchar_t* suffix, const wchar_t* const (&extensions)[3],
                   FileAddress* found)
{
    IFileSource* source = GetFileSource();
    if (name == nullptr || source == nullptr)
        return nullptr;
    const std::wstring base = std::wstring(name) + suffix;
    for (const wchar_t* extension : extensions)
    {
        try
        {
            const FileAddress address(base.c_str(), extension);
            if (IStream* stream = source->OpenFileStream(address))
            {
                if (found != nullptr)
                    *found = address;
                return stream;
            }
        }
        catch (const std::exception&)
        {
            // A name too long for an address, or a file source that failed: this form is not there.
        }
    }
    return nullptr;
}

bool HasExtension(const FileAddress& address, const wchar_t* extension)
{
    return address.GetExtension() != nullptr && wcsicmp(address.GetExtension(), extension) == 0;
}

struct Decoded
{
    std::vector<Color32> pixels;
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    bool hasColorKey = false;
};

// Empty pixels on failure, with the reason.
Decoded DecodeImageFile(IStream* stream, const FileAddress& address, const char** reason)
{
    Decoded result;
    if (HasExtension(address, L".jpg"))
    {
        result.pixels = JPGLoadImage(stream, &result.width, &result.height, reason);
    }
    else if (HasExtension(address, L".gif"))
    {
        C_ImageSet set;
        bool hasTransparency = false;
        int imageCount = 0;
        result.pixels = set.LoadOpenFileGIF(stream, result.width, result.height, hasTransparency, imageCount, reason);
        result.hasAlpha = hasTransparency;
        result.hasColorKey = hasTransparency;
    }
    else if (HasExtension(address, L".png"))
    {
        result.pixels = PNGLoadImage(stream, &result.width, &result.height, nullptr, reason);
        result.hasAlpha = true;
    }
    else
    {
        *reason = "the file type is unknown";
    }
    return result;
}

std::wstring FileName(const FileAddress& address)
{
    std::wstring text = address.GetName() != nullptr ? address.GetName() : L"";
    if (address.GetExtension() != nullptr)
        text += address.GetExtension();
    return text;
}

// Applies the mask found for `name`, if any; true when it was applied.
bool ApplyMask(const wchar_t* name, Decoded& image)
{
    FileAddress maskAddress;
    StreamHolder mask(ImageManager::OpenImageMaskFile(name, &maskAddress));
    if (mask.Get() == nullptr)
        return false;
    const std::wstring imageName = name;
    if (HasExtension(maskAddress, L".gif"))
        return LoadAndCompositeGIFMaskFile(mask.Get(), image.width, image.height, image.pixels.data(), imageName);
    if (HasExtension(maskAddress, L".png"))
        return LoadAndCompositePNGMaskFile(mask.Get(), image.width, image.height, image.pixels.data(), imageName);
    if (HasExtension(maskAddress, L".jpg"))
        return LoadAndCompositeJPGMaskFile(mask.Get(), image.width, image.height, image.pixels.data(), imageName);
    return false;
}

} // namespace

IStream* ImageManager::OpenImageFile(const wchar_t* name, FileAddress* found)
{
    IStream* stream = OpenFirst(name, L"", kImageSearchOrder, found);
    if (stream == nullptr && name != nullptr)
        Internal::LogWrite("Image %ls was not found.\n", name);
    return stream;
}

IStream* ImageManager::OpenImageMaskFile(const wchar_t* name, FileAddress* found)
{
    return OpenFirst(name, L"_mask", kMaskSearchOrder, found);
}

Image* ImageManager::LoadImage(const wchar_t* name, Image* out)
{
    if (name == nullptr || out == nullptr)
        return nullptr;
    std::wstring fileName = name;
    try
    {
        Decoded image;
        {
            FileAddress address;
            StreamHolder stream(OpenImageFile(name, &address));
            if (stream.Get() == nullptr)
                return nullptr;
            fileName = FileName(address);
            const char* reason = "it could not be decoded";
            image = DecodeImageFile(stream.Get(), address, &reason);
            if (image.pixels.empty())
            {
                Internal::LogWrite("Image %ls could not be loaded. (%s)\n", fileName.c_str(), reason);
                return nullptr;
            }
        }
        if (ApplyMask(name, image))
        {
            image.hasAlpha = true;
            image.hasColorKey = false;
        }
        if (!out->Init(std::move(image.pixels), image.width, image.height, image.hasAlpha, image.hasColorKey))
        {
            Internal::LogWrite("Image %ls could not be loaded. (%s)\n", fileName.c_str(), "the image was refused");
            return nullptr;
        }
        return out;
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("Image %ls could not be loaded. (%s)\n", fileName.c_str(), error.what());
        return nullptr;
    }
}

std::unique_ptr<Image> ImageManager::LoadImage(const wchar_t* name)
{
    try
    {
        auto image = std::make_unique<Image>();
        if (LoadImage(name, image.get()) == nullptr)
            return nullptr;
        return image;
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("Image %ls could not be loaded. (%s)\n", name != nullptr ? name : L"", error.what());
        return nullptr;
    }
}

FileVariant ImageManager::GetImageFileVariant(const std::wstring& name)
{
    return FileVariant{name, {L".jpg", L".gif", L".png"}};
}

FileVariant ImageManager::GetImageMaskFileVariant(const std::wstring& name)
{
    return FileVariant{name + L"_mask", {L".gif", L".png", L".jpg"}};
}

} // namespace Strata
