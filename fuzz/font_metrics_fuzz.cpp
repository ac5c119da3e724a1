// Feeds arbitrary bytes to the font metrics reader as a metrics file, with a small font image, and
// measures and draws text with whatever font results. Refused files are logged; run with
// -close_fd_mask=2 to keep the log quiet (crash reports still show).

#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/ImageFont.h"
#include "graphics/SoftwareCanvas.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Strata;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto image = std::make_unique<Image>(48, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 48; ++x)
            image->SetPixel(x, y, Color32(255, 255, 255, uint8_t(x * 5 + y)));

    ImageFont font;
    if (!font.Build(data, size, std::move(image), L"fuzz.txt"))
    {
        if (font.GetImage() != nullptr)
            __builtin_trap(); // a refused file leaves no font
        return 0;
    }
    const Image* atlas = font.GetImage();
    if (atlas == nullptr || font.GetGlyphHeight() < 1 || font.GetGlyphHeight() > kMaxFontGlyphHeight)
        __builtin_trap();
    for (int c = 0; c < 256; ++c)
    {
        Font::sGlyph glyph;
        font.GetGlyph(wchar_t(c), &glyph);
        if (glyph.x < 0 || glyph.y < 0 || glyph.width < 0 || glyph.height < 0 ||
            glyph.x + glyph.width > atlas->GetWidth() || glyph.y + glyph.height > atlas->GetHeight())
            __builtin_trap(); // every glyph lies inside the font image
    }

    static const wchar_t kText[] = L"AV \u00E9\u00F1! \u4E00x";
    font.GetStringWidth(kText);
    Image target(64, 32);
    ICanvas* canvas = Graphics::CreateImageCanvas(&target);
    Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
    state.font = &font;
    state.textMode = TextMode_Outline;
    Graphics::DrawText(kText, 2.0f, 2.0f, state, canvas);
    Graphics::DestroyImageCanvas(canvas);
    return 0;
}
