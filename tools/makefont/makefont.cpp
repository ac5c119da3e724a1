// Renders a TrueType font into the engine's bitmap-font format.
//
//   makefont <font.ttf> <pixel size> <output path without extension>
//
// Writes <output>.png, the glyphs in white with their coverage as alpha on a power-of-two atlas with
// 2-pixel gutters, and <output>.txt, the metrics (version 3: a rectangle per glyph and a kerning table
// from the font's kern and GPOS pairs). The pixel size is the em size. Every glyph cell is one line high
// with the baseline at the font's ascent and as wide as the glyph's advance, so the engine's pen
// advances by cell width plus kerning; ink outside the cell is cut off and reported. The characters are
// 33 to 126 (the space is the metrics' space advance) and the Spanish letters and signs.

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

constexpr int kGutter = 2;
constexpr int kMaxAtlasSide = 2048;

struct Glyph
{
    int code = 0;
    int advance = 0;
    int x = 0;
    int y = 0;
};

std::vector<int> Characters()
{
    std::vector<int> codes;
    for (int c = 33; c <= 126; ++c)
        codes.push_back(c);
    // ¡ ¿ á é í ó ú ü ñ Á É Í Ó Ú Ü Ñ « » ª º
    const int spanish[] = {0xA1, 0xBF, 0xE1, 0xE9, 0xED, 0xF3, 0xFA, 0xFC, 0xF1, 0xC1,
                           0xC9, 0xCD, 0xD3, 0xDA, 0xDC, 0xD1, 0xAB, 0xBB, 0xAA, 0xBA};
    codes.insert(codes.end(), std::begin(spanish), std::end(spanish));
    return codes;
}

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Shelf packing at the given atlas width; the height used, or -1 when a glyph is wider than the atlas.
int Pack(std::vector<Glyph>& glyphs, int width, int lineHeight)
{
    int cursor = 0;
    int top = 0;
    for (Glyph& glyph : glyphs)
    {
        if (glyph.advance >= width)
            return -1;
        if (cursor + glyph.advance >= width)
        {
            cursor = 0;
            top += lineHeight + kGutter;
        }
        glyph.x = cursor;
        glyph.y = top;
        cursor += glyph.advance + kGutter;
    }
    return top + lineHeight;
}

int NextPowerOfTwo(int value)
{
    int side = 1;
    while (side < value)
        side *= 2;
    return side;
}

// The character as the metrics reader takes it: Latin-1 letters in UTF-8.
std::string Encode(int code)
{
    std::string text;
    if (code < 0x80)
    {
        text += static_cast<char>(code);
    }
    else
    {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

int ParseSize(const char* text)
{
    int value = 0;
    const char* end = text + std::strlen(text);
    const auto [last, error] = std::from_chars(text, end, value);
    if (error != std::errc() || last != end || value < 4 || value > 256)
        throw std::runtime_error(std::string("the pixel size must be a whole number from 4 to 256: ") + text);
    return value;
}

void Run(const std::string& fontPath, int pixelSize, const std::string& output)
{
    const std::vector<unsigned char> data = ReadFile(fontPath);
    stbtt_fontinfo font;
    if (!stbtt_InitFont(&font, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0)))
        throw std::runtime_error("not a TrueType font: " + fontPath);
    const float scale = stbtt_ScaleForMappingEmToPixels(&font, static_cast<float>(pixelSize));

    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(&font, &ascent, &descent, &lineGap);
    const int baseline = static_cast<int>(std::ceil(static_cast<float>(ascent) * scale));
    const int lineHeight = baseline + static_cast<int>(std::ceil(static_cast<float>(-descent) * scale)) +
                           static_cast<int>(std::lround(static_cast<float>(lineGap) * scale));

    const auto advanceOf = [&](int code)
    {
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(&font, code, &advance, &bearing);
        return static_cast<int>(std::lround(static_cast<float>(advance) * scale));
    };

    std::vector<Glyph> glyphs;
    for (int code : Characters())
    {
        if (stbtt_FindGlyphIndex(&font, code) == 0)
            throw std::runtime_error("the font has no glyph for character " + std::to_string(code));
        glyphs.push_back(Glyph{code, advanceOf(code), 0, 0});
    }

    // The power-of-two atlas of least area that holds every glyph, the squarer one on a tie.
    int bestWidth = 0;
    int bestHeight = 0;
    for (int width = 16; width <= kMaxAtlasSide; width *= 2)
    {
        const int used = Pack(glyphs, width, lineHeight);
        if (used < 0)
            continue;
        const int height = NextPowerOfTwo(used);
        if (height > kMaxAtlasSide)
            continue;
        const long long area = static_cast<long long>(width) * height;
        const long long bestArea = static_cast<long long>(bestWidth) * bestHeight;
        if (bestWidth == 0 || area < bestArea ||
            (area == bestArea && std::abs(width - height) < std::abs(bestWidth - bestHeight)))
        {
            bestWidth = width;
            bestHeight = height;
        }
    }
    if (bestWidth == 0)
        throw std::runtime_error("the glyphs do not fit into a " + std::to_string(kMaxAtlasSide) + " atlas");
    Pack(glyphs, bestWidth, lineHeight);

    // Coverage into the cells.
    std::vector<unsigned char> alpha(static_cast<size_t>(bestWidth) * bestHeight, 0);
    int clipped = 0;
    for (const Glyph& glyph : glyphs)
    {
        int x0 = 0;
        int y0 = 0;
        int x1 = 0;
        int y1 = 0;
        stbtt_GetCodepointBitmapBox(&font, glyph.code, scale, scale, &x0, &y0, &x1, &y1);
        const int w = x1 - x0;
        const int h = y1 - y0;
        if (w <= 0 || h <= 0)
            continue;
        std::vector<unsigned char> bitmap(static_cast<size_t>(w) * h, 0);
        stbtt_MakeCodepointBitmap(&font, bitmap.data(), w, h, w, scale, scale, glyph.code);
        for (int row = 0; row < h; ++row)
        {
            for (int column = 0; column < w; ++column)
            {
                const unsigned char value = bitmap[static_cast<size_t>(row) * w + column];
                const int cx = x0 + column;
                const int cy = baseline + y0 + row;
                if (cx < 0 || cx >= glyph.advance || cy < 0 || cy >= lineHeight)
                {
                    clipped += value != 0;
                    continue;
                }
                alpha[static_cast<size_t>(glyph.y + cy) * bestWidth + glyph.x + cx] = value;
            }
        }
    }

    std::vector<unsigned char> pixels(alpha.size() * 4);
    for (size_t i = 0; i < alpha.size(); ++i)
    {
        pixels[i * 4 + 0] = 255;
        pixels[i * 4 + 1] = 255;
        pixels[i * 4 + 2] = 255;
        pixels[i * 4 + 3] = alpha[i];
    }
    stbi_write_png_compression_level = 9;
    if (!stbi_write_png((output + ".png").c_str(), bestWidth, bestHeight, 4, pixels.data(), bestWidth * 4))
        throw std::runtime_error("cannot write " + output + ".png");

    std::string metrics;
    metrics += "0 " + std::to_string(lineHeight) + " 0 3 " + std::to_string(advanceOf(' ')) + " " +
               std::to_string(glyphs.size()) + "\n";
    for (const Glyph& glyph : glyphs)
    {
        metrics += Encode(glyph.code) + " " + std::to_string(glyph.x) + " " + std::to_string(glyph.advance) + " " +
                   std::to_string(glyph.y) + " " + std::to_string(lineHeight) + "\n";
    }
    int pairs = 0;
    for (const Glyph& first : glyphs)
    {
        for (size_t j = 0; j < glyphs.size(); ++j)
        {
            const int kern = static_cast<int>(std::lround(
                static_cast<float>(stbtt_GetCodepointKernAdvance(&font, first.code, glyphs[j].code)) * scale));
            const int adjustment = std::clamp(kern, -128, 127);
            pairs += adjustment != 0;
            if (j != 0)
                metrics += ' ';
            metrics += std::to_string(adjustment);
        }
        metrics += "\n";
    }
    std::ofstream file(output + ".txt", std::ios::binary | std::ios::trunc);
    file << metrics;
    if (!file)
        throw std::runtime_error("cannot write " + output + ".txt");

    std::printf("%s: %d px, line %d, atlas %dx%d, %zu glyphs, %d kerned pairs, %d clipped pixels\n", output.c_str(),
                pixelSize, lineHeight, bestWidth, bestHeight, glyphs.size(), pairs, clipped);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: makefont <font.ttf> <pixel size> <output path without extension>\n");
        return 2;
    }
    try
    {
        Run(argv[1], ParseSize(argv[2]), argv[3]);
        return 0;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "makefont: %s\n", error.what());
        return 1;
    }
}
