#include "framework/TimedTask.h"

#include "FrameworkTestObjects.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace Strata
{
namespace
{

using Testing::WidgetObject;

// Yields 1, 2, 3, ... and counts its draws in a counter its clones share.
class CountingGenerator : public NumberGenerator<float>
{
public:
    explicit CountingGenerator(int* draws) : mDraws(draws) {}
    float Generate() override { return static_cast<float>(++*mDraws); }
    std::shared_ptr<NumberGenerator<float>> Clone() const override
    {
        return std::make_shared<CountingGenerator>(mDraws);
    }

private:
    int* mDraws;
};

TEST(TimedTask, HandsBackTheTimeItDidNotNeed)
{
    TimedTask task(0.5f);
    EXPECT_FALSE(task.Update(nullptr, 0.375f).IsComplete());
    const sTaskStatus done = task.Update(nullptr, 0.375f);
    EXPECT_TRUE(done.IsComplete());
    EXPECT_FLOAT_EQ(0.125f, done.time);

    TimedTask instant(0.0f);
    const sTaskStatus now = instant.Update(nullptr, 0.02f);
    EXPECT_TRUE(now.IsComplete());
    EXPECT_EQ(0.0f, now.time);

    std::unique_ptr<Task> clone(task.Clone());
    EXPECT_FALSE(clone->Update(nullptr, 0.375f).IsComplete()); // starts afresh
}

TEST(TimedTask, NeverHandsOnMoreThanTheStep)
{
    // Many small steps accumulate rounding; the time used stays within [0, dt].
    for (float duration : {0.1f, 0.3f, 0.7f, 1.0f / 3.0f})
    {
        TimedTask task(duration);
        sTaskStatus status = Task::Incomplete;
        while (!status.IsComplete())
            status = task.Update(nullptr, 0.01f);
        EXPECT_GE(status.time, 0.0f);
        EXPECT_LE(status.time, 0.01f);
    }
}

TEST(AlphaTask, FadesFromTheAlphaAtItsFirstUpdate)
{
    WidgetObject object(nullptr, "w");
    object.alpha = 0.2f;
    AlphaTask fade(1.0f, 1.0f);
    object.alpha = 0.4f; // changed after construction: the first update reads it
    fade.Update(&object, 0.5f);
    EXPECT_FLOAT_EQ(0.7f, object.alpha);
    EXPECT_TRUE(fade.Update(&object, 0.75f).IsComplete());
    EXPECT_EQ(1.0f, object.alpha); // exactly the target

    object.alpha = 0.0f;
    std::unique_ptr<Task> clone(fade.Clone());
    clone->Update(&object, 0.5f);
    EXPECT_FLOAT_EQ(0.5f, object.alpha); // from the object's alpha, not the original's start

    AlphaTask smooth(0.0f, 2.0f, std::make_shared<SmoothInterpolator>(0.0f));
    object.alpha = 1.0f;
    smooth.Update(&object, 1.0f);
    EXPECT_FLOAT_EQ(0.5f, object.alpha);

    Testing::LoggingObject plain(nullptr, "p");
    try
    {
        fade.Update(&plain, 0.1f);
        FAIL();
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ("AlphaTask applied to an object that does not implement IAlpha", error.what());
    }
    EXPECT_THROW(AlphaTask(1.0f, 1.0f, nullptr), std::runtime_error);
}

TEST(VisibleTask, SetsAndLetsTheNextTaskStartInTheSameUpdate)
{
    WidgetObject object(nullptr, "w");
    auto* timed = new TimedTask(1.0f);
    SerialTask serial(new VisibleTask(false), timed);
    serial.Update(&object, 0.25f);
    EXPECT_FALSE(object.visible);
    EXPECT_FLOAT_EQ(0.25f, timed->GetElapsed());

    Testing::LoggingObject plain(nullptr, "p");
    try
    {
        VisibleTask(true).Update(&plain, 0.0f);
        FAIL();
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ("VisibleTask applied to an object that does not implement IVisible", error.what());
    }
}

TEST(BetterTimedTask, EachCopyDrawsItsOwnDurationOnce)
{
    int draws = 0;
    auto generator = std::make_shared<CountingGenerator>(&draws);
    BetterTimedTask task(generator);
    EXPECT_EQ(0, draws); // not at construction

    // A first update of 0 s (a chain that ended exactly on the step) must not draw twice.
    EXPECT_FALSE(task.Update(nullptr, 0.0f).IsComplete());
    EXPECT_FALSE(task.Update(nullptr, 0.5f).IsComplete());
    EXPECT_EQ(1, draws);
    const sTaskStatus done = task.Update(nullptr, 0.75f);
    EXPECT_TRUE(done.IsComplete());
    EXPECT_FLOAT_EQ(0.5f, done.time);

    std::unique_ptr<Task> clone(task.Clone());
    clone->Update(nullptr, 1.0f);
    EXPECT_EQ(2, draws);
    EXPECT_FLOAT_EQ(2.0f, static_cast<BetterTimedTask*>(clone.get())->GetDuration());

    BetterInterpolatingTask tween(4.0f, std::make_shared<LinearInterpolator>());
    tween.Update(nullptr, 1.0f);
    EXPECT_FLOAT_EQ(25.0f, tween.interpolate(0.0f, 100.0f));
    EXPECT_THROW(BetterTimedTask(std::shared_ptr<NumberGenerator<float>>()), std::runtime_error);
}

TEST(BetterTimedTask, RepeatingCopiesVary)
{
    int draws = 0;
    RepeatingTask repeating(new BetterTimedTask(std::make_shared<CountingGenerator>(&draws)));
    repeating.Update(nullptr, 1.5f); // first copy lasts 1 s, the second 2 s
    EXPECT_EQ(2, draws);
    repeating.Update(nullptr, 1.5f); // the second ends at 3.0; the third (3 s) starts
    EXPECT_EQ(3, draws);
}

} // namespace
} // namespace Strata
