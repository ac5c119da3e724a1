#include "graphics/FrameRecorder.h"

#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"
#include "support/FakeGraphicsPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
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

class FrameRecorderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        screen = Solid(kWidth, kHeight, Color32());
        canvas = CreateImageCanvas(screen.get());
        renderer.screenCanvas = canvas;
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
    Testing::FakeGraphicsPlatform renderer;
    sScene scene;
};

TEST_F(FrameRecorderTest, AFrameIsDrawnExactlyWhenWhatItShowsChanged)
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
    }
}

TEST_F(FrameRecorderTest, AFailedFrameOrSceneLeavesTheNextFrameToBeDrawn)
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
