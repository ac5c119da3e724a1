#include "graphics/FrameRecorder.h"

#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"
#include "graphics/Window.h"
#include "support/FakeGraphicsPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;
using FrameRecording::ePresentResult;

namespace
{

constexpr int kWidth = 40;
constexpr int kHeight = 30;

std::unique_ptr<Image> Solid(int width, int height, Color32 color)
{
    return std::make_unique<Image>(std::vector<Color32>(static_cast<size_t>(width) * height, color), width, height,
                                   true, false);
}

// What the screen shows: a backdrop, a sprite that can move, hide, change its picture and its tint, a
// ring and a line, so that every recorded kind of call is in the frame.
struct sScene
{
    std::unique_ptr<Image> frames[2] = {Solid(6, 5, Color32(255, 0, 0, 255)), Solid(6, 5, Color32(0, 0, 255, 200))};
    int frame = 0;
    float x = 3;
    bool visible = true;
    ColorF tint{1, 1, 1, 1};
    // Extra drawing of one step.
    std::function<void(ICanvas*)> extra;

    void Draw(ICanvas* canvas) const
    {
        sDrawState state = sDrawState::GetDefaults();
        state.color = ColorF(0.1f, 0.5f, 0.2f, 1.0f);
        DrawFilledRect(Rect<int>(0, 0, kWidth, kHeight), state, canvas);
        state.color = ColorF(1, 1, 0, 0.5f);
        DrawLineEllipse(Rect<float>(20, 10, 15, 12), state, canvas);
        // Plotted pixel by pixel on this canvas; blended it would read the screen back.
        sDrawState line = state;
        line.flags &= ~DrawFlag_Blend;
        DrawLine(1, 28, 38, 20, line, canvas);
        if (visible)
        {
            state.imageColor = tint;
            DrawImage(frames[frame].get(), x, 8, state, canvas);
        }
        if (extra)
            extra(canvas);
    }
};

// A renderer that clears its frame for a scene and, when asked to, keeps it between scenes as the
// software renderer does: an area scene clears its area, or fills it with noise when the recorder says
// the first draw covers it, so that a wrong claim shows.
class KeepingRenderer : public Testing::FakeGraphicsPlatform
{
public:
    bool keepsFrame = false;
    Image* screen = nullptr;
    std::vector<sSceneArea> areas;

    int BeginScene() override
    {
        if (beginSceneResult == 0)
            std::fill_n(screen->GetPixels(), screen->GetWidth() * screen->GetHeight(), Color32());
        return FakeGraphicsPlatform::BeginScene();
    }

    int BeginSceneArea(const sSceneArea& scene) override
    {
        if (!keepsFrame || beginSceneResult != 0)
            return 1;
        areas.push_back(scene);
        // A pixel in two rectangles would be drawn twice, blending over itself.
        EXPECT_LE(scene.rectCount, sSceneArea::kMaxRects);
        for (int i = 0; i < scene.rectCount; ++i)
            for (int j = i + 1; j < scene.rectCount; ++j)
                EXPECT_TRUE(scene.rects[i].getIntersection(scene.rects[j]).isEmpty()) << i << " and " << j;
        for (int i = 0; i < scene.rectCount; ++i)
        {
            const Rect<int> area =
                scene.rects[i].getIntersection(Rect<int>(0, 0, screen->GetWidth(), screen->GetHeight()));
            for (int y = area.y; y < area.y + area.height; ++y)
                for (int x = area.x; x < area.x + area.width; ++x)
                    screen->GetPixels()[y * screen->GetWidth() + x] =
                        scene.covered ? Color32(uint8_t(x * 37), uint8_t(y * 11), 90, 7) : Color32();
        }
        ++beginSceneCount;
        return 0;
    }
};

// Run with a renderer that draws every scene whole, and with one that keeps its frame.
class FrameRecorderTest : public testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        screen = Solid(kWidth, kHeight, Color32());
        canvas = CreateImageCanvas(screen.get());
        renderer.screenCanvas = canvas;
        renderer.keepsFrame = GetParam();
        renderer.screen = screen.get();
        FrameRecording::Invalidate();
    }
    void TearDown() override { DestroyImageCanvas(canvas); }

    // One frame of the scene through the recorder; the screen must then hold what drawing the scene
    // straight onto a clear image gives.
    ePresentResult Frame(bool force = false)
    {
        const ePresentResult result = FrameRecording::DrawFrame([this] { scene.Draw(GetScreenCanvas()); }, force);
        std::unique_ptr<Image> expected = Solid(kWidth, kHeight, Color32());
        ICanvas* direct = CreateImageCanvas(expected.get());
        scene.Draw(direct);
        DestroyImageCanvas(direct);
        for (int i = 0; i < kWidth * kHeight; ++i)
            if (screen->GetPixels()[i] != expected->GetPixels()[i])
            {
                ADD_FAILURE() << "pixel " << i % kWidth << "," << i / kWidth << " differs";
                break;
            }
        return result;
    }

    std::unique_ptr<Image> screen;
    ICanvas* canvas = nullptr;
    KeepingRenderer renderer;
    sScene scene;
};

TEST_P(FrameRecorderTest, AFrameIsDrawnExactlyWhenWhatItShowsChanged)
{
    // Each step changes the scene (or not), then draws a frame: shown or left as it is.
    struct sStep
    {
        const char* what;
        std::function<void(sScene&)> change;
        bool shown;
        bool force = false;
    };
    std::unique_ptr<Image> passing;
    const std::vector<sStep> steps = {
        {"the first frame", [](sScene&) {}, true},
        {"nothing changed", [](sScene&) {}, false},
        {"moved", [](sScene& s) { s.x = 10; }, true},
        {"hidden", [](sScene& s) { s.visible = false; }, true},
        {"still hidden", [](sScene&) {}, false},
        {"shown again", [](sScene& s) { s.visible = true; }, true},
        {"a pixel of its picture", [](sScene& s) { s.frames[0]->SetPixel(1, 1, Color32(0, 255, 0, 255)); }, true},
        {"the next animation frame", [](sScene& s) { s.frame = 1; }, true},
        {"tinted", [](sScene& s) { s.tint = ColorF(1, 0.5f, 0.5f, 0.5f); }, true},
        {"the picture's flags", [](sScene& s) { s.frames[1]->SetFlags(false, false); }, true},
        {"nothing again", [](sScene&) {}, false},
        {"an exposed window", [](sScene&) {}, true, true},
        // A picture made and dropped within the frame is drawn while it exists.
        {"a passing picture",
         [&](sScene& s)
         {
             s.extra = [&](ICanvas* c)
             {
                 passing = Solid(3, 3, Color32(9, 9, 9, 255));
                 DrawImage(passing.get(), 30, 2, sDrawState::GetDefaults(), c);
                 passing.reset();
             };
         },
         true},
        {"the same passing picture", [](sScene&) {}, true},
        {"no passing picture", [](sScene& s) { s.extra = nullptr; }, true},
        {"settled", [](sScene&) {}, false},
        // A picture shown, then deleted between frames: the next frame reads nothing of it.
        {"a kept picture",
         [&](sScene& s)
         {
             passing = Solid(4, 4, Color32(7, 7, 7, 255));
             s.extra = [&](ICanvas* c) { DrawImage(passing.get(), 25, 20, sDrawState::GetDefaults(), c); };
         },
         true},
        {"the kept picture deleted",
         [&](sScene& s)
         {
             passing.reset();
             s.extra = nullptr;
         },
         true},
        // Read back from the screen: drawn as it goes, and the next frame again.
        {"a pixel read back",
         [](sScene& s)
         { s.extra = [](ICanvas* c) { EXPECT_EQ(QueryCanvas<IPixelSettingCanvas>(c)->GetPixel(1, 1).a, 255); }; },
         true},
        {"read back again", [](sScene&) {}, true},
    };
    for (const sStep& step : steps)
    {
        SCOPED_TRACE(step.what);
        step.change(scene);
        const int scenes = renderer.endSceneCount;
        // The passing picture's pixels are checked while drawn: the reference draws without it.
        if (step.what == std::string("a passing picture") || step.what == std::string("the same passing picture"))
        {
            const ePresentResult result = FrameRecording::DrawFrame([this] { scene.Draw(GetScreenCanvas()); }, false);
            EXPECT_EQ(result, FrameRecording::Present_Shown);
            EXPECT_EQ(screen->GetPixel(31, 3), Color32(9, 9, 9, 255));
        }
        else
        {
            EXPECT_EQ(Frame(step.force),
                      step.shown ? FrameRecording::Present_Shown : FrameRecording::Present_Unchanged);
        }
        EXPECT_EQ(renderer.endSceneCount - scenes, step.shown ? 1 : 0);
        EXPECT_EQ(renderer.beginSceneCount, renderer.endSceneCount);
        if (renderer.keepsFrame && step.shown)
        {
            // A change of the sprite alone is drawn where the sprite was and is; an exposed window whole.
            const std::string what = step.what;
            const bool part = what == "moved" || what == "hidden" || what == "shown again" || what == "tinted" ||
                              what == "a pixel of its picture" || what == "the next animation frame" ||
                              what == "the picture's flags" || what == "a kept picture" ||
                              what == "the kept picture deleted";
            const Rect<int> area = renderer.areas.back().GetBounds();
            EXPECT_EQ(area != Rect<int>(0, 0, kWidth, kHeight), part) << area.x << "," << area.y << " " << area.width;
            // The backdrop covers whatever a recorded frame draws; a frame drawn as it goes is cleared.
            const bool direct = what == "a passing picture" || what == "the same passing picture" ||
                                what == "a pixel read back" || what == "read back again";
            EXPECT_EQ(renderer.areas.back().covered, !direct);
            EXPECT_EQ(renderer.areas.back().wholeWindow, step.force);
        }
    }
}

// Frames of many kinds of calls, each frame changing, adding or removing a few of them, through a
// renderer that draws only what changed: every frame equals the same calls drawn whole on a clear
// screen. On a small screen the changes are near each other; on a larger one far apart, drawn as
// several rectangles.
TEST_P(FrameRecorderTest, AreaScenesDrawWhatWholeScenesDraw)
{
    std::mt19937 random(7u);
    int width = kWidth, height = kHeight;
    const auto number = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    const auto noise = [&](int width, int height, bool alpha)
    {
        std::vector<Color32> pixels(static_cast<size_t>(width) * height);
        for (Color32& pixel : pixels)
        {
            const uint32_t bits = random();
            const uint8_t a = alpha ? uint8_t(bits >> 24) % 4 * 85 : 255;
            pixel = Color32(uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), a);
        }
        auto image = std::make_unique<Image>(std::move(pixels), width, height, alpha, false);
        image->SetRotationCache(std::make_unique<ImageRotationCache>(12));
        return image;
    };
    std::unique_ptr<Image> backdrop;
    // The same pixels flagged as having alpha, as every picture file with an alpha channel is.
    std::unique_ptr<Image> opaque;
    // The last, like a leaf, shows only a band along its diagonal: turned, it reaches out less far.
    const std::unique_ptr<Image> pictures[] = {noise(13, 7, true), noise(5, 15, true), noise(9, 9, false),
                                               noise(17, 16, true)};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 17; ++x)
            if (std::abs(x - y) > 2 || x + y < 6)
                pictures[3]->GetPixels()[y * 17 + x] = Color32();
    pictures[3]->MarkChanged();

    enum eKind
    {
        Kind_Image,
        Kind_Rotated,
        Kind_Stretched,
        Kind_StretchedRotated,
        Kind_Circle,
        Kind_Ellipse,
        Kind_Rect,
        Kind_Line,
        Kind_Count
    };
    struct sCall
    {
        int kind = Kind_Image;
        Image* picture = nullptr;
        float x = 0, y = 0, size = 0, angle = 0;
        sDrawState state = sDrawState::GetDefaults();
    };
    const auto make = [&]
    {
        sCall call;
        call.kind = static_cast<int>(random() % Kind_Count);
        call.picture = pictures[random() % 4].get();
        call.x = number(-8, float(width + 4));
        call.y = number(-8, float(height + 4));
        call.size = number(1, 14);
        call.angle = number(-4, 4);
        call.state.color = ColorF(number(0, 1), number(0, 1), number(0, 1), random() % 2 ? 1.0f : 0.6f);
        if (random() % 3 == 0)
            call.state.imageColor = ColorF(1, number(0, 1), 1, number(0.2f, 1));
        if (random() % 3 == 0)
            call.state.clipRect = Rect<int>(int(random() % (width - 10)), int(random() % (height - 10)), 15, 12);
        if (random() % 4 == 0)
            call.state.flags |= DrawFlag_FlipH;
        if (random() % 5 == 0)
            call.state.flags |= DrawFlag_SourceRect, call.state.sourceRect = Rect<int>(1, 1, 3, 3);
        return call;
    };
    std::vector<sCall> calls;
    int backdropKind = 0;

    const auto draw = [&](ICanvas* c)
    {
        sDrawState state = sDrawState::GetDefaults();
        if (backdropKind == 0 || backdropKind == 3)
            DrawImage(backdropKind == 0 ? backdrop.get() : opaque.get(), 0, 0, state, c);
        else if (backdropKind == 1)
            DrawFilledRect(Rect<int>(0, 0, width, height), state, c);
        for (const sCall& call : calls)
        {
            const sDrawState& s = call.state;
            const int size = static_cast<int>(call.size);
            switch (call.kind)
            {
            case Kind_Image:
                DrawImage(call.picture, call.x, call.y, s, c);
                break;
            case Kind_Rotated:
                DrawRotatedImage(call.picture, call.x, call.y, Angle(call.angle), s, c);
                break;
            case Kind_Stretched:
                DrawStretchedImage(call.picture, Rect<int>(int(call.x), int(call.y), size, size / 2 + 1), s, c);
                break;
            case Kind_StretchedRotated:
                DrawStretchedRotatedImage(call.picture, Rect<float>(call.x, call.y, call.size, call.size / 2 + 1),
                                          Vector2<float>(call.x, call.y), Angle(call.angle), s, c);
                break;
            case Kind_Circle:
                DrawFilledEllipse(Rect<float>(call.x, call.y, call.size, call.size), s, c);
                DrawLineEllipse(Rect<float>(call.y, call.x, call.size / 2, call.size / 2), s, c);
                break;
            case Kind_Ellipse:
                DrawFilledEllipse(Rect<float>(call.x, call.y, call.size, call.size / 2), s, c);
                break;
            case Kind_Rect:
                DrawFilledRect(Rect<float>(call.x, call.y, call.size, call.size / 3), s, c);
                break;
            default:
            {
                sDrawState plain = s;
                plain.flags &= ~DrawFlag_Blend;
                DrawLine(call.x, call.y, call.y, call.x, plain, c);
                break;
            }
            }
        }
    };

    for (const auto& [screenWidth, screenHeight, callCount] :
         {std::tuple(kWidth, kHeight, 10), std::tuple(480, 320, 24)})
    {
        SCOPED_TRACE(screenWidth);
        width = screenWidth, height = screenHeight;
        DestroyImageCanvas(canvas);
        screen = Solid(width, height, Color32());
        canvas = CreateImageCanvas(screen.get());
        renderer.screenCanvas = canvas;
        renderer.screen = screen.get();
        FrameRecording::Invalidate();
        backdrop = noise(width, height, false);
        opaque = backdrop->Copy();
        opaque->SetFlags(true, false);
        calls.resize(static_cast<size_t>(callCount));
        for (sCall& call : calls)
            call = make();

        int partial = 0, shown = 0, several = 0;
        for (int frame = 0; frame < 300; ++frame)
        {
            SCOPED_TRACE(frame);
            for (sCall& call : calls)
                if (random() % 16 == 0)
                    call = make();
            // A call added or removed moves those after it in the recording.
            if (random() % 8 == 0)
                calls.insert(calls.begin() + static_cast<long>(random() % (calls.size() + 1)), make());
            if (random() % 8 == 0 && calls.size() > 4)
                calls.erase(calls.begin() + static_cast<long>(random() % calls.size()));
            if (random() % 40 == 0)
                backdropKind = static_cast<int>(random() % 4);
            const size_t areas = renderer.areas.size();
            FrameRecording::DrawFrame([&] { draw(GetScreenCanvas()); }, frame % 97 == 50);
            std::unique_ptr<Image> expected = Solid(width, height, Color32());
            ICanvas* direct = CreateImageCanvas(expected.get());
            draw(direct);
            DestroyImageCanvas(direct);
            ASSERT_TRUE(std::equal(screen->GetPixels(), screen->GetPixels() + width * height, expected->GetPixels()));
            if (renderer.areas.size() == areas)
                continue;
            ++shown;
            const sSceneArea& scene = renderer.areas.back();
            // An opaque backdrop, picture or fill, saves the clear; no backdrop needs it.
            if (scene.rectCount > 0)
                EXPECT_EQ(scene.covered, backdropKind != 2);
            partial += scene.GetBounds() != Rect<int>(0, 0, width, height) ? 1 : 0;
            several += scene.rectCount > 1 ? 1 : 0;
        }
        // With a renderer that keeps its frame, most frames drew only part of it, and changes far apart
        // were drawn apart.
        EXPECT_EQ(partial * 2 > shown, GetParam()) << partial << " of " << shown;
        EXPECT_EQ(several * 2 > shown, GetParam() && width > kWidth) << several << " of " << shown;
    }
}

INSTANTIATE_TEST_SUITE_P(Renderers, FrameRecorderTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info)
                         { return info.param ? std::string("KeepingItsFrame") : std::string("DrawingWhole"); });

TEST_P(FrameRecorderTest, AFailedFrameOrSceneLeavesTheNextFrameToBeDrawn)
{
    ASSERT_EQ(Frame(), FrameRecording::Present_Shown);
    // Thrown part-way, after the frame had gone straight to the screen: the scene is still ended.
    const auto failing = [this]
    {
        QueryCanvas<IPixelSettingCanvas>(GetScreenCanvas())->GetPixel(0, 0);
        throw std::runtime_error("broken mode");
    };
    EXPECT_THROW(FrameRecording::DrawFrame(failing, false), std::runtime_error);
    EXPECT_EQ(renderer.beginSceneCount, renderer.endSceneCount);
    EXPECT_FALSE(FrameRecording::IsRecording());
    EXPECT_EQ(Frame(), FrameRecording::Present_Shown);

    // A changed frame that the renderer will not begin leaves the screen unknown.
    scene.x += 1;
    renderer.beginSceneResult = 1;
    EXPECT_EQ(FrameRecording::DrawFrame([this] { scene.Draw(GetScreenCanvas()); }, false),
              FrameRecording::Present_NoScreen);
    renderer.beginSceneResult = 0;
    EXPECT_EQ(Frame(), FrameRecording::Present_Shown);

    // A renderer replaced while the frame is drawn shows nothing of it; the next frame is drawn.
    std::unique_ptr<Testing::FakeGraphicsPlatform> replacement;
    EXPECT_EQ(FrameRecording::DrawFrame(
                  [&]
                  {
                      scene.Draw(GetScreenCanvas());
                      replacement = std::make_unique<Testing::FakeGraphicsPlatform>();
                  },
                  false),
              FrameRecording::Present_Replaced);
    EXPECT_EQ(replacement->beginSceneCount, 0);
    replacement.reset();
    RegisterSingleton(&renderer);
    EXPECT_EQ(Frame(), FrameRecording::Present_Shown);
    EXPECT_EQ(Frame(), FrameRecording::Present_Unchanged);
}

} // namespace

// The custom cursor moving over a still screen, as the main loop draws it last in every frame: only the
// pixels it left and those it covers are drawn anew, each frame shows the still screen with the cursor
// at the mouse less its hot spot, and a frame with the mouse still draws nothing.
TEST(FrameRecorderCursorTest, AMovingCursorOverAStillScreenDrawsOnlyWhereItWasAndIs)
{
    constexpr int kScreenWidth = 800, kScreenHeight = 600;
    constexpr int kCursorSize = 24;
    const Vector2<int> hotSpot(4, 3);
    const Color32 kBackdrop(10, 120, 30, 255);
    const Color32 kCursor(250, 20, 200, 255);
    std::unique_ptr<Image> screen = Solid(kScreenWidth, kScreenHeight, Color32());
    std::unique_ptr<Image> backdrop = Solid(kScreenWidth, kScreenHeight, kBackdrop);
    std::unique_ptr<Image> cursor = Solid(kCursorSize, kCursorSize, kCursor);
    ICanvas* canvas = CreateImageCanvas(screen.get());
    KeepingRenderer renderer;
    renderer.screenCanvas = canvas;
    renderer.keepsFrame = true;
    renderer.screen = screen.get();
    FrameRecording::Invalidate();
    MainLoop::ResetForTesting();
    Window::Internal::ResetForTesting();
    Window::SetCustomCursor(cursor.get(), hotSpot);

    const auto frame = [&]
    {
        const size_t before = renderer.areas.size();
        FrameRecording::DrawFrame(
            [&]
            {
                PushContext(Context{GetScreenCanvas(), sDrawState::GetDefaults()});
                DrawImage(backdrop.get(), 0, 0, sDrawState::GetDefaults(), GetScreenCanvas());
                Window::Internal::DrawCustomCursor();
                PopContext();
            },
            false);
        long long area = 0;
        for (size_t i = before; i < renderer.areas.size(); ++i)
            for (int r = 0; r < renderer.areas[i].rectCount; ++r)
                area += static_cast<long long>(renderer.areas[i].rects[r].width) * renderer.areas[i].rects[r].height;
        return area;
    };
    // Where the cursor's picture lies with the mouse there, with the recorder's margin for rounding.
    const auto reach = [&](Vector2<int> mouse)
    { return Rect<int>(mouse.x - hotSpot.x - 2, mouse.y - hotSpot.y - 2, kCursorSize + 4, kCursorSize + 4); };
    const auto shows = [&](Vector2<int> mouse)
    {
        for (int y = 0; y < kScreenHeight; y += 1)
            for (int x = 0; x < kScreenWidth; x += 1)
            {
                const bool under = x >= mouse.x - hotSpot.x && x < mouse.x - hotSpot.x + kCursorSize &&
                                   y >= mouse.y - hotSpot.y && y < mouse.y - hotSpot.y + kCursorSize;
                if (screen->GetPixel(x, y) != (under ? kCursor : kBackdrop))
                    return testing::AssertionFailure() << "pixel " << x << "," << y;
            }
        return testing::AssertionSuccess();
    };

    MainLoop::MoveMouseForTesting(Vector2<int>(100, 100));
    EXPECT_EQ(frame(), static_cast<long long>(kScreenWidth) * kScreenHeight) << "the first frame is drawn whole";
    EXPECT_TRUE(shows(Vector2<int>(100, 100)));
    EXPECT_EQ(frame(), 0) << "the mouse did not move";

    // Steps of a pointer moving at 60 Hz, short and long, over the edges, then out of the window.
    const Vector2<int> path[] = {{108, 104}, {130, 100}, {400, 300}, {402, 301}, {795, 598}, {0, 0}, {3, 590}};
    Vector2<int> last(100, 100);
    for (const Vector2<int> mouse : path)
    {
        MainLoop::MoveMouseForTesting(mouse);
        const Rect<int> bounds(0, 0, kScreenWidth, kScreenHeight);
        const Rect<int> was = reach(last).getIntersection(bounds);
        const Rect<int> is = reach(mouse).getIntersection(bounds);
        const long long area = frame();
        const long long overlap =
            static_cast<long long>(was.getIntersection(is).width) * was.getIntersection(is).height;
        EXPECT_GT(area, 0) << mouse.x << "," << mouse.y;
        // Joined when near, never more than the two boxes and the gap the recorder allows between them.
        EXPECT_LE(area, static_cast<long long>(was.width) * was.height + static_cast<long long>(is.width) * is.height -
                            overlap + 4096)
            << mouse.x << "," << mouse.y;
        for (int r = 0; r < renderer.areas.back().rectCount; ++r)
            EXPECT_FALSE(renderer.areas.back().rects[r].getIntersection(was.getUnion(is)).isEmpty());
        EXPECT_TRUE(shows(mouse)) << mouse.x << "," << mouse.y;
        last = mouse;
    }
    MainLoop::MoveMouseForTesting(Vector2<int>(-50, -50)); // the mouse left the window
    const Rect<int> left = reach(last).getIntersection(Rect<int>(0, 0, kScreenWidth, kScreenHeight));
    EXPECT_EQ(frame(), static_cast<long long>(left.width) * left.height);
    EXPECT_TRUE(shows(Vector2<int>(-1000, -1000)));

    Window::Internal::ResetForTesting();
    MainLoop::ResetForTesting();
    DestroyImageCanvas(canvas);
}
