#include "graphics/DrawState.h"

#include <gtest/gtest.h>

using namespace Strata;
using namespace Strata::Graphics;

TEST(DrawStateTest, DefaultsDrawOpaqueWhiteEverywhereWithBlending)
{
    const sDrawState& defaults = sDrawState::GetDefaults();
    EXPECT_EQ(&defaults, &sDrawState::GetDefaults());
    EXPECT_EQ(defaults.font, nullptr);
    EXPECT_EQ(defaults.color, ColorF(1, 1, 1, 1));
    EXPECT_EQ(defaults.effectColor, ColorF(0, 0, 0, 1));
    EXPECT_EQ(defaults.effectOffset, Vector2<int>(2, 2));
    EXPECT_EQ(defaults.imageColor, ColorF(1, 1, 1, 1));
    EXPECT_EQ(defaults.clipRect, Rect<int>(-1073741824, -1073741824, 2147483647, 2147483647));
    EXPECT_EQ(defaults.sourceRect, Rect<int>());
    EXPECT_EQ(defaults.flags, static_cast<uint32_t>(DrawFlag_Blend));
    EXPECT_EQ(defaults.textMode, TextMode_Normal);
    EXPECT_EQ(defaults.hAlign, HAlignment_Left);
    EXPECT_EQ(defaults.vAlign, VAlignment_Top);

    // The clip rectangle covers any pixel a canvas can have.
    const Rect<int> huge(-100000000, -100000000, 200000000, 200000000);
    EXPECT_EQ(huge.getIntersection(defaults.clipRect), huge);
}

TEST(DrawStateTest, SourceRectSetsOnlyTheRectangleAndItsFlag)
{
    sDrawState base = sDrawState::GetDefaults();
    base.flags |= DrawFlag_FlipV;
    base.hAlign = HAlignment_Right;
    base.color = ColorF(0.1f, 0.2f, 0.3f, 0.4f);

    DrawStateNPI copy(base);
    DrawStateNPI& same = copy.SourceRect(0, 0, 16, 8);
    EXPECT_EQ(&same, &copy);
    EXPECT_EQ(copy.sourceRect, Rect<int>(0, 0, 16, 8));
    EXPECT_EQ(copy.flags, static_cast<uint32_t>(DrawFlag_Blend | DrawFlag_FlipV | DrawFlag_SourceRect));

    sDrawState expected = base;
    expected.sourceRect = Rect<int>(0, 0, 16, 8);
    expected.flags |= DrawFlag_SourceRect;
    EXPECT_TRUE(static_cast<const sDrawState&>(copy) == expected);
    // The original is untouched.
    EXPECT_EQ(base.sourceRect, Rect<int>());
}
