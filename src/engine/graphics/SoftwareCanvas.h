#pragma once

#include "core/Color.h"
#include "core/Rect.h"
#include "core/Vector2.h"
#include "graphics/Canvas.h"
#include "graphics/DrawState.h"

#include <memory>
#include <mutex>
#include <vector>

namespace Strata
{
class Image;
}

namespace Strata::Graphics
{

// Raw 32-bit pixels to blit into, rows packed top to bottom.
struct BLIT_TARGET
{
    Color32* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// A canvas drawing into the image (not owned; the canvas must not outlive it), with bounds
// (0, 0, image width, image height) fixed now. Every write marks the image changed.
ICanvas* CreateImageCanvas(Image* image);
// Deletes an image canvas; null or any other canvas is left alone.
void DestroyImageCanvas(ICanvas* canvas);

// Copies the image (or its source rectangle) with its top-left corner at (x, y), honouring the clip
// rectangle, flips, opacity and tint (imageColor) and, with DrawFlag_Blend, the image's alpha or colour
// key. Returns 1 for a null or empty source or target, zero opacity or an empty visible area, else 0.
int BlitImage(const Image* source, int x, int y, BLIT_TARGET* target, const sDrawState& state);
// Scales the image (or its source rectangle) into `rect` by nearest pixel. Returns 1 for a null source,
// an empty rectangle or source rectangle, or zero opacity, else 0.
int BlitStretchedImage(const Image* source, const Rect<int>& rect, BLIT_TARGET* target, const sDrawState& state);

// Each byte of the pixel scaled by the tint's (255 keeps it, 0 clears it).
Color32 ApplyTintToPixel(Color32 tint, Color32 pixel);
// The source over the destination by the source's alpha.
Color32 BlendColors(Color32 source, Color32 destination);

} // namespace Strata::Graphics

namespace Strata::Internal
{

// Circles larger than this are not drawn.
inline constexpr float kMaxCircleRadius = 16384.0f;

// Quarter arcs of circles, from (r, 0) to about (0, r), one list per half-pixel radius, computed once.
// Safe to use from several threads; lists never move once made.
template <class T>
class CircleVerticesCache
{
public:
    // The list for the radius rounded to the nearest half pixel; the empty list for a radius that
    // rounds to 0 or less, is not finite or exceeds kMaxCircleRadius.
    const std::vector<Vector2<T>>& GetCachedVertices(float radius);

private:
    std::mutex mMutex;
    std::vector<std::unique_ptr<std::vector<Vector2<T>>>> mLists;
    const std::vector<Vector2<T>> mEmpty{};
};

// Points as floats, for the screen canvas.
using CircleVerticesCacheF = CircleVerticesCache<float>;
// Points truncated to integers, for the image canvas.
using CircleVerticesCacheI = CircleVerticesCache<int>;

extern template class CircleVerticesCache<float>;
extern template class CircleVerticesCache<int>;

// The shared caches.
CircleVerticesCacheF& GetCircleVerticesF();
CircleVerticesCacheI& GetCircleVerticesI();

} // namespace Strata::Internal
