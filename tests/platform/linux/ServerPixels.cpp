#include "ServerPixels.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

using ScreenTest::Frame;
using Strata::Color32;

// What the X server shows in the window, read back from it.
Frame ReadFromServer(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    {
        ADD_FAILURE() << "not an X11 window";
        return Frame();
    }
    XSync(info.info.x11.display, False);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
    {
        ADD_FAILURE() << "XGetImage failed";
        return Frame();
    }
    Frame frame{width, height, std::vector<Color32>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const unsigned long pixel = XGetPixel(image, x, y);
            frame.pixels[static_cast<size_t>(y) * width + x] =
                Color32(uint8_t((pixel & image->red_mask) >> 16), uint8_t((pixel & image->green_mask) >> 8),
                        uint8_t(pixel & image->blue_mask), 255);
        }
    XDestroyImage(image);
    return frame;
}

void SyncWithServer(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        XSync(info.info.x11.display, False);
}

// Scribbles over what the server shows in the window, as a window laid over it would leave it.
void SpoilOnServer(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info))
    {
        ADD_FAILURE() << "not an X11 window";
        return;
    }
    Display* display = info.info.x11.display;
    GC gc = XCreateGC(display, info.info.x11.window, 0, nullptr);
    XSetForeground(display, gc, 0x00C0FFEEul);
    XFillRectangle(display, info.info.x11.window, gc, 0, 0, 4000, 4000);
    XFreeGC(display, gc);
    XSync(display, False);
}
