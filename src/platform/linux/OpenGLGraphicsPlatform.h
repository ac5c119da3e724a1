#pragma once

#include "graphics/GraphicsPlatform.h"

#include <memory>

struct SDL_Window;

namespace Strata
{
class OpenGLScreenCanvas;
}

namespace Linux
{

// The hardware renderer: an OpenGL 2.1 compatibility context on the main window, and the OpenGL screen
// canvas drawing the logical frame scaled into the window with black bars. Registers itself as the
// graphics platform when constructed and unregisters when destroyed.
class OpenGLGraphicsPlatform final : public Strata::IGraphicsPlatform
{
public:
    // `caps` are the capability flags asked for; the hardware flag (2) is always among them.
    explicit OpenGLGraphicsPlatform(unsigned long caps = 2);
    // Cleans up what Setup made, then unregisters.
    ~OpenGLGraphicsPlatform() override;
    OpenGLGraphicsPlatform(const OpenGLGraphicsPlatform&) = delete;
    OpenGLGraphicsPlatform& operator=(const OpenGLGraphicsPlatform&) = delete;

    const wchar_t* GetName() override;
    // Any window configuration suits: the frame is scaled into whatever window is made.
    void GetSupportedWindowConfig(Strata::sWindowConfig* config) override;
    unsigned long GetCaps() override { return mCaps; }
    // Makes the context on Linux::GetMainWindow() (made with SDL_WINDOW_OPENGL), sets the drawing state
    // the canvas relies on and creates an 800 x 600 screen canvas. Releases what an earlier Setup made
    // first. Throws RuntimeError ("Could not create an OpenGL context: ..." with the reason) when there is
    // no window or the context cannot be made or made current; nothing is kept then.
    void Setup(const Strata::sWindowConfig& config) override;
    // Deletes every texture's OpenGL name (they are made again on next use), the canvas and the context.
    // Harmless when nothing is set up.
    void Cleanup() override;
    // Maps the frame into the middle of the drawable, clears the whole drawable to black and begins the
    // canvas's frame. 0; 1 (draw nothing) when not set up.
    int BeginScene() override;
    // Ends the canvas's frame and shows it. 0; 1 when not set up.
    int EndScene() override;
    // Null when not set up.
    Strata::ICanvas* GetScreenCanvas() override;
    // A new OpenGL texture of the image (reference count 1), whose name is made on first draw; null for
    // a null image. The sub-rectangle is not supported and ignored: the texture shows the whole image.
    Strata::ITexture* CreateTexture(const Strata::Image* image, const Strata::Rect<int>* subRect) override;

private:
    unsigned long mCaps;
    SDL_Window* mWindow = nullptr;
    void* mContext = nullptr; // SDL_GLContext
    std::unique_ptr<Strata::OpenGLScreenCanvas> mCanvas;
};

} // namespace Linux
