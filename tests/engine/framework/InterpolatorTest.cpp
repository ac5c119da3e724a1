#include "framework/Interpolator.h"

#include "framework/Animating.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace Strata
{
namespace
{

TEST(Interpolator, SmoothCurvesAtHalfTime)
{
    EXPECT_FLOAT_EQ(5.0f, SmoothInterpolator(0.0f).interpolate(0.0f, 10.0f, 1.0f, 2.0f));
    EXPECT_FLOAT_EQ(7.5f, SmoothInterpolator(2.0f).interpolate(0.0f, 10.0f, 1.0f, 2.0f));
    EXPECT_FLOAT_EQ(2.5f, SmoothInterpolator(-2.0f).interpolate(0.0f, 10.0f, 1.0f, 2.0f));
    // Eased at both ends: slower than linear early on.
    EXPECT_LT(SmoothInterpolator(0.0f).interpolate(0.0f, 10.0f, 0.2f, 2.0f), 1.0f);
}

TEST(Interpolator, EndsAreExactAndNeverOvershot)
{
    const LinearInterpolator linear;
    const SmoothInterpolator smooth(3.0f);
    const SmoothInterpolator slow(-3.0f);
    for (const Interpolator* interpolator : std::initializer_list<const Interpolator*>{&linear, &smooth, &slow})
    {
        EXPECT_EQ(-4.0f, interpolator->interpolate(-4.0f, 6.0f, 0.0f, 1.0f));
        EXPECT_EQ(6.0f, interpolator->interpolate(-4.0f, 6.0f, 1.0f, 1.0f));
        EXPECT_EQ(6.0f, interpolator->interpolate(-4.0f, 6.0f, 5.0f, 1.0f));   // past the end
        EXPECT_EQ(6.0f, interpolator->interpolate(-4.0f, 6.0f, 0.0f, 0.0f));   // no duration
        EXPECT_EQ(6.0f, interpolator->interpolate(-4.0f, 6.0f, 0.5f, -1.0f));  // negative duration
        EXPECT_EQ(-4.0f, interpolator->interpolate(-4.0f, 6.0f, -0.5f, 1.0f)); // before the start
    }
    EXPECT_FLOAT_EQ(1.0f, linear.interpolate(-4.0f, 6.0f, 0.5f, 1.0f));
    EXPECT_EQ(6.0f, ImmediateInterpolator().interpolate(-4.0f, 6.0f, 0.0f, 1.0f));
}

TEST(Animating, TweensAndGoesIdleAtTheEnd)
{
    Animating<float> value(1.0f);
    EXPECT_FALSE(value.Update(0.1f)); // idle
    EXPECT_EQ(1.0f, value.value);

    value.from = 0.0f;
    value.to = 10.0f;
    value.elapsed = 0.0f;
    value.duration = 1.0f;
    EXPECT_TRUE(value.Update(0.25f));
    EXPECT_FLOAT_EQ(2.5f, value.value);
    EXPECT_TRUE(value.Update(1.0f));
    EXPECT_EQ(10.0f, value.value);
    EXPECT_EQ(-FLT_MAX, value.duration);
    EXPECT_FALSE(value.Update(0.25f));

    // A zero duration jumps to the end at the next update.
    value.to = 3.0f;
    value.elapsed = 0.0f;
    value.duration = 0.0f;
    EXPECT_TRUE(value.Update(0.0f));
    EXPECT_EQ(3.0f, value.value);
}

} // namespace
} // namespace Strata
