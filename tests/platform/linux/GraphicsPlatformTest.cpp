#include "platform/linux/GraphicsPlatforms.h"

#include "ChildXServer.h"
#include "ScreenTestSupport.h"
#include "core/RuntimeError.h"
#include "core/Time.h"
#include "framework/Application.h"
#include "framework/WindowConfig.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/FrameRecorder.h"
#include "graphics/GraphicsPlatform.h"
#include "graphics/Image.h"
#include "graphics/ScaleRow.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FrameViewport.h"

#include "ServerPixels.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace Strata;
using namespace Strata::Graphics;
using namespace ScreenTest;

namespace
{

// How many of the next window updates fail, as on a window whose surface cannot be written. The
// renderer's calls of SDL reach the two functions below, which this program defines over SDL's.
std::atomic<int> gFailingUpdates{0};

template <class Function>
Function* SDLFunction(const char* name)
{
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int SDL_UpdateWindowSurface(SDL_Window* window)
{
    if (gFailingUpdates.load() > 0)
    {
        --gFailingUpdates;
        return SDL_SetError("the window surface cannot be written");
    }
    static auto* const update = SDLFunction<int(SDL_Window*)>("SDL_UpdateWindowSurface");
    return update(window);
}

extern "C" int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count)
{
    if (gFailingUpdates.load() > 0)
    {
        --gFailingUpdates;
        return SDL_SetError("the window surface cannot be written");
    }
    static auto* const update = SDLFunction<int(SDL_Window*, const SDL_Rect*, int)>("SDL_UpdateWindowSurfaceRects");
    return update(window, rects, count);
}

namespace
{

constexpr sWindowConfig kConfig{0, 1, 800, 600};

TEST(GraphicsPlatformFactoryTest, MakesTheRendererTheCapsAskForAndRegistersIt)
{
    for (auto [caps, name, madeCaps] : {std::tuple(1ul, L"Software", 1ul), std::tuple(2ul, L"OpenGL", 2ul),
                                        std::tuple(3ul, L"Software", 1ul), std::tuple(0ul, L"OpenGL", 2ul)})
    {
        std::unique_ptr<IGraphicsPlatform> platform(Linux::CreateGraphicsPlatform(caps));
        EXPECT_STREQ(platform->GetName(), name) << caps;
        EXPECT_EQ(platform->GetCaps(), madeCaps) << caps;
        EXPECT_EQ(GetGraphicsPlatform(), platform.get());
        EXPECT_EQ(platform->GetScreenCanvas(), nullptr) << "not set up yet";
        EXPECT_EQ(platform->BeginScene(), 1);
        platform.reset();
        EXPECT_FALSE(IsGraphicsPlatformRegistered());
    }
}

TEST(RendererChoiceTest, OnlyMesasProcessorRasterizersCountAsSoftware)
{
    const std::pair<const char*, bool> cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"LLVMPIPE", true},
        {"softpipe", true},
        {"Mesa DRI swrast", true},
        {"Gallium 0.4 on llvmpipe (LLVM 3.4, 128 bits)", true},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
        {"NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", false},
        {"virgl", false},
        {"", false},
    };
    for (const auto& [renderer, software] : cases)
        EXPECT_EQ(Linux::IsSoftwareRasterizer(renderer), software) << renderer;
}

class ScreenFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { sVideoStarted = StartVideo(&sSkipReason); }

    void SetUp() override
    {
        if (!sVideoStarted)
            GTEST_SKIP() << sSkipReason;
    }

    // One frame drawn by `draw`, as shown in the window: read back before the swap for OpenGL, from the
    // window's surface after the present for software.
    static Frame Present(IGraphicsPlatform& platform, SDL_Window* window, const std::function<void(ICanvas*)>& draw)
    {
        EXPECT_EQ(platform.BeginScene(), 0);
        draw(platform.GetScreenCanvas());
        Frame frame;
        if (platform.GetCaps() == 2)
        {
            int width = 0, height = 0;
            SDL_GL_GetDrawableSize(window, &width, &height);
            frame = ReadBackBuffer(width, height);
        }
        EXPECT_EQ(platform.EndScene(), 0);
        return platform.GetCaps() == 2 ? frame : ReadWindowSurface(window);
    }

    static inline std::string sSkipReason;
    static inline bool sVideoStarted = false;
};

// Run for each renderer: 1 software, 2 OpenGL.
class GraphicsPlatformTest : public ScreenFixture, public ::testing::WithParamInterface<unsigned long>
{
protected:
    static Uint32 WindowFlags() { return GetParam() == 2 ? SDL_WINDOW_OPENGL : 0; }
};

class RendererComparisonTest : public ScreenFixture
{
};

class RendererChoiceOnTheDisplayTest : public ScreenFixture
{
protected:
    void TearDown() override { SetCommandLine(0, nullptr); }
};

// White with a red square at (10, 10, 20, 20).
void DrawMarks(ICanvas* canvas)
{
    sDrawState state = sDrawState::GetDefaults();
    EXPECT_EQ(DrawFilledRect(Rect<int>(0, 0, 800, 600), state, canvas), 0);
    state.color = ColorF(1, 0, 0, 1);
    EXPECT_EQ(DrawFilledRect(Rect<int>(10, 10, 20, 20), state, canvas), 0);
}

TEST_P(GraphicsPlatformTest, ShowsTheFrameScaledIntoTheWindowWithBlackBars)
{
    for (auto [width, height] : {std::pair(800, 600), std::pair(1200, 1000), std::pair(1000, 600)})
    {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        Window window(width, height, WindowFlags());
        std::unique_ptr<IGraphicsPlatform> platform(Linux::CreateGraphicsPlatform(GetParam()));
        ASSERT_NO_THROW(platform->Setup(kConfig));
        ASSERT_NE(platform->GetScreenCanvas(), nullptr);
        EXPECT_EQ(platform->GetScreenCanvas()->GetBounds(), Rect<int>(0, 0, 800, 600));

        const Frame frame = Present(*platform, window.Get(), DrawMarks);
        const Linux::sFrameViewport v = Linux::ComputeFrameViewport(width, height);
        const auto at = [&](int x, int y) { return frame.At(v.x + x * v.width / 800, v.y + y * v.height / 600); };
        EXPECT_TRUE(Near(at(20, 20), kRed, 0));
        EXPECT_TRUE(Near(at(0, 0), kWhite, 0));
        EXPECT_TRUE(Near(at(799, 599), kWhite, 0));
        EXPECT_TRUE(Near(at(400, 300), kWhite, 0));
        if (v.x > 0)
        {
            EXPECT_TRUE(Near(frame.At(v.x - 1, height / 2), kBlack, 0)) << "left bar";
            EXPECT_TRUE(Near(frame.At(v.x + v.width, height / 2), kBlack, 0)) << "right bar";
        }
        if (v.y > 0)
        {
            EXPECT_TRUE(Near(frame.At(width / 2, v.y - 1), kBlack, 0)) << "top bar";
            EXPECT_TRUE(Near(frame.At(width / 2, v.y + v.height), kBlack, 0)) << "bottom bar";
        }
        // Every frame starts black.
        EXPECT_TRUE(Near(Present(*platform, window.Get(), [](ICanvas*) {}).At(width / 2, height / 2), kBlack, 0));

        platform->Cleanup();
        EXPECT_EQ(platform->GetScreenCanvas(), nullptr);
        EXPECT_EQ(platform->EndScene(), 1);
    }
}

TEST_P(GraphicsPlatformTest, SetupThrowsWithoutAUsableWindowSoThatTheWindowFallsBack)
{
    std::unique_ptr<IGraphicsPlatform> platform(Linux::CreateGraphicsPlatform(GetParam()));
    Linux::SetMainWindow(nullptr);
    EXPECT_THROW(platform->Setup(kConfig), RuntimeError);
    EXPECT_EQ(platform->GetScreenCanvas(), nullptr);
    if (GetParam() == 2)
    {
        // A window made for the software renderer has no OpenGL.
        Window plain(800, 600, 0);
        try
        {
            platform->Setup(kConfig);
            ADD_FAILURE() << "an OpenGL context on a window without OpenGL";
        }
        catch (const RuntimeError& error)
        {
            EXPECT_EQ(std::string(error.what()).rfind("Could not create an OpenGL context: ", 0), 0u) << error.what();
        }
        EXPECT_EQ(platform->GetScreenCanvas(), nullptr);
        EXPECT_EQ(platform->BeginScene(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Renderers, GraphicsPlatformTest, ::testing::Values(1ul, 2ul),
                         [](const ::testing::TestParamInfo<unsigned long>& info)
                         { return info.param == 1 ? std::string("Software") : std::string("OpenGL"); });

// A scene whose blending both renderers agree on: opaque and half-transparent fills, an image with
// opaque, transparent and half-transparent pixels, tinted, clipped, mirrored and cut to a source rectangle.
void DrawScene(ICanvas* canvas, Image* sprite)
{
    sDrawState state = sDrawState::GetDefaults();
    state.color = ColorF(0.2f, 0.4f, 0.6f, 1.0f);
    DrawFilledRect(Rect<int>(0, 0, 800, 600), state, canvas);
    state.color = ColorF(1, 0, 0, 1);
    DrawFilledRect(Rect<int>(50, 50, 100, 60), state, canvas);
    state.color = ColorF(1, 1, 1, 0.5f);
    DrawFilledRect(Rect<int>(100, 80, 100, 60), state, canvas);

    state = sDrawState::GetDefaults();
    DrawImage(sprite, 300, 100, state, canvas);
    state.imageColor = ColorF(1.0f, 0.5f, 0.5f, 1.0f);
    DrawImage(sprite, 340, 100, state, canvas);
    state = sDrawState::GetDefaults();
    state.clipRect = Rect<int>(384, 0, 400, 600);
    DrawImage(sprite, 380, 100, state, canvas);
    state.flags |= DrawFlag_FlipH | DrawFlag_FlipV;
    state.clipRect = Rect<int>(428, 104, 400, 10);
    DrawImage(sprite, 420, 100, state, canvas);
    DrawImage(sprite, 460, 100, DrawStateNPI(sDrawState::GetDefaults()).SourceRect(4, 4, 8, 8), canvas);
}

TEST_F(RendererComparisonTest, BothRenderersDrawTheSameScene)
{
    // Quarters: opaque yellow, transparent, half-transparent magenta, opaque shades.
    auto sprite = std::make_unique<Image>(16, 16);
    for (int y = 0; y < 16; ++y)
    {
        for (int x = 0; x < 16; ++x)
        {
            sprite->SetPixel(x, y,
                             y < 8 ? (x < 8 ? Color32(255, 255, 0, 255) : Color32(0, 0, 0, 0))
                                   : (x < 8 ? Color32(255, 0, 255, 128) : Color32(uint8_t(x * 16), 200, 40, 255)));
        }
    }
    const auto draw = [&sprite](ICanvas* canvas) { DrawScene(canvas, sprite.get()); };
    Frame software;
    {
        Window window(800, 600, 0);
        std::unique_ptr<IGraphicsPlatform> platform(Linux::CreateGraphicsPlatform(1));
        ASSERT_NO_THROW(platform->Setup(kConfig));
        software = Present(*platform, window.Get(), draw);
    }
    Frame hardware;
    {
        Window window(800, 600, SDL_WINDOW_OPENGL);
        std::unique_ptr<IGraphicsPlatform> platform(Linux::CreateGraphicsPlatform(2));
        ASSERT_NO_THROW(platform->Setup(kConfig));
        hardware = Present(*platform, window.Get(), draw);
        sprite.reset(); // its texture goes while its context lives
    }
    ASSERT_EQ(software.pixels.size(), hardware.pixels.size());
    int differing = 0;
    for (size_t i = 0; i < software.pixels.size() && differing < 10; ++i)
    {
        const ::testing::AssertionResult same = Near(hardware.pixels[i], software.pixels[i]);
        if (!same)
        {
            ADD_FAILURE() << "pixel (" << i % 800 << ", " << i / 800 << "): " << same.message();
            ++differing;
        }
    }
    // The scene drew what it meant to.
    const Color32 background(51, 102, 153, 255);
    EXPECT_TRUE(Near(software.At(304, 105), Color32(255, 255, 0, 255), 0));
    EXPECT_TRUE(Near(software.At(312, 105), background, 1)) << "transparent pixels";
    EXPECT_TRUE(Near(software.At(383, 105), background, 1)) << "clipped away";
    EXPECT_TRUE(Near(software.At(384, 105), Color32(255, 255, 0, 255), 0));
}

// On an X server of its own: windows of tests running beside it would cover parts of its window.
class SoftwareWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Video started on another display before is closed, so that SDL opens this one.
        while (SDL_WasInit(SDL_INIT_VIDEO) != 0)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        std::string reason;
        if (!mServer.Start("1600x1000x24", &reason))
            GTEST_SKIP() << reason;
        if (!StartVideo(&reason))
            GTEST_SKIP() << reason;
    }

    void TearDown() override
    {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        mServer.Stop();
    }

    ChildXServer mServer;
};

// The whole frame drawn on a clear image and scaled into black bars by the plain row: what showing every
// frame whole gives.
Frame ShownWhole(const std::function<void(ICanvas*)>& draw, int width, int height)
{
    Image frame(800, 600);
    ICanvas* canvas = CreateImageCanvas(&frame);
    draw(canvas);
    DestroyImageCanvas(canvas);
    Frame shown{width, height, std::vector<Color32>(static_cast<size_t>(width) * height, kBlack)};
    const Linux::sFrameViewport v = Linux::ComputeFrameViewport(width, height);
    ScaleNearest(frame.GetPixels(), 800, 600, 800, shown.pixels.data() + v.y * width + v.x, v.width, v.height, width,
                 Internal::GetScaleRowVariants()[0].row);
    for (Color32& pixel : shown.pixels)
        pixel.a = 255;
    return shown;
}

// A 16:10 window on the X server, frames drawn through the recorder with a few sprites moving, far apart,
// coming and going over an opaque backdrop: after every frame (only parts of it drawn and shown), a change
// of the window's size and an exposed window, the server shows what drawing and showing every frame whole
// shows.
TEST_F(SoftwareWindowTest, ShowsWhatWholeFramesShowThroughChangesExposesAndResizes)
{
    std::mt19937 random(3u);
    std::vector<Color32> pixels(800 * 600);
    for (Color32& pixel : pixels)
        pixel = Color32(uint8_t(random()), uint8_t(random()), uint8_t(random()), 255);
    Image backdrop(std::move(pixels), 800, 600, false, false);
    Image sprite(23, 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x)
            sprite.SetPixel(x, y, Color32(uint8_t(x * 11), 40, uint8_t(y * 15), uint8_t((x + y) * 12)));
    std::vector<Vector2<float>> places = {{100, 100}, {400, 300}, {795, 595}};
    const auto draw = [&](ICanvas* canvas)
    {
        DrawImage(&backdrop, 0, 0, sDrawState::GetDefaults(), canvas);
        for (const Vector2<float>& place : places)
            DrawImage(&sprite, place.x, place.y, sDrawState::GetDefaults(), canvas);
    };

    Window window(1280, 800, 0);
    std::unique_ptr<IGraphicsPlatform> platform(Linux::CreateGraphicsPlatform(1));
    ASSERT_NO_THROW(platform->Setup(kConfig));
    struct sStep
    {
        const char* what;
        std::function<void()> change;
        bool force = false;
        bool unheeded = false;
        // The frame is not shown: the window cannot be written.
        bool unwritable = false;
    };
    const sStep steps[] = {
        {"the first frame", [] {}},
        {"one sprite moved", [&] { places[0].x += 7.5f; }},
        {"two moved, one into the corner",
         [&]
         {
             places[1].y -= 31;
             places[2] = {-10, 590};
         }},
        {"three far apart moved",
         [&]
         {
             places[0].x += 3;
             places[1].y += 4;
             places[2] = {700, 40};
         }},
        {"a sprite moved while the window cannot be written", [&] { places[0].y += 9; }, false, false, true},
        {"another moved far from it, the window written again", [&] { places[2].x -= 6; }},
        {"a sprite added before the others",
         [&] {
             places.insert(places.begin(), {500, 500});
         }},
        {"the first removed, the last moved",
         [&]
         {
             places.erase(places.begin());
             places.back().x -= 5;
         }},
        {"the window made wider", [&] { SDL_SetWindowSize(window.Get(), 1440, 800); }},
        {"a sprite moved after it", [&] { places[1].x += 1; }},
        {"the window made taller", [&] { SDL_SetWindowSize(window.Get(), 1000, 900); }},
        // Its expose unheeded and a sprite moved: the renderer sees the new size itself.
        {"the window made smaller",
         [&]
         {
             SDL_SetWindowSize(window.Get(), 960, 600);
             places[1].x -= 3;
         },
         false, true},
        {"the window spoiled and exposed", [&] { SpoilOnServer(window.Get()); }, true},
        {"a sprite moved after the expose", [&] { places[0].y += 2; }},
        {"back to 16:10", [&] { SDL_SetWindowSize(window.Get(), 1280, 800); }},
    };
    for (const sStep& step : steps)
    {
        SCOPED_TRACE(step.what);
        step.change();
        // The server takes a new size in its own time; an exposed window is drawn whole, as the game
        // does.
        bool exposed = step.force;
        for (int i = 0; i < 200; ++i)
        {
            SyncWithServer(window.Get());
            SDL_PumpEvents();
            SDL_Event event;
            while (SDL_PollEvent(&event))
                exposed = exposed || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED);
            int width = 0, height = 0;
            SDL_GetWindowSize(window.Get(), &width, &height);
            SDL_Surface* surface = SDL_GetWindowSurface(window.Get());
            // The new window is waited for until the server has exposed it.
            if (i >= 10 && surface && surface->w == width && surface->h == height && (exposed || &step != &steps[0]))
                break;
            SDL_Delay(10);
        }
        gFailingUpdates = step.unwritable ? 1 : 0;
        EXPECT_EQ(FrameRecording::DrawFrame([&] { draw(GetScreenCanvas()); }, exposed && !step.unheeded),
                  FrameRecording::Present_Shown);
        if (step.unwritable)
        {
            EXPECT_EQ(gFailingUpdates.load(), 0) << "the frame was shown through another call";
            continue;
        }
        const Frame shown = ReadFromServer(window.Get());
        const Frame expected = ShownWhole(draw, shown.width, shown.height);
        ASSERT_EQ(shown.pixels.size(), expected.pixels.size());
        for (size_t i = 0; i < shown.pixels.size(); ++i)
            ASSERT_EQ(shown.pixels[i], expected.pixels[i]) << "pixel " << i % shown.width << "," << i / shown.width;
    }
    FrameRecording::Invalidate();
}

// Whether a library whose file name holds `part` is mapped into this process.
bool IsMapped(const std::string& part)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(part) != std::string::npos)
            return true;
    return false;
}

size_t ThreadCount()
{
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<size_t>(std::distance(begin(tasks), end(tasks)));
}

// The driver answers in a child process: this one gains no driver, no thread of the driver's and no
// child left behind, and asks only once.
TEST(OpenGLRendererProbe, LeavesNothingBehindInTheProcess)
{
    ScopedEnvironment driver("SDL_VIDEODRIVER", "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        GTEST_SKIP() << "no X display: " << SDL_GetError();
    ASSERT_FALSE(IsMapped("_dri.so")) << "an OpenGL driver was loaded before the probe";
    const size_t threads = ThreadCount();

    // A question started and ended unanswered (the game quitting early) leaves no child either.
    Linux::StartOpenGLRendererProbe();
    Linux::EndOpenGLRendererProbe();
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    // Started early, then asked for.
    Linux::StartOpenGLRendererProbe();
    const std::string renderer = Linux::QueryOpenGLRenderer();
    EXPECT_FALSE(renderer.empty()) << "no OpenGL context on the display";
    EXPECT_FALSE(IsMapped("_dri.so"));
    EXPECT_FALSE(IsMapped("libLLVM"));
    EXPECT_EQ(ThreadCount(), threads);
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a child, or its remains, is left";
    EXPECT_EQ(errno, ECHILD);
    EXPECT_EQ(Linux::QueryOpenGLRenderer(), renderer);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST_F(RendererChoiceOnTheDisplayTest, OpenGLInSoftwareGivesWayToTheImageCanvasUnlessForced)
{
    const std::string renderer = Linux::QueryOpenGLRenderer();
    ASSERT_FALSE(renderer.empty()) << "no OpenGL context on the display";
    if (!Linux::IsSoftwareRasterizer(renderer))
        GTEST_SKIP() << "OpenGL draws in hardware here: " << renderer;

    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i)
    {
        std::unique_ptr<IGraphicsPlatform> chosen(Linux::ChooseGraphicsPlatform(GraphicsPlatformCaps_Hardware));
        EXPECT_STREQ(chosen->GetName(), L"Software");
        EXPECT_EQ(chosen->GetCaps(), 1ul);
        EXPECT_EQ(GetGraphicsPlatform(), chosen.get());
    }
    const std::string log = testing::internal::GetCapturedStderr();
    // Once, with the renderer's name (no other test of this process chooses).
    const size_t said = log.find("OpenGL draws in software here (" + renderer + ")");
    EXPECT_NE(said, std::string::npos) << log;
    EXPECT_EQ(log.find("OpenGL draws in software", said + 1), std::string::npos) << log;

    char program[] = "menagerie";
    char forced[] = "-opengl";
    char* argv[] = {program, forced, nullptr};
    SetCommandLine(2, argv);
    std::unique_ptr<IGraphicsPlatform> opengl(Linux::ChooseGraphicsPlatform(GraphicsPlatformCaps_Hardware));
    EXPECT_STREQ(opengl->GetName(), L"OpenGL");
    Window window(800, 600, SDL_WINDOW_OPENGL);
    EXPECT_NO_THROW(opengl->Setup(kConfig)) << "forced OpenGL draws, in software";
}

} // namespace
