#include "platform/linux/OpenGLGraphicsPlatform.h"

#include "core/RuntimeError.h"
#include "graphics/OpenGLCanvas.h"
#include "platform/linux/FrameViewport.h"

#include <SDL.h>

#include <GL/gl.h>

#include <string>

namespace Linux
{

namespace
{

[[noreturn]] void ThrowContextError(const std::string& reason)
{
    STRATA_THROW(Strata::RuntimeError, "Could not create an OpenGL context: " + reason);
}

// The state every OpenGL canvas draws with: texturing and alpha blending always on.
void SetDrawingState()
{
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

} // namespace

OpenGLGraphicsPlatform::OpenGLGraphicsPlatform(unsigned long caps) : mCaps(caps | 2ul)
{
    Strata::RegisterSingleton(this);
}

OpenGLGraphicsPlatform::~OpenGLGraphicsPlatform()
{
    Cleanup();
    Strata::UnregisterSingleton(this);
}

const wchar_t* OpenGLGraphicsPlatform::GetName()
{
    return L"OpenGL";
}

void OpenGLGraphicsPlatform::GetSupportedWindowConfig(Strata::sWindowConfig*)
{
}

void OpenGLGraphicsPlatform::Setup(const Strata::sWindowConfig&)
{
    Cleanup();
    SDL_Window* window = GetMainWindow();
    if (!window)
        ThrowContextError("there is no window.");
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
        ThrowContextError(SDL_GetError());
    if (SDL_GL_MakeCurrent(window, context) != 0)
    {
        const std::string reason = SDL_GetError();
        SDL_GL_DeleteContext(context);
        ThrowContextError(reason);
    }
    SetDrawingState();
    try
    {
        mCanvas = std::make_unique<Strata::OpenGLScreenCanvas>(Strata::Rect<int>(0, 0, kFrameWidth, kFrameHeight));
    }
    catch (...)
    {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        throw;
    }
    mWindow = window;
    mContext = context;
}

void OpenGLGraphicsPlatform::Cleanup()
{
    if (!mContext)
        return;
    // The names belong to this context: delete them while it is current.
    SDL_GL_MakeCurrent(mWindow, mContext);
    Strata::OpenGLTexture::DeleteAll();
    mCanvas.reset();
    SDL_GL_MakeCurrent(mWindow, nullptr);
    SDL_GL_DeleteContext(mContext);
    mContext = nullptr;
    mWindow = nullptr;
}

int OpenGLGraphicsPlatform::BeginScene()
{
    if (!mCanvas)
        return 1;
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(mWindow, &width, &height);
    // The whole drawable, bars included (clearing ignores the viewport).
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const sFrameViewport viewport = ComputeFrameViewport(width, height);
    // OpenGL counts rows from the bottom.
    glViewport(viewport.x, height > 0 ? height - viewport.y - viewport.height : 0, viewport.width, viewport.height);
    mCanvas->BeginFrame();
    return 0;
}

int OpenGLGraphicsPlatform::EndScene()
{
    if (!mCanvas)
        return 1;
    mCanvas->EndFrame();
    SDL_GL_SwapWindow(mWindow);
    return 0;
}

Strata::ICanvas* OpenGLGraphicsPlatform::GetScreenCanvas()
{
    return mCanvas.get();
}

Strata::ITexture* OpenGLGraphicsPlatform::CreateTexture(const Strata::Image* image, const Strata::Rect<int>*)
{
    if (!image)
        return nullptr;
    return new Strata::OpenGLTexture(image);
}

} // namespace Linux
