#include "graphics/Brush.h"

#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"

#include <algorithm>

namespace Strata::Graphics
{

namespace
{

// Cuts [start, start + length) into spans of `period`, the first one beginning `offset` into its period
// (offset in [0, period)), the last one cut at the end. Calls visit(position, offset into the period,
// span length) for the spans that reach into [low, high), in order. Spans before `low` are stepped over
// without a loop, so the cost is that of the spans visited. `period` must be above 0.
template <class Visit>
void ForEachSpan(long long start, long long length, long long offset, long long period, long long low, long long high,
                 Visit visit)
{
    long long position = start;
    long long remaining = length;
    if (remaining <= 0)
        return;
    const long long first = std::min(period - offset, remaining);
    if (position + first <= low)
    {
        position += first;
        remaining -= first;
        offset = 0;
        const long long skipped = (low - position) / period * period;
        if (skipped >= remaining)
            return;
        position += skipped;
        remaining -= skipped;
    }
    while (remaining > 0 && position < high)
    {
        const long long span = std::min(period - offset, remaining);
        visit(position, offset, span);
        position += span;
        remaining -= span;
        offset = 0;
    }
}

// The part of the canvas a draw can touch, as [left, right) and [top, bottom).
struct Visible
{
    long long left = 0;
    long long top = 0;
    long long right = 0;
    long long bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
};

Visible GetVisible(ICanvas* canvas, const sDrawState& state)
{
    Visible visible;
    if (!canvas)
        return visible;
    const Rect<int> area = canvas->GetBounds().getIntersection(state.clipRect);
    if (area.isEmpty())
        return visible;
    visible.left = area.x;
    visible.top = area.y;
    visible.right = static_cast<long long>(area.x) + area.width;
    visible.bottom = static_cast<long long>(area.y) + area.height;
    return visible;
}

float ToFloat(long long value)
{
    return static_cast<float>(value);
}

// True when the list holds `needed` images from `base` on.
bool HasImages(const IImageList* list, int base, int needed)
{
    return base >= 0 && static_cast<long long>(list->GetNumImages()) >= static_cast<long long>(base) + needed;
}

// A three brush along x (horizontal) or y, between two snapped ends; `across` is the other coordinate.
struct ThreeBrush
{
    int base = 0;
    bool vertical = false;
    long long start = 0;
    long long end = 0;
    long long across = 0;

    int Length(const IImageList* list, int i) const
    {
        return vertical ? list->GetImageHeight(i) : list->GetImageWidth(i);
    }
    // The length the middle pieces fill.
    long long MiddleLength(const IImageList* list) const
    {
        return (end - start) - Length(list, base) - Length(list, base + 2);
    }
    // False when middle pieces are needed but would make no progress.
    bool CanDraw(const IImageList* list) const { return MiddleLength(list) <= 0 || Length(list, base + 1) > 0; }

    void DrawPiece(IImageList* list, int i, long long along, const sDrawState& state, ICanvas* canvas) const
    {
        if (vertical)
            DrawImageList(list, i, ToFloat(across), ToFloat(along), state, canvas);
        else
            DrawImageList(list, i, ToFloat(along), ToFloat(across), state, canvas);
    }

    // Caps first, then the middle pieces; CanDraw must hold.
    void Draw(IImageList* list, const sDrawState& state, ICanvas* canvas) const
    {
        const int startCap = Length(list, base);
        const int endCap = Length(list, base + 2);
        const long long gap = (end - start) - startCap;
        const long long position = start + startCap;
        DrawPiece(list, base, start, state, canvas);
        DrawPiece(list, base + 2, position + gap - endCap, state, canvas);

        const long long remaining = gap - endCap;
        if (remaining <= 0)
            return;
        const int middle = Length(list, base + 1);
        const Visible visible = GetVisible(canvas, state);
        if (visible.IsEmpty())
            return;
        const long long low = (vertical ? visible.top : visible.left) - middle;
        const long long high = (vertical ? visible.bottom : visible.right) + middle;
        ForEachSpan(position, remaining, 0, middle, low, high,
                    [&](long long along, long long, long long span)
                    {
                        if (span >= middle)
                        {
                            DrawPiece(list, base + 1, along, state, canvas);
                            return;
                        }
                        DrawStateNPI cut(state);
                        const int piece = static_cast<int>(span);
                        if (vertical)
                            cut.SourceRect(0, 0, list->GetImageWidth(base + 1), piece);
                        else
                            cut.SourceRect(0, 0, piece, list->GetImageHeight(base + 1));
                        DrawPiece(list, base + 1, along, cut, canvas);
                    });
    }
};

int DrawThreeBrushAlong(IImageList* list, int base, bool vertical, float x, float y, float length,
                        const sDrawState& state, ICanvas* canvas)
{
    if (!list)
        return DrawResult_Nothing;
    if (!HasImages(list, base, 3))
        return DrawResult_ListTooShort;
    ThreeBrush brush;
    brush.base = base;
    brush.vertical = vertical;
    const float start = vertical ? y : x;
    brush.start = FloorToInt(start);
    brush.end = FloorToInt(start + length);
    brush.across = FloorToInt(vertical ? x : y);
    if (!brush.CanDraw(list))
        return DrawResult_ListTooShort;
    brush.Draw(list, state, canvas);
    return DrawResult_Drawn;
}

} // namespace

int DrawThreeBrush(IImageList* list, int base, float x, float y, float width, const sDrawState& state, ICanvas* canvas)
{
    return DrawThreeBrushAlong(list, base, false, x, y, width, state, canvas);
}

int DrawThreeBrush(IImageList* list, float x, float y, float width, const sDrawState& state, ICanvas* canvas)
{
    return DrawThreeBrush(list, 0, x, y, width, state, canvas);
}

int DrawThreeBrushVertical(IImageList* list, int base, float x, float y, float height, const sDrawState& state,
                           ICanvas* canvas)
{
    return DrawThreeBrushAlong(list, base, true, x, y, height, state, canvas);
}

int DrawThreeBrushVertical(IImageList* list, float x, float y, float height, const sDrawState& state, ICanvas* canvas)
{
    return DrawThreeBrushVertical(list, 0, x, y, height, state, canvas);
}

int DrawNineBrush(IImageList* list, int base, float x, float y, float width, float height, const sDrawState& state,
                  ICanvas* canvas)
{
    if (!list)
        return DrawResult_Nothing;
    if (!HasImages(list, base, 9))
        return DrawResult_ListTooShort;
    const long long left = FloorToInt(x);
    const long long top = FloorToInt(y);
    const long long right = FloorToInt(x + width);
    const long long bottom = FloorToInt(y + height);

    // Each row is a three brush of its own across the full width.
    const auto row = [&](int rowBase, long long rowTop)
    {
        ThreeBrush brush;
        brush.base = rowBase;
        brush.start = left;
        brush.end = right;
        brush.across = rowTop;
        return brush;
    };

    const int topHeight = list->GetImageHeight(base);
    const int middleHeight = list->GetImageHeight(base + 3);
    const int bottomHeight = list->GetImageHeight(base + 6);
    const long long middleTop = top + topHeight;
    const long long gap = (bottom - top) - topHeight;
    const long long remaining = gap - bottomHeight;

    // Every piece is checked before anything is drawn.
    const ThreeBrush topRow = row(base, top);
    const ThreeBrush middleRow = row(base + 3, middleTop);
    const ThreeBrush bottomRow = row(base + 6, middleTop + gap - bottomHeight);
    if (!topRow.CanDraw(list) || !bottomRow.CanDraw(list) ||
        (remaining > 0 && (middleHeight <= 0 || !middleRow.CanDraw(list))))
        return DrawResult_ListTooShort;

    topRow.Draw(list, state, canvas);
    bottomRow.Draw(list, state, canvas);
    if (remaining <= 0)
        return DrawResult_Drawn;
    const Visible visible = GetVisible(canvas, state);
    if (visible.IsEmpty())
        return DrawResult_Drawn;
    ForEachSpan(middleTop, remaining, 0, middleHeight, visible.top - middleHeight, visible.bottom + middleHeight,
                [&](long long rowTop, long long, long long span)
                {
                    const ThreeBrush brush = row(base + 3, rowTop);
                    if (span >= middleHeight)
                    {
                        brush.Draw(list, state, canvas);
                        return;
                    }
                    // The last row is cut at the brush's bottom edge, inside the caller's clip.
                    const Rect<int>& clip = state.clipRect;
                    const long long clipLeft = std::max<long long>(left, clip.x);
                    const long long clipTop = std::max<long long>(rowTop, clip.y);
                    const long long clipRight = std::min<long long>(right, static_cast<long long>(clip.x) + clip.width);
                    const long long clipBottom =
                        std::min<long long>(rowTop + span, static_cast<long long>(clip.y) + clip.height);
                    if (clipRight <= clipLeft || clipBottom <= clipTop)
                        return;
                    sDrawState cut(state);
                    cut.clipRect =
                        Rect<int>(static_cast<int>(clipLeft), static_cast<int>(clipTop),
                                  static_cast<int>(clipRight - clipLeft), static_cast<int>(clipBottom - clipTop));
                    brush.Draw(list, cut, canvas);
                });
    return DrawResult_Drawn;
}

int DrawNineBrush(IImageList* list, float x, float y, float width, float height, const sDrawState& state,
                  ICanvas* canvas)
{
    return DrawNineBrush(list, 0, x, y, width, height, state, canvas);
}

uint8_t GetThreeBrushPixelAlpha(const IImageList* list, int base, int x, int y, float width)
{
    if (!list || !HasImages(list, base, 3) || x < 0 || !(static_cast<float>(x) < width) || y < 0 ||
        y >= list->GetImageHeight(base))
        return 0;
    const int leftWidth = list->GetImageWidth(base);
    const int middleWidth = list->GetImageWidth(base + 1);
    const int rightWidth = list->GetImageWidth(base + 2);
    if (x < leftWidth)
        return list->GetImagePixelAlpha(base, x, y);
    // The right cap starts at the whole width minus its own, as drawn.
    const long long rightCap = static_cast<long long>(TruncateToInt(width)) - rightWidth;
    if (x < rightCap)
    {
        if (middleWidth <= 0)
            return 0;
        return list->GetImagePixelAlpha(base + 1, (x - leftWidth) % middleWidth, y);
    }
    // x >= rightCap and x < width here, so this lies in [0, rightWidth].
    return list->GetImagePixelAlpha(base + 2, static_cast<int>(x - rightCap), y);
}

int DrawTiledImageHV(IImage* image, const Rect<float>& area, Vector2<int> offset, const sDrawState& state,
                     ICanvas* canvas)
{
    if (!image || !(area.width > 0.0f) || !(area.height > 0.0f))
        return DrawResult_Nothing;
    const int imageWidth = image->GetWidth();
    const int imageHeight = image->GetHeight();
    if (imageWidth <= 0 || imageHeight <= 0)
        return DrawResult_Nothing;
    const long long offsetX = ((static_cast<long long>(offset.x) % imageWidth) + imageWidth) % imageWidth;
    const long long offsetY = ((static_cast<long long>(offset.y) % imageHeight) + imageHeight) % imageHeight;
    const Visible visible = GetVisible(canvas, state);
    if (visible.IsEmpty())
        return DrawResult_Drawn;
    ForEachSpan(TruncateToInt(area.y), TruncateToInt(area.height), offsetY, imageHeight, visible.top - imageHeight,
                visible.bottom + imageHeight,
                [&](long long y, long long sourceY, long long tileHeight)
                {
                    ForEachSpan(TruncateToInt(area.x), TruncateToInt(area.width), offsetX, imageWidth,
                                visible.left - imageWidth, visible.right + imageWidth,
                                [&](long long x, long long sourceX, long long tileWidth)
                                {
                                    if (sourceX == 0 && sourceY == 0 && tileWidth == imageWidth &&
                                        tileHeight == imageHeight)
                                    {
                                        DrawImage(image, ToFloat(x), ToFloat(y), state, canvas);
                                        return;
                                    }
                                    DrawStateNPI tile(state);
                                    tile.SourceRect(static_cast<int>(sourceX), static_cast<int>(sourceY),
                                                    static_cast<int>(tileWidth), static_cast<int>(tileHeight));
                                    DrawImage(image, ToFloat(x), ToFloat(y), tile, canvas);
                                });
                });
    return DrawResult_Drawn;
}

int DrawTiledImageH(IImage* image, float x, float y, float width, int offsetX, const sDrawState& state, ICanvas* canvas)
{
    if (!image)
        return DrawResult_Nothing;
    return DrawTiledImageHV(image, Rect<float>(x, y, width, static_cast<float>(image->GetHeight())),
                            Vector2<int>(offsetX, 0), state, canvas);
}

int DrawTiledImageH(IImage* image, float x, float y, float width, const sDrawState& state, ICanvas* canvas)
{
    return DrawTiledImageH(image, x, y, width, 0, state, canvas);
}

int DrawTiledImageV(IImage* image, float x, float y, float height, int offsetY, const sDrawState& state,
                    ICanvas* canvas)
{
    if (!image)
        return DrawResult_Nothing;
    return DrawTiledImageHV(image, Rect<float>(x, y, static_cast<float>(image->GetWidth()), height),
                            Vector2<int>(0, offsetY), state, canvas);
}

int DrawTiledImageV(IImage* image, float x, float y, float height, const sDrawState& state, ICanvas* canvas)
{
    return DrawTiledImageV(image, x, y, height, 0, state, canvas);
}

Color32 GetTiledImageHVPixel(const IImage* image, Vector2<float> size, Vector2<int> offset, int x, int y)
{
    const Color32 outside(255, 255, 255, 255);
    if (!image || x < 0 || y < 0 || x >= TruncateToInt(size.x) || y >= TruncateToInt(size.y))
        return outside;
    const long long width = image->GetWidth();
    const long long height = image->GetHeight();
    if (width <= 0 || height <= 0)
        return outside;
    const long long u = ((static_cast<long long>(x) + offset.x) % width + width) % width;
    const long long v = ((static_cast<long long>(y) + offset.y) % height + height) % height;
    return image->GetPixel(static_cast<int>(u), static_cast<int>(v));
}

uint8_t GetTiledImageHVAlpha(const IImage* image, Vector2<float> size, Vector2<int> offset, int x, int y)
{
    return GetTiledImageHVPixel(image, size, offset, x, y).a;
}

} // namespace Strata::Graphics
