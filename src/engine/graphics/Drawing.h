#pragma once

#include "core/Angle.h"
#include "core/Rect.h"
#include "graphics/Canvas.h"
#include "graphics/DrawState.h"

#include <cstdint>

namespace Strata
{
class IImage;
class IImageList;
} // namespace Strata

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
// The image scaled to the (unturned) rectangle, then turned by the angle about `pivot`, a point given
// in the same frame as the rectangle. The state's alignments are not used. An empty rectangle gives 1.
int DrawStretchedRotatedImage(IImage* image, const Rect<float>& rect, const Vector2<float>& pivot, Angle angle,
                              const sDrawState& state, ICanvas* canvas);
// Image `index` of the list through the list's own DrawImage and DrawStretchedImage. A null list or
// canvas gives 1.
int DrawImageList(IImageList* list, int index, float x, float y, const sDrawState& state, ICanvas* canvas);
int DrawStretchedImageList(IImageList* list, int index, const Rect<float>& rect, const sDrawState& state,
                           ICanvas* canvas);

// One line of text in the state's font, placed by the alignment (its width from the font's string width,
// its height the glyph height). In outline mode the effect colour (with the effect alpha times the colour
// alpha) is drawn first at the eight points effectOffset away, in drop-shadow mode once at effectOffset;
// then the text in the colour. A canvas that draws text itself gets each line whole; any other is drawn
// glyph by glyph through its image drawing, tinted by the colour. Returns the main line's code: 1 for a
// null canvas, font or text, or an empty text; -2 when the canvas can draw neither text nor images.
int DrawText(const wchar_t* text, float x, float y, const sDrawState& state, ICanvas* canvas);
// The text word-wrapped at `width` in the state's font, lines one glyph height apart, each placed by
// the horizontal alignment and the block by the vertical one. `bounds`, when given, receives the
// block's left, top, widest line and total height. Returns the last line's code (1 for a null canvas,
// font or text).
int DrawWrappedText(const wchar_t* text, float x, float y, float width, Rect<float>* bounds, const sDrawState& state,
                    ICanvas* canvas);
int DrawWrappedText(const wchar_t* text, float x, float y, float width, const sDrawState& state, ICanvas* canvas);

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
