#include "scene/NodeMotionTasks.h"

#include "core/Random.h"
#include "core/RuntimeError.h"
#include "scene/NodeAnimationTask.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneNode.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace Strata
{
namespace
{

using V = Vector2<float>;

void ExpectNear(const V& expected, const V& actual, float tolerance = 1e-3f)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
}

// Draws from the engine's current random stream; clones share the draw counter.
class RandomFloat : public NumberGenerator<float>
{
public:
    RandomFloat(float low, float high, int* draws) : mLow(low), mHigh(high), mDraws(draws) {}
    float Generate() override
    {
        ++*mDraws;
        return Random::GetFloatRange(mLow, mHigh);
    }
    std::shared_ptr<NumberGenerator<float>> Clone() const override
    {
        return std::make_shared<RandomFloat>(mLow, mHigh, mDraws);
    }

private:
    float mLow, mHigh;
    int* mDraws;
};

TEST(NodeTasks, RefuseTheWrongKindOfObject)
{
    const std::pair<std::function<Task*()>, std::string> cases[] = {
        {[] { return new NodeLocationTask(V(1, 2)); }, "NodeLocationTask must be applied to a SceneNode"},
        {[] { return new NodeBezierLocationTask(V(), V(), V(), 1); },
         "NodeBezierLocationTask must be applied to a SceneNode"},
        {[] { return new NodeCatmullRomPathTask({V()}, 1); }, "NodeCatmullRomPathTask must be applied to a SceneNode"},
        {[] { return new NodeOrientationTask(Angle(1)); }, "NodeOrientationTask must be applied to a SceneNode"},
        {[] { return new NodeScaleTask(V(2, 2)); }, "NodeScaleTask must be applied to a SceneNode"},
        {[] { return new NodeVisibleTask(false); }, "NodeVisibleTask must be applied to a SceneNode"},
        {[] { return new NodeAnimationTask(Label("a"), NodeAnimationTaskCompletion_Immediate); },
         "NodeAnimationTask applied to a non-AnimatedSpriteNode object"},
    };
    Object plain;
    SceneNode node;
    for (const auto& [make, message] : cases)
    {
        for (Object* object : {static_cast<Object*>(nullptr), &plain, static_cast<Object*>(&node)})
        {
            std::unique_ptr<Task> task(make());
            try
            {
                task->Update(object, 0.1f);
                EXPECT_EQ(object, &node) << message;
            }
            catch (const std::runtime_error& e)
            {
                EXPECT_EQ(message, e.what());
            }
        }
    }
}

TEST(NodeLocationTask, StartsWhereTheNodeIsAndEndsExactlyOnTheTarget)
{
    SceneNode node;
    NodeLocationTask bare(40, -20);
    node.LocalSetLocation(20, 10);
    EXPECT_EQ(0.0f, bare.Update(&node, 0.02f).time); // complete, having used none of the step
    EXPECT_EQ(V(40, -20), node.LocalGetLocation());

    // 0.1 + (0.7 - 0.1) is not 0.7 in floats; the move must still end on its target.
    for (float to : {0.7f, 123.456f})
    {
        NodeLocationTask task(to, -to, 0.5f);
        node.LocalSetLocation(0.1f, -0.1f); // after construction: this is the start
        EXPECT_FALSE(task.Update(&node, 0.25f).IsComplete());
        ExpectNear(V((0.1f + to) / 2, (-0.1f - to) / 2), node.LocalGetLocation());
        const sTaskStatus done = task.Update(&node, 0.375f);
        EXPECT_FLOAT_EQ(0.25f, done.time);
        EXPECT_EQ(V(to, -to), node.LocalGetLocation());
    }
}

TEST(NodeLocationTask, RepeatsWithFreshSeededRandomTargetsDrawnOncePerRun)
{
    // Every run ends on a step boundary, so each clone's first update has dt = 0.
    auto run = [](unsigned int seed, int* draws)
    {
        Random::SetSeedOverride(seed);
        Random::Engine_Setup();
        auto target = std::make_shared<Vector2ToVector2Generator<float>>(std::make_shared<RandomFloat>(0, 100, draws),
                                                                         std::make_shared<RandomFloat>(-50, 0, draws));
        RepeatingTask repeating(new NodeLocationTask(target, std::make_shared<ConstNumberGenerator<float>>(0.1f),
                                                     std::make_shared<LinearInterpolator>()));
        SceneNode node;
        std::vector<V> visited;
        for (int i = 0; i < 6; ++i)
        {
            repeating.Update(&node, 0.1f);
            visited.push_back(node.LocalGetLocation());
            EXPECT_TRUE(visited[i].x >= 0 && visited[i].x < 100 && visited[i].y >= -50 && visited[i].y < 0);
        }
        Random::ClearSeedOverride();
        Random::Engine_Destroy();
        return visited;
    };
    int draws = 0;
    const std::vector<V> first = run(7, &draws);
    EXPECT_EQ(14, draws); // an x and a y for each of six runs and for the clone started after them
    EXPECT_NE(first[0], first[1]);
    EXPECT_EQ(first, run(7, &draws));
    EXPECT_NE(first, run(8, &draws));
}

TEST(NodeBezierLocationTask, FollowsTheCubicAndLandsExactlyOnItsEnd)
{
    SceneNode node;
    node.LocalSetLocation(0, 0);
    // P0 (0, 0), P1 (0, 100), P2 (100, 100), P3 (100, 0): the Bernstein weights by hand.
    NodeBezierLocationTask task(V(100, 0), V(0, 100), V(100, 100), 1.0f);
    for (const auto& [dt, expected] : {std::pair{0.0f, V(0, 0)}, {0.25f, V(15.625f, 56.25f)}, {0.25f, V(50, 75)}})
    {
        EXPECT_FALSE(task.Update(&node, dt).IsComplete());
        ExpectNear(expected, node.LocalGetLocation());
    }
    EXPECT_FLOAT_EQ(0.5f, task.Update(&node, 0.75f).time);
    EXPECT_EQ(V(100, 0), node.LocalGetLocation());

    // Coordinates for which the power form does not sum back to the end point.
    for (float a : {0.1f, 0.7f, -3.3f, 1234.567f})
    {
        const V end(a * 3.1f, 0.7f - a);
        node.LocalSetLocation(a, 0.3f);
        NodeBezierLocationTask curve(end, V(0.3f, a), V(a * 7.0f, 0.9f), 0.3f);
        EXPECT_TRUE(curve.Update(&node, 0.5f).IsComplete());
        EXPECT_EQ(end, node.LocalGetLocation());
    }
}

TEST(NodeCatmullRomPathTask, EqualTimePerSegmentThroughEveryPoint)
{
    // One point: 0.5 (-200 s^3 + 300 s^2 + 100 s) along x, slow at both ends.
    SceneNode node;
    NodeCatmullRomPathTask line({V(100, 0)}, 1.0f);
    for (float x : {20.3125f, 50.0f, 79.6875f})
    {
        line.Update(&node, 0.25f);
        ExpectNear(V(x, 0), node.LocalGetLocation());
    }

    // Several points, a quarter of the time each however long the segment; the end exactly.
    const std::vector<V> points = {V(10, 0), V(10, 500), V(-3.3f, 0.7f), V(0.1f, 1000)};
    auto linear = std::make_shared<LinearInterpolator>();
    NodeCatmullRomPathTask automatic(points, 2.0f, linear);
    NodeCatmullRomPathTask explicitEnds(points, V(0, -100), V(100, 200), 2.0f, linear);
    for (Task* task : {static_cast<Task*>(&automatic), static_cast<Task*>(&explicitEnds)})
    {
        node.LocalSetLocation(0, 0);
        for (size_t i = 0; i + 1 < points.size(); ++i)
        {
            EXPECT_FALSE(task->Update(&node, 0.5f).IsComplete());
            ExpectNear(points[i], node.LocalGetLocation(), 1e-2f);
        }
        EXPECT_FLOAT_EQ(0.5f, task->Update(&node, 0.75f).time);
        EXPECT_EQ(points.back(), node.LocalGetLocation());
    }

    // Halfway along a segment: (-p0 + 9 p1 + 9 p2 - p3) / 16, with the explicit ends as p0 and p3.
    NodeCatmullRomPathTask curve({V(100, 0)}, V(0, -100), V(100, 200), 1.0f, linear);
    node.LocalSetLocation(0, 0);
    curve.Update(&node, 0.5f);
    ExpectNear(V(50, -6.25f), node.LocalGetLocation());

    // An empty path is refused when the task is made, never read out of range later.
    EXPECT_THROW(NodeCatmullRomPathTask({}, 1.0f), RuntimeError);
    EXPECT_THROW(NodeCatmullRomPathTask({}, V(), V(), 1.0f, linear), RuntimeError);
}

} // namespace
} // namespace Strata
