#include "graphics/Drawing.h"

#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/LineBreaking.h"
#include "graphics/PixelMath.h"
#include "graphics/SoftwareCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace Strata::Graphics
{

namespace
{

// Walks one line along its major axis the way the plain step-by-step walk would, but only over the
// steps whose major coordinate lies in [low, high): a line reaching far outside the canvas costs no
// more than its visible part. The error term at the first visible step comes from the closed form of
// the walk: after k steps the minor coordinate has moved floor((2 k minorLength + majorLength) /
// (2 majorLength)) times.
template <class Plot>
void WalkLine(long long major, int majorStep, long long majorLength, long long minor, int minorStep,
              long long minorLength, long long low, long long high, Plot plot)
{
    long long first;
    long long last;
    if (majorStep > 0)
    {
        first = low - major;
        last = high - 1 - major;
    }
    else
    {
        first = major - (high - 1);
        last = major - low;
    }
    first = std::max(first, 0LL);
    last = std::min(last, majorLength - 1);
    if (first > last)
        return;
    using Wide = __int128;
    long long moved = static_cast<long long>((Wide(2) * first * minorLength + majorLength) / (Wide(2) * majorLength));
    long long error = static_cast<long long>(Wide(first) * minorLength - Wide(moved) * majorLength);
    for (long long k = first; k <= last; ++k)
    {
        plot(major + k * majorStep, minor + moved * minorStep);
        error += minorLength;
        if (2 * error >= majorLength)
        {
            ++moved;
            error -= majorLength;
        }
    }
}

int DrawLineWithPixels(IPixelSettingCanvas* pixels, ICanvas* canvas, float fx1, float fy1, float fx2, float fy2,
                       const sDrawState& state)
{
    const long long x1 = TruncateToInt(fx1 + 0.5f);
    const long long y1 = TruncateToInt(fy1 + 0.5f);
    const long long x2 = TruncateToInt(fx2 + 0.5f);
    const long long y2 = TruncateToInt(fy2 + 0.5f);

    const Rect<int> visible = canvas->GetBounds().getIntersection(state.clipRect);
    const long long left = visible.x;
    const long long top = visible.y;
    const long long right = left + visible.width;
    const long long bottom = top + visible.height;

    const Color32 color = ToColor32(state.color);
    const bool blend = (state.flags & DrawFlag_Blend) != 0;
    const auto plot = [&](long long x, long long y)
    {
        if (x < left || x >= right || y < top || y >= bottom)
            return;
        const float px = static_cast<float>(x);
        const float py = static_cast<float>(y);
        pixels->SetPixel(px, py, blend ? BlendColors(color, pixels->GetPixel(px, py)) : color);
    };

    const long long dx = x2 - x1;
    const long long dy = y2 - y1;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const long long adx = std::llabs(dx);
    const long long ady = std::llabs(dy);
    if (adx < ady)
        WalkLine(y1, sy, ady, x1, sx, adx, top, bottom, [&](long long y, long long x) { plot(x, y); });
    else
        WalkLine(x1, sx, adx, y1, sy, ady, left, right, plot);
    plot(x2, y2);
    return DrawResult_Drawn;
}

// The interface `I` a drawing function draws through; null without a canvas or without the interface.
template <class I>
I* FindDrawingPart(ICanvas* canvas)
{
    return canvas ? QueryCanvas<I>(canvas) : nullptr;
}

// What a drawing function returns when FindDrawingPart found nothing: nothing to draw without a canvas,
// unsupported when the canvas lacks the interface.
int CannotDraw(ICanvas* canvas)
{
    return canvas ? DrawResult_Unsupported : DrawResult_Nothing;
}

} // namespace

int GetAlignmentShift(int alignment, int size)
{
    switch (alignment)
    {
    case 1:
        return size / 2;
    case 2:
        return size;
    default:
        return 0;
    }
}

int DrawLine(float x1, float y1, float x2, float y2, const sDrawState& state, ICanvas* canvas)
{
    if (ILineDrawingCanvas* lines = FindDrawingPart<ILineDrawingCanvas>(canvas))
        return lines->DrawLine(x1, y1, x2, y2, state);
    IPixelSettingCanvas* pixels = FindDrawingPart<IPixelSettingCanvas>(canvas);
    if (!pixels)
        return CannotDraw(canvas);
    return DrawLineWithPixels(pixels, canvas, x1, y1, x2, y2, state);
}

int DrawLineRect(const Rect<float>& rect, const sDrawState& state, ICanvas* canvas)
{
    if (!canvas || !(rect.width > 0.0f) || !(rect.height > 0.0f))
        return DrawResult_Nothing;
    const float right = rect.x + rect.width - 1.0f;
    const float bottom = rect.y + rect.height - 1.0f;
    const float lines[4][4] = {{rect.x, rect.y, right, rect.y},
                               {right, rect.y, right, bottom},
                               {right, bottom, rect.x, bottom},
                               {rect.x, bottom, rect.x, rect.y}};
    int result = DrawResult_Nothing;
    for (const auto& line : lines)
    {
        result = DrawLine(line[0], line[1], line[2], line[3], state, canvas);
        if (result < 0)
            break;
    }
    return result;
}

int DrawFilledRect(const Rect<int>& rect, const sDrawState& state, ICanvas* canvas)
{
    IQuadDrawingCanvas* quads = FindDrawingPart<IQuadDrawingCanvas>(canvas);
    if (!quads)
        return CannotDraw(canvas);
    if (rect.isEmpty())
        return DrawResult_Nothing;
    const Rect<int> visible = rect.getIntersection(state.clipRect);
    if (visible.isEmpty())
        return DrawResult_Nothing;
    return quads->DrawFilledRect(visible, state);
}

int DrawFilledRect(const Rect<float>& rect, const sDrawState& state, ICanvas* canvas)
{
    IQuadDrawingCanvas* quads = FindDrawingPart<IQuadDrawingCanvas>(canvas);
    if (!quads)
        return CannotDraw(canvas);
    // Written so that NaN sizes count as empty.
    if (!(rect.width > 0.0f) || !(rect.height > 0.0f))
        return DrawResult_Nothing;
    const Rect<float> clip(static_cast<float>(state.clipRect.x), static_cast<float>(state.clipRect.y),
                           static_cast<float>(state.clipRect.width), static_cast<float>(state.clipRect.height));
    const Rect<float> visible = rect.getIntersection(clip);
    if (!(visible.width > 0.0f) || !(visible.height > 0.0f))
        return DrawResult_Nothing;
    return quads->DrawFilledRect(visible, state);
}

int DrawLineEllipse(const Rect<float>& bounds, const sDrawState& state, ICanvas* canvas)
{
    IEllipseDrawingCanvas* ellipses = FindDrawingPart<IEllipseDrawingCanvas>(canvas);
    return ellipses ? ellipses->DrawLineEllipse(bounds, state) : CannotDraw(canvas);
}

int DrawFilledEllipse(const Rect<float>& bounds, const sDrawState& state, ICanvas* canvas)
{
    IEllipseDrawingCanvas* ellipses = FindDrawingPart<IEllipseDrawingCanvas>(canvas);
    return ellipses ? ellipses->DrawFilledEllipse(bounds, state) : CannotDraw(canvas);
}

namespace
{
// The size an image draw covers: its source rectangle or the whole image.
void GetDrawnSize(IImage* image, const sDrawState& state, int* width, int* height)
{
    if (state.flags & DrawFlag_SourceRect)
    {
        *width = state.sourceRect.width;
        *height = state.sourceRect.height;
    }
    else
    {
        *width = image->GetWidth();
        *height = image->GetHeight();
    }
}
} // namespace

int DrawImage(IImage* image, float x, float y, const sDrawState& state, ICanvas* canvas)
{
    IQuadDrawingCanvas* quads = FindDrawingPart<IQuadDrawingCanvas>(canvas);
    if (!quads || !image)
        return image ? CannotDraw(canvas) : DrawResult_Nothing;
    int width = 0;
    int height = 0;
    GetDrawnSize(image, state, &width, &height);
    if (width <= 0 || height <= 0)
        return DrawResult_Nothing;
    x -= static_cast<float>(GetAlignmentShift(state.hAlign, width));
    y -= static_cast<float>(GetAlignmentShift(state.vAlign, height));
    return quads->DrawImage(image, x, y, state);
}

int DrawRotatedImage(IImage* image, float x, float y, Angle angle, const sDrawState& state, ICanvas* canvas)
{
    IQuadDrawingCanvas* quads = FindDrawingPart<IQuadDrawingCanvas>(canvas);
    if (!quads || !image)
        return image ? CannotDraw(canvas) : DrawResult_Nothing;
    if (state.hAlign != HAlignment_Center || state.vAlign != VAlignment_Middle)
    {
        int width = 0;
        int height = 0;
        GetDrawnSize(image, state, &width, &height);
        const auto offset = [](int alignment, int size)
        {
            const float half = static_cast<float>(size) * 0.5f;
            return alignment == 0 ? half : (alignment == 1 ? 0.0f : -half);
        };
        const Vector2<float> turned =
            angle.Rotate(Vector2<float>(offset(state.hAlign, width), offset(state.vAlign, height)));
        x += turned.x;
        y += turned.y;
    }
    return quads->DrawRotatedImage(image, x, y, angle, state);
}

int DrawStretchedImage(IImage* image, const Rect<int>& rect, const sDrawState& state, ICanvas* canvas)
{
    IQuadDrawingCanvas* quads = FindDrawingPart<IQuadDrawingCanvas>(canvas);
    if (!quads)
        return CannotDraw(canvas);
    if (rect.isEmpty())
        return DrawResult_Nothing;
    Rect<int> placed = rect;
    placed.x -= GetAlignmentShift(state.hAlign, rect.width);
    placed.y -= GetAlignmentShift(state.vAlign, rect.height);
    return quads->DrawStretchedImage(image, placed, state);
}

int DrawStretchedRotatedImage(IImage* image, const Rect<float>& rect, const Vector2<float>& pivot, Angle angle,
                              const sDrawState& state, ICanvas* canvas)
{
    if (!canvas || !image)
        return DrawResult_Nothing;
    IQuadDrawingCanvas* quads = QueryCanvas<IQuadDrawingCanvas>(canvas);
    if (!quads)
        return DrawResult_Unsupported;
    const int width = TruncateToInt(std::round(rect.width));
    const int height = TruncateToInt(std::round(rect.height));
    if (width <= 0 || height <= 0)
        return DrawResult_Nothing;
    // The canvas turns about the centre: move the centre where turning about the pivot takes it.
    const Vector2<float> center(rect.x + rect.width * 0.5f, rect.y + rect.height * 0.5f);
    const Vector2<float> turned = pivot + angle.Rotate(center - pivot);
    const Rect<int> destination(TruncateToInt(std::round(turned.x)), TruncateToInt(std::round(turned.y)), width,
                                height);
    return quads->DrawStretchedRotatedImage(image, destination, angle, state);
}

namespace
{

// One unaligned line in `color`.
int DrawTextLine(float x, float y, const wchar_t* text, const ColorF& color, const sDrawState& state, ICanvas* canvas)
{
    if (ITextDrawingCanvas* textCanvas = QueryCanvas<ITextDrawingCanvas>(canvas))
    {
        sDrawState colored = state;
        colored.color = color;
        return textCanvas->DrawTextLine(text, x, y, colored);
    }
    if (!QueryCanvas<IQuadDrawingCanvas>(canvas))
        return DrawResult_Unsupported;
    const Font* font = state.font;
    DrawStateNPI glyphState(state);
    glyphState.imageColor = color;
    glyphState.hAlign = HAlignment_Left;
    glyphState.vAlign = VAlignment_Top;
    int result = DrawResult_Nothing;
    for (const wchar_t* c = text; *c != 0; ++c)
    {
        Font::sGlyph glyph;
        font->GetGlyph(c[0], &glyph);
        glyphState.SourceRect(glyph.x, glyph.y, glyph.width, glyph.height);
        // Drawing never changes the font's image; the canvas interface only takes it non-const.
        result = DrawImage(const_cast<IImage*>(glyph.image), x, y, glyphState, canvas);
        if (result < 0)
            return result;
        x += static_cast<float>(font->GetKernedLetterWidth(c[0], c[1]));
    }
    return result;
}

} // namespace

int DrawText(const wchar_t* text, float x, float y, const sDrawState& state, ICanvas* canvas)
{
    const Font* font = state.font;
    if (!canvas || !font || !text)
        return DrawResult_Nothing;
    if (state.hAlign != HAlignment_Left)
        x -= static_cast<float>(GetAlignmentShift(state.hAlign, font->GetStringWidth(text)));
    if (state.vAlign != VAlignment_Top)
        y -= static_cast<float>(GetAlignmentShift(state.vAlign, font->GetGlyphHeight()));
    const ColorF effect(state.effectColor.r, state.effectColor.g, state.effectColor.b,
                        state.effectColor.a * state.color.a);
    const float ex = static_cast<float>(state.effectOffset.x);
    const float ey = static_cast<float>(state.effectOffset.y);
    if (state.textMode == TextMode_Outline)
    {
        const float points[8][2] = {{x - ex, y - ey}, {x - ex, y},      {x - ex, y + ey}, {x, y - ey},
                                    {x, y + ey},      {x + ex, y - ey}, {x + ex, y},      {x + ex, y + ey}};
        for (const auto& point : points)
            DrawTextLine(point[0], point[1], text, effect, state, canvas);
    }
    else if (state.textMode == TextMode_DropShadow)
    {
        DrawTextLine(x + ex, y + ey, text, effect, state, canvas);
    }
    return DrawTextLine(x, y, text, state.color, state, canvas);
}

int DrawWrappedText(const wchar_t* text, float x, float y, float width, Rect<float>* bounds, const sDrawState& state,
                    ICanvas* canvas)
{
    const Font* font = state.font;
    if (!canvas || !font || !text)
        return DrawResult_Nothing;
    LineBreakList lines;
    ComputeLineBreaks(&lines, text, TruncateToInt(width), font, nullptr);
    const int lineCount = std::max(static_cast<int>(lines.starts.size()) - 1, 0);
    const int lineHeight = font->GetGlyphHeight();
    const float total = static_cast<float>(static_cast<long long>(lineCount) * lineHeight);
    if (state.vAlign == VAlignment_Bottom)
        y -= total;
    else if (state.vAlign == VAlignment_Middle)
        y -= total * 0.5f;
    const float top = y;

    sDrawState lineState = state;
    lineState.hAlign = HAlignment_Left;
    lineState.vAlign = VAlignment_Top;
    int result = DrawResult_Nothing;
    std::wstring line;
    for (int i = 0; i < lineCount; ++i)
    {
        line.assign(text + lines.starts[i], static_cast<size_t>(lines.GetLineLength(i)));
        float lineX = x;
        if (state.hAlign == HAlignment_Right)
            lineX = x - static_cast<float>(font->GetStringWidth(line.c_str()));
        else if (state.hAlign == HAlignment_Center)
            lineX = std::floor(x - static_cast<float>(font->GetStringWidth(line.c_str())) * 0.5f);
        if (state.vAlign == VAlignment_Middle)
            y = std::floor(y);
        result = DrawText(line.c_str(), lineX, y, lineState, canvas);
        y += static_cast<float>(lineHeight);
    }

    if (bounds)
    {
        const float widest = static_cast<float>(lines.widest);
        float left = x;
        if (state.hAlign == HAlignment_Right)
            left = x - widest;
        else if (state.hAlign == HAlignment_Center)
            left = x - widest * 0.5f;
        *bounds = Rect<float>(left, top, widest, total);
    }
    return result;
}

int DrawWrappedText(const wchar_t* text, float x, float y, float width, const sDrawState& state, ICanvas* canvas)
{
    return DrawWrappedText(text, x, y, width, nullptr, state, canvas);
}

int DrawImageList(IImageList* list, int index, float x, float y, const sDrawState& state, ICanvas* canvas)
{
    if (!canvas || !list)
        return DrawResult_Nothing;
    return list->DrawImage(index, x, y, state, canvas);
}

int DrawStretchedImageList(IImageList* list, int index, const Rect<float>& rect, const sDrawState& state,
                           ICanvas* canvas)
{
    if (!canvas || !list)
        return DrawResult_Nothing;
    return list->DrawStretchedImage(index, rect, state, canvas);
}

bool ClipImageDraw(float x, float y, const Rect<float>& source, const Rect<int>& clip, uint32_t flags,
                   Rect<float>* destination, Rect<float>* shownSource)
{
    if (!(source.width > 0.0f) || !(source.height > 0.0f))
        return false;
    const Rect<float> drawn(x, y, source.width, source.height);
    const Rect<float> clipF(static_cast<float>(clip.x), static_cast<float>(clip.y), static_cast<float>(clip.width),
                            static_cast<float>(clip.height));
    const Rect<float> visible = drawn.getIntersection(clipF);
    if (!(visible.width > 0.0f) || !(visible.height > 0.0f))
        return false;
    const float cutLeft = visible.x - drawn.x;
    const float cutRight = (drawn.x + drawn.width) - (visible.x + visible.width);
    const float cutTop = visible.y - drawn.y;
    const float cutBottom = (drawn.y + drawn.height) - (visible.y + visible.height);
    Rect<float> shown = source;
    shown.x += (flags & DrawFlag_FlipH) ? cutRight : cutLeft;
    shown.y += (flags & DrawFlag_FlipV) ? cutBottom : cutTop;
    shown.width = visible.width;
    shown.height = visible.height;
    if (destination)
        *destination = visible;
    if (shownSource)
        *shownSource = shown;
    return true;
}

} // namespace Strata::Graphics
