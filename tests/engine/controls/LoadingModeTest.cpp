#include "controls/LoadingMode.h"

#include "controls/ObjectFactory.h"
#include "controls/Sprites.h"
#include "core/Singleton.h"
#include "framework/Application.h"
#include "framework/LoadingTask.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"
#include "support/FakeGraphicsPlatform.h"
#include "support/FakePlatform.h"

// The in-memory file source of the resource manager's tests.
#include "engine/framework/ResourceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace Strata
{
namespace
{

using namespace std::chrono_literals;
using Testing::FakeGraphicsPlatform;
using Testing::FakePlatform;
using Testing::MemoryFileSource;

// What a latched task saw; shared with the test, because the mode owns and deletes the task.
struct LatchState
{
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool released = false;
    bool finished = false;
    bool sawAbort = false;

    void Release()
    {
        std::lock_guard<std::mutex> lock(mutex);
        released = true;
        changed.notify_all();
    }
    bool WaitStarted()
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, 10s, [this] { return started; });
    }
    bool IsFinished()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return finished;
    }
    bool SawAbort()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return sawAbort;
    }
};

// Reports `progress` at once, then blocks until released or until the mode asks it to abort, as a
// manifest load does.
class LatchTask final : public ILoadingTask
{
public:
    LatchTask(std::shared_ptr<LatchState> state, float progress) : mState(std::move(state)), mProgress(progress) {}

    void Execute(IResourceLoadProgress* progress) override
    {
        progress->OnProgress(mProgress);
        std::unique_lock<std::mutex> lock(mState->mutex);
        mState->started = true;
        mState->changed.notify_all();
        while (!mState->released)
        {
            if (progress->ShouldAbort())
            {
                mState->sawAbort = true;
                break;
            }
            mState->changed.wait_for(lock, 1ms);
        }
        mState->finished = true;
        mState->changed.notify_all();
    }

private:
    std::shared_ptr<LatchState> mState;
    float mProgress;
};

class ThrowingTask final : public ILoadingTask
{
public:
    void Execute(IResourceLoadProgress* progress) override
    {
        progress->OnProgress(0.5f);
        throw std::runtime_error("damaged manifest");
    }
};

std::shared_ptr<LatchState> Latch()
{
    return std::make_shared<LatchState>();
}

// "testimage": an opaque white image of "width" by "height" pixels.
class TestImageFactory final : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        auto* image = new ResourceWrapper<Image>(manifest, name, attributes);
        const int width = attributes.GetAttribute(L"width", 1);
        const int height = attributes.GetAttribute(L"height", 1);
        image->Init(std::vector<Color32>(static_cast<size_t>(width * height), Color32(255, 255, 255, 255)), width,
                    height, false, false);
        return image;
    }
};

const char* const kSplashImages = R"(
  <testimage name="Splash1" width="40" height="30"/>
  <testimage name="Splash2" width="41" height="30"/>
  <testimage name="Splash3" width="42" height="30"/>)";

const char* const kLoadingElements = R"(
    <imagesprite name="LoadingBackground"/>
    <imagesprite name="LoadingEmpty" src="BarEmpty"/>
    <imagesprite name="LoadingFull" src="BarFull" layer="1"/>
    <textsprite name="LoadingText"/>)";

std::string Manifest(const std::string& images, const std::string& sprites)
{
    return "<manifest>" + images +
           R"(
  <testimage name="BarEmpty" width="200" height="10"/>
  <testimage name="BarFull" width="200" height="10"/>
  <layout name="LoadingMode">)" +
           sprites + "\n  </layout>\n</manifest>\n";
}

// Ends the loop at its first update.
class NextMode final : public ApplicationMode
{
public:
    explicit NextMode(int* setups) : mSetups(setups) {}
    void Setup() override { ++*mSetups; }
    void Update(float) override { MainLoop::Exit(); }

private:
    int* mSetups;
};

// The mode under test: records what it showed at every update and hands over to a mode that ends
// the loop.
class TestLoadingMode : public LoadingMode
{
public:
    struct sSnapshot
    {
        float percentage = 0.0f;
        bool elementsVisible = false;
        std::wstring text;
        int barWidth = -1;
    };

    void OnAfterLoad() override
    {
        ++afterLoadCount;
        if (nextSetups != nullptr)
            MainLoop::ChangeMode(new NextMode(nextSetups));
    }

    void Update(float dt) override
    {
        LoadingMode::Update(dt);
        if (onUpdate)
            onUpdate(*this);
    }

    bool IsWorkerFinished() const { return GetWorkerState() == ThreadState_Finished; }

    // The image the sprite of that name shows, as its width; -1 without the sprite or an image.
    int ImageWidthOf(const char* sprite)
    {
        auto* object = dynamic_cast<ImageSpriteObject*>(GetNamedObject(Label(sprite)));
        return object != nullptr && object->GetImage() != nullptr ? object->GetImage()->GetWidth() : -1;
    }
    bool IsShown(const char* sprite)
    {
        auto* object = dynamic_cast<IVisible*>(GetNamedObject(Label(sprite)));
        return object != nullptr && object->IsVisible();
    }

    int* nextSetups = nullptr; // hand over to a NextMode that counts its set-ups here
    int afterLoadCount = 0;
    std::function<void(TestLoadingMode&)> onUpdate;
};

class LoadingTestApplication final : public BaseApplication
{
public:
    const sApplicationConfig& GetConfig() const override { return mConfig; }
    void Setup() override
    {
        CreateLayoutFactories();
        GetResourceManager()->AddResourceFactory(L"testimage", new TestImageFactory());
        if (onSetup)
            onSetup();
    }
    void Cleanup() override
    {
        if (onCleanup)
            onCleanup();
    }

    std::function<void()> onSetup;
    std::function<void()> onCleanup;

private:
    sApplicationConfig mConfig{0, 0};
};

// The engine of fakes around MainLoop::Execute. The fake clock moves 10 ms a pass, so the loop runs
// one 20 ms update every other pass; `holdAt` stops it (the loop keeps passing) until `holdUntil`
// holds, so fake time waits for the real worker thread.
class LoadingModeTest : public ::testing::Test
{
protected:
    static constexpr uint32_t kStart = 5000;

    void SetUp() override
    {
        MainLoop::ResetForTesting();
        MainLoop::SetProcessReleaseForTesting(false);
        MainLoop::SetTimeSourceForTesting([this] { return clock; }, [](unsigned long) {});
        platform = std::make_unique<FakePlatform>(&calls);
        platform->onPass = [this] { Pass(); };
        screen = std::make_unique<Image>(64, 48);
        canvas = Graphics::CreateImageCanvas(screen.get());
        graphics = new FakeGraphicsPlatform(&calls); // the loop deletes it at tear-down
        graphics->screenCanvas = canvas;
        files = std::make_unique<MemoryFileSource>();
        app = std::make_unique<LoadingTestApplication>();
    }

    void TearDown() override
    {
        MainLoop::ResetForTesting();
        MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
        MainLoop::SetProcessReleaseForTesting(true);
        Internal::DeleteAllSingletons();
        if (IGraphicsPlatform* left = GetGraphicsPlatform())
            delete left;
        files.reset();
        app.reset();
        platform.reset();
        Graphics::DestroyImageCanvas(canvas);
    }

    // Seconds of fake time since the run started.
    float Elapsed() const { return static_cast<float>(clock - kStart) / 1000.0f; }

    void Pass()
    {
        if (holdUntil && clock - kStart >= holdAt && !holdUntil())
        {
            if (std::chrono::steady_clock::now() > holdDeadline)
            {
                ADD_FAILURE() << "the worker did not get there in time";
                holdUntil = nullptr;
            }
            std::this_thread::sleep_for(100us);
            return;
        }
        clock += 10;
        if (clock - kStart > 60000)
            platform->quitPending = true; // a faulty mode still ends
    }

    void HoldAt(uint32_t ms, std::function<bool()> until)
    {
        holdAt = ms;
        holdUntil = std::move(until);
        holdDeadline = std::chrono::steady_clock::now() + 20s;
    }

    // Runs the loop with `mode` as the first mode.
    void Run(TestLoadingMode* mode)
    {
        mode->nextSetups = &nextSetups;
        app->onSetup = [mode] { MainLoop::ChangeMode(mode); };
        clock = kStart;
        MainLoop::Execute();
    }

    uint32_t clock = kStart;
    uint32_t holdAt = 0;
    std::function<bool()> holdUntil;
    std::chrono::steady_clock::time_point holdDeadline;
    Testing::CallLog calls;
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<Image> screen;
    ICanvas* canvas = nullptr;
    FakeGraphicsPlatform* graphics = nullptr;
    std::unique_ptr<MemoryFileSource> files;
    std::unique_ptr<LoadingTestApplication> app;
    int nextSetups = 0;
};

// --- progress, driven directly ---

// Waits (bounded) until the predicate holds.
template <class Predicate>
bool Eventually(Predicate predicate)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!predicate())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(100us);
    }
    return true;
}

TEST_F(LoadingModeTest, WeightedTasksReportTheirShareOfTheWork)
{
    auto first = Latch();
    auto second = Latch();
    TestLoadingMode mode;
    mode.AddLoadingTask(new LatchTask(first, 0.5f), 3);
    mode.AddLoadingTask(new LatchTask(second, 0.5f), 1);
    mode.Setup();

    ASSERT_TRUE(first->WaitStarted());
    EXPECT_FLOAT_EQ(mode.GetPercentageComplete(), 37.5f);
    // The worker reads the list: it is not taken, and stays the caller's.
    auto late = std::make_unique<ThrowingTask>();
    EXPECT_THROW(mode.AddLoadingTask(late.get(), 1), RuntimeError);
    first->Release();
    ASSERT_TRUE(second->WaitStarted());
    EXPECT_FLOAT_EQ(mode.GetPercentageComplete(), 87.5f);

    // Out-of-range reports never take the percentage outside 0 to 100.
    mode.OnProgress(7.0f);
    EXPECT_FLOAT_EQ(mode.GetPercentageComplete(), 100.0f);
    mode.OnProgress(std::nanf(""));
    EXPECT_FLOAT_EQ(mode.GetPercentageComplete(), 75.0f);

    second->Release();
    ASSERT_TRUE(Eventually([&] { return mode.IsWorkerFinished(); }));
    EXPECT_FLOAT_EQ(mode.GetPercentageComplete(), 100.0f);
    mode.Update(0.02f); // nothing waits at the splash cue: the worker is reaped
    EXPECT_FALSE(mode.IsLoading());
    EXPECT_EQ(mode.afterLoadCount, 1);
    EXPECT_TRUE(mode.AllowQuit());
    mode.Destroy();
}

TEST_F(LoadingModeTest, WorkWithoutWeightOrThatFailsStillCompletes)
{
    {
        TestLoadingMode mode;
        mode.Setup();
        ASSERT_TRUE(Eventually([&] { return mode.IsWorkerFinished(); }));
        EXPECT_FLOAT_EQ(mode.GetPercentageComplete(), 100.0f) << "no tasks";
        mode.Destroy();
    }
    {
        // Tasks that all weigh nothing share the work instead of dividing by zero.
        auto first = Latch();
        TestLoadingMode mode;
        mode.AddLoadingTask(new LatchTask(first, 0.5f), 0);
        mode.AddLoadingTask(new ThrowingTask(), 0);
        mode.Setup();
        ASSERT_TRUE(first->WaitStarted());
        EXPECT_FLOAT_EQ(mode.GetPercentageComplete(), 25.0f);
        first->Release();
        // The throwing task is logged and counts as done.
        ASSERT_TRUE(Eventually([&] { return mode.IsWorkerFinished(); }));
        EXPECT_FLOAT_EQ(mode.GetPercentageComplete(), 100.0f);
        mode.Update(0.02f);
        EXPECT_EQ(mode.afterLoadCount, 1);
        EXPECT_EQ(mode.GetLoadingTasks().size(), 2u);
        mode.Destroy();
    }
}

TEST_F(LoadingModeTest, DestroyingTheModeWhileItLoadsAbortsAndWaitsForTheWorker)
{
    auto first = Latch();
    auto second = Latch();
    auto mode = std::make_unique<TestLoadingMode>();
    mode->AddLoadingTask(new LatchTask(first, 0.0f), 1);
    mode->AddLoadingTask(new LatchTask(second, 0.0f), 1);
    mode->Setup();
    ASSERT_TRUE(first->WaitStarted());
    mode->Destroy();
    EXPECT_TRUE(first->IsFinished());
    EXPECT_TRUE(first->SawAbort());
    EXPECT_TRUE(second->SawAbort()) << "the remaining tasks end at once";
    EXPECT_FALSE(mode->IsLoading());
    EXPECT_EQ(mode->afterLoadCount, 0);
    EXPECT_EQ(GetResourceManager()->GetLoadCount(L"Loading"), 0);
    mode.reset();
}

// --- whole runs on the main loop ---

TEST_F(LoadingModeTest, SplashImagesCrossFadeOnFixedStepsBeforeTheBarAppears)
{
    files->AddFile(L"Loading.xml", Manifest(kSplashImages, std::string(R"(
    <imagesprite name="Splash1"/>
    <imagesprite name="Splash2"/>)") + kLoadingElements));
    auto* mode = new TestLoadingMode();
    mode->AddLoadingTask(new ResourceLoadTask(L"NoSuchManifest"), 1); // fails, still counts
    std::vector<std::pair<float, int>> frontImages;                   // (time, width) of each image when first shown
    float splashCompleteAt = -1.0f;
    float afterLoadAt = -1.0f;
    bool elementsShown = false;
    mode->onUpdate = [&](TestLoadingMode& m)
    {
        const float t = Elapsed();
        for (const char* sprite : {"Splash1", "Splash2"})
        {
            const int width = m.ImageWidthOf(sprite);
            if (width > 0 && std::none_of(frontImages.begin(), frontImages.end(),
                                          [width](const auto& seen) { return seen.second == width; }))
                frontImages.emplace_back(t, width);
        }
        if (m.IsShown("LoadingFull") || m.IsShown("LoadingText") || m.IsShown("LoadingEmpty") ||
            m.IsShown("LoadingBackground"))
            elementsShown = true;
        if (m.AreSplashScreensComplete() && splashCompleteAt < 0.0f)
            splashCompleteAt = t;
        if (m.afterLoadCount > 0 && afterLoadAt < 0.0f)
            afterLoadAt = t;
    };
    // The worker ends long before the splash series; fake time waits for it if need be.
    HoldAt(7000, [mode] { return mode->IsWorkerFinished(); });
    Run(mode);

    // Each image starts its fade at a fixed time: 0, 2.5 and 5 seconds.
    ASSERT_EQ(frontImages.size(), 3u);
    EXPECT_EQ(frontImages[0].second, 40);
    EXPECT_EQ(frontImages[1].second, 41);
    EXPECT_EQ(frontImages[2].second, 42);
    EXPECT_NEAR(frontImages[0].first, 0.0f, 0.05f);
    EXPECT_NEAR(frontImages[1].first, 2.5f, 0.05f);
    EXPECT_NEAR(frontImages[2].first, 5.0f, 0.05f);
    // The series ends once the last image has been held; the work being done, the mode hands over at
    // once, before the loading screen would have appeared.
    EXPECT_NEAR(splashCompleteAt, 7.5f, 0.05f);
    EXPECT_NEAR(afterLoadAt, splashCompleteAt, 0.001f);
    EXPECT_FALSE(elementsShown);
    EXPECT_EQ(nextSetups, 1);
    EXPECT_EQ(GetResourceManager()->GetLoadCount(L"Loading"), 0) << "unloaded when the mode went";
}

TEST_F(LoadingModeTest, TheBarAndTextFollowTasksThatOutlastTheSplashSeries)
{
    files->AddFile(L"Loading.xml", Manifest(kSplashImages, std::string(R"(
    <imagesprite name="Splash1"/>
    <imagesprite name="Splash2"/>)") + kLoadingElements));
    auto first = Latch();
    auto second = Latch();
    auto* mode = new TestLoadingMode();
    mode->AddLoadingTask(new LatchTask(first, 0.5f), 3);
    mode->AddLoadingTask(new LatchTask(second, 1.0f), 1);
    TestLoadingMode::sSnapshot at8;
    TestLoadingMode::sSnapshot last;
    mode->onUpdate = [&](TestLoadingMode& m)
    {
        TestLoadingMode::sSnapshot now;
        now.percentage = m.GetPercentageComplete();
        now.elementsVisible = m.IsShown("LoadingFull") && m.IsShown("LoadingText");
        if (auto* text = dynamic_cast<TextSpriteObject*>(m.GetNamedObject(Label("LoadingText"))))
            now.text = text->GetText();
        if (auto* bar = dynamic_cast<ImageSpriteObject*>(m.GetNamedObject(Label("LoadingFull"))))
        {
            // The bar's source rectangle shows in what it draws: draw it alone onto a clear image.
            Image target(200, 10);
            ICanvas* imageCanvas = Graphics::CreateImageCanvas(&target);
            Graphics::Context context{imageCanvas, Graphics::sDrawState::GetDefaults()};
            Graphics::PushContext(context);
            const Vector2<float> location = bar->GetLocation();
            const Vector2<float> scale = bar->GetScale();
            bar->SetLocation(Vector2<float>(0.0f, 0.0f));
            bar->SetScale(1.0f);
            bar->SetVisible(true);
            bar->Draw();
            bar->SetVisible(now.elementsVisible);
            bar->SetScale(scale);
            bar->SetLocation(location);
            Graphics::PopContext();
            Graphics::DestroyImageCanvas(imageCanvas);
            now.barWidth = 0;
            while (now.barWidth < 200 && target.GetPixel(now.barWidth, 5).a == 255)
                ++now.barWidth;
        }
        if (Elapsed() >= 8.0f && at8.barWidth < 0)
            at8 = now;
        last = now;
    };
    // At 7 s the first task must be running; at 9 s it is released; then the loop runs to the end.
    HoldAt(7000, [first] { return first->WaitStarted(); });
    bool released = false;
    platform->onPass = [&]
    {
        if (!released && Elapsed() >= 9.0f)
        {
            released = true;
            first->Release();
            second->Release();
            HoldAt(9100, [mode] { return mode->IsWorkerFinished(); });
        }
        Pass();
    };
    Run(mode);

    // 3 : 1 weights, the first at half way: 37.5 per cent, the text truncated.
    EXPECT_TRUE(at8.elementsVisible);
    EXPECT_FLOAT_EQ(at8.percentage, 37.5f);
    EXPECT_EQ(at8.text, L"37%");
    EXPECT_EQ(at8.barWidth, 75);
    EXPECT_EQ(nextSetups, 1);
    EXPECT_EQ(last.text, L"100%");
    EXPECT_EQ(last.barWidth, 200);
}

TEST_F(LoadingModeTest, AQuitDuringLoadingIsRefusedAbortsTheTasksAndEndsTheLoop)
{
    files->AddFile(L"Loading.xml", Manifest(kSplashImages, std::string(R"(
    <imagesprite name="Splash1"/>
    <imagesprite name="Splash2"/>)") + kLoadingElements));
    auto first = Latch();
    auto second = Latch();
    auto* mode = new TestLoadingMode();
    mode->AddLoadingTask(new LatchTask(first, 0.0f), 1);
    mode->AddLoadingTask(new LatchTask(second, 0.0f), 1);
    bool workerDoneAtCleanup = false;
    app->onCleanup = [&] { workerDoneAtCleanup = first->IsFinished() && second->IsFinished(); };
    bool asked = false;
    platform->onPass = [&]
    {
        if (!asked && Elapsed() >= 1.0f && first->WaitStarted())
        {
            asked = true;
            MainLoop::RequestQuit();
        }
        // Fake time must not outrun the worker's abort on a busy machine: it runs in real time.
        if (asked)
            std::this_thread::sleep_for(1ms);
        Pass();
    };
    Run(mode);

    EXPECT_TRUE(asked);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "EnsureWindowVisible"), 1) << "the quit was refused";
    EXPECT_TRUE(first->SawAbort());
    EXPECT_TRUE(second->SawAbort());
    EXPECT_EQ(nextSetups, 0) << "no hand-over after an abort";
    EXPECT_LT(Elapsed(), 7.5f) << "the loop ended without waiting for the splash series";
    EXPECT_TRUE(workerDoneAtCleanup) << "the worker ended before the engine's clean-up";
}

TEST_F(LoadingModeTest, ThePlatformsQuitDuringLoadingStopsTheWorkerBeforeTheEngineCleansUp)
{
    auto first = Latch();
    auto* mode = new TestLoadingMode();
    mode->AddLoadingTask(new LatchTask(first, 0.0f), 1);
    bool workerDoneAtCleanup = false;
    app->onCleanup = [&] { workerDoneAtCleanup = first->IsFinished(); };
    platform->onPass = [&]
    {
        if (Elapsed() >= 0.5f && first->WaitStarted())
            platform->quitPending = true;
        Pass();
    };
    Run(mode);

    EXPECT_TRUE(first->SawAbort());
    EXPECT_TRUE(workerDoneAtCleanup);
    EXPECT_EQ(nextSetups, 0);
}

TEST_F(LoadingModeTest, WithoutBothSplashSpritesTheLoadingScreenShowsAtOnce)
{
    files->AddFile(L"Loading.xml", Manifest(kSplashImages, std::string(R"(
    <imagesprite name="Splash1"/>)") + kLoadingElements));
    auto first = Latch();
    auto* mode = new TestLoadingMode();
    mode->AddLoadingTask(new LatchTask(first, 0.0f), 1);
    bool visibleAtStart = false;
    bool splashDone = false;
    mode->onUpdate = [&](TestLoadingMode& m)
    {
        if (Elapsed() < 0.1f)
        {
            visibleAtStart = m.IsShown("LoadingFull") && m.IsShown("LoadingText");
            splashDone = m.AreSplashScreensComplete();
        }
    };
    bool released = false;
    platform->onPass = [&]
    {
        if (!released && Elapsed() >= 1.0f && first->WaitStarted())
        {
            released = true;
            first->Release();
            HoldAt(1100, [mode] { return mode->IsWorkerFinished(); });
        }
        Pass();
    };
    Run(mode);

    EXPECT_TRUE(visibleAtStart);
    EXPECT_TRUE(splashDone);
    EXPECT_EQ(nextSetups, 1);
    EXPECT_LT(Elapsed(), 1.5f) << "handed over as soon as the work was done";
}

TEST_F(LoadingModeTest, TheScreenIsFilledWithOpaqueBlackWhateverTheCurrentColour)
{
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            screen->SetPixel(x, y, Color32(255, 255, 255, 255));
    Graphics::sDrawState tinted = Graphics::sDrawState::GetDefaults();
    tinted.color = ColorF(1.0f, 0.0f, 0.0f, 0.25f);
    Graphics::Context context{nullptr, tinted};
    Graphics::PushContext(context);
    TestLoadingMode mode;
    mode.Draw();
    Graphics::PopContext();

    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{63, 47}, std::pair{30, 20}})
    {
        const Color32 pixel = screen->GetPixel(x, y);
        EXPECT_EQ(pixel.r, 0);
        EXPECT_EQ(pixel.g, 0);
        EXPECT_EQ(pixel.b, 0);
        EXPECT_EQ(pixel.a, 255) << x << "," << y;
    }
}

} // namespace
} // namespace Strata
