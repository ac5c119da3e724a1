#pragma once

#include "core/Vector2.h"
#include "framework/Cursor.h"
#include "framework/Platform.h"
#include "platform/linux/LinuxPlatform.h"

#include <chrono>
#include <cstdint>
#include <string>

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace Strata
{
class INetworkPlatform;
}

namespace Linux
{

// The keys the platform answers itself on every screen, before any mode sees them (HandleCommandKey),
// as `--help` lists them.
struct sCommandKey
{
    const char* keys;
    const char* action;
};
inline constexpr sCommandKey kCommandKeys[] = {
    {"Ctrl+Q", "quit the game"},
    {"F11, Alt+Enter", "switch between a window and full screen"},
    {"F1", "show the about box: the game's version and copyright"},
};

// The application platform on SDL2: the window, the event loop, cursors, the about box and the single
// instance lock. Main thread only. Registers itself as the platform when constructed and unregisters
// when destroyed.
class ApplicationPlatform final : public Platform, public Strata::IPlatform
{
public:
    ApplicationPlatform();
    // Releases whatever Setup made that Destroy has not released yet.
    ~ApplicationPlatform() override;

    // The files (Platform::Setup), the network platform, the window layer's graphics-platform maker and
    // frame hooks, the "image" resource factory, then SDL's video and events. Throws RuntimeError when
    // the files cannot be set up (nothing else is then done), when called a second time, or when SDL
    // cannot start on a display; Destroy releases what was made before the failure. Unless
    // SDL_VIDEODRIVER names a driver, only drivers with a screen are tried (x11 for DISPLAY, wayland
    // for WAYLAND_DISPLAY), again and again for up to the display wait while the display refuses
    // (its server may be starting together with the game): the game never runs unseen on a driver
    // without a screen.
    void Setup() override;
    // How long Setup waits for a named display that is not there yet; 10 seconds unless changed.
    void SetDisplayWait(std::chrono::milliseconds wait) { mDisplayWait = wait; }
    // Releases the window, the cursors, the instance lock, SDL and the network platform. Harmless when
    // called again or without Setup.
    void Destroy() override;
    // Takes an exclusive lock on "instance.lock" in the user folder and holds it until Destroy. True when
    // another process holds it; false when this platform holds it, and also when the lock file cannot
    // be opened (logged): a broken lock never keeps the game from starting.
    bool EnforceSingleInstance() override;
    // Replaces any window by a new one: mode 0 an 800 x 600 window centred on the screen, mode 1 the
    // whole desktop (no video-mode switch; without a window manager the window is itself moved over
    // the screen); an OpenGL window when the registered graphics platform has
    // the hardware capability. Throws RuntimeError "Could not create a window." with SDL's reason when
    // SDL is not started or the window cannot be made (the old window is then gone too).
    void CreateWindow(const Strata::sWindowConfig& config) override;
    void DestroyWindow() override;
    void EnsureWindowVisible() override;
    // The system cursor shows when enabled, or while the window is inactive or the pointer is off the
    // frame (on a letterbox's bar), and the chosen shape is not Cursor_None.
    void EnableHardwareCursor(bool enable) override;
    void SetHardwareCursor(Strata::eCursor cursor) override;
    // What SetCustomCursorImage stored for the shape; null and (0, 0) otherwise.
    Strata::IImage* GetCustomCursorImage(Strata::eCursor cursor) override;
    Strata::Vector2<int> GetCustomCursorHotSpot(Strata::eCursor cursor) override;
    // Any mode but 0 becomes 1 (full screen); the size becomes the logical frame's, 800 x 600, which
    // the full-screen window shows scaled.
    void GetSupportedWindowConfig(Strata::sWindowConfig* config) override;
    // True while the window has the input focus (and before the first window has been told otherwise).
    bool IsActive() override;
    // True once the system asked the program to end (SDL_QUIT: a signal, the session ending).
    bool IsQuitPending() override;
    // True also while the window is lost (see HandleEvents), and after a change of the window, until the
    // mouse is located on it. Pumps SDL's events only when the X
    // connection has something or kQuietPumpMS have passed since the last pump: input is seen at once,
    // what SDL does by the clock within that time.
    bool IsEventPending() override;
    // True after the window was exposed, shown, restored or resized.
    bool IsRepaintPending() override;
    void ClearPendingRepaint() override;
    // Takes every pending SDL event. Input becomes sInputEvents for the sink (mouse positions mapped
    // into the 800 x 600 frame, keys in Windows virtual-key numbers); a null sink only updates the
    // state. The window's close button and Ctrl+Q ask the quit handlers (MainLoop::RequestQuit); F11
    // and Alt+Enter toggle full screen; F1 shows the about box. Exceptions from switching the window
    // propagate. A window that another program destroyed asks the quit handlers too, at every call
    // until they agree, with the application kept active so that it runs on to its end.
    void HandleEvents(Strata::IInputEventSink* sink) override;
    // Blocks until an event is queued, leaving it in the queue. Returns at once when SDL is not started
    // or the window is lost.
    void WaitForEvent() override;
    // Mouse events keep coming while a button is held outside the window. Failure (no focus, no
    // support) is no error: events then stop at the window's edge.
    void CaptureMouse() override;
    void ReleaseMouse() override;
    // The title of the current window and of windows made later.
    void SetApplicationTitle(const wchar_t* title) override;
    // Asks the X server (on other drivers SDL, while the mouse is over the window), and sets SDL's own
    // idea of the mouse, which its presses carry, and the system arrow over a letterbox's bar by the
    // answer. HandleEvents does this on its own after the window was made, moved or resized, and tells
    // the sink: a move there, or a leave when the mouse is off the window.
    bool LocateMouse(Strata::Vector2<int>* position) override;

    // The image and hot spot the engine draws for a cursor shape while the custom cursor is on; the
    // game fills the table. The image is not owned. Shapes outside eCursor are ignored.
    void SetCustomCursorImage(Strata::eCursor cursor, Strata::IImage* image,
                              const Strata::Vector2<int>& hotSpot) override;

    // The product name, "Version " and the full version, and the copyright, in a message box (logged
    // when there is no display).
    void ShowAboutBox();

    SDL_Window* GetWindow() const { return mWindow; }

    static constexpr uint32_t kQuietPumpMS = 100;

private:
    static constexpr int kCursorCount = 5;

    struct sCustomCursor
    {
        Strata::IImage* image = nullptr;
        Strata::Vector2<int> hotSpot;
    };

    enum class ePointerPlace
    {
        Unknown,
        OffWindow,
        OnWindow
    };

    ePointerPlace Locate(Strata::Vector2<int>* position);
    void ReportPointer(Strata::IInputEventSink* sink);
    void NotePointerInFrame(int32_t frameX, int32_t frameY);
    void HandleEvent(const SDL_Event& event, Strata::IInputEventSink* sink);
    void HandleWindowEvent(const SDL_Event& event, Strata::IInputEventSink* sink);
    void HandleLostWindow(Strata::IInputEventSink* sink);
    // True when the key was a platform command (one of kCommandKeys) and is not passed on.
    bool HandleCommandKey(const SDL_Event& event);
    void SetActive(bool active, Strata::IInputEventSink* sink);
    void ApplyHardwareCursor();
    void StartVideoOnADisplay();
    void StopSDL();
    void PumpEvents();
    void MapToFrame(int windowX, int windowY, int32_t* frameX, int32_t* frameY) const;
    std::string GetWindowTitle() const;

    bool mSetUp = false;
    bool mSDLStarted = false;
    uint32_t mLastPump = 0; // SDL's ticks
    std::chrono::milliseconds mDisplayWait{10000};
    SDL_Window* mWindow = nullptr;
    bool mActive = true;
    bool mQuitPending = false;
    bool mRepaintPending = false;
    bool mWindowLostNoted = false;
    bool mCursorEnabled = true;
    // The last pointer position lies on the frame, not on a letterbox's bar.
    bool mPointerInFrame = true;
    // The window was made, moved or resized since the mouse was last located: a still mouse is now
    // somewhere else on it.
    bool mPointerStale = false;
    Strata::eCursor mCursorShape = Strata::Cursor_Arrow;
    SDL_Cursor* mSystemCursors[kCursorCount] = {};
    sCustomCursor mCustomCursors[kCursorCount];
    int mLockFile = -1;
    Strata::INetworkPlatform* mNetworkPlatform = nullptr;
    std::wstring mTitle;
};

// A new application platform (registered, not set up), for MainLoop::SetPlatformFactory.
Strata::IPlatform* CreatePlatform();

// Translates an SDL key into the engine's key code (Windows virtual-key numbering); 0 when the key has
// none. The key symbol decides (letters by the keyboard layout); keys whose symbol has no code fall back
// on their physical position on a US keyboard.
uint16_t TranslateKey(int32_t keycode, int scancode);

} // namespace Linux
