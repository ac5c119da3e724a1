#pragma once

#include "graphics/Font.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Strata
{

class Image;

// The most glyph records a metrics file may hold (one per character code 0 to 255).
inline constexpr int kMaxFontGlyphs = 256;
// The tallest glyph height a metrics file may give.
inline constexpr int kMaxFontGlyphHeight = 1024;
// The largest advance or spacing a metrics file may give, either sign.
inline constexpr int kMaxFontAdvance = 4096;
// Metrics files larger than this are refused.
inline constexpr size_t kMaxFontMetricsSize = 4u << 20;
// Repacked glyph atlases grow no larger than this on either side.
inline constexpr int kMaxFontAtlasSide = 4096;

// Where a glyph lies in the font image; all 0 for a character the font lacks.
struct sFontGlyphRect
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const sFontGlyphRect&) const = default;
};

// What a font's metrics file says.
struct sFontMetrics
{
    int32_t stripY = 0;
    int32_t glyphHeight = 0;
    int32_t spacing = 0;
    int32_t version = 0;
    int32_t spaceAdvance = 0;
    // Indexed by character code.
    std::array<sFontGlyphRect, 256> glyphs{};
    // The characters of the glyph records in file order (a character given twice appears twice).
    std::vector<uint8_t> order;
    // 256 x 256 adjustments indexed [first * 256 + second]; empty below version 2.
    std::vector<int8_t> kerning;
};

// Reads a metrics file. Bytes become characters one by one, except that 0xC2 or 0xC3 followed by a
// byte b gives b or b + 0x40 (Latin-1 letters written in UTF-8); a lead byte with nothing after it is a
// character by itself. Then, separated by white space: stripY, glyphHeight, spacing, version,
// spaceAdvance and the glyph count N; N records of a character (low 8 bits), x and width, and from
// version 3 on y and height (below it the strip's stripY and glyphHeight); from version 2 on N x N
// kerning adjustments in record order, brought into the range of a signed byte.
// Returns false, with `out` partly filled and `reason` pointed at a short static text, when the file
// ends early, holds an item that is not a whole number in the range of int, or gives a glyph height
// outside 1..kMaxFontGlyphHeight, a glyph count outside 0..kMaxFontGlyphs, or a spacing or space advance
// beyond kMaxFontAdvance. Never throws.
bool ReadFontMetrics(const uint8_t* data, size_t size, sFontMetrics* out, const char** reason);

// Brings every glyph rectangle inside an image of the given size: a part outside is cut off, so a
// glyph wholly outside becomes empty.
void ClampFontGlyphs(sFontMetrics* metrics, int imageWidth, int imageHeight);

// Moves the glyphs of a one-strip font into a near-square atlas whose sides are powers of two, each
// glyph with a 2-pixel gutter, and points the glyph rectangles at it. Sizes are tried from 64 x 64,
// growing the narrower side; a size whose rows do not hold every glyph logs
// "Font: <name> did not fit into a WxH" and the next is tried; the size taken is logged as
// "Font: <name> was WxH now WxH". The glyphs are copied through a drawing context pushed on the calling
// thread. Returns null, leaving `metrics` unchanged, when no atlas up to kMaxFontAtlasSide holds them.
std::unique_ptr<Image> RepackFontGlyphs(const Image& image, sFontMetrics* metrics, const std::wstring& name);

// A bitmap font: glyphs in one image, described by a metrics file.
class ImageFont : public Font
{
public:
    ImageFont();
    ~ImageFont() override;
    ImageFont(const ImageFont&) = delete;
    ImageFont& operator=(const ImageFont&) = delete;

    // Loads the font image `source` (GIF, JPEG or PNG with an optional mask) and its metrics file
    // `source`.txt through the registered file source. On failure returns false, leaves the font as it
    // was and writes one log line (the image loader's own when the image cannot be had, else
    // "Font <source>.txt could not be loaded. (<reason>)").
    bool Load(const std::wstring& source);
    // Builds the font from metrics bytes and its image (which it takes); fonts below version 3 are
    // repacked. On failure returns false, leaves the font as it was and writes one log line naming
    // `name` and the reason.
    bool Build(const uint8_t* metrics, size_t size, std::unique_ptr<Image> image, const std::wstring& name);

    void GetGlyph(wchar_t c, sGlyph* out) const override;
    int GetGlyphHeight() const override { return mGlyphHeight; }
    // 0 for a character above 255; spacing alone for a font without proportional widths; otherwise the
    // glyph's width (the space advance for a space) plus spacing, plus the pair's kerning when `next`
    // is a character up to 255.
    int GetKernedLetterWidth(wchar_t c, wchar_t next) const override;

    // The font image; null before a successful load.
    const Image* GetImage() const { return mImage.get(); }
    bool IsProportional() const { return mProportional; }

private:
    int32_t mStripY = 0;
    int32_t mGlyphHeight = 0;
    int32_t mSpacing = 0;
    bool mProportional = false;
    int32_t mSpaceAdvance = 0;
    std::unique_ptr<int8_t[]> mKerning;
    std::array<sFontGlyphRect, 256> mGlyphs{};
    std::unique_ptr<Image> mImage;
};

} // namespace Strata
