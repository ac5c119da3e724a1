#include "graphics/ImageFiles.h"

#include "core/Log.h"
#include "core/Stream.h"
#include "core/StreamCopy.h"
#include "graphics/GifDecoder.h"
#include "graphics/Image.h"

#include <new>

namespace Strata
{

namespace
{

// The whole stream in memory: the stream's own bytes when it offers them, else a copy in `copy`.
// Null, with the reason, when the stream is empty or yields fewer bytes than its length.
const uint8_t* ReadWholeStream(IStream* stream, std::vector<uint8_t>& copy, size_t& length, const char** reason)
{
    auto fail = [reason](const char* why) -> const uint8_t*
    {
        if (reason != nullptr)
            *reason = why;
        return nullptr;
    };
    if (stream == nullptr)
        return fail("there is no stream");
    const size_t total = stream->GetLength();
    if (total == 0)
        return fail("the file is empty");

    if (stream->GetCapabilities() & StreamCaps_ReadOptimized)
    {
        void* buffer = nullptr;
        const size_t got = stream->ReadOptimized(buffer, total);
        if (buffer == nullptr || got != total)
            return fail("the file is shorter than its length");
        length = total;
        return static_cast<const uint8_t*>(buffer);
    }

    try
    {
        copy.resize(total);
    }
    catch (const std::bad_alloc&)
    {
        return fail("there is not enough memory");
    }
    if (StreamReadFully(*stream, copy.data(), total) != total)
        return fail("the file is shorter than its length");
    length = total;
    return copy.data();
}

std::vector<Color32> LoadThroughStb(Internal::StbFormat format, IStream* stream, int* width, int* height, int& channels,
                                    const char** reason)
{
    std::vector<uint8_t> copy;
    size_t length = 0;
    const uint8_t* data = ReadWholeStream(stream, copy, length, reason);
    if (data == nullptr)
        return {};
    int decodedWidth = 0;
    int decodedHeight = 0;
    std::vector<Color32> pixels =
        Internal::DecodeStbImage(format, data, length, decodedWidth, decodedHeight, channels, reason);
    if (pixels.empty())
        return pixels;
    if (width != nullptr)
        *width = decodedWidth;
    if (height != nullptr)
        *height = decodedHeight;
    return pixels;
}

bool IsTargetValid(IStream* mask, int width, int height, const Color32* pixels)
{
    return mask != nullptr && pixels != nullptr && width >= 1 && width <= kMaxImageSide && height >= 1 &&
           height <= kMaxImageSide;
}

// Logs the failure line for a mask that gave no pixels, or the wrong-size line; true when the mask fits.
bool CheckMask(bool decoded, const char* reason, int maskWidth, int maskHeight, int width, int height,
               const std::wstring& imageName)
{
    if (!decoded)
    {
        Internal::LogWrite("Image Mask %ls could not be loaded. (%s)\n", imageName.c_str(),
                           reason != nullptr ? reason : "it could not be decoded");
        return false;
    }
    if (maskWidth != width || maskHeight != height)
    {
        Internal::LogWrite("Image %ls had an alpha mask that was the wrong size.\n", imageName.c_str());
        return false;
    }
    return true;
}

uint8_t GreyLevel(Color32 color)
{
    return static_cast<uint8_t>((color.r + color.g + color.b) / 3);
}

} // namespace

std::vector<Color32> JPGLoadImage(IStream* stream, int* width, int* height, const char** reason)
{
    int channels = 0;
    return LoadThroughStb(Internal::StbFormat::Jpeg, stream, width, height, channels, reason);
}

std::vector<Color32> PNGLoadImage(IStream* stream, int* width, int* height, bool* hasAlphaChannel, const char** reason)
{
    int channels = 0;
    std::vector<Color32> pixels = LoadThroughStb(Internal::StbFormat::Png, stream, width, height, channels, reason);
    if (!pixels.empty() && hasAlphaChannel != nullptr)
        *hasAlphaChannel = channels == 2 || channels == 4;
    return pixels;
}

bool LoadAndCompositeGIFMaskFile(IStream* mask, int width, int height, Color32* pixels, const std::wstring& imageName)
{
    if (!IsTargetValid(mask, width, height, pixels))
        return false;
    C_ImageSet set;
    int maskWidth = 0;
    int maskHeight = 0;
    int imageCount = 0;
    const char* reason = nullptr;
    const std::vector<uint8_t> grey = set.LoadOpenFileGIFGrey(mask, maskWidth, maskHeight, imageCount, &reason);
    if (!CheckMask(!grey.empty(), reason, maskWidth, maskHeight, width, height, imageName))
        return false;
    for (size_t i = 0; i < grey.size(); ++i)
        pixels[i].a = grey[i];
    return true;
}

bool LoadAndCompositePNGMaskFile(IStream* mask, int width, int height, Color32* pixels, const std::wstring& imageName)
{
    if (!IsTargetValid(mask, width, height, pixels))
        return false;
    int maskWidth = 0;
    int maskHeight = 0;
    bool hasAlphaChannel = false;
    const char* reason = nullptr;
    const std::vector<Color32> values = PNGLoadImage(mask, &maskWidth, &maskHeight, &hasAlphaChannel, &reason);
    if (!CheckMask(!values.empty(), reason, maskWidth, maskHeight, width, height, imageName))
        return false;
    for (size_t i = 0; i < values.size(); ++i)
        pixels[i].a = hasAlphaChannel ? values[i].a : GreyLevel(values[i]);
    return true;
}

bool LoadAndCompositeJPGMaskFile(IStream* mask, int width, int height, Color32* pixels, const std::wstring& imageName)
{
    if (!IsTargetValid(mask, width, height, pixels))
        return false;
    int maskWidth = 0;
    int maskHeight = 0;
    const char* reason = nullptr;
    const std::vector<Color32> values = JPGLoadImage(mask, &maskWidth, &maskHeight, &reason);
    if (!CheckMask(!values.empty(), reason, maskWidth, maskHeight, width, height, imageName))
        return false;
    for (size_t i = 0; i < values.size(); ++i)
        pixels[i].a = GreyLevel(values[i]);
    return true;
}

} // namespace Strata
