#pragma once

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
    // Clears the frame to transparent black. 0; 1 (draw nothing) when not set up.
    int BeginScene() override;
    // Shows the frame in the window: black bars, the frame scaled into the middle. 0; 1 when not set
    // up; -1 when the window's surface cannot be had or written (the frame is not shown).
    int EndScene() override;
    // The image canvas of the frame; null when not set up.
    Strata::ICanvas* GetScreenCanvas() override;
    // Always null: the image canvas draws images directly.
    Strata::ITexture* CreateTexture(const Strata::Image* image, const Strata::Rect<int>* subRect) override;

private:
    unsigned long mCaps;
    SDL_Window* mWindow = nullptr;
    std::unique_ptr<Strata::Image> mFrame;
    Strata::ICanvas* mCanvas = nullptr;
    // Over the frame's pixels, in their byte order.
    SDL_Surface* mFrameSurface = nullptr;
};

} // namespace Linux
