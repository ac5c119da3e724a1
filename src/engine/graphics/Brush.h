#pragma once

#include "core/Color.h"
#include "core/Rect.h"
#include "core/Vector2.h"
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

// Stretchable frames drawn from pieces that are repeated, never scaled. A brush is addressed by a base
// index b into an image list (b = 0 for the forms without one):
//   three brush:           b left cap, b + 1 middle, b + 2 right cap;
//   vertical three brush:  b top cap, b + 1 middle, b + 2 bottom cap;
//   nine brush:            b to b + 2 top row, b + 3 to b + 5 middle row, b + 6 to b + 8 bottom row.
// Positions and sizes are snapped to whole pixels once (floor). The caps are drawn flush with both ends
// (overlapping when the brush is narrower than they are), then middle pieces from the start, the last
// one cut by a source rectangle; a nine brush repeats its middle row downward, the last one cut by
// narrowing the clip rectangle. Pieces wholly outside the canvas bounds and the clip rectangle are
// skipped, so a huge brush costs only its visible part.
//
// Results: 0 drawn (the pieces' own codes are not examined); 1 null list; -1 a negative base index, a
// list with too few images, or a middle piece 0 pixels long along the repeat where one is needed
// (nothing is drawn then).
int DrawThreeBrush(IImageList* list, int base, float x, float y, float width, const sDrawState& state, ICanvas* canvas);
int DrawThreeBrush(IImageList* list, float x, float y, float width, const sDrawState& state, ICanvas* canvas);
int DrawThreeBrushVertical(IImageList* list, int base, float x, float y, float height, const sDrawState& state,
                           ICanvas* canvas);
int DrawThreeBrushVertical(IImageList* list, float x, float y, float height, const sDrawState& state, ICanvas* canvas);
int DrawNineBrush(IImageList* list, int base, float x, float y, float width, float height, const sDrawState& state,
                  ICanvas* canvas);
int DrawNineBrush(IImageList* list, float x, float y, float width, float height, const sDrawState& state,
                  ICanvas* canvas);

// The alpha of the three-brush pixel at (x, y) from the brush's top-left corner, as drawn at a whole
// position with a whole width. 0 outside the brush (x outside [0, width), y outside the height of image
// b), for a null list, a negative base, too few images, or a middle piece 0 pixels wide.
uint8_t GetThreeBrushPixelAlpha(const IImageList* list, int base, int x, int y, float width);

// Fills the area with copies of the image. The offset (brought into the image) is the image pixel shown
// at the area's top-left corner: the first row and column show the image from the offset onward, every
// other tile starts at the image's corner; tiles cut by the offset or the area's edges are drawn through
// source rectangles. The area's position and size are cut to whole pixels. Tiles wholly outside the
// canvas bounds and the clip rectangle are skipped. Returns 1 for a null or empty image or an area 0 or
// less on a side (nothing drawn), else 0 (the tiles' own codes are not examined).
int DrawTiledImageHV(IImage* image, const Rect<float>& area, Vector2<int> offset, const sDrawState& state,
                     ICanvas* canvas);
// One row of tiles as high as the image, with a horizontal offset (0 when not given).
int DrawTiledImageH(IImage* image, float x, float y, float width, int offsetX, const sDrawState& state,
                    ICanvas* canvas);
int DrawTiledImageH(IImage* image, float x, float y, float width, const sDrawState& state, ICanvas* canvas);
// One column of tiles as wide as the image, with a vertical offset (0 when not given).
int DrawTiledImageV(IImage* image, float x, float y, float height, int offsetY, const sDrawState& state,
                    ICanvas* canvas);
int DrawTiledImageV(IImage* image, float x, float y, float height, const sDrawState& state, ICanvas* canvas);

// The pixel the tiling shows at (x, y) from the corner of an area of the given size; opaque white for a
// point outside the area or a null or empty image.
Color32 GetTiledImageHVPixel(const IImage* image, Vector2<float> size, Vector2<int> offset, int x, int y);
// That pixel's alpha (255 outside the area).
uint8_t GetTiledImageHVAlpha(const IImage* image, Vector2<float> size, Vector2<int> offset, int x, int y);

} // namespace Strata::Graphics
