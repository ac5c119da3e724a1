#include "graphics/Window.h"

#include "core/FileSystem.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "core/Time.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/Application.h"
#include "framework/ApplicationMode.h"
#include "framework/FileSource.h"
#include "framework/FrameHooks.h"
#include "framework/InputEvent.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"
#include "support/FakeGraphicsPlatform.h"
#include "support/FakePlatform.h"
#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;
using Strata::Testing::CallLog;
using Strata::Testing::FakeGraphicsPlatform;
using Strata::Testing::FakePlatform;

namespace
{

const Color32 kWhite(255, 255, 255, 255);
const Color32 kRed(255, 0, 0, 255);
const Color32 kClear(0, 0, 0, 0);

std::string Describe(const sWindowConfig& c)
{
    return std::to_string(c.mode) + "/" + std::to_string(c.resizePolicy) + "/" + std::to_string(c.width) + "x" +
           std::to_string(c.height);
}

class TestApplication : public BaseApplication
{
public:
    unsigned long GetDefaultGraphicsPlatformCaps() const override { return caps; }
    sWindowConfig GetDefaultWindowConfig() const override { return windowConfig; }
    const sApplicationConfig& GetConfig() const override { return config; }
    void Draw() override
    {
        if (onDraw)
            onDraw();
    }
    void Update(float dt) override
    {
        if (onUpdate)
            onUpdate(dt);
    }

    unsigned long caps = GraphicsPlatformCaps_Hardware;
    sWindowConfig windowConfig{1, 1, 800, 600};
    sApplicationConfig config;
    std::function<void()> onDraw;
    std::function<void(float)> onUpdate;
};

// What the renderer factory makes and refuses, shared with the plain function the window functions take.
struct RendererScript
{
    CallLog* log = nullptr;
    // Every Setup as "<caps>/<mode>".
    std::vector<std::string> attempts;
    // Setup fails for these "<caps>/<mode>" pairs, by calling `fail`.
    std::vector<std::string> failing;
    std::function<void()> fail = [] { STRATA_THROW(RuntimeError, "renderer refused"); };
    bool makeNothing = false;
    ICanvas* screen = nullptr;
    // The frames the renderers showed.
    int scenes = 0;
};

RendererScript* gScript = nullptr;

IGraphicsPlatform* MakeRenderer(unsigned long caps)
{
    gScript->log->push_back("Make" + std::to_string(caps));
    if (gScript->makeNothing)
        return nullptr;
    auto* renderer = new FakeGraphicsPlatform(gScript->log, caps);
    renderer->screenCanvas = gScript->screen;
    renderer->endSceneCounter = &gScript->scenes;
    renderer->onSetup = [caps](const sWindowConfig& config)
    {
        const std::string attempt = std::to_string(caps) + "/" + std::to_string(config.mode);
        gScript->attempts.push_back(attempt);
        for (const std::string& failing : gScript->failing)
            if (failing == attempt)
                gScript->fail();
    };
    return renderer;
}

void SetArguments(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "game");
    SetCommandLine(static_cast<int>(arguments.size()), const_cast<char**>(arguments.data()));
}

class RecordingHandler : public Window::IWindowModeChangeHandler
{
public:
    explicit RecordingHandler(CallLog& log) : mLog(log) {}
    void OnWindowModeChange() override { mLog.push_back("ModeChange" + std::to_string(Window::GetConfig().mode)); }

private:
    CallLog& mLog;
};

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Window::Internal::ResetForTesting();
        InstallFrameHooks(sFrameHooks{});
        gScript = &script;
        script.log = &log;
        Window::SetGraphicsPlatformFactory(&MakeRenderer);
        SetArguments({});
    }

    void TearDown() override
    {
        if (IGraphicsPlatform* left = GetGraphicsPlatform())
            delete left;
        Window::Internal::ResetForTesting();
        InstallFrameHooks(sFrameHooks{});
        SetArguments({});
        gScript = nullptr;
        for (ICanvas* canvas : canvases)
            Graphics::DestroyImageCanvas(canvas);
    }

    FakeGraphicsPlatform* Renderer() const { return static_cast<FakeGraphicsPlatform*>(GetGraphicsPlatform()); }

    // A canvas over a new image filled with `color`.
    ICanvas* CanvasOver(std::unique_ptr<Image>& image, int width, int height, Color32 color)
    {
        image = std::make_unique<Image>(std::vector<Color32>(static_cast<size_t>(width) * height, color), width, height,
                                        true, false);
        canvases.push_back(Graphics::CreateImageCanvas(image.get()));
        return canvases.back();
    }

    CallLog log;
    RendererScript script;
    FakePlatform platform{&log};
    TestApplication app;
    std::vector<ICanvas*> canvases;
};

// --- Applying a configuration ---

TEST_F(WindowTest, AnApplicationMakesARendererAndAWindowOfTheAdjustedConfiguration)
{
    EXPECT_EQ(Window::GetConfig().mode, -1);
    platform.onGetSupportedWindowConfig = [](sWindowConfig* c) { c->width = 1024; };
    RecordingHandler handler(log);
    Window::AddWindowModeChangeHandler(&handler);

    Window::SetConfig(sWindowConfig{1, 1, 800, 600});

    EXPECT_EQ(log, (CallLog{"DestroyWindow", "Make2", "CreateWindow", "GraphicsSetup", "ModeChange1"}));
    ASSERT_NE(Renderer(), nullptr);
    EXPECT_EQ(Renderer()->GetCaps(), 2u);
    EXPECT_EQ(Describe(Window::GetConfig()), "1/1/1024x600");
    ASSERT_EQ(platform.createdWindows.size(), 1u);
    EXPECT_EQ(Describe(platform.createdWindows[0]), "1/1/1024x600");
    EXPECT_EQ(Describe(Renderer()->setups.at(0)), "1/1/1024x600");
}

TEST_F(WindowTest, TheSameModeAndSizeAgainDoNothingWhateverTheResizePolicy)
{
    Window::SetConfig(sWindowConfig{1, 1, 800, 600});
    log.clear();
    Window::SetConfig(sWindowConfig{1, 0, 800, 600});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Window::GetConfig().resizePolicy, 1);

    // Another size replaces renderer and window; the old renderer is cleaned up and deleted first.
    Window::SetConfig(sWindowConfig{1, 0, 640, 480});
    EXPECT_EQ(log, (CallLog{"GraphicsCleanup", "GraphicsDeleted", "DestroyWindow", "Make2", "CreateWindow",
                            "GraphicsSetup"}));
    EXPECT_EQ(Describe(Window::GetConfig()), "1/0/640x480");
}

TEST_F(WindowTest, ToggleAndSetModeKeepTheSize)
{
    Window::SetConfig(sWindowConfig{1, 1, 640, 480});
    Window::ToggleMode();
    EXPECT_EQ(Describe(Window::GetConfig()), "0/1/640x480");
    Window::ToggleMode();
    EXPECT_EQ(Describe(Window::GetConfig()), "1/1/640x480");
    Window::SetMode(Window::WindowMode_Windowed);
    EXPECT_EQ(Describe(Window::GetConfig()), "0/1/640x480");
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"2/1", "2/0", "2/1", "2/0"}));
}

TEST_F(WindowTest, FailuresFallBackInTableOrderAndTheLastOneIsRethrown)
{
    script.failing = {"2/1", "1/1", "2/0", "1/0"};
    testing::internal::CaptureStderr();
    EXPECT_THROW(Window::SetConfig(sWindowConfig{1, 1, 800, 600}), RuntimeError);
    const std::string output = testing::internal::GetCapturedStderr();

    EXPECT_EQ(script.attempts, (std::vector<std::string>{"2/1", "1/1", "2/0", "1/0"}));
    const std::string heading = "Error initializing IGraphicsPlatform: Strata::RuntimeError\n Function: ";
    size_t count = 0;
    for (size_t at = output.find(heading); at != std::string::npos; at = output.find(heading, at + 1))
        ++count;
    EXPECT_EQ(count, 4u);
    EXPECT_NE(output.find(" Line: "), std::string::npos);
    EXPECT_NE(output.find(" File: "), std::string::npos);
    EXPECT_NE(output.find(" Message: renderer refused\n"), std::string::npos);
}

TEST_F(WindowTest, TheFirstWorkingEntryIsKept)
{
    // Full-screen hardware fails: full-screen software is used.
    script.failing = {"2/1"};
    testing::internal::CaptureStderr();
    Window::SetConfig(sWindowConfig{1, 1, 800, 600});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"2/1", "1/1"}));
    EXPECT_EQ(Renderer()->GetCaps(), 1u);
    EXPECT_EQ(Window::GetConfig().mode, 1);

    // A windowed request never tries full screen: hardware, then software.
    script.attempts.clear();
    script.failing = {"2/0"};
    testing::internal::CaptureStderr();
    Window::SetConfig(sWindowConfig{0, 1, 800, 600});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"2/0", "1/0"}));
    EXPECT_EQ(Window::GetConfig().mode, 0);

    // Full screen that fails in both renderers ends windowed.
    script.attempts.clear();
    script.failing = {"2/1", "1/1"};
    testing::internal::CaptureStderr();
    Window::SetConfig(sWindowConfig{1, 1, 800, 600});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"2/1", "1/1", "2/0"}));
    EXPECT_EQ(Window::GetConfig().mode, 0);
    EXPECT_EQ(Renderer()->GetCaps(), 2u);
}

TEST_F(WindowTest, StandardErrorsAreLoggedWithoutALocationAndOthersPropagateAtOnce)
{
    script.failing = {"2/1"};
    script.fail = [] { throw std::runtime_error("no context"); };
    testing::internal::CaptureStderr();
    Window::SetConfig(sWindowConfig{1, 1, 800, 600});
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error initializing IGraphicsPlatform: std::runtime_error\n Message: no context\n");

    // Neither logged nor followed by another entry.
    script.attempts.clear();
    script.failing = {"2/0"};
    script.fail = [] { throw 7; };
    testing::internal::CaptureStderr();
    EXPECT_THROW(Window::SetConfig(sWindowConfig{0, 1, 800, 600}), int);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"2/0"}));
}

TEST_F(WindowTest, WindowAndFactoryFailuresFallBackLikeRendererFailures)
{
    platform.onCreateWindow = [](const sWindowConfig& c)
    {
        if (c.mode == 1)
            STRATA_THROW(RuntimeError, "Could not create a window.");
    };
    testing::internal::CaptureStderr();
    Window::SetConfig(sWindowConfig{1, 1, 800, 600});
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find(" Message: Could not create a window.\n"), std::string::npos);
    EXPECT_EQ(Window::GetConfig().mode, 0);
    // Each failed renderer was deleted by the next attempt: only the last one is left.
    EXPECT_EQ(std::count(log.begin(), log.end(), "GraphicsDeleted"), 2);

    script.makeNothing = true;
    testing::internal::CaptureStderr();
    EXPECT_THROW(Window::SetConfig(sWindowConfig{0, 1, 640, 480}), RuntimeError);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(GetGraphicsPlatform(), nullptr);
}

TEST_F(WindowTest, TheSoftwareArgumentSkipsHardwareEntries)
{
    SetArguments({"-software"});
    Window::SetConfig(sWindowConfig{1, 1, 800, 600});
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"1/1"}));

    script.attempts.clear();
    Window::SetConfig(sWindowConfig{0, 1, 800, 600});
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"1/0"}));

    // Full-screen software failing goes straight to windowed software.
    script.attempts.clear();
    script.failing = {"1/1"};
    testing::internal::CaptureStderr();
    Window::SetConfig(sWindowConfig{1, 1, 800, 600});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"1/1", "1/0"}));
}

TEST_F(WindowTest, AModeThatNoEntryHasAppliesNothing)
{
    Window::SetConfig(sWindowConfig{7, 1, 800, 600});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Window::GetConfig().mode, -1);
}

TEST_F(WindowTest, MissingPlatformOrFactoryThrowsAndChangesNothing)
{
    Window::SetGraphicsPlatformFactory(nullptr);
    EXPECT_THROW(Window::SetConfig(sWindowConfig{1, 1, 800, 600}), RuntimeError);
    EXPECT_TRUE(log.empty());

    Window::SetGraphicsPlatformFactory(&MakeRenderer);
    UnregisterSingleton(&platform);
    EXPECT_THROW(Window::SetConfig(sWindowConfig{1, 1, 800, 600}), RuntimeError);
    RegisterSingleton(&platform);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Window::GetConfig().mode, -1);
}

TEST_F(WindowTest, ARendererWhoseCleanupFailsIsStillDeleted)
{
    class FailingCleanup : public FakeGraphicsPlatform
    {
    public:
        using FakeGraphicsPlatform::FakeGraphicsPlatform;
        void Cleanup() override { throw std::runtime_error("cleanup failed"); }
    };
    new FailingCleanup(&log); // registers itself
    testing::internal::CaptureStderr();
    Window::SetConfig(sWindowConfig{1, 1, 800, 600});
    testing::internal::GetCapturedStderr();
    // The failed clean-up counts as the first entry's failure; the second entry starts clean.
    EXPECT_EQ(log.front(), "GraphicsDeleted");
    EXPECT_EQ(script.attempts, (std::vector<std::string>{"1/1"}));
    EXPECT_EQ(Renderer()->GetCaps(), 1u);
}

// --- Account settings ---

class WindowAccountTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        fileSystem = new FileSystem();
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, new Testing::MemoryFileSystemPartition(L"user"));
        account = GetAccountManager()->GetCurrentAccount();
        ASSERT_NE(account, nullptr);
    }

    void TearDown() override
    {
        Internal::DeleteAllSingletons();
        WindowTest::TearDown();
    }

    FileSystem* fileSystem = nullptr;
    Account* account = nullptr;
};

TEST_F(WindowAccountTest, SettingsSavedAreLoadedBack)
{
    Window::SetConfig(sWindowConfig{0, 1, 640, 480});
    // A picture to draw: without one the system's cursor would stay.
    Image picture(std::vector<Color32>(4), 2, 2, true, false);
    Window::SetCustomCursor(&picture, Vector2<int>());
    Window::EnableCustomCursor(true);
    Window::SaveAccountSettings();
    EXPECT_EQ(account->ReadValue(L"Strata::Window::Mode"), L"0");
    EXPECT_EQ(account->ReadValue(L"Strata::Window::IsCustomCursorEnabled"), L"true");

    Window::ToggleMode();
    Window::EnableCustomCursor(false);
    platform.hardwareCursorEnables.clear();
    Window::LoadAccountSettings();
    EXPECT_EQ(Describe(Window::GetConfig()), "0/1/640x480");
    EXPECT_EQ(platform.hardwareCursorEnables, (std::vector<bool>{false}));
}

TEST_F(WindowAccountTest, TheCustomCursorIsOnUnlessAPlayerOfThisVersionTurnedItOff)
{
    Image picture(std::vector<Color32>(4), 2, 2, true, false);
    Window::SetCustomCursor(&picture, Vector2<int>());
    // What a profile holds; "" for no value. Earlier builds wrote the flag off for every player, with no
    // version beside it: that is no one's choice.
    struct sStored
    {
        const wchar_t* flag;
        const wchar_t* version;
        bool enabled;
    };
    const sStored table[] = {
        {L"", L"", true},        {L"false", L"", true},   {L"true", L"", true},
        {L"false", L"1", true},  {L"false", L"2", false}, {L"true", L"2", true},
        {L"false", L"3", false}, {L"junk", L"2", true},   {L"false", L"junk", true},
    };
    for (const sStored& stored : table)
    {
        Window::EnableCustomCursor(true);
        for (const auto& [key, value] : {std::pair(L"Strata::Window::IsCustomCursorEnabled", stored.flag),
                                         std::pair(L"Strata::Window::CustomCursorVersion", stored.version)})
            if (*value != L'\0')
                account->WriteValue(key, std::wstring(value));
            else
                account->DeleteValue(key);
        Window::LoadAccountSettings();
        EXPECT_EQ(Window::IsCustomCursorEnabled(), stored.enabled) << stored.flag << "/" << stored.version;
        EXPECT_EQ(platform.hardwareCursorEnables.back(), !stored.enabled) << stored.flag << "/" << stored.version;
    }
    // A player's choice is saved with the version, so it is read back as chosen.
    Window::EnableCustomCursor(false);
    Window::SaveAccountSettings();
    EXPECT_EQ(account->ReadValue(L"Strata::Window::CustomCursorVersion"), L"2");
    Window::EnableCustomCursor(true);
    Window::LoadAccountSettings();
    EXPECT_FALSE(Window::IsCustomCursorEnabled());
}

TEST_F(WindowAccountTest, AStoredModeOtherThanWindowedOrFullScreenReadsAsFullScreen)
{
    Window::SetConfig(sWindowConfig{0, 1, 800, 600});
    for (const wchar_t* stored : {L"7", L"-1", L"2"})
    {
        Window::SetMode(Window::WindowMode_Windowed);
        account->WriteValue(L"Strata::Window::Mode", std::wstring(stored));
        Window::LoadAccountSettings();
        EXPECT_EQ(Window::GetConfig().mode, 1) << "stored " << stored;
    }
}

// --- Cursor, dimming and the main loop ---

class TestFileSource : public IFileSource
{
public:
    IStream* OpenFileStream(const FileAddress&) const override { return nullptr; }
    void Cleanup() override {}
};

// Covers the screen with the colour, through the screen canvas as every drawing does.
void FillScreen(Color32 color)
{
    Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
    state.color = ColorF(color.r / 255.0f, color.g / 255.0f, color.b / 255.0f, color.a / 255.0f);
    state.flags &= ~Graphics::DrawFlag_Blend;
    Graphics::DrawFilledRect(Graphics::GetScreenCanvas()->GetBounds(), state, Graphics::GetScreenCanvas());
}

class FillingMode : public ApplicationMode
{
public:
    explicit FillingMode(bool opaque) : mOpaque(opaque) {}
    bool IsOpaque() override { return mOpaque; }
    void Draw() override
    {
        if (mOpaque)
            FillScreen(kWhite);
    }

private:
    bool mOpaque;
};

sInputEvent Event(uint32_t type, int x = 0, int y = 0)
{
    sInputEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    return event;
}

// Runs the engine on the fakes with the window functions installed; the screen canvas draws into
// `screen`. Each entry of `passes` runs at the start of one pass; then the platform quits.
class WindowLoopTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Window::InstallFrameHooks();
        script.screen = CanvasOver(screen, 200, 100, kClear);
        cursor = std::make_unique<Image>(std::vector<Color32>(4, kRed), 2, 2, false, false);
        Window::SetCustomCursor(cursor.get(), Vector2<int>(8, 4));
        Window::EnableCustomCursor(true);
        app.config.singleInstance = 0;
        // Every frame starts from a clear screen, so only the last frame's cursor shows.
        app.onDraw = [this]
        {
            if (clearEachFrame)
                FillScreen(kClear);
        };
        RegisterSingleton(&fileSource);
        MainLoop::ResetForTesting();
        MainLoop::SetProcessReleaseForTesting(false);
        MainLoop::SetTimeSourceForTesting([this] { return clock; }, [this](unsigned long ms) { clock += ms; });
        platform.onPass = [this]
        {
            if (passes.empty())
            {
                platform.quitPending = true;
                return;
            }
            auto pass = std::move(passes.front());
            passes.pop_front();
            pass();
            clock += passTime;
        };
    }

    void TearDown() override
    {
        MainLoop::ResetForTesting();
        MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
        MainLoop::SetProcessReleaseForTesting(true);
        Internal::DeleteAllSingletons();
        if (GetFileSource() == &fileSource)
            RegisterSingleton(static_cast<IFileSource*>(nullptr));
        WindowTest::TearDown();
    }

    std::unique_ptr<Image> screen;
    std::unique_ptr<Image> cursor;
    bool clearEachFrame = true;
    TestFileSource fileSource;
    uint32_t clock = 5000;
    uint32_t passTime = 250; // a draw is due every pass
    std::deque<std::function<void()>> passes;
};

TEST_F(WindowLoopTest, SetUpAppliesTheDefaultConfigurationAndTearDownDeletesTheRenderer)
{
    app.windowConfig = sWindowConfig{0, 1, 640, 480};
    MainLoop::Execute();
    EXPECT_EQ(Describe(Window::GetConfig()), "0/1/640x480");
    EXPECT_EQ(log, (CallLog{"Setup", "DestroyWindow", "Make2", "CreateWindow", "GraphicsSetup", "GraphicsCleanup",
                            "GraphicsDeleted", "DestroyWindow", "Destroy"}));
    EXPECT_EQ(GetGraphicsPlatform(), nullptr);
}

TEST_F(WindowLoopTest, TheCursorIsDrawnAtTheMouseLessTheHotSpotOnlyInTheWindowAndWithARenderer)
{
    platform.customCursorImage = cursor.get();
    platform.customCursorHotSpot = Vector2<int>(8, 4);
    Window::SetCustomCursor(nullptr, Vector2<int>());
    Window::SetCursor(Cursor_Hand);
    EXPECT_EQ(platform.hardwareCursorShapes, (std::vector<eCursor>{Cursor_Hand}));

    std::vector<Color32> shown;
    std::vector<Color32> hidden;
    std::vector<Color32> offCanvas;
    const auto sample = [this](std::vector<Color32>& out) {
        out = {screen->GetPixel(91, 45), screen->GetPixel(92, 46), screen->GetPixel(93, 47), screen->GetPixel(94, 48)};
    };
    passes.push_back([this] { platform.QueueEvent(Event(InputEvent_MouseMove, 100, 50)); });
    passes.push_back([] {});
    passes.push_back(
        [this, &shown, &sample]
        {
            sample(shown);
            platform.QueueEvent(Event(InputEvent_MouseLeave));
        });
    passes.push_back([] {});
    passes.push_back(
        [this, &hidden, &sample]
        {
            sample(hidden);
            // Just off the canvas's right edge (on a letterbox's bar), the hot spot would put the picture
            // back over the canvas.
            platform.QueueEvent(Event(InputEvent_MouseMove, 203, 50));
        });
    passes.push_back([] {});
    passes.push_back(
        [this, &offCanvas]
        {
            offCanvas = {screen->GetPixel(195, 46), screen->GetPixel(196, 47)};
            platform.QueueEvent(Event(InputEvent_MouseMove, 100, 50));
        });
    MainLoop::Execute();

    EXPECT_EQ(shown, (std::vector<Color32>{kClear, kRed, kRed, kClear}));
    EXPECT_EQ(hidden, std::vector<Color32>(4, kClear));
    EXPECT_EQ(offCanvas, std::vector<Color32>(2, kClear));

    // The loop is over: the mouse is still in the window but the renderer is gone.
    std::unique_ptr<Image> target;
    Graphics::PushContext(Graphics::Context{CanvasOver(target, 200, 100, kClear), Graphics::sDrawState::GetDefaults()});
    GetFrameHooks().drawCustomCursor();
    EXPECT_EQ(target->GetPixel(92, 46), kClear);
    FakeGraphicsPlatform renderer;
    GetFrameHooks().drawCustomCursor();
    EXPECT_EQ(target->GetPixel(92, 46), kRed);
    Graphics::PopContext();
}

TEST_F(WindowLoopTest, TheFirstFrameDrawsTheCursorWhereTheMouseRests)
{
    platform.restingMouse = Vector2<int>(100, 50);
    std::vector<Color32> first;
    passes.push_back([&] { first = {screen->GetPixel(91, 45), screen->GetPixel(92, 46), screen->GetPixel(94, 48)}; });
    MainLoop::Execute();
    EXPECT_EQ(first, (std::vector<Color32>{kClear, kRed, kClear}));
}

TEST_F(WindowLoopTest, AStillScreenIsShownOnceAndEveryChangeOrExposeAgain)
{
    // Each pass changes something (or nothing) and says whether a frame must be shown for it.
    struct sPass
    {
        const char* what;
        std::function<void()> change;
        bool shown;
    };
    const std::vector<sPass> steps = {
        {"still", [] {}, false},
        {"still again", [] {}, false},
        {"the cursor moved", [this] { platform.QueueEvent(Event(InputEvent_MouseMove, 100, 50)); }, true},
        {"still", [] {}, false},
        {"the window exposed", [this] { platform.repaintPending = true; }, true},
        // A pass that changes the modes only updates; the pass after it draws.
        {"a mode pushed", [] { MainLoop::PushMode(new FillingMode(true)); }, false},
        {"the pushed mode drawn", [] {}, true},
        {"still", [] {}, false},
        {"the mode popped", [] { MainLoop::PopMode(); }, false},
        {"the mode below drawn", [] {}, true},
        {"the cursor left", [this] { platform.QueueEvent(Event(InputEvent_MouseLeave)); }, true},
        {"still", [] {}, false},
        {"the end, not judged", [] {}, false},
    };
    std::vector<std::string> wrong;
    int before = 0;
    const sPass* previous = nullptr;
    // The frame a pass's change makes is drawn by the passes after it: judged at the next pass.
    for (const sPass& pass : steps)
        passes.push_back(
            [&, p = &pass]
            {
                if (previous && (script.scenes > before) != previous->shown)
                    wrong.push_back(previous->what);
                before = script.scenes;
                previous = p;
                p->change();
            });
    MainLoop::Execute();
    EXPECT_EQ(wrong, std::vector<std::string>());
    EXPECT_GE(script.scenes, 1);
}

TEST_F(WindowLoopTest, AStillScreenOnTheStepClockUpdatesEveryStepOnTimeAndShowsOnlyItsFirstFrame)
{
    // Only the loop's own sleeps move the clock, as on a still screen running for real.
    passTime = 0;
    const uint32_t start = clock;
    std::vector<std::pair<uint32_t, float>> updates;
    app.onUpdate = [&](float dt) { updates.emplace_back(clock - start, dt); };
    passes.assign(60, [] {});
    MainLoop::Execute();

    // The first frame's update and the first step's come at once; then each step 20 ms after the one
    // before, a whole step each, none dropped or doubled.
    ASSERT_GE(updates.size(), 25u);
    for (size_t i = 0; i < updates.size(); ++i)
    {
        EXPECT_EQ(updates[i].first, i == 0 ? 0 : 20 * (i - 1)) << "update " << i;
        EXPECT_FLOAT_EQ(updates[i].second, 0.02f) << "update " << i;
    }
    // Every step drew the same frame: only the first was shown.
    EXPECT_EQ(script.scenes, 1);
}

TEST_F(WindowLoopTest, ATranslucentTopModeDimsTheModesBelowOnlyInHardware)
{
    for (unsigned long caps : {GraphicsPlatformCaps_Hardware, GraphicsPlatformCaps_Software})
    {
        app.caps = caps;
        Window::EnableCustomCursor(false);
        clearEachFrame = false;
        passes.push_back([] {});
        app.onDraw = nullptr;
        FillingMode* below = new FillingMode(true);
        FillingMode* top = new FillingMode(false);
        MainLoop::PushMode(below);
        MainLoop::PushMode(top);
        MainLoop::Execute();

        // Black at half opacity halves white; software leaves it.
        for (const Color32 pixel : {screen->GetPixel(0, 0), screen->GetPixel(199, 99)})
        {
            if (caps == GraphicsPlatformCaps_Hardware)
            {
                EXPECT_NEAR(pixel.r, 127, 1);
                EXPECT_EQ(pixel.g, pixel.r);
                EXPECT_EQ(pixel.b, pixel.r);
            }
            else
            {
                EXPECT_EQ(pixel, kWhite);
            }
        }
        MainLoop::ResetForTesting();
        platform.quitPending = false;
    }
}

TEST_F(WindowLoopTest, DimmingWithoutARendererOrScreenDrawsNothing)
{
    std::unique_ptr<Image> target;
    ICanvas* canvas = CanvasOver(target, 4, 4, kWhite);
    Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
    GetFrameHooks().dimBackground();
    {
        FakeGraphicsPlatform renderer(nullptr, GraphicsPlatformCaps_Hardware);
        renderer.hasScreenCanvas = false;
        GetFrameHooks().dimBackground();
    }
    EXPECT_EQ(Graphics::GetContextDepth(), 1);
    Graphics::PopContext();
    EXPECT_EQ(target->GetPixel(0, 0), kWhite);
}

} // namespace

TEST_F(WindowTest, TheSystemCursorIsHiddenExactlyWhileAPictureIsDrawn)
{
    Image picture(std::vector<Color32>(4), 2, 2, true, false);
    // Each change, and whether the system's cursor shows after it.
    struct sChange
    {
        const char* what;
        std::function<void()> change;
        bool systemShown;
    };
    const std::vector<sChange> changes = {
        {"on from the start, no picture yet", [] { Window::EnableCustomCursor(Window::IsCustomCursorEnabled()); },
         true},
        {"a picture given", [&] { Window::SetCustomCursor(&picture, Vector2<int>(1, 1)); }, false},
        {"another hot spot", [&] { Window::SetCustomCursor(&picture, Vector2<int>(0, 0)); }, false},
        {"turned off", [] { Window::EnableCustomCursor(false); }, true},
        {"a picture while off", [&] { Window::SetCustomCursor(&picture, Vector2<int>()); }, true},
        {"turned on", [] { Window::EnableCustomCursor(true); }, false},
        {"the picture taken away", [] { Window::SetCustomCursor(nullptr, Vector2<int>()); }, true},
        {"a shape the platform has no picture for", [] { Window::SetCursor(Cursor_Hand); }, true},
        {"the platform given a picture, the shape asked again",
         [&]
         {
             platform.SetCustomCursorImage(Cursor_Arrow, &picture, Vector2<int>(4, 3));
             Window::SetCursor(Cursor_Arrow);
         },
         false},
    };
    for (const sChange& step : changes)
    {
        step.change();
        ASSERT_FALSE(platform.hardwareCursorEnables.empty()) << step.what;
        EXPECT_EQ(platform.hardwareCursorEnables.back(), step.systemShown) << step.what;
        EXPECT_EQ(Window::IsCustomCursorDrawn(), !step.systemShown) << step.what;
    }
}
