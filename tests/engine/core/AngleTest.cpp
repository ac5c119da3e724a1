#include "core/Angle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

using namespace Strata;

namespace Strata
{
// The angle's sine must not capture plain numbers inside the engine's namespace.
static_assert(std::is_same_v<decltype(sin(0.5)), double>);
} // namespace Strata

TEST(AngleTest, ConstantsAndDegrees)
{
    EXPECT_FLOAT_EQ(Angle::pi(), 3.14159265f);
    EXPECT_FLOAT_EQ(Angle::circle(), 2.0f * Angle::pi());
    EXPECT_FLOAT_EQ(Angle::FromDegrees(180.0f).GetValue(), Angle::pi());
    EXPECT_FLOAT_EQ(Angle::FromDegrees(-90.0f).GetValue(), -Angle::pi() / 2.0f);
}

TEST(AngleTest, WrapBringsAnglesIntoOneTurn)
{
    EXPECT_NEAR(Angle(7.0f).Wrap().GetValue(), 0.7168f, 1e-4f);
    EXPECT_NEAR(Angle(-1.0f).Wrap().GetValue(), 5.2832f, 1e-4f);
    EXPECT_EQ(Angle(1.5f).Wrap().GetValue(), 1.5f);
    EXPECT_EQ(Angle::Circle().Wrap().GetValue(), 0.0f);
    // A negative whole turn becomes a full turn, not 0.
    EXPECT_EQ((-Angle::Circle()).Wrap().GetValue(), Angle::circle());
    // Wrap returns a new angle and leaves this one alone.
    const Angle seven(7.0f);
    seven.Wrap();
    EXPECT_EQ(seven.GetValue(), 7.0f);
}

TEST(AngleTest, WrapOfNonFiniteAnglesEnds)
{
    EXPECT_TRUE(std::isnan(Angle(std::numeric_limits<float>::quiet_NaN()).Wrap().GetValue()));
    EXPECT_TRUE(std::isnan(Angle(std::numeric_limits<float>::infinity()).Wrap().GetValue()));
    EXPECT_TRUE(std::isnan(Angle(-std::numeric_limits<float>::infinity()).Wrap().GetValue()));
}

TEST(AngleTest, EquivalenceComparesWrappedValues)
{
    EXPECT_TRUE(Angle(8.0f).IsEquivalent(Angle(8.0f).Wrap()));
    EXPECT_TRUE(Angle(0.0f).IsEquivalent(Angle::Circle()));
    EXPECT_FALSE(Angle(0.0f).IsEquivalent(-Angle::Circle()));
    EXPECT_FALSE(Angle(0.1f).IsEquivalent(Angle(0.2f)));
}

TEST(AngleTest, RotateTurnsClockwiseOnScreen)
{
    const Vector2<float> right(1.0f, 0.0f);
    const Vector2<float> down = Angle::FromDegrees(90.0f).Rotate(right);
    EXPECT_NEAR(down.x, 0.0f, 1e-6f);
    EXPECT_NEAR(down.y, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(sin(Angle(0.5f)), std::sin(0.5f));
    EXPECT_FLOAT_EQ(cos(Angle(0.5f)), std::cos(0.5f));
}
