#include "graphics/SoftwareCanvas.h"

#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;

namespace
{

const Color32 kA(10, 0, 0, 255);
const Color32 kB(20, 0, 0, 255);
const Color32 kC(30, 0, 0, 255);
const Color32 kD(40, 0, 0, 255);
const Color32 kE(50, 0, 0, 255);
const Color32 kF(60, 0, 0, 255);
const Color32 kG(70, 0, 0, 255);
const Color32 kH(80, 0, 0, 255);
const Color32 kBlank(1, 2, 3, 4);

std::unique_ptr<Image> MakeImage(int width, int height, std::vector<Color32> pixels, bool hasAlpha = false,
                                 bool hasColorKey = false)
{
    return std::make_unique<Image>(std::move(pixels), width, height, hasAlpha, hasColorKey);
}

std::unique_ptr<Image> Filled(int width, int height, Color32 color, bool hasAlpha = false)
{
    return MakeImage(width, height, std::vector<Color32>(static_cast<size_t>(width) * height, color), hasAlpha);
}

BLIT_TARGET TargetOf(Image& image)
{
    BLIT_TARGET target;
    target.pixels = image.GetPixels();
    target.width = image.GetWidth();
    target.height = image.GetHeight();
    return target;
}

sDrawState Defaults()
{
    return sDrawState::GetDefaults();
}

std::vector<Color32> Row(const Image& image, int y)
{
    std::vector<Color32> row;
    for (int x = 0; x < image.GetWidth(); ++x)
        row.push_back(image.GetPixel(x, y));
    return row;
}

std::vector<Color32> Column(const Image& image, int x)
{
    std::vector<Color32> column;
    for (int y = 0; y < image.GetHeight(); ++y)
        column.push_back(image.GetPixel(x, y));
    return column;
}

// Positions of every pixel that is not `background`.
std::set<std::pair<int, int>> Painted(const Image& image, Color32 background = Color32())
{
    std::set<std::pair<int, int>> painted;
    for (int y = 0; y < image.GetHeight(); ++y)
    {
        for (int x = 0; x < image.GetWidth(); ++x)
            if (!(image.GetPixel(x, y) == background))
                painted.insert({x, y});
    }
    return painted;
}

// An image canvas destroyed with the test.
struct Canvas
{
    explicit Canvas(Image* image) : canvas(CreateImageCanvas(image)) {}
    ~Canvas() { DestroyImageCanvas(canvas); }
    ICanvas* canvas;
};

// An image that is not an in-memory Image.
class OtherImage : public IImage
{
public:
    int GetWidth() const override { return 4; }
    int GetHeight() const override { return 4; }
    Color32 GetPixel(int, int) const override { return Color32(255, 255, 255, 255); }
    void SetTexture(ITexture*) override {}
    ITexture* GetTexture() override { return nullptr; }
};

} // namespace

// --- Pixel arithmetic ---

TEST(BlendColorsTest, MixesBySourceAlpha)
{
    const Color32 d(200, 100, 0, 64);
    EXPECT_EQ(BlendColors(Color32(0, 0, 0, 0), d), d);
    EXPECT_EQ(BlendColors(Color32(1, 2, 3, 255), d), Color32(1, 2, 3, 255));
    // s = 128, t = 128: each channel (128 * src + 128 * dst) >> 8, alpha (128 * 127 + 128 * 64) >> 8.
    EXPECT_EQ(BlendColors(Color32(0, 200, 255, 127), d), Color32(100, 150, 127, 95));
}

TEST(ApplyTintToPixelTest, ScalesEveryByteIncludingAlpha)
{
    const Color32 p(255, 128, 2, 200);
    EXPECT_EQ(ApplyTintToPixel(Color32(255, 255, 255, 255), p), p);
    EXPECT_EQ(ApplyTintToPixel(Color32(), p), Color32());
    EXPECT_EQ(ApplyTintToPixel(Color32(127, 255, 0, 127), p), Color32(127, 128, 0, 100));
}

// --- Blitter ---

TEST(BlitImageTest, OpaqueImageCoveringTheTargetIsCopiedWordForWord)
{
    auto source = MakeImage(2, 2, {kA, kB, kC, Color32(5, 6, 7, 8)});
    auto target = Filled(2, 2, kBlank);
    BLIT_TARGET raw = TargetOf(*target);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, Defaults()), 0);
    EXPECT_EQ(Row(*target, 0), (std::vector<Color32>{kA, kB}));
    // Without hasAlpha the alpha byte is copied as it stands.
    EXPECT_EQ(Row(*target, 1), (std::vector<Color32>{kC, Color32(5, 6, 7, 8)}));

    // One pixel to the right: rows are copied one pixel shorter.
    auto shifted = Filled(2, 2, kBlank);
    BLIT_TARGET shiftedRaw = TargetOf(*shifted);
    EXPECT_EQ(BlitImage(source.get(), 1, 0, &shiftedRaw, Defaults()), 0);
    EXPECT_EQ(Row(*shifted, 0), (std::vector<Color32>{kBlank, kA}));
    EXPECT_EQ(Row(*shifted, 1), (std::vector<Color32>{kBlank, kC}));
}

// An opaque picture flagged as having alpha draws as its twin with a transparent column cut off by the
// source rectangle, which takes the blending rules: at every opacity and tint, mirrored, clipped and
// colour keyed.
TEST(BlitImageTest, OpaquePicturesWithAlphaDrawAsTheBlendingRulesDraw)
{
    std::vector<Color32> pixels, twinPixels;
    for (int y = 0; y < 5; ++y)
    {
        for (int x = 0; x < 7; ++x)
        {
            pixels.push_back(Color32(uint8_t(x * 35), uint8_t(y * 50), uint8_t(x * y * 7), 255));
            twinPixels.push_back(pixels.back());
        }
        twinPixels.push_back(Color32(9, 9, 9, 0));
    }
    struct sCase
    {
        ColorF tint;
        uint32_t flags;
        bool colorKey;
        Rect<int> clip;
    };
    const Rect<int> all(0, 0, 12, 9);
    const sCase cases[] = {
        {ColorF(1, 1, 1, 1), DrawFlag_Blend, false, all},
        {ColorF(1, 1, 1, 0.5f), DrawFlag_Blend, false, all},
        {ColorF(0.3f, 1, 0.7f, 1), DrawFlag_Blend | DrawFlag_FlipH, false, all},
        {ColorF(0.3f, 0.2f, 0.7f, 0.25f), DrawFlag_Blend | DrawFlag_FlipV, false, Rect<int>(3, 2, 4, 5)},
        {ColorF(1, 1, 1, 1), DrawFlag_Blend, true, all},
        {ColorF(1, 0.5f, 1, 0.7f), DrawFlag_Blend, true, all}};
    for (const sCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "tint alpha " << c.tint.a << " flags " << c.flags << " key " << c.colorKey);
        auto picture = MakeImage(7, 5, pixels, true, c.colorKey);
        auto twin = MakeImage(8, 5, twinPixels, true, c.colorKey);
        ASSERT_TRUE(picture->IsOpaque());
        ASSERT_FALSE(twin->IsOpaque());
        sDrawState state = Defaults();
        state.imageColor = c.tint;
        state.flags = c.flags;
        state.clipRect = c.clip;
        auto drawn = Filled(12, 9, Color32(200, 100, 50, 128));
        auto expected = Filled(12, 9, Color32(200, 100, 50, 128));
        BLIT_TARGET drawnRaw = TargetOf(*drawn), expectedRaw = TargetOf(*expected);
        EXPECT_EQ(BlitImage(picture.get(), 2, 3, &drawnRaw, state), 0);
        state.flags |= DrawFlag_SourceRect;
        state.sourceRect = Rect<int>(0, 0, 7, 5);
        EXPECT_EQ(BlitImage(twin.get(), 2, 3, &expectedRaw, state), 0);
        for (int y = 0; y < 9; ++y)
            EXPECT_EQ(Row(*drawn, y), Row(*expected, y)) << "row " << y;
    }
}

TEST(BlitImageTest, NothingToDrawReturnsOne)
{
    auto source = Filled(2, 2, kA);
    auto target = Filled(4, 4, kBlank);
    BLIT_TARGET raw = TargetOf(*target);
    sDrawState state = Defaults();

    EXPECT_EQ(BlitImage(nullptr, 0, 0, &raw, state), 1);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, nullptr, state), 1);
    Image empty;
    EXPECT_EQ(BlitImage(&empty, 0, 0, &raw, state), 1);
    EXPECT_EQ(BlitImage(source.get(), 4, 0, &raw, state), 1);
    EXPECT_EQ(BlitImage(source.get(), -2, 0, &raw, state), 1);
    EXPECT_EQ(BlitImage(source.get(), INT_MAX, INT_MIN, &raw, state), 1);

    state.imageColor.a = 0.001f;
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, state), 1);
    state.imageColor.a = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, state), 1);

    state = Defaults();
    state.clipRect = Rect<int>(2, 2, 0, 5);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, state), 1);

    // A source rectangle empty on either side, or lying outside the image.
    state = Defaults();
    state.flags |= DrawFlag_SourceRect;
    state.sourceRect = Rect<int>(0, 0, 2, 0);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, state), 1);
    state.sourceRect = Rect<int>(0, 0, -1, 2);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, state), 1);
    state.sourceRect = Rect<int>(5, 5, 2, 2);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, state), 1);

    EXPECT_TRUE(Painted(*target, kBlank).empty());
}

TEST(BlitImageTest, AlphaRuleAtFullOpacity)
{
    const Color32 d(100, 100, 100, 255);
    auto source = MakeImage(3, 1, {Color32(200, 0, 50, 10), Color32(200, 0, 50, 250), Color32(200, 0, 50, 128)}, true);
    auto target = Filled(3, 1, d);
    BLIT_TARGET raw = TargetOf(*target);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, Defaults()), 0);
    EXPECT_EQ(target->GetPixel(0, 0), d);
    EXPECT_EQ(target->GetPixel(1, 0), Color32(200, 0, 50, 250));
    // k = 129: 100 + (129 * 100 >> 8) = 150; 100 + (129 * -100 >> 8) = 49 (the shift rounds down);
    // 100 + (129 * -50 >> 8) = 74.
    EXPECT_EQ(target->GetPixel(2, 0), Color32(150, 49, 74, 255));

    // Without blending the same image is copied as it stands.
    sDrawState state = Defaults();
    state.flags &= ~static_cast<uint32_t>(DrawFlag_Blend);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, state), 0);
    EXPECT_EQ(target->GetPixel(0, 0), Color32(200, 0, 50, 10));
}

TEST(BlitImageTest, PartialOpacityFadesAndMakesOpaque)
{
    auto target = Filled(2, 1, Color32(200, 200, 200, 7));
    BLIT_TARGET raw = TargetOf(*target);
    sDrawState state = Defaults();
    state.imageColor.a = 0.5f; // 127, o = 128

    auto plain = Filled(1, 1, Color32(100, 100, 100, 3));
    EXPECT_EQ(BlitImage(plain.get(), 0, 0, &raw, state), 0);
    EXPECT_EQ(target->GetPixel(0, 0), Color32(150, 150, 150, 255));

    // With per-pixel alpha 63: w = 64 * 128, 200 + (8192 * -100 >> 16) = 187.
    auto translucent = Filled(1, 1, Color32(100, 100, 100, 63), true);
    EXPECT_EQ(BlitImage(translucent.get(), 1, 0, &raw, state), 0);
    EXPECT_EQ(target->GetPixel(1, 0), Color32(187, 187, 187, 255));
}

TEST(BlitImageTest, TintScalesChannelsAndFullWhiteIsNoTint)
{
    auto source = Filled(1, 1, Color32(255, 255, 255, 77));
    auto target = Filled(1, 1, kBlank);
    BLIT_TARGET raw = TargetOf(*target);
    sDrawState state = Defaults();

    state.imageColor = ColorF(1.0f, 1.0f, 1.0f, 1.0f);
    BlitImage(source.get(), 0, 0, &raw, state);
    EXPECT_EQ(target->GetPixel(0, 0), Color32(255, 255, 255, 77));

    // 0.5 becomes 127: (255 * 128) >> 8 = 127. Tinted writes are opaque.
    state.imageColor = ColorF(0.5f, 1.0f, 0.0f, 1.0f);
    BlitImage(source.get(), 0, 0, &raw, state);
    EXPECT_EQ(target->GetPixel(0, 0), Color32(127, 255, 0, 255));

    // Channels beyond [0, 1] are clamped before they become bytes.
    state.imageColor = ColorF(3.0f, -2.0f, 1.0f, 7.0f);
    BlitImage(source.get(), 0, 0, &raw, state);
    EXPECT_EQ(target->GetPixel(0, 0), Color32(255, 0, 255, 255));
}

TEST(BlitImageTest, ColorKeyCopiesOpaquePixelsAndSkipsTransparentOnes)
{
    const Color32 blue(0, 0, 255, 255);
    auto source = MakeImage(2, 1, {blue, Color32(9, 9, 9, 0)}, true, true);
    auto target = Filled(2, 1, kBlank);
    BLIT_TARGET raw = TargetOf(*target);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &raw, Defaults()), 0);
    EXPECT_EQ(Row(*target, 0), (std::vector<Color32>{blue, kBlank}));

    // Tinted key: opaque pixels tinted, transparent ones still skipped.
    auto second = Filled(2, 1, kBlank);
    BLIT_TARGET secondRaw = TargetOf(*second);
    sDrawState state = Defaults();
    state.imageColor = ColorF(1.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_EQ(BlitImage(source.get(), 0, 0, &secondRaw, state), 0);
    EXPECT_EQ(Row(*second, 0), (std::vector<Color32>{Color32(0, 0, 0, 255), kBlank}));
}

TEST(BlitImageTest, FlipsMirrorAndClippingKeepsTheRightPart)
{
    auto strip = MakeImage(3, 1, {kA, kB, kC});
    sDrawState state = Defaults();
    state.flags |= DrawFlag_FlipH;

    auto target = Filled(3, 1, kBlank);
    BLIT_TARGET raw = TargetOf(*target);
    EXPECT_EQ(BlitImage(strip.get(), 0, 0, &raw, state), 0);
    EXPECT_EQ(Row(*target, 0), (std::vector<Color32>{kC, kB, kA}));

    // Clipped to the left two pixels of the mirrored picture: they show the source's right end.
    auto clipped = Filled(3, 1, kBlank);
    BLIT_TARGET clippedRaw = TargetOf(*clipped);
    state.clipRect = Rect<int>(0, 0, 2, 1);
    EXPECT_EQ(BlitImage(strip.get(), 0, 0, &clippedRaw, state), 0);
    EXPECT_EQ(Row(*clipped, 0), (std::vector<Color32>{kC, kB, kBlank}));

    // Partly off the target's left edge: the visible pixels are the mirrored picture's right part.
    auto offLeft = Filled(3, 1, kBlank);
    BLIT_TARGET offLeftRaw = TargetOf(*offLeft);
    state.clipRect = Defaults().clipRect;
    EXPECT_EQ(BlitImage(strip.get(), -1, 0, &offLeftRaw, state), 0);
    EXPECT_EQ(Row(*offLeft, 0), (std::vector<Color32>{kB, kA, kBlank}));

    auto column = MakeImage(1, 3, {kA, kB, kC});
    auto tall = Filled(1, 3, kBlank);
    BLIT_TARGET tallRaw = TargetOf(*tall);
    state.flags = DrawFlag_Blend | DrawFlag_FlipV;
    EXPECT_EQ(BlitImage(column.get(), 0, 0, &tallRaw, state), 0);
    EXPECT_EQ(Column(*tall, 0), (std::vector<Color32>{kC, kB, kA}));
}

TEST(BlitImageTest, SourceRectangleSelectsAndMirrorsWithinItself)
{
    auto strip = MakeImage(3, 1, {kA, kB, kC});
    auto target = Filled(5, 1, kBlank);
    BLIT_TARGET raw = TargetOf(*target);
    sDrawState state = Defaults();
    state.flags |= DrawFlag_SourceRect;
    state.sourceRect = Rect<int>(1, 0, 2, 1);
    EXPECT_EQ(BlitImage(strip.get(), 2, 0, &raw, state), 0);
    EXPECT_EQ(Row(*target, 0), (std::vector<Color32>{kBlank, kBlank, kB, kC, kBlank}));

    auto mirrored = Filled(5, 1, kBlank);
    BLIT_TARGET mirroredRaw = TargetOf(*mirrored);
    state.flags |= DrawFlag_FlipH;
    EXPECT_EQ(BlitImage(strip.get(), 2, 0, &mirroredRaw, state), 0);
    EXPECT_EQ(Row(*mirrored, 0), (std::vector<Color32>{kBlank, kBlank, kC, kB, kBlank}));

    // A rectangle reaching left of the image: its pixel (sx, sy) still lands on (x, y), so the part
    // that exists starts one further right; mirrored, the missing column is at the right end.
    auto partial = Filled(5, 1, kBlank);
    BLIT_TARGET partialRaw = TargetOf(*partial);
    state.flags = DrawFlag_Blend | DrawFlag_SourceRect;
    state.sourceRect = Rect<int>(-1, 0, 3, 1);
    EXPECT_EQ(BlitImage(strip.get(), 1, 0, &partialRaw, state), 0);
    EXPECT_EQ(Row(*partial, 0), (std::vector<Color32>{kBlank, kBlank, kA, kB, kBlank}));

    auto partialMirrored = Filled(5, 1, kBlank);
    BLIT_TARGET partialMirroredRaw = TargetOf(*partialMirrored);
    state.flags |= DrawFlag_FlipH;
    EXPECT_EQ(BlitImage(strip.get(), 1, 0, &partialMirroredRaw, state), 0);
    EXPECT_EQ(Row(*partialMirrored, 0), (std::vector<Color32>{kBlank, kB, kA, kBlank, kBlank}));
}

// A picture whose rows hold transparent runs at either end, as a turned copy's do, is drawn the same
// with its row spans worked out as without, whatever the flips, clip, source rectangle, tint, opacity
// and transparency rule; a pixel written since drops the spans.
TEST(BlitImageTest, RowSpansSkipOnlyWhatChangesNothing)
{
    std::mt19937 random(11u);
    const auto make = [&](bool key)
    {
        const int width = 5 + static_cast<int>(random() % 20), height = 3 + static_cast<int>(random() % 12);
        auto image = std::make_unique<Image>(width, height);
        for (int y = 0; y < height; ++y)
        {
            // Rows empty, full, or opaque only between two random columns, with faint pixels in between.
            const int first = static_cast<int>(random() % (width + 1));
            const int end = y % 5 == 0 ? first : first + static_cast<int>(random() % (width - first + 1));
            for (int x = first; x < end; ++x)
            {
                const uint32_t bits = random();
                const uint8_t a = key ? 255 : (x == first || x == end - 1 ? 1 + bits % 254 : uint8_t(bits >> 24));
                image->SetPixel(x, y, Color32(uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), a));
            }
        }
        image->SetFlags(true, key);
        return image;
    };
    for (int round = 0; round < 400; ++round)
    {
        SCOPED_TRACE(round);
        const std::unique_ptr<Image> plain = make(round % 4 == 3);
        const std::unique_ptr<Image> spanned = plain->Copy();
        spanned->PrepareRowSpans();
        ASSERT_NE(spanned->GetRowSpans(), nullptr);
        ASSERT_EQ(plain->GetRowSpans(), nullptr);
        sDrawState state = Defaults();
        if (random() % 2)
            state.flags |= DrawFlag_FlipH;
        if (random() % 3 == 0)
            state.flags |= DrawFlag_FlipV;
        if (random() % 3 == 0)
            state.flags |= DrawFlag_SourceRect,
                state.sourceRect =
                    Rect<int>(int(random() % 4) - 1, int(random() % 3), int(random() % 12) + 1, int(random() % 9) + 1);
        if (random() % 3 == 0)
            state.clipRect = Rect<int>(int(random() % 20), int(random() % 12), int(random() % 24) + 1, 16);
        if (random() % 3 == 0)
            state.imageColor = ColorF(1.0f, 0.5f, float(random() % 2), random() % 2 ? 1.0f : 0.6f);
        std::vector<Color32> background(40 * 30);
        for (Color32& pixel : background)
            pixel = Color32(uint8_t(random()), uint8_t(random()), uint8_t(random()), 255);
        std::vector<Color32> expected = background, actual = background;
        BLIT_TARGET expectedTarget{expected.data(), 40, 30}, actualTarget{actual.data(), 40, 30};
        const int x = static_cast<int>(random() % 50) - 12, y = static_cast<int>(random() % 40) - 10;
        EXPECT_EQ(BlitImage(spanned.get(), x, y, &actualTarget, state),
                  BlitImage(plain.get(), x, y, &expectedTarget, state));
        ASSERT_EQ(actual, expected) << "at " << x << "," << y << " flags " << state.flags;
    }
    const std::unique_ptr<Image> changed = make(false);
    changed->PrepareRowSpans();
    changed->SetPixel(0, 0, Color32(1, 2, 3, 255));
    EXPECT_EQ(changed->GetRowSpans(), nullptr);
}

TEST(BlitStretchedImageTest, RepeatsPixelsAndMirrorsWithinTheSource)
{
    auto source = MakeImage(2, 2, {kA, kB, kC, kD});
    auto target = Filled(4, 4, kBlank);
    BLIT_TARGET raw = TargetOf(*target);
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(0, 0, 4, 4), &raw, Defaults()), 0);
    EXPECT_EQ(Row(*target, 0), (std::vector<Color32>{kA, kA, kB, kB}));
    EXPECT_EQ(Row(*target, 1), (std::vector<Color32>{kA, kA, kB, kB}));
    EXPECT_EQ(Row(*target, 3), (std::vector<Color32>{kC, kC, kD, kD}));

    sDrawState state = Defaults();
    state.flags |= DrawFlag_FlipH | DrawFlag_FlipV;
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(0, 0, 4, 4), &raw, state), 0);
    EXPECT_EQ(Row(*target, 0), (std::vector<Color32>{kD, kD, kC, kC}));
    EXPECT_EQ(Row(*target, 3), (std::vector<Color32>{kB, kB, kA, kA}));

    // Mirrored within the source rectangle, not the whole image.
    auto strip = MakeImage(3, 1, {kA, kB, kC});
    auto wide = Filled(4, 1, kBlank);
    BLIT_TARGET wideRaw = TargetOf(*wide);
    state = Defaults();
    state.flags |= DrawFlag_SourceRect | DrawFlag_FlipH;
    state.sourceRect = Rect<int>(1, 0, 2, 1);
    EXPECT_EQ(BlitStretchedImage(strip.get(), Rect<int>(0, 0, 4, 1), &wideRaw, state), 0);
    EXPECT_EQ(Row(*wide, 0), (std::vector<Color32>{kC, kC, kB, kB}));
}

TEST(BlitStretchedImageTest, ClipsAndRefusesEmptyOrInvisibleDraws)
{
    auto source = MakeImage(2, 2, {kA, kB, kC, kD});
    auto target = Filled(4, 4, kBlank);
    BLIT_TARGET raw = TargetOf(*target);
    sDrawState state = Defaults();

    // No division by an empty rectangle.
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(0, 0, 0, 4), &raw, state), 1);
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(0, 0, 4, -4), &raw, state), 1);
    state.flags |= DrawFlag_SourceRect;
    state.sourceRect = Rect<int>(0, 0, 0, 2);
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(0, 0, 4, 4), &raw, state), 1);

    state = Defaults();
    state.imageColor = ColorF(0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(0, 0, 4, 4), &raw, state), 1);
    state.imageColor = ColorF(1.0f, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(0, 0, 4, 4), &raw, state), 1);
    EXPECT_TRUE(Painted(*target, kBlank).empty());

    state.imageColor = ColorF(0.0f, 0.0f, 0.0f, 1.0f);
    state.clipRect = Rect<int>(0, 0, 2, 1);
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(0, 0, 4, 4), &raw, state), 0);
    EXPECT_EQ(Row(*target, 0), (std::vector<Color32>{Color32(0, 0, 0, 255), Color32(0, 0, 0, 255), kBlank, kBlank}));
    EXPECT_EQ(Row(*target, 1), (std::vector<Color32>(4, kBlank)));

    // Far outside the target: nothing, and no overflow in the scaling.
    state = Defaults();
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(INT_MIN, INT_MIN, INT_MAX, 3), &raw, state), 1);
    EXPECT_EQ(BlitStretchedImage(source.get(), Rect<int>(-1000000000, 0, 2000000000, 4), &raw, state), 0);
    EXPECT_EQ(target->GetPixel(3, 3), kD);
}

// --- Image canvas ---

TEST(ImageCanvasTest, AnswersItsFourInterfacesOnly)
{
    Image image(4, 4);
    Canvas canvas(&image);
    ASSERT_NE(canvas.canvas, nullptr);
    EXPECT_EQ(canvas.canvas->GetKind(), Label("ImageCanvas"));
    EXPECT_EQ(canvas.canvas->GetBounds(), Rect<int>(0, 0, 4, 4));
    EXPECT_EQ(QueryCanvas<ICanvas>(canvas.canvas), canvas.canvas);
    EXPECT_NE(QueryCanvas<IQuadDrawingCanvas>(canvas.canvas), nullptr);
    EXPECT_NE(QueryCanvas<IPixelSettingCanvas>(canvas.canvas), nullptr);
    EXPECT_NE(QueryCanvas<IEllipseDrawingCanvas>(canvas.canvas), nullptr);
    EXPECT_EQ(QueryCanvas<ILineDrawingCanvas>(canvas.canvas), nullptr);
    EXPECT_EQ(QueryCanvas<IScreen>(canvas.canvas), nullptr);
    EXPECT_EQ(QueryCanvas<ITextDrawingCanvas>(canvas.canvas), nullptr);

    void* untouched = &image;
    EXPECT_FALSE(canvas.canvas->QueryInterface(Label("IScreen"), &untouched));
    EXPECT_EQ(untouched, &image);

    EXPECT_EQ(CreateImageCanvas(nullptr), nullptr);
    DestroyImageCanvas(nullptr);
    DestroyImageCanvas(GetScreenCanvas()); // not an image canvas: left alone
    EXPECT_EQ(GetScreenCanvas()->GetBounds(), Rect<int>());
}

TEST(ImageCanvasTest, FilledRectsAreClippedBlendedAndMarkTheImage)
{
    auto image = Filled(4, 3, Color32(0, 0, 200, 255));
    Canvas canvas(image.get());
    IQuadDrawingCanvas* quads = QueryCanvas<IQuadDrawingCanvas>(canvas.canvas);
    sDrawState state = Defaults();
    state.color = ColorF(1.0f, 0.0f, 0.0f, 1.0f);
    state.clipRect = Rect<int>(1, 0, 10, 2);

    uint64_t version = image->GetPixelVersion();
    EXPECT_EQ(quads->DrawFilledRect(Rect<int>(-5, -5, 7, 20), state), 0);
    EXPECT_GT(image->GetPixelVersion(), version);
    EXPECT_EQ(Painted(*image, Color32(0, 0, 200, 255)), (std::set<std::pair<int, int>>{{1, 0}, {1, 1}}));

    // Half-transparent red over blue, blended: s = 128.
    state.color = ColorF(1.0f, 0.0f, 0.0f, 0.5f);
    EXPECT_EQ(quads->DrawFilledRect(Rect<float>(2.9f, 0.0f, 1.9f, 1.0f), state), 0);
    EXPECT_EQ(image->GetPixel(2, 0), Color32(127, 0, 100, 191));
    EXPECT_EQ(image->GetPixel(3, 0), Color32(0, 0, 200, 255));

    // Without blending the colour is written as it is.
    state.flags = 0;
    EXPECT_EQ(quads->DrawFilledRect(Rect<int>(3, 1, 1, 1), state), 0);
    EXPECT_EQ(image->GetPixel(3, 1), Color32(255, 0, 0, 127));

    version = image->GetPixelVersion();
    EXPECT_EQ(quads->DrawFilledRect(Rect<int>(0, 0, 0, 3), state), 1);
    EXPECT_EQ(quads->DrawFilledRect(Rect<int>(0, 2, 4, 1), state), 1); // below the clip
    EXPECT_EQ(image->GetPixelVersion(), version);
}

TEST(ImageCanvasTest, ImagesAreBlittedAndMarkTheTarget)
{
    Image image(4, 4);
    Canvas canvas(&image);
    IQuadDrawingCanvas* quads = QueryCanvas<IQuadDrawingCanvas>(canvas.canvas);
    auto source = MakeImage(2, 1, {kA, kB});

    const uint64_t version = image.GetPixelVersion();
    EXPECT_EQ(quads->DrawImage(source.get(), 1.9f, 2.2f, Defaults()), 0);
    EXPECT_GT(image.GetPixelVersion(), version);
    EXPECT_EQ(image.GetPixel(1, 2), kA);
    EXPECT_EQ(image.GetPixel(2, 2), kB);

    EXPECT_EQ(quads->DrawStretchedImage(source.get(), Rect<int>(0, 0, 4, 1), Defaults()), 0);
    EXPECT_EQ(Row(image, 0), (std::vector<Color32>{kA, kA, kB, kB}));

    OtherImage other;
    EXPECT_EQ(quads->DrawImage(&other, 0.0f, 0.0f, Defaults()), 1);
    EXPECT_EQ(quads->DrawStretchedImage(&other, Rect<int>(0, 0, 4, 4), Defaults()), 1);
    EXPECT_EQ(quads->DrawRotatedImage(&other, 2.0f, 2.0f, Angle(), Defaults()), 1);
    EXPECT_EQ(quads->DrawImage(nullptr, 0.0f, 0.0f, Defaults()), 1);
    EXPECT_EQ(quads->DrawPrimitive(PrimitiveKind_Triangles, source.get(), 0, nullptr, Defaults()), -2);
}

TEST(ImageCanvasTest, RotatedImagesComeFromTheCacheAndStayThere)
{
    auto source = MakeImage(2, 2, {kA, kB, kC, kD});
    Image target(2, 2);
    Canvas canvas(&target);
    IQuadDrawingCanvas* quads = QueryCanvas<IQuadDrawingCanvas>(canvas.canvas);

    // Without a rotation cache the software canvas cannot turn images.
    EXPECT_EQ(quads->DrawRotatedImage(source.get(), 1.0f, 1.0f, Angle::FromDegrees(90.0f), Defaults()), -2);

    source->SetRotationCache(std::make_unique<ImageRotationCache>(4));
    EXPECT_EQ(quads->DrawRotatedImage(source.get(), 1.0f, 1.0f, Angle::FromDegrees(90.0f), Defaults()), 0);
    EXPECT_EQ(Row(target, 0), (std::vector<Color32>{kC, kA}));
    EXPECT_EQ(Row(target, 1), (std::vector<Color32>{kD, kB}));

    // Drawing never uploads a texture, so the texture mark stays set; the copies must survive it.
    ImageRotationCache* cache = source->GetRotationCache();
    const Image* quarter = cache->GetImage(1);
    ASSERT_NE(quarter, nullptr);
    ASSERT_TRUE(source->IsTextureDirty());
    EXPECT_EQ(quads->DrawRotatedImage(source.get(), 1.0f, 1.0f, Angle::FromDegrees(180.0f), Defaults()), 0);
    EXPECT_EQ(cache->GetImage(1), quarter);
    EXPECT_NE(cache->GetImage(2), nullptr);
    EXPECT_EQ(Row(target, 0), (std::vector<Color32>{kD, kC}));
}

TEST(ImageCanvasTest, RotatedImagesHonourFlipsAndSourceRectangles)
{
    auto source = MakeImage(2, 2, {kA, kB, kC, kD});
    source->SetRotationCache(std::make_unique<ImageRotationCache>(4));
    Image target(2, 2);
    Canvas canvas(&target);
    IQuadDrawingCanvas* quads = QueryCanvas<IQuadDrawingCanvas>(canvas.canvas);

    // Mirrored first, then turned a quarter clockwise: [B A; D C] becomes [D B; C A].
    sDrawState state = Defaults();
    state.flags |= DrawFlag_FlipH;
    EXPECT_EQ(quads->DrawRotatedImage(source.get(), 1.0f, 1.0f, Angle::FromDegrees(90.0f), state), 0);
    EXPECT_EQ(Row(target, 0), (std::vector<Color32>{kD, kB}));
    EXPECT_EQ(Row(target, 1), (std::vector<Color32>{kC, kA}));

    // Both flips are a half turn: turned a quarter more that is [B D; A C].
    state.flags |= DrawFlag_FlipV;
    EXPECT_EQ(quads->DrawRotatedImage(source.get(), 1.0f, 1.0f, Angle::FromDegrees(90.0f), state), 0);
    EXPECT_EQ(Row(target, 0), (std::vector<Color32>{kB, kD}));
    EXPECT_EQ(Row(target, 1), (std::vector<Color32>{kA, kC}));

    // The second frame of a strip turns on its own: [E F; G H] becomes [G E; H F].
    auto strip = MakeImage(4, 2, {kA, kB, kE, kF, kC, kD, kG, kH});
    strip->SetRotationCache(std::make_unique<ImageRotationCache>(4));
    state = Defaults();
    state.flags |= DrawFlag_SourceRect;
    state.sourceRect = Rect<int>(2, 0, 2, 2);
    EXPECT_EQ(quads->DrawRotatedImage(strip.get(), 1.0f, 1.0f, Angle::FromDegrees(90.0f), state), 0);
    EXPECT_EQ(Row(target, 0), (std::vector<Color32>{kG, kE}));
    EXPECT_EQ(Row(target, 1), (std::vector<Color32>{kH, kF}));

    state.sourceRect = Rect<int>(7, 7, 2, 2);
    EXPECT_EQ(quads->DrawRotatedImage(strip.get(), 1.0f, 1.0f, Angle::FromDegrees(90.0f), state), 1);
}

TEST(ImageCanvasTest, StretchedRotatedImageKeepsTheRequestedScale)
{
    auto source = MakeImage(2, 1, {kA, kB});
    source->SetRotationCache(std::make_unique<ImageRotationCache>(4));
    Image target(8, 8);
    Canvas canvas(&target);
    IQuadDrawingCanvas* quads = QueryCanvas<IQuadDrawingCanvas>(canvas.canvas);

    // 2 x 1 asked at 4 x 2 and turned a quarter: the 1 x 2 copy drawn 2 x 4, centred on (4, 4).
    EXPECT_EQ(
        quads->DrawStretchedRotatedImage(source.get(), Rect<int>(4, 4, 4, 2), Angle::FromDegrees(90.0f), Defaults()),
        0);
    EXPECT_EQ(Painted(target),
              (std::set<std::pair<int, int>>{{3, 2}, {4, 2}, {3, 3}, {4, 3}, {3, 4}, {4, 4}, {3, 5}, {4, 5}}));
    EXPECT_EQ(target.GetPixel(3, 2), kA);
    EXPECT_EQ(target.GetPixel(4, 5), kB);
    EXPECT_EQ(quads->DrawStretchedRotatedImage(source.get(), Rect<int>(4, 4, 0, 2), Angle(), Defaults()), 1);
}

TEST(ImageCanvasTest, PixelsAreSetInsideOnlyAndMarkTheImage)
{
    Image image(3, 3);
    Canvas canvas(&image);
    IPixelSettingCanvas* pixels = QueryCanvas<IPixelSettingCanvas>(canvas.canvas);
    const uint64_t version = image.GetPixelVersion();
    EXPECT_EQ(pixels->SetPixel(1.7f, 2.2f, kA), 0);
    EXPECT_EQ(image.GetPixel(1, 2), kA);
    EXPECT_GT(image.GetPixelVersion(), version);
    EXPECT_EQ(pixels->GetPixel(1.2f, 2.9f), kA);
    pixels->SetPixel(3.0f, 0.0f, kA);
    pixels->SetPixel(std::numeric_limits<float>::quiet_NaN(), 1e30f, kA);
    EXPECT_EQ(Painted(image).size(), 1u);
    EXPECT_EQ(pixels->GetPixel(-1.0f, 0.0f), Color32());
}

// --- Circles ---

TEST(CircleVerticesTest, QuarterArcPerHalfPixelRadius)
{
    Internal::CircleVerticesCacheI& ints = Internal::GetCircleVerticesI();
    const std::vector<Vector2<int>>& ten = ints.GetCachedVertices(10.0f);
    // n = ceil(5 pi) = 16 steps, 17 points.
    ASSERT_EQ(ten.size(), 17u);
    EXPECT_EQ(ten.front(), Vector2<int>(10, 0));
    EXPECT_EQ(ten.back(), Vector2<int>(0, 10));
    EXPECT_EQ(&ints.GetCachedVertices(10.2f), &ten);
    EXPECT_EQ(&ints.GetCachedVertices(9.8f), &ten);
    EXPECT_TRUE(ints.GetCachedVertices(0.2f).empty());

    const std::vector<Vector2<float>>& floats = Internal::GetCircleVerticesF().GetCachedVertices(10.0f);
    ASSERT_EQ(floats.size(), 17u);
    EXPECT_FLOAT_EQ(floats.front().x, 10.0f);
    EXPECT_NEAR(floats.back().x, 0.0f, 1e-5f);
    EXPECT_FLOAT_EQ(floats.back().y, 10.0f);
    // Growing the cache for a larger radius leaves earlier lists where they were.
    ints.GetCachedVertices(900.0f);
    EXPECT_EQ(&ints.GetCachedVertices(10.0f), &ten);
}

TEST(CircleVerticesTest, UnusableRadiiGiveTheEmptyList)
{
    Internal::CircleVerticesCacheI& ints = Internal::GetCircleVerticesI();
    EXPECT_TRUE(ints.GetCachedVertices(-4.0f).empty());
    EXPECT_TRUE(ints.GetCachedVertices(std::numeric_limits<float>::quiet_NaN()).empty());
    EXPECT_TRUE(ints.GetCachedVertices(std::numeric_limits<float>::infinity()).empty());
    EXPECT_TRUE(ints.GetCachedVertices(1e30f).empty());
    EXPECT_TRUE(Internal::GetCircleVerticesF().GetCachedVertices(Internal::kMaxCircleRadius * 2.0f).empty());
    EXPECT_FALSE(ints.GetCachedVertices(Internal::kMaxCircleRadius).empty());
}

TEST(ImageCanvasCircleTest, LineAndFilledCirclesOfRadiusThree)
{
    // The radius-3 arc: (3,0) (2,0) (2,1) (1,2) (0,2) (0,3).
    Image ring(11, 11);
    Canvas ringCanvas(&ring);
    sDrawState state = Defaults();
    state.color = ColorF(1.0f, 0.0f, 0.0f, 1.0f);
    const uint64_t version = ring.GetPixelVersion();
    EXPECT_EQ(QueryCanvas<IEllipseDrawingCanvas>(ringCanvas.canvas)->DrawLineCircle(5.0f, 5.0f, 3.0f, state), 0);
    EXPECT_GT(ring.GetPixelVersion(), version);
    EXPECT_EQ(Painted(ring), (std::set<std::pair<int, int>>{{8, 5},
                                                            {2, 5},
                                                            {7, 5},
                                                            {3, 5},
                                                            {7, 6},
                                                            {3, 6},
                                                            {7, 4},
                                                            {3, 4},
                                                            {6, 7},
                                                            {4, 7},
                                                            {6, 3},
                                                            {4, 3},
                                                            {5, 7},
                                                            {5, 3},
                                                            {5, 8},
                                                            {5, 2}}));
    EXPECT_EQ(ring.GetPixel(8, 5), Color32(255, 0, 0, 255));

    Image disc(11, 11);
    Canvas discCanvas(&disc);
    EXPECT_EQ(QueryCanvas<IEllipseDrawingCanvas>(discCanvas.canvas)->DrawFilledCircle(5.4f, 5.9f, 3.2f, state), 0);
    const std::set<std::pair<int, int>> painted = Painted(disc);
    EXPECT_EQ(painted.size(), 25u); // rows of 1, 3, 5, 7, 5, 3, 1
    EXPECT_TRUE(painted.count({2, 5}) && painted.count({8, 5}) && painted.count({5, 2}) && painted.count({5, 8}));
    EXPECT_FALSE(painted.count({3, 3}));
}

TEST(ImageCanvasCircleTest, CirclesStayInsideTheImageAndTheClip)
{
    Image image(10, 10);
    Canvas canvas(&image);
    IEllipseDrawingCanvas* ellipses = QueryCanvas<IEllipseDrawingCanvas>(canvas.canvas);
    sDrawState state = Defaults();
    EXPECT_EQ(ellipses->DrawFilledCircle(0.0f, 0.0f, 6.0f, state), 0);
    EXPECT_EQ(ellipses->DrawLineCircle(9.0f, 9.0f, 40.0f, state), 0);
    for (const auto& [x, y] : Painted(image))
        EXPECT_TRUE(x >= 0 && x < 10 && y >= 0 && y < 10);

    Image clipped(10, 10);
    Canvas clippedCanvas(&clipped);
    state.clipRect = Rect<int>(5, 0, 5, 10);
    EXPECT_EQ(QueryCanvas<IEllipseDrawingCanvas>(clippedCanvas.canvas)->DrawFilledCircle(5.0f, 5.0f, 4.0f, state), 0);
    for (const auto& point : Painted(clipped))
        EXPECT_GE(point.first, 5);
    EXPECT_TRUE(Painted(clipped).count({5, 5}));
    EXPECT_TRUE(Painted(clipped).count({9, 5}));

    // Wholly outside the clip: nothing.
    EXPECT_EQ(QueryCanvas<IEllipseDrawingCanvas>(clippedCanvas.canvas)->DrawFilledCircle(1.0f, 5.0f, 2.0f, state), 1);
}

TEST(ImageCanvasCircleTest, TinyInvisibleAndUnusableCirclesAreSafe)
{
    Image image(8, 8);
    Canvas canvas(&image);
    IEllipseDrawingCanvas* ellipses = QueryCanvas<IEllipseDrawingCanvas>(canvas.canvas);
    sDrawState state = Defaults();

    EXPECT_EQ(ellipses->DrawFilledCircle(3.0f, 3.0f, 0.5f, state), 0);
    EXPECT_EQ(Painted(image), (std::set<std::pair<int, int>>{{3, 3}}));

    Image spot(8, 8);
    Canvas spotCanvas(&spot);
    EXPECT_EQ(QueryCanvas<IEllipseDrawingCanvas>(spotCanvas.canvas)->DrawLineCircle(3.0f, 3.0f, 1.2f, state), 0);
    EXPECT_EQ(Painted(spot), (std::set<std::pair<int, int>>{{3, 3}, {2, 3}, {4, 3}, {3, 2}, {3, 4}}));

    Image untouched(8, 8);
    Canvas untouchedCanvas(&untouched);
    IEllipseDrawingCanvas* none = QueryCanvas<IEllipseDrawingCanvas>(untouchedCanvas.canvas);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(none->DrawFilledCircle(3.0f, 3.0f, -2.0f, state), 1);
    EXPECT_EQ(none->DrawFilledCircle(3.0f, 3.0f, nan, state), 1);
    EXPECT_EQ(none->DrawFilledCircle(3.0f, 3.0f, inf, state), 1);
    EXPECT_EQ(none->DrawFilledCircle(3.0f, 3.0f, 1e9f, state), 1);
    EXPECT_EQ(none->DrawLineCircle(nan, 3.0f, 3.0f, state), 1);
    EXPECT_EQ(none->DrawFilledCircle(3.0f, 3.0f, 0.2f, state), 1);
    EXPECT_EQ(none->DrawFilledEllipse(Rect<float>(0.0f, 0.0f, -8.0f, 4.0f), state), 1);
    EXPECT_EQ(none->DrawFilledEllipse(Rect<float>(0.0f, 0.0f, 1e30f, 4.0f), state), 1);
    EXPECT_EQ(none->DrawLineEllipse(Rect<float>(0.0f, 0.0f, nan, nan), state), 1);
    EXPECT_EQ(none->DrawFilledCircle(-1e9f, 3.0f, 3.0f, state), 1);
    state.color.a = 0.49f;
    EXPECT_EQ(none->DrawFilledCircle(3.0f, 3.0f, 3.0f, state), 1);
    EXPECT_TRUE(Painted(untouched).empty());
}

TEST(ImageCanvasCircleTest, EllipsesFromScaledArcs)
{
    sDrawState state = Defaults();

    // Sizes within one pixel of each other make a circle.
    Image ellipse(24, 24);
    Canvas ellipseCanvas(&ellipse);
    EXPECT_EQ(QueryCanvas<IEllipseDrawingCanvas>(ellipseCanvas.canvas)
                  ->DrawFilledEllipse(Rect<float>(0.0f, 0.0f, 20.0f, 20.5f), state),
              0);
    Image circle(24, 24);
    Canvas circleCanvas(&circle);
    QueryCanvas<IEllipseDrawingCanvas>(circleCanvas.canvas)->DrawFilledCircle(10.0f, 10.0f, 10.0f, state);
    EXPECT_EQ(Painted(ellipse), Painted(circle));

    // 40 x 20 from the radius-20 arc squeezed to half height.
    Image wide(50, 30);
    Canvas wideCanvas(&wide);
    EXPECT_EQ(QueryCanvas<IEllipseDrawingCanvas>(wideCanvas.canvas)
                  ->DrawFilledEllipse(Rect<float>(0.0f, 0.0f, 40.0f, 20.0f), state),
              0);
    const std::set<std::pair<int, int>> painted = Painted(wide);
    EXPECT_TRUE(painted.count({0, 10}) && painted.count({40, 10}) && painted.count({20, 0}) && painted.count({20, 20}));
    EXPECT_FALSE(painted.count({41, 10}) || painted.count({20, 21}) || painted.count({0, 0}) || painted.count({2, 3}));

    Image outline(50, 30);
    Canvas outlineCanvas(&outline);
    EXPECT_EQ(QueryCanvas<IEllipseDrawingCanvas>(outlineCanvas.canvas)
                  ->DrawLineEllipse(Rect<float>(0.0f, 0.0f, 40.0f, 20.0f), state),
              0);
    EXPECT_TRUE(Painted(outline).count({0, 10}));
    EXPECT_FALSE(Painted(outline).count({20, 10}));
}

// A clip rectangle only hides: a clipped shape draws exactly the unclipped shape's pixels inside it, also
// where the arc of its rounded radius passes the shape's bounds.
TEST(ImageCanvasCircleTest, AClippedShapeDrawsTheUnclippedShapesPixelsInsideTheClip)
{
    const Rect<float> shapes[] = {{329.6f, 23.8f, 9.94f, 4.97f}, {3.5f, 2.2f, 5.0f, 11.6f}, {10.0f, 10.0f, 7.0f, 7.4f}};
    for (const Rect<float>& shape : shapes)
        for (bool filled : {true, false})
        {
            SCOPED_TRACE(testing::Message() << shape.x << "," << shape.y << " " << shape.width << "x" << shape.height
                                            << (filled ? " filled" : " line"));
            const int right = static_cast<int>(shape.x + shape.width) + 2;
            const int bottom = static_cast<int>(shape.y + shape.height) + 2;
            Image whole(right + 2, bottom + 2);
            Canvas wholeCanvas(&whole);
            sDrawState state = Defaults();
            const auto draw = [&](ICanvas* canvas)
            {
                IEllipseDrawingCanvas* ellipses = QueryCanvas<IEllipseDrawingCanvas>(canvas);
                filled ? ellipses->DrawFilledEllipse(shape, state) : ellipses->DrawLineEllipse(shape, state);
            };
            draw(wholeCanvas.canvas);
            const std::set<std::pair<int, int>> all = Painted(whole);
            ASSERT_FALSE(all.empty());
            // Clip edges on every side, through the shape and just past its bounds.
            for (int edge = 0; edge < 4; ++edge)
                for (int at = -1; at <= 2; ++at)
                {
                    const int x = static_cast<int>(shape.x), y = static_cast<int>(shape.y);
                    const Rect<int> clips[] = {{right - 1 + at, 0, 8, bottom + 2},
                                               {0, 0, x + at + 1, bottom + 2},
                                               {0, bottom - 1 + at, right + 2, 8},
                                               {0, 0, right + 2, y + at + 1}};
                    const Rect<int> clip = clips[edge];
                    Image clipped(right + 2, bottom + 2);
                    Canvas clippedCanvas(&clipped);
                    state.clipRect = clip;
                    draw(clippedCanvas.canvas);
                    state = Defaults();
                    std::set<std::pair<int, int>> inside;
                    for (const auto& [px, py] : all)
                        if (px >= clip.x && px < clip.x + clip.width && py >= clip.y && py < clip.y + clip.height)
                            inside.insert({px, py});
                    EXPECT_EQ(Painted(clipped), inside) << "edge " << edge << " at " << at;
                }
        }
}

TEST(ImageCanvasTest, DrawingFunctionsReachTheCanvas)
{
    Image image(6, 6);
    Canvas canvas(&image);
    sDrawState state = Defaults();
    state.flags = 0;
    state.color = ColorF(0.0f, 1.0f, 0.0f, 1.0f);

    // No line ability: the line is plotted pixel by pixel.
    EXPECT_EQ(DrawLine(0.4f, 0.0f, 3.6f, 0.0f, state, canvas.canvas), 0);
    EXPECT_EQ(Painted(image), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    EXPECT_EQ(image.GetPixel(4, 0), Color32(0, 255, 0, 255));

    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 2, 6, 0), state, canvas.canvas), 1);
    EXPECT_EQ(DrawFilledEllipse(Rect<float>(1.0f, 1.0f, 4.0f, 4.0f), state, canvas.canvas), 0);
    EXPECT_TRUE(Painted(image).count({3, 3}));
}
