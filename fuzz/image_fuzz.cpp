// Feeds arbitrary bytes to the image factory as a PNG or JPEG file with an optional mask (PNG, JPEG or
// GIF) and a rotation cache. Layout of an input: one byte of flags (bit 0: the image is a JPEG, else a
// PNG; bits 1-2: no mask, a PNG, a JPEG or a GIF mask; bits 3-5: rotations), two bytes giving the image
// file's length (little-endian, cut to what follows), the image file, then the mask file.

#include "FuzzSupport.h"

#include "core/AttributeContainer.h"
#include "core/Label.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/GifDecoder.h"
#include "graphics/Image.h"
#include "graphics/ImageResourceFactory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

using namespace Strata;
using Strata::Fuzzing::Check;

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
    loaded->GetPixel(0, 0);
    loaded->GetPixel(width - 1, height - 1);
    return 0;
}
