#pragma once

#include "core/Vector2.h"

#include <cstdint>

namespace Strata
{

class IImage;

// A font that text is drawn and measured with: glyph images with their advances and kerning.
class Font
{
public:
    // Where one glyph lies: its rectangle in the font image.
    struct sGlyph
    {
        const IImage* image = nullptr;
        int32_t x = 0;
        int32_t y = 0;
        int32_t width = 0;
        int32_t height = 0;
    };

    virtual ~Font() = default;

    // The glyph of `c` in `*out`; a character the font cannot draw gives a null image or an empty
    // rectangle. A null `out` is ignored.
    virtual void GetGlyph(wchar_t c, sGlyph* out) const = 0;
    // The height of every line of text in pixels.
    virtual int GetGlyphHeight() const = 0;
    // How far the pen moves after `c` when `next` follows it (0 ends the text), kerning included.
    virtual int GetKernedLetterWidth(wchar_t c, wchar_t next) const = 0;

    // The sum of the kerned advances of the characters; 0 for a null or empty text.
    int GetStringWidth(const wchar_t* text) const;
    // The text wrapped at `maxWidth`: x is the widest line's width, y the glyph height times the
    // number of lines.
    Vector2<int> GetWrappedStringDimensions(const wchar_t* text, int maxWidth) const;
};

} // namespace Strata
