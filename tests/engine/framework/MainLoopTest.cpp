#include "framework/MainLoop.h"

#include "core/Label.h"
#include "core/Random.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "framework/Application.h"
#include "framework/ApplicationMode.h"
#include "framework/AudioPlatform.h"
#include "framework/FileSource.h"
#include "framework/FrameHooks.h"
#include "framework/InputEvent.h"
#include "support/FakeGraphicsPlatform.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Testing::CallLog;
using Strata::Testing::FakeGraphicsPlatform;
using Strata::Testing::FakePlatform;

namespace
{

int gLiveModes = 0;

// What every party of a run writes to: lifecycle calls in `log`, update steps ("U<ms>"), draws
// ("D") and sleeps ("S<ms>") with the fake clock's time since the start in `timeline`.
struct World
{
    CallLog log;
    std::vector<std::string> timeline;
    std::vector<std::string> draws;
    std::vector<std::string> modeUpdates; // "<mode>:<ms>"
    uint32_t start = 1000;
    uint32_t clock = 1000;

    uint32_t Elapsed() const { return clock - start; }
    void Mark(const std::string& what) { timeline.push_back(what + "@" + std::to_string(Elapsed())); }
};

std::string Ms(float seconds)
{
    return std::to_string(std::lround(seconds * 1000.0f));
}

class RecordingMode : public ApplicationMode
{
public:
    RecordingMode(World& world, std::string name, bool opaque = true)
        : mWorld(world), mName(std::move(name)), mOpaque(opaque)
    {
        ++gLiveModes;
    }
    ~RecordingMode() override
    {
        Log("Deleted");
        --gLiveModes;
    }

    void Setup() override
    {
        Log("Setup");
        contextInSetup = MainLoop::GetContextMode();
        if (onSetup)
            onSetup();
    }
    void Destroy() override
    {
        Log("Destroy");
        contextInDestroy = MainLoop::GetContextMode();
        if (onDestroy)
            onDestroy();
    }
    void Enter() override { Log("Enter"); }
    void Exit() override { Log("Exit"); }
    bool IsOpaque() override { return mOpaque; }
    void DrawBackground() override { mWorld.draws.push_back(mName + ".DrawBackground"); }
    void Draw() override
    {
        mWorld.draws.push_back(mName + ".Draw");
        contextInDraw = MainLoop::GetContextMode();
    }
    void Update(float dt) override
    {
        updates.push_back(dt);
        mWorld.modeUpdates.push_back(mName + ":" + Ms(dt));
        if (onUpdate)
            onUpdate(dt);
    }

    MessageResult OnKeyDown(int key) override { return Input("KeyDown(" + std::to_string(key) + ")"); }
    MessageResult OnKeyUp(int key) override { return Input("KeyUp(" + std::to_string(key) + ")"); }
    MessageResult OnMouseMove(int x, int y) override { return Input("MouseMove" + Pair(x, y)); }
    MessageResult OnMouseDown(MouseButton b, int x, int y) override
    {
        return Input("MouseDown" + std::to_string(b) + Pair(x, y));
    }
    MessageResult OnMouseUp(MouseButton b, int x, int y) override
    {
        return Input("MouseUp" + std::to_string(b) + Pair(x, y));
    }
    MessageResult OnMouseWheel(float amount, int x, int y) override
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(amount));
        return Input("Wheel(" + std::string(text) + ")" + Pair(x, y));
    }
    MessageResult OnMouseLeave() override { return Input("MouseLeave"); }
    MessageResult OnTextInput(const std::wstring& text) override
    {
        return Input("Text(" + std::string(text.begin(), text.end()) + ")");
    }

    std::vector<float> updates;
    std::function<void()> onSetup;
    std::function<void()> onDestroy;
    std::function<void(float)> onUpdate;
    ApplicationMode* contextInSetup = nullptr;
    ApplicationMode* contextInDestroy = nullptr;
    ApplicationMode* contextInDraw = nullptr;

private:
    static std::string Pair(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }
    void Log(const std::string& what) { mWorld.log.push_back(mName + "." + what); }
    MessageResult Input(const std::string& what)
    {
        Log(what);
        return MessageResult_Handled;
    }

    World& mWorld;
    std::string mName;
    bool mOpaque;
};

class TestApplication : public BaseApplication
{
public:
    explicit TestApplication(World& world) : mWorld(world) {}

    const sApplicationConfig& GetConfig() const override { return config; }
    void RegisterSingletons() override
    {
        mWorld.log.push_back("App.RegisterSingletons");
        if (onRegisterSingletons)
            onRegisterSingletons();
    }
    void Setup() override
    {
        mWorld.log.push_back("App.Setup");
        if (onSetup)
            onSetup();
    }
    void Cleanup() override
    {
        mWorld.log.push_back("App.Cleanup");
        if (throwInCleanup)
            STRATA_THROW(RuntimeError, "cleanup failed");
    }
    void Draw() override { mWorld.Mark("D"); }
    void Update(float dt) override
    {
        mWorld.Mark("U" + Ms(dt));
        if (updateOrder != nullptr)
            updateOrder->push_back("app");
    }
    void OnEnterMode() override { mWorld.log.push_back("App.OnEnterMode"); }

    sApplicationConfig config;
    std::function<void()> onRegisterSingletons;
    std::function<void()> onSetup;
    bool throwInCleanup = false;
    std::vector<std::string>* updateOrder = nullptr;

private:
    World& mWorld;
};

class TestAudioPlatform : public IAudioPlatform
{
public:
    explicit TestAudioPlatform(World& world) : mWorld(world) { RegisterSingleton(this); }
    ~TestAudioPlatform() override { UnregisterSingleton(this); }
    void Setup() override { mWorld.log.push_back("Audio.Setup"); }
    void Cleanup() override { mWorld.log.push_back("Audio.Cleanup"); }
    void Update(float) override
    {
        if (updateOrder != nullptr)
            updateOrder->push_back("audio");
    }
    std::vector<std::string>* updateOrder = nullptr;

private:
    World& mWorld;
};

class TestFileSource : public IFileSource
{
public:
    explicit TestFileSource(World& world) : mWorld(world) {}
    IStream* OpenFileStream(const FileAddress&) const override { return nullptr; }
    void Cleanup() override { mWorld.log.push_back("FileSource.Cleanup"); }

private:
    World& mWorld;
};

class QuitHandler : public IQuitHandler
{
public:
    QuitHandler(World& world, std::string name, bool answer) : agree(answer), mWorld(world), mName(std::move(name)) {}
    bool CanQuit() override
    {
        mWorld.log.push_back(mName + ".CanQuit");
        if (onAsk)
            onAsk();
        return agree;
    }

    bool agree;
    std::function<void()> onAsk;

private:
    World& mWorld;
    std::string mName;
};

sInputEvent Event(uint32_t type, int x = 0, int y = 0, uint32_t code = 0)
{
    sInputEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    event.code = code;
    return event;
}

// A whole engine of fakes around MainLoop::Execute, driven by a fake clock that only the loop's
// sleeps and the scripted passes move. Each entry of `passes` runs at the start of one pass of the
// loop; when they run out the platform reports a quit, so a faulty loop still ends.
class MainLoopTest : public ::testing::Test
{
protected:
    void SetUp() override { Prepare(1000); }

    void Prepare(uint32_t start)
    {
        gLiveModes = 0;
        world.start = world.clock = start;
        MainLoop::ResetForTesting();
        MainLoop::SetProcessReleaseForTesting(false);
        MainLoop::SetTimeSourceForTesting([this] { return world.clock; },
                                          [this](unsigned long ms)
                                          {
                                              world.Mark("S" + std::to_string(ms));
                                              world.clock += static_cast<uint32_t>(ms);
                                          });
        platform = std::make_unique<FakePlatform>(&world.log);
        InstallScript();
        graphics = new FakeGraphicsPlatform(&world.log); // the loop deletes it at tear-down
        graphics->endSceneCounter = &endScenes;
        RegisterSingleton(&fileSource);
        app = std::make_unique<TestApplication>(world);
        ASSERT_EQ(GetApplication(), app.get());
    }

    void InstallScript()
    {
        platform->onPass = [this]
        {
            if (passes.empty())
            {
                platform->quitPending = true;
                return;
            }
            std::function<void()> pass = std::move(passes.front());
            passes.pop_front();
            if (pass)
                pass();
        };
    }

    void TearDown() override
    {
        MainLoop::ResetForTesting();
        MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
        MainLoop::SetProcessReleaseForTesting(true);
        // The engine's managers made during the run (the resource manager and its loader thread) go
        // with the test, as they go with the process in a real run.
        Internal::DeleteAllSingletons();
        if (IRenderPlatform* left = GetRenderPlatform())
            delete left;
        if (GetFileSource() == &fileSource)
            RegisterSingleton(static_cast<IFileSource*>(nullptr));
        app.reset();
        platform.reset();
        EXPECT_EQ(gLiveModes, 0);
    }

    // A mode the application changes to in its set-up.
    RecordingMode* StartWith(const std::string& name, bool opaque = true)
    {
        RecordingMode* mode = new RecordingMode(world, name, opaque);
        app->onSetup = [mode] { MainLoop::ChangeMode(mode); };
        return mode;
    }

    void Passes(int count) { passes.insert(passes.end(), static_cast<size_t>(count), nullptr); }

    // `head`, then the loop's own tear-down where no audio platform is registered.
    static CallLog ThenTearDown(CallLog head)
    {
        for (const char* call :
             {"App.Cleanup", "FileSource.Cleanup", "GraphicsCleanup", "GraphicsDeleted", "DestroyWindow", "Destroy"})
            head.push_back(call);
        return head;
    }

    // The entries of `log` from the first one equal to `from`.
    CallLog LogFrom(const std::string& from) const
    {
        for (size_t i = 0; i < world.log.size(); ++i)
            if (world.log[i] == from)
                return CallLog(world.log.begin() + static_cast<long>(i), world.log.end());
        return {};
    }

    World world;
    std::unique_ptr<FakePlatform> platform;
    FakeGraphicsPlatform* graphics = nullptr;
    TestFileSource fileSource{world};
    std::unique_ptr<TestApplication> app;
    std::deque<std::function<void()>> passes;
    int endScenes = 0;
};

using Timeline = std::vector<std::string>;

// The timing tests run with the clock starting far from, just before, and right at the wrap of
// the 32-bit millisecond clock: what the loop does depends only on time differences.
class MainLoopTimingTest : public MainLoopTest, public ::testing::WithParamInterface<uint32_t>
{
protected:
    void SetUp() override { Prepare(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(ClockStarts, MainLoopTimingTest,
                         ::testing::Values(1000u, 0xFFFFFFFFu - 45u, 0xFFFFFFFFu - 19u, 0xFFFFFFFFu));

TEST_P(MainLoopTimingTest, StepsAndDrawsAlternateWithASleepUntilTheNextStep)
{
    StartWith("A");
    Passes(12);
    MainLoop::Execute();

    // The first frame updates and draws at once; then each step is followed by one draw and a sleep.
    Timeline expected = {"U20@0", "D@0"};
    for (int t = 0; t < 120; t += 20)
    {
        expected.push_back("U20@" + std::to_string(t));
        expected.push_back("D@" + std::to_string(t));
        expected.push_back("S20@" + std::to_string(t));
    }
    EXPECT_EQ(world.timeline, expected);
    EXPECT_EQ(endScenes, 7);
}

TEST_P(MainLoopTimingTest, EventsAreLookedForOnceAStepAfterItsSleep)
{
    StartWith("A");
    // Always something to handle.
    platform->eventPending = true;
    platform->onHandleEvents = [this]
    {
        world.Mark("E");
        platform->eventPending = true;
    };
    Passes(6);
    MainLoop::Execute();

    // Before each step's update, not again between the update and its draw.
    Timeline expected = {"U20@0", "D@0"};
    for (int t = 0; t < 60; t += 20)
        for (const char* what : {"E", "U20", "D", "S20"})
            expected.push_back(what + ("@" + std::to_string(t)));
    EXPECT_EQ(world.timeline, expected);
    EXPECT_EQ(platform->handleEventsCount, 3);
}

TEST_P(MainLoopTimingTest, AtMostTwoStepsAreCaughtUpAndTheRestIsDropped)
{
    StartWith("A");
    Passes(2);
    passes.push_back([this] { world.clock += 70; }); // 90 ms since the last step
    Passes(1);
    MainLoop::Execute();

    // Last update becomes the current time: the sleep after the draw is a whole step.
    const Timeline tail(world.timeline.end() - 4, world.timeline.end());
    EXPECT_EQ(tail, (Timeline{"U20@90", "U20@90", "D@90", "S20@90"}));
}

TEST_P(MainLoopTimingTest, ADueDrawWinsOverADueStep)
{
    StartWith("A");
    Passes(2);
    passes.push_back([this] { world.clock += 250; });
    Passes(1);
    MainLoop::Execute();

    // The draw comes first and, a step being overdue, no sleep follows; the steps come next pass.
    const Timeline tail(world.timeline.end() - 3, world.timeline.end());
    EXPECT_EQ(tail, (Timeline{"D@270", "U20@270", "U20@270"}));
}

TEST_P(MainLoopTimingTest, ATransitionIsFollowedByOneShortUpdate)
{
    StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    RecordingMode* c = new RecordingMode(world, "C");
    RecordingMode* d = new RecordingMode(world, "D");
    Passes(1); // a step at 0
    passes.push_back(
        [this, b]
        {
            world.clock += 7;
            MainLoop::ChangeMode(b);
        });
    passes.push_back([c] { MainLoop::ChangeMode(c); }); // no time since the short update
    Passes(1);                                          // draw, then sleep a step
    passes.push_back([d] { MainLoop::ChangeMode(d); }); // a whole step is due: no short update
    MainLoop::Execute();

    EXPECT_EQ(world.modeUpdates, (Timeline{"A:20", "A:20", "B:7", "C:0", "D:20"}));
}

TEST_P(MainLoopTimingTest, AModeThatQueuesATransitionEndsTheCatchUp)
{
    RecordingMode* a = StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    a->onUpdate = [this, b](float)
    {
        if (world.Elapsed() == 90)
            MainLoop::PushMode(b);
    };
    Passes(2);
    passes.push_back([this] { world.clock += 70; }); // two steps due
    Passes(2);
    MainLoop::Execute();

    // One of the two steps ran before the push; the other is carried over to B's first pass as a
    // whole step, and then the remainder is zero.
    EXPECT_EQ(world.modeUpdates, (Timeline{"A:20", "A:20", "A:20", "B:20"}));
    const Timeline tail(world.timeline.end() - 4, world.timeline.end());
    EXPECT_EQ(tail, (Timeline{"U20@90", "U20@90", "D@90", "S20@90"}));
}

TEST_P(MainLoopTimingTest, WhileInactiveItWaitsForAnEventAndThenStartsAfresh)
{
    StartWith("A");
    Passes(2);
    passes.push_back(
        [this]
        {
            platform->active = false;
            platform->onWaitForEvent = [this]
            {
                world.clock += 5000;
                platform->active = true;
            };
        });
    Passes(2);
    MainLoop::Execute();

    EXPECT_EQ(platform->waitCount, 1);
    // After 5 s away one step runs, not a catch-up, and the next pass draws.
    const Timeline tail(world.timeline.end() - 4, world.timeline.end());
    EXPECT_EQ(tail, (Timeline{"S20@0", "U20@5020", "D@5020", "S20@5020"}));
}

TEST_P(MainLoopTimingTest, WhileInactiveARepaintDrawsWithoutUpdating)
{
    StartWith("A");
    Passes(2);
    passes.push_back(
        [this]
        {
            platform->active = false;
            platform->repaintPending = true;
        });
    passes.push_back([this] { platform->onWaitForEvent = [this] { platform->quitPending = true; }; });
    MainLoop::Execute();

    const Timeline tail(world.timeline.end() - 2, world.timeline.end());
    EXPECT_EQ(tail, (Timeline{"S20@0", "D@20"}));
    EXPECT_FALSE(platform->repaintPending);
    EXPECT_EQ(platform->waitCount, 1);
}

TEST_P(MainLoopTimingTest, AnApplicationThatRunsInTheBackgroundKeepsUpdatingWhileInactive)
{
    app->config.runInBackground = 1;
    StartWith("A");
    platform->active = false;
    Passes(4);
    MainLoop::Execute();

    EXPECT_EQ(platform->waitCount, 0);
    EXPECT_EQ(world.modeUpdates.size(), 3u);
}

// Transitions, lifecycle and ownership.

TEST_F(MainLoopTest, QueuedTransitionsAreCarriedOutInOrderAtTheNextPass)
{
    StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    RecordingMode* c = new RecordingMode(world, "C");
    RecordingMode* d = new RecordingMode(world, "D");
    passes.push_back([this] { platform->QueueEvent(Event(InputEvent_MouseMove, 30, 40)); });
    passes.push_back(
        [this, b]
        {
            MainLoop::PushMode(b);
            world.log.push_back("queued");
        });
    passes.push_back([] { MainLoop::PopMode(); });
    passes.push_back([c] { MainLoop::ChangeMode(c); });
    passes.push_back([d] { MainLoop::UnwindToMode(d); }); // not on the stack: everything goes
    MainLoop::Execute();

    const CallLog expected = {"A.Setup",
                              "A.Enter",
                              "A.MouseMove(-50,-50)",
                              "App.OnEnterMode",
                              "A.MouseMove(30,40)",
                              "queued",
                              "A.Exit",
                              "B.Setup",
                              "B.Enter",
                              "B.MouseMove(30,40)",
                              "App.OnEnterMode",
                              "B.Exit",
                              "B.Destroy",
                              "B.Deleted",
                              "A.Enter",
                              "A.MouseMove(30,40)",
                              "App.OnEnterMode",
                              "A.Exit",
                              "A.Destroy",
                              "A.Deleted",
                              "C.Setup",
                              "C.Enter",
                              "C.MouseMove(30,40)",
                              "App.OnEnterMode",
                              "C.Exit",
                              "C.Destroy",
                              "C.Deleted",
                              "D.Setup",
                              "D.Enter",
                              "D.MouseMove(30,40)",
                              "App.OnEnterMode",
                              "D.Exit",
                              "D.Destroy",
                              "D.Deleted",
                              "App.Cleanup",
                              "FileSource.Cleanup",
                              "GraphicsCleanup",
                              "GraphicsDeleted",
                              "DestroyWindow",
                              "Destroy"};
    EXPECT_EQ(LogFrom("A.Setup"), expected);
}

TEST_F(MainLoopTest, RequestsMadeWhileTransitionsRunAreCarriedOutInTheSamePass)
{
    RecordingMode* a = StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    RecordingMode* c = new RecordingMode(world, "C");
    b->onSetup = [c] { MainLoop::PushMode(c); };
    passes.push_back([b] { MainLoop::PushMode(b); });
    passes.push_back(
        [a, b, c]
        {
            EXPECT_EQ(MainLoop::GetTopMostMode(0), c);
            EXPECT_EQ(MainLoop::GetTopMostMode(1), b);
            EXPECT_EQ(MainLoop::GetTopMostMode(2), a);
            EXPECT_EQ(MainLoop::GetTopMostMode(3), nullptr);
            EXPECT_EQ(MainLoop::GetTopMostMode(-1), nullptr);
            EXPECT_EQ(MainLoop::GetContextMode(), c);
            MainLoop::UnwindToMode(a); // on the stack: pops down to it, no second set-up
        });
    MainLoop::Execute();

    EXPECT_EQ(LogFrom("A.Exit"),
              ThenTearDown({"A.Exit", "B.Setup", "C.Setup", "C.Enter", "C.MouseMove(-50,-50)", "App.OnEnterMode",
                            "C.Exit", "C.Destroy", "C.Deleted", "B.Destroy", "B.Deleted", "A.Enter",
                            "A.MouseMove(-50,-50)", "App.OnEnterMode", "A.Exit", "A.Destroy", "A.Deleted"}));
}

TEST_F(MainLoopTest, ModesRunWithThemselvesAsTheContextMode)
{
    RecordingMode* a = StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B", false);
    ApplicationMode* contextInUpdate = nullptr;
    ApplicationMode* bInDestroy = nullptr;
    ApplicationMode* aInDraw = nullptr;
    b->onUpdate = [&contextInUpdate](float) { contextInUpdate = MainLoop::GetContextMode(); };
    b->onDestroy = [&bInDestroy, b] { bInDestroy = b->contextInDestroy; };
    passes.push_back([b] { MainLoop::PushMode(b); });
    Passes(2);
    passes.push_back(
        [&aInDraw, a]
        {
            aInDraw = a->contextInDraw;
            EXPECT_EQ(MainLoop::GetContextMode(), MainLoop::GetTopMostMode(0)); // none set between calls
            MainLoop::PopMode();
        });
    MainLoop::Execute();

    EXPECT_EQ(contextInUpdate, b); // the top mode, as no context is set
    EXPECT_EQ(aInDraw, a);         // the lower mode draws as itself
    EXPECT_EQ(bInDestroy, b);      // no longer on the stack, yet the context
    EXPECT_EQ(MainLoop::GetContextMode(), nullptr);
}

TEST_F(MainLoopTest, AChangeToTheTopModeKeepsItAndAModeIsNeverPushedTwice)
{
    RecordingMode* a = StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    passes.push_back([a] { MainLoop::ChangeMode(a); });
    passes.push_back(
        [b]
        {
            MainLoop::PushMode(b);
            MainLoop::PushMode(b);
            MainLoop::ChangeMode(b);
        });
    passes.push_back(
        [this]
        {
            world.log.push_back("stack:" + std::to_string(MainLoop::GetTopMostMode(1) != nullptr) +
                                std::to_string(MainLoop::GetTopMostMode(2) != nullptr));
        });
    MainLoop::Execute();

    // A is neither destroyed nor set up again; B is pushed once over A.
    EXPECT_EQ(LogFrom("App.OnEnterMode"),
              ThenTearDown({"App.OnEnterMode", "A.Exit", "A.Enter", "A.MouseMove(-50,-50)", "App.OnEnterMode", "A.Exit",
                            "B.Setup", "B.Enter", "B.MouseMove(-50,-50)", "App.OnEnterMode", "stack:10", "B.Exit",
                            "B.Destroy", "B.Deleted", "A.Destroy", "A.Deleted"}));
}

TEST_F(MainLoopTest, APoppedModeThatIsQueuedAgainIsKeptForThatRequest)
{
    RecordingMode* a = StartWith("A");
    passes.push_back(
        [a]
        {
            MainLoop::PopMode();
            MainLoop::PushMode(a);
        });
    passes.push_back(
        []
        {
            MainLoop::PopMode();
            MainLoop::PopMode();
        }); // the second pops nothing
    MainLoop::Execute();

    EXPECT_EQ(LogFrom("A.Exit"), ThenTearDown({"A.Exit", "A.Destroy", "A.Setup", "A.Enter", "A.MouseMove(-50,-50)",
                                               "App.OnEnterMode", "A.Exit", "A.Destroy", "A.Deleted"}));
}

TEST_F(MainLoopTest, ModesStillQueuedAtTearDownAreDeletedOnce)
{
    RecordingMode* a = StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    RecordingMode* c = new RecordingMode(world, "C");
    // Queued by the last update before the loop ends, so never carried out.
    a->onUpdate = [this, a, b, c](float)
    {
        if (world.modeUpdates.size() < 3)
            return;
        MainLoop::PushMode(b);
        MainLoop::ChangeMode(b);
        MainLoop::UnwindToMode(a); // on the stack: must not be deleted twice
        MainLoop::PushMode(c);
        MainLoop::Exit();
    };
    Passes(10);
    MainLoop::Execute();

    EXPECT_EQ(gLiveModes, 0);
    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "A.Deleted"), 1);
    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "B.Deleted"), 1);
    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "B.Setup"), 0);
}

TEST_F(MainLoopTest, NullModesAreNotQueued)
{
    StartWith("A");
    passes.push_back(
        []
        {
            MainLoop::PushMode(nullptr);
            MainLoop::ChangeMode(nullptr);
            MainLoop::UnwindToMode(nullptr);
        });
    Passes(1);
    MainLoop::Execute();

    // Nothing was queued, so the pass saw no transition at all.
    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "A.Exit"), 1); // at tear-down only
}

// Drawing.

TEST_F(MainLoopTest, DrawingStartsAtTheTopMostOpaqueMode)
{
    StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    RecordingMode* c = new RecordingMode(world, "C", false);
    RecordingMode* d = new RecordingMode(world, "D", false);
    passes.push_back(
        [b, c, d]
        {
            MainLoop::PushMode(b);
            MainLoop::PushMode(c);
            MainLoop::PushMode(d);
        });
    Passes(1);
    passes.push_back([this] { world.draws.clear(); });
    Passes(2);
    MainLoop::Execute();

    EXPECT_EQ(world.draws, (Timeline{"B.Draw", "C.Draw", "D.DrawBackground", "D.Draw"}));
}

TEST_F(MainLoopTest, WithNoOpaqueModeDrawingStartsAtTheBottomAndAnOpaqueTopDrawsAlone)
{
    StartWith("A", false);
    RecordingMode* b = new RecordingMode(world, "B", false);
    RecordingMode* c = new RecordingMode(world, "C");
    passes.push_back([b] { MainLoop::PushMode(b); });
    Passes(1);
    passes.push_back([this] { world.draws.clear(); });
    Passes(1);
    passes.push_back(
        [this, c]
        {
            world.draws.push_back("|");
            MainLoop::PushMode(c);
        });
    Passes(2);
    MainLoop::Execute();

    EXPECT_EQ(world.draws, (Timeline{"A.Draw", "B.DrawBackground", "B.Draw", "|", "C.Draw"}));
}

TEST_F(MainLoopTest, AFrameTheRendererRefusesIsSkippedAndAMissingCanvasDrawsOnlyTheOverlay)
{
    StartWith("A");
    graphics->beginSceneResult = 1;
    Passes(4);
    passes.push_back(
        [this]
        {
            graphics->beginSceneResult = 0;
            graphics->hasScreenCanvas = false;
        });
    Passes(2);
    MainLoop::Execute();

    EXPECT_TRUE(world.draws.empty());
    // Refused frames end no scene; the canvas-less one still draws the application's overlay.
    EXPECT_EQ(endScenes, 1);
    EXPECT_EQ(
        std::count_if(world.timeline.begin(), world.timeline.end(), [](const std::string& s) { return s[0] == 'D'; }),
        1);
}

TEST_F(MainLoopTest, AnUpdateStepGoesToTheAudioPlatformTheApplicationAndOnlyTheTopMode)
{
    std::vector<std::string> order;
    TestAudioPlatform audio(world);
    audio.updateOrder = &order;
    app->updateOrder = &order;
    RecordingMode* a = StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    a->onUpdate = [&order](float) { order.push_back("A"); };
    b->onUpdate = [&order](float) { order.push_back("B"); };
    passes.push_back([b] { MainLoop::PushMode(b); });
    MainLoop::Execute();

    EXPECT_EQ(order, (std::vector<std::string>{"audio", "app", "A", "audio", "app", "B"}));
    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "Audio.Setup"), 1);
}

// Input.

TEST_F(MainLoopTest, InputEventsBecomeCallsOnTheTopMode)
{
    StartWith("A");
    const wchar_t* typed = L"hi";
    passes.push_back(
        [this, typed]
        {
            world.log.push_back("input");
            platform->QueueEvent(Event(InputEvent_MouseMove, 10, 20));
            platform->QueueEvent(Event(InputEvent_MouseDown, 11, 21, MouseButton_Right));
            platform->QueueEvent(Event(InputEvent_MouseDown, 12, 22, MouseButton_Middle));
            platform->QueueEvent(Event(InputEvent_MouseUp, 12, 22, MouseButton_Middle));
            platform->QueueEvent(Event(InputEvent_MouseDown, 1, 1, 7)); // a fourth or further button
            platform->QueueEvent(Event(InputEvent_KeyDown, 0, 0, 38));
            platform->QueueEvent(Event(InputEvent_KeyUp, 0, 0, 258));
            sInputEvent text = Event(InputEvent_Text);
            text.text = typed;
            platform->QueueEvent(text);
            platform->QueueEvent(Event(InputEvent_Text)); // no text
            sInputEvent wheel = Event(InputEvent_MouseWheel, 5, 6, static_cast<uint32_t>(-240));
            wheel.wheelDivisor = 120;
            platform->QueueEvent(wheel);
            wheel.wheelDivisor = 0; // counts as 1
            platform->QueueEvent(wheel);
            platform->QueueEvent(Event(InputEvent_Activate));
            platform->QueueEvent(Event(InputEvent_Deactivate));
            platform->QueueEvent(Event(10));
            platform->QueueEvent(Event(InputEvent_MouseLeave));
        });
    passes.push_back([this] { world.log.push_back("pos:" + std::to_string(MainLoop::GetLastMousePos().x)); });
    MainLoop::Execute();

    EXPECT_EQ(
        LogFrom("input"),
        ThenTearDown({"input", "A.MouseMove(10,20)", "A.MouseDown1(11,21)", "A.MouseDown2(12,22)", "A.MouseUp2(12,22)",
                      "A.MouseDown7(1,1)", "A.KeyDown(38)", "A.KeyUp(258)", "A.Text(hi)", "A.Wheel(-2.00)(5,6)",
                      "A.Wheel(-240.00)(5,6)", "A.MouseLeave", "pos:-50", "A.Exit", "A.Destroy", "A.Deleted"}));
}

TEST_F(MainLoopTest, InputIsDroppedWhileATransitionIsQueuedButThePointerIsStillFollowed)
{
    StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    passes.push_back(
        [this, b]
        {
            world.log.push_back("push");
            MainLoop::PushMode(b);
            platform->QueueEvent(Event(InputEvent_MouseDown, 1, 2, MouseButton_Left));
            platform->QueueEvent(Event(InputEvent_MouseMove, 70, 80));
            platform->QueueEvent(Event(InputEvent_KeyDown, 0, 0, 13));
        });
    MainLoop::Execute();

    // Nothing reached A; B, once entered, is told where the pointer went meanwhile.
    EXPECT_EQ(LogFrom("push"),
              ThenTearDown({"push", "A.Exit", "B.Setup", "B.Enter", "B.MouseMove(70,80)", "App.OnEnterMode", "B.Exit",
                            "B.Destroy", "B.Deleted", "A.Destroy", "A.Deleted"}));
}

// A press that opened (or closed) a screen ends on that screen: its release never reaches the mode on
// top afterwards, nor does a release whose press no mode was given; a whole click there does.
TEST_F(MainLoopTest, AReleaseGoesOnlyToTheModeThatWasGivenItsPress)
{
    StartWith("A");
    RecordingMode* b = new RecordingMode(world, "B");
    passes.push_back(
        [this]
        {
            world.log.push_back("press");
            platform->QueueEvent(Event(InputEvent_MouseMove, 1, 1));
            platform->QueueEvent(Event(InputEvent_MouseDown, 1, 1, MouseButton_Left));
        });
    passes.push_back(
        [this, b]
        {
            world.log.push_back("push");
            MainLoop::PushMode(b);
        });
    passes.push_back(
        [this]
        {
            world.log.push_back("release");
            platform->QueueEvent(Event(InputEvent_MouseUp, 2, 2, MouseButton_Left));
            platform->QueueEvent(Event(InputEvent_MouseDown, 3, 3, MouseButton_Right));
            platform->QueueEvent(Event(InputEvent_MouseUp, 3, 3, MouseButton_Right));
            platform->QueueEvent(Event(InputEvent_MouseUp, 4, 4, MouseButton_Right));
        });
    passes.push_back([] {}); // the events above are handled
    MainLoop::Execute();

    EXPECT_EQ(LogFrom("press"),
              ThenTearDown({"press", "A.MouseMove(1,1)", "A.MouseDown0(1,1)", "push", "A.Exit", "B.Setup", "B.Enter",
                            "B.MouseMove(1,1)", "App.OnEnterMode", "release", "B.MouseDown1(3,3)", "B.MouseUp1(3,3)",
                            "B.Exit", "B.Destroy", "B.Deleted", "A.Destroy", "A.Deleted"}));
}

// Quitting.

TEST_F(MainLoopTest, ARefusingQuitHandlerKeepsTheLoopRunningAndShowsTheWindow)
{
    StartWith("A");
    QuitHandler first(world, "First", false);
    QuitHandler second(world, "Second", true);
    MainLoop::AddQuitHandler(&first);
    MainLoop::AddQuitHandler(&second);
    MainLoop::AddQuitHandler(nullptr);
    passes.push_back(
        [this]
        {
            world.log.push_back("ask");
            MainLoop::RequestQuit();
        });
    passes.push_back(
        [this, &first]
        {
            world.log.push_back("ask again");
            first.agree = true;
            MainLoop::RequestQuit();
        });
    Passes(5); // never reached: the quit flag ends the loop
    MainLoop::Execute();

    EXPECT_EQ(LogFrom("ask"), ThenTearDown({"ask", "First.CanQuit", "EnsureWindowVisible", "ask again", "First.CanQuit",
                                            "Second.CanQuit", "A.Exit", "A.Destroy", "A.Deleted"}));
    EXPECT_EQ(passes.size(), 5u);
}

TEST_F(MainLoopTest, QuitHandlersMayRemoveEachOtherWhileAsked)
{
    QuitHandler first(world, "First", true);
    QuitHandler second(world, "Second", false);
    first.onAsk = [&second] { MainLoop::RemoveQuitHandler(&second); };
    MainLoop::AddQuitHandler(&first);
    MainLoop::AddQuitHandler(&second);
    MainLoop::AddQuitHandler(&second);
    passes.push_back([] { MainLoop::RequestQuit(); });
    Passes(5);
    MainLoop::Execute();

    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "Second.CanQuit"), 0);
    EXPECT_EQ(passes.size(), 5u); // with every remaining handler agreeing, the loop quit
}

TEST_F(MainLoopTest, ThePlatformsQuitEndsTheLoopWithoutAskingTheHandlers)
{
    QuitHandler refuses(world, "Refuses", false);
    MainLoop::AddQuitHandler(&refuses);
    passes.push_back([this] { platform->quitPending = true; });
    Passes(5);
    MainLoop::Execute();
    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "Refuses.CanQuit"), 0);
}

// Set-up and tear-down.

TEST_F(MainLoopTest, SetUpAndTearDownRunInOrder)
{
    TestAudioPlatform audio(world);
    StartWith("A");
    Passes(2);
    MainLoop::Execute();

    EXPECT_EQ(world.log, (CallLog{"Setup", "EnforceSingleInstance", "App.RegisterSingletons", "Audio.Setup",
                                  "App.Setup", "A.Setup", "A.Enter", "A.MouseMove(-50,-50)", "App.OnEnterMode",
                                  "A.Exit", "A.Destroy", "A.Deleted", "App.Cleanup", "FileSource.Cleanup",
                                  "GraphicsCleanup", "GraphicsDeleted", "Audio.Cleanup", "DestroyWindow", "Destroy"}));
    EXPECT_FALSE(IsRenderPlatformRegistered());
}

namespace
{

World* gHookWorld = nullptr;

// Stands in for the window layer's frame hooks for one test.
struct RecordingFrameHooks
{
    explicit RecordingFrameHooks(World& world)
    {
        gHookWorld = &world;
        sFrameHooks hooks;
        hooks.applyWindowConfig = [](const sWindowConfig& c)
        {
            gHookWorld->log.push_back("ApplyWindow(" + std::to_string(c.mode) + "," + std::to_string(c.width) + "x" +
                                      std::to_string(c.height) + ")");
        };
        hooks.drawCustomCursor = [] { gHookWorld->Mark("C"); };
        InstallFrameHooks(hooks);
        // Registrars stay for the process: this one is quiet outside this object's life.
        AddFactoryRegistrar(
            []
            {
                if (gHookWorld != nullptr)
                    gHookWorld->log.push_back("RegisterFactories");
            });
    }
    ~RecordingFrameHooks()
    {
        InstallFrameHooks(sFrameHooks{});
        gHookWorld = nullptr;
    }
};

} // namespace

TEST_F(MainLoopTest, TheWindowIsMadeInSetUpAndTheCursorDrawnOnlyWhileActive)
{
    RecordingFrameHooks hooks(world);
    TestAudioPlatform audio(world);
    StartWith("A");
    Passes(3);
    passes.push_back(
        [this]
        {
            platform->active = false;
            platform->repaintPending = true;
            world.timeline.push_back("|");
        });
    Passes(1);
    MainLoop::Execute();

    // The window is made between the audio set-up and the application's, and the libraries above
    // register their factories after it, whatever the platform.
    EXPECT_EQ(CallLog(world.log.begin(), world.log.begin() + 7),
              (CallLog{"Setup", "EnforceSingleInstance", "App.RegisterSingletons", "Audio.Setup",
                       "ApplyWindow(1,800x600)", "RegisterFactories", "App.Setup"}));

    // The cursor follows every overlay while the platform is active, and never while it is not.
    const auto split = std::find(world.timeline.begin(), world.timeline.end(), "|");
    ASSERT_NE(split, world.timeline.end());
    int activeDraws = 0;
    for (auto it = world.timeline.begin(); it != split; ++it)
    {
        if ((*it)[0] != 'D')
            continue;
        ++activeDraws;
        ASSERT_NE(it + 1, split);
        EXPECT_EQ(*(it + 1), "C" + it->substr(1));
    }
    EXPECT_GE(activeDraws, 2);
    EXPECT_NE(std::find_if(
                  split, world.timeline.end(), [](const std::string& s) { return s[0] == 'D'; }),
              world.timeline.end());
    EXPECT_EQ(std::find_if(split, world.timeline.end(), [](const std::string& s) { return s[0] == 'C'; }),
              world.timeline.end());
}

TEST_F(MainLoopTest, ASecondInstanceTearsDownWhatItSetUpAndReturns)
{
    platform->anotherInstance = true;
    app->onSetup = [] { ADD_FAILURE() << "set up"; };
    MainLoop::Execute();

    EXPECT_EQ(world.log, (CallLog{"Setup", "EnforceSingleInstance", "FileSource.Cleanup", "GraphicsCleanup",
                                  "GraphicsDeleted", "DestroyWindow", "Destroy"}));
}

TEST_F(MainLoopTest, AnApplicationThatAllowsManyInstancesIsNotChecked)
{
    app->config.singleInstance = 0;
    platform->anotherInstance = true;
    MainLoop::Execute();
    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "EnforceSingleInstance"), 0);
    EXPECT_EQ(std::count(world.log.begin(), world.log.end(), "App.Setup"), 1);
}

TEST_F(MainLoopTest, AnExceptionFromAModeTearsEverythingDownAndPropagates)
{
    TestAudioPlatform audio(world);
    RecordingMode* a = StartWith("A");
    RecordingMode* queued = new RecordingMode(world, "Q");
    a->onUpdate = [this, queued](float)
    {
        if (world.modeUpdates.size() == 3)
        {
            MainLoop::PushMode(queued);
            STRATA_THROW(RuntimeError, "mode failed");
        }
    };
    Passes(10);
    EXPECT_THROW(
        {
            try
            {
                MainLoop::Execute();
            }
            catch (const RuntimeError& error)
            {
                EXPECT_STREQ(error.what(), "mode failed");
                throw;
            }
        },
        RuntimeError);

    EXPECT_EQ(LogFrom("A.Exit"),
              (CallLog{"A.Exit", "A.Destroy", "A.Deleted", "Q.Deleted", "App.Cleanup", "FileSource.Cleanup",
                       "GraphicsCleanup", "GraphicsDeleted", "Audio.Cleanup", "DestroyWindow", "Destroy"}));
    EXPECT_EQ(gLiveModes, 0);
}

TEST_F(MainLoopTest, AFailingTearDownStepDoesNotStopTheOthersAndTheFirstFailureWins)
{
    RecordingMode* a = StartWith("A");
    a->onDestroy = [] { throw std::runtime_error("destroy failed"); };
    app->throwInCleanup = true;
    Passes(1);
    try
    {
        MainLoop::Execute();
        ADD_FAILURE() << "no exception";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "destroy failed");
    }
    EXPECT_EQ(LogFrom("A.Destroy"), ThenTearDown({"A.Destroy", "A.Deleted"}));
}

TEST_F(MainLoopTest, AFailingPlatformSetUpStillReleasesThePlatform)
{
    platform->throwInSetup = true;
    EXPECT_THROW(MainLoop::Execute(), RuntimeError);
    EXPECT_EQ(world.log, (CallLog{"Setup", "FileSource.Cleanup", "GraphicsCleanup", "GraphicsDeleted", "DestroyWindow",
                                  "Destroy"}));
}

TEST_F(MainLoopTest, ExecuteRefusesToStartWithoutAnApplicationOrPlatformOrWhileRunning)
{
    {
        TestApplication* saved = app.release();
        delete saved;
        EXPECT_THROW(MainLoop::Execute(), RuntimeError);
        app = std::make_unique<TestApplication>(world);
    }
    {
        platform.reset();
        EXPECT_THROW(MainLoop::Execute(), RuntimeError);
        platform = std::make_unique<FakePlatform>(&world.log);
        InstallScript();
    }
    EXPECT_TRUE(world.log.empty()); // nothing was set up

    RecordingMode* a = StartWith("A");
    a->onUpdate = [](float) { MainLoop::Execute(); };
    EXPECT_THROW(MainLoop::Execute(), RuntimeError);
    EXPECT_EQ(world.log.back(), "Destroy");
}

// A whole run on the real clock: an empty mode ends the loop after a few updates.
class ExitingMode : public ApplicationMode
{
public:
    explicit ExitingMode(int* updates) : mUpdates(updates) {}
    void Update(float dt) override
    {
        ApplicationMode::Update(dt);
        if (++*mUpdates == 3)
            MainLoop::Exit();
    }

private:
    int* mUpdates;
};

TEST_F(MainLoopTest, AHeadlessRunOnTheRealClockEndsWhenAModeExits)
{
    MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
    int updates = 0;
    app->onSetup = [&updates] { MainLoop::ChangeMode(new ExitingMode(&updates)); };
    platform->onPass = nullptr;
    MainLoop::Execute();
    EXPECT_EQ(updates, 3);
    EXPECT_GE(endScenes, 1);
    EXPECT_EQ(MainLoop::GetTopMostMode(0), nullptr);
}

TEST_F(MainLoopTest, NoStepIsCaughtUpAfterAModeAsksToExit)
{
    int updates = 0;
    app->onSetup = [&updates] { MainLoop::ChangeMode(new ExitingMode(&updates)); };
    Passes(2);
    // Two steps are due in the next pass; the first of them asks to exit.
    passes.push_back([this] { world.clock += 70; });
    Passes(2);
    MainLoop::Execute();
    EXPECT_EQ(updates, 3);
}

// The full tear-down ends the label table, which the rest of this program still uses: it runs in a
// child process of its own.
bool gSingletonDeleted = false;
struct Marker
{
    ~Marker() { gSingletonDeleted = true; }
};

IPlatform* MakeFakePlatform()
{
    return new FakePlatform();
}

void Require(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "failed: %s\n", what);
        std::exit(1);
    }
}

TEST(MainLoopProcessTest, TearDownReleasesTheProcessWideStateAndThePlatformItMade)
{
    EXPECT_EXIT(
        {
            World world;
            MainLoop::ResetForTesting();
            MainLoop::SetPlatformFactory(&MakeFakePlatform);
            AutoDeleteSingleton(new Marker());
            const Label early("MainLoopProcessCheck");
            (void)early;
            {
                TestApplication app(world);
                int updates = 0;
                app.onSetup = [&updates] { MainLoop::ChangeMode(new ExitingMode(&updates)); };
                MainLoop::Execute();
                Require(updates == 3, "three updates");
            }
            MainLoop::SetPlatformFactory(nullptr);
            Require(gSingletonDeleted, "singletons deleted");
            Require(!IsPlatformRegistered(), "the platform made by the loop is gone");
            Require(!IsFileSourceRegistered(), "the default file source is gone");
            Require(Random::GetCurrentStream() == nullptr, "random streams released");
            Require(std::strcmp(Label("MAINLOOPPROCESSCHECK").c_str(), "MAINLOOPPROCESSCHECK") == 0,
                    "a new label table");
            Label::Shutdown();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
