#pragma once

#include "core/Rect.h"
#include "graphics/Canvas.h"
#include "graphics/DrawState.h"
#include "graphics/Image.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>

namespace Strata
{

// One image's pixels in a power-of-two OpenGL texture, made and uploaded on first use and uploaded
// again after the image changed. The image's texture link holds it, so it goes with its image.
//
// OpenGL is only ever called on the drawing thread (the one that made the screen canvas). A texture
// destroyed elsewhere (an image unloaded on the loader thread) hands its name to the drawing thread,
// which deletes it at the start of its next frame.
class OpenGLTexture final : public ITexture
{
public:
    // Reference count 1, no OpenGL name yet, content to upload. Does not link itself to the image: the
    // caller decides who holds the texture. A null image gives a texture of an empty image.
    explicit OpenGLTexture(const Image* image);
    OpenGLTexture(const OpenGLTexture&) = delete;
    OpenGLTexture& operator=(const OpenGLTexture&) = delete;

    void AddRef() override;
    // Destroys the texture when the count reaches 0.
    void Release() override;
    const sTextureDescriptor& GetDescriptor() const override { return mDescriptor; }
    const Image* GetImage() const override { return mImage; }
    void Refresh() override;
    void SendToRenderer() override {}
    // Deletes the OpenGL texture, if any; the next use makes and uploads it again. Drawing thread only.
    void Delete() override;

    // The OpenGL name, made and uploaded as needed (the area outside the image reads as transparent
    // black). 0 when the image is too large for the OpenGL implementation or empty: then nothing can be
    // drawn with it. Drawing thread only, with the context current.
    unsigned int GetTextureID();
    // Whether the texture holds an OpenGL name (and its memory) now.
    bool IsUploaded() const { return mName != 0; }

    // Every live texture, ordered by address. Guarded by GetAllTexturesMutex().
    static std::set<OpenGLTexture*>& gmAllTextures;
    static std::mutex& GetAllTexturesMutex();

    // Delete() on every live texture, then deletes the names that destroyed textures left behind.
    // Called by the graphics platform while its context is still current, before it destroys it.
    static void DeleteAll();
    // Deletes the names that textures destroyed away from the drawing thread left behind. Drawing thread
    // only, with the context current.
    static void DeletePendingNames();
    // Counts a frame begun and deletes the names of the textures not drawn in the last kUnusedFrames
    // frames (the next use uploads them again): an image that stays loaded off the screen, such as the
    // other pictures of a list or those of a screen left behind, keeps no texture memory. Drawing thread
    // only, with the context current.
    static void DeleteUnusedNames();
    static constexpr uint32_t kUnusedFrames = 120;

    // The thread whose OpenGL context draws; set by the screen canvas. Names of textures destroyed on any
    // other thread wait for DeletePendingNames.
    static void SetDrawingThread(bool current);

private:
    // Deletes the OpenGL texture now on the drawing thread, or queues its name.
    ~OpenGLTexture() override;

    std::atomic<int32_t> mRefCount{1};
    uint32_t mName = 0;
    sTextureDescriptor mDescriptor;
    const Image* mImage;
    int32_t mDirty = 1;
    uint32_t mLastUsedFrame = 0;
};

// The screen, drawn with immediate-mode OpenGL in a logical frame of the bounds' size (the graphics
// platform sets the viewport that maps it into the window). Needs a current OpenGL context with
// texturing and blending (source alpha, one minus source alpha) switched on. Only DrawImage honours the
// clip rectangle; the other operations draw where they are told (the drawing operations cut filled
// rectangles to it before they get here).
class OpenGLScreenCanvas final : public Graphics::IScreen,
                                 public ICanvas,
                                 public Graphics::ILineDrawingCanvas,
                                 public Graphics::IEllipseDrawingCanvas,
                                 public Graphics::IQuadDrawingCanvas
{
public:
    // Records the calling thread as the drawing thread.
    explicit OpenGLScreenCanvas(const Rect<int>& bounds);
    // Forgets the names still waiting for deletion: they belong to the context being torn down and must
    // never be deleted in a later one.
    ~OpenGLScreenCanvas() override;

    // --- IScreen ---
    // Clears the frame, sets an orthographic projection with (0, 0) at the top left and the bounds'
    // size, and deletes the names destroyed textures left behind. Returns 0.
    int BeginFrame() override;
    int EndFrame() override;

    // --- ICanvas ---
    Label GetKind() const override;
    const Rect<int>& GetBounds() const override { return mBounds; }
    bool QueryInterface(Label name, void** out) override;

    // --- ILineDrawingCanvas ---
    int DrawLine(float x1, float y1, float x2, float y2, const Graphics::sDrawState& state) override;

    // --- IEllipseDrawingCanvas ---
    // Radii that are negative, not finite or above Internal::kMaxCircleRadius draw nothing (1).
    int DrawLineCircle(float centerX, float centerY, float radius, const Graphics::sDrawState& state) override;
    int DrawFilledCircle(float centerX, float centerY, float radius, const Graphics::sDrawState& state) override;
    int DrawLineEllipse(const Rect<float>& bounds, const Graphics::sDrawState& state) override;
    int DrawFilledEllipse(const Rect<float>& bounds, const Graphics::sDrawState& state) override;

    // --- IQuadDrawingCanvas ---
    // Images need a texture, made by the registered graphics platform on first draw: without a
    // platform, or for an image kind other than Image, they draw nothing (1).
    int DrawFilledRect(const Rect<int>& rect, const Graphics::sDrawState& state) override;
    int DrawFilledRect(const Rect<float>& rect, const Graphics::sDrawState& state) override;
    int DrawImage(IImage* image, float x, float y, const Graphics::sDrawState& state) override;
    int DrawStretchedImage(IImage* image, const Rect<int>& destination, const Graphics::sDrawState& state) override;
    int DrawRotatedImage(IImage* image, float x, float y, Angle angle, const Graphics::sDrawState& state) override;
    int DrawStretchedRotatedImage(IImage* image, const Rect<int>& destination, Angle angle,
                                  const Graphics::sDrawState& state) override;
    // Vertex texture coordinates are in the image's own 0..1 range and are scaled into the texture.
    // An unknown kind, no vertices, or an image without a texture draw nothing (1).
    int DrawPrimitive(Graphics::PrimitiveKind kind, IImage* image, int vertexCount,
                      const Graphics::sPrimitiveVertex* vertices, const Graphics::sDrawState& state) override;

private:
    Rect<int> mBounds;
};

} // namespace Strata
