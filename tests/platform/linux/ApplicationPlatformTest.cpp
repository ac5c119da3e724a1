#include "platform/linux/ApplicationPlatform.h"

#include "ChildXServer.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "core/FileSystem.h"
#include "core/KeyCodes.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "framework/Application.h"
#include "framework/AudioPlatform.h"
#include "framework/FrameHooks.h"
#include "framework/InputEvent.h"
#include "framework/MainLoop.h"
#include "framework/NetworkPlatform.h"
#include "framework/WindowConfig.h"
#include "graphics/GraphicsPlatform.h"
#include "graphics/Window.h"
#include "platform/linux/FrameViewport.h"
#include "platform/linux/X11Window.h"
#include "support/WaitUntil.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace Strata;
using Linux::ApplicationPlatform;
using Strata::Testing::WaitUntil;

namespace
{

class TestApplication : public BaseApplication
{
public:
    TestApplication()
    {
        mDescriptor.companyName = L"StrataTest";
        mDescriptor.productName = L"Menagerie Test";
        mDescriptor.copyright = L"(c) The Testers";
        mDescriptor.fullVersion = L"1.2.3.4";
        mDescriptor.windowTitle = L"Menagerie Window";
    }
    const sApplicationDescriptor& GetDescriptor() const override { return mDescriptor; }
    // The software renderer keeps the window tests off OpenGL.
    unsigned long GetDefaultGraphicsPlatformCaps() const override { return GraphicsPlatformCaps_Software; }

private:
    sApplicationDescriptor mDescriptor;
};

// A copy of what reached the sink, text included (the event's pointer dies with the call).
struct sRecorded
{
    uint32_t type;
    int32_t x;
    int32_t y;
    int32_t code;
    std::wstring text;
    int32_t divisor;
};

class RecordingSink : public IInputEventSink
{
public:
    void HandleEvent(const sInputEvent& event) override
    {
        events.push_back({event.type, event.x, event.y, static_cast<int32_t>(event.code),
                          event.text != nullptr ? std::wstring(event.text) : std::wstring(), event.wheelDivisor});
    }
    // The recorded events of one type, in order.
    std::vector<sRecorded> OfType(uint32_t type) const
    {
        std::vector<sRecorded> found;
        for (const sRecorded& event : events)
            if (event.type == type)
                found.push_back(event);
        return found;
    }
    std::vector<sRecorded> events;
};

class FakeAudioPlatform : public IAudioPlatform
{
public:
    FakeAudioPlatform() { RegisterSingleton(this); }
    ~FakeAudioPlatform() override { UnregisterSingleton(this); }
    void Setup() override {}
    void Cleanup() override {}
    void Update(float) override {}
    void Activate(bool active) override { calls.push_back(active); }
    std::vector<bool> calls;
};

class CountingQuitHandler : public IQuitHandler
{
public:
    bool CanQuit() override
    {
        ++asked;
        return false;
    }
    int asked = 0;
};

// A graphics platform that only reports its capabilities, for the window's OpenGL flag.
class CapsOnlyGraphicsPlatform : public IGraphicsPlatform
{
public:
    explicit CapsOnlyGraphicsPlatform(unsigned long caps) : mCaps(caps) { RegisterSingleton(this); }
    ~CapsOnlyGraphicsPlatform() override { UnregisterSingleton(this); }
    const wchar_t* GetName() override { return L"CapsOnly"; }
    void GetSupportedWindowConfig(sWindowConfig*) override {}
    unsigned long GetCaps() override { return mCaps; }
    void Setup(const sWindowConfig&) override {}
    void Cleanup() override {}
    int BeginScene() override { return 1; }
    int EndScene() override { return 0; }
    ICanvas* GetScreenCanvas() override { return nullptr; }
    ITexture* CreateTexture(const Image*, const Rect<int>*) override { return nullptr; }

private:
    unsigned long mCaps;
};

void Push(SDL_Event event)
{
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

SDL_Event WindowEvent(SDL_Window* window, uint8_t what)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window != nullptr ? SDL_GetWindowID(window) : 0;
    event.window.event = what;
    return event;
}

SDL_Event KeyEvent(uint32_t type, SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers = KMOD_NONE)
{
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event MotionEvent(int x, int y)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

// Everything the set-up installs in process-wide places, put back after each test.
class PlatformTestBase : public ::testing::Test
{
protected:
    // Partition 1 and 2 in the test's own folder; SDL on the given driver.
    void StartPlatform(const char* driver, std::chrono::milliseconds displayWait = std::chrono::seconds(10))
    {
        mRoot.Put("data/readme.txt");
        SetEnvironment("STRATA_DATA_DIR", mRoot.Path("data").c_str());
        SetEnvironment("XDG_DATA_HOME", mRoot.Path("xdg").c_str());
        SetEnvironment("SDL_VIDEODRIVER", driver);
        // No session bus in CI: libdbus's fall-back (launching a bus) leaks and leaves processes.
        if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
            SetEnvironment("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        mPlatform = std::make_unique<ApplicationPlatform>();
        mPlatform->SetDisplayWait(displayWait);
        mPlatform->Setup();
    }

    void SetEnvironment(const char* name, const char* value)
    {
        mEnvironment.push_back(std::make_unique<ScopedEnvironment>(name, value));
    }

    void TearDown() override
    {
        if (IGraphicsPlatform* graphics = GetGraphicsPlatform())
        {
            graphics->Cleanup();
            delete graphics;
        }
        mPlatform.reset();
        Window::Internal::ResetForTesting();
        InstallFrameHooks(sFrameHooks());
        MainLoop::ResetForTesting();
        Internal::DeleteAllSingletons();
        // Environment last: nothing above reads it any more.
        while (!mEnvironment.empty())
            mEnvironment.pop_back();
    }

    // Takes whatever the display sends on its own (exposure, focus, the pointer entering) until it
    // falls quiet, so that a test sees only the events it pushes.
    void Drain()
    {
        int quiet = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (quiet < 3 && std::chrono::steady_clock::now() < deadline)
        {
            SDL_PumpEvents();
            if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
            {
                mPlatform->HandleEvents(nullptr);
                quiet = 0;
            }
            else
                ++quiet;
            SDL_Delay(20);
        }
    }

    TestApplication mApplication;
    TempFolder mRoot;
    std::vector<std::unique_ptr<ScopedEnvironment>> mEnvironment;
    std::unique_ptr<ApplicationPlatform> mPlatform;
};

// On a real X display: an X server of the test's own, so that no other program's windows take the
// focus or the pointer; the session's display when no server can be started; skipped when there is
// neither.
class ApplicationPlatformTest : public PlatformTestBase
{
protected:
    void SetUp() override
    {
        std::string reason;
        if (!mServer.Start("1280x1024x24", &reason))
        {
            const char* display = std::getenv("DISPLAY");
            if (display == nullptr || display[0] == '\0')
                GTEST_SKIP() << "no display (" << reason << ")";
        }
        try
        {
            StartPlatform("x11");
        }
        catch (const RuntimeError& error)
        {
            GTEST_SKIP() << "no display: " << error.what();
        }
    }

    void TearDown() override
    {
        PlatformTestBase::TearDown();
        mServer.Stop();
    }

    // A shown 800 x 600 window, quiet.
    SDL_Window* OpenWindow()
    {
        mPlatform->CreateWindow(sWindowConfig{0, 1, 800, 600});
        Drain();
        return mPlatform->GetWindow();
    }

    ChildXServer mServer;
};

TEST_F(ApplicationPlatformTest, MouseEventsArriveAsEngineEvents)
{
    SDL_Window* window = OpenWindow();
    ASSERT_NE(window, nullptr);

    Push(MotionEvent(10, 20));
    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button.button = SDL_BUTTON_RIGHT;
    button.button.x = 5;
    button.button.y = 6;
    Push(button);
    button.type = SDL_MOUSEBUTTONUP;
    button.button.button = SDL_BUTTON_LEFT;
    Push(button);
    button.button.button = SDL_BUTTON_X1; // the engine knows three buttons
    Push(button);
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button.button = SDL_BUTTON_MIDDLE;
    Push(button);

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -1;
    wheel.wheel.preciseY = -1.5f;
    wheel.wheel.mouseX = 30;
    wheel.wheel.mouseY = 40;
    Push(wheel);
    wheel.wheel.y = 1;
    wheel.wheel.preciseY = 1.0f;
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED; // natural scrolling: turned the other way
    Push(wheel);
    wheel.wheel.y = 0;
    wheel.wheel.preciseY = 0.0f;
    wheel.wheel.x = 1;
    wheel.wheel.preciseX = 1.0f; // sideways only: nothing for the engine
    Push(wheel);
    Push(WindowEvent(window, SDL_WINDOWEVENT_LEAVE));

    RecordingSink sink;
    mPlatform->HandleEvents(&sink);

    const auto moves = sink.OfType(InputEvent_MouseMove);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].x, 10);
    EXPECT_EQ(moves[0].y, 20);

    const auto downs = sink.OfType(InputEvent_MouseDown);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].code, MouseButton_Right);
    EXPECT_EQ(downs[0].x, 5);
    EXPECT_EQ(downs[0].y, 6);
    EXPECT_EQ(downs[1].code, MouseButton_Middle);
    const auto ups = sink.OfType(InputEvent_MouseUp);
    ASSERT_EQ(ups.size(), 1u) << "the X1 button is dropped";
    EXPECT_EQ(ups[0].code, MouseButton_Left);

    const auto wheels = sink.OfType(InputEvent_MouseWheel);
    ASSERT_EQ(wheels.size(), 2u);
    EXPECT_EQ(wheels[0].code, -180);
    EXPECT_EQ(wheels[0].divisor, 120);
    EXPECT_FLOAT_EQ(static_cast<float>(wheels[0].code) / static_cast<float>(wheels[0].divisor), -1.5f);
    EXPECT_EQ(wheels[0].x, 30);
    EXPECT_EQ(wheels[0].y, 40);
    EXPECT_EQ(wheels[1].code, -120);

    EXPECT_EQ(sink.OfType(InputEvent_MouseLeave).size(), 1u);
}

TEST_F(ApplicationPlatformTest, KeysAndTextArriveInTheEngineNumbering)
{
    OpenWindow();
    Push(KeyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A));
    Push(KeyEvent(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE));
    Push(KeyEvent(SDL_KEYDOWN, SDLK_KP_3, SDL_SCANCODE_KP_3));
    Push(KeyEvent(SDL_KEYDOWN, SDLK_RSHIFT, SDL_SCANCODE_RSHIFT));
    Push(KeyEvent(SDL_KEYDOWN, 0xe9, SDL_SCANCODE_2));                 // 'é' on a French keyboard
    Push(KeyEvent(SDL_KEYDOWN, SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP)); // no code: dropped
    Push(KeyEvent(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q));               // Q without Control is a key like any other

    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "a\xc3\xb1\xe2\x82\xac"); // "añ€"
    Push(text);

    RecordingSink sink;
    mPlatform->HandleEvents(&sink);

    const auto downs = sink.OfType(InputEvent_KeyDown);
    ASSERT_EQ(downs.size(), 5u);
    EXPECT_EQ(downs[0].code, 'A');
    EXPECT_EQ(downs[1].code, 99) << "keypad 3";
    EXPECT_EQ(downs[2].code, Key_Shift);
    EXPECT_EQ(downs[3].code, '2') << "a layout's own symbol falls back on the key's place";
    EXPECT_EQ(downs[4].code, 'Q');
    const auto ups = sink.OfType(InputEvent_KeyUp);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].code, Key_Escape);

    const auto texts = sink.OfType(InputEvent_Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, L"a\u00f1\u20ac");
}

TEST_F(ApplicationPlatformTest, QuitRequestsAndCommandKeysAreNotPassedOn)
{
    SDL_Window* window = OpenWindow();
    CountingQuitHandler handler;
    MainLoop::AddQuitHandler(&handler);

    SDL_Event quitKey = KeyEvent(SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, KMOD_LCTRL);
    Push(quitKey);
    quitKey.key.repeat = 1; // a held key asks once
    Push(quitKey);
    Push(WindowEvent(window, SDL_WINDOWEVENT_CLOSE));
    RecordingSink sink;
    mPlatform->HandleEvents(&sink);
    EXPECT_EQ(handler.asked, 2) << "Ctrl+Q and the close button ask the quit handlers";
    EXPECT_TRUE(sink.OfType(InputEvent_KeyDown).empty());
    EXPECT_FALSE(mPlatform->IsQuitPending()) << "a handler refused";

    // The about box, logged because the dummy driver stands for "no one to click".
    {
        ScopedEnvironment noScreen("SDL_VIDEODRIVER", "dummy");
        Push(KeyEvent(SDL_KEYDOWN, SDLK_F1, SDL_SCANCODE_F1));
        ::testing::internal::CaptureStderr();
        mPlatform->HandleEvents(&sink);
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("About Menagerie Test\nMenagerie Test\nVersion 1.2.3.4\n(c) The Testers"), std::string::npos)
            << log;
    }
    EXPECT_TRUE(sink.OfType(InputEvent_KeyDown).empty());

    SDL_Event quit{};
    quit.type = SDL_QUIT; // the system's request (a signal, the session ending)
    Push(quit);
    mPlatform->HandleEvents(&sink);
    EXPECT_TRUE(mPlatform->IsQuitPending());
    MainLoop::RemoveQuitHandler(&handler);
}

TEST_F(ApplicationPlatformTest, FocusMakesTheApplicationActiveAndTellsTheAudio)
{
    SDL_Window* window = OpenWindow();
    FakeAudioPlatform audio;
    RecordingSink sink;
    mPlatform->EnableHardwareCursor(false); // the game draws its own pointer

    Push(WindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST));
    mPlatform->HandleEvents(&sink);
    EXPECT_FALSE(mPlatform->IsActive());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE) << "an inactive game draws no pointer: the system's shows";

    SDL_Event other = WindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    other.window.windowID += 100; // a window that is not the game's
    Push(other);
    mPlatform->HandleEvents(&sink);
    EXPECT_FALSE(mPlatform->IsActive());

    Push(WindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED));
    mPlatform->HandleEvents(&sink);
    EXPECT_TRUE(mPlatform->IsActive());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(audio.calls, (std::vector<bool>{false, true}));
    ASSERT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[0].type, InputEvent_Deactivate);
    EXPECT_EQ(sink.events[1].type, InputEvent_Activate);

    mPlatform->ClearPendingRepaint();
    Push(WindowEvent(window, SDL_WINDOWEVENT_EXPOSED));
    mPlatform->HandleEvents(nullptr);
    EXPECT_TRUE(mPlatform->IsRepaintPending());
    mPlatform->ClearPendingRepaint();
    EXPECT_FALSE(mPlatform->IsRepaintPending());
}

TEST_F(ApplicationPlatformTest, ANewWindowActivatesTheAudioOnce)
{
    FakeAudioPlatform audio;
    OpenWindow();
    EXPECT_EQ(audio.calls, (std::vector<bool>{true}));
}

TEST_F(ApplicationPlatformTest, WaitingForAnEventLeavesItForHandleEvents)
{
    OpenWindow();
    RecordingSink sink;

    Push(MotionEvent(1, 2));
    EXPECT_TRUE(mPlatform->IsEventPending());
    mPlatform->WaitForEvent(); // returns at once: one is queued
    mPlatform->HandleEvents(&sink);
    ASSERT_EQ(sink.OfType(InputEvent_MouseMove).size(), 1u);

    // An event pushed later, from another thread, wakes the wait and is still there afterwards.
    std::thread pusher(
        []
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            SDL_Event event = MotionEvent(3, 4);
            SDL_PushEvent(&event);
        });
    mPlatform->WaitForEvent();
    pusher.join();
    mPlatform->HandleEvents(&sink);
    const auto moves = sink.OfType(InputEvent_MouseMove);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[1].x, 3);
    EXPECT_EQ(moves[1].y, 4);
}

// A still screen looks for events every step and pumps SDL only when the X connection holds something
// (or now and then): input that reaches the connection, an event in SDL's queue, and what SDL's pump
// turns into events by itself (a signal) are each found, and nothing is found when all is quiet.
TEST_F(ApplicationPlatformTest, ALookForEventsFindsEveryKindOfEventWithoutPumpingAQuietConnection)
{
    SDL_Window* window = OpenWindow();
    ASSERT_NE(window, nullptr);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
    RecordingSink sink;

    // Quiet: nothing on the connection, and nothing found however often it looks.
    EXPECT_FALSE(Linux::X11::MayHaveInput());
    for (int look = 0; look < 3; ++look)
        EXPECT_FALSE(mPlatform->IsEventPending()) << "look " << look;

    // Another client moves the pointer into the window: the server tells SDL's connection.
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    XWarpPointer(other, None, info.info.x11.window, 0, 0, 0, 0, 40, 30);
    XSync(other, False);
    XCloseDisplay(other);
    ASSERT_TRUE(WaitUntil([] { return Linux::X11::MayHaveInput(); }));
    // Found by the very next look, not at the next pump by the clock.
    EXPECT_TRUE(mPlatform->IsEventPending());
    mPlatform->HandleEvents(&sink);
    EXPECT_FALSE(sink.OfType(InputEvent_MouseMove).empty());
    EXPECT_FALSE(Linux::X11::MayHaveInput()) << "the pump took everything";

    // An event put in SDL's own queue.
    sink.events.clear();
    Push(MotionEvent(7, 8));
    EXPECT_TRUE(mPlatform->IsEventPending());
    mPlatform->HandleEvents(&sink);
    ASSERT_EQ(sink.OfType(InputEvent_MouseMove).size(), 1u);

    // A signal, which only SDL's pump turns into its quit event: found with no X input at all.
    struct sigaction current
    {
    };
    sigaction(SIGTERM, nullptr, &current);
    if (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN)
        GTEST_SKIP() << "SDL handles no SIGTERM here";
    raise(SIGTERM);
    EXPECT_TRUE(WaitUntil([this] { return mPlatform->IsEventPending(); }));
    mPlatform->HandleEvents(&sink);
    EXPECT_TRUE(mPlatform->IsQuitPending());
}

TEST_F(ApplicationPlatformTest, WindowFollowsTheConfiguration)
{
    sWindowConfig config{7, 1, 1024, 10};
    mPlatform->GetSupportedWindowConfig(&config);
    EXPECT_EQ(config.mode, 1);
    EXPECT_EQ(config.width, 800);
    EXPECT_EQ(config.height, 600);

    SDL_Window* window = OpenWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Linux::GetMainWindow(), window);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Menagerie Window");
    EXPECT_EQ(SDL_GetWindowFlags(window) & (SDL_WINDOW_OPENGL | SDL_WINDOW_FULLSCREEN_DESKTOP), 0u);
    mPlatform->SetApplicationTitle(L"Men\u00e1gerie");
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Men\xc3\xa1gerie");

    // A hardware renderer needs an OpenGL window; the title outlives the old window.
    {
        CapsOnlyGraphicsPlatform hardware(GraphicsPlatformCaps_Hardware);
        mPlatform->CreateWindow(sWindowConfig{0, 1, 800, 600});
    }
    window = mPlatform->GetWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL, 0u);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Men\xc3\xa1gerie");

    mPlatform->DestroyWindow();
    EXPECT_EQ(Linux::GetMainWindow(), nullptr);
    mPlatform->DestroyWindow(); // harmless without a window
    mPlatform->EnsureWindowVisible();

    ApplicationPlatform notStarted;
    EXPECT_THROW(notStarted.CreateWindow(sWindowConfig{0, 1, 800, 600}), RuntimeError);
}

TEST_F(ApplicationPlatformTest, CursorsShowTheChosenShapeUnlessHidden)
{
    OpenWindow();
    mPlatform->SetHardwareCursor(Cursor_Hand);
    SDL_Cursor* hand = SDL_GetCursor();
    mPlatform->SetHardwareCursor(Cursor_Arrow);
    EXPECT_NE(SDL_GetCursor(), hand);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    mPlatform->EnableHardwareCursor(false); // the custom cursor is drawn instead
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    mPlatform->SetHardwareCursor(Cursor_Hand);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << "choosing a shape does not show it";
    mPlatform->EnableHardwareCursor(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(SDL_GetCursor(), hand);
    mPlatform->SetHardwareCursor(Cursor_None);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    mPlatform->SetHardwareCursor(static_cast<eCursor>(99)); // unknown: ignored
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    // The custom images are the game's; the platform only keeps them.
    EXPECT_EQ(mPlatform->GetCustomCursorImage(Cursor_Hand), nullptr);
    auto* image = reinterpret_cast<IImage*>(&mRoot); // never used as an image
    mPlatform->SetCustomCursorImage(Cursor_Hand, image, Vector2<int>(8, 4));
    mPlatform->SetCustomCursorImage(static_cast<eCursor>(-1), image, Vector2<int>(1, 1));
    EXPECT_EQ(mPlatform->GetCustomCursorImage(Cursor_Hand), image);
    EXPECT_EQ(mPlatform->GetCustomCursorHotSpot(Cursor_Hand), Vector2<int>(8, 4));
    EXPECT_EQ(mPlatform->GetCustomCursorImage(Cursor_Arrow), nullptr);
    EXPECT_EQ(mPlatform->GetCustomCursorImage(static_cast<eCursor>(5)), nullptr);
    EXPECT_EQ(mPlatform->GetCustomCursorHotSpot(static_cast<eCursor>(-1)), Vector2<int>(0, 0));
}

// F11 and Alt+Enter go through the window configuration, which remakes the renderer and the window.
TEST_F(ApplicationPlatformTest, F11AndAltEnterSwitchBetweenWindowAndFullScreen)
{
    Window::SetConfig(sWindowConfig{0, 1, 800, 600});
    ASSERT_NE(mPlatform->GetWindow(), nullptr);
    Drain();
    RecordingSink sink;

    Push(KeyEvent(SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11));
    mPlatform->HandleEvents(&sink);
    EXPECT_EQ(Window::GetConfig().mode, 1);
    ASSERT_NE(mPlatform->GetWindow(), nullptr);
    EXPECT_NE(SDL_GetWindowFlags(mPlatform->GetWindow()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);

    Push(KeyEvent(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT));
    mPlatform->HandleEvents(&sink);
    EXPECT_EQ(Window::GetConfig().mode, 0);
    ASSERT_NE(mPlatform->GetWindow(), nullptr);
    EXPECT_EQ(SDL_GetWindowFlags(mPlatform->GetWindow()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_TRUE(sink.OfType(InputEvent_KeyDown).empty());

    Push(KeyEvent(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN)); // Enter alone is the game's
    mPlatform->HandleEvents(&sink);
    ASSERT_EQ(sink.OfType(InputEvent_KeyDown).size(), 1u);
    EXPECT_EQ(sink.OfType(InputEvent_KeyDown)[0].code, Key_Enter);
    EXPECT_EQ(Window::GetConfig().mode, 0);
}

// Needs no display: the dummy driver is enough for files and the lock.
class HeadlessPlatformTest : public PlatformTestBase
{
protected:
    void SetUp() override { StartPlatform("dummy"); }
};

TEST_F(HeadlessPlatformTest, OnlyOneInstanceHoldsTheLock)
{
    ApplicationPlatform second;
    second.Setup();

    EXPECT_FALSE(mPlatform->EnforceSingleInstance()) << "the first instance";
    EXPECT_FALSE(mPlatform->EnforceSingleInstance()) << "asking again while holding it";
    EXPECT_TRUE(second.EnforceSingleInstance()) << "another instance runs";
    EXPECT_TRUE(mRoot.Exists("xdg/StrataTest/Menagerie Test/instance.lock"));

    mPlatform->Destroy(); // the first instance ends
    EXPECT_FALSE(second.EnforceSingleInstance());
    second.Destroy();

    ApplicationPlatform notSetUp;
    EXPECT_FALSE(notSetUp.EnforceSingleInstance()) << "no folder to lock in: the game still starts";
}

TEST_F(HeadlessPlatformTest, SetupRegistersTheBackEndsAndDestroyReleasesThem)
{
    EXPECT_EQ(GetPlatform(), mPlatform.get());
    EXPECT_NE(GetNetworkPlatform(), nullptr);
    EXPECT_NE(GetFrameHooks().applyWindowConfig, nullptr);
    EXPECT_THROW(mPlatform->Setup(), RuntimeError) << "once only";

    mPlatform->Destroy();
    EXPECT_EQ(GetNetworkPlatform(), nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    mPlatform->Destroy(); // harmless again
    EXPECT_FALSE(mPlatform->IsEventPending());
    mPlatform->WaitForEvent(); // returns at once without SDL
    mPlatform.reset();
    EXPECT_FALSE(IsPlatformRegistered());
}

// Without a display SDL would start a driver with no screen and the game would run unseen.
TEST_F(PlatformTestBase, WithoutADisplaySetupFailsInsteadOfRunningUnseen)
{
    SetEnvironment("DISPLAY", nullptr);
    SetEnvironment("WAYLAND_DISPLAY", nullptr);
    EXPECT_THROW(StartPlatform(nullptr), RuntimeError);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_EQ(GetFileSystem(), nullptr) << "refused before anything was set up";
    EXPECT_EQ(GetNetworkPlatform(), nullptr);
}

// A display server started together with the game refuses connections for a moment. SDL alone would
// then take its offscreen driver, and the game would run unseen or wait on an error box nobody sees.
TEST_F(PlatformTestBase, SetupWaitsForADisplayThatIsStillStarting)
{
    ChildXServer server;
    std::string reason;
    if (!server.StartLate(400, "1024x768x24", &reason))
        GTEST_SKIP() << reason;
    SetEnvironment("WAYLAND_DISPLAY", nullptr);
    ASSERT_NO_THROW(StartPlatform(nullptr));
    EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    mPlatform->CreateWindow(sWindowConfig{0, 1, 800, 600});
    EXPECT_NE(mPlatform->GetWindow(), nullptr);
    // Off the display before its server ends.
    mPlatform.reset();
}

TEST_F(PlatformTestBase, SetupGivesUpOnADisplayThatNeverAnswers)
{
    SetEnvironment("DISPLAY", ":4093");
    SetEnvironment("WAYLAND_DISPLAY", nullptr);
    ::testing::internal::CaptureStderr();
    try
    {
        StartPlatform(nullptr, std::chrono::milliseconds(300));
        ADD_FAILURE() << "started on " << SDL_GetCurrentVideoDriver();
    }
    catch (const RuntimeError& error)
    {
        EXPECT_NE(std::string(error.what()).find("Could not start SDL video"), std::string::npos) << error.what();
    }
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Waiting for the display"), std::string::npos) << log;
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "no driver without a screen was kept";
}

TEST(KeyTranslationTest, SdlKeysBecomeWindowsVirtualKeys)
{
    struct Case
    {
        SDL_Keycode key;
        SDL_Scancode scancode;
        uint16_t code;
    };
    const Case cases[] = {
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
        {SDLK_9, SDL_SCANCODE_9, '9'},
        {SDLK_F12, SDL_SCANCODE_F12, Key_F12},
        {SDLK_F16, SDL_SCANCODE_F16, Key_F16},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, Key_Enter},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, Key_Num0},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, Key_Num9},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 222},
        // Another layout's symbols: the key's place on a US keyboard decides.
        {0xfc /* ü */, SDL_SCANCODE_LEFTBRACKET, 219},
        {0xe0 /* à */, SDL_SCANCODE_0, '0'},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, Key_Null},
        {SDLK_MUTE, SDL_SCANCODE_MUTE, Key_Null},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Linux::TranslateKey(c.key, c.scancode), c.code) << SDL_GetKeyName(c.key);
    EXPECT_EQ(Linux::TranslateKey(0xe9, -5), Key_Null) << "a scan code out of range is no key";
    EXPECT_EQ(Linux::TranslateKey(0xe9, SDL_NUM_SCANCODES), Key_Null);
    // The codes agree with the key names of the data files.
    const std::pair<const wchar_t*, SDL_Keycode> named[] = {
        {L"Escape", SDLK_ESCAPE},      {L"/", SDLK_SLASH},           {L"NumMult", SDLK_KP_MULTIPLY},
        {L"ScrLock", SDLK_SCROLLLOCK}, {L"PageDown", SDLK_PAGEDOWN}, {L"Delete", SDLK_DELETE},
        {L"RightWin", SDLK_RGUI},      {L"=", SDLK_EQUALS},          {L"Clear", SDLK_CLEAR},
    };
    for (const auto& [name, key] : named)
        EXPECT_EQ(Linux::TranslateKey(key, SDL_SCANCODE_UNKNOWN), GetKeyCodeByName(name)) << name;
}

class FullScreenTest : public PlatformTestBase, public ::testing::WithParamInterface<std::pair<int, int>>
{
protected:
    void SetUp() override
    {
        std::string reason;
        const auto [width, height] = GetParam();
        if (!mServer.Start(std::to_string(width) + "x" + std::to_string(height) + "x24", &reason))
            GTEST_SKIP() << reason;
        StartPlatform("x11");
    }

    void TearDown() override
    {
        PlatformTestBase::TearDown();
        mServer.Stop();
    }

    ChildXServer mServer;
};

TEST_P(FullScreenTest, TheWindowTakesTheDesktopAndTheMouseMapsIntoTheFrame)
{
    const auto [desktopWidth, desktopHeight] = GetParam();
    mPlatform->CreateWindow(sWindowConfig{1, 1, 800, 600});
    SDL_Window* window = mPlatform->GetWindow();
    ASSERT_NE(window, nullptr);
    int width = 0;
    int height = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    do
    {
        mPlatform->HandleEvents(nullptr);
        SDL_GetWindowSize(window, &width, &height);
        if (width == desktopWidth && height == desktopHeight)
            break;
        SDL_Delay(20);
    } while (std::chrono::steady_clock::now() < deadline);
    EXPECT_EQ(width, desktopWidth);
    EXPECT_EQ(height, desktopHeight);
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    // No window manager runs on the test's server: the X window itself must cover the screen, or the
    // picture SDL draws for the desktop's size is cut off.
    EXPECT_FALSE(Linux::X11::HasWindowManager(window));
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
    XWindowAttributes attributes{};
    ASSERT_NE(XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes), 0);
    EXPECT_EQ(std::tuple(attributes.x, attributes.y, attributes.width, attributes.height),
              std::tuple(0, 0, desktopWidth, desktopHeight));
    Drain();

    const Linux::sFrameViewport viewport = Linux::ComputeFrameViewport(width, height);
    // The frame keeps its 4:3 shape: as high as the desktop, bars left and right when it is wider.
    EXPECT_EQ(viewport.height, desktopHeight);
    EXPECT_EQ(viewport.width, desktopHeight * 4 / 3);
    EXPECT_EQ(viewport.x, (desktopWidth - viewport.width) / 2);

    Push(MotionEvent(desktopWidth / 2, desktopHeight / 2));
    Push(MotionEvent(viewport.x, 0));
    Push(MotionEvent(viewport.x + viewport.width - 1, desktopHeight - 1));
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.x = viewport.x + viewport.width / 4;
    click.button.y = desktopHeight / 4;
    Push(click);
    RecordingSink sink;
    mPlatform->HandleEvents(&sink);

    const auto moves = sink.OfType(InputEvent_MouseMove);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(moves[0].x, 400);
    EXPECT_EQ(moves[0].y, 300);
    EXPECT_EQ(moves[1].x, 0);
    EXPECT_EQ(moves[1].y, 0);
    EXPECT_EQ(moves[2].x, 799);
    EXPECT_EQ(moves[2].y, 599);
    const auto downs = sink.OfType(InputEvent_MouseDown);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].x, 200);
    EXPECT_EQ(downs[0].y, 150);

    if (viewport.x > 0)
    {
        sink.events.clear();
        Push(MotionEvent(viewport.x - 1, 10)); // in the left bar: outside the frame
        mPlatform->HandleEvents(&sink);
        ASSERT_EQ(sink.OfType(InputEvent_MouseMove).size(), 1u);
        EXPECT_LT(sink.OfType(InputEvent_MouseMove)[0].x, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, FullScreenTest,
                         ::testing::Values(std::make_pair(1024, 768), std::make_pair(1920, 1080)),
                         [](const auto& info)
                         { return std::to_string(info.param.first) + "x" + std::to_string(info.param.second); });

} // namespace
