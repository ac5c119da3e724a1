#include "graphics/OpenGLCanvas.h"

#include "ScreenTestSupport.h"
#include "core/RuntimeError.h"
#include "framework/WindowConfig.h"
#include "graphics/Image.h"
#include "platform/linux/OpenGLGraphicsPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <thread>

using namespace Strata;
using namespace Strata::Graphics;
using namespace ScreenTest;

namespace
{

constexpr sWindowConfig kConfig{0, 1, 800, 600};

// One OpenGL window and renderer for the whole suite; every test draws in a frame of its own.
class OpenGLCanvasTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sSkipReason.clear();
        sSetupError.clear();
        if (!StartVideo(&sSkipReason))
            return;
        sWindow = new Window(800, 600, SDL_WINDOW_OPENGL);
        sPlatform = new Linux::OpenGLGraphicsPlatform(2);
        try
        {
            sPlatform->Setup(kConfig);
        }
        catch (const RuntimeError& error)
        {
            // With a display there must be OpenGL (Mesa at least): a failure, not a skip.
            sSetupError = error.what();
        }
    }

    static void TearDownTestSuite()
    {
        delete sPlatform;
        sPlatform = nullptr;
        delete sWindow;
        sWindow = nullptr;
    }

    void SetUp() override
    {
        if (!sSkipReason.empty())
            GTEST_SKIP() << sSkipReason;
        ASSERT_TRUE(sSetupError.empty()) << sSetupError;
        RegisterSingleton(sPlatform);
        ASSERT_EQ(sPlatform->BeginScene(), 0);
    }

    void TearDown() override
    {
        if (sPlatform)
            sPlatform->EndScene();
    }

    static OpenGLScreenCanvas* Canvas() { return static_cast<OpenGLScreenCanvas*>(sPlatform->GetScreenCanvas()); }
    static Frame Read() { return ReadBackBuffer(800, 600); }
    // Shows this frame and begins a new, black one.
    static void NextFrame()
    {
        sPlatform->EndScene();
        sPlatform->BeginScene();
    }

    static inline const sDrawState& kDefaults = sDrawState::GetDefaults();
    static inline std::string sSkipReason;
    static inline std::string sSetupError;
    static inline Window* sWindow = nullptr;
    static inline Linux::OpenGLGraphicsPlatform* sPlatform = nullptr;
};

// An opaque image in which every pixel differs: red 10 (x + 1), green 10 (y + 1).
std::unique_ptr<Image> MakeGradient(int width, int height)
{
    auto image = std::make_unique<Image>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixel(x, y, Color32(uint8_t(10 * x + 10), uint8_t(10 * y + 10), 200, 255));
    return image;
}

std::unique_ptr<Image> MakeFilled(int width, int height, Color32 color)
{
    return std::make_unique<Image>(std::vector<Color32>(size_t(width) * height, color), width, height, true, false);
}

OpenGLTexture* TextureOf(Image& image)
{
    return dynamic_cast<OpenGLTexture*>(image.GetTexture());
}

size_t LiveTextures()
{
    std::lock_guard<std::mutex> lock(OpenGLTexture::GetAllTexturesMutex());
    return OpenGLTexture::gmAllTextures.size();
}

// The w x h block at (left, top) shows image pixel source(x, y) at offset (x, y).
void ExpectBlock(const Frame& frame, int left, int top, int w, int h, const Image& image,
                 const std::function<std::pair<int, int>(int, int)>& source)
{
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            const auto [sx, sy] = source(x, y);
            EXPECT_TRUE(Near(frame.At(left + x, top + y), image.GetPixel(sx, sy), 1))
                << "at offset (" << x << ", " << y << ") from (" << left << ", " << top << ")";
        }
    }
}

} // namespace

TEST_F(OpenGLCanvasTest, TexturesArePowersOfTwoCoveringTheImage)
{
    for (auto [w, h, tw, th] : {std::tuple(100, 30, 128, 32), std::tuple(1, 1, 1, 1), std::tuple(64, 65, 64, 128)})
    {
        Image image(w, h);
        ITexture* texture = sPlatform->CreateTexture(&image, nullptr);
        EXPECT_EQ(texture->GetDescriptor().imageRect, Rect<int>(0, 0, w, h));
        EXPECT_EQ(texture->GetDescriptor().textureSize, Vector2<int>(tw, th));
        EXPECT_FLOAT_EQ(texture->GetDescriptor().uvScale.x, float(w) / float(tw));
        EXPECT_FLOAT_EQ(texture->GetDescriptor().uvScale.y, float(h) / float(th));
        texture->Release();
    }
    EXPECT_EQ(QueryCanvas<IPixelSettingCanvas>(Canvas()), nullptr);
    EXPECT_NE(QueryCanvas<IScreen>(Canvas()), nullptr);
}

TEST_F(OpenGLCanvasTest, FillsAndLinesUseClampedColoursAndSkipInvisibleOnes)
{
    sDrawState state = kDefaults;
    state.color = ColorF(1, 0, 0, 1);
    EXPECT_EQ(Canvas()->DrawFilledRect(Rect<int>(10, 20, 30, 40), state), 0);
    state.color = ColorF(0, 1, 0, 0.5f);
    EXPECT_EQ(Canvas()->DrawFilledRect(Rect<int>(20, 30, 10, 10), state), 0);
    // Out-of-range and NaN channels become 1 and 0, as they would as bytes.
    state.color = ColorF(-1.0f, std::numeric_limits<float>::quiet_NaN(), 7.0f, 3.0f);
    EXPECT_EQ(Canvas()->DrawFilledRect(Rect<float>(100, 20, 10, 10), state), 0);
    EXPECT_EQ(Canvas()->DrawLine(10.0f, 100.5f, 100.0f, 100.5f, state), 0);
    state.color = ColorF(1, 1, 1, 0.0005f);
    EXPECT_EQ(Canvas()->DrawFilledRect(Rect<int>(200, 200, 10, 10), state), 1);
    EXPECT_EQ(Canvas()->DrawLine(200.0f, 205.5f, 210.0f, 205.5f, state), 1);
    state.color.a = 0.002f;
    EXPECT_EQ(Canvas()->DrawFilledRect(Rect<int>(300, 200, 10, 10), state), 0);

    const Frame frame = Read();
    EXPECT_TRUE(Near(frame.At(10, 20), kRed, 0));
    EXPECT_TRUE(Near(frame.At(39, 59), kRed, 0));
    EXPECT_TRUE(Near(frame.At(40, 20), kBlack, 0)) << "right edge exclusive";
    EXPECT_TRUE(Near(frame.At(10, 60), kBlack, 0));
    EXPECT_TRUE(Near(frame.At(25, 35), Color32(128, 128, 0, 255)));
    EXPECT_TRUE(Near(frame.At(105, 25), kBlue, 0));
    EXPECT_TRUE(Near(frame.At(50, 100), kBlue, 0));
    EXPECT_TRUE(Near(frame.At(50, 99), kBlack, 0));
    EXPECT_TRUE(Near(frame.At(205, 205), kBlack, 0));
}

TEST_F(OpenGLCanvasTest, DrawsImagesPixelForPixelFlippedAndClippedWithoutStretching)
{
    auto image = MakeGradient(8, 4);
    sDrawState state = kDefaults;
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 100, 100, state), 0);
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 200, 100, DrawStateNPI(state).SourceRect(2, 1, 3, 2)), 0);
    state.flags |= DrawFlag_FlipH;
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 300, 100, state), 0);
    // Clipped at the left: a plain draw loses the image's left half, a mirrored one its right half.
    state.clipRect = Rect<int>(404, 0, 96, 600);
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 400, 100, state), 0);
    state.flags = DrawFlag_Blend;
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 400, 200, state), 0);
    // Mirrored top to bottom and cut at the bottom: the image's bottom rows show.
    state.flags = DrawFlag_Blend | DrawFlag_FlipV;
    state.clipRect = Rect<int>(0, 0, 800, 302);
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 500, 300, state), 0);
    state.clipRect = Rect<int>(0, 0, 50, 50);
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 300, 300, state), 1) << "wholly clipped";
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 0, 0, DrawStateNPI(kDefaults).SourceRect(0, 0, 0, 0)), 1);

    const Frame frame = Read();
    ExpectBlock(
        frame, 100, 100, 8, 4, *image, [](int x, int y) { return std::pair(x, y); });
    ExpectBlock(frame, 200, 100, 3, 2, *image, [](int x, int y) { return std::pair(2 + x, 1 + y); });
    EXPECT_TRUE(Near(frame.At(203, 100), kBlack, 0)) << "only the source rectangle";
    ExpectBlock(
        frame, 300, 100, 8, 4, *image, [](int x, int y) { return std::pair(7 - x, y); });
    ExpectBlock(
        frame, 404, 100, 4, 4, *image, [](int x, int y) { return std::pair(3 - x, y); });
    ExpectBlock(frame, 404, 200, 4, 4, *image, [](int x, int y) { return std::pair(4 + x, y); });
    EXPECT_TRUE(Near(frame.At(403, 100), kBlack, 0));
    ExpectBlock(frame, 500, 300, 8, 2, *image, [](int x, int y) { return std::pair(x, 3 - y); });
    EXPECT_TRUE(Near(frame.At(500, 302), kBlack, 0));
}

TEST_F(OpenGLCanvasTest, TintsImagesAndBlendsTheirAlpha)
{
    auto white = MakeFilled(4, 4, kWhite);
    sDrawState state = kDefaults;
    state.imageColor = ColorF(1.0f, 0.5f, 0.0f, 1.0f);
    EXPECT_EQ(Canvas()->DrawImage(white.get(), 10, 10, state), 0);
    state.imageColor = ColorF(1, 1, 1, 0.5f);
    EXPECT_EQ(Canvas()->DrawImage(white.get(), 20, 10, state), 0);
    state.imageColor.a = 0.0005f;
    EXPECT_EQ(Canvas()->DrawImage(white.get(), 30, 10, state), 1);
    sDrawState green = kDefaults;
    green.color = ColorF(0, 1, 0, 1);
    Canvas()->DrawFilledRect(Rect<int>(40, 10, 4, 4), green);
    EXPECT_EQ(Canvas()->DrawImage(MakeFilled(4, 4, Color32(255, 0, 0, 128)).get(), 40, 10, kDefaults), 0);

    const Frame frame = Read();
    EXPECT_TRUE(Near(frame.At(11, 11), Color32(255, 128, 0, 255)));
    EXPECT_TRUE(Near(frame.At(21, 11), Color32(128, 128, 128, 255)));
    EXPECT_TRUE(Near(frame.At(31, 11), kBlack, 0));
    EXPECT_TRUE(Near(frame.At(41, 11), Color32(128, 127, 0, 255)));
}

TEST_F(OpenGLCanvasTest, UploadsAgainAfterTheImageChangedAndPadsWithTransparentBlack)
{
    auto image = MakeFilled(3, 3, kRed);
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 10, 10, kDefaults), 0);
    OpenGLTexture* texture = TextureOf(*image);
    ASSERT_NE(texture, nullptr) << "made on first draw";
    const unsigned int name = texture->GetTextureID();

    image->SetPixel(1, 1, kBlue);
    NextFrame();
    sDrawState green = kDefaults;
    green.color = ColorF(0, 1, 0, 1);
    Canvas()->DrawFilledRect(Rect<int>(0, 0, 100, 100), green);
    // The source rectangle reaches past the image into the padding, which must not cover the green.
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 10, 10, DrawStateNPI(kDefaults).SourceRect(0, 0, 4, 4)), 0);
    EXPECT_EQ(TextureOf(*image), texture);
    EXPECT_EQ(texture->GetTextureID(), name) << "the same texture takes the new pixels";
    Frame frame = Read();
    EXPECT_TRUE(Near(frame.At(11, 11), kBlue, 0));
    EXPECT_TRUE(Near(frame.At(10, 10), kRed, 0));
    EXPECT_TRUE(Near(frame.At(13, 11), kGreen, 0));
    EXPECT_TRUE(Near(frame.At(11, 13), kGreen, 0));
    std::vector<Color32> texels(16, Color32(1, 2, 3, 4));
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[3], Color32(0, 0, 0, 0));
    EXPECT_EQ(texels[15], Color32(0, 0, 0, 0));
    EXPECT_EQ(texels[12], Color32(0, 0, 0, 0));

    // A new size drops the texture; the next draw makes one of the new size.
    const size_t before = LiveTextures();
    ASSERT_TRUE(image->Init(std::vector<Color32>(5 * 2, kGreen), 5, 2, false, false));
    EXPECT_EQ(LiveTextures(), before - 1);
    NextFrame();
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 10, 10, kDefaults), 0);
    EXPECT_EQ(TextureOf(*image)->GetDescriptor().textureSize, Vector2<int>(8, 2));
    frame = Read();
    EXPECT_TRUE(Near(frame.At(14, 11), kGreen, 0));
    EXPECT_TRUE(Near(frame.At(11, 12), kBlack, 0));
}

TEST_F(OpenGLCanvasTest, TexturesGoWithTheirImagesAndOnlyTheDrawingThreadCallsOpenGL)
{
    const size_t before = LiveTextures();
    auto image = MakeFilled(2, 2, kWhite);
    Canvas()->DrawImage(image.get(), 0, 0, kDefaults);
    GLuint name = TextureOf(*image)->GetTextureID();
    EXPECT_EQ(LiveTextures(), before + 1);
    image.reset();
    EXPECT_EQ(LiveTextures(), before);
    EXPECT_FALSE(glIsTexture(name));

    // An image unloaded on another thread leaves its name to the drawing thread's next frame.
    image = MakeFilled(2, 2, kWhite);
    Canvas()->DrawImage(image.get(), 0, 0, kDefaults);
    name = TextureOf(*image)->GetTextureID();
    std::thread([&image] { image.reset(); }).join();
    EXPECT_EQ(LiveTextures(), before);
    EXPECT_TRUE(glIsTexture(name));
    NextFrame();
    EXPECT_FALSE(glIsTexture(name));
}

TEST_F(OpenGLCanvasTest, TexturesOffTheScreenGiveBackTheirNamesAndComeBackWhenDrawnAgain)
{
    // A screen shown over and over: its pictures stay loaded, but once another screen has been drawn
    // for a while they hold no OpenGL names.
    auto shown = MakeGradient(4, 4);
    auto screenPictures = std::vector<std::unique_ptr<Image>>();
    for (int i = 0; i < 3; ++i)
        screenPictures.push_back(MakeFilled(64, 64, kWhite));
    for (int visit = 0; visit < 3; ++visit)
    {
        for (const auto& picture : screenPictures)
            Canvas()->DrawImage(picture.get(), 0, 0, kDefaults);
        ASSERT_TRUE(TextureOf(*screenPictures[0])->IsUploaded());
        Canvas()->DrawImage(shown.get(), 10, 10, kDefaults);
        uint32_t frames = 0;
        for (; TextureOf(*screenPictures[0])->IsUploaded() && frames <= 10 * OpenGLTexture::kUnusedFrames; ++frames)
        {
            NextFrame();
            Canvas()->DrawImage(shown.get(), 10, 10, kDefaults);
            ASSERT_TRUE(TextureOf(*shown)->IsUploaded()) << "a texture drawn in every frame keeps its name";
        }
        EXPECT_EQ(frames, OpenGLTexture::kUnusedFrames + 1);
        for (const auto& picture : screenPictures)
            EXPECT_FALSE(TextureOf(*picture)->IsUploaded());
    }
    NextFrame();
    EXPECT_EQ(Canvas()->DrawImage(screenPictures[1].get(), 10, 10, kDefaults), 0);
    EXPECT_TRUE(Near(Read().At(12, 13), kWhite, 1));
}

TEST_F(OpenGLCanvasTest, RemakesTexturesAfterTheirNamesWereDeletedOrTheContextChanged)
{
    auto image = MakeGradient(4, 4);
    Canvas()->DrawImage(image.get(), 10, 10, kDefaults);
    const GLuint name = TextureOf(*image)->GetTextureID();
    OpenGLTexture::DeleteAll();
    EXPECT_FALSE(glIsTexture(name));
    NextFrame();
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 10, 10, kDefaults), 0);
    EXPECT_TRUE(Near(Read().At(12, 13), image->GetPixel(2, 3), 1));

    sPlatform->EndScene();
    sPlatform->Cleanup();
    EXPECT_EQ(sPlatform->GetScreenCanvas(), nullptr);
    EXPECT_EQ(sPlatform->BeginScene(), 1);
    sPlatform->Setup(kConfig);
    ASSERT_EQ(sPlatform->BeginScene(), 0);
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 10, 10, kDefaults), 0);
    EXPECT_TRUE(Near(Read().At(12, 13), image->GetPixel(2, 3), 1));
}

TEST_F(OpenGLCanvasTest, DrawsNoImageWithoutAGraphicsPlatform)
{
    auto image = MakeFilled(4, 4, kWhite);
    UnregisterSingleton(sPlatform);
    EXPECT_EQ(Canvas()->DrawImage(image.get(), 10, 10, kDefaults), 1);
    EXPECT_EQ(Canvas()->DrawStretchedImage(image.get(), Rect<int>(20, 10, 8, 8), kDefaults), 1);
    EXPECT_EQ(Canvas()->DrawRotatedImage(image.get(), 40, 10, Angle(1.0f), kDefaults), 1);
    RegisterSingleton(sPlatform);
    EXPECT_EQ(image->GetTexture(), nullptr);
    EXPECT_TRUE(Near(Read().At(12, 12), kBlack, 0)) << "not a white quad";
}

TEST_F(OpenGLCanvasTest, DrawsCirclesAndEllipsesAndRefusesBadRadii)
{
    EXPECT_EQ(Canvas()->DrawFilledCircle(50, 50, 10, kDefaults), 0);
    EXPECT_EQ(Canvas()->DrawLineCircle(150, 50, 20, kDefaults), 0);
    EXPECT_EQ(Canvas()->DrawFilledEllipse(Rect<float>(200, 100, 40, 20), kDefaults), 0);
    // Sizes within a pixel of each other give the circle of the width.
    EXPECT_EQ(Canvas()->DrawFilledEllipse(Rect<float>(300, 100, 20, 20.5f), kDefaults), 0);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {-5.0f, nan, inf, -inf, 1e9f, 0.0f})
    {
        EXPECT_EQ(Canvas()->DrawFilledCircle(400, 300, bad, kDefaults), 1) << bad;
        EXPECT_EQ(Canvas()->DrawLineCircle(400, 300, bad, kDefaults), 1) << bad;
        EXPECT_EQ(Canvas()->DrawFilledEllipse(Rect<float>(400, 300, bad, 10), kDefaults), 1) << bad;
        EXPECT_EQ(Canvas()->DrawLineEllipse(Rect<float>(400, 300, 10, bad), kDefaults), 1) << bad;
    }
    EXPECT_EQ(Canvas()->DrawFilledCircle(nan, 300, 10, kDefaults), 1);

    const Frame frame = Read();
    for (auto [x, y] : {std::pair(50, 50), std::pair(57, 50), std::pair(50, 43), std::pair(220, 110),
                        std::pair(237, 110), std::pair(220, 103), std::pair(310, 110), std::pair(310, 119)})
        EXPECT_TRUE(Near(frame.At(x, y), kWhite, 0)) << x << ", " << y;
    for (auto [x, y] : {std::pair(62, 50), std::pair(150, 50), std::pair(220, 98), std::pair(310, 121),
                        std::pair(400, 300), std::pair(404, 304)})
        EXPECT_TRUE(Near(frame.At(x, y), kBlack, 0)) << x << ", " << y;
}

TEST_F(OpenGLCanvasTest, RotatesImagesClockwiseAboutTheirCentre)
{
    auto halves = std::make_unique<Image>(20, 10);
    auto strip = std::make_unique<Image>(128, 32);
    for (int y = 0; y < 32; ++y)
    {
        for (int x = 0; x < 128; ++x)
        {
            halves->SetPixel(x, y, x < 10 ? kRed : kGreen);
            strip->SetPixel(x, y, x < 32 ? kRed : (x < 64 ? kBlue : kGreen));
        }
    }
    EXPECT_EQ(Canvas()->DrawRotatedImage(halves.get(), 300, 300, Angle::FromDegrees(90.0f), kDefaults), 0);
    // The second frame of the strip, centred on the point, alike at angle 0 and a tiny angle.
    const DrawStateNPI frameTwo = DrawStateNPI(kDefaults).SourceRect(32, 0, 32, 32);
    EXPECT_EQ(Canvas()->DrawRotatedImage(strip.get(), 500, 300, Angle(0.0f), frameTwo), 0);
    EXPECT_EQ(Canvas()->DrawRotatedImage(strip.get(), 600, 300, Angle(1e-5f), frameTwo), 0);
    EXPECT_EQ(Canvas()->DrawStretchedRotatedImage(strip.get(), Rect<int>(700, 300, 16, 64), Angle(0.0f), frameTwo), 0);

    const Frame frame = Read();
    EXPECT_TRUE(Near(frame.At(300, 292), kRed, 0)) << "the left half turned to the top";
    EXPECT_TRUE(Near(frame.At(300, 307), kGreen, 0));
    EXPECT_TRUE(Near(frame.At(293, 300), kBlack, 0));
    for (int x = -16; x < 16; x += 5)
    {
        EXPECT_TRUE(Near(frame.At(500 + x, 300), kBlue, 0)) << x;
        EXPECT_TRUE(Near(frame.At(600 + x, 300), kBlue, 0)) << x;
    }
    EXPECT_TRUE(Near(frame.At(484, 284), kBlue, 0));
    EXPECT_TRUE(Near(frame.At(516, 300), kBlack, 0));
    EXPECT_TRUE(Near(frame.At(692, 268), kBlue, 0)) << "stretched into (692, 268, 16, 64)";
    EXPECT_TRUE(Near(frame.At(707, 331), kBlue, 0));
    EXPECT_TRUE(Near(frame.At(708, 300), kBlack, 0));
}

TEST_F(OpenGLCanvasTest, PrimitivesTakeTextureCoordinatesOfTheImage)
{
    auto image = MakeFilled(3, 3, kWhite);
    sPrimitiveVertex quad[4] = {
        {10, 10, 1, 1, 1, 1, 0, 0}, {10, 40, 1, 1, 1, 1, 0, 1}, {40, 10, 1, 1, 1, 1, 1, 0}, {40, 40, 1, 1, 1, 1, 1, 1}};
    EXPECT_EQ(Canvas()->DrawPrimitive(PrimitiveKind_TriangleStrip, image.get(), 4, quad, kDefaults), 0);
    EXPECT_EQ(Canvas()->DrawPrimitive(static_cast<PrimitiveKind>(7), nullptr, 4, quad, kDefaults), 1);
    EXPECT_EQ(Canvas()->DrawPrimitive(PrimitiveKind_TriangleFan, nullptr, 0, quad, kDefaults), 1);
    // (1, 1) is the image's corner, not the padded texture's.
    EXPECT_TRUE(Near(Read().At(30, 30), kWhite, 1));
}
