#pragma once

#include "core/Rect.h"
#include "graphics/GraphicsPlatform.h"

#include <memory>

struct SDL_Surface;
struct SDL_Window;

namespace Linux
{

// The software renderer: the frame is drawn into an 800 x 600 image by the image canvas and shown
// through the main window's surface, scaled to fit with black bars. Registers itself as the graphics
// platform when constructed and unregisters when destroyed.
class SoftwareGraphicsPlatform final : public Strata::IGraphicsPlatform
{
public:
    // `caps` are the capability flags asked for; the result has the software flag (1) and never the
    // hardware one (2).
    explicit SoftwareGraphicsPlatform(unsigned long caps = 1);
    // Cleans up what Setup made, then unregisters.
    ~SoftwareGraphicsPlatform() override;
    SoftwareGraphicsPlatform(const SoftwareGraphicsPlatform&) = delete;
    SoftwareGraphicsPlatform& operator=(const SoftwareGraphicsPlatform&) = delete;

    const wchar_t* GetName() override;
    // Any window configuration suits: the frame is scaled into whatever window is made.
    void GetSupportedWindowConfig(Strata::sWindowConfig* config) override;
    unsigned long GetCaps() override { return mCaps; }
    // Binds to Linux::GetMainWindow() and makes the frame image and its canvas, after releasing what an
    // earlier Setup made. Throws RuntimeError when there is no window or it has no surface; nothing is
    // kept then.
    void Setup(const Strata::sWindowConfig& config) override;
    // Releases the canvas, the image and the window binding. Harmless when nothing is set up.
    void Cleanup() override;
    // Clears the frame to transparent black; the window is shown whole, bars and all. 0; 1 (draw
    // nothing) when not set up.
    int BeginScene() override;
    // Clears only the scene's rectangles (unless covered) and shows only them, unless the window changed,
    // lost what it showed or was not shown last time. 1 when not set up, or for a part of the frame when the last
    // scene was not begun here.
    int BeginSceneArea(const Strata::sSceneArea& scene) override;
    // Shows the scene's area of the frame scaled into the middle of the window, and the black bars
    // around it when the window is shown whole. 0; 1 when not set up; -1 when the window's surface
    // cannot be had or written (the frame is not shown; the next scene shows the whole window).
    int EndScene() override;
    // The image canvas of the frame; null when not set up.
    Strata::ICanvas* GetScreenCanvas() override;
    // Always null: the image canvas draws images directly.
    Strata::ITexture* CreateTexture(const Strata::Image* image, const Strata::Rect<int>* subRect) override;

private:
    // Shows the scene in the screen surface; false when it cannot be written.
    bool Present(SDL_Surface* screen);

    unsigned long mCaps;
    SDL_Window* mWindow = nullptr;
    std::unique_ptr<Strata::Image> mFrame;
    Strata::ICanvas* mCanvas = nullptr;
    // Over the frame's pixels, in their byte order.
    SDL_Surface* mFrameSurface = nullptr;
    // The parts of the frame this scene draws, and whether BeginSceneArea began it.
    Strata::sSceneArea mScene;
    bool mAreaScene = false;
    // The frame holds what the last scene begun by BeginSceneArea drew.
    bool mFrameKept = false;
    // The next present shows the whole window.
    bool mWholeWindow = true;
    // The window surface last shown whole, and its size: another one needs its bars.
    SDL_Surface* mShownSurface = nullptr;
    int mShownWidth = 0;
    int mShownHeight = 0;
};

} // namespace Linux
