#pragma once

#include "KeepGLDriver.h"
#include "core/Color.h"
#include "platform/linux/FrameViewport.h"

#include <SDL.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Windows and frame read-back for tests that draw on a real (Xvfb) display.
namespace ScreenTest
{

// Starts SDL's video under X11 (whatever SDL_VIDEODRIVER said). False, with the reason, when there is
// no display. Video stays up until the process ends.
inline bool StartVideo(std::string* reason)
{
    setenv("SDL_VIDEODRIVER", "x11", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        *reason = std::string("no display: ") + SDL_GetError();
        return false;
    }
    // Inside our own start, so the display stays open (a server without clients resets).
    KeepGLDriverLoaded();
    return true;
}

// A shown window that is the main window while it lives.
class Window
{
public:
    Window(int width, int height, Uint32 flags)
        : mWindow(SDL_CreateWindow("Strata screen test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                                   height, flags | SDL_WINDOW_SHOWN))
    {
        if (!mWindow)
            ADD_FAILURE() << "SDL_CreateWindow: " << SDL_GetError();
        Linux::SetMainWindow(mWindow);
    }
    ~Window()
    {
        Linux::SetMainWindow(nullptr);
        if (mWindow)
            SDL_DestroyWindow(mWindow);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    SDL_Window* Get() const { return mWindow; }

private:
    SDL_Window* mWindow;
};

// Pixels read back, rows top to bottom.
struct Frame
{
    int width = 0;
    int height = 0;
    std::vector<Strata::Color32> pixels;

    Strata::Color32 At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
        {
            ADD_FAILURE() << "pixel (" << x << ", " << y << ") outside the frame";
            return Strata::Color32();
        }
        return pixels[static_cast<size_t>(y) * width + x];
    }
};

// The current OpenGL context's back buffer (before the swap).
inline Frame ReadBackBuffer(int width, int height)
{
    Frame frame{width, height, std::vector<Strata::Color32>(static_cast<size_t>(width) * height)};
    std::vector<Strata::Color32> bottomUp(frame.pixels.size());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bottomUp.data());
    for (int y = 0; y < height; ++y)
    {
        std::memcpy(&frame.pixels[static_cast<size_t>(y) * width],
                    &bottomUp[static_cast<size_t>(height - 1 - y) * width], static_cast<size_t>(width) * 4);
    }
    return frame;
}

// A window's surface as it was last shown, alpha as 255.
inline Frame ReadWindowSurface(SDL_Window* window)
{
    SDL_Surface* screen = SDL_GetWindowSurface(window);
    if (!screen)
    {
        ADD_FAILURE() << "no window surface: " << SDL_GetError();
        return Frame();
    }
    Frame frame{screen->w, screen->h, std::vector<Strata::Color32>(static_cast<size_t>(screen->w) * screen->h)};
    const int bytes = screen->format->BytesPerPixel;
    SDL_LockSurface(screen);
    for (int y = 0; y < screen->h; ++y)
    {
        for (int x = 0; x < screen->w; ++x)
        {
            Uint32 value = 0;
            std::memcpy(&value, static_cast<const Uint8*>(screen->pixels) + y * screen->pitch + x * bytes, bytes);
            Uint8 r, g, b;
            SDL_GetRGB(value, screen->format, &r, &g, &b);
            frame.pixels[static_cast<size_t>(y) * screen->w + x] = Strata::Color32(r, g, b, 255);
        }
    }
    SDL_UnlockSurface(screen);
    return frame;
}

// Red, green and blue each within `tolerance` (alpha is not compared).
inline ::testing::AssertionResult Near(Strata::Color32 actual, Strata::Color32 expected, int tolerance = 2)
{
    const auto off = [tolerance](int a, int b) { return a - b > tolerance || b - a > tolerance; };
    if (off(actual.r, expected.r) || off(actual.g, expected.g) || off(actual.b, expected.b))
    {
        return ::testing::AssertionFailure()
               << "(" << int(actual.r) << ", " << int(actual.g) << ", " << int(actual.b) << ") is not ("
               << int(expected.r) << ", " << int(expected.g) << ", " << int(expected.b) << ")";
    }
    return ::testing::AssertionSuccess();
}

constexpr Strata::Color32 kBlack(0, 0, 0, 255);
constexpr Strata::Color32 kWhite(255, 255, 255, 255);
constexpr Strata::Color32 kRed(255, 0, 0, 255);
constexpr Strata::Color32 kGreen(0, 255, 0, 255);
constexpr Strata::Color32 kBlue(0, 0, 255, 255);

} // namespace ScreenTest
