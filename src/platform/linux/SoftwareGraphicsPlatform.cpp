#include "platform/linux/SoftwareGraphicsPlatform.h"

#include "core/RuntimeError.h"
#include "graphics/Image.h"
#include "graphics/ScaleRow.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FrameViewport.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace Linux
{

namespace
{

// The SDL format whose bytes in memory are blue, green, red, alpha, as the engine's pixels are.
constexpr Uint32 kFrameFormat = SDL_BYTEORDER == SDL_LIL_ENDIAN ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_BGRA8888;

// True when the surface's pixels are words whose bytes in memory are blue, green, red and alpha or
// unused, as the frame's are: the frame is then scaled straight into them.
bool IsFrameLayout(const SDL_Surface* surface)
{
    const Uint32 format = surface->format->format;
    const bool little = SDL_BYTEORDER == SDL_LIL_ENDIAN;
    return format == kFrameFormat || format == (little ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_BGRX8888);
}

// The area of the frame scaled into the target rectangle of the screen by the engine's own rows; the
// screen rectangle written. False when the surface cannot be locked.
bool ScaleInto(SDL_Surface* screen, const SDL_Rect& target, const Strata::Image& frame, const Strata::Rect<int>& area,
               SDL_Rect* written)
{
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0)
        return false;
    const ptrdiff_t pitch = screen->pitch / static_cast<int>(sizeof(Strata::Color32));
    auto* pixels = static_cast<Strata::Color32*>(screen->pixels) + target.y * pitch + target.x;
    const Strata::Rect<int> rect =
        Strata::Graphics::ScaleNearestArea(frame.GetPixels(), frame.GetWidth(), frame.GetHeight(), frame.GetWidth(),
                                           pixels, target.w, target.h, pitch, area);
    *written = SDL_Rect{target.x + rect.x, target.y + rect.y, rect.width, rect.height};
    if (SDL_MUSTLOCK(screen))
        SDL_UnlockSurface(screen);
    return true;
}

[[noreturn]] void ThrowSetupError(const std::string& reason)
{
    STRATA_THROW(Strata::RuntimeError, "Could not set up the software renderer: " + reason);
}

} // namespace

SoftwareGraphicsPlatform::SoftwareGraphicsPlatform(unsigned long caps) : mCaps((caps | 1ul) & ~2ul)
{
    Strata::RegisterSingleton(this);
}

SoftwareGraphicsPlatform::~SoftwareGraphicsPlatform()
{
    Cleanup();
    Strata::UnregisterSingleton(this);
}

const wchar_t* SoftwareGraphicsPlatform::GetName()
{
    return L"Software";
}

void SoftwareGraphicsPlatform::GetSupportedWindowConfig(Strata::sWindowConfig*)
{
}

void SoftwareGraphicsPlatform::Setup(const Strata::sWindowConfig&)
{
    Cleanup();
    SDL_Window* window = GetMainWindow();
    if (!window)
        ThrowSetupError("there is no window.");
    // The software renderer stays off OpenGL altogether: SDL would otherwise show the window surface
    // through a GL texture, loading the GL driver the user asked to avoid.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!SDL_GetWindowSurface(window))
        ThrowSetupError(std::string("the window has no surface: ") + SDL_GetError());
    auto frame = std::make_unique<Strata::Image>(kFrameWidth, kFrameHeight);
    if (frame->IsEmpty())
        ThrowSetupError("no memory for the frame.");
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(frame->GetPixels(), kFrameWidth, kFrameHeight, 32,
                                                              kFrameWidth * 4, kFrameFormat);
    if (!surface)
        ThrowSetupError(SDL_GetError());
    // Copied as they are: the frame's alpha means nothing on the screen.
    SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
    Strata::ICanvas* canvas = Strata::Graphics::CreateImageCanvas(frame.get());
    mWindow = window;
    mFrame = std::move(frame);
    mFrameSurface = surface;
    mCanvas = canvas;
}

void SoftwareGraphicsPlatform::Cleanup()
{
    Strata::Graphics::DestroyImageCanvas(mCanvas);
    mCanvas = nullptr;
    if (mFrameSurface)
    {
        SDL_FreeSurface(mFrameSurface);
        mFrameSurface = nullptr;
    }
    mFrame.reset();
    mWindow = nullptr;
    mFrameKept = false;
    mAreaScene = false;
    mWholeWindow = true;
    mShownSurface = nullptr;
}

int SoftwareGraphicsPlatform::BeginScene()
{
    if (!mCanvas)
        return 1;
    std::memset(static_cast<void*>(mFrame->GetPixels()), 0,
                static_cast<size_t>(kFrameWidth) * kFrameHeight * sizeof(Strata::Color32));
    mFrame->MarkChanged();
    mScene = Strata::sSceneArea(Strata::Rect<int>(0, 0, kFrameWidth, kFrameHeight));
    mAreaScene = false;
    mWholeWindow = true;
    return 0;
}

int SoftwareGraphicsPlatform::BeginSceneArea(const Strata::sSceneArea& scene)
{
    const Strata::Rect<int> whole(0, 0, kFrameWidth, kFrameHeight);
    Strata::sSceneArea kept;
    for (int i = 0; i < scene.rectCount; ++i)
    {
        const Strata::Rect<int> area = scene.rects[i].getIntersection(whole);
        if (!area.isEmpty())
            kept.rects[kept.rectCount++] = area;
    }
    const bool all = kept.rectCount == 1 && kept.rects[0] == whole;
    if (!mCanvas || (!all && !mFrameKept))
        return 1;
    for (int i = 0; i < kept.rectCount && !scene.covered; ++i)
    {
        const Strata::Rect<int>& area = kept.rects[i];
        for (int y = area.y; y < area.y + area.height; ++y)
            std::memset(static_cast<void*>(mFrame->GetPixels() + y * kFrameWidth + area.x), 0,
                        static_cast<size_t>(area.width) * sizeof(Strata::Color32));
    }
    if (kept.rectCount > 0)
        mFrame->MarkChanged();
    mScene = kept;
    mAreaScene = true;
    mWholeWindow = mWholeWindow || scene.wholeWindow;
    return 0;
}

int SoftwareGraphicsPlatform::EndScene()
{
    if (!mCanvas)
        return 1;
    mFrameKept = mAreaScene;
    mAreaScene = false;
    // Asked for every frame: the window's surface is re-made when the window changes size.
    SDL_Surface* screen = SDL_GetWindowSurface(mWindow);
    const bool shown = screen && Present(screen);
    // A window not shown as it should be is shown whole next time.
    mWholeWindow = !shown;
    return shown ? 0 : -1;
}

bool SoftwareGraphicsPlatform::Present(SDL_Surface* screen)
{
    const sFrameViewport viewport = ComputeFrameViewport(screen->w, screen->h);
    SDL_Rect target{viewport.x, viewport.y, viewport.width, viewport.height};
    // SDL's own stretch is several times slower than the engine's rows; it serves other pixel layouts.
    const bool ownRows = IsFrameLayout(screen) && screen->pitch % static_cast<int>(sizeof(Strata::Color32)) == 0;
    const bool whole =
        mWholeWindow || !ownRows || screen != mShownSurface || screen->w != mShownWidth || screen->h != mShownHeight;
    if (whole)
    {
        // The bars around the frame: the frame covers the rest.
        const Uint32 black = SDL_MapRGB(screen->format, 0, 0, 0);
        const SDL_Rect bars[] = {{0, 0, screen->w, target.y},
                                 {0, target.y + target.h, screen->w, screen->h - target.y - target.h},
                                 {0, target.y, target.x, target.h},
                                 {target.x + target.w, target.y, screen->w - target.x - target.w, target.h}};
        for (const SDL_Rect& bar : bars)
            if (bar.w > 0 && bar.h > 0 && SDL_FillRect(screen, &bar, black) != 0)
                return false;
        SDL_Rect written;
        const bool scaled =
            ownRows ? ScaleInto(screen, target, *mFrame, Strata::Rect<int>(0, 0, kFrameWidth, kFrameHeight), &written)
                    : SDL_BlitScaled(mFrameSurface, nullptr, screen, &target) == 0;
        if (!scaled || SDL_UpdateWindowSurface(mWindow) != 0)
            return false;
        mShownSurface = screen;
        mShownWidth = screen->w;
        mShownHeight = screen->h;
        return true;
    }
    SDL_Rect written[Strata::sSceneArea::kMaxRects];
    int count = 0;
    for (int i = 0; i < mScene.rectCount; ++i)
    {
        if (!ScaleInto(screen, target, *mFrame, mScene.rects[i], &written[count]))
            return false;
        if (written[count].w > 0 && written[count].h > 0)
            ++count;
    }
    return count == 0 || SDL_UpdateWindowSurfaceRects(mWindow, written, count) == 0;
}

Strata::ICanvas* SoftwareGraphicsPlatform::GetScreenCanvas()
{
    return mCanvas;
}

Strata::ITexture* SoftwareGraphicsPlatform::CreateTexture(const Strata::Image*, const Strata::Rect<int>*)
{
    return nullptr;
}

} // namespace Linux
