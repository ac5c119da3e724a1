#include "graphics/Drawing.h"

#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;

namespace
{

// A canvas that records what reaches it; which abilities it offers is chosen per test.
class RecordingCanvas final : public ICanvas,
                              public ILineDrawingCanvas,
                              public IQuadDrawingCanvas,
                              public IPixelSettingCanvas,
                              public IEllipseDrawingCanvas
{
public:
    enum Ability
    {
        Lines = 1,
        Quads = 2,
        Pixels = 4,
        Ellipses = 8
    };

    explicit RecordingCanvas(int abilities, Rect<int> bounds = Rect<int>(0, 0, 16, 16))
        : mAbilities(abilities), mBounds(bounds)
    {
    }

    Label GetKind() const override { return Label("RecordingCanvas"); }
    const Rect<int>& GetBounds() const override { return mBounds; }
    bool QueryInterface(Label name, void** out) override
    {
        return AnswerInterface<ICanvas>(this, name, out) ||
               ((mAbilities & Lines) && AnswerInterface<ILineDrawingCanvas>(this, name, out)) ||
               ((mAbilities & Quads) && AnswerInterface<IQuadDrawingCanvas>(this, name, out)) ||
               ((mAbilities & Pixels) && AnswerInterface<IPixelSettingCanvas>(this, name, out)) ||
               ((mAbilities & Ellipses) && AnswerInterface<IEllipseDrawingCanvas>(this, name, out));
    }

    int DrawLine(float x1, float y1, float x2, float y2, const sDrawState&) override
    {
        return Record("DrawLine", {x1, y1, x2, y2});
    }
    int DrawFilledRect(const Rect<int>& r, const sDrawState&) override
    {
        return Record("DrawFilledRectI", {float(r.x), float(r.y), float(r.width), float(r.height)});
    }
    int DrawFilledRect(const Rect<float>& r, const sDrawState&) override
    {
        return Record("DrawFilledRectF", {r.x, r.y, r.width, r.height});
    }
    int DrawImage(IImage*, float x, float y, const sDrawState&) override { return Record("DrawImage", {x, y}); }
    int DrawStretchedImage(IImage*, const Rect<int>& r, const sDrawState&) override
    {
        return Record("DrawStretchedImage", {float(r.x), float(r.y), float(r.width), float(r.height)});
    }
    int DrawRotatedImage(IImage*, float x, float y, Angle angle, const sDrawState&) override
    {
        return Record("DrawRotatedImage", {x, y, angle.GetValue()});
    }
    int DrawStretchedRotatedImage(IImage*, const Rect<int>&, Angle, const sDrawState&) override
    {
        return Record("DrawStretchedRotatedImage", {});
    }
    int DrawPrimitive(PrimitiveKind, IImage*, int, const sPrimitiveVertex*, const sDrawState&) override
    {
        return Record("DrawPrimitive", {});
    }
    int SetPixel(float x, float y, Color32 color) override
    {
        pixels[{int(x), int(y)}] = color;
        return 0;
    }
    Color32 GetPixel(float x, float y) override
    {
        const auto it = pixels.find({int(x), int(y)});
        return it != pixels.end() ? it->second : background;
    }
    int DrawLineCircle(float, float, float, const sDrawState&) override { return Record("DrawLineCircle", {}); }
    int DrawFilledCircle(float, float, float, const sDrawState&) override { return Record("DrawFilledCircle", {}); }
    int DrawLineEllipse(const Rect<float>& r, const sDrawState&) override
    {
        return Record("DrawLineEllipse", {r.x, r.y, r.width, r.height});
    }
    int DrawFilledEllipse(const Rect<float>& r, const sDrawState&) override
    {
        return Record("DrawFilledEllipse", {r.x, r.y, r.width, r.height});
    }

    std::set<std::pair<int, int>> Plotted() const
    {
        std::set<std::pair<int, int>> plotted;
        for (const auto& entry : pixels)
            plotted.insert(entry.first);
        return plotted;
    }

    struct Call
    {
        std::string name;
        std::vector<float> values;
    };
    std::vector<Call> calls;
    std::map<std::pair<int, int>, Color32> pixels;
    Color32 background;
    int result = 0;

private:
    int Record(const char* name, std::vector<float> values)
    {
        calls.push_back({name, std::move(values)});
        return result;
    }

    int mAbilities;
    Rect<int> mBounds;
};

sDrawState Defaults()
{
    return sDrawState::GetDefaults();
}

using Points = std::set<std::pair<int, int>>;

} // namespace

TEST(DrawLineTest, MissingCanvasOrAbilities)
{
    EXPECT_EQ(DrawLine(0, 0, 1, 1, Defaults(), nullptr), 1);
    RecordingCanvas quadsOnly(RecordingCanvas::Quads);
    EXPECT_EQ(DrawLine(0, 0, 1, 1, Defaults(), &quadsOnly), -2);
    EXPECT_EQ(DrawLineRect(Rect<float>(0, 0, 4, 4), Defaults(), &quadsOnly), -2);
    EXPECT_EQ(DrawLineRect(Rect<float>(0, 0, 4, 4), Defaults(), nullptr), 1);
}

TEST(DrawLineTest, PixelFallbackRoundsEndPointsAndPlotsTheEndLast)
{
    RecordingCanvas canvas(RecordingCanvas::Pixels);
    EXPECT_EQ(DrawLine(0.4f, 0.0f, 3.6f, 0.0f, Defaults(), &canvas), 0);
    EXPECT_EQ(canvas.Plotted(), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));

    RecordingCanvas backwards(RecordingCanvas::Pixels);
    DrawLine(4.0f, 3.0f, 0.0f, 1.0f, Defaults(), &backwards);
    EXPECT_EQ(backwards.Plotted(), (Points{{4, 3}, {3, 2}, {2, 2}, {1, 1}, {0, 1}}));

    RecordingCanvas steep(RecordingCanvas::Pixels);
    DrawLine(1.0f, 0.0f, 2.0f, 4.0f, Defaults(), &steep);
    EXPECT_EQ(steep.Plotted(), (Points{{1, 0}, {1, 1}, {2, 2}, {2, 3}, {2, 4}}));

    RecordingCanvas diagonal(RecordingCanvas::Pixels);
    DrawLine(3.0f, 0.0f, 0.0f, 3.0f, Defaults(), &diagonal);
    EXPECT_EQ(diagonal.Plotted(), (Points{{3, 0}, {2, 1}, {1, 2}, {0, 3}}));
}

TEST(DrawLineTest, ZeroLengthLinePlotsOnePixelOnlyWhenVisible)
{
    RecordingCanvas inside(RecordingCanvas::Pixels);
    EXPECT_EQ(DrawLine(5.0f, 5.0f, 5.0f, 5.0f, Defaults(), &inside), 0);
    EXPECT_EQ(inside.Plotted(), (Points{{5, 5}}));

    RecordingCanvas outside(RecordingCanvas::Pixels);
    EXPECT_EQ(DrawLine(16.0f, 5.0f, 16.0f, 5.0f, Defaults(), &outside), 0);
    EXPECT_TRUE(outside.pixels.empty());

    RecordingCanvas clipped(RecordingCanvas::Pixels);
    sDrawState state = Defaults();
    state.clipRect = Rect<int>(0, 0, 5, 16);
    DrawLine(5.0f, 5.0f, 5.0f, 5.0f, state, &clipped);
    EXPECT_TRUE(clipped.pixels.empty());
}

TEST(DrawLineTest, BlendingWithTheTarget)
{
    sDrawState state = Defaults();
    RecordingCanvas clear(RecordingCanvas::Pixels);
    clear.background = Color32(10, 20, 30, 40);
    state.color = ColorF(1.0f, 0.0f, 0.0f, 0.0f);
    DrawLine(0, 0, 2, 0, state, &clear);
    EXPECT_EQ(clear.pixels.size(), 3u);
    EXPECT_EQ(clear.pixels[std::make_pair(1, 0)], Color32(10, 20, 30, 40));

    RecordingCanvas opaque(RecordingCanvas::Pixels);
    opaque.background = Color32(10, 20, 30, 40);
    state.color = ColorF(0.2f, 0.4f, 1.0f, 1.0f);
    DrawLine(0, 0, 2, 0, state, &opaque);
    EXPECT_EQ(opaque.pixels[std::make_pair(2, 0)], Color32(51, 102, 255, 255));

    // Out-of-range channels are clamped, not wrapped, when they become bytes.
    RecordingCanvas unblended(RecordingCanvas::Pixels);
    state.flags = 0;
    state.color = ColorF(2.0f, -1.0f, 1.0f, 0.0f);
    DrawLine(0, 0, 0, 0, state, &unblended);
    EXPECT_EQ(unblended.pixels[std::make_pair(0, 0)], Color32(255, 0, 255, 0));
}

TEST(DrawLineTest, LongLinesCostOnlyTheirVisiblePart)
{
    // Billions of steps if walked whole; only the part crossing the 16 x 16 canvas is walked.
    RecordingCanvas canvas(RecordingCanvas::Pixels);
    EXPECT_EQ(DrawLine(-2e9f, 3.0f, 2e9f, 3.0f, Defaults(), &canvas), 0);
    Points expected;
    for (int x = 0; x < 16; ++x)
        expected.insert({x, 3});
    EXPECT_EQ(canvas.Plotted(), expected);

    // A long shallow slope: the visible pixels match a short line of the same slope.
    RecordingCanvas farLine(RecordingCanvas::Pixels, Rect<int>(0, 0, 64, 64));
    DrawLine(-1000.0f, -500.0f, 1000.0f, 500.0f, Defaults(), &farLine);
    RecordingCanvas nearLine(RecordingCanvas::Pixels, Rect<int>(0, 0, 64, 64));
    DrawLine(-100.0f, -50.0f, 100.0f, 50.0f, Defaults(), &nearLine);
    EXPECT_EQ(farLine.Plotted(), nearLine.Plotted());
    EXPECT_EQ(farLine.Plotted().size(), 64u);

    RecordingCanvas nan(RecordingCanvas::Pixels);
    const float nanValue = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(DrawLine(nanValue, nanValue, 1e30f, -1e30f, Defaults(), &nan), 0);
}

TEST(DrawLineRectTest, FourLinesJustInsideTheRectangle)
{
    RecordingCanvas lines(RecordingCanvas::Lines);
    lines.result = 0;
    EXPECT_EQ(DrawLineRect(Rect<float>(2, 3, 4, 5), Defaults(), &lines), 0);
    ASSERT_EQ(lines.calls.size(), 4u);
    EXPECT_EQ(lines.calls[0].values, (std::vector<float>{2, 3, 5, 3}));
    EXPECT_EQ(lines.calls[1].values, (std::vector<float>{5, 3, 5, 7}));
    EXPECT_EQ(lines.calls[2].values, (std::vector<float>{5, 7, 2, 7}));
    EXPECT_EQ(lines.calls[3].values, (std::vector<float>{2, 7, 2, 3}));

    RecordingCanvas pixels(RecordingCanvas::Pixels);
    EXPECT_EQ(DrawLineRect(Rect<float>(10, 10, 1, 1), Defaults(), &pixels), 0);
    EXPECT_EQ(pixels.Plotted(), (Points{{10, 10}}));

    RecordingCanvas empty(RecordingCanvas::Lines);
    EXPECT_EQ(DrawLineRect(Rect<float>(1, 1, 0, 4), Defaults(), &empty), 1);
    EXPECT_EQ(DrawLineRect(Rect<float>(1, 1, 4, -1), Defaults(), &empty), 1);
    EXPECT_TRUE(empty.calls.empty());
}

TEST(DrawFilledRectTest, EmptyOrClippedAwayNeverReachesTheCanvas)
{
    RecordingCanvas canvas(RecordingCanvas::Quads);
    sDrawState state = Defaults();
    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 0, 0, 5), state, &canvas), 1);
    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 0, 5, -5), state, &canvas), 1);
    EXPECT_EQ(DrawFilledRect(Rect<float>(0, 0, -1, 5), state, &canvas), 1);
    EXPECT_EQ(DrawFilledRect(Rect<float>(0, 0, std::numeric_limits<float>::quiet_NaN(), 5), state, &canvas), 1);
    state.clipRect = Rect<int>(10, 10, 5, 5);
    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 0, 10, 10), state, &canvas), 1);
    EXPECT_TRUE(canvas.calls.empty());

    EXPECT_EQ(DrawFilledRect(Rect<int>(8, 12, 10, 10), state, &canvas), 0);
    EXPECT_EQ(DrawFilledRect(Rect<float>(8.5f, 9.0f, 4.0f, 2.0f), state, &canvas), 0);
    ASSERT_EQ(canvas.calls.size(), 2u);
    EXPECT_EQ(canvas.calls[0].values, (std::vector<float>{10, 12, 5, 3}));
    EXPECT_EQ(canvas.calls[1].values, (std::vector<float>{10, 10, 2.5f, 1}));

    RecordingCanvas noQuads(RecordingCanvas::Lines);
    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 0, 4, 4), Defaults(), &noQuads), -2);
    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 0, 4, 4), Defaults(), nullptr), 1);
}

TEST(DrawImageTest, AlignmentShiftsByTheDrawnSize)
{
    Image image(5, 3);
    RecordingCanvas canvas(RecordingCanvas::Quads);
    sDrawState state = Defaults();
    state.hAlign = HAlignment_Center;
    EXPECT_EQ(DrawImage(&image, 10.0f, 10.0f, state, &canvas), 0);
    EXPECT_EQ(canvas.calls.back().values, (std::vector<float>{8.0f, 10.0f}));

    state.hAlign = HAlignment_Right;
    state.vAlign = VAlignment_Bottom;
    EXPECT_EQ(DrawImage(&image, 10.5f, 10.0f, state, &canvas), 0);
    EXPECT_EQ(canvas.calls.back().values, (std::vector<float>{5.5f, 7.0f}));

    // The source rectangle's size decides, not the image's.
    state = DrawStateNPI(Defaults()).SourceRect(0, 0, 2, 2);
    state.vAlign = VAlignment_Middle;
    EXPECT_EQ(DrawImage(&image, 10.0f, 10.0f, state, &canvas), 0);
    EXPECT_EQ(canvas.calls.back().values, (std::vector<float>{10.0f, 9.0f}));

    const size_t before = canvas.calls.size();
    state = DrawStateNPI(Defaults()).SourceRect(0, 0, 2, 0);
    EXPECT_EQ(DrawImage(&image, 0, 0, state, &canvas), 1);
    Image empty;
    EXPECT_EQ(DrawImage(&empty, 0, 0, Defaults(), &canvas), 1);
    EXPECT_EQ(DrawImage(nullptr, 0, 0, Defaults(), &canvas), 1);
    EXPECT_EQ(canvas.calls.size(), before);

    RecordingCanvas noQuads(RecordingCanvas::Pixels);
    EXPECT_EQ(DrawImage(&image, 0, 0, Defaults(), &noQuads), -2);
    EXPECT_EQ(DrawImage(&image, 0, 0, Defaults(), nullptr), 1);
}

TEST(DrawImageTest, RotatedAnchorTurnsWithTheImage)
{
    Image image(10, 4);
    RecordingCanvas canvas(RecordingCanvas::Quads);
    sDrawState state = Defaults();

    EXPECT_EQ(DrawRotatedImage(&image, 20.0f, 30.0f, Angle(), state, &canvas), 0);
    EXPECT_EQ(canvas.calls.back().values, (std::vector<float>{25.0f, 32.0f, 0.0f}));

    state.hAlign = HAlignment_Center;
    state.vAlign = VAlignment_Middle;
    DrawRotatedImage(&image, 20.0f, 30.0f, Angle(1.0f), state, &canvas);
    EXPECT_EQ(canvas.calls.back().values, (std::vector<float>{20.0f, 30.0f, 1.0f}));

    // Left/top anchor turned a quarter clockwise: the centre lies below it, (-2, +5) away.
    state = Defaults();
    DrawRotatedImage(&image, 20.0f, 30.0f, Angle::FromDegrees(90.0f), state, &canvas);
    EXPECT_NEAR(canvas.calls.back().values[0], 18.0f, 1e-4f);
    EXPECT_NEAR(canvas.calls.back().values[1], 35.0f, 1e-4f);

    state.hAlign = HAlignment_Right;
    state.vAlign = VAlignment_Middle;
    DrawRotatedImage(&image, 20.0f, 30.0f, Angle(), state, &canvas);
    EXPECT_EQ(canvas.calls.back().values, (std::vector<float>{15.0f, 30.0f, 0.0f}));

    EXPECT_EQ(DrawRotatedImage(nullptr, 0, 0, Angle(), state, &canvas), 1);
    RecordingCanvas noQuads(RecordingCanvas::Lines);
    EXPECT_EQ(DrawRotatedImage(&image, 0, 0, Angle(), state, &noQuads), -2);
}

TEST(DrawImageTest, StretchedRectangleAlignedByItsOwnSize)
{
    Image image(2, 2);
    RecordingCanvas canvas(RecordingCanvas::Quads);
    sDrawState state = Defaults();
    state.hAlign = HAlignment_Center;
    state.vAlign = VAlignment_Bottom;
    EXPECT_EQ(DrawStretchedImage(&image, Rect<int>(10, 10, 7, 4), state, &canvas), 0);
    EXPECT_EQ(canvas.calls.back().values, (std::vector<float>{7, 6, 7, 4}));

    // The canvas judges a null image; an empty rectangle never reaches it.
    EXPECT_EQ(DrawStretchedImage(nullptr, Rect<int>(0, 0, 3, 3), state, &canvas), 0);
    const size_t before = canvas.calls.size();
    EXPECT_EQ(DrawStretchedImage(&image, Rect<int>(0, 0, 0, 3), state, &canvas), 1);
    EXPECT_EQ(canvas.calls.size(), before);
}

TEST(ClipImageDrawTest, ClipCutsTheSourceOnTheMatchingSide)
{
    const Rect<float> source(32.0f, 0.0f, 32.0f, 16.0f);
    const Rect<int> clip(0, 0, 100, 100);
    Rect<float> destination;
    Rect<float> shown;

    ASSERT_TRUE(ClipImageDraw(-8.0f, 90.0f, source, clip, 0, &destination, &shown));
    EXPECT_EQ(destination, Rect<float>(0.0f, 90.0f, 24.0f, 10.0f));
    EXPECT_EQ(shown, Rect<float>(40.0f, 0.0f, 24.0f, 10.0f));

    // Mirrored both ways, the lost left edge is the source's right end and the lost bottom its top.
    ASSERT_TRUE(ClipImageDraw(-8.0f, 90.0f, source, clip, DrawFlag_FlipH | DrawFlag_FlipV, &destination, &shown));
    EXPECT_EQ(destination, Rect<float>(0.0f, 90.0f, 24.0f, 10.0f));
    EXPECT_EQ(shown, Rect<float>(32.0f, 6.0f, 24.0f, 10.0f));

    // Empty on either side: nothing.
    EXPECT_FALSE(ClipImageDraw(100.0f, 0.0f, source, clip, 0, &destination, &shown));
    EXPECT_FALSE(ClipImageDraw(0.0f, 0.0f, Rect<float>(0, 0, 0, 16), clip, 0, &destination, &shown));
    EXPECT_FALSE(ClipImageDraw(0.0f, 0.0f, source, Rect<int>(0, 0, 10, 0), 0, &destination, &shown));
}

TEST(DrawingTest, EveryDrawingFunctionRefusesAMissingCanvasOrAbility)
{
    Image image(2, 2);
    struct Case
    {
        const char* name;
        int needs; // the abilities any one of which lets it draw
        std::function<int(IImage*, ICanvas*)> draw;
    };
    const Rect<float> box(1, 1, 4, 4);
    const std::vector<Case> cases = {
        {"DrawLine", RecordingCanvas::Lines | RecordingCanvas::Pixels,
         [](IImage*, ICanvas* c) { return DrawLine(0, 0, 3, 3, Defaults(), c); }},
        {"DrawFilledRect(int)", RecordingCanvas::Quads,
         [](IImage*, ICanvas* c) { return DrawFilledRect(Rect<int>(1, 1, 4, 4), Defaults(), c); }},
        {"DrawFilledRect(float)", RecordingCanvas::Quads,
         [&](IImage*, ICanvas* c) { return DrawFilledRect(box, Defaults(), c); }},
        {"DrawLineEllipse", RecordingCanvas::Ellipses,
         [&](IImage*, ICanvas* c) { return DrawLineEllipse(box, Defaults(), c); }},
        {"DrawFilledEllipse", RecordingCanvas::Ellipses,
         [&](IImage*, ICanvas* c) { return DrawFilledEllipse(box, Defaults(), c); }},
        {"DrawImage", RecordingCanvas::Quads, [](IImage* i, ICanvas* c) { return DrawImage(i, 1, 1, Defaults(), c); }},
        {"DrawRotatedImage", RecordingCanvas::Quads,
         [](IImage* i, ICanvas* c) { return DrawRotatedImage(i, 1, 1, Angle(0.5f), Defaults(), c); }},
        {"DrawStretchedImage", RecordingCanvas::Quads,
         [](IImage* i, ICanvas* c) { return DrawStretchedImage(i, Rect<int>(1, 1, 4, 4), Defaults(), c); }},
    };
    const int all =
        RecordingCanvas::Lines | RecordingCanvas::Quads | RecordingCanvas::Pixels | RecordingCanvas::Ellipses;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.draw(&image, nullptr), DrawResult_Nothing);
        RecordingCanvas lacking(all & ~c.needs);
        EXPECT_EQ(c.draw(&image, &lacking), DrawResult_Unsupported);
        RecordingCanvas able(all);
        EXPECT_EQ(c.draw(&image, &able), DrawResult_Drawn);
    }
    // A missing image is nothing to draw, whatever the canvas can do.
    RecordingCanvas lacking(RecordingCanvas::Lines);
    for (const Case& c : {cases[5], cases[6]})
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.draw(nullptr, &lacking), DrawResult_Nothing);
        EXPECT_EQ(c.draw(nullptr, nullptr), DrawResult_Nothing);
    }
}
