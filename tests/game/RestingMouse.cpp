#include "RestingMouse.h"

#include "platform/linux/FrameViewport.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace RestingMouse
{

namespace
{

bool GameWindow(SDL_SysWMinfo* info)
{
    SDL_VERSION(&info->version);
    return SDL_GetWindowWMInfo(Linux::GetMainWindow(), info) == SDL_TRUE && info->subsystem == SDL_SYSWM_X11;
}

} // namespace

void PutAt(Strata::Vector2<int> screen)
{
    // A connection of its own: the game's may not be open yet.
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, screen.x, screen.y);
    XSync(display, False);
    XCloseDisplay(display);
}

Strata::Vector2<int> FrameAt(Strata::Vector2<int> screen)
{
    SDL_SysWMinfo info;
    if (!GameWindow(&info))
        return {-1, -1};
    Display* display = info.info.x11.display;
    int left = 0;
    int top = 0;
    Window child = None;
    XTranslateCoordinates(display, info.info.x11.window, DefaultRootWindow(display), 0, 0, &left, &top, &child);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(Linux::GetMainWindow(), &width, &height);
    Strata::Vector2<int> frame;
    Linux::MapWindowToFrame(Linux::ComputeFrameViewport(width, height), screen.x - left, screen.y - top, &frame.x,
                            &frame.y);
    return frame;
}

void Click()
{
    SDL_SysWMinfo info;
    ASSERT_TRUE(GameWindow(&info));
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Window window = info.info.x11.window;
    XEvent event{};
    Window child = None;
    unsigned int buttons = 0;
    XQueryPointer(display, window, &event.xbutton.root, &child, &event.xbutton.x_root, &event.xbutton.y_root,
                  &event.xbutton.x, &event.xbutton.y, &buttons);
    event.xbutton.window = window;
    event.xbutton.button = Button1;
    event.xbutton.same_screen = True;
    event.xbutton.time = CurrentTime;
    for (const int type : {ButtonPress, ButtonRelease})
    {
        event.type = type;
        event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
        XSendEvent(display, window, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
    }
    XSync(display, False);
    XCloseDisplay(display);
}

} // namespace RestingMouse
