#include "graphics/AlphaBlendRow.h"

#include "graphics/DrawState.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <vector>

using namespace Strata;

namespace
{

// Noise in every byte, with the alpha values where the rule changes mixed in often, and runs of pixels that
// are all copied, all kept or both in turn, as in drawn art, for the rows that skip the blending of such runs.
std::vector<Color32> Noise(size_t count, std::mt19937& random)
{
    static constexpr uint8_t kEdges[] = {0, 1, 15, 16, 17, 127, 128, 238, 239, 240, 241, 254, 255};
    static constexpr uint8_t kCopied[] = {240, 251, 255};
    static constexpr uint8_t kKept[] = {0, 7, 15};
    std::vector<Color32> pixels(count);
    size_t run = 0;
    uint32_t runKind = 0;
    for (size_t i = 0; i < count; ++i)
    {
        const uint32_t bits = random();
        if (run == 0 && (bits & 0x1Fu) == 0)
        {
            run = 8 + (bits >> 5) % 41;
            runKind = (bits >> 12) % 3;
        }
        uint8_t alpha = (bits & 0x300u) == 0 ? kEdges[(bits >> 10) % std::size(kEdges)] : uint8_t(bits >> 24);
        if (run > 0)
        {
            const bool copied = runKind == 0 || (runKind == 2 && run % 2 == 0);
            alpha = copied ? kCopied[(bits >> 10) % 3] : kKept[(bits >> 10) % 3];
            --run;
        }
        pixels[i] = Color32(uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), alpha);
    }
    return pixels;
}

const Internal::AlphaRowFunction kReference = Internal::GetAlphaRowVariants().front().row;

TEST(AlphaBlendRowTest, EveryVariantGivesTheReferenceBytes)
{
    const std::vector<Internal::AlphaRowVariant> variants = Internal::GetAlphaRowVariants();
    ASSERT_GE(variants.size(), 2u);
    EXPECT_EQ(Internal::GetAlphaRow(), variants.back().row);

    std::mt19937 random(7u);
    for (const Internal::AlphaRowVariant& variant : variants)
    {
        SCOPED_TRACE(variant.name);
        // Every length up to a few vector blocks, at every alignment, then whole frame rows.
        for (int count : {0, 1, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 63, 800})
        {
            for (int offset = 0; offset < 8; ++offset)
            {
                const std::vector<Color32> source = Noise(static_cast<size_t>(count + offset), random);
                std::vector<Color32> expected = Noise(static_cast<size_t>(count + offset), random);
                std::vector<Color32> actual = expected;
                kReference(expected.data() + offset, source.data() + offset, count);
                variant.row(actual.data() + offset, source.data() + offset, count);
                ASSERT_EQ(actual, expected) << count << " pixels at offset " << offset;
            }
        }
    }
}

TEST(AlphaBlendRowTest, OverlappingRowsMatchThePixelByPixelOrder)
{
    // An image drawn onto itself a few pixels along, ahead of or behind its source.
    std::mt19937 random(11u);
    const std::vector<Color32> start = Noise(100, random);
    for (const Internal::AlphaRowVariant& variant : Internal::GetAlphaRowVariants())
    {
        for (int shift = -9; shift <= 9; ++shift)
        {
            std::vector<Color32> expected = start;
            std::vector<Color32> actual = start;
            kReference(expected.data() + 20 + shift, expected.data() + 20, 60);
            variant.row(actual.data() + 20 + shift, actual.data() + 20, 60);
            ASSERT_EQ(actual, expected) << variant.name << ", target " << shift << " pixels along";
        }
    }
}

TEST(AlphaBlendRowTest, BlittedFramesEqualTheReferenceRows)
{
    constexpr int kWidth = 800;
    constexpr int kHeight = 600;
    std::mt19937 random(2024u);
    const Image source(Noise(size_t(kWidth) * kHeight, random), kWidth, kHeight, true, false);
    const std::vector<Color32> background = Noise(size_t(kWidth) * kHeight, random);

    struct Case
    {
        int x;
        int y;
    };
    // Whole frame, and cut at each edge so that rows start and end off the vector blocks.
    for (const Case& c : {Case{0, 0}, Case{-3, 5}, Case{13, -7}, Case{795, 598}, Case{-797, 1}})
    {
        std::vector<Color32> actual = background;
        Graphics::BLIT_TARGET target;
        target.pixels = actual.data();
        target.width = kWidth;
        target.height = kHeight;
        ASSERT_EQ(Graphics::BlitImage(&source, c.x, c.y, &target, Graphics::sDrawState::GetDefaults()), 0);

        std::vector<Color32> expected = background;
        const int left = std::max(c.x, 0);
        const int right = std::min(c.x + kWidth, kWidth);
        for (int y = std::max(c.y, 0); y < std::min(c.y + kHeight, kHeight); ++y)
        {
            kReference(expected.data() + size_t(y) * kWidth + left,
                       source.GetPixels() + size_t(y - c.y) * kWidth + (left - c.x), right - left);
        }
        EXPECT_EQ(actual, expected) << "drawn at " << c.x << ", " << c.y;
    }
}

} // namespace
