#include "framework/ApplicationMode.h"
#include "core/Singleton.h"

#include "framework/Application.h"
#include "framework/FileSource.h"
#include "framework/MainLoop.h"
#include "framework/ObjectInterfaces.h"
#include "support/FakeGraphicsPlatform.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

using namespace Strata;
using Strata::Testing::FakeGraphicsPlatform;
using Strata::Testing::FakePlatform;

namespace
{

// What the objects of the tests saw: the database each call ran in.
struct Seen
{
    std::vector<ObjectDatabase*> draws;
    std::vector<ObjectDatabase*> keys;
    std::vector<ObjectDatabase*> deletions;
};

class Probe : public Object, public IDrawable, public IInputHandler
{
public:
    explicit Probe(Seen& seen) : mSeen(seen) {}
    ~Probe() override { mSeen.deletions.push_back(GetObjectDatabase()); }

    float GetLayer() override { return 0.0f; }
    void SetLayer(float) override {}
    void Draw() override { mSeen.draws.push_back(GetObjectDatabase()); }

    MessageResult OnKeyDown(int) override
    {
        mSeen.keys.push_back(GetObjectDatabase());
        return MessageResult_Handled;
    }
    MessageResult OnKeyUp(int) override { return MessageResult_Unhandled; }
    MessageResult OnTextInput(const std::wstring&) override { return MessageResult_Unhandled; }
    MessageResult OnMouseMove(int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseDown(MouseButton, int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseUp(MouseButton, int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseWheel(float, int, int) override { return MessageResult_Unhandled; }
    bool CanFocus() override { return true; }

private:
    Seen& mSeen;
};

// A mode that makes one probe object when set up and can be told what to do when destroyed.
class ProbeMode : public ApplicationMode
{
public:
    ProbeMode(Seen& seen, bool opaque) : mSeen(seen), mOpaque(opaque) {}

    void Setup() override { probe = AddObject(new Probe(mSeen)); }
    void Destroy() override
    {
        if (onDestroy)
            onDestroy();
    }
    bool IsOpaque() override { return mOpaque; }

    ObjectID probe;
    std::function<void()> onDestroy;

private:
    Seen& mSeen;
    bool mOpaque;
};

class NoFiles : public IFileSource
{
public:
    IStream* OpenFileStream(const FileAddress&) const override { return nullptr; }
};

class ModeApplication : public BaseApplication
{
public:
    void Setup() override
    {
        if (onSetup)
            onSetup();
    }
    std::function<void()> onSetup;
};

// The main loop around fakes, with a fake clock and one scripted action per pass.
class ApplicationModeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MainLoop::ResetForTesting();
        MainLoop::SetProcessReleaseForTesting(false);
        MainLoop::SetTimeSourceForTesting([this] { return mClock; }, [this](unsigned long ms) { mClock += ms; });
        RegisterSingleton(&mFiles);
        new FakeGraphicsPlatform(); // deleted by the loop
        mPlatform.onPass = [this]
        {
            if (passes.empty())
            {
                mPlatform.quitPending = true;
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
        Internal::DeleteAllSingletons(); // the resource manager and its loader thread made by the run
        if (IRenderPlatform* left = GetRenderPlatform())
            delete left;
        RegisterSingleton(static_cast<IFileSource*>(nullptr));
    }

    void KeyDown() { mPlatform.QueueEvent(sInputEvent{InputEvent_KeyDown, 0, 0, 13, nullptr, 1}); }

    Seen seen;
    ModeApplication app;
    std::deque<std::function<void()>> passes;

private:
    uint32_t mClock = 500;
    NoFiles mFiles;
    FakePlatform mPlatform;
};

// Objects of a lower mode drawn under a translucent top mode, and the top mode's objects receiving
// a key, each reach their own mode's database; a lower mode's objects get no input.
TEST_F(ApplicationModeTest, ObjectsReachTheirOwnModeWhileTheLoopCallsThem)
{
    ProbeMode* lower = new ProbeMode(seen, true);
    ProbeMode* upper = new ProbeMode(seen, false);
    app.onSetup = [lower] { MainLoop::ChangeMode(lower); };
    passes.push_back([upper] { MainLoop::PushMode(upper); });
    passes.push_back(
        [this]
        {
            seen.draws.clear();
            KeyDown();
        });
    passes.push_back(nullptr);
    MainLoop::Execute();

    EXPECT_EQ(seen.draws, (std::vector<ObjectDatabase*>{lower, upper}));
    EXPECT_EQ(seen.keys, (std::vector<ObjectDatabase*>{upper}));
    // The objects deleted with their mode find no database: not the half-destroyed mode, and not
    // the mode below it.
    EXPECT_EQ(seen.deletions, (std::vector<ObjectDatabase*>{nullptr, nullptr}));
}

// Both modes hold one object under the same identifier. Destroying the popped mode's object from
// its Destroy must not touch the object of the mode below, which is the top by then.
TEST_F(ApplicationModeTest, APoppedModeDestroysItsOwnObjectsNotThoseOfTheModeBelow)
{
    ProbeMode* lower = new ProbeMode(seen, true);
    ProbeMode* upper = new ProbeMode(seen, true);
    app.onSetup = [lower] { MainLoop::ChangeMode(lower); };
    bool lowerProbeAlive = false;
    upper->onDestroy = [upper] { upper->GetObject(upper->probe)->DestroySelf(); };
    passes.push_back([upper] { MainLoop::PushMode(upper); });
    passes.push_back(
        [lower, upper]
        {
            ASSERT_EQ(lower->probe, upper->probe);
            MainLoop::PopMode();
        });
    passes.push_back(
        [&lowerProbeAlive, lower]
        {
            lower->Update(0.0f); // would purge a wrongly destroyed object
            lowerProbeAlive = lower->GetObject(lower->probe) != nullptr;
        });
    MainLoop::Execute();

    EXPECT_TRUE(lowerProbeAlive);
}

} // namespace
