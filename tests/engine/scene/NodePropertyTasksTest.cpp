#include "scene/NodePropertyTasks.h"

#include "scene/NodeMotionTasks.h"
#include "scene/SceneNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace Strata
{
namespace
{

using V = Vector2<float>;

float Degrees(Angle angle)
{
    return angle.GetValue() * 180.0f / Angle::pi();
}

TEST(NodeOrientationTask, TurnsTheShorterWay)
{
    const float pi = Angle::pi();
    struct Case
    {
        float start;  // radians, as the node holds it
        float target; // radians, as generated
        float turn;   // radians the node turns by
    };
    const Case cases[] = {
        {Angle::FromDegrees(350).GetValue(), Angle::FromDegrees(10).GetValue(),
         Angle::FromDegrees(20).GetValue()},
        {Angle::FromDegrees(10).GetValue(), Angle::FromDegrees(200).GetValue(),
         Angle::FromDegrees(-170).GetValue()},
        {0.0f, Angle::FromDegrees(-10).GetValue(), Angle::FromDegrees(-10).GetValue()},
        {5.0f * pi, pi / 2.0f, -pi / 2.0f},   // several turns are not unwound
        {0.0f, 7.0f * pi / 2.0f, -pi / 2.0f}, // nor are they wound up
        {0.0f, pi, pi},                       // exactly half a turn goes the way the raw angles point
        {pi, 0.0f, -pi},
    };
    for (const Case& c : cases)
    {
        SceneNode node;
        node.LocalSetOrientation(Angle(c.start));
        NodeOrientationTask task(Angle(c.target), 1.0f);
        const float from = Angle(c.start).Wrap().GetValue();
        EXPECT_FALSE(task.Update(&node, 0.5f).IsComplete());
        EXPECT_NEAR(from + c.turn / 2.0f, node.LocalGetOrientation().GetValue(), 1e-4f)
            << c.start << " " << c.target;
        EXPECT_TRUE(task.Update(&node, 0.5f).IsComplete());
        EXPECT_NEAR(from + c.turn, node.LocalGetOrientation().GetValue(), 1e-4f)
            << c.start << " " << c.target;
    }
}

TEST(NodeOrientationTask, RepeatingSpinKeepsTurningAStepPerRun)
{
    // Each run ends on the step boundary, so its clone starts with dt = 0: it must draw its target
    // once, not again at the next update (which would skip a step of the increment).
    auto spin = std::make_shared<IncrementNumberGenerator<Angle>>(Angle(0.0f), Angle::FromDegrees(90));
    RepeatingTask repeating(
        new NodeOrientationTask(spin, std::make_shared<ConstNumberGenerator<float>>(0.1f)));
    SceneNode node;
    for (int run = 0; run < 9; ++run)
    {
        repeating.Update(&node, 0.05f);
        repeating.Update(&node, 0.05f);
        const float expected = static_cast<float>(run % 4) * 90.0f;
        const float actual = Degrees(node.LocalGetOrientation().Wrap());
        EXPECT_TRUE(std::abs(expected - actual) < 1e-2f || std::abs(expected + 360.0f - actual) < 1e-2f)
            << "run " << run << ": " << actual;
    }
}

TEST(NodeScaleTask, ScalesEachFactorFromTheNodesScaleAtStart)
{
    SceneNode node;
    NodeScaleTask task(ConstVector2FGenerator(V(3, 0.5f)),
                       std::make_shared<ConstNumberGenerator<float>>(0.4f),
                       std::make_shared<LinearInterpolator>());
    node.LocalSetScale(V(2, 2)); // after construction: this is the start
    EXPECT_FALSE(task.Update(&node, 0.1f).IsComplete());
    EXPECT_EQ(V(2.25f, 1.625f), node.LocalGetScale());
    EXPECT_TRUE(task.Update(&node, 0.5f).IsComplete());
    EXPECT_EQ(V(3, 0.5f), node.LocalGetScale());
}

TEST(NodeVisibleTask, TakesNoTimeSoTheChainGoesOnInTheSameUpdate)
{
    SceneNode node;
    node.LocalSetLocation(0, 0);
    SerialTask chain(new NodeVisibleTask(false), new NodeLocationTask(V(5, 5), 0.1f));
    EXPECT_FALSE(chain.Update(&node, 0.05f).IsComplete());
    EXPECT_FALSE(node.LocalIsVisible());
    EXPECT_FLOAT_EQ(2.5f, node.LocalGetLocation().x); // the move had the whole step
}

} // namespace
} // namespace Strata
