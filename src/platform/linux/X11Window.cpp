#include "platform/linux/X11Window.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace Linux::X11
{

namespace
{

XErrorHandler gPreviousHandler = nullptr;
bool gWatching = false;
// Every window watched since StartWatching: their late errors are caught too.
std::vector<::Window> gWatched;
std::atomic<::Window> gCurrent{0};
// The connection of the watched window; null when none is watched.
Display* gDisplay = nullptr;
std::atomic<bool> gLost{false};
// Once a window was lost SDL goes on asking about it, and about what the failed answers left in its
// variables (a parent window that XQueryTree did not fill in): every window error is expected then.
std::atomic<bool> gSomeLost{false};

bool IsX11()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

bool GetInfo(SDL_Window* window, SDL_SysWMinfo* info)
{
    if (window == nullptr || !IsX11())
        return false;
    SDL_VERSION(&info->version);
    return SDL_GetWindowWMInfo(window, info) == SDL_TRUE && info->subsystem == SDL_SYSWM_X11;
}

// Runs inside Xlib: no requests to the server from here.
int HandleError(Display* display, XErrorEvent* error)
{
    // Drawing into or configuring a window that is gone; extension errors (the shared-memory image,
    // GLX) name the drawable too. Once one is lost, SDL's tear-down of what it drew with fails as well.
    const bool aboutAWindow =
        error->error_code == BadWindow || error->error_code == BadDrawable || error->error_code >= FirstExtensionError;
    const bool watched = std::find(gWatched.begin(), gWatched.end(), error->resourceid) != gWatched.end();
    if ((aboutAWindow && watched) || (gSomeLost && (aboutAWindow || error->error_code == BadGC)))
    {
        if (error->resourceid == gCurrent.load())
            gLost = gSomeLost = true;
        return 0;
    }
    return gPreviousHandler != nullptr ? gPreviousHandler(display, error) : 0;
}

} // namespace

bool HasWindowManager(SDL_Window* window)
{
    SDL_SysWMinfo info;
    if (!GetInfo(window, &info))
        return false;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &left, &data) == Success &&
                       type == XA_WINDOW && format == 32 && count == 1;
    const bool named = found && *reinterpret_cast<::Window*>(data) != None;
    if (data != nullptr)
        XFree(data);
    return named;
}

bool QueryPointer(SDL_Window* window, int* screenX, int* screenY)
{
    SDL_SysWMinfo info;
    if (!GetInfo(window, &info))
        return false;
    ::Window root = None;
    ::Window child = None;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    return XQueryPointer(info.info.x11.display, info.info.x11.window, &root, &child, screenX, screenY, &windowX,
                         &windowY, &buttons) == True;
}

void SendPointerMotion(SDL_Window* window, int x, int y)
{
    SDL_SysWMinfo info;
    if (!GetInfo(window, &info))
        return;
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.window = info.info.x11.window;
    event.xmotion.root = DefaultRootWindow(info.info.x11.display);
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.same_screen = True;
    event.xmotion.time = CurrentTime;
    XSendEvent(info.info.x11.display, info.info.x11.window, False, PointerMotionMask, &event);
    XFlush(info.info.x11.display);
}

void CoverDisplayWithoutWindowManager(SDL_Window* window)
{
    SDL_SysWMinfo info;
    if (!GetInfo(window, &info) || HasWindowManager(window))
        return;
    SDL_Rect bounds;
    const int index = SDL_GetWindowDisplayIndex(window);
    if (index < 0 || SDL_GetDisplayBounds(index, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0)
        return;
    XMoveResizeWindow(info.info.x11.display, info.info.x11.window, bounds.x, bounds.y, static_cast<unsigned>(bounds.w),
                      static_cast<unsigned>(bounds.h));
    XFlush(info.info.x11.display);
}

void StartWatching()
{
    if (gWatching || !IsX11())
        return;
    gPreviousHandler = XSetErrorHandler(&HandleError);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    gWatching = true;
}

void StopWatching()
{
    if (!gWatching)
        return;
    // SDL may have put its own handler back when it quit; only ours is replaced.
    const XErrorHandler current = XSetErrorHandler(gPreviousHandler);
    if (current != &HandleError)
        XSetErrorHandler(current);
    gPreviousHandler = nullptr;
    gWatched.clear();
    gCurrent = 0;
    gDisplay = nullptr;
    gLost = gSomeLost = false;
    gWatching = false;
}

void Watch(SDL_Window* window)
{
    SDL_SysWMinfo info;
    gLost = false;
    gCurrent = 0;
    gDisplay = nullptr;
    if (!gWatching || !GetInfo(window, &info))
        return;
    gCurrent = info.info.x11.window;
    gDisplay = info.info.x11.display;
    if (std::find(gWatched.begin(), gWatched.end(), info.info.x11.window) == gWatched.end())
        gWatched.push_back(info.info.x11.window);
}

void DestroyWindow(SDL_Window* window)
{
    SDL_SysWMinfo info;
    Display* display = gWatching && GetInfo(window, &info) ? info.info.x11.display : nullptr;
    SDL_DestroyWindow(window);
    if (display != nullptr)
        XSync(display, False);
}

bool NoteDestroyEvent(const SDL_Event& event)
{
    if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr || event.syswm.msg->subsystem != SDL_SYSWM_X11)
        return false;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    if (x.type != DestroyNotify || gCurrent.load() == 0 || x.xdestroywindow.window != gCurrent.load())
        return false;
    gLost = gSomeLost = true;
    return true;
}

bool IsLost()
{
    return gLost;
}

bool MayHaveInput()
{
    if (gDisplay == nullptr)
        return true;
    // No flush: Xlib's reads the connection on every call. SDL flushes its own requests, and the pump
    // that runs now and then flushes whatever else waits.
    if (XEventsQueued(gDisplay, QueuedAlready) > 0)
        return true;
    pollfd connection{ConnectionNumber(gDisplay), POLLIN, 0};
    // A failed look counts as input: the pump then finds out.
    return poll(&connection, 1, 0) != 0;
}

} // namespace Linux::X11
