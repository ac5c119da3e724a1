#include "platform/linux/ApplicationPlatform.h"

#include "controls/ObjectFactory.h"
#include "core/KeyCodes.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/Time.h"
#include "core/WideString.h"
#include "framework/Application.h"
#include "framework/AudioPlatform.h"
#include "framework/InputEvent.h"
#include "framework/MainLoop.h"
#include "framework/NetworkPlatform.h"
#include "framework/RenderPlatform.h"
#include "framework/ResourceManager.h"
#include "framework/WindowConfig.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/Window.h"
#include "platform/linux/CurlNetworkPlatform.h"
#include "platform/linux/FrameViewport.h"
#include "platform/linux/GraphicsPlatforms.h"
#include "platform/linux/SystemAlert.h"
#include "platform/linux/X11Window.h"

#include <SDL.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace Linux
{

namespace
{

// Windows reports wheel turns in steps of 120; SDL's precise amount is in notches.
constexpr int kWheelDivisor = 120;

std::string ToUTF8(const wchar_t* text)
{
    if (text == nullptr)
        return std::string();
    const auto bytes = Strata::ConvertStringWideToUTF8(text);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes.get())) : std::string();
}

bool IsValidCursor(Strata::eCursor cursor)
{
    return cursor >= Strata::Cursor_None && cursor <= Strata::Cursor_IBeam;
}

SDL_SystemCursor SystemCursorFor(Strata::eCursor cursor)
{
    switch (cursor)
    {
    case Strata::Cursor_Hand:
        return SDL_SYSTEM_CURSOR_HAND;
    case Strata::Cursor_Wait:
        return SDL_SYSTEM_CURSOR_WAIT;
    case Strata::Cursor_IBeam:
        return SDL_SYSTEM_CURSOR_IBEAM;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

struct sKeyMapping
{
    int32_t sdl;
    uint16_t code;
};

// SDL key symbols without a run of their own below; the punctuation keys of a US keyboard get the
// Windows "OEM" codes.
// clang-format off
constexpr sKeyMapping kSymbols[] = {
    {SDLK_BACKSPACE, Strata::Key_Backspace}, {SDLK_TAB, Strata::Key_Tab}, {SDLK_CLEAR, Strata::Key_Clear},
    {SDLK_RETURN, Strata::Key_Enter}, {SDLK_RETURN2, Strata::Key_Enter}, {SDLK_KP_ENTER, Strata::Key_Enter},
    {SDLK_LSHIFT, Strata::Key_Shift}, {SDLK_RSHIFT, Strata::Key_Shift}, {SDLK_LCTRL, Strata::Key_Control},
    {SDLK_RCTRL, Strata::Key_Control}, {SDLK_LALT, Strata::Key_Alt}, {SDLK_RALT, Strata::Key_Alt},
    {SDLK_PAUSE, Strata::Key_Pause}, {SDLK_CAPSLOCK, Strata::Key_CapsLock}, {SDLK_ESCAPE, Strata::Key_Escape},
    {SDLK_SPACE, Strata::Key_Space}, {SDLK_PAGEUP, Strata::Key_PageUp}, {SDLK_PAGEDOWN, Strata::Key_PageDown},
    {SDLK_END, Strata::Key_End}, {SDLK_HOME, Strata::Key_Home}, {SDLK_LEFT, Strata::Key_Left},
    {SDLK_UP, Strata::Key_Up}, {SDLK_RIGHT, Strata::Key_Right}, {SDLK_DOWN, Strata::Key_Down},
    {SDLK_PRINTSCREEN, Strata::Key_PrtScn}, {SDLK_INSERT, Strata::Key_Insert}, {SDLK_DELETE, Strata::Key_Delete},
    {SDLK_LGUI, Strata::Key_LeftWin}, {SDLK_RGUI, Strata::Key_RightWin}, {SDLK_APPLICATION, Strata::Key_Menu},
    {SDLK_MENU, Strata::Key_Menu}, {SDLK_KP_0, Strata::Key_Num0}, {SDLK_KP_MULTIPLY, Strata::Key_NumMult},
    {SDLK_KP_PLUS, Strata::Key_NumAdd}, {SDLK_KP_MINUS, Strata::Key_NumSub}, {SDLK_KP_PERIOD, Strata::Key_NumDec},
    {SDLK_KP_DECIMAL, Strata::Key_NumDec}, {SDLK_KP_DIVIDE, Strata::Key_NumDiv},
    {SDLK_NUMLOCKCLEAR, Strata::Key_NumLock}, {SDLK_SCROLLLOCK, Strata::Key_ScrLock},
    {SDLK_SEMICOLON, 186}, {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188}, {SDLK_MINUS, 189}, {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191}, {SDLK_BACKQUOTE, 192}, {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220}, {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
};
// clang-format on

// The same keys by their place on a US keyboard, for symbols of other layouts (an 'é' key still
// reports the code of the key at its place).
// clang-format off
constexpr sKeyMapping kPlaces[] = {
    {SDL_SCANCODE_0, '0'}, {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188}, {SDL_SCANCODE_MINUS, 189}, {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191}, {SDL_SCANCODE_GRAVE, 192}, {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220}, {SDL_SCANCODE_NONUSBACKSLASH, 220}, {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
};
// clang-format on

template <size_t N>
uint16_t Find(const sKeyMapping (&table)[N], int32_t sdl)
{
    for (const sKeyMapping& mapping : table)
        if (mapping.sdl == sdl)
            return mapping.code;
    return Strata::Key_Null;
}

uint16_t TranslateSymbol(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<uint16_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<uint16_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return static_cast<uint16_t>(Strata::Key_F1 + (key - SDLK_F1));
    if (key >= SDLK_F13 && key <= SDLK_F16)
        return static_cast<uint16_t>(Strata::Key_F1 + 12 + (key - SDLK_F13));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return static_cast<uint16_t>(Strata::Key_Num0 + 1 + (key - SDLK_KP_1));
    return Find(kSymbols, key);
}

uint16_t TranslateScancode(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return static_cast<uint16_t>('A' + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return static_cast<uint16_t>('1' + (scancode - SDL_SCANCODE_1));
    return Find(kPlaces, scancode);
}

} // namespace

uint16_t TranslateKey(int32_t keycode, int scancode)
{
    const uint16_t code = TranslateSymbol(static_cast<SDL_Keycode>(keycode));
    if (code != Strata::Key_Null)
        return code;
    if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES)
        return Strata::Key_Null;
    return TranslateScancode(static_cast<SDL_Scancode>(scancode));
}

ApplicationPlatform::ApplicationPlatform()
{
    Strata::RegisterSingleton(static_cast<Strata::IPlatform*>(this));
}

ApplicationPlatform::~ApplicationPlatform()
{
    Destroy();
    Strata::UnregisterSingleton(static_cast<Strata::IPlatform*>(this));
}

void ApplicationPlatform::Setup()
{
    if (mSetUp)
        STRATA_THROW(Strata::RuntimeError, "Linux::ApplicationPlatform::Setup: already set up.");
    // SDL falls back on a driver without a screen when it finds no display; the game would then run
    // unseen and never end. Such a driver is used only when it is asked for by name.
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    const bool driverRequested = requested != nullptr && requested[0] != '\0';
    if (!driverRequested && !CanShowMessageBox())
        STRATA_THROW(Strata::RuntimeError, "Could not start SDL video (SDL Error: no display is set)");
    Platform::Setup();
    mSetUp = true;

    mNetworkPlatform = CreateNetworkPlatform();
    Strata::RegisterSingleton(mNetworkPlatform);

    Strata::Window::SetGraphicsPlatformFactory(&ChooseGraphicsPlatform);
    Strata::Window::InstallFrameHooks();
    // The drawable resources; the layouts and their object types come with the main loop's set-up.
    Strata::GetResourceManager()->AddResourceFactory(L"image", new Strata::ImageResourceFactory());
    Strata::RegisterImageListResourceFactories();
    Strata::RegisterFontResourceFactory();

    // The window's close button asks the quit handlers; SDL must not turn it into a quit of its own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (driverRequested)
    {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
            STRATA_THROW(Strata::RuntimeError,
                         std::string("Could not start SDL video (SDL Error: ") + SDL_GetError() + ")");
    }
    else
        StartVideoOnADisplay();
    mSDLStarted = true;
    X11::StartWatching();
    NoteDisplayReached();
    // The renderer is chosen when the window configuration is applied, after the audio's set-up: the
    // question that chooses it is asked meanwhile, unless the command line has decided.
    const std::wstring& commandLine = Strata::GetCommandLine();
    if (commandLine.find(L"-software") == std::wstring::npos && commandLine.find(L"-opengl") == std::wstring::npos)
        StartOpenGLRendererProbe();
}

void ApplicationPlatform::StartVideoOnADisplay()
{
    // Only drivers with a screen are tried, each only when its display is named; SDL's own choice
    // would end on the offscreen driver whenever the display is not there yet.
    std::vector<const char*> drivers;
    if (const char* x11 = std::getenv("DISPLAY"); x11 != nullptr && x11[0] != '\0')
        drivers.push_back("x11");
    if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland != nullptr && wayland[0] != '\0')
        drivers.push_back("wayland");
    // A display server started together with the game (a session starting, a test's Xvfb) refuses
    // connections until it is ready: try again until the wait is over.
    const auto deadline = std::chrono::steady_clock::now() + mDisplayWait;
    std::string reason = "no display is set";
    bool logged = false;
    for (;;)
    {
        for (const char* driver : drivers)
        {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
            const bool started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
            if (!started)
                reason = SDL_GetError();
            SDL_ResetHint(SDL_HINT_VIDEODRIVER);
            if (started)
                return;
        }
        if (drivers.empty() || std::chrono::steady_clock::now() >= deadline)
            break;
        if (!logged)
        {
            Strata::Internal::LogWrite("Waiting for the display: %s\n", reason.c_str());
            logged = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    STRATA_THROW(Strata::RuntimeError, "Could not start SDL video (SDL Error: " + reason + ")");
}

void ApplicationPlatform::StopSDL()
{
    if (!mSDLStarted)
        return;
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    // The last user of SDL lets it release what it keeps for the whole process.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
    X11::StopWatching();
    mSDLStarted = false;
}

void ApplicationPlatform::Destroy()
{
    DestroyWindow();
    for (SDL_Cursor*& cursor : mSystemCursors)
    {
        if (cursor != nullptr)
            SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
    if (mLockFile >= 0)
    {
        // Closing releases the lock; the file stays, so that no other instance races its removal.
        close(mLockFile);
        mLockFile = -1;
    }
    EndOpenGLRendererProbe();
    StopSDL();
    if (mNetworkPlatform != nullptr)
    {
        // Its destructor clears the registry slot.
        delete mNetworkPlatform;
        mNetworkPlatform = nullptr;
    }
    mSetUp = false;
}

bool ApplicationPlatform::EnforceSingleInstance()
{
    if (mLockFile >= 0)
        return false;
    if (GetUserFolder().empty())
    {
        Strata::Internal::LogWrite("Single instance: the platform is not set up; not checked.\n");
        return false;
    }
    const std::string path = GetUserFolder() + "/instance.lock";
    const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0)
    {
        Strata::Internal::LogWrite("Single instance: could not open %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    int result;
    do
        result = flock(file, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0)
    {
        const int error = errno;
        close(file);
        if (error == EWOULDBLOCK)
            return true;
        Strata::Internal::LogWrite("Single instance: could not lock %s: %s\n", path.c_str(), std::strerror(error));
        return false;
    }
    mLockFile = file;
    return false;
}

std::string ApplicationPlatform::GetWindowTitle() const
{
    if (!mTitle.empty())
        return ToUTF8(mTitle.c_str());
    if (const Strata::IApplication* application = Strata::GetApplication())
    {
        const Strata::sApplicationDescriptor& descriptor = application->GetDescriptor();
        if (descriptor.windowTitle != nullptr)
            return ToUTF8(descriptor.windowTitle);
        return ToUTF8(descriptor.productName);
    }
    return std::string();
}

void ApplicationPlatform::CreateWindow(const Strata::sWindowConfig& config)
{
    DestroyWindow();
    if (!mSDLStarted)
        STRATA_THROW(Strata::RuntimeError, "Could not create a window. (SDL Error: SDL is not started)");

    Uint32 flags = SDL_WINDOW_SHOWN;
    int width = config.width > 0 ? config.width : kFrameWidth;
    int height = config.height > 0 ? config.height : kFrameHeight;
    if (config.mode != 0)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (Strata::IRenderPlatform* graphics = Strata::GetRenderPlatform())
    {
        if ((graphics->GetCaps() & Strata::GraphicsPlatformCaps_Hardware) != 0)
            flags |= SDL_WINDOW_OPENGL;
    }
    SDL_Window* window = SDL_CreateWindow(GetWindowTitle().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          width, height, flags);
    if (window == nullptr)
        STRATA_THROW(Strata::RuntimeError,
                     std::string("Could not create a window. (SDL Error: ") + SDL_GetError() + ")");
    // Without a window manager nobody makes the window cover the screen; SDL draws for the screen's size
    // all the same.
    if (config.mode != 0)
        X11::CoverDisplayWithoutWindowManager(window);
    X11::Watch(window);
    mWindow = window;
    mWindowLostNoted = false;
    SetMainWindow(window);
    mActive = true;
    // A new window starts active, and so does the audio output, paused since its set-up; where a window
    // manager sends focus events they pause and resume it from then on.
    if (Strata::IsAudioPlatformRegistered())
        Strata::GetAudioPlatform()->Activate(true);
    mRepaintPending = true;
    mPointerStale = true;
    ApplyHardwareCursor();
}

void ApplicationPlatform::DestroyWindow()
{
    if (mWindow == nullptr)
        return;
    X11::Watch(nullptr);
    SDL_CaptureMouse(SDL_FALSE);
    if (GetMainWindow() == mWindow)
        SetMainWindow(nullptr);
    X11::DestroyWindow(mWindow);
    mWindow = nullptr;
}

void ApplicationPlatform::EnsureWindowVisible()
{
    // SDL would wait for a lost window to be mapped, forever.
    if (mWindow == nullptr || X11::IsLost())
        return;
    SDL_ShowWindow(mWindow);
    if ((SDL_GetWindowFlags(mWindow) & SDL_WINDOW_MINIMIZED) != 0)
        SDL_RestoreWindow(mWindow);
    SDL_RaiseWindow(mWindow);
}

void ApplicationPlatform::EnableHardwareCursor(bool enable)
{
    mCursorEnabled = enable;
    ApplyHardwareCursor();
}

void ApplicationPlatform::SetHardwareCursor(Strata::eCursor cursor)
{
    if (!IsValidCursor(cursor))
        return;
    mCursorShape = cursor;
    ApplyHardwareCursor();
}

void ApplicationPlatform::ApplyHardwareCursor()
{
    if (!mSDLStarted)
        return;
    // An inactive window draws no cursor of its own (the main loop leaves it to the system), and none is
    // drawn outside the frame.
    const bool visible = (mCursorEnabled || !mActive || !mPointerInFrame) && mCursorShape != Strata::Cursor_None;
    if (visible)
    {
        SDL_Cursor*& cursor = mSystemCursors[mCursorShape];
        if (cursor == nullptr)
            cursor = SDL_CreateSystemCursor(SystemCursorFor(mCursorShape));
        // Without the shape (a display lacking it) the current cursor stays: still a cursor.
        if (cursor != nullptr)
            SDL_SetCursor(cursor);
    }
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

Strata::IImage* ApplicationPlatform::GetCustomCursorImage(Strata::eCursor cursor)
{
    return IsValidCursor(cursor) ? mCustomCursors[cursor].image : nullptr;
}

Strata::Vector2<int> ApplicationPlatform::GetCustomCursorHotSpot(Strata::eCursor cursor)
{
    return IsValidCursor(cursor) ? mCustomCursors[cursor].hotSpot : Strata::Vector2<int>();
}

void ApplicationPlatform::SetCustomCursorImage(Strata::eCursor cursor, Strata::IImage* image,
                                               const Strata::Vector2<int>& hotSpot)
{
    if (!IsValidCursor(cursor))
        return;
    mCustomCursors[cursor].image = image;
    mCustomCursors[cursor].hotSpot = hotSpot;
}

void ApplicationPlatform::GetSupportedWindowConfig(Strata::sWindowConfig* config)
{
    if (config == nullptr)
        return;
    if (config->mode != 0)
        config->mode = 1;
    config->width = kFrameWidth;
    config->height = kFrameHeight;
}

bool ApplicationPlatform::IsActive()
{
    return mActive;
}

bool ApplicationPlatform::IsQuitPending()
{
    return mQuitPending;
}

bool ApplicationPlatform::IsEventPending()
{
    if (!mSDLStarted)
        return false;
    if (X11::IsLost() || mPointerStale)
        return true; // HandleEvents asks to quit until the game agrees, or tells where the mouse is
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE)
        return true;
    // SDL's pump reads the X connection, a few system calls and Xlib's locking, and a still screen
    // looks 50 times a second to find nothing. It runs when the connection holds something, and
    // otherwise at least every kQuietPumpMS for what it does by the clock (a signal's quit, a focus
    // change SDL holds back, the screen saver kept off).
    const uint32_t now = SDL_GetTicks();
    if (!X11::MayHaveInput() && now - mLastPump < kQuietPumpMS)
        return false;
    PumpEvents();
    return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE;
}

void ApplicationPlatform::PumpEvents()
{
    mLastPump = SDL_GetTicks();
    SDL_PumpEvents();
}

bool ApplicationPlatform::IsRepaintPending()
{
    return mRepaintPending;
}

void ApplicationPlatform::ClearPendingRepaint()
{
    mRepaintPending = false;
}

void ApplicationPlatform::WaitForEvent()
{
    // Nothing more comes from a window that is gone, and the game must go on to its end.
    if (!mSDLStarted || X11::IsLost())
        return;
    // A null event leaves the event in the queue for HandleEvents.
    SDL_WaitEvent(nullptr);
}

void ApplicationPlatform::CaptureMouse()
{
    if (mSDLStarted)
        SDL_CaptureMouse(SDL_TRUE);
}

void ApplicationPlatform::ReleaseMouse()
{
    if (mSDLStarted)
        SDL_CaptureMouse(SDL_FALSE);
}

void ApplicationPlatform::SetApplicationTitle(const wchar_t* title)
{
    mTitle = title != nullptr ? title : L"";
    if (mWindow != nullptr)
        SDL_SetWindowTitle(mWindow, GetWindowTitle().c_str());
}

void ApplicationPlatform::ShowAboutBox()
{
    std::wstring product;
    std::wstring message;
    if (const Strata::IApplication* application = Strata::GetApplication())
    {
        const Strata::sApplicationDescriptor& descriptor = application->GetDescriptor();
        product = descriptor.productName != nullptr ? descriptor.productName : L"";
        message = product + L"\nVersion " + (descriptor.fullVersion != nullptr ? descriptor.fullVersion : L"") + L"\n" +
                  (descriptor.copyright != nullptr ? descriptor.copyright : L"");
    }
    ShowSystemAlert(L"About " + product, message, L"OK");
}

void ApplicationPlatform::MapToFrame(int windowX, int windowY, int32_t* frameX, int32_t* frameY) const
{
    int width = kFrameWidth;
    int height = kFrameHeight;
    if (mWindow != nullptr)
        SDL_GetWindowSize(mWindow, &width, &height);
    int x = 0;
    int y = 0;
    MapWindowToFrame(ComputeFrameViewport(width, height), windowX, windowY, &x, &y);
    *frameX = x;
    *frameY = y;
}

bool ApplicationPlatform::LocateMouse(Strata::Vector2<int>* position)
{
    return Locate(position) == ePointerPlace::OnWindow;
}

ApplicationPlatform::ePointerPlace ApplicationPlatform::Locate(Strata::Vector2<int>* position)
{
    mPointerStale = false;
    if (!mSDLStarted || mWindow == nullptr || X11::IsLost())
        return ePointerPlace::Unknown;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(mWindow, &width, &height);
    int x = 0;
    int y = 0;
    if (X11::QueryPointer(mWindow, &x, &y))
    {
        // Against where SDL places the window, which is where it draws: the X window may still be on
        // its way there (made where a window would be, then moved over the screen).
        int left = 0;
        int top = 0;
        SDL_GetWindowPosition(mWindow, &left, &top);
        x -= left;
        y -= top;
        // SDL stamps presses with its own idea, from the last event of the window, which may have come
        // before the window moved (the entry of a window made under the mouse); SDL even moves the mouse
        // there as the window leaves full screen. It is told what the X server knows.
        int sdlX = 0;
        int sdlY = 0;
        SDL_GetMouseState(&sdlX, &sdlY);
        if (x >= 0 && y >= 0 && x < width && y < height && (x != sdlX || y != sdlY))
            X11::SendPointerMotion(mWindow, x, y);
    }
    else
    {
        // Elsewhere only SDL's own idea is to be had.
        if (SDL_GetMouseFocus() != mWindow)
            return ePointerPlace::Unknown;
        SDL_GetMouseState(&x, &y);
    }
    int32_t frameX = 0;
    int32_t frameY = 0;
    MapToFrame(x, y, &frameX, &frameY);
    NotePointerInFrame(frameX, frameY);
    if (position != nullptr)
        *position = Strata::Vector2<int>(frameX, frameY);
    return x >= 0 && y >= 0 && x < width && y < height ? ePointerPlace::OnWindow : ePointerPlace::OffWindow;
}

void ApplicationPlatform::ReportPointer(Strata::IInputEventSink* sink)
{
    Strata::Vector2<int> position;
    const ePointerPlace place = Locate(&position);
    if (sink == nullptr || place == ePointerPlace::Unknown)
        return;
    Strata::sInputEvent input;
    input.type = place == ePointerPlace::OnWindow ? Strata::InputEvent_MouseMove : Strata::InputEvent_MouseLeave;
    input.x = position.x;
    input.y = position.y;
    sink->HandleEvent(input);
}

void ApplicationPlatform::NotePointerInFrame(int32_t frameX, int32_t frameY)
{
    // Over a letterbox's bars no picture is drawn: the system's arrow stands in.
    const bool inFrame = frameX >= 0 && frameY >= 0 && frameX < kFrameWidth && frameY < kFrameHeight;
    if (inFrame != mPointerInFrame)
    {
        mPointerInFrame = inFrame;
        ApplyHardwareCursor();
    }
}

void ApplicationPlatform::HandleEvents(Strata::IInputEventSink* sink)
{
    if (!mSDLStarted)
        return;
    // One pump, then only what is queued: a flood of new events cannot keep this loop going.
    PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        HandleEvent(event, sink);
    // After the events, which may have changed the window (F11) and told of a place from before.
    if (mPointerStale)
        ReportPointer(sink);
    if (mWindow != nullptr && X11::IsLost())
        HandleLostWindow(sink);
}

void ApplicationPlatform::HandleLostWindow(Strata::IInputEventSink* sink)
{
    // Another program destroyed the window: this ends the game as its close button does. The game
    // runs on as active until its quit handlers agree (a loading thread first stops), asked again at
    // every pass; drawing into the window meanwhile fails quietly.
    if (!mWindowLostNoted)
    {
        Strata::Internal::LogWrite("The window was destroyed from outside; quitting.\n");
        mWindowLostNoted = true;
    }
    SetActive(true, sink);
    Strata::MainLoop::RequestQuit();
}

void ApplicationPlatform::SetActive(bool active, Strata::IInputEventSink* sink)
{
    if (active == mActive)
        return;
    mActive = active;
    if (!active)
        SDL_CaptureMouse(SDL_FALSE);
    ApplyHardwareCursor();
    if (Strata::IsAudioPlatformRegistered())
        Strata::GetAudioPlatform()->Activate(active);
    if (sink != nullptr)
    {
        Strata::sInputEvent input;
        input.type = active ? Strata::InputEvent_Activate : Strata::InputEvent_Deactivate;
        sink->HandleEvent(input);
    }
}

bool ApplicationPlatform::HandleCommandKey(const SDL_Event& event)
{
    if (event.type != SDL_KEYDOWN)
        return false;
    const SDL_Keycode key = event.key.keysym.sym;
    const Uint16 modifiers = event.key.keysym.mod;
    const bool control = (modifiers & KMOD_CTRL) != 0;
    const bool alt = (modifiers & KMOD_ALT) != 0;
    if (key == SDLK_q && control)
    {
        if (event.key.repeat == 0)
            Strata::MainLoop::RequestQuit();
        return true;
    }
    if (key == SDLK_F11 || ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && alt))
    {
        if (event.key.repeat == 0)
            Strata::Window::ToggleMode();
        return true;
    }
    if (key == SDLK_F1)
    {
        if (event.key.repeat == 0)
            ShowAboutBox();
        return true;
    }
    return false;
}

void ApplicationPlatform::HandleWindowEvent(const SDL_Event& event, Strata::IInputEventSink* sink)
{
    // Events of a window replaced since (a mode switch) no longer matter.
    if (event.window.windowID != 0 && (mWindow == nullptr || event.window.windowID != SDL_GetWindowID(mWindow)))
        return;
    switch (event.window.event)
    {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        mRepaintPending = true;
        if (event.window.event == SDL_WINDOWEVENT_RESIZED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            mPointerStale = true;
        break;
    case SDL_WINDOWEVENT_MOVED:
        mPointerStale = true;
        break;
    case SDL_WINDOWEVENT_LEAVE:
        if (sink != nullptr)
        {
            Strata::sInputEvent input;
            input.type = Strata::InputEvent_MouseLeave;
            sink->HandleEvent(input);
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        SetActive(true, sink);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        SetActive(false, sink);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Strata::MainLoop::RequestQuit();
        break;
    default:
        break;
    }
}

void ApplicationPlatform::HandleEvent(const SDL_Event& event, Strata::IInputEventSink* sink)
{
    Strata::sInputEvent input;
    switch (event.type)
    {
    case SDL_QUIT:
        mQuitPending = true;
        return;
    case SDL_WINDOWEVENT:
        HandleWindowEvent(event, sink);
        return;
    case SDL_SYSWMEVENT:
        X11::NoteDestroyEvent(event);
        return;
    case SDL_MOUSEMOTION:
    {
        input.type = Strata::InputEvent_MouseMove;
        MapToFrame(event.motion.x, event.motion.y, &input.x, &input.y);
        NotePointerInFrame(input.x, input.y);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        switch (event.button.button)
        {
        case SDL_BUTTON_LEFT:
            input.code = Strata::MouseButton_Left;
            break;
        case SDL_BUTTON_RIGHT:
            input.code = Strata::MouseButton_Right;
            break;
        case SDL_BUTTON_MIDDLE:
            input.code = Strata::MouseButton_Middle;
            break;
        default:
            return; // the engine knows three buttons
        }
        input.type = event.type == SDL_MOUSEBUTTONDOWN ? Strata::InputEvent_MouseDown : Strata::InputEvent_MouseUp;
        MapToFrame(event.button.x, event.button.y, &input.x, &input.y);
        break;
    case SDL_MOUSEWHEEL:
    {
        float notches = event.wheel.preciseY;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (!std::isfinite(notches) || std::fabs(notches) > 1.0e6f)
            return;
        const long amount = std::lround(notches * kWheelDivisor);
        if (amount == 0)
            return; // a sideways turn
        input.type = Strata::InputEvent_MouseWheel;
        input.code = static_cast<uint32_t>(static_cast<int32_t>(amount));
        input.wheelDivisor = kWheelDivisor;
        MapToFrame(event.wheel.mouseX, event.wheel.mouseY, &input.x, &input.y);
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    {
        if (HandleCommandKey(event))
            return;
        const uint16_t code = TranslateKey(event.key.keysym.sym, event.key.keysym.scancode);
        if (code == Strata::Key_Null)
            return;
        input.type = event.type == SDL_KEYDOWN ? Strata::InputEvent_KeyDown : Strata::InputEvent_KeyUp;
        input.code = code;
        break;
    }
    case SDL_TEXTINPUT:
    {
        // SDL's buffer is null-terminated; the copy keeps the text alive until the sink returns.
        char bytes[sizeof(event.text.text) + 1];
        std::memcpy(bytes, event.text.text, sizeof(event.text.text));
        bytes[sizeof(event.text.text)] = '\0';
        const std::wstring text = Strata::ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(bytes));
        if (text.empty() || sink == nullptr)
            return;
        input.type = Strata::InputEvent_Text;
        input.text = text.c_str();
        sink->HandleEvent(input);
        return;
    }
    default:
        return;
    }
    if (sink != nullptr)
        sink->HandleEvent(input);
}

Strata::IPlatform* CreatePlatform()
{
    return new ApplicationPlatform();
}

} // namespace Linux
