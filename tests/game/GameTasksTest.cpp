#include "game/GameAudioTasks.h"
#include "game/SimpleFunctionTask.h"

#include "framework/Object.h"
#include "framework/TimedTask.h"

#include "GameAudioTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <vector>

using namespace GameTesting;

namespace
{

struct Piece : Object
{
};

TEST(SimpleFunctionTaskTest, CallsOnceWithTheObjectAsItsClassOrNull)
{
    Piece piece;
    Object plain;
    std::vector<Piece*> seen;
    SimpleFunctionTask<Piece> task([&](Piece* p, float) { seen.push_back(p); });
    EXPECT_TRUE(task.Update(&piece, 0.1f).IsComplete());
    EXPECT_TRUE(task.Update(&plain, 0.1f).IsComplete());
    EXPECT_TRUE(task.Update(nullptr, 0.1f).IsComplete());
    const std::unique_ptr<Task> clone(task.Clone());
    clone->Update(&piece, 0.1f);
    EXPECT_EQ(seen, (std::vector<Piece*>{&piece, nullptr, nullptr, &piece}));

    SimpleFunctionTask<Piece> empty(nullptr);
    EXPECT_TRUE(empty.Update(&piece, 0.1f).IsComplete());
}

TEST(SimpleFunctionTaskTest, CallsInTheStepTheTaskBeforeItEndsAndTheNextStartsAfter)
{
    struct Case
    {
        float dt;
        int callUpdate;
        int doneUpdate;
    };
    // A half-second wait, the call, another half-second wait.
    for (const Case& c : {Case{0.25f, 2, 4}, Case{0.3f, 2, 4}, Case{0.5f, 1, 2}})
    {
        SCOPED_TRACE(c.dt);
        int update = 0;
        int calledAt = 0;
        SerialTask sequence;
        sequence.AddTask(new TimedTask(0.5f));
        sequence.AddTask(new SimpleFunctionTask<Object>([&](Object*, float) { calledAt = update; }));
        sequence.AddTask(new TimedTask(0.5f));
        int doneAt = 0;
        for (update = 1; update <= 10 && doneAt == 0; ++update)
        {
            if (sequence.Update(nullptr, c.dt).IsComplete())
                doneAt = update;
        }
        EXPECT_EQ(calledAt, c.callUpdate);
        EXPECT_EQ(doneAt, c.doneUpdate);
    }
}

using GameAudioTaskTest = GameAudioTest;

// The mini-game base's hint timer: a wait and a call that re-arms it, run by the object's task queue.
TEST_F(GameAudioTaskTest, HintTimerSteppedIn20msUpdates)
{
    Object timer;
    std::vector<int> hintSteps;
    int step = 0;
    std::function<void(float)> arm = [&](float seconds)
    {
        timer.RemoveAllTasks();
        timer.AddTask(new TimedTask(seconds));
        timer.AddTask(new SimpleFunctionTask<Object>(
            [&, seconds](Object*, float)
            {
                hintSteps.push_back(step);
                GetAudioManager()->playAudioGameHint(Label("PaintIt"), 1);
                arm(seconds);
            }));
    };
    arm(30.0f);
    for (step = 1; step <= 3300; ++step)
    {
        if (step == 2000) // the child did something: the full delay starts again
            arm(25.0f);
        timer.UpdateInternal(0.02f);
    }
    // 1500 updates make 30 seconds; the re-arm before update 2000 cancels the hint due at 3000.
    EXPECT_EQ(hintSteps, (std::vector<int>{1500, 3249}));
    EXPECT_TRUE(Upcoming("InGameHint_PaintIt_1"));
}

// Runs `task` with a game step after each update; the update that completed it (0: none in `limit`).
int RunTask(Task& task, const std::function<void()>& step, int limit = 300)
{
    for (int update = 1; update <= limit; ++update)
    {
        if (task.Update(nullptr, 0.01f).IsComplete())
            return update;
        step();
    }
    return 0;
}

TEST_F(GameAudioTaskTest, VoiceTasksCompleteInTheUpdateAfterTheirClipEnds)
{
    struct Case
    {
        const char* what;
        std::unique_ptr<Task> task;
        const char* clip; // null: a missing clip
    };
    Case cases[] = {
        {"description", std::make_unique<AudioPlayGameDescTask>(Label("PaintIt"), Audio::sPlayState()), "desc"},
        {"clip", std::make_unique<AudioPlayChannelTask>(Label("w3"), Audio::sPlayState()), "w3"},
        {"missing description", std::make_unique<AudioPlayGameDescTask>(Label("HideAndSeek"), Audio::sPlayState()),
         nullptr},
        {"missing clip", std::make_unique<AudioPlayChannelTask>(Label("nothing"), Audio::sPlayState()), nullptr},
    };
    for (Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        GetAudioManager()->playNumberVocal(3);
        Step();
        for (Task* task : {c.task.get(), c.task->Clone()})
        {
            const std::unique_ptr<Task> owned(task != c.task.get() ? task : nullptr);
            int endedAt = 0;
            int update = 0;
            const int doneAt = RunTask(*task,
                                       [&]
                                       {
                                           ++update;
                                           const bool before = c.clip != nullptr && Playing(c.clip);
                                           Step();
                                           if (before && !Playing(c.clip))
                                               endedAt = update;
                                           const bool other = c.clip == nullptr || std::string_view(c.clip) != "w3";
                                           if (update == 1 && other)
                                           {
                                               EXPECT_FALSE(Playing("w3")) << "the word being said is cut";
                                           }
                                       });
            EXPECT_EQ(doneAt, c.clip != nullptr ? endedAt + 1 : 2);
            if (c.clip != nullptr)
            {
                EXPECT_GT(endedAt, 1);
            }
        }
    }
}

TEST_F(GameAudioTaskTest, AClipDroppedFromTheQueueEndsItsWait)
{
    AudioPlayChannelTask first(Label("desc"), Audio::sPlayState());
    AudioPlayChannelTask second(Label("w3"), Audio::sPlayState());
    EXPECT_FALSE(first.Update(nullptr, 0.01f).IsComplete());
    EXPECT_FALSE(first.Update(nullptr, 0.01f).IsComplete()); // queued, not yet spoken
    EXPECT_FALSE(second.Update(nullptr, 0.01f).IsComplete());
    EXPECT_TRUE(first.Update(nullptr, 0.01f).IsComplete());
    Step();
    EXPECT_TRUE(Playing("w3"));
    EXPECT_FALSE(Playing("desc"));
}

} // namespace
