#pragma once

struct SDL_Window;
union SDL_Event;

// What SDL leaves undone for the game's window on a bare X server: full screen without a window
// manager, and a window that another program destroys. Each does nothing unless SDL's video runs on
// its x11 driver. Main thread only.
namespace Linux::X11
{

// Without a window manager nobody acts on SDL's full-screen request: SDL sizes its surface for the
// desktop while the X window keeps the size it was made with. Moves and sizes the window over its
// display then. Nothing when a window manager runs (it does the full-screen itself).
void CoverDisplayWithoutWindowManager(SDL_Window* window);

// True when a window manager announces itself on the window's screen (_NET_SUPPORTING_WM_CHECK).
bool HasWindowManager(SDL_Window* window);

// Where the mouse is now on the window's screen, asked of the X server: SDL knows only what its last
// event said. False when the mouse is on another screen or SDL is not on x11.
bool QueryPointer(SDL_Window* window, int* screenX, int* screenY);
// Sends the window a motion to (x, y), relative to the window, as the X server sends one: SDL's own
// idea of the mouse follows when it reads it.
void SendPointerMotion(SDL_Window* window, int x, int y);

// Installs the process's X error handler once SDL's video has started, and asks SDL for the X events
// of its windows. An error about a watched window that no longer exists marks it lost instead of
// ending the process (Xlib's default), and so does any window error once a window was lost; any other
// error goes to the handler installed before.
void StartWatching();
// Puts the handler that was there before back; call after SDL's video has quit, so that errors about
// a lost window, which come in when SDL tears it down, are still caught.
void StopWatching();
// Watches the window (null: none) and clears the lost mark: from now on, its destruction by someone
// else makes IsLost true. The windows watched before stay watched (their late errors, as SDL tears a
// lost window down, are still caught) until StopWatching.
void Watch(SDL_Window* window);
// SDL_DestroyWindow, then waits for the server's answer, so that the errors about a lost window come
// in while the handler still catches them (SDL puts back Xlib's own, which ends the process, as it
// quits).
void DestroyWindow(SDL_Window* window);
// True when the event tells that the watched window was destroyed; the window is then lost.
bool NoteDestroyEvent(const SDL_Event& event);
// True once the window being watched was destroyed from outside.
bool IsLost();
// False only when nothing came in on the X connection of the watched window: no event that Xlib has
// read and queued, nothing from the server to read; one system call, and nothing is sent. True when
// no window is watched on X: the caller then pumps as always.
bool MayHaveInput();

} // namespace Linux::X11
