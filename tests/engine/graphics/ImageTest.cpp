#include "graphics/Image.h"

#include <gtest/gtest.h>

#include <functional>

#include <cmath>
#include <limits>
#include <vector>

using namespace Strata;

namespace
{

// A pixel whose red byte tells its place: 10 * y + x.
Color32 Marker(int x, int y)
{
    return Color32(static_cast<uint8_t>(10 * y + x), 0, 0, 255);
}

std::unique_ptr<Image> MarkedImage(int width, int height, bool hasAlpha = true, bool hasColorKey = false)
{
    std::vector<Color32> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(Marker(x, y));
    return std::make_unique<Image>(std::move(pixels), width, height, hasAlpha, hasColorKey);
}

// Red bytes of the image row by row.
std::vector<std::vector<int>> Reds(const Image& image)
{
    std::vector<std::vector<int>> rows;
    for (int y = 0; y < image.GetHeight(); ++y)
    {
        rows.emplace_back();
        for (int x = 0; x < image.GetWidth(); ++x)
            rows.back().push_back(image.GetPixel(x, y).r);
    }
    return rows;
}

class CountingTexture : public ITexture
{
public:
    void AddRef() override { ++references; }
    void Release() override { --references; }
    const sTextureDescriptor& GetDescriptor() const override { return descriptor; }
    const Image* GetImage() const override { return nullptr; }
    void Refresh() override { ++refreshes; }
    void SendToRenderer() override {}
    void Delete() override {}

    int references = 1;
    int refreshes = 0;
    sTextureDescriptor descriptor;
};

} // namespace

TEST(ImageTest, SidesOutsideOneTo8192GiveTheEmptyImage)
{
    EXPECT_TRUE(Image(0, 5).IsEmpty());
    EXPECT_TRUE(Image(-3, 5).IsEmpty());
    EXPECT_TRUE(Image(8193, 1).IsEmpty());
    EXPECT_EQ(Image(8193, 1).GetWidth(), 0);

    const Image widest(8192, 1);
    EXPECT_FALSE(widest.IsEmpty());
    EXPECT_EQ(widest.GetWidth(), 8192);
    EXPECT_EQ(widest.GetPixel(8191, 0), Color32());
    EXPECT_TRUE(widest.HasAlpha());
    EXPECT_FALSE(widest.HasColorKey());
}

TEST(ImageTest, InitRefusesBadSizesAndLeavesTheImageAsItWas)
{
    auto image = MarkedImage(2, 2);
    const uint64_t version = image->GetPixelVersion();

    // Too few pixels for the size, sizes whose product overflows an int, a zero side.
    EXPECT_FALSE(image->Init(std::vector<Color32>(3), 2, 2, false, false));
    EXPECT_FALSE(image->Init(std::vector<Color32>(16), 65536, 65536, false, false));
    EXPECT_FALSE(image->Init(std::vector<Color32>(), 0, 7, false, false));
    EXPECT_EQ(image->GetWidth(), 2);
    EXPECT_EQ(image->GetPixel(1, 1), Marker(1, 1));
    EXPECT_TRUE(image->HasAlpha());
    EXPECT_EQ(image->GetPixelVersion(), version);

    EXPECT_TRUE(image->Init(std::vector<Color32>(6, Color32(1, 2, 3, 4)), 3, 2, false, true));
    EXPECT_EQ(image->GetWidth(), 3);
    EXPECT_EQ(image->GetPixel(2, 1), Color32(1, 2, 3, 4));
    EXPECT_FALSE(image->HasAlpha());
    EXPECT_TRUE(image->HasColorKey());
    EXPECT_GT(image->GetPixelVersion(), version);
}

TEST(ImageTest, PixelsOutsideReadAsZeroAndAreNeverWritten)
{
    auto image = MarkedImage(3, 2);
    EXPECT_EQ(image->GetPixel(-1, 0), Color32());
    EXPECT_EQ(image->GetPixel(3, 0), Color32());
    EXPECT_EQ(image->GetPixel(0, 2), Color32());
    EXPECT_EQ(image->GetPixel(0, -1), Color32());

    const uint64_t version = image->GetPixelVersion();
    image->SetPixel(3, 0, Color32(9, 9, 9, 9));
    image->SetPixel(-1, 1, Color32(9, 9, 9, 9));
    EXPECT_EQ(image->GetPixelVersion(), version);
    EXPECT_EQ(Reds(*image), (std::vector<std::vector<int>>{{0, 1, 2}, {10, 11, 12}}));

    image->SetPixel(2, 1, Color32(9, 9, 9, 9));
    EXPECT_EQ(image->GetPixel(2, 1), Color32(9, 9, 9, 9));
    EXPECT_GT(image->GetPixelVersion(), version);
}

TEST(ImageTest, CopyIsDeepAndKeepsTheFlags)
{
    auto image = MarkedImage(2, 2, true, true);
    image->SetRotationCache(std::make_unique<ImageRotationCache>(4));
    auto copy = image->Copy();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Reds(*copy), Reds(*image));
    EXPECT_TRUE(copy->HasAlpha());
    EXPECT_TRUE(copy->HasColorKey());
    EXPECT_EQ(copy->GetRotationCache(), nullptr);
    copy->SetPixel(0, 0, Color32(200, 0, 0, 255));
    EXPECT_EQ(image->GetPixel(0, 0), Marker(0, 0));
}

// Opaque means every pixel at alpha 255, whatever the flags say, and the answer follows the pixels.
TEST(ImageTest, OpaqueOnlyWhileEveryPixelIsAndAfterEveryChange)
{
    EXPECT_FALSE(Image().IsOpaque());
    EXPECT_FALSE(Image(3, 2).IsOpaque()) << "transparent black";
    Image image(std::vector<Color32>(6, Color32(1, 2, 3, 255)), 3, 2, true, false);
    EXPECT_TRUE(image.IsOpaque());
    const struct
    {
        const char* what;
        std::function<void(Image&)> change;
        bool opaque;
    } steps[] = {
        {"a pixel at 254", [](Image& i) { i.SetPixel(2, 1, Color32(9, 9, 9, 254)); }, false},
        {"it made opaque again", [](Image& i) { i.SetPixel(2, 1, Color32(9, 9, 9, 255)); }, true},
        {"written through the pixels", [](Image& i) { i.GetPixels()[0].a = 0, i.MarkChanged(); }, false},
        {"re-made opaque and larger",
         [](Image& i) { i.Init(std::vector<Color32>(12, Color32(0, 0, 0, 255)), 4, 3, false, false); }, true},
        {"flags alone", [](Image& i) { i.SetFlags(true, true); }, true},
    };
    for (const auto& step : steps)
    {
        step.change(image);
        EXPECT_EQ(image.IsOpaque(), step.opaque) << step.what;
    }
}

TEST(ImageTest, TextureLinkIsCountedAndRefreshedOnlyAfterChanges)
{
    CountingTexture first;
    CountingTexture second;
    {
        auto image = MarkedImage(2, 2);
        EXPECT_EQ(image->GetTexture(), nullptr);

        image->SetTexture(&first);
        EXPECT_EQ(first.references, 2);
        EXPECT_EQ(image->GetTexture(), &first);
        EXPECT_EQ(first.refreshes, 1);
        EXPECT_EQ(image->GetTexture(), &first);
        EXPECT_EQ(first.refreshes, 1);

        image->SetPixel(0, 0, Color32());
        image->GetTexture();
        EXPECT_EQ(first.refreshes, 2);

        image->SetTexture(&second);
        EXPECT_EQ(first.references, 1);
        EXPECT_EQ(second.references, 2);

        // New pixels of another size: the texture's size would be wrong, so the link goes.
        EXPECT_TRUE(image->Init(std::vector<Color32>(9), 3, 3, true, false));
        EXPECT_EQ(second.references, 1);
        EXPECT_EQ(image->GetTexture(), nullptr);
        image->SetTexture(&second);
    }
    EXPECT_EQ(second.references, 1);
}

TEST(ImageToolTest, QuarterTurnsMovePixelsClockwiseAndBack)
{
    auto image = MarkedImage(3, 2, true, true);

    auto clockwise = ImageTool::Rotate90(image.get());
    ASSERT_EQ(clockwise->GetWidth(), 2);
    ASSERT_EQ(clockwise->GetHeight(), 3);
    // The source's bottom-left pixel lands top-left.
    EXPECT_EQ(Reds(*clockwise), (std::vector<std::vector<int>>{{10, 0}, {11, 1}, {12, 2}}));
    EXPECT_TRUE(clockwise->HasAlpha());
    EXPECT_TRUE(clockwise->HasColorKey());

    auto anticlockwise = ImageTool::Rotate270(image.get());
    EXPECT_EQ(Reds(*anticlockwise), (std::vector<std::vector<int>>{{2, 12}, {1, 11}, {0, 10}}));

    auto half = ImageTool::Rotate180(image.get());
    EXPECT_EQ(Reds(*half), (std::vector<std::vector<int>>{{12, 11, 10}, {2, 1, 0}}));

    auto back = ImageTool::Rotate270(clockwise.get());
    EXPECT_EQ(Reds(*back), Reds(*image));

    EXPECT_EQ(ImageTool::Rotate90(nullptr), nullptr);
    EXPECT_TRUE(ImageTool::Rotate90(std::make_unique<Image>().get())->IsEmpty());
}

TEST(ImageToolTest, AnglesNearQuarterTurnsAreExact)
{
    auto image = MarkedImage(3, 2);
    EXPECT_EQ(Reds(*ImageTool::Rotate(image.get(), Angle::FromDegrees(89.9995f))),
              Reds(*ImageTool::Rotate90(image.get())));
    EXPECT_EQ(Reds(*ImageTool::Rotate(image.get(), Angle::FromDegrees(-90.0f))),
              Reds(*ImageTool::Rotate270(image.get())));
    EXPECT_EQ(Reds(*ImageTool::Rotate(image.get(), Angle::FromDegrees(540.0f))),
              Reds(*ImageTool::Rotate180(image.get())));
    EXPECT_EQ(Reds(*ImageTool::Rotate(image.get(), Angle::FromDegrees(0.0005f))), Reds(*image));
    EXPECT_EQ(Reds(*ImageTool::Rotate(image.get(), Angle::FromDegrees(359.9995f))), Reds(*image));
    EXPECT_EQ(Reds(*ImageTool::Rotate(image.get(), Angle(std::numeric_limits<float>::quiet_NaN()))), Reds(*image));
}

TEST(ImageToolTest, FreeAngleGrowsTheImageAndLeavesCornersClear)
{
    std::vector<Color32> pixels(100, Color32(255, 255, 255, 255));
    Image square(std::move(pixels), 10, 10, false, false);
    auto turned = ImageTool::Rotate(&square, Angle::FromDegrees(45.0f));
    // |cos| * 10 + |sin| * 10 + 0.99 = 15.13.
    ASSERT_EQ(turned->GetWidth(), 15);
    ASSERT_EQ(turned->GetHeight(), 15);
    EXPECT_FALSE(turned->HasAlpha());
    EXPECT_EQ(turned->GetPixel(7, 7), Color32(255, 255, 255, 255));
    EXPECT_EQ(turned->GetPixel(0, 0), Color32());
    EXPECT_EQ(turned->GetPixel(14, 0), Color32());
    EXPECT_EQ(turned->GetPixel(0, 14), Color32());
    EXPECT_EQ(turned->GetPixel(14, 14), Color32());
    // The diamond's tips reach the edges' middles.
    EXPECT_EQ(turned->GetPixel(7, 1), Color32(255, 255, 255, 255));
    EXPECT_EQ(turned->GetPixel(1, 7), Color32(255, 255, 255, 255));
}

TEST(ImageToolTest, SmallTurnKeepsThePictureClockwise)
{
    // A marked block right of the centre moves down when turned clockwise (y grows downward).
    Image image(21, 21);
    for (int y = 9; y <= 11; ++y)
        for (int x = 17; x <= 19; ++x)
            image.SetPixel(x, y, Color32(255, 0, 0, 255));
    auto turned = ImageTool::Rotate(&image, Angle::FromDegrees(30.0f));
    double sumX = 0.0;
    double sumY = 0.0;
    int count = 0;
    for (int y = 0; y < turned->GetHeight(); ++y)
    {
        for (int x = 0; x < turned->GetWidth(); ++x)
        {
            if (turned->GetPixel(x, y).r == 255)
            {
                sumX += x;
                sumY += y;
                ++count;
            }
        }
    }
    ASSERT_GT(count, 4);
    const double cx = turned->GetWidth() / 2;
    const double cy = turned->GetHeight() / 2;
    // 8 pixels from the centre at 30 degrees below the x axis: (6.9, 4).
    EXPECT_NEAR(sumX / count - cx, 6.9, 1.0);
    EXPECT_NEAR(sumY / count - cy, 4.0, 1.0);
}

TEST(ImageRotationCacheTest, IndexIsTheNearestStep)
{
    ImageRotationCache cache(8);
    EXPECT_EQ(cache.GetCount(), 8);
    EXPECT_EQ(cache.GetIndex(Angle::FromDegrees(22.5f + 0.01f)), 1);
    EXPECT_EQ(cache.GetIndex(Angle::FromDegrees(22.0f)), 0);
    EXPECT_EQ(cache.GetIndex(Angle::FromDegrees(-10.0f)), 0);
    EXPECT_EQ(cache.GetIndex(Angle::FromDegrees(-30.0f)), 7);
    EXPECT_EQ(cache.GetIndex(Angle::FromDegrees(350.0f)), 0);
    EXPECT_EQ(cache.GetIndex(Angle::FromDegrees(720.0f + 90.0f)), 2);
    EXPECT_EQ(cache.GetIndex(Angle(std::numeric_limits<float>::quiet_NaN())), 0);
    EXPECT_EQ(cache.GetIndex(Angle(std::numeric_limits<float>::infinity())), 0);
    EXPECT_EQ(cache.GetIndex(Angle(-std::numeric_limits<float>::infinity())), 0);
}

TEST(ImageRotationCacheTest, CountIsKeptWithinLimitsAndSlotsOutsideAreIgnored)
{
    EXPECT_EQ(ImageRotationCache(0).GetCount(), 1);
    EXPECT_EQ(ImageRotationCache(-5).GetCount(), 1);
    EXPECT_EQ(ImageRotationCache(1000000).GetCount(), kMaxImageRotations);

    ImageRotationCache cache(4);
    Image outside(2, 2);
    cache.SetImage(4, &outside);
    cache.SetImage(-1, &outside);
    cache.AttachImage(9, std::make_unique<Image>(2, 2)); // deleted, not leaked
    EXPECT_EQ(cache.GetImage(4), nullptr);
    EXPECT_EQ(cache.GetImage(-1), nullptr);

    cache.AttachImage(Angle::FromDegrees(90.0f), std::make_unique<Image>(3, 3));
    ASSERT_NE(cache.GetImage(1), nullptr);
    EXPECT_EQ(cache.GetImage(1)->GetWidth(), 3);
    cache.Init(2);
    EXPECT_EQ(cache.GetImage(1), nullptr);
}

TEST(ImageRotationCacheTest, CopiesSurviveDrawingAndGoWhenThePixelsChange)
{
    auto image = MarkedImage(3, 2);
    EXPECT_EQ(image->GetCachedRotation(Angle()), nullptr);

    image->SetRotationCache(std::make_unique<ImageRotationCache>(4));
    ImageRotationCache* cache = image->GetRotationCache();
    // A freshly loaded image still waits for its texture upload; that must not empty the cache.
    ASSERT_TRUE(image->IsTextureDirty());

    EXPECT_EQ(image->GetCachedRotation(Angle()), image.get());
    const Image* quarter = image->GetCachedRotation(Angle::FromDegrees(90.0f));
    ASSERT_NE(quarter, nullptr);
    EXPECT_EQ(Reds(*quarter), Reds(*ImageTool::Rotate90(image.get())));
    const Image* half = image->GetCachedRotation(Angle::FromDegrees(181.0f));
    EXPECT_EQ(Reds(*half), Reds(*ImageTool::Rotate180(image.get())));
    EXPECT_EQ(cache->GetImage(0), image.get());
    EXPECT_EQ(cache->GetImage(1), quarter);
    EXPECT_EQ(cache->GetImage(2), half);
    EXPECT_EQ(image->GetCachedRotation(Angle::FromDegrees(89.0f)), quarter);

    // New pixels: stale copies are dropped on the next request and made again one by one.
    image->SetPixel(0, 0, Color32(99, 0, 0, 255));
    const Image* fresh = image->GetCachedRotation(Angle::FromDegrees(270.0f));
    EXPECT_EQ(cache->GetImage(1), nullptr);
    EXPECT_EQ(cache->GetImage(2), nullptr);
    EXPECT_EQ(cache->GetImage(3), fresh);
    EXPECT_EQ(fresh->GetPixel(0, 2).r, 99);
    EXPECT_EQ(image->GetCachedRotation(Angle::FromDegrees(90.0f))->GetPixel(1, 0).r, 99);
}
