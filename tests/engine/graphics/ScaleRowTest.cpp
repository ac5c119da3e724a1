#include "graphics/ScaleRow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace Strata;

namespace
{

std::vector<Color32> Noise(size_t count, std::mt19937& random)
{
    std::vector<Color32> pixels(count);
    for (Color32& pixel : pixels)
    {
        const uint32_t bits = random();
        pixel = Color32(uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24));
    }
    return pixels;
}

TEST(ScaleRowTest, EveryVariantScalesEveryFrameLikeThePixelCentreRule)
{
    const std::vector<Internal::ScaleRowVariant> variants = Internal::GetScaleRowVariants();
    EXPECT_EQ(Internal::GetScaleRow(), variants.back().row);
    std::mt19937 random(5u);
    struct sCase
    {
        int sourceWidth, sourceHeight, targetWidth, targetHeight;
    };
    // Odd sizes around the vector blocks, up, down, whole-number scales and the usual window.
    const sCase cases[] = {{1, 1, 1, 1},   {1, 1, 17, 3},  {7, 5, 9, 11},     {13, 9, 5, 4},      {5, 3, 15, 9},
                           {3, 7, 12, 14}, {31, 2, 33, 2}, {800, 6, 1024, 8}, {800, 6, 1600, 12}, {800, 4, 799, 3}};
    for (const Internal::ScaleRowVariant& variant : variants)
    {
        for (const sCase& c : cases)
        {
            SCOPED_TRACE(testing::Message() << variant.name << " " << c.sourceWidth << "x" << c.sourceHeight << " to "
                                            << c.targetWidth << "x" << c.targetHeight);
            // Pitches wider than the rows: the space between rows is never read into or written.
            const int sourcePitch = c.sourceWidth + 3;
            const int targetPitch = c.targetWidth + 5;
            const std::vector<Color32> source = Noise(size_t(sourcePitch) * c.sourceHeight, random);
            const std::vector<Color32> before = Noise(size_t(targetPitch) * c.targetHeight, random);
            std::vector<Color32> actual = before;
            Graphics::ScaleNearest(source.data(), c.sourceWidth, c.sourceHeight, sourcePitch, actual.data(),
                                   c.targetWidth, c.targetHeight, targetPitch, variant.row);
            std::vector<Color32> expected = before;
            for (int y = 0; y < c.targetHeight; ++y)
                for (int x = 0; x < c.targetWidth; ++x)
                {
                    const int sx = (2 * x + 1) * c.sourceWidth / (2 * c.targetWidth);
                    const int sy = (2 * y + 1) * c.sourceHeight / (2 * c.targetHeight);
                    expected[size_t(y) * targetPitch + x] = source[size_t(sy) * sourcePitch + sx];
                }
            ASSERT_EQ(actual, expected);
            // A whole-number scale repeats every pixel as a block.
            if (c.targetWidth % c.sourceWidth == 0 && c.targetHeight % c.sourceHeight == 0)
            {
                const int kx = c.targetWidth / c.sourceWidth;
                const int ky = c.targetHeight / c.sourceHeight;
                for (int y = 0; y < c.targetHeight; ++y)
                    for (int x = 0; x < c.targetWidth; ++x)
                        ASSERT_EQ(actual[size_t(y) * targetPitch + x], source[size_t(y / ky) * sourcePitch + x / kx]);
            }
        }
    }
}

// Scaling only an area of the source writes exactly the target pixels that show it, as the whole
// scale writes them, and leaves every other target pixel alone: for every variant, up and down, at odd
// widths, with areas on the edges, inside, empty and beyond the source.
TEST(ScaleRowTest, AnAreaWritesOnlyTheTargetPixelsThatShowIt)
{
    std::mt19937 random(11u);
    struct sCase
    {
        int sourceWidth, sourceHeight, targetWidth, targetHeight;
        Rect<int> area;
    };
    const sCase cases[] = {
        {800, 12, 1066, 16, {0, 0, 800, 12}}, {800, 12, 1066, 16, {3, 2, 1, 1}}, {800, 12, 1066, 16, {797, 5, 3, 7}},
        {800, 12, 1067, 17, {100, 3, 33, 5}}, {13, 9, 29, 23, {0, 4, 13, 1}},    {13, 9, 5, 4, {2, 2, 9, 5}},
        {31, 7, 33, 9, {-5, -5, 10, 10}},     {31, 7, 33, 9, {30, 6, 20, 20}},   {31, 7, 33, 9, {40, 0, 5, 5}},
        {17, 5, 1281, 11, {8, 1, 1, 3}},      {9, 3, 21, 6, {0, 0, 0, 3}},       {800, 6, 799, 5, {400, 0, 17, 6}}};
    for (const Internal::ScaleRowVariant& variant : Internal::GetScaleRowVariants())
    {
        for (const sCase& c : cases)
        {
            SCOPED_TRACE(testing::Message() << variant.name << " " << c.sourceWidth << "x" << c.sourceHeight << " to "
                                            << c.targetWidth << "x" << c.targetHeight << " area " << c.area.x << ","
                                            << c.area.y << " " << c.area.width << "x" << c.area.height);
            const int targetPitch = c.targetWidth + 3;
            const std::vector<Color32> source = Noise(size_t(c.sourceWidth) * c.sourceHeight, random);
            const std::vector<Color32> before = Noise(size_t(targetPitch) * c.targetHeight, random);
            std::vector<Color32> whole = before;
            Graphics::ScaleNearest(source.data(), c.sourceWidth, c.sourceHeight, c.sourceWidth, whole.data(),
                                   c.targetWidth, c.targetHeight, targetPitch, Internal::GetScaleRowVariants()[0].row);
            std::vector<Color32> part = before;
            const Rect<int> written =
                Graphics::ScaleNearestArea(source.data(), c.sourceWidth, c.sourceHeight, c.sourceWidth, part.data(),
                                           c.targetWidth, c.targetHeight, targetPitch, c.area, variant.row);
            for (int y = 0; y < c.targetHeight; ++y)
                for (int x = 0; x < c.targetWidth; ++x)
                {
                    const int sx = (2 * x + 1) * c.sourceWidth / (2 * c.targetWidth);
                    const int sy = (2 * y + 1) * c.sourceHeight / (2 * c.targetHeight);
                    const bool shows = sx >= c.area.x && sx < c.area.x + c.area.width && sy >= c.area.y &&
                                       sy < c.area.y + c.area.height;
                    const bool inside = x >= written.x && x < written.x + written.width && y >= written.y &&
                                        y < written.y + written.height;
                    ASSERT_EQ(inside, shows) << x << "," << y;
                    const size_t at = size_t(y) * targetPitch + x;
                    ASSERT_EQ(part[at], shows ? whole[at] : before[at]) << x << "," << y;
                }
        }
    }
}

} // namespace
