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

TEST(NodeOrientationTask, TurnsTheShorterWay)
{
    const float pi = Angle::pi();
    const float degree = pi / 180.0f;
    // Start as the node holds it, target as generated, and the turn the node makes (all radians).
    const float cases[][3] = {
        {350 * degree, 10 * degree, 20 * degree},
        {10 * degree, 200 * degree, -170 * degree},
        {0, -10 * degree, -10 * degree},
        {5 * pi, pi / 2, -pi / 2}, // several turns are neither unwound
        {0, 7 * pi / 2, -pi / 2},  // nor wound up
        {0, pi, pi},               // exactly half a turn goes the way the raw angles point
        {pi, 0, -pi},
    };
    for (const auto& [start, target, turn] : cases)
    {
        SceneNode node;
        node.LocalSetOrientation(Angle(start));
        NodeOrientationTask task(Angle(target), 1.0f);
        const float from = Angle(start).Wrap().GetValue();
        task.Update(&node, 0.5f);
        EXPECT_NEAR(from + turn / 2, node.LocalGetOrientation().GetValue(), 1e-4f) << start << " " << target;
        EXPECT_TRUE(task.Update(&node, 0.5f).IsComplete());
        EXPECT_NEAR(from + turn, node.LocalGetOrientation().GetValue(), 1e-4f) << start << " " << target;
    }
}

TEST(NodeOrientationTask, RepeatingSpinKeepsTurningAStepPerRun)
{
    // Each run ends on the step boundary, so its clone starts with dt = 0: it must draw its target
    // once, not again at the next update (which would skip a step of the increment).
    auto spin = std::make_shared<IncrementNumberGenerator<Angle>>(Angle(0.0f), Angle::FromDegrees(90));
    RepeatingTask repeating(new NodeOrientationTask(spin, std::make_shared<ConstNumberGenerator<float>>(0.1f)));
    SceneNode node;
    for (int run = 0; run < 9; ++run)
    {
        repeating.Update(&node, 0.05f);
        repeating.Update(&node, 0.05f);
        const float degrees = node.LocalGetOrientation().GetValue() * 180.0f / Angle::pi();
        EXPECT_NEAR(0.0f, std::remainder(degrees - static_cast<float>(run) * 90.0f, 360.0f), 1e-2f) << run;
    }
}

TEST(NodeScaleAndVisibleTasks, ScaleEachFactorAndShowWithoutUsingTime)
{
    SceneNode node;
    NodeScaleTask task(ConstVector2FGenerator(V(3, 0.5f)), std::make_shared<ConstNumberGenerator<float>>(0.4f),
                       std::make_shared<LinearInterpolator>());
    node.LocalSetScale(V(2, 2)); // after construction: this is the start
    task.Update(&node, 0.1f);
    EXPECT_EQ(V(2.25f, 1.625f), node.LocalGetScale());
    EXPECT_TRUE(task.Update(&node, 0.5f).IsComplete());
    EXPECT_EQ(V(3, 0.5f), node.LocalGetScale());

    SerialTask chain(new NodeVisibleTask(false), new NodeLocationTask(V(5, 5), 0.1f));
    node.LocalSetLocation(0, 0);
    chain.Update(&node, 0.05f);
    EXPECT_FALSE(node.LocalIsVisible());
    EXPECT_FLOAT_EQ(2.5f, node.LocalGetLocation().x); // the move had the whole step
}

} // namespace
} // namespace Strata
