// stb_image is compiled here and nowhere else: PNG and JPEG only, from memory, with our size cap.

#include "graphics/ImageFiles.h"
#include "graphics/Image.h"

#include <climits>
#include <cstring>
#include <new>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS 8192

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

static_assert(STBI_MAX_DIMENSIONS == Strata::kMaxImageSide, "stb_image must refuse what the engine refuses");

namespace Strata::Internal
{

namespace
{

bool HasSignature(StbFormat format, const uint8_t* data, size_t length)
{
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    static constexpr uint8_t kJpeg[2] = {0xFF, 0xD8};
    if (format == StbFormat::Png)
        return length >= sizeof(kPng) && std::memcmp(data, kPng, sizeof(kPng)) == 0;
    return length >= sizeof(kJpeg) && std::memcmp(data, kJpeg, sizeof(kJpeg)) == 0;
}

} // namespace

std::vector<Color32> DecodeStbImage(StbFormat format, const uint8_t* data, size_t length, int& width, int& height,
                                    int& channels, const char** reason)
{
    auto fail = [reason](const char* why)
    {
        if (reason != nullptr)
            *reason = why;
        return std::vector<Color32>();
    };
    if (data == nullptr || !HasSignature(format, data, length))
        return fail(format == StbFormat::Png ? "the file is not a PNG" : "the file is not a JPEG");
    if (length > size_t(INT_MAX))
        return fail("the file is too large");

    int decodedWidth = 0;
    int decodedHeight = 0;
    int fileChannels = 0;
    stbi_uc* rgba = stbi_load_from_memory(data, static_cast<int>(length), &decodedWidth, &decodedHeight,
                                          &fileChannels, 4);
    if (rgba == nullptr)
        return fail(format == StbFormat::Png ? "the PNG data is damaged" : "the JPEG data is damaged");
    if (decodedWidth < 1 || decodedWidth > kMaxImageSide || decodedHeight < 1 || decodedHeight > kMaxImageSide)
    {
        stbi_image_free(rgba);
        return fail("the image size is 0 or too large");
    }

    std::vector<Color32> pixels;
    try
    {
        const size_t count = size_t(decodedWidth) * size_t(decodedHeight);
        pixels.resize(count);
        for (size_t i = 0; i < count; ++i)
        {
            const stbi_uc* p = rgba + 4 * i;
            pixels[i] = Color32(p[0], p[1], p[2], p[3]);
        }
    }
    catch (const std::bad_alloc&)
    {
        stbi_image_free(rgba);
        return fail("there is not enough memory");
    }
    stbi_image_free(rgba);
    width = decodedWidth;
    height = decodedHeight;
    channels = fileChannels;
    return pixels;
}

} // namespace Strata::Internal
