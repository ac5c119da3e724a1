// Feeds arbitrary bytes to the "font" factory as a manifest, over a few font files: a whole font (tiny.png
// with tiny.txt), one with a mask (masked.png, masked_mask.gif, masked.txt), one without metrics
// (nometrics.png) and one without its picture (noimage.txt). Every font made measures and draws text, and a
// letter drawn as text leaves the same pixels as its glyph's part of the font picture drawn as a picture;
// a font that cannot be made is not kept; unloading leaves none.

#include "FuzzImages.h"
#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/XMLReader.h"
#include "framework/ResourceManager.h"
#include "graphics/Drawing.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/ImageFont.h"
#include "graphics/SoftwareCanvas.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

// Two glyphs two pixels wide over the 4 x 2 picture.
const char kMetrics[] = "0 2 0 0 2 2\na 0 2\nb 2 2\n";

// Draws `letter` as text, and its glyph cut out of the font picture as a picture, each at (1, 1) on a
// cleared target of its own; the two targets must match.
void CheckDrawnLetter(const ImageFont& font, wchar_t letter)
{
    Font::sGlyph glyph;
    font.GetGlyph(letter, &glyph);
    if (glyph.image == nullptr || glyph.width <= 0 || glyph.height <= 0 || glyph.width > 32 || glyph.height > 32)
        return;
    std::vector<Color32> pixels;
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x)
            pixels.push_back(glyph.image->GetPixel(glyph.x + x, glyph.y + y));
    Image alone(std::move(pixels), glyph.width, glyph.height, true, false);

    Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
    state.font = &font;
    Image asText(40, 40);
    Image asPicture(40, 40);
    ICanvas* canvas = Graphics::CreateImageCanvas(&asText);
    const wchar_t text[] = {letter, 0};
    Graphics::DrawText(text, 1.0f, 1.0f, state, canvas);
    Graphics::DestroyImageCanvas(canvas);
    canvas = Graphics::CreateImageCanvas(&asPicture);
    Graphics::DrawImage(&alone, 1.0f, 1.0f, state, canvas);
    Graphics::DestroyImageCanvas(canvas);
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 40; ++x)
        {
            const Color32 text = asText.GetPixel(x, y);
            const Color32 picture = asPicture.GetPixel(x, y);
            Check(text.r == picture.r && text.g == picture.g && text.b == picture.b && text.a == picture.a);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fuzzing::MemoryFiles files;
    static ResourceManager* const manager = []
    {
        files.Set(L"tiny.png", Fuzzing::SmallPng());
        files.Set(L"tiny.txt", kMetrics);
        files.Set(L"masked.png", Fuzzing::SmallPng());
        files.Set(L"masked_mask.gif", Fuzzing::SmallGif());
        files.Set(L"masked.txt", kMetrics);
        files.Set(L"nometrics.png", Fuzzing::SmallPng());
        files.Set(L"noimage.txt", kMetrics);
        ResourceManager* created = Fuzzing::ImageResourceManager(files);
        RegisterFontResourceFactory();
        return created;
    }();

    ReadOnlyMemoryStream stream(L"Fonts.xml", data, size);
    try
    {
        manager->LoadFromStream(&stream, L"Fonts");
    }
    catch (const std::exception&)
    {
    }
    const std::set<std::wstring> names = Fuzzing::NamesIn(data, size);
    for (const std::wstring& name : names)
    {
        const std::shared_ptr<IResourceDescriptor> resource = manager->GetResource(Label::FromString(name));
        const auto* font = dynamic_cast<const ImageFont*>(resource.get());
        if (font == nullptr)
            continue;
        Check(font->GetImage() != nullptr && font->GetGlyphHeight() >= 1);
        font->GetStringWidth(L"ab ba\u00e9");
        Image target(16, 8);
        ICanvas* canvas = Graphics::CreateImageCanvas(&target);
        Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
        state.font = font;
        Graphics::DrawText(L"abba", 1.0f, 1.0f, state, canvas);
        Graphics::DestroyImageCanvas(canvas);
        for (const wchar_t letter : {L'a', L'b'})
            CheckDrawnLetter(*font, letter);
    }
    manager->Unload(L"Fonts");
    for (const std::wstring& name : names)
        Check(manager->GetResource(Label::FromString(name)) == nullptr);
    return 0;
}
