#pragma once

#include "core/Angle.h"
#include "core/Rect.h"
#include "graphics/Canvas.h"
#include "graphics/DrawState.h"

#include <cstdint>

namespace Strata
{
class IImage;
}

namespace Strata::Graphics
{

// The drawing operations. Each takes the state and the canvas to draw on (callers normally pass
// GetDrawState() or a changed copy, and GetCanvas()), and returns an eDrawResult: 0 drawn; 1 nothing
// to draw (null canvas or image, empty or clipped area); -2 the canvas lacks the ability; otherwise
// the canvas's own code. None of them throws.

// Lines go to the canvas's line drawing; without it they are plotted pixel by pixel (end points
// rounded, only inside the canvas bounds and the clip rectangle, blended when DrawFlag_Blend is set).
int DrawLine(float x1, float y1, float x2, float y2, const sDrawState& state, ICanvas* canvas);
// The outline just inside the rectangle: four lines, the code of the last one. An empty rectangle
// (width or height 0 or less) gives 1.
int DrawLineRect(const Rect<float>& rect, const sDrawState& state, ICanvas* canvas);
// The rectangle cut to the clip rectangle first; an empty result gives 1 without reaching the canvas.
int DrawFilledRect(const Rect<int>& rect, const sDrawState& state, ICanvas* canvas);
int DrawFilledRect(const Rect<float>& rect, const sDrawState& state, ICanvas* canvas);
int DrawLineEllipse(const Rect<float>& bounds, const sDrawState& state, ICanvas* canvas);
int DrawFilledEllipse(const Rect<float>& bounds, const sDrawState& state, ICanvas* canvas);
// The image (or its source rectangle with DrawFlag_SourceRect) placed by the state's alignment. A
// drawn size of 0 or less on either side gives 1.
int DrawImage(IImage* image, float x, float y, const sDrawState& state, ICanvas* canvas);
// The image turned about its centre; the anchor (x, y) is placed by the alignment and turns with the
// image.
int DrawRotatedImage(IImage* image, float x, float y, Angle angle, const sDrawState& state, ICanvas* canvas);
// The image scaled into the rectangle placed by the alignment. An empty rectangle gives 1; a null image
// is left to the canvas.
int DrawStretchedImage(IImage* image, const Rect<int>& rect, const sDrawState& state, ICanvas* canvas);

// The alignment shift for a thing of the given size: nothing, half (truncated) or all of it.
int GetAlignmentShift(int alignment, int size);

// For canvases: the visible part of an unscaled image draw with its top-left corner at (x, y). Stores
// in `destination` the part of (x, y, source size) inside `clip` and in `shownSource` the part of
// `source` that lands there, with flips taken into account (a draw mirrored left to right that loses
// its left edge to the clip loses the right end of the source). Returns false, storing nothing, when
// the source or the visible part is empty on either side.
bool ClipImageDraw(float x, float y, const Rect<float>& source, const Rect<int>& clip, uint32_t flags,
                   Rect<float>* destination, Rect<float>* shownSource);

} // namespace Strata::Graphics
