// Feeds arbitrary bytes to the image factory as a PNG or JPEG file with an optional mask (PNG, JPEG or
// GIF) and a rotation cache. Layout of an input: one byte of flags (bit 0: the image is a JPEG, else a
// PNG; bits 1-2: no mask, a PNG, a JPEG or a GIF mask; bits 3-5: rotations), two bytes giving the image
// file's length (little-endian, cut to what follows), the image file, then the mask file. An image made is
// compared pixel by pixel with its file decoded on its own: the same colours, and the alpha of the file or,
// when the mask decodes at the image's size, the mask's grey level (a PNG mask's own alpha when it has one).

#include "FuzzSupport.h"

#include "core/AttributeContainer.h"
#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/GifDecoder.h"
#include "graphics/Image.h"
#include "graphics/ImageFiles.h"
#include "graphics/ImageResourceFactory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

// The alpha a mask file gives each pixel of a width x height image; none when it does not decode at that size.
std::optional<std::vector<uint8_t>> MaskAlpha(const std::string& file, int kind, int width, int height)
{
    ReadOnlyMemoryStream stream(L"mask", file.data(), file.size());
    int maskWidth = 0;
    int maskHeight = 0;
    std::vector<uint8_t> alpha;
    if (kind == 3)
    {
        C_ImageSet set;
        int count = 0;
        alpha = set.LoadOpenFileGIFGrey(&stream, maskWidth, maskHeight, count);
    }
    else
    {
        bool hasAlpha = false;
        const std::vector<Color32> pixels = kind == 1 ? PNGLoadImage(&stream, &maskWidth, &maskHeight, &hasAlpha)
                                                      : JPGLoadImage(&stream, &maskWidth, &maskHeight);
        for (const Color32 pixel : pixels)
            alpha.push_back(hasAlpha ? pixel.a : static_cast<uint8_t>((pixel.r + pixel.g + pixel.b) / 3));
    }
    if (alpha.empty() || maskWidth != width || maskHeight != height)
        return std::nullopt;
    return alpha;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fuzzing::MemoryFiles files;
    static Fuzzing::MemoryFileSource source(files);
    RegisterSingleton(&source);

    if (size < 3)
        return 0;
    const uint8_t flags = data[0];
    const size_t imageLength = std::min<size_t>(data[1] | (data[2] << 8), size - 3);
    const char* image = reinterpret_cast<const char*>(data + 3);
    const char* mask = image + imageLength;
    const size_t maskLength = size - 3 - imageLength;

    static const wchar_t* const kMaskExtensions[] = {nullptr, L".png", L".jpg", L".gif"};
    files.Clear();
    files.Set((flags & 1) != 0 ? L"pic.jpg" : L"pic.png", std::string(image, imageLength));
    if (const wchar_t* extension = kMaskExtensions[(flags >> 1) & 3])
        files.Set(std::wstring(L"pic_mask") + extension, std::string(mask, maskLength));

    const AttributeContainer attributes(IAttributeContainer::AttributeMap{
        {L"name", L"pic"}, {L"src", L"pic"}, {L"rotations", std::to_wstring((flags >> 3) & 7)}});
    XMLElementList element;
    const ImageResourceFactory factory;
    const std::unique_ptr<IResourceDescriptor> made(factory.CreateResource(L"Fuzz", Label("pic"), attributes, element));
    if (made == nullptr)
        return 0;
    const auto* loaded = dynamic_cast<const Image*>(made.get());
    Check(loaded != nullptr);
    const int width = loaded->GetWidth();
    const int height = loaded->GetHeight();
    Check(width >= 1 && width <= kMaxImageSide && height >= 1 && height <= kMaxImageSide);

    ReadOnlyMemoryStream file(L"pic", image, imageLength);
    int fileWidth = 0;
    int fileHeight = 0;
    const std::vector<Color32> decoded =
        (flags & 1) != 0 ? JPGLoadImage(&file, &fileWidth, &fileHeight) : PNGLoadImage(&file, &fileWidth, &fileHeight);
    Check(fileWidth == width && fileHeight == height);
    const int maskKind = (flags >> 1) & 3;
    const std::optional<std::vector<uint8_t>> alpha =
        maskKind != 0 ? MaskAlpha(std::string(mask, maskLength), maskKind, width, height) : std::nullopt;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const size_t i = static_cast<size_t>(y) * width + x;
            const Color32 pixel = loaded->GetPixel(x, y);
            const Color32 expected = decoded[i];
            Check(pixel.r == expected.r && pixel.g == expected.g && pixel.b == expected.b);
            Check(pixel.a == (alpha ? (*alpha)[i] : expected.a));
        }
    }
    return 0;
}
