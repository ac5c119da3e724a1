// Feeds arbitrary bytes to the GIF decoder, in colour and in grey, and as raw LZW data with the size
// and code size taken from the first bytes. The two decodes of one file must agree: the same screen, and
// every opaque colour pixel's grey level in the grey output.

#include "core/MemoryStream.h"
#include "graphics/GifDecoder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace Strata;

namespace
{

void CheckResult(size_t pixelCount, int width, int height)
{
    if (pixelCount == 0)
        return;
    if (width < 1 || width > kMaxImageSide || height < 1 || height > kMaxImageSide ||
        pixelCount != size_t(width) * size_t(height))
        __builtin_trap();
}

void DecodeFile(const uint8_t* data, size_t size)
{
    C_ImageSet set;
    int width = 0;
    int height = 0;
    int count = 0;
    bool transparency = false;
    ReadOnlyMemoryStream colour(L"fuzz.gif", data, size);
    const std::vector<Color32> pixels = set.LoadOpenFileGIF(&colour, width, height, transparency, count);
    CheckResult(pixels.size(), width, height);
    if (!pixels.empty() && count != 1)
        __builtin_trap();

    ReadOnlyMemoryStream grey(L"fuzz.gif", data, size);
    int greyWidth = width;
    int greyHeight = height;
    const std::vector<uint8_t> levels = set.LoadOpenFileGIFGrey(&grey, greyWidth, greyHeight, count);
    CheckResult(levels.size(), greyWidth, greyHeight);
    if (levels.empty() != pixels.empty())
        __builtin_trap(); // the two modes read the same file
    if (levels.empty())
        return;
    if (greyWidth != width || greyHeight != height)
        __builtin_trap();
    // An opaque pixel lies inside the image and shows its index's colour; the grey output has that
    // colour's level there. (A transparent one may be outside the image or the transparent index.)
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        const Color32 colour = pixels[i];
        if (colour.a == 255 && levels[i] != (colour.r + colour.g + colour.b) / 3)
            __builtin_trap();
        if (colour.a != 0 && colour.a != 255)
            __builtin_trap();
    }
}

void DecodeLZW(const uint8_t* data, size_t size)
{
    if (size < 3)
        return;
    const int minimumCodeSize = data[0] % 13; // includes sizes that must be refused
    const int width = 1 + data[1] % 64;
    const int height = 1 + data[2] % 64;
    const bool interlaced = (data[0] & 0x80) != 0;
    const int stride = width + (data[1] >> 6);
    std::vector<uint8_t> pixels(size_t(stride) * size_t(height));
    // The data lies in its own exact-size block so that any read past it is caught.
    std::vector<uint8_t> codes(data + 3, data + size);
    codes.shrink_to_fit();
    LZWDecoder(codes.data(), codes.size(), pixels.data(), minimumCodeSize, stride, width, height, interlaced);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodeFile(data, size);
    DecodeLZW(data, size);
    return 0;
}
