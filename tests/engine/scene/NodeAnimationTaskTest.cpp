#include "scene/NodeAnimationTask.h"

#include "framework/TimedTask.h"
#include "scene/AnimationController.h"
#include "scene/SpriteNodes.h"
#include "scene/SpriteType.h"

#include <gtest/gtest.h>

#include <memory>

namespace Strata
{
namespace
{

class NodeAnimationTaskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        type.AddAnimation(SpriteAnimation(Label("Wave"), 1, false, Label("Idle"))); // one second, then Idle
        type.AddAnimation(SpriteAnimation(Label("Idle"), 0));                       // endless
        node.SetSpriteType(&type);
    }
    void Advance(float seconds) { node.GetAnimationController()->Update(seconds); }

    SpriteType type;
    AnimatedSpriteNode node;
};

TEST_F(NodeAnimationTaskTest, WaitsUntilTheAnimationIsNoLongerCurrent)
{
    // Ends by moving on to its link.
    NodeAnimationTask wave(Label("Wave"), NodeAnimationTaskCompletion_WhenDone);
    EXPECT_FALSE(wave.Update(&node, 0.02f).IsComplete());
    Advance(0.5f);
    EXPECT_FALSE(wave.Update(&node, 0.02f).IsComplete());
    Advance(0.6f);
    EXPECT_TRUE(node.IsAnimationPlaying(Label("Idle")));
    const sTaskStatus done = wave.Update(&node, 0.02f);
    EXPECT_TRUE(done.IsComplete());
    EXPECT_GE(done.time, 0.02f); // the whole step, so a follower starts at the next update

    // Endless: only another animation ends it. The clone starts Idle again without restarting it.
    std::unique_ptr<Task> idle(NodeAnimationTask(Label("Idle"), NodeAnimationTaskCompletion_WhenDone).Clone());
    for (int i = 0; i < 5; ++i)
    {
        Advance(10.0f);
        EXPECT_FALSE(idle->Update(&node, 0.02f).IsComplete());
    }
    node.SetAnimation(Label("Wave"), false);
    EXPECT_TRUE(idle->Update(&node, 0.02f).IsComplete());
}

TEST_F(NodeAnimationTaskTest, AZeroStepFirstUpdateStartsTheAnimationOnce)
{
    // The wait ends on the step boundary, so the animation task's first update has dt = 0.
    SerialTask chain(new TimedTask(0.1f), new NodeAnimationTask(Label("Wave"), NodeAnimationTaskCompletion_WhenDone));
    EXPECT_FALSE(chain.Update(&node, 0.1f).IsComplete());
    EXPECT_TRUE(node.IsAnimationPlaying(Label("Wave")));
    // Game code moves on before the next update: the task must not start Wave a second time.
    node.SetAnimation(Label("Idle"), false);
    EXPECT_TRUE(chain.Update(&node, 0.02f).IsComplete());
    EXPECT_TRUE(node.IsAnimationPlaying(Label("Idle")));
}

} // namespace
} // namespace Strata
