#include "game/GameAudioTasks.h"
#include "game/SimpleFunctionTask.h"

#include "framework/Object.h"
#include "framework/TimedTask.h"

#include "GameAudioTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace GameTesting;

namespace
{

struct Piece : Object
{
};

TEST(SimpleFunctionTaskTest, CallsOnceInTheStepTheTaskBeforeItEnds)
{
    Piece piece;
    Object plain;
    std::vector<Piece*> seen;
    const std::unique_ptr<Task> task(new SimpleFunctionTask<Piece>([&](Piece* p, float) { seen.push_back(p); }));
    for (Object* object : {static_cast<Object*>(&piece), &plain, static_cast<Object*>(nullptr)})
        EXPECT_TRUE(std::unique_ptr<Task>(task->Clone())->Update(object, 0.1f).IsComplete());
    EXPECT_EQ(seen, (std::vector<Piece*>{&piece, nullptr, nullptr}));
    EXPECT_TRUE(SimpleFunctionTask<Piece>(nullptr).Update(&piece, 0.1f).IsComplete());

    // A half-second wait, the call, another half-second wait: {step, update of the call, last update}.
    for (const auto& [dt, callAt, doneAt] : {std::tuple{0.25f, 2, 4}, {0.3f, 2, 4}, {0.5f, 1, 2}})
    {
        int update = 0;
        int calledAt = 0;
        SerialTask sequence(new TimedTask(0.5f),
                            new SimpleFunctionTask<Object>([&](Object*, float) { calledAt = update; }));
        sequence.AddTask(new TimedTask(0.5f));
        while (++update < 10 && !sequence.Update(nullptr, dt).IsComplete())
        {
        }
        EXPECT_EQ(calledAt, callAt) << dt;
        EXPECT_EQ(update, doneAt) << dt;
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
        if (step == 2000) // the child did something: the hint due at 3000 is cancelled
            arm(25.0f);
        timer.UpdateInternal(0.02f);
    }
    EXPECT_EQ(hintSteps, (std::vector<int>{1500, 3249}));
    EXPECT_TRUE(GetAudioManager()->getIsPlayingOrUpcoming(Sound("InGameHint_PaintIt_1")));
}

TEST_F(GameAudioTaskTest, VoiceTasksCutSpeechAndCompleteInTheUpdateAfterTheirClipEnds)
{
    struct Case
    {
        std::unique_ptr<Task> task;
        const char* clip; // null: a missing clip, whose wait ends at the second update
    };
    Case cases[] = {
        {std::make_unique<AudioPlayGameDescTask>(Label("PaintIt"), Audio::sPlayState()), "desc"},
        {std::make_unique<AudioPlayChannelTask>(Label("wRed"), Audio::sPlayState()), "wRed"},
        {std::make_unique<AudioPlayGameDescTask>(Label("HideAndSeek"), Audio::sPlayState()), nullptr},
        {std::make_unique<AudioPlayChannelTask>(Label("nothing"), Audio::sPlayState()), nullptr},
    };
    for (Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        GetAudioManager()->playNumberVocal(3);
        Step();
        int endedAt = 0;
        int update = 1;
        for (; update < 300 && !c.task->Update(nullptr, 0.01f).IsComplete(); ++update)
        {
            const bool before = c.clip != nullptr && Playing(c.clip);
            Step();
            if (before && !Playing(c.clip))
                endedAt = update;
            EXPECT_TRUE(update > 1 || !Playing("w3")) << "the word being said is cut";
        }
        EXPECT_EQ(update, c.clip != nullptr ? endedAt + 1 : 2);
        EXPECT_TRUE(c.clip == nullptr || endedAt > 1);
    }
}

} // namespace
