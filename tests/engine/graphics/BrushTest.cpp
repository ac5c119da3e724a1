#include "graphics/Brush.h"

#include "graphics/ImageList.h"
#include "graphics/SoftwareCanvas.h"

#include "DrawRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;
using DrawRecorder::RecordingCanvas;
using DrawRecorder::Solid;

namespace
{

using PixelFunction = std::function<Color32(int, int)>;

// Brush pieces kept by the test, listed (not owned) in an image list.
struct Pieces
{
    void Add(std::unique_ptr<Image> image)
    {
        images.push_back(std::move(image));
        list.AddImage(images.back().get());
    }
    void Add(int width, int height, Color32 color = Color32(255, 255, 255, 255)) { Add(Solid(width, height, color)); }
    IImage* operator[](size_t i) const { return images[i].get(); }

    std::vector<std::unique_ptr<Image>> images;
    ImageList list;
};

std::unique_ptr<Image> Pattern(int width, int height, const PixelFunction& pixel)
{
    auto image = Solid(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixel(x, y, pixel(x, y));
    return image;
}

// Draws into a fresh transparent image through a software image canvas.
std::unique_ptr<Image> Render(int width, int height, const std::function<void(ICanvas*)>& draw)
{
    auto target = Solid(width, height, Color32());
    ICanvas* canvas = CreateImageCanvas(target.get());
    draw(canvas);
    DestroyImageCanvas(canvas);
    return target;
}

void ExpectPixels(const Image& image, const PixelFunction& expected)
{
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            ASSERT_EQ(image.GetPixel(x, y), expected(x, y)) << "at " << x << ", " << y;
}

Color32 Grey(int level)
{
    return Color32(static_cast<uint8_t>(level), static_cast<uint8_t>(level), static_cast<uint8_t>(level), 255);
}

const sDrawState& Defaults()
{
    return sDrawState::GetDefaults();
}

} // namespace

TEST(ThreeBrushTest, CapsFlushWithBothEndsAndTheLastMiddlePieceCut)
{
    Pieces pieces;
    pieces.Add(10, 8);
    pieces.Add(30, 8);
    pieces.Add(10, 8);
    RecordingCanvas canvas;
    ASSERT_EQ(DrawThreeBrush(&pieces.list, 10.7f, 3.2f, 100.0f, Defaults(), &canvas), 0);
    // Snapped to 10..110: left cap, right cap, then the middle from left to right, the last piece cut.
    ASSERT_EQ(canvas.draws.size(), 5u);
    const IImage* images[5] = {pieces[0], pieces[2], pieces[1], pieces[1], pieces[1]};
    const float xs[5] = {10, 100, 20, 50, 80};
    for (size_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(canvas.draws[i].image, images[i]) << i;
        EXPECT_EQ(canvas.draws[i].x, xs[i]) << i;
        EXPECT_EQ(canvas.draws[i].y, 3.0f) << i;
    }
    EXPECT_EQ(canvas.draws[3].source, Rect<int>());
    EXPECT_EQ(canvas.draws[4].source, Rect<int>(0, 0, 20, 8)) << "cut, not squeezed";

    // Narrower than the caps: they overlap, the right one flush with the end, and no middle.
    canvas.draws.clear();
    DrawThreeBrush(&pieces.list, 5.0f, 0.0f, 14.0f, Defaults(), &canvas);
    ASSERT_EQ(canvas.draws.size(), 2u);
    EXPECT_EQ(canvas.draws[1].x, 9.0f);

    // The vertical form: top 10, bottom 30; middles at 14, 19 and 24 (cut to 3).
    Pieces column;
    column.Add(6, 4);
    column.Add(6, 5);
    column.Add(6, 3);
    canvas.draws.clear();
    ASSERT_EQ(DrawThreeBrushVertical(&column.list, 2.5f, 10.9f, 20.0f, Defaults(), &canvas), 0);
    ASSERT_EQ(canvas.draws.size(), 5u);
    const float ys[5] = {10, 27, 14, 19, 24};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(canvas.draws[i].y, ys[i]) << i;
    EXPECT_EQ(canvas.draws[0].x, 2.0f);
    EXPECT_EQ(canvas.draws[4].source, Rect<int>(0, 0, 6, 3));
}

TEST(ThreeBrushTest, ListAndBaseIndexChecks)
{
    Pieces pieces;
    for (int i = 0; i < 8; ++i)
        pieces.Add(2 + i, 4);
    RecordingCanvas canvas;
    EXPECT_EQ(DrawThreeBrush(nullptr, 0, 0, 50, Defaults(), &canvas), 1);
    EXPECT_EQ(DrawNineBrush(nullptr, 0, 0, 50, 50, Defaults(), &canvas), 1);
    for (int base : {-1, 6, INT_MAX})
        EXPECT_EQ(DrawThreeBrushVertical(&pieces.list, base, 0, 0, 50, Defaults(), &canvas), -1) << base;
    EXPECT_EQ(DrawNineBrush(&pieces.list, 0, 0, 50, 50, Defaults(), &canvas), -1) << "eight images";
    EXPECT_TRUE(canvas.draws.empty());

    // Base 3 uses images 3 to 5.
    EXPECT_EQ(DrawThreeBrush(&pieces.list, 3, 0, 0, 30, Defaults(), &canvas), 0);
    ASSERT_GE(canvas.draws.size(), 3u);
    EXPECT_EQ(canvas.draws[1].image, pieces[5]);
    EXPECT_EQ(canvas.draws[2].image, pieces[4]);
}

TEST(ThreeBrushTest, DrawnPixelsAndTheHitTestAgree)
{
    // Each piece's alpha tells the piece, the column and the row.
    Pieces pieces;
    for (int piece = 0; piece < 3; ++piece)
    {
        const int widths[3] = {3, 4, 2};
        pieces.Add(Pattern(widths[piece], 2,
                           [piece](int x, int y)
                           { return Color32(9, 9, 9, static_cast<uint8_t>(10 * (piece + 1) + x + 100 * y)); }));
    }
    // Left cap 0-2, middles at 3, 7 and 11 (cut to 2), right cap 13-14: the cut piece stops at the cap.
    const float width = 15.0f;
    const auto image = Render(
        17, 3, [&](ICanvas* canvas) { DrawThreeBrush(&pieces.list, 0, 0, width, DrawRecorder::CopyState(), canvas); });
    ExpectPixels(*image,
                 [&](int x, int y)
                 {
                     const uint8_t alpha = GetThreeBrushPixelAlpha(&pieces.list, 0, x, y, width);
                     return alpha == 0 ? Color32() : Color32(9, 9, 9, alpha);
                 });
    EXPECT_EQ(image->GetPixel(12, 0).a, 21);
    EXPECT_EQ(image->GetPixel(13, 0).a, 30);
    EXPECT_EQ(GetThreeBrushPixelAlpha(&pieces.list, 0, 8, 1, width), 121);

    for (int x : {-1, 15})
        EXPECT_EQ(GetThreeBrushPixelAlpha(&pieces.list, 0, x, 0, width), 0) << x;
    for (int y : {-1, 2})
        EXPECT_EQ(GetThreeBrushPixelAlpha(&pieces.list, 0, 0, y, width), 0) << y;
    EXPECT_EQ(GetThreeBrushPixelAlpha(nullptr, 0, 0, 0, width), 0);
    EXPECT_EQ(GetThreeBrushPixelAlpha(&pieces.list, 1, 0, 0, width), 0) << "too few images";
    EXPECT_EQ(GetThreeBrushPixelAlpha(&pieces.list, -1, 0, 0, width), 0);
}

TEST(NineBrushTest, RowsFromTheBaseIndexAndTheLastRowClipped)
{
    Pieces pieces;
    for (int i = 0; i < 9; ++i)
        pieces.Add(1, 1); // not part of the brush
    const int heights[9] = {5, 5, 5, 20, 20, 20, 7, 7, 7};
    for (int i = 0; i < 9; ++i)
        pieces.Add(i % 3 == 1 ? 3 : 4, heights[i]);

    // Middle gap 50 from y 5: rows at 5 and 25, the last at 45 clipped to 10 pixels; the bottom row at 55
    // by the height of image 15. The last row's clip lies inside the caller's, or is not drawn at all.
    struct Case
    {
        Rect<int> clip;
        Rect<int> lastRowClip;
    };
    const Case cases[] = {{Rect<int>(-100, -100, 1000, 1000), Rect<int>(0, 45, 20, 10)},
                          {Rect<int>(2, 0, 100, 50), Rect<int>(2, 45, 18, 5)},
                          {Rect<int>(0, 0, 100, 40), Rect<int>()}};
    for (const Case& c : cases)
    {
        RecordingCanvas canvas;
        sDrawState state = Defaults();
        state.clipRect = c.clip;
        ASSERT_EQ(DrawNineBrush(&pieces.list, 9, 0, 0, 20, 62, state, &canvas), 0);
        std::vector<float> rows;
        for (const auto& draw : canvas.draws)
        {
            EXPECT_NE(draw.image, pieces[0]);
            if (draw.image == pieces[15])
                EXPECT_EQ(draw.y, 55.0f);
            if (draw.image != pieces[12])
                continue;
            rows.push_back(draw.y);
            EXPECT_EQ(draw.clip, draw.y == 45.0f ? c.lastRowClip : c.clip);
        }
        const std::vector<float> expected =
            c.lastRowClip.isEmpty() ? std::vector<float>{5, 25} : std::vector<float>{5, 25, 45};
        EXPECT_EQ(rows, expected);
    }
}

TEST(NineBrushTest, PixelsStayInsideTheCallersClip)
{
    Pieces pieces;
    for (int i = 0; i < 9; ++i)
        pieces.Add(2, 2, Grey(20 + 20 * i));
    // 6 x 9: top row y 0-1, middle rows at 2 and 4 and one cut to y 6, bottom row y 7-8.
    const auto brush = [](int x, int y)
    {
        const int column = x < 2 ? 0 : (x < 4 ? 1 : 2);
        const int row = y < 2 ? 0 : (y < 7 ? 1 : 2);
        return Grey(20 + 20 * (row * 3 + column));
    };
    for (int clipWidth : {10, 3})
    {
        sDrawState state = DrawRecorder::CopyState();
        state.clipRect = Rect<int>(0, 0, clipWidth, 10);
        const auto image = Render(
            8, 10, [&](ICanvas* canvas) { DrawNineBrush(&pieces.list, 0, 0, 6, 9, state, canvas); });
        ExpectPixels(*image,
                     [&](int x, int y) { return x < std::min(6, clipWidth) && y < 9 ? brush(x, y) : Color32(); });
    }
}

TEST(BrushTest, PiecesWithNoLengthReturnAnErrorAndDrawNothing)
{
    RecordingCanvas canvas;
    Pieces flat;
    flat.Add(4, 4);
    flat.Add(0, 0);
    flat.Add(4, 4);
    EXPECT_EQ(DrawThreeBrush(&flat.list, 0, 0, 100, Defaults(), &canvas), -1);
    EXPECT_EQ(DrawThreeBrushVertical(&flat.list, 0, 0, 100, Defaults(), &canvas), -1);
    EXPECT_TRUE(canvas.draws.empty());
    // No middle piece needed: the caps are drawn.
    EXPECT_EQ(DrawThreeBrush(&flat.list, 0, 0, 8, Defaults(), &canvas), 0);
    EXPECT_EQ(canvas.draws.size(), 2u);
    // The hit test does not divide by zero.
    EXPECT_EQ(GetThreeBrushPixelAlpha(&flat.list, 0, 6, 1, 100.0f), 0);
    EXPECT_EQ(GetThreeBrushPixelAlpha(&flat.list, 0, 1, 1, 100.0f), 255);

    // A nine brush checks every row before drawing any.
    for (int emptyPiece : {3, 4, 7})
    {
        Pieces nine;
        for (int i = 0; i < 9; ++i)
            nine.Add(i == emptyPiece ? 0 : 4, i == emptyPiece ? 0 : 4);
        canvas.draws.clear();
        EXPECT_EQ(DrawNineBrush(&nine.list, 0, 0, 40, 40, Defaults(), &canvas), -1) << emptyPiece;
        EXPECT_TRUE(canvas.draws.empty()) << emptyPiece;
    }

    Image empty;
    EXPECT_EQ(DrawTiledImageHV(&empty, Rect<float>(0, 0, 100, 100), Vector2<int>(3, -7), Defaults(), &canvas), 1);
    EXPECT_EQ(GetTiledImageHVPixel(&empty, Vector2<float>(10, 10), Vector2<int>(3, 3), 1, 1),
              Color32(255, 255, 255, 255));
}

TEST(BrushTest, HugeBrushesAndTilesCostOnlyTheirVisiblePart)
{
    Pieces pieces;
    pieces.Add(10, 4, Color32(255, 0, 0, 255));
    pieces.Add(Pattern(30, 4, [](int x, int) { return Grey(x); }));
    pieces.Add(10, 4, Color32(0, 0, 255, 255));
    RecordingCanvas canvas(Rect<int>(0, 0, 64, 16));
    ASSERT_EQ(DrawThreeBrush(&pieces.list, -1.0e9f, 0, 3.0e9f, Defaults(), &canvas), 0);
    EXPECT_LT(canvas.draws.size(), 12u);
    // What is drawn is what the full walk would draw: the middle runs on from the left cap.
    const auto brush = Render(
        64, 4,
        [&](ICanvas* target) { DrawThreeBrush(&pieces.list, -1.0e9f, 0, 3.0e9f, DrawRecorder::CopyState(), target); });
    ExpectPixels(
        *brush, [](int x, int) { return Grey(static_cast<int>((x + 1000000000LL - 10) % 30)); });

    auto tile = Pattern(32, 32, [](int x, int y) { return Color32(uint8_t(x), uint8_t(y), 7, 255); });
    const Rect<float> area(-1.0e9f, -1.0e9f, 3.0e9f, 3.0e9f);
    const Vector2<int> offset(5, 9);
    canvas.draws.clear();
    ASSERT_EQ(DrawTiledImageHV(tile.get(), area, offset, Defaults(), &canvas), 0);
    EXPECT_LT(canvas.draws.size(), 30u);
    const auto tiled = Render(
        64, 16,
        [&](ICanvas* target) { DrawTiledImageHV(tile.get(), area, offset, DrawRecorder::CopyState(), target); });
    ExpectPixels(*tiled,
                 [&](int x, int y) {
                     return GetTiledImageHVPixel(tile.get(), Vector2<float>(3.0e9f, 3.0e9f), offset, x + 1000000000,
                                                 y + 1000000000);
                 });
}

TEST(TiledImageTest, OffsetBroughtIntoTheImageAndTilesCutAtTheEdges)
{
    auto image = Solid(32, 32);
    RecordingCanvas canvas;
    ASSERT_EQ(DrawTiledImageHV(image.get(), Rect<float>(0, 0, 100, 40), Vector2<int>(40, -8), Defaults(), &canvas), 0);
    // Offset (8, 24): columns 24, 32, 32, 12 wide in rows 8 and 32 high. Whole tiles keep the caller's
    // state, without a source rectangle.
    ASSERT_EQ(canvas.draws.size(), 8u);
    const int widths[4] = {24, 32, 32, 12};
    const int xs[4] = {0, 24, 56, 88};
    for (int row = 0; row < 2; ++row)
    {
        for (int column = 0; column < 4; ++column)
        {
            const auto& draw = canvas.draws[static_cast<size_t>(row * 4 + column)];
            EXPECT_EQ(draw.x, static_cast<float>(xs[column]));
            EXPECT_EQ(draw.y, row == 0 ? 0.0f : 8.0f);
            const Rect<int> source(column == 0 ? 8 : 0, row == 0 ? 24 : 0, widths[column], row == 0 ? 8 : 32);
            EXPECT_EQ(draw.source, source == Rect<int>(0, 0, 32, 32) ? Rect<int>() : source) << row << column;
        }
    }

    // The row and column forms: one tile high or wide.
    canvas.draws.clear();
    ASSERT_EQ(DrawTiledImageH(image.get(), 3, 2, 50, 30, Defaults(), &canvas), 0);
    ASSERT_EQ(canvas.draws.size(), 3u);
    EXPECT_EQ(canvas.draws[0].source, Rect<int>(30, 0, 2, 32));
    EXPECT_EQ(canvas.draws[2].source, Rect<int>(0, 0, 16, 32));
    canvas.draws.clear();
    ASSERT_EQ(DrawTiledImageV(image.get(), 3, 2, 40, Defaults(), &canvas), 0);
    ASSERT_EQ(canvas.draws.size(), 2u);
    EXPECT_EQ(canvas.draws[1].y, 34.0f);
    EXPECT_EQ(canvas.draws[1].source, Rect<int>(0, 0, 32, 8));

    canvas.draws.clear();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(DrawTiledImageHV(nullptr, Rect<float>(0, 0, 10, 10), Vector2<int>(), Defaults(), &canvas), 1);
    EXPECT_EQ(DrawTiledImageHV(image.get(), Rect<float>(0, 0, 0, 10), Vector2<int>(), Defaults(), &canvas), 1);
    EXPECT_EQ(DrawTiledImageHV(image.get(), Rect<float>(0, 0, nan, 10), Vector2<int>(), Defaults(), &canvas), 1);
    EXPECT_EQ(DrawTiledImageH(nullptr, 0, 0, 10, 3, Defaults(), &canvas), 1);
    EXPECT_EQ(DrawTiledImageV(nullptr, 0, 0, 10, Defaults(), &canvas), 1);
    EXPECT_TRUE(canvas.draws.empty());
}

TEST(TiledImageTest, DrawnPixelsMatchTheHitTest)
{
    auto image = Pattern(
        5, 3, [](int x, int y) { return Color32(uint8_t(10 * x + 1), uint8_t(y), 9, uint8_t(100 + x + 10 * y)); });
    const Rect<float> area(2, 1, 13, 7);
    const Vector2<float> size(13, 7);
    const Vector2<int> offset(-7, 4);
    const auto target = Render(20, 12,
                               [&](ICanvas* canvas)
                               { DrawTiledImageHV(image.get(), area, offset, DrawRecorder::CopyState(), canvas); });
    ExpectPixels(*target,
                 [&](int x, int y)
                 {
                     const bool inside = x >= 2 && x < 15 && y >= 1 && y < 8;
                     return inside ? GetTiledImageHVPixel(image.get(), size, offset, x - 2, y - 1) : Color32();
                 });
    // The area's corner shows the image at the offset brought into it, (3, 1).
    EXPECT_EQ(GetTiledImageHVAlpha(image.get(), size, offset, 0, 0), 113);

    // Outside the area, or without an image: opaque white.
    for (Vector2<int> p : {Vector2<int>(-1, 0), Vector2<int>(13, 0), Vector2<int>(0, 7), Vector2<int>(0, -1)})
        EXPECT_EQ(GetTiledImageHVPixel(image.get(), size, offset, p.x, p.y), Color32(255, 255, 255, 255));
    EXPECT_EQ(GetTiledImageHVAlpha(nullptr, size, offset, 1, 1), 255);
    // Offsets at the ends of the int range do not overflow.
    EXPECT_EQ(GetTiledImageHVPixel(image.get(), size, Vector2<int>(INT_MAX, INT_MIN), 12, 6),
              image->GetPixel(int((12LL + INT_MAX) % 5), int(((6LL + INT_MIN) % 3 + 3) % 3)));
}
