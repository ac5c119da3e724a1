#include "graphics/Context.h"

#include "graphics/Drawing.h"
#include "graphics/GraphicsPlatform.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Strata;
using namespace Strata::Graphics;

namespace
{

// A graphics platform whose screen canvas is an image canvas the test can look into.
class ImageScreenPlatform final : public IGraphicsPlatform
{
public:
    ImageScreenPlatform() : screen(8, 8), canvas(CreateImageCanvas(&screen)) { RegisterSingleton(this); }
    ~ImageScreenPlatform() override
    {
        UnregisterSingleton(this);
        DestroyImageCanvas(canvas);
    }

    const wchar_t* GetName() override { return L"test"; }
    void GetSupportedWindowConfig(sWindowConfig*) override {}
    unsigned long GetCaps() override { return 1; }
    void Setup(const sWindowConfig&) override {}
    void Cleanup() override {}
    int BeginScene() override { return 0; }
    int EndScene() override { return 0; }
    ICanvas* GetScreenCanvas() override { return showCanvas ? canvas : nullptr; }
    ITexture* CreateTexture(const Image*, const Rect<int>*) override { return nullptr; }

    Image screen;
    ICanvas* canvas;
    bool showCanvas = true;
};

// Leaves the calling thread's stack as it found it.
void PopAll()
{
    while (GetContextDepth() > 0)
        PopContext();
}

Context MakeContext(ICanvas* canvas, float red)
{
    Context context;
    context.canvas = canvas;
    context.state = sDrawState::GetDefaults();
    context.state.color = ColorF(red, 0.0f, 0.0f, 1.0f);
    return context;
}

} // namespace

TEST(ContextTest, StartsOnTheScreenWithTheDefaults)
{
    EXPECT_EQ(GetContextDepth(), 0);
    EXPECT_EQ(GetCanvas(), GetScreenCanvas());
    EXPECT_EQ(GetContext().canvas, GetScreenCanvas());
    EXPECT_EQ(GetDrawState(), sDrawState::GetDefaults());
}

TEST(ContextTest, PushAndPopRestoreExactly)
{
    Image image(2, 2);
    ICanvas* imageCanvas = CreateImageCanvas(&image);
    const Context before = GetContext();

    PushContext(MakeContext(imageCanvas, 0.5f));
    EXPECT_EQ(GetCanvas(), imageCanvas);
    EXPECT_EQ(GetDrawState().color.r, 0.5f);

    // A null canvas stands for the screen.
    PushContext(MakeContext(nullptr, 0.25f));
    EXPECT_EQ(GetContext().canvas, nullptr);
    EXPECT_EQ(GetCanvas(), GetScreenCanvas());
    sDrawState changed = GetDrawState();
    changed.flags = 0;
    SetDrawState(changed);
    EXPECT_EQ(GetDrawState().flags, 0u);

    PopContext();
    EXPECT_EQ(GetCanvas(), imageCanvas);
    EXPECT_EQ(GetDrawState().color.r, 0.5f);
    EXPECT_EQ(GetDrawState().flags, static_cast<uint32_t>(DrawFlag_Blend));

    // Pushing the current context itself saves and re-installs it.
    PushContext(GetContext());
    EXPECT_EQ(GetCanvas(), imageCanvas);
    PopContext();

    PopContext();
    EXPECT_EQ(GetContext().canvas, before.canvas);
    EXPECT_EQ(GetDrawState(), before.state);
    DestroyImageCanvas(imageCanvas);
}

TEST(ContextTest, PopOnAnEmptyStackChangesNothing)
{
    sDrawState odd = GetDrawState();
    odd.hAlign = HAlignment_Right;
    SetDrawState(odd);
    PopContext();
    PopContext();
    EXPECT_EQ(GetDrawState().hAlign, HAlignment_Right);
    EXPECT_EQ(GetContextDepth(), 0);
    SetDrawState(sDrawState::GetDefaults());
}

TEST(ContextTest, PushesBeyondTheStackAreIgnoredWithTheirPops)
{
    Image images[2] = {Image(1, 1), Image(1, 1)};
    ICanvas* first = CreateImageCanvas(&images[0]);
    ICanvas* second = CreateImageCanvas(&images[1]);

    for (int i = 0; i < kContextStackSize; ++i)
        PushContext(MakeContext(first, static_cast<float>(i) / 100.0f));
    EXPECT_EQ(GetContextDepth(), kContextStackSize);
    const float deepest = GetDrawState().color.r;

    // Two refused pushes: the current context stays, and so do the two pops that match them.
    PushContext(MakeContext(second, 0.9f));
    PushContext(MakeContext(second, 0.9f));
    EXPECT_EQ(GetCanvas(), first);
    EXPECT_EQ(GetContextDepth(), kContextStackSize);
    PopContext();
    PopContext();
    EXPECT_EQ(GetDrawState().color.r, deepest);
    EXPECT_EQ(GetContextDepth(), kContextStackSize);

    // The pops of the accepted pushes then unwind in order.
    PopContext();
    EXPECT_EQ(GetDrawState().color.r, static_cast<float>(kContextStackSize - 2) / 100.0f);
    PopAll();
    EXPECT_EQ(GetCanvas(), GetScreenCanvas());
    EXPECT_EQ(GetDrawState(), sDrawState::GetDefaults());
    DestroyImageCanvas(first);
    DestroyImageCanvas(second);
}

TEST(ContextTest, EachThreadHasItsOwnContextAndStack)
{
    Image mainImage(1, 1);
    Image loaderImage(1, 1);
    ICanvas* mainCanvas = CreateImageCanvas(&mainImage);
    ICanvas* loaderCanvas = CreateImageCanvas(&loaderImage);
    PushContext(MakeContext(mainCanvas, 0.5f));

    bool startedOnScreen = false;
    bool sawOwnCanvas = false;
    int depthAfter = -1;
    std::thread loader(
        [&]
        {
            startedOnScreen = GetCanvas() == GetScreenCanvas() && GetContextDepth() == 0;
            PushContext(MakeContext(loaderCanvas, 0.75f));
            sawOwnCanvas = GetCanvas() == loaderCanvas;
            sDrawState state = GetDrawState();
            state.color = ColorF(0.0f, 0.0f, 1.0f, 1.0f);
            DrawFilledRect(Rect<int>(0, 0, 1, 1), state, GetCanvas());
            // Unbalanced use on this thread must not reach the main thread's stack.
            for (int i = 0; i < kContextStackSize + 5; ++i)
                PushContext(MakeContext(loaderCanvas, 0.1f));
            PopAll();
            PopContext();
            PopContext();
            depthAfter = GetContextDepth();
        });
    loader.join();

    EXPECT_TRUE(startedOnScreen);
    EXPECT_TRUE(sawOwnCanvas);
    EXPECT_EQ(depthAfter, 0);
    EXPECT_EQ(loaderImage.GetPixel(0, 0), Color32(0, 0, 255, 255));
    EXPECT_EQ(mainImage.GetPixel(0, 0), Color32());
    EXPECT_EQ(GetCanvas(), mainCanvas);
    EXPECT_EQ(GetDrawState().color.r, 0.5f);
    EXPECT_EQ(GetContextDepth(), 1);
    PopAll();
    DestroyImageCanvas(mainCanvas);
    DestroyImageCanvas(loaderCanvas);
}

TEST(ScreenCanvasProxyTest, WithoutAPlatformDrawingDoesNothing)
{
    ASSERT_FALSE(IsGraphicsPlatformRegistered());
    ICanvas* proxy = GetScreenCanvas();
    EXPECT_TRUE(proxy->GetKind().IsNull());
    EXPECT_TRUE(proxy->GetBounds().isEmpty());
    EXPECT_EQ(QueryCanvas<ICanvas>(proxy), nullptr);
    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 0, 4, 4), GetDrawState(), GetCanvas()), -2);
    EXPECT_EQ(DrawLine(0, 0, 4, 4, GetDrawState(), GetCanvas()), -2);
    Image image(2, 2);
    EXPECT_EQ(DrawImage(&image, 0, 0, GetDrawState(), GetCanvas()), -2);

    ImageScreenPlatform platform;
    platform.showCanvas = false;
    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 0, 4, 4), GetDrawState(), GetCanvas()), -2);
    EXPECT_TRUE(proxy->GetBounds().isEmpty());
}

TEST(ScreenCanvasProxyTest, ForwardsToThePlatformsScreenCanvasOnEveryCall)
{
    ICanvas* proxy = GetScreenCanvas();
    {
        ImageScreenPlatform platform;
        EXPECT_EQ(proxy->GetKind(), Label("ImageCanvas"));
        EXPECT_EQ(proxy->GetBounds(), Rect<int>(0, 0, 8, 8));
        // The interfaces handed out are the screen canvas's own.
        EXPECT_EQ(QueryCanvas<IQuadDrawingCanvas>(proxy), QueryCanvas<IQuadDrawingCanvas>(platform.canvas));
        EXPECT_EQ(QueryCanvas<ILineDrawingCanvas>(proxy), nullptr);

        // A context whose canvas is null draws on the screen.
        PushContext(Context{nullptr, sDrawState::GetDefaults()});
        EXPECT_EQ(DrawFilledRect(Rect<int>(1, 1, 2, 2), GetDrawState(), GetCanvas()), 0);
        PopContext();
        EXPECT_EQ(platform.screen.GetPixel(1, 1), Color32(255, 255, 255, 255));
        EXPECT_EQ(platform.screen.GetPixel(3, 3), Color32());
    }
    // The window and its canvas went away; the proxy stays usable.
    {
        ImageScreenPlatform recreated;
        EXPECT_EQ(DrawLine(0, 0, 7, 0, GetDrawState(), GetCanvas()), 0);
        EXPECT_EQ(recreated.screen.GetPixel(7, 0), Color32(255, 255, 255, 255));
    }
    EXPECT_EQ(DrawLine(0, 0, 7, 0, GetDrawState(), GetCanvas()), -2);
}
