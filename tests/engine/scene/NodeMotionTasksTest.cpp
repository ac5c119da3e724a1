#include "scene/NodeMotionTasks.h"

#include "core/Random.h"
#include "core/RuntimeError.h"
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

TEST(NodeTasks, RefuseAnythingButASceneNode)
{
    const std::pair<std::function<Task*()>, std::string> cases[] = {
        {[] { return new NodeLocationTask(V(1, 2)); }, "NodeLocationTask"},
        {[] { return new NodeBezierLocationTask(V(1, 2), V(), V(), 1.0f); }, "NodeBezierLocationTask"},
        {[] { return new NodeCatmullRomPathTask({V(1, 2)}, 1.0f); }, "NodeCatmullRomPathTask"},
        {[] { return new NodeOrientationTask(Angle(1.0f)); }, "NodeOrientationTask"},
        {[] { return new NodeScaleTask(V(2, 2)); }, "NodeScaleTask"},
        {[] { return new NodeVisibleTask(false); }, "NodeVisibleTask"},
    };
    Object plain;
    for (const auto& [make, name] : cases)
    {
        for (Object* object : {static_cast<Object*>(nullptr), &plain})
        {
            std::unique_ptr<Task> task(make());
            try
            {
                task->Update(object, 0.1f);
                ADD_FAILURE() << name;
            }
            catch (const std::runtime_error& e)
            {
                EXPECT_EQ(name + " must be applied to a SceneNode", e.what());
            }
            // Nothing was captured: the task still starts properly on a node afterwards.
            SceneNode node;
            EXPECT_TRUE(task->Update(&node, 1.0f).IsComplete()) << name;
        }
    }
}

TEST(NodeLocationTask, StartsWhereTheNodeIsAndEndsExactlyOnTheTarget)
{
    const std::pair<std::function<Task*()>, float> cases[] = {
        {[] { return new NodeLocationTask(V(40, -20)); }, 0.0f},
        {[] { return new NodeLocationTask(40, -20); }, 0.0f},
        {[] { return new NodeLocationTask(V(40, -20), 0.5f); }, 0.5f},
        {[] { return new NodeLocationTask(40.0f, -20.0f, 0.5f); }, 0.5f},
        {[] { return new NodeLocationTask(40, -20, 0.5f); }, 0.5f},
    };
    for (const auto& [make, duration] : cases)
    {
        std::unique_ptr<Task> task(make());
        SceneNode node;
        node.LocalSetLocation(20, 10); // after construction: this is the start
        if (duration > 0.0f)
        {
            EXPECT_FALSE(task->Update(&node, 0.25f).IsComplete());
            ExpectNear(V(30, -5), node.LocalGetLocation());
        }
        const sTaskStatus status = task->Update(&node, 0.375f);
        EXPECT_TRUE(status.IsComplete());
        EXPECT_FLOAT_EQ(duration > 0.0f ? 0.25f : 0.0f, status.time);
        EXPECT_EQ(V(40, -20), node.LocalGetLocation());
    }
    // 0.1 + (0.7 - 0.1) is not 0.7 in floats; the move must still end on its target.
    for (float from : {0.7f, 0.1f, -987.65f})
    {
        for (float to : {0.7f, 0.3f, 123.456f})
        {
            SceneNode node;
            node.LocalSetLocation(from, -from);
            NodeLocationTask task(to, -to, 0.3f);
            task.Update(&node, 0.1f);
            task.Update(&node, 0.2f);
            EXPECT_EQ(V(to, -to), node.LocalGetLocation());
        }
    }
}

TEST(NodeLocationTask, RepeatsWithFreshRandomTargetsDrawnOncePerRun)
{
    // Every run ends on a step boundary, so each clone's first update has dt = 0.
    auto run = [](unsigned int seed, int* draws)
    {
        Random::SetSeedOverride(seed);
        Random::Engine_Setup();
        auto target = std::make_shared<Vector2ToVector2Generator<float>>(
            std::make_shared<RandomFloat>(0, 100, draws), std::make_shared<RandomFloat>(-50, 0, draws));
        RepeatingTask repeating(new NodeLocationTask(target,
                                                     std::make_shared<ConstNumberGenerator<float>>(0.1f),
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
    // An x and a y for each of six runs and for the clone started after the last.
    EXPECT_EQ(14, draws);
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
    const std::pair<float, V> steps[] = {{0.0f, V(0, 0)}, {0.25f, V(15.625f, 56.25f)}, {0.25f, V(50, 75)}};
    for (const auto& [dt, expected] : steps)
    {
        EXPECT_FALSE(task.Update(&node, dt).IsComplete());
        ExpectNear(expected, node.LocalGetLocation());
    }
    const sTaskStatus done = task.Update(&node, 0.75f);
    EXPECT_TRUE(done.IsComplete());
    EXPECT_FLOAT_EQ(0.5f, done.time);
    EXPECT_EQ(V(100, 0), node.LocalGetLocation());

    // The clone starts from wherever the node is then.
    node.LocalSetLocation(200, 0);
    std::unique_ptr<Task> clone(task.Clone());
    clone->Update(&node, 0.5f);
    ExpectNear(V(75, 75), node.LocalGetLocation());

    // Coordinates for which the power form does not sum back to the end point.
    for (float a : {0.1f, 0.7f, -3.3f, 1234.567f})
    {
        for (float seconds : {0.0f, 0.3f})
        {
            const V end(a * 3.1f, 0.7f - a);
            node.LocalSetLocation(a, 0.3f);
            NodeBezierLocationTask curve(end, V(0.3f, a), V(a * 7.0f, 0.9f), seconds);
            EXPECT_TRUE(curve.Update(&node, 0.5f).IsComplete());
            EXPECT_EQ(end, node.LocalGetLocation());
        }
    }
}

TEST(NodeCatmullRomPathTask, EqualTimePerSegmentThroughEveryPoint)
{
    // One point: 0.5 (-200 s^3 + 300 s^2 + 100 s) along x, slow at both ends.
    SceneNode node;
    node.LocalSetLocation(0, 0);
    NodeCatmullRomPathTask line({V(100, 0)}, 1.0f);
    for (float x : {20.3125f, 50.0f, 79.6875f})
    {
        EXPECT_FALSE(line.Update(&node, 0.25f).IsComplete());
        ExpectNear(V(x, 0), node.LocalGetLocation());
    }

    // Several points: a quarter of the time per segment, however long; the end exactly.
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
        const sTaskStatus done = task->Update(&node, 0.75f);
        EXPECT_TRUE(done.IsComplete());
        EXPECT_FLOAT_EQ(0.5f, done.time);
        EXPECT_EQ(points.back(), node.LocalGetLocation());
    }

    // Halfway along a segment: (-p0 + 9 p1 + 9 p2 - p3) / 16, the explicit ends as p0 and p3. The
    // clone keeps those ends but not the control list: it starts from the node's new place.
    NodeCatmullRomPathTask curve({V(100, 0)}, V(0, -100), V(100, 200), 1.0f, linear);
    node.LocalSetLocation(0, 0);
    curve.Update(&node, 0.5f);
    ExpectNear(V(50, -6.25f), node.LocalGetLocation());
    std::unique_ptr<Task> clone(curve.Clone());
    node.LocalSetLocation(200, 0);
    clone->Update(&node, 0.5f);
    ExpectNear(V(162.5f, -6.25f), node.LocalGetLocation());

    // An empty path is refused when the task is made, never read out of range later.
    EXPECT_THROW(NodeCatmullRomPathTask({}, 1.0f), RuntimeError);
    EXPECT_THROW(NodeCatmullRomPathTask({}, V(), V(), 1.0f, linear), RuntimeError);
    EXPECT_THROW(NodeCatmullRomPathTask({V(1, 1)}, 1.0f, nullptr), RuntimeError);
}

} // namespace
} // namespace Strata
