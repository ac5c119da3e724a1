#include "graphics/SoftwareCanvas.h"

#include "core/Angle.h"
#include "graphics/AlphaBlendRow.h"
#include "graphics/Image.h"
#include "graphics/PixelMath.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace Strata::Graphics
{

// --- Pixel arithmetic ---

Color32 ApplyTintToPixel(Color32 tint, Color32 pixel)
{
    if (tint.GetPacked() == 0xFFFFFFFFu)
        return pixel;
    if (tint.GetPacked() == 0)
        return Color32();
    const auto scale = [](int byte, int factor) { return static_cast<uint8_t>((byte * (factor + 1)) >> 8); };
    return Color32(scale(pixel.r, tint.r), scale(pixel.g, tint.g), scale(pixel.b, tint.b), scale(pixel.a, tint.a));
}

Color32 BlendColors(Color32 source, Color32 destination)
{
    const int a = source.a;
    if (a == 0)
        return destination;
    if (a == 255)
        return source;
    const int s = a + 1;
    const int t = 256 - s;
    const auto mix = [s, t](int src, int dst) { return static_cast<uint8_t>((s * src + t * dst) >> 8); };
    return Color32(mix(source.r, destination.r), mix(source.g, destination.g), mix(source.b, destination.b),
                   mix(a, destination.a));
}

// --- Blitter ---

namespace
{

enum eBlitRule
{
    Rule_WholeCopy = 0,
    Rule_Copy = 1,
    Rule_Key = 2,
    Rule_Alpha = 3,
    Rule_Tint = 4,
    Rule_TintKey = 5,
    Rule_TintAlpha = 6
};

struct BlitParams
{
    int opacity; // opacity byte + 1, used at partial opacity
    int tintR;   // tint bytes + 1
    int tintG;
    int tintB;
};

// d moved toward s by factor / 2^shift; the shift rounds toward minus infinity, so the result stays
// between d and s.
inline uint8_t Toward(int d, int s, int factor, int shift)
{
    return static_cast<uint8_t>(d + ((factor * (s - d)) >> shift));
}

inline Color32 Tinted(Color32 s, const BlitParams& p)
{
    return Color32(static_cast<uint8_t>((s.r * p.tintR) >> 8), static_cast<uint8_t>((s.g * p.tintG) >> 8),
                   static_cast<uint8_t>((s.b * p.tintB) >> 8), s.a);
}

inline Color32 Mixed(Color32 d, Color32 s, int factor, int shift)
{
    return Color32(Toward(d.r, s.r, factor, shift), Toward(d.g, s.g, factor, shift), Toward(d.b, s.b, factor, shift),
                   255);
}

// Pixels as native words, only to move their bytes about; nothing here depends on byte order.
inline uint32_t ToWord(Color32 pixel)
{
    uint32_t word;
    std::memcpy(&word, &pixel, sizeof(word));
    return word;
}

inline Color32 FromWord(uint32_t word)
{
    Color32 pixel;
    std::memcpy(static_cast<void*>(&pixel), &word, sizeof(word));
    return pixel;
}

// The alpha byte of a native word, wherever the machine puts it.
constexpr uint32_t kAlphaWord = std::bit_cast<uint32_t>(Color32(0, 0, 0, 255));

// Mixed() for whole words: two bytes per multiplication, each in a 16-bit lane. Per channel
// (s k + d (256 - k)) >> 8 equals d + ((k (s - d)) >> 8) exactly, and at most 255 * 256 it never
// spills into the next lane. Alpha becomes 255.
inline uint32_t MixWords(uint32_t d, uint32_t s, uint32_t k)
{
    const uint32_t inverse = 256 - k;
    const uint32_t even = (((s & 0x00FF00FFu) * k + (d & 0x00FF00FFu) * inverse) >> 8) & 0x00FF00FFu;
    const uint32_t odd = (((s >> 8) & 0x00FF00FFu) * k + ((d >> 8) & 0x00FF00FFu) * inverse) & 0xFF00FF00u;
    return even | odd | kAlphaWord;
}

// One row of `count` pixels; the source walks backward for a mirrored draw. The rule and opacity are
// template arguments so that the inner loop carries no branching on the state.
template <int Rule, bool Full, bool Reverse>
void BlitRow(Color32* d, const Color32* s, int count, const BlitParams& p)
{
    constexpr bool tinted = Rule >= Rule_Tint;
    if constexpr (Full && !Reverse && (Rule == Rule_Copy || Rule == Rule_WholeCopy))
    {
        std::memmove(d, s, static_cast<size_t>(count) * sizeof(Color32));
        return;
    }
    if constexpr (Full && !Reverse && Rule == Rule_Alpha)
    {
        // The bulk of sprite and glyph drawing: the fastest row this processor runs.
        Internal::GetAlphaRow()(d, s, count);
        return;
    }
    for (int i = 0; i < count; ++i)
    {
        const Color32 source = Reverse ? s[-i] : s[i];
        const int a = source.a;
        const Color32 t = tinted ? Tinted(source, p) : source;
        if constexpr (Full)
        {
            if constexpr (Rule == Rule_WholeCopy || Rule == Rule_Copy)
            {
                d[i] = source;
            }
            else if constexpr (Rule == Rule_Key)
            {
                if (a != 0)
                    d[i] = source;
            }
            else if constexpr (Rule == Rule_Alpha)
            {
                // The common case of sprites and glyphs: computed for every pixel and then chosen, so
                // that pixels of mixed alpha cost no mispredicted branches.
                const uint32_t sourceWord = ToWord(source);
                const uint32_t targetWord = ToWord(d[i]);
                const uint32_t mixed = MixWords(targetWord, sourceWord, static_cast<uint32_t>(a + 1));
                const uint32_t chosen = a >= 240 ? sourceWord : (a > 15 ? mixed : targetWord);
                d[i] = FromWord(chosen);
            }
            else if constexpr (Rule == Rule_Tint)
            {
                d[i] = Color32(t.r, t.g, t.b, 255);
            }
            else if constexpr (Rule == Rule_TintKey)
            {
                if (a != 0)
                    d[i] = Color32(t.r, t.g, t.b, 255);
            }
            else // Rule_TintAlpha
            {
                if (a == 255)
                    d[i] = Color32(t.r, t.g, t.b, 255);
                else if (a != 0)
                    d[i] = Mixed(d[i], t, a + 1, 8);
            }
        }
        else
        {
            if constexpr (Rule == Rule_WholeCopy || Rule == Rule_Copy || Rule == Rule_Tint)
            {
                d[i] = Mixed(d[i], t, p.opacity, 8);
            }
            else if constexpr (Rule == Rule_Key || Rule == Rule_TintKey)
            {
                if (a != 0)
                    d[i] = Mixed(d[i], t, p.opacity, 8);
            }
            else // Rule_Alpha, Rule_TintAlpha
            {
                if (a != 0)
                    d[i] = Mixed(d[i], t, (a + 1) * p.opacity, 16);
            }
        }
    }
}

using BlitRowFunction = void (*)(Color32*, const Color32*, int, const BlitParams&);

template <int Rule>
BlitRowFunction ChooseRow(bool full, bool reverse)
{
    if (full)
        return reverse ? &BlitRow<Rule, true, true> : &BlitRow<Rule, true, false>;
    return reverse ? &BlitRow<Rule, false, true> : &BlitRow<Rule, false, false>;
}

BlitRowFunction ChooseRow(int rule, bool full, bool reverse)
{
    switch (rule)
    {
    case Rule_Key:
        return ChooseRow<Rule_Key>(full, reverse);
    case Rule_Alpha:
        return ChooseRow<Rule_Alpha>(full, reverse);
    case Rule_Tint:
        return ChooseRow<Rule_Tint>(full, reverse);
    case Rule_TintKey:
        return ChooseRow<Rule_TintKey>(full, reverse);
    case Rule_TintAlpha:
        return ChooseRow<Rule_TintAlpha>(full, reverse);
    default:
        return ChooseRow<Rule_Copy>(full, reverse);
    }
}

bool IsUsable(const BLIT_TARGET* target)
{
    return target && target->pixels && target->width > 0 && target->height > 0;
}

} // namespace

int BlitImage(const Image* source, int x, int y, BLIT_TARGET* target, const sDrawState& state)
{
    if (!source || source->IsEmpty() || !IsUsable(target))
        return DrawResult_Nothing;
    const int opacity = ChannelToByte(state.imageColor.a);
    if (opacity == 0)
        return DrawResult_Nothing;
    const int tintR = ChannelToByte(state.imageColor.r);
    const int tintG = ChannelToByte(state.imageColor.g);
    const int tintB = ChannelToByte(state.imageColor.b);

    const int sourceWidth = source->GetWidth();
    const int sourceHeight = source->GetHeight();
    const Rect<int> whole(0, 0, sourceWidth, sourceHeight);
    const Rect<int> wanted = (state.flags & DrawFlag_SourceRect) ? state.sourceRect : whole;
    if (wanted.isEmpty())
        return DrawResult_Nothing;
    const Rect<int> cut = wanted.getIntersection(whole);
    if (cut.isEmpty())
        return DrawResult_Nothing;

    // Where the part of the wanted rectangle that exists lands. Mirrored, the part cut off at the
    // wanted rectangle's right end is missing at the drawn left edge.
    const bool flipH = (state.flags & DrawFlag_FlipH) != 0;
    const bool flipV = (state.flags & DrawFlag_FlipV) != 0;
    const long long wantedRight = static_cast<long long>(wanted.x) + wanted.width;
    const long long wantedBottom = static_cast<long long>(wanted.y) + wanted.height;
    const long long left = x + (flipH ? wantedRight - (cut.x + cut.width) : static_cast<long long>(cut.x) - wanted.x);
    const long long top = y + (flipV ? wantedBottom - (cut.y + cut.height) : static_cast<long long>(cut.y) - wanted.y);

    const Rect<int> area = Rect<int>(0, 0, target->width, target->height).getIntersection(state.clipRect);
    const long long visibleLeft = std::max<long long>(left, area.x);
    const long long visibleTop = std::max<long long>(top, area.y);
    const long long visibleRight = std::min<long long>(left + cut.width, static_cast<long long>(area.x) + area.width);
    const long long visibleBottom = std::min<long long>(top + cut.height, static_cast<long long>(area.y) + area.height);
    if (visibleRight <= visibleLeft || visibleBottom <= visibleTop)
        return DrawResult_Nothing;

    const bool tinted = tintR < 255 || tintG < 255 || tintB < 255;
    // A picture whose every pixel is opaque blends as it copies, word for word, at any opacity and tint:
    // most backdrops are such, saved with an alpha channel.
    const bool useAlpha = source->HasAlpha() && (state.flags & DrawFlag_Blend) != 0 && !source->IsOpaque();
    const bool full = opacity == 255;
    int rule;
    if (!tinted)
        rule = !useAlpha ? Rule_Copy : (source->HasColorKey() ? Rule_Key : Rule_Alpha);
    else
        rule = !useAlpha ? Rule_Tint : (source->HasColorKey() ? Rule_TintKey : Rule_TintAlpha);

    const Color32* sourcePixels = source->GetPixels();
    const bool coversTarget = sourceWidth == target->width && sourceHeight == target->height && left == 0 && top == 0 &&
                              cut == whole && visibleRight - visibleLeft == sourceWidth &&
                              visibleBottom - visibleTop == sourceHeight;
    if (rule == Rule_Copy && full && !flipH && !flipV && coversTarget)
    {
        std::memmove(target->pixels, sourcePixels,
                     static_cast<size_t>(sourceWidth) * static_cast<size_t>(sourceHeight) * sizeof(Color32));
        return DrawResult_Drawn;
    }

    const BlitParams params{opacity + 1, tintR + 1, tintG + 1, tintB + 1};
    const BlitRowFunction row = ChooseRow(rule, full, flipH);
    const long long count = visibleRight - visibleLeft;
    const long long firstColumn = visibleLeft - left;
    const long long u = flipH ? cut.x + cut.width - 1 - firstColumn : cut.x + firstColumn;
    // Every rule that blends leaves the target as it is under a wholly transparent pixel: only the
    // columns of each row between its first and last other pixel are drawn.
    const sRowSpan* spans = useAlpha ? source->GetRowSpans() : nullptr;
    for (long long ty = visibleTop; ty < visibleBottom; ++ty)
    {
        const long long j = ty - top;
        const long long v = flipV ? cut.y + cut.height - 1 - j : cut.y + j;
        // The source columns the row reads, [low, high); a mirrored row reads them from high - 1 down.
        long long low = flipH ? u - count + 1 : u;
        long long high = low + count;
        if (spans)
        {
            low = std::max<long long>(low, spans[v].first);
            high = std::min<long long>(high, spans[v].end);
            if (low >= high)
                continue;
        }
        const long long column = visibleLeft + (flipH ? u - (high - 1) : low - u);
        Color32* d =
            target->pixels + static_cast<size_t>(ty) * static_cast<size_t>(target->width) + static_cast<size_t>(column);
        const Color32* s = sourcePixels + static_cast<size_t>(v) * static_cast<size_t>(sourceWidth) +
                           static_cast<size_t>(flipH ? high - 1 : low);
        row(d, s, static_cast<int>(high - low), params);
    }
    return DrawResult_Drawn;
}

int BlitStretchedImage(const Image* source, const Rect<int>& rect, BLIT_TARGET* target, const sDrawState& state)
{
    if (!source || source->IsEmpty() || !IsUsable(target) || rect.isEmpty())
        return DrawResult_Nothing;
    const Rect<int> part = (state.flags & DrawFlag_SourceRect)
                               ? state.sourceRect
                               : Rect<int>(0, 0, source->GetWidth(), source->GetHeight());
    if (part.isEmpty())
        return DrawResult_Nothing;
    if (rect.width == part.width && rect.height == part.height)
        return BlitImage(source, rect.x, rect.y, target, state);

    const Rect<int> area =
        rect.getIntersection(Rect<int>(0, 0, target->width, target->height)).getIntersection(state.clipRect);
    if (area.isEmpty())
        return DrawResult_Nothing;
    const Color32 tint = ToColor32(state.imageColor);
    if (tint.a == 0)
        return DrawResult_Nothing;
    const bool useBlend = source->HasAlpha() && (state.flags & DrawFlag_Blend) != 0;
    const bool flipH = (state.flags & DrawFlag_FlipH) != 0;
    const bool flipV = (state.flags & DrawFlag_FlipV) != 0;

    for (int py = area.y; py < area.y + area.height; ++py)
    {
        long long v = part.y + (static_cast<long long>(py) - rect.y) * part.height / rect.height;
        if (flipV)
            v = static_cast<long long>(part.y) + part.height - 1 - (v - part.y);
        Color32* d = target->pixels + static_cast<size_t>(py) * static_cast<size_t>(target->width);
        for (int px = area.x; px < area.x + area.width; ++px)
        {
            long long u = part.x + (static_cast<long long>(px) - rect.x) * part.width / rect.width;
            if (flipH)
                u = static_cast<long long>(part.x) + part.width - 1 - (u - part.x);
            // Parts of the source rectangle outside the image read as transparent.
            Color32 p = (u < 0 || v < 0 || u >= source->GetWidth() || v >= source->GetHeight())
                            ? Color32()
                            : source->GetPixel(static_cast<int>(u), static_cast<int>(v));
            p = ApplyTintToPixel(tint, p);
            if (useBlend)
                p = BlendColors(p, d[px]);
            d[px] = p;
        }
    }
    return DrawResult_Drawn;
}

// --- Image canvas ---

namespace
{

// The image to draw for a turned draw, with the state to draw it with.
struct TurnedImage
{
    const Image* image = nullptr;
    std::unique_ptr<Image> owned;
    sDrawState state;
    int sourceWidth = 0;
    int sourceHeight = 0;
};

// The rows and columns of `part` as a new image with the source's flags.
std::unique_ptr<Image> CopyPart(const Image* image, const Rect<int>& part)
{
    auto copy = std::make_unique<Image>(part.width, part.height);
    copy->SetFlags(image->HasAlpha(), image->HasColorKey());
    const Color32* src = image->GetPixels();
    Color32* dst = copy->GetPixels();
    if (!src || !dst)
        return copy;
    for (int y = 0; y < part.height; ++y)
    {
        std::memcpy(dst + static_cast<size_t>(y) * part.width,
                    src + static_cast<size_t>(part.y + y) * image->GetWidth() + part.x,
                    static_cast<size_t>(part.width) * sizeof(Color32));
    }
    return copy;
}

// Finds the turned copy through the image's rotation cache; a source rectangle is cut out and turned
// by the nearest cache step, so that a frame of a strip turns on its own. A mirrored image turned by an
// angle is the turned-back image mirrored, so a single flip asks for the opposite angle and the copy is
// drawn mirrored. Returns 0, or the code to give up with.
int TurnImage(Image* image, Angle angle, const sDrawState& state, TurnedImage* turned)
{
    ImageRotationCache* cache = image->GetRotationCache();
    if (!cache)
        return DrawResult_Unsupported;
    const uint32_t flips = state.flags & (DrawFlag_FlipH | DrawFlag_FlipV);
    const Angle turn = (flips == DrawFlag_FlipH || flips == DrawFlag_FlipV) ? -angle : angle;
    turned->state = state;
    turned->state.flags &= ~static_cast<uint32_t>(DrawFlag_SourceRect);
    if (state.flags & DrawFlag_SourceRect)
    {
        const Rect<int> part = state.sourceRect.getIntersection(Rect<int>(0, 0, image->GetWidth(), image->GetHeight()));
        if (part.isEmpty())
            return DrawResult_Nothing;
        const std::unique_ptr<Image> piece = CopyPart(image, part);
        turned->owned = ImageTool::Rotate(piece.get(), cache->GetStep() * static_cast<float>(cache->GetIndex(turn)));
        turned->image = turned->owned.get();
        turned->sourceWidth = part.width;
        turned->sourceHeight = part.height;
    }
    else
    {
        turned->image = image->GetCachedRotation(turn);
        turned->sourceWidth = image->GetWidth();
        turned->sourceHeight = image->GetHeight();
    }
    if (!turned->image)
        return DrawResult_Unsupported;
    return turned->image->IsEmpty() ? DrawResult_Nothing : DrawResult_Drawn;
}

class ImageCanvas final : public ICanvas,
                          public IQuadDrawingCanvas,
                          public IPixelSettingCanvas,
                          public IEllipseDrawingCanvas
{
public:
    explicit ImageCanvas(Image* image) : mImage(image), mBounds(0, 0, image->GetWidth(), image->GetHeight()) {}

    // --- ICanvas ---

    Label GetKind() const override
    {
        static const Label kind("ImageCanvas");
        return kind;
    }

    const Rect<int>& GetBounds() const override { return mBounds; }

    bool QueryInterface(Label name, void** out) override
    {
        return AnswerInterface<ICanvas>(this, name, out) || AnswerInterface<IQuadDrawingCanvas>(this, name, out) ||
               AnswerInterface<IPixelSettingCanvas>(this, name, out) ||
               AnswerInterface<IEllipseDrawingCanvas>(this, name, out);
    }

    // --- IQuadDrawingCanvas ---

    int DrawFilledRect(const Rect<int>& rect, const sDrawState& state) override
    {
        const Rect<int> area = rect.getIntersection(GetVisible(state));
        if (area.isEmpty())
            return DrawResult_Nothing;
        const Color32 color = ToColor32(state.color);
        const bool blend = (state.flags & DrawFlag_Blend) != 0;
        // Blending an opaque colour is a plain fill, and a fill is a few wide stores per row.
        const bool fill = !blend || color.a == 255;
        for (int y = area.y; y < area.y + area.height; ++y)
        {
            Color32* row = RowAt(y);
            if (fill)
            {
                std::fill_n(row + area.x, area.width, color);
                continue;
            }
            for (int x = area.x; x < area.x + area.width; ++x)
                row[x] = BlendColors(color, row[x]);
        }
        mImage->MarkChanged();
        return DrawResult_Drawn;
    }

    int DrawFilledRect(const Rect<float>& rect, const sDrawState& state) override
    {
        return DrawFilledRect(Rect<int>(TruncateToInt(rect.x), TruncateToInt(rect.y), TruncateToInt(rect.width),
                                        TruncateToInt(rect.height)),
                              state);
    }

    int DrawImage(IImage* image, float x, float y, const sDrawState& state) override
    {
        const Image* source = dynamic_cast<Image*>(image);
        if (!source)
            return DrawResult_Nothing;
        BLIT_TARGET target = GetTarget();
        const int result = BlitImage(source, TruncateToInt(x), TruncateToInt(y), &target, state);
        if (result == DrawResult_Drawn)
            mImage->MarkChanged();
        return result;
    }

    int DrawStretchedImage(IImage* image, const Rect<int>& destination, const sDrawState& state) override
    {
        const Image* source = dynamic_cast<Image*>(image);
        if (!source)
            return DrawResult_Nothing;
        BLIT_TARGET target = GetTarget();
        const int result = BlitStretchedImage(source, destination, &target, state);
        if (result == DrawResult_Drawn)
            mImage->MarkChanged();
        return result;
    }

    int DrawRotatedImage(IImage* image, float x, float y, Angle angle, const sDrawState& state) override
    {
        Image* source = dynamic_cast<Image*>(image);
        if (!source)
            return DrawResult_Nothing;
        TurnedImage turned;
        const int result = TurnImage(source, angle, state, &turned);
        if (result != DrawResult_Drawn)
            return result;
        return DrawImage(const_cast<Image*>(turned.image), x - static_cast<float>(turned.image->GetWidth()) * 0.5f,
                         y - static_cast<float>(turned.image->GetHeight()) * 0.5f, turned.state);
    }

    int DrawStretchedRotatedImage(IImage* image, const Rect<int>& destination, Angle angle,
                                  const sDrawState& state) override
    {
        Image* source = dynamic_cast<Image*>(image);
        if (!source || destination.isEmpty())
            return DrawResult_Nothing;
        TurnedImage turned;
        const int result = TurnImage(source, angle, state, &turned);
        if (result != DrawResult_Drawn)
            return result;
        // The turned copy is larger than the image; it is scaled as the image would be, so that the
        // turned picture keeps the size asked for, and centred on the destination's x, y.
        const long long width =
            static_cast<long long>(turned.image->GetWidth()) * destination.width / turned.sourceWidth;
        const long long height =
            static_cast<long long>(turned.image->GetHeight()) * destination.height / turned.sourceHeight;
        const auto toInt = [](long long value)
        { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); };
        const Rect<int> placed(toInt(destination.x - width / 2), toInt(destination.y - height / 2), toInt(width),
                               toInt(height));
        return DrawStretchedImage(const_cast<Image*>(turned.image), placed, turned.state);
    }

    int DrawPrimitive(PrimitiveKind, IImage*, int, const sPrimitiveVertex*, const sDrawState&) override
    {
        return DrawResult_Unsupported;
    }

    // --- IPixelSettingCanvas ---

    int SetPixel(float x, float y, Color32 color) override
    {
        mImage->SetPixel(TruncateToInt(x), TruncateToInt(y), color);
        return DrawResult_Drawn;
    }

    Color32 GetPixel(float x, float y) override { return mImage->GetPixel(TruncateToInt(x), TruncateToInt(y)); }

    // --- IEllipseDrawingCanvas ---

    int DrawLineCircle(float centerX, float centerY, float radius, const sDrawState& state) override
    {
        return DrawCircle(centerX, centerY, radius, false, state);
    }

    int DrawFilledCircle(float centerX, float centerY, float radius, const sDrawState& state) override
    {
        return DrawCircle(centerX, centerY, radius, true, state);
    }

    int DrawLineEllipse(const Rect<float>& bounds, const sDrawState& state) override
    {
        return DrawEllipse(bounds, false, state);
    }

    int DrawFilledEllipse(const Rect<float>& bounds, const sDrawState& state) override
    {
        return DrawEllipse(bounds, true, state);
    }

private:
    // Inclusive edges of the area a circle may write.
    struct Edges
    {
        long long left;
        long long top;
        long long right;
        long long bottom;
    };

    // Bounds, clip rectangle and the image's present size (in case it was re-made since).
    Rect<int> GetVisible(const sDrawState& state) const
    {
        return mBounds.getIntersection(Rect<int>(0, 0, mImage->GetWidth(), mImage->GetHeight()))
            .getIntersection(state.clipRect);
    }

    Color32* RowAt(int y) { return mImage->GetPixels() + static_cast<size_t>(y) * mImage->GetWidth(); }

    BLIT_TARGET GetTarget()
    {
        BLIT_TARGET target;
        target.pixels = mImage->GetPixels();
        target.width = mImage->GetWidth();
        target.height = mImage->GetHeight();
        return target;
    }

    void Plot(long long x, long long y, Color32 color, const Edges& edges)
    {
        if (x >= edges.left && x <= edges.right && y >= edges.top && y <= edges.bottom)
            RowAt(static_cast<int>(y))[x] = color;
    }

    void Span(long long x1, long long x2, long long y, Color32 color, const Edges& edges)
    {
        if (y < edges.top || y > edges.bottom)
            return;
        const long long from = std::max(x1, edges.left);
        const long long to = std::min(x2, edges.right);
        Color32* row = RowAt(static_cast<int>(y));
        for (long long x = from; x <= to; ++x)
            row[x] = color;
    }

    // The four mirror images of one quarter-arc point about the centre.
    void PlotArcPoint(long long cx, long long cy, long long vx, long long vy, bool filled, Color32 color,
                      const Edges& edges)
    {
        if (filled)
        {
            Span(cx - vx, cx + vx, cy + vy, color, edges);
            Span(cx - vx, cx + vx, cy - vy, color, edges);
        }
        else
        {
            Plot(cx + vx, cy + vy, color, edges);
            Plot(cx - vx, cy + vy, color, edges);
            Plot(cx + vx, cy - vy, color, edges);
            Plot(cx - vx, cy - vy, color, edges);
        }
    }

    bool GetEdges(const sDrawState& state, Edges* edges) const
    {
        const Rect<int> visible = GetVisible(state);
        if (visible.isEmpty())
            return false;
        edges->left = visible.x;
        edges->top = visible.y;
        edges->right = static_cast<long long>(visible.x) + visible.width - 1;
        edges->bottom = static_cast<long long>(visible.y) + visible.height - 1;
        return true;
    }

    static bool IsOutside(long long left, long long top, long long right, long long bottom, const Edges& edges)
    {
        return right < edges.left || left > edges.right || bottom < edges.top || top > edges.bottom;
    }

    int DrawCircle(float centerX, float centerY, float radius, bool filled, const sDrawState& state)
    {
        // Written so that NaN colours and sizes draw nothing.
        if (!(state.color.a >= 0.5f) || !std::isfinite(centerX) || !std::isfinite(centerY) || !std::isfinite(radius) ||
            radius > Internal::kMaxCircleRadius)
            return DrawResult_Nothing;
        const long long cx = TruncateToInt(centerX);
        const long long cy = TruncateToInt(centerY);
        const long long r = FloorToInt(radius + 0.5f);
        Edges edges;
        if (r < 0 || !GetEdges(state, &edges) || IsOutside(cx - r, cy - r, cx + r, cy + r, edges))
            return DrawResult_Nothing;
        const Color32 color = ToColor32(state.color);
        if (radius == 0.5f)
        {
            if (IsOutside(cx, cy, cx, cy, edges))
                return DrawResult_Nothing;
            Plot(cx, cy, color, edges);
        }
        else if (r == 1)
        {
            // Too small for the arc: the centre and its four neighbours.
            Plot(cx, cy, color, edges);
            PlotArcPoint(cx, cy, 1, 0, false, color, edges);
            PlotArcPoint(cx, cy, 0, 1, false, color, edges);
        }
        else
        {
            const std::vector<Vector2<int>>& arc = Internal::GetCircleVerticesI().GetCachedVertices(radius);
            if (arc.empty())
                return DrawResult_Nothing;
            for (const Vector2<int>& point : arc)
                PlotArcPoint(cx, cy, point.x, point.y, filled, color, edges);
        }
        mImage->MarkChanged();
        return DrawResult_Drawn;
    }

    int DrawEllipse(const Rect<float>& bounds, bool filled, const sDrawState& state)
    {
        const float w = bounds.width;
        const float h = bounds.height;
        if (!std::isfinite(bounds.x) || !std::isfinite(bounds.y) || !std::isfinite(w) || !std::isfinite(h))
            return DrawResult_Nothing;
        if (TruncateToInt(w - h) == 0)
            return DrawCircle(bounds.x + w * 0.5f, bounds.y + w * 0.5f, w * 0.5f, filled, state);
        if (!(w > 0.0f) || !(h > 0.0f) || !(state.color.a >= 0.5f))
            return DrawResult_Nothing;
        Edges edges;
        const long long cx = TruncateToInt(bounds.x + w * 0.5f);
        const long long cy = TruncateToInt(bounds.y + h * 0.5f);
        // The arc of the rounded radius may pass the bounds by a pixel: a clip edge there must not drop it.
        const long long reach = static_cast<long long>(FloorToInt(std::max(w, h) * 0.5f + 0.5f)) + 1;
        if (!GetEdges(state, &edges) || IsOutside(cx - reach, cy - reach, cx + reach, cy + reach, edges))
            return DrawResult_Nothing;
        const bool tall = w <= h;
        const std::vector<Vector2<int>>& arc =
            Internal::GetCircleVerticesI().GetCachedVertices(tall ? h * 0.5f : w * 0.5f);
        if (arc.empty())
            return DrawResult_Nothing;
        const float scale = tall ? w / h : h / w;
        const Color32 color = ToColor32(state.color);
        bool first = true;
        long long lastX = 0;
        long long lastY = 0;
        for (const Vector2<int>& point : arc)
        {
            const long long x = tall ? TruncateToInt(static_cast<float>(point.x) * scale) : point.x;
            const long long y = tall ? point.y : TruncateToInt(static_cast<float>(point.y) * scale);
            if (!first && x == lastX && y == lastY)
                continue;
            first = false;
            lastX = x;
            lastY = y;
            PlotArcPoint(cx, cy, x, y, filled, color, edges);
        }
        mImage->MarkChanged();
        return DrawResult_Drawn;
    }

    Image* mImage;
    Rect<int> mBounds;
};

} // namespace

ICanvas* CreateImageCanvas(Image* image)
{
    if (!image)
        return nullptr;
    return new ImageCanvas(image);
}

void DestroyImageCanvas(ICanvas* canvas)
{
    delete dynamic_cast<ImageCanvas*>(canvas);
}

} // namespace Strata::Graphics

// --- Circle vertices ---

namespace Strata::Internal
{

template <class T>
const std::vector<Vector2<T>>& CircleVerticesCache<T>::GetCachedVertices(float radius)
{
    if (!std::isfinite(radius) || radius > kMaxCircleRadius)
        return mEmpty;
    const float rounded = std::floor(2.0f * radius + 0.5f) / 2.0f;
    if (!(rounded > 0.0f))
        return mEmpty;
    const size_t index = static_cast<size_t>(rounded * 2.0f);
    std::lock_guard<std::mutex> lock(mMutex);
    if (mLists.size() <= index)
        mLists.resize(index + 256);
    std::unique_ptr<std::vector<Vector2<T>>>& entry = mLists[index];
    if (!entry)
    {
        auto points = std::make_unique<std::vector<Vector2<T>>>();
        const int n = Graphics::TruncateToInt(std::ceil(Angle::pi() * rounded * 0.5f));
        points->reserve(static_cast<size_t>(n) + 1);
        const float quarter = Angle::circle() * 0.25f;
        for (int j = 0; j <= n; ++j)
        {
            const float theta = static_cast<float>(j) * quarter / static_cast<float>(n);
            Vector2<T> point;
            if constexpr (std::is_same_v<T, int>)
            {
                point = Vector2<int>(Graphics::TruncateToInt(rounded * std::cos(theta)),
                                     Graphics::TruncateToInt(rounded * std::sin(theta)));
            }
            else
            {
                point = Vector2<float>(rounded * std::cos(theta), rounded * std::sin(theta));
            }
            if (point != Vector2<T>())
                points->push_back(point);
        }
        entry = std::move(points);
    }
    return *entry;
}

template class CircleVerticesCache<float>;
template class CircleVerticesCache<int>;

CircleVerticesCacheF& GetCircleVerticesF()
{
    static CircleVerticesCacheF cache;
    return cache;
}

CircleVerticesCacheI& GetCircleVerticesI()
{
    static CircleVerticesCacheI cache;
    return cache;
}

} // namespace Strata::Internal
