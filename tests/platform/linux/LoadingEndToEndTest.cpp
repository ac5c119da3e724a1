// The whole engine on the real Linux platform: MainLoop::Execute with the SDL window, the software
// renderer, the data folder of e2e_data/ and the loading mode, checked through what reaches the window.

#include "platform/linux/ApplicationPlatform.h"

#include "ChildXServer.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "controls/LoadingMode.h"
#include "core/Color.h"
#include "core/Singleton.h"
#include "core/Time.h"
#include "framework/Application.h"
#include "framework/ApplicationMode.h"
#include "framework/FrameHooks.h"
#include "framework/LoadingTask.h"
#include "framework/MainLoop.h"
#include "framework/ResourceLoading.h"
#include "framework/ValueResources.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Window.h"
#include "platform/linux/FrameViewport.h"
#include "support/WaitUntil.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace Strata;
using namespace std::chrono_literals;

namespace
{

const std::string kDataFolder = STRATA_E2E_DATA_DIR;

constexpr Color32 kSplash1Left(220, 40, 40, 255);
constexpr Color32 kSplash1Right(240, 200, 40, 255);
constexpr Color32 kSplash2Left(40, 80, 220, 255);
constexpr Color32 kSplash2Right(40, 200, 120, 255);
constexpr Color32 kBackground(30, 30, 90, 255);
constexpr Color32 kBarEmpty(90, 90, 90, 255);
constexpr Color32 kBarFull(250, 150, 20, 255);
constexpr Color32 kNextModeColor(10, 160, 60, 255);

::testing::AssertionResult Near(Color32 actual, Color32 expected, int tolerance = 3)
{
    const auto off = [tolerance](int a, int b) { return a - b > tolerance || b - a > tolerance; };
    if (off(actual.r, expected.r) || off(actual.g, expected.g) || off(actual.b, expected.b))
        return ::testing::AssertionFailure()
               << "(" << int(actual.r) << ", " << int(actual.g) << ", " << int(actual.b) << ") is not ("
               << int(expected.r) << ", " << int(expected.g) << ", " << int(expected.b) << ")";
    return ::testing::AssertionSuccess();
}

// One pixel of the main window as it was last shown.
Color32 ShownPixel(int x, int y)
{
    SDL_Window* window = Linux::GetMainWindow();
    SDL_Surface* screen = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (screen == nullptr || x < 0 || y < 0 || x >= screen->w || y >= screen->h)
    {
        ADD_FAILURE() << "no shown pixel at (" << x << ", " << y << ")";
        return Color32();
    }
    const int bytes = screen->format->BytesPerPixel;
    Uint32 value = 0;
    SDL_LockSurface(screen);
    std::memcpy(&value, static_cast<const Uint8*>(screen->pixels) + y * screen->pitch + x * bytes, bytes);
    SDL_UnlockSurface(screen);
    Uint8 r, g, b;
    SDL_GetRGB(value, screen->format, &r, &g, &b);
    return Color32(r, g, b, 255);
}

// How many shown pixels of the rectangle are near `color`.
int CountShown(int left, int top, int right, int bottom, Color32 color)
{
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Near(ShownPixel(x, y), color, 40))
                ++count;
    return count;
}

// The worker's stand-in for a long manifest: reports half its work, then holds until the test lets it
// go or the mode aborts it. The state outlives the task, which the mode deletes.
struct Latch
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
    bool IsStarted()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return started;
    }
};

class LatchTask final : public ILoadingTask
{
public:
    explicit LatchTask(std::shared_ptr<Latch> latch) : mLatch(std::move(latch)) {}

    void Execute(IResourceLoadProgress* progress) override
    {
        progress->OnProgress(0.5f);
        std::unique_lock<std::mutex> lock(mLatch->mutex);
        mLatch->started = true;
        while (!mLatch->released)
        {
            if (progress->ShouldAbort())
            {
                mLatch->sawAbort = true;
                break;
            }
            mLatch->changed.wait_for(lock, 1ms);
        }
        mLatch->finished = true;
    }

private:
    std::shared_ptr<Latch> mLatch;
};

// Fills the frame with one colour and ends the loop once it has been shown a few times.
class NextMode final : public ApplicationMode
{
public:
    void Update(float) override
    {
        if (drawn >= 3)
            MainLoop::Exit();
    }
    void Draw() override
    {
        Graphics::sDrawState state = Graphics::GetDrawState();
        state.color = ColorF(kNextModeColor);
        Graphics::DrawFilledRect(Graphics::GetScreenCanvas()->GetBounds(), state, Graphics::GetCanvas());
        ++drawn;
    }
    int drawn = 0;
};

// What OnAfterLoad found, kept past the mode's deletion.
struct sHandOver
{
    int count = 0;
    float percentage = -1.0f;
    int lastValues[3] = {-1, -1, -1};
};

class TestLoadingMode final : public LoadingMode
{
public:
    explicit TestLoadingMode(sHandOver* handOver) : mHandOver(handOver) {}

    bool IsWorkerFinished() const { return GetWorkerState() == ThreadState_Finished; }

    void OnAfterLoad() override
    {
        ++mHandOver->count;
        mHandOver->percentage = GetPercentageComplete();
        const char* const names[] = {"A59", "B59", "C59"};
        for (int i = 0; i < 3; ++i)
            if (Constant<int> value(names[i]); value)
                mHandOver->lastValues[i] = value;
        MainLoop::ChangeMode(new NextMode());
    }

private:
    sHandOver* mHandOver;
};

class EndToEndApplication final : public BaseApplication
{
public:
    EndToEndApplication()
    {
        mDescriptor.companyName = L"StrataTest";
        mDescriptor.productName = L"Loading End To End";
        // Keeps running whatever the focus: no window manager gives it under Xvfb.
        mConfig.singleInstance = 0;
        mConfig.runInBackground = 1;
    }
    const sApplicationDescriptor& GetDescriptor() const override { return mDescriptor; }
    const sApplicationConfig& GetConfig() const override { return mConfig; }
    sWindowConfig GetDefaultWindowConfig() const override { return sWindowConfig{0, 1, 800, 600}; }
    unsigned long GetDefaultGraphicsPlatformCaps() const override { return GraphicsPlatformCaps_Software; }
    void Setup() override
    {
        auto* mode = new TestLoadingMode(handOver);
        mode->AddLoadingTask(new ResourceLoadTask(L"Values1"), 2);
        mode->AddLoadingTask(new LatchTask(latch), 2);
        mode->AddLoadingTask(new ResourceLoadTask(L"Values2"), 2);
        mode->AddLoadingTask(new ResourceLoadTask(L"Values3"), 2);
        loadingMode = mode;
        MainLoop::ChangeMode(mode);
    }

    std::shared_ptr<Latch> latch = std::make_shared<Latch>();
    sHandOver* handOver = nullptr;
    TestLoadingMode* loadingMode = nullptr; // owned by the loop; only while it is the top mode

private:
    sApplicationDescriptor mDescriptor;
    sApplicationConfig mConfig;
};

// Runs the engine with a fake clock that moves only while the loop sleeps after a shown frame, so the
// splash series always takes the same number of frames however slowly the machine really draws. `onFrame`
// sees every shown frame with the fake time in milliseconds since the start. The worker runs in real time:
// where a test waits for it, `clockMayMove` says so, and the clock stands still until it holds, so a worker
// slowed by a busy machine meets the same frame as on an idle one.
class LoadingEndToEndTest : public ::testing::Test
{
protected:
    static constexpr uint32_t kStart = 100000;

    void SetUp() override
    {
        std::string reason;
        if (!mServer.Start("1024x768x24", &reason))
        {
            const char* display = std::getenv("DISPLAY");
            if (display == nullptr || display[0] == '\0')
                GTEST_SKIP() << "no display (" << reason << ")";
        }
        ASSERT_TRUE(std::filesystem::exists(kDataFolder + "/Loading.xml")) << kDataFolder;
        Set("STRATA_DATA_DIR", kDataFolder.c_str());
        Set("XDG_DATA_HOME", mUserFolder.Path().c_str());
        Set("SDL_VIDEODRIVER", "x11");
        if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
            Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");

        static char program[] = "strata_platform_linux_tests";
        static char software[] = "-software";
        char* arguments[] = {program, software, nullptr};
        SetCommandLine(2, arguments);

        MainLoop::ResetForTesting();
        MainLoop::SetProcessReleaseForTesting(false);
        MainLoop::SetPlatformFactory(&Linux::CreatePlatform);
        MainLoop::SetTimeSourceForTesting([this] { return mClock; },
                                          [this](unsigned long ms)
                                          {
                                              OnShownFrame();
                                              HoldClockForWorker();
                                              // As on a machine that draws slowly: two update
                                              // steps a shown frame, half the drawing.
                                              mClock += 2 * static_cast<uint32_t>(ms);
                                          });
        mApplication = std::make_unique<EndToEndApplication>();
        mApplication->handOver = &mHandOver;
        // Only against a hang, well inside the test's own time-out.
        mDeadline = std::chrono::steady_clock::now() + 200s;
    }

    void TearDown() override
    {
        MainLoop::ResetForTesting();
        MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
        MainLoop::SetPlatformFactory(nullptr);
        MainLoop::SetProcessReleaseForTesting(true);
        Window::Internal::ResetForTesting();
        InstallFrameHooks(sFrameHooks());
        Internal::DeleteAllSingletons();
        mApplication.reset();
        static char program[] = "strata_platform_linux_tests";
        char* arguments[] = {program, nullptr};
        SetCommandLine(1, arguments);
        mServer.Stop();
        while (!mEnvironment.empty())
            mEnvironment.pop_back();
    }

    void Set(const char* name, const char* value)
    {
        mEnvironment.push_back(std::make_unique<ScopedEnvironment>(name, value));
    }

    void OnShownFrame()
    {
        const uint32_t elapsed = mClock - kStart;
        if (std::chrono::steady_clock::now() > mDeadline || elapsed > 120000)
        {
            if (!mGaveUp)
                ADD_FAILURE() << "the run did not end in time (" << elapsed << " ms of fake time)";
            mGaveUp = true;
            mApplication->latch->Release();
            MainLoop::Exit();
            return;
        }
        if (onFrame)
            onFrame(elapsed);
    }

    void HoldClockForWorker()
    {
        if (mGaveUp || !clockMayMove || clockMayMove())
            return;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(mDeadline - std::chrono::steady_clock::now());
        if (!Testing::WaitUntil(clockMayMove, std::max(left, 0ms)))
        {
            ADD_FAILURE() << "the worker never got where the test waits for it";
            mGaveUp = true;
            mApplication->latch->Release();
            MainLoop::Exit();
        }
    }

    uint32_t Elapsed() const { return mClock - kStart; }
    bool LoadingModeOnTop() const
    {
        return mApplication->loadingMode != nullptr && MainLoop::GetTopMostMode(0) == mApplication->loadingMode;
    }

    void Run()
    {
        mClock = kStart;
        MainLoop::Execute();
    }

    ChildXServer mServer;
    TempFolder mUserFolder;
    std::vector<std::unique_ptr<ScopedEnvironment>> mEnvironment;
    std::unique_ptr<EndToEndApplication> mApplication;
    sHandOver mHandOver;
    std::function<void(uint32_t)> onFrame;
    std::function<bool()> clockMayMove;
    uint32_t mClock = kStart;
    std::chrono::steady_clock::time_point mDeadline;
    bool mGaveUp = false;
};

TEST_F(LoadingEndToEndTest, SplashesAndProgressShowThenTheNextModeTakesOver)
{
    bool sawSplash1 = false, sawSplash2 = false, sawBar = false, sawNextMode = false;
    bool latchSeen = false;
    onFrame = [&](uint32_t elapsed)
    {
        ApplicationMode* top = MainLoop::GetTopMostMode(0);
        if (!sawSplash1 && elapsed >= 1800 && elapsed < 2400)
        {
            // The first image held at full strength, the loading screen still hidden.
            sawSplash1 = true;
            EXPECT_TRUE(Near(ShownPixel(100, 300), kSplash1Left));
            EXPECT_TRUE(Near(ShownPixel(700, 300), kSplash1Right));
            EXPECT_TRUE(Near(ShownPixel(250, 510), kSplash1Left)) << "the bar shows before the splashes end";
        }
        else if (!sawSplash2 && elapsed >= 4200 && elapsed < 4900)
        {
            sawSplash2 = true;
            EXPECT_TRUE(Near(ShownPixel(100, 300), kSplash2Left));
            EXPECT_TRUE(Near(ShownPixel(700, 300), kSplash2Right));
        }
        else if (!sawBar && elapsed >= 5700 && top == mApplication->loadingMode)
        {
            // Seen held at the frame before, so an update has shown its progress since.
            if (!latchSeen)
            {
                latchSeen = mApplication->latch->IsStarted();
                return;
            }
            sawBar = true;
            // Values1 and half the held task: 3 of 8 weighted parts, 150 of the bar's 400 pixels.
            EXPECT_FLOAT_EQ(mApplication->loadingMode->GetPercentageComplete(), 37.5f);
            EXPECT_TRUE(Near(ShownPixel(100, 300), kBackground)) << "the splashes have faded out";
            EXPECT_TRUE(Near(ShownPixel(205, 510), kBarFull));
            EXPECT_TRUE(Near(ShownPixel(348, 510), kBarFull));
            EXPECT_TRUE(Near(ShownPixel(352, 510), kBarEmpty));
            EXPECT_TRUE(Near(ShownPixel(595, 510), kBarEmpty));
            EXPECT_GT(CountShown(370, 535, 470, 565, Color32(255, 255, 255, 255)), 10) << "no percentage text";
            mApplication->latch->Release();
        }
        else if (!sawNextMode && top != nullptr && top != mApplication->loadingMode)
        {
            if (auto* next = dynamic_cast<NextMode*>(top); next != nullptr && next->drawn > 0)
            {
                sawNextMode = true;
                EXPECT_TRUE(Near(ShownPixel(10, 10), kNextModeColor));
                EXPECT_TRUE(Near(ShownPixel(790, 590), kNextModeColor));
            }
        }
    };

    clockMayMove = [&]
    {
        if (!LoadingModeOnTop())
            return true;
        // The bar is looked at once the held task has begun, and the next mode once all the work is done.
        if (!sawBar)
            return Elapsed() < 5700 || mApplication->latch->IsStarted();
        return mApplication->loadingMode->IsWorkerFinished();
    };

    ASSERT_NO_THROW(Run());

    EXPECT_TRUE(sawSplash1);
    EXPECT_TRUE(sawSplash2);
    EXPECT_TRUE(sawBar);
    EXPECT_TRUE(sawNextMode);
    EXPECT_EQ(mHandOver.count, 1);
    EXPECT_FLOAT_EQ(mHandOver.percentage, 100.0f);
    // Every manifest the worker loaded is there when the next mode takes over.
    EXPECT_EQ(mHandOver.lastValues[0], 59);
    EXPECT_EQ(mHandOver.lastValues[1], 118);
    EXPECT_EQ(mHandOver.lastValues[2], 177);
    EXPECT_TRUE(mApplication->latch->finished);
    EXPECT_FALSE(mApplication->latch->sawAbort);
}

TEST_F(LoadingEndToEndTest, ClosingTheWindowWhileLoadingAbortsTheWorkAndEndsTheLoop)
{
    bool closed = false;
    onFrame = [&](uint32_t elapsed)
    {
        if (!closed && elapsed >= 500 && mApplication->latch->IsStarted())
        {
            closed = true;
            SDL_Event event{};
            event.type = SDL_WINDOWEVENT;
            event.window.windowID = SDL_GetWindowID(Linux::GetMainWindow());
            event.window.event = SDL_WINDOWEVENT_CLOSE;
            EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        }
    };

    clockMayMove = [&]
    {
        if (!LoadingModeOnTop())
            return true;
        if (!closed)
            return Elapsed() < 500 || mApplication->latch->IsStarted();
        // Once the refused quit has aborted the work, the loop ends with the worker.
        return !mApplication->loadingMode->ShouldAbort() || mApplication->loadingMode->IsWorkerFinished();
    };

    ASSERT_NO_THROW(Run());

    EXPECT_TRUE(closed);
    EXPECT_FALSE(mGaveUp);
    // The refused quit aborted the held task; the mode then ended the loop without handing over.
    EXPECT_TRUE(mApplication->latch->sawAbort);
    EXPECT_TRUE(mApplication->latch->finished);
    EXPECT_EQ(mHandOver.count, 0);
}

} // namespace
