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

// Draws from the engine's current random stream and counts its draws in a counter its clones share.
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
    float mLow;
    float mHigh;
    int* mDraws;
};

TEST(NodeTasks, RefuseAnythingButASceneNode)
{
    struct Case
    {
        std::function<Task*()> make;
        std::string message;
    };
    const Case cases[] = {
        {[] { return new NodeLocationTask(V(1, 2)); }, "NodeLocationTask must be applied to a SceneNode"},
        {[] { return new NodeBezierLocationTask(V(1, 2), V(), V(), 1.0f); },
         "NodeBezierLocationTask must be applied to a SceneNode"},
        {[] { return new NodeCatmullRomPathTask({V(1, 2)}, 1.0f); },
         "NodeCatmullRomPathTask must be applied to a SceneNode"},
        {[] { return new NodeOrientationTask(Angle(1.0f)); },
         "NodeOrientationTask must be applied to a SceneNode"},
        {[] { return new NodeScaleTask(V(2, 2)); }, "NodeScaleTask must be applied to a SceneNode"},
        {[] { return new NodeVisibleTask(false); }, "NodeVisibleTask must be applied to a SceneNode"},
    };
    Object plain;
    for (const Case& c : cases)
    {
        for (Object* object : {static_cast<Object*>(nullptr), &plain})
        {
            std::unique_ptr<Task> task(c.make());
            try
            {
                task->Update(object, 0.1f);
                ADD_FAILURE() << c.message;
            }
            catch (const std::runtime_error& e)
            {
                EXPECT_EQ(c.message, e.what());
            }
            // Nothing was captured: the task still starts properly on a node afterwards.
            SceneNode node;
            EXPECT_TRUE(task->Update(&node, 1.0f).IsComplete()) << c.message;
        }
    }
}

TEST(NodeLocationTask, ConstructorsAndTheirTiming)
{
    struct Case
    {
        std::function<Task*()> make;
        float duration;
    };
    const Case cases[] = {
        {[] { return new NodeLocationTask(V(40, -20)); }, 0.0f},
        {[] { return new NodeLocationTask(40, -20); }, 0.0f},
        {[] { return new NodeLocationTask(V(40, -20), 0.5f); }, 0.5f},
        {[] { return new NodeLocationTask(40.0f, -20.0f, 0.5f); }, 0.5f},
        {[] { return new NodeLocationTask(40, -20, 0.5f); }, 0.5f},
    };
    for (const Case& c : cases)
    {
        for (bool cloned : {false, true})
        {
            std::unique_ptr<Task> original(c.make());
            std::unique_ptr<Task> task(cloned ? original->Clone() : original.release());
            SceneNode node;
            node.LocalSetLocation(0, 0);
            // Built ahead: the start is where the node stands at the first update.
            node.LocalSetLocation(20, 10);
            if (c.duration == 0.0f)
            {
                const sTaskStatus status = task->Update(&node, 0.02f);
                EXPECT_TRUE(status.IsComplete());
                EXPECT_EQ(0.0f, status.time);
                EXPECT_EQ(V(40, -20), node.LocalGetLocation());
                continue;
            }
            EXPECT_FALSE(task->Update(&node, 0.25f).IsComplete());
            ExpectNear(V(30, -5), node.LocalGetLocation());
            const sTaskStatus status = task->Update(&node, 0.375f);
            EXPECT_TRUE(status.IsComplete());
            EXPECT_FLOAT_EQ(0.25f, status.time);
            EXPECT_EQ(V(40, -20), node.LocalGetLocation());
        }
    }
}

TEST(NodeLocationTask, EndsExactlyOnTheTargetWhateverTheRounding)
{
    // 0.1 + (0.7 - 0.1) is not 0.7 in floats; a move must still end on its target.
    const float ends[] = {0.7f, 0.3f, 1e-3f, 123.456f, -987.65f};
    for (float from : ends)
    {
        for (float to : ends)
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
    // Every repetition ends on a step boundary, so each clone's first update has dt = 0.
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
        }
        Random::ClearSeedOverride();
        Random::Engine_Destroy();
        return visited;
    };
    int draws = 0;
    const std::vector<V> first = run(7, &draws);
    // One x and one y per started run: six finished runs and the clone that started after the last.
    EXPECT_EQ(14, draws);
    for (size_t i = 0; i < first.size(); ++i)
    {
        EXPECT_GE(first[i].x, 0.0f);
        EXPECT_LT(first[i].x, 100.0f);
        EXPECT_GE(first[i].y, -50.0f);
        EXPECT_LT(first[i].y, 0.0f);
        if (i > 0)
        {
            EXPECT_NE(first[i - 1], first[i]);
        }
    }
    EXPECT_EQ(first, run(7, &draws));
    EXPECT_NE(first, run(8, &draws));
}

TEST(NodeBezierLocationTask, FollowsTheCubicAndLandsOnItsEnd)
{
    SceneNode node;
    node.LocalSetLocation(0, 0);
    // P0 (0, 0), P1 (0, 100), P2 (100, 100), P3 (100, 0): the Bernstein weights by hand.
    NodeBezierLocationTask task(V(100, 0), V(0, 100), V(100, 100), 1.0f);
    struct Step
    {
        float dt;
        V expected;
    };
    const Step steps[] = {
        {0.0f, V(0, 0)}, {0.25f, V(15.625f, 56.25f)}, {0.25f, V(50, 75)}, {0.25f, V(84.375f, 56.25f)}};
    for (const Step& step : steps)
    {
        EXPECT_FALSE(task.Update(&node, step.dt).IsComplete());
        ExpectNear(step.expected, node.LocalGetLocation());
    }
    const sTaskStatus done = task.Update(&node, 0.5f);
    EXPECT_TRUE(done.IsComplete());
    EXPECT_FLOAT_EQ(0.25f, done.time);
    EXPECT_EQ(V(100, 0), node.LocalGetLocation());

    // The clone starts from wherever the node is then.
    node.LocalSetLocation(200, 0);
    std::unique_ptr<Task> clone(task.Clone());
    clone->Update(&node, 0.5f);
    ExpectNear(V(75, 75), node.LocalGetLocation());

    // Awkward coordinates, for which the power form does not sum back to the end point.
    const float values[] = {0.1f, 0.7f, -3.3f, 1234.567f, 1e-4f};
    for (float a : values)
    {
        for (float b : values)
        {
            const V end(b * 3.1f, a - b);
            for (float seconds : {0.0f, 0.3f})
            {
                node.LocalSetLocation(a, b);
                NodeBezierLocationTask curve(end, V(b, a), V(a * 7.0f, b * 0.3f), seconds);
                EXPECT_TRUE(curve.Update(&node, 0.5f).IsComplete());
                EXPECT_EQ(end, node.LocalGetLocation());
            }
        }
    }
}

TEST(NodeCatmullRomPathTask, OnePointIsAStraightEasedLine)
{
    SceneNode node;
    node.LocalSetLocation(0, 0);
    NodeCatmullRomPathTask task({V(100, 0)}, 1.0f);
    // 0.5 (-200 s^3 + 300 s^2 + 100 s) along x: slower than linear at the ends, faster in the middle.
    const float expected[] = {20.3125f, 50.0f, 79.6875f};
    for (float x : expected)
    {
        EXPECT_FALSE(task.Update(&node, 0.25f).IsComplete());
        ExpectNear(V(x, 0), node.LocalGetLocation());
    }
    EXPECT_TRUE(task.Update(&node, 0.25f).IsComplete());
    EXPECT_EQ(V(100, 0), node.LocalGetLocation());
}

TEST(NodeCatmullRomPathTask, EqualTimePerSegmentThroughEveryPoint)
{
    const std::vector<V> points = {V(10, 0), V(10, 500), V(-3.3f, 0.7f), V(0.1f, 1000)};
    for (bool explicitEnds : {false, true})
    {
        SceneNode node;
        node.LocalSetLocation(0, 0);
        std::unique_ptr<Task> task;
        auto linear = std::make_shared<LinearInterpolator>();
        if (explicitEnds)
        {
            task = std::make_unique<NodeCatmullRomPathTask>(points, V(0, -100), V(100, 200), 2.0f, linear);
        }
        else
        {
            task = std::make_unique<NodeCatmullRomPathTask>(points, 2.0f, linear);
        }
        // A quarter of the time per segment, however long the segment is.
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

    // Halfway along a segment: (-p0 + 9 p1 + 9 p2 - p3) / 16, with the explicit ends as p0 and p3.
    SceneNode node;
    node.LocalSetLocation(0, 0);
    NodeCatmullRomPathTask task({V(100, 0)}, V(0, -100), V(100, 200), 1.0f,
                                std::make_shared<LinearInterpolator>());
    task.Update(&node, 0.5f);
    ExpectNear(V(50, -6.25f), node.LocalGetLocation());
    // The clone keeps the explicit ends and starts from the node's new place.
    std::unique_ptr<Task> clone(task.Clone());
    node.LocalSetLocation(200, 0);
    clone->Update(&node, 0.5f);
    ExpectNear(V(162.5f, -6.25f), node.LocalGetLocation());
}

TEST(NodeCatmullRomPathTask, AnEmptyPathIsRefusedWhenMade)
{
    const V origin;
    auto linear = std::make_shared<LinearInterpolator>();
    EXPECT_THROW(NodeCatmullRomPathTask({}, 1.0f), RuntimeError);
    EXPECT_THROW(NodeCatmullRomPathTask({}, 1.0f, linear), RuntimeError);
    EXPECT_THROW(NodeCatmullRomPathTask({}, origin, origin, 1.0f, linear), RuntimeError);
    EXPECT_THROW(NodeCatmullRomPathTask({V(1, 1)}, 1.0f, nullptr), RuntimeError);
}

} // namespace
} // namespace Strata
