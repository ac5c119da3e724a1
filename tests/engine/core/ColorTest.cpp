#include "core/Color.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace Strata;

TEST(ColorTest, FromStringReadsHexPairs)
{
    const ColorF red = ColorF::FromString(L"#FF000080");
    EXPECT_EQ(red.r, 1.0f);
    EXPECT_EQ(red.g, 0.0f);
    EXPECT_EQ(red.b, 0.0f);
    EXPECT_FLOAT_EQ(red.a, 128.0f / 255.0f);

    const ColorF teal = ColorF::FromString(L"#0080ff");
    EXPECT_FLOAT_EQ(teal.g, 128.0f / 255.0f);
    EXPECT_EQ(teal.b, 1.0f);
    EXPECT_EQ(teal.a, 1.0f);
}

TEST(ColorTest, FromStringOfOtherTextIsOpaqueBlack)
{
    const ColorF black(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(ColorF::FromString(L"red"), black);
    EXPECT_EQ(ColorF::FromString(L"#FFF"), black);
    EXPECT_EQ(ColorF::FromString(L""), black);
    EXPECT_EQ(ColorF::FromString(L"#FF0000FF0"), black);
}

TEST(ColorTest, StaticColorsAreSharedAndRight)
{
    const ColorF& white = ColorF::StaticColor<255, 255, 255, 255>();
    EXPECT_EQ(white, ColorF(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(&white, &(ColorF::StaticColor<255, 255, 255, 255>()));
    EXPECT_EQ((ColorF::StaticColor<0, 0, 0, 255>()), ColorF(0.0f, 0.0f, 0.0f, 1.0f));
}

TEST(Color32Test, BytesInMemoryAreBlueGreenRedAlpha)
{
    const Color32 c(0x11, 0x22, 0x33, 0x44); // red, green, blue, alpha
    unsigned char bytes[4];
    std::memcpy(bytes, &c, 4);
    EXPECT_EQ(bytes[0], 0x33);
    EXPECT_EQ(bytes[1], 0x22);
    EXPECT_EQ(bytes[2], 0x11);
    EXPECT_EQ(bytes[3], 0x44);
    EXPECT_EQ(c.GetPacked(), 0x33221144u);
    EXPECT_EQ(Color32::FromPacked(0x33221144u), c);
    EXPECT_FALSE(Color32::FromPacked(0x33221145u) == c);
}

TEST(Color32Test, ConversionsClampAndRound)
{
    const ColorF f(Color32(255, 128, 0, 51));
    EXPECT_EQ(f.r, 1.0f);
    EXPECT_FLOAT_EQ(f.g, 128.0f / 255.0f);
    EXPECT_EQ(f.b, 0.0f);
    EXPECT_FLOAT_EQ(f.a, 0.2f);
    EXPECT_EQ(Color32(f), Color32(255, 128, 0, 51));

    // Out of range and NaN channels become the nearest byte rather than wrapping.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Color32(ColorF(1.5f, -0.5f, nan, 2.0f)), Color32(255, 0, 0, 255));
    EXPECT_EQ(Color32(ColorF(0.5f, 0.999f, 0.001f, 1.0f)), Color32(128, 255, 0, 255));
}
