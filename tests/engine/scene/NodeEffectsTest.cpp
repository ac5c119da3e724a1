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
            EXPECT_NEAR(degrees, std::remainder(node.LocalGetOrientation().GetValue() * 180.0f / Angle::pi(), 360.0f),
                        1e-3f)
                << startDegrees;
        }
        EXPECT_TRUE(shake->Update(&node, 0.05f).IsComplete());
        EXPECT_EQ(0.0f, node.LocalGetOrientation().GetValue());
    }
}

TEST(NodeEffects, EachCallIsANewTreeThatHandsOnWhatItDidNotUse)
{
    const std::pair<std::unique_ptr<Task> (*)(), float> cases[] = {{getNodeErrorShakeTask, 0.4f},
                                                                   {getNodeItemPickUpAnimTask, 0.1f}};
    for (const auto& [make, total] : cases)
    {
        SceneNode node, other;
        node.LocalSetScale(V(0.5f, 2));
        std::unique_ptr<Task> task = make();
        std::unique_ptr<Task> second = make();
        EXPECT_FALSE(task->Update(&node, total * 0.75f).IsComplete());
        EXPECT_FALSE(second->Update(&other, total * 0.25f).IsComplete());
        // The pop holds 110 per cent until its time is up; the shake stays at scale 1.
        EXPECT_FLOAT_EQ(total < 0.2f ? 1.1f : 1.0f, node.LocalGetScale().x);
        const sTaskStatus done = task->Update(&node, total * 0.5f);
        EXPECT_TRUE(done.IsComplete());
        EXPECT_NEAR(total * 0.25f, done.time, 1e-5f);
        EXPECT_EQ(V(1, 1), node.LocalGetScale());
        EXPECT_FALSE(second->Update(&other, total * 0.25f).IsComplete());
    }
}

} // namespace
} // namespace Strata
