#include "game/GameAudioTasks.h"
#include "game/MiniGameSequence.h"
#include "game/YardcrewGameMode.h"

#include "framework/MainLoop.h"
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

TEST(QueueCallTest, CallsOnceInTheStepTheTaskBeforeItEnds)
{
    int calls = 0;
    const std::unique_ptr<Task> task = CallTask([&] { ++calls; });
    for (int copy = 0; copy < 2; ++copy)
        EXPECT_TRUE(std::unique_ptr<Task>(task->Clone())->Update(nullptr, 0.1f).IsComplete());
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(CallTask(nullptr)->Update(nullptr, 0.1f).IsComplete());

    // A half-second wait, the call, another half-second wait: {step, update of the call, last update}.
    for (const auto& [dt, callAt, doneAt] : {std::tuple{0.25f, 2, 4}, {0.3f, 2, 4}, {0.5f, 1, 2}})
    {
        int update = 0;
        int calledAt = 0;
        Object chain;
        chain.AddTask(std::make_unique<TimedTask>(0.5f));
        QueueCall(chain, [&] { calledAt = update; });
        chain.AddTask(std::make_unique<TimedTask>(0.5f));
        for (update = 1; update < 10; ++update)
        {
            chain.UpdateInternal(dt);
            if (chain.GetTaskQueue().IsEmpty())
                break;
        }
        EXPECT_EQ(calledAt, callAt) << dt;
        EXPECT_EQ(update, doneAt) << dt;
    }
}

using GameAudioTaskTest = GameAudioTest;

// The mini-game base's own hint timer, stepped as the main loop steps a mode.
TEST_F(GameAudioTaskTest, HintTimerSteppedIn20msUpdates)
{
    struct Game : YardcrewGameMode
    {
        void refreshMode() override {}
        void setupCursor() override {}
    } game;
    MainLoop::AutoContext context;
    MainLoop::WithinContext(&game, context);
    game.Setup();
    game.setupInstructionMode(Label("PaintIt"), IntroForemanState_Default, false);
    game.Enter();
    // Hint 1 speaks the first column; 0, as any number but 1, the second, after the first delay.
    std::vector<std::pair<int, std::string>> heard;
    bool was[2] = {};
    for (int step = 1; step <= 3600; ++step)
    {
        if (step == 2000) // the child did something: the hint due at 3000 is cancelled, the next is 1500 on
            game.resetHintTimer(0);
        game.Update(0.02f);
        Step();
        for (int column = 0; column < 2; ++column)
        {
            const std::string hint = "InGameHint_PaintIt_" + std::to_string(column + 1);
            const bool now = GetAudioManager()->getIsPlayingOrUpcoming(Sound(hint.c_str()));
            if (now && !was[column])
                heard.emplace_back(step, hint);
            was[column] = now;
        }
    }
    EXPECT_EQ(heard, (std::vector<std::pair<int, std::string>>{{1500, "InGameHint_PaintIt_1"},
                                                               {3499, "InGameHint_PaintIt_2"}}));
    EXPECT_EQ(game.getHintNumber(), 0);
    game.Destroy();
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
