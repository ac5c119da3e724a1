#include "scene/NodeEffects.h"

#include "scene/SceneNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace Strata
{
namespace
{

using V = Vector2<float>;

float Degrees(const SceneNode& node)
{
    return node.LocalGetOrientation().GetValue() * 180.0f / Angle::pi();
}

TEST(NodeEffects, ErrorShakeRocksFourTimesAndEndsUpright)
{
    for (float startDegrees : {0.0f, 30.0f, -400.0f})
    {
        SceneNode node;
        node.LocalSetOrientation(Angle::FromDegrees(startDegrees));
        node.LocalSetScale(V(1.1f, 1.1f)); // still at a pick-up pop's size
        std::unique_ptr<Task> shake = getNodeErrorShakeTask();
        // Every 0.05 seconds: -10 reached, then half of each 20-degree swing, then upright.
        const float expected[] = {-10, 0, 10, 0, -10, 0, 10};
        for (float degrees : expected)
        {
            EXPECT_FALSE(shake->Update(&node, 0.05f).IsComplete());
            EXPECT_EQ(V(1, 1), node.LocalGetScale());
            EXPECT_NEAR(degrees, std::remainder(Degrees(node), 360.0f), 1e-3f) << startDegrees;
        }
        const sTaskStatus done = shake->Update(&node, 0.05f);
        EXPECT_TRUE(done.IsComplete());
        EXPECT_EQ(0.0f, node.LocalGetOrientation().GetValue());
    }
}

TEST(NodeEffects, EachSequenceHandsOnWhatItDidNotUse)
{
    struct Case
    {
        std::unique_ptr<Task> (*make)();
        float total;
    };
    const Case cases[] = {{getNodeErrorShakeTask, 0.4f}, {getNodeItemPickUpAnimTask, 0.1f}};
    for (const Case& c : cases)
    {
        SceneNode node;
        std::unique_ptr<Task> task = c.make();
        EXPECT_FALSE(task->Update(&node, c.total * 0.75f).IsComplete());
        const sTaskStatus done = task->Update(&node, c.total * 0.5f);
        EXPECT_TRUE(done.IsComplete());
        EXPECT_NEAR(c.total * 0.25f, done.time, 1e-5f);
        EXPECT_EQ(V(1, 1), node.LocalGetScale());
    }
}

TEST(NodeEffects, PickUpPopsForATenthOfASecond)
{
    SceneNode node;
    node.LocalSetScale(V(0.5f, 2));
    std::unique_ptr<Task> pop = getNodeItemPickUpAnimTask();
    EXPECT_FALSE(pop->Update(&node, 0.0f).IsComplete());
    EXPECT_EQ(V(1.1f, 1.1f), node.LocalGetScale());
    EXPECT_FALSE(pop->Update(&node, 0.06f).IsComplete());
    EXPECT_EQ(V(1.1f, 1.1f), node.LocalGetScale());

    // A second tree shares no state with the first.
    SceneNode other;
    std::unique_ptr<Task> second = getNodeItemPickUpAnimTask();
    EXPECT_NE(pop.get(), second.get());
    EXPECT_FALSE(second->Update(&other, 0.06f).IsComplete());

    const sTaskStatus done = pop->Update(&node, 0.06f);
    EXPECT_TRUE(done.IsComplete());
    EXPECT_NEAR(0.04f, done.time, 1e-5f);
    EXPECT_EQ(V(1, 1), node.LocalGetScale());
    EXPECT_EQ(V(1.1f, 1.1f), other.LocalGetScale());
}

} // namespace
} // namespace Strata
