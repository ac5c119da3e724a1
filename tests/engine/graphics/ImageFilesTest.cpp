#include "graphics/ImageFiles.h"

#include "core/MemoryStream.h"

#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Strata;
using ImageFixtures::ChunkedStream;

namespace
{

struct Loaded
{
    std::vector<Color32> pixels;
    int width = -1;
    int height = -1;
    bool hasAlphaChannel = false;
    const char* reason = nullptr;
};

Loaded LoadPng(const std::string& bytes)
{
    ReadOnlyMemoryStream stream(L"test.png", bytes.data(), bytes.size());
    Loaded out;
    out.pixels = PNGLoadImage(&stream, &out.width, &out.height, &out.hasAlphaChannel, &out.reason);
    return out;
}

Loaded LoadJpg(const std::string& bytes)
{
    ReadOnlyMemoryStream stream(L"test.jpg", bytes.data(), bytes.size());
    Loaded out;
    out.pixels = JPGLoadImage(&stream, &out.width, &out.height, &out.reason);
    return out;
}

bool Near(uint8_t value, int expected, int tolerance = 3)
{
    return std::abs(int(value) - expected) <= tolerance;
}

using Compositor = bool (*)(IStream*, int, int, Color32*, const std::wstring&);

// Applies a fixture mask to width × height pixels of (1, 2, 3, 4); returns the alpha bytes, or nothing
// when the mask was not applied (after checking that the pixels were left alone).
struct MaskResult
{
    bool applied = false;
    std::vector<uint8_t> alpha;
    std::vector<std::string> lines;
};

MaskResult ApplyMask(Compositor compositor, const std::string& fixture, int width, int height,
                     const std::wstring& imageName = L"picture")
{
    const std::string bytes = ImageFixtures::Read(fixture);
    ReadOnlyMemoryStream stream(L"mask", bytes.data(), bytes.size());
    std::vector<Color32> pixels(size_t(width) * size_t(height), Color32(1, 2, 3, 4));
    MaskResult result;
    result.lines =
        ImageFixtures::LogLines([&] { result.applied = compositor(&stream, width, height, pixels.data(), imageName); });
    for (const Color32& pixel : pixels)
    {
        EXPECT_EQ(pixel.r, 1);
        EXPECT_EQ(pixel.g, 2);
        EXPECT_EQ(pixel.b, 3);
        if (!result.applied)
            EXPECT_EQ(pixel.a, 4);
        result.alpha.push_back(pixel.a);
    }
    return result;
}

} // namespace

TEST(ImageFilesDecode, PngPixelsComeOutExactlyWithBytesBlueGreenRedAlpha)
{
    const Loaded rgba = LoadPng(ImageFixtures::Read("png_rgba.png"));
    EXPECT_EQ(rgba.width, 3);
    EXPECT_EQ(rgba.height, 2);
    EXPECT_TRUE(rgba.hasAlphaChannel);
    EXPECT_EQ(rgba.pixels, (std::vector<Color32>{{255, 0, 0, 255},
                                                 {0, 255, 0, 128},
                                                 {0, 0, 255, 0},
                                                 {10, 20, 30, 40},
                                                 {50, 60, 70, 80},
                                                 {90, 100, 110, 255}}));
    // Empty data chunks, first and among the others, change nothing.
    std::string padded = ImageFixtures::Read("png_rgba.png");
    const std::string emptyData("\0\0\0\0IDAT\x35\xAF\x06\x1E", 12);
    const size_t data = padded.find("IDAT") - 4;
    padded.insert(data, emptyData);
    padded.insert(padded.find("IEND") - 4, emptyData + emptyData);
    EXPECT_EQ(LoadPng(padded).pixels, rgba.pixels);
    // And an empty one cut off before its checksum, where the file ends.
    EXPECT_TRUE(LoadPng(padded.substr(0, data) + emptyData.substr(0, 8)).pixels.empty());

    ASSERT_FALSE(rgba.pixels.empty());
    uint8_t firstBytes[4];
    std::memcpy(firstBytes, rgba.pixels.data(), 4);
    EXPECT_EQ(firstBytes[0], 0);   // blue
    EXPECT_EQ(firstBytes[1], 0);   // green
    EXPECT_EQ(firstBytes[2], 255); // red
    EXPECT_EQ(firstBytes[3], 255); // alpha

    const Loaded rgb = LoadPng(ImageFixtures::Read("png_rgb.png"));
    EXPECT_FALSE(rgb.hasAlphaChannel);
    EXPECT_EQ(rgb.pixels, (std::vector<Color32>{{255, 0, 0, 255},
                                                {0, 255, 0, 255},
                                                {0, 0, 255, 255},
                                                {10, 20, 30, 255},
                                                {50, 60, 70, 255},
                                                {90, 100, 110, 255}}));

    const Loaded grey = LoadPng(ImageFixtures::Read("png_grey.png"));
    EXPECT_FALSE(grey.hasAlphaChannel);
    ASSERT_EQ(grey.pixels.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
    {
        const auto level = static_cast<uint8_t>(51 * i);
        EXPECT_EQ(grey.pixels[i], Color32(level, level, level, 255)) << i;
    }
}

TEST(ImageFilesDecode, JpegPixelsAreOpaqueAndCloseToTheirColour)
{
    const Loaded jpeg = LoadJpg(ImageFixtures::Read("jpg_basic.jpg"));
    EXPECT_EQ(jpeg.width, 8);
    EXPECT_EQ(jpeg.height, 8);
    ASSERT_EQ(jpeg.pixels.size(), 64u);
    for (const Color32& pixel : jpeg.pixels)
    {
        EXPECT_TRUE(Near(pixel.r, 200) && Near(pixel.g, 100) && Near(pixel.b, 50))
            << int(pixel.r) << "," << int(pixel.g) << "," << int(pixel.b);
        EXPECT_EQ(pixel.a, 255);
    }
}

TEST(ImageFilesDecode, EveryWayOfReadingTheStreamGivesTheSamePixels)
{
    const std::string bytes = ImageFixtures::Read("png_rgba.png");
    const std::vector<Color32> direct = LoadPng(bytes).pixels;
    ASSERT_FALSE(direct.empty());

    ChunkedStream trickle(bytes, 5); // no zero-copy reads, and short ones
    int width = 0, height = 0;
    EXPECT_EQ(PNGLoadImage(&trickle, &width, &height), direct);

    // A stream that stops giving bytes before its length.
    ChunkedStream stalled(bytes, 5, bytes.size() - 1);
    const char* reason = nullptr;
    EXPECT_TRUE(PNGLoadImage(&stalled, &width, &height, nullptr, &reason).empty());
    ASSERT_NE(reason, nullptr);
    EXPECT_NE(std::string(reason).find("shorter"), std::string::npos);

    ChunkedStream empty("");
    EXPECT_TRUE(JPGLoadImage(&empty, &width, &height).empty());
    EXPECT_TRUE(JPGLoadImage(nullptr, &width, &height).empty());
    EXPECT_TRUE(PNGLoadImage(nullptr, nullptr, nullptr).empty());
}

TEST(ImageFilesDecode, DamagedOrMislabelledFilesAndOversizedImagesAreRefused)
{
    const std::pair<Loaded, const char*> cases[] = {
        {LoadPng(ImageFixtures::Read("bad_truncated.png")), "damaged"},
        {LoadJpg(ImageFixtures::Read("bad_truncated.jpg")), "damaged"},
        {LoadPng(ImageFixtures::Read("bad_not_png.png")), "not a PNG"},
        {LoadJpg(ImageFixtures::Read("png_rgb.png")), "not a JPEG"},
        {LoadPng(ImageFixtures::Read("jpg_basic.jpg")), "not a PNG"},
    };
    for (const auto& [loaded, why] : cases)
    {
        EXPECT_TRUE(loaded.pixels.empty());
        EXPECT_EQ(loaded.width, -1);
        ASSERT_NE(loaded.reason, nullptr);
        EXPECT_NE(std::string(loaded.reason).find(why), std::string::npos) << loaded.reason;
    }

    // The header's width (big-endian at byte 16) set past 8192, and to 0.
    std::string wide = ImageFixtures::Read("png_rgb.png");
    ASSERT_GT(wide.size(), 24u);
    wide[16] = 0;
    wide[17] = 0;
    wide[18] = char(0x20);
    wide[19] = char(0x01); // 8193
    EXPECT_TRUE(LoadPng(wide).pixels.empty());
    wide[18] = 0;
    wide[19] = 0;
    EXPECT_TRUE(LoadPng(wide).pixels.empty());

    // A Huffman table whose code counts add up past 256 symbols, in each of the file's tables: refused
    // before any decoder builds it.
    const std::string jpeg = ImageFixtures::Read("jpg_basic.jpg");
    size_t table = jpeg.find("\xFF\xC4");
    ASSERT_NE(table, std::string::npos);
    for (; table != std::string::npos; table = jpeg.find("\xFF\xC4", table + 2))
    {
        std::string overfull = jpeg;
        for (size_t i = 0; i < 16; ++i)
            overfull[table + 5 + i] = char(0xFF);
        const Loaded loaded = LoadJpg(overfull);
        EXPECT_TRUE(loaded.pixels.empty()) << table;
        ASSERT_NE(loaded.reason, nullptr);
        EXPECT_NE(std::string(loaded.reason).find("damaged"), std::string::npos) << loaded.reason;
    }
    // A segment one byte longer than its one empty table: the next table's counts are read from what
    // follows the segment.
    const std::string spilling =
        std::string("\xFF\xD8\xFF\xC4\x00\x14", 6) + std::string(18, '\0') + std::string(16, '\xFF') + jpeg.substr(2);
    EXPECT_TRUE(LoadJpg(spilling).pixels.empty());
}

TEST(ImageFilesMasks, EachMaskKindWritesOnlyTheAlpha)
{
    // GIF: the grey level of the palette colour; pure red gives 85.
    MaskResult gif = ApplyMask(LoadAndCompositeGIFMaskFile, "masked_mask.gif", 4, 2);
    EXPECT_TRUE(gif.applied);
    EXPECT_EQ(gif.alpha, (std::vector<uint8_t>{0, 85, 255, 120, 120, 255, 85, 0}));
    EXPECT_TRUE(gif.lines.empty());

    // PNG with alpha: its alpha.
    EXPECT_EQ(ApplyMask(LoadAndCompositePNGMaskFile, "pngmasked_mask.png", 3, 2).alpha,
              (std::vector<uint8_t>{10, 20, 30, 40, 50, 60}));
    // PNG without alpha: (red + green + blue) / 3, for colour and for grey files.
    EXPECT_EQ(ApplyMask(LoadAndCompositePNGMaskFile, "rgbmasked_mask.png", 3, 2).alpha,
              (std::vector<uint8_t>{60, 255, 0, 1, 100, 2}));
    EXPECT_EQ(ApplyMask(LoadAndCompositePNGMaskFile, "png_grey.png", 3, 2).alpha,
              (std::vector<uint8_t>{0, 51, 102, 153, 204, 255}));

    // JPEG: its grey level too (the pixels themselves are all opaque).
    MaskResult jpeg = ApplyMask(LoadAndCompositeJPGMaskFile, "jpgmasked_mask.jpg", 8, 8);
    EXPECT_TRUE(jpeg.applied);
    for (uint8_t alpha : jpeg.alpha)
        EXPECT_TRUE(Near(alpha, 100)) << int(alpha);
}

TEST(ImageFilesMasks, UnusableMasksLogOneLineAndLeaveThePixels)
{
    MaskResult narrow = ApplyMask(LoadAndCompositeGIFMaskFile, "wrongsize_mask.gif", 4, 2, L"wrongsize");
    EXPECT_FALSE(narrow.applied);
    EXPECT_EQ(narrow.lines, (std::vector<std::string>{"Image wrongsize had an alpha mask that was the wrong size."}));

    MaskResult damaged = ApplyMask(LoadAndCompositePNGMaskFile, "badmask_mask.png", 2, 1, L"badmask");
    EXPECT_FALSE(damaged.applied);
    ASSERT_EQ(damaged.lines.size(), 1u);
    EXPECT_EQ(damaged.lines[0].rfind("Image Mask badmask could not be loaded. (", 0), 0u) << damaged.lines[0];

    // A mask of another kind than its extension says.
    MaskResult wrongKind = ApplyMask(LoadAndCompositeGIFMaskFile, "png_grey.png", 3, 2);
    EXPECT_FALSE(wrongKind.applied);
    EXPECT_EQ(wrongKind.lines.size(), 1u);

    // Nothing to apply it to: refused without a line.
    const std::string bytes = ImageFixtures::Read("masked_mask.gif");
    ReadOnlyMemoryStream stream(L"mask", bytes.data(), bytes.size());
    const auto lines = ImageFixtures::LogLines(
        [&]
        {
            EXPECT_FALSE(LoadAndCompositeGIFMaskFile(&stream, 4, 2, nullptr, L"x"));
            Color32 pixel;
            EXPECT_FALSE(LoadAndCompositeGIFMaskFile(&stream, 0, 2, &pixel, L"x"));
            EXPECT_FALSE(LoadAndCompositePNGMaskFile(nullptr, 1, 1, &pixel, L"x"));
        });
    EXPECT_TRUE(lines.empty());
}
