#include "controls/Sprites.h"

#include "controls/SetImageTask.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// `width` x `height`, the left half red and the right half blue.
Image TwoColourImage(int width, int height)
{
    std::vector<Color32> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y * width + x)] =
                x < width / 2 ? Color32(255, 0, 0, 255) : Color32(0, 0, 255, 255);
    return Image(std::move(pixels), width, height, true, false);
}

AttributeContainer Attributes(std::initializer_list<std::pair<const std::wstring, std::wstring>> values)
{
    return AttributeContainer(IAttributeContainer::AttributeMap(values));
}

class SpriteTest : public LayoutTest
{
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        LoadManifest(L"art",
                     "<testimage name=\"Red\" width=\"4\" height=\"3\" color=\"#FF0000FF\"/>\n"
                     "<testimage name=\"Wide\" width=\"50\" height=\"10\"/>\n"
                     "<testlist name=\"Frames\" count=\"3\" width=\"2\" height=\"2\"/>\n"
                     "<testlist name=\"Looping\" count=\"3\" width=\"2\" height=\"2\" mode=\"loop\" fps=\"1\"/>\n"
                     "<testfont name=\"Block\"/>\n");
    }

    template <class T>
    std::unique_ptr<T> Make(IObjectFactory& factory, const AttributeContainer& attributes)
    {
        return std::unique_ptr<T>(dynamic_cast<T*>(factory.CreateObject(Label("sprite"), attributes)));
    }

    ImageSpriteObjectFactory imageFactory;
    AnimationSpriteObjectFactory animationFactory;
    TextSpriteObjectFactory textFactory;
};

} // namespace

TEST(SpriteScale, SizesThatGiveNoSensibleRatioGiveOne)
{
    EXPECT_FLOAT_EQ(2.0f, SizeToScale(100.0f, 50));
    EXPECT_FLOAT_EQ(1.0f, SizeToScale(0.0f, 50));
    EXPECT_FLOAT_EQ(1.0f, SizeToScale(-10.0f, 50));
    EXPECT_FLOAT_EQ(1.0f, SizeToScale(kNaN, 50));
    EXPECT_FLOAT_EQ(1.0f, SizeToScale(kInf, 50));
    EXPECT_FLOAT_EQ(1.0f, SizeToScale(100.0f, 0));
    EXPECT_FLOAT_EQ(1.0f, SizeToScale(3.0e38f, 0));
}

TEST_F(SpriteTest, ImageSpriteFactoryScalesToTheRequestedSize)
{
    auto wide = Make<ImageSpriteObject>(imageFactory, Attributes({{L"src", L"Wide"}, {L"width", L"100"}}));
    ASSERT_NE(nullptr, wide->GetImage());
    EXPECT_EQ(Vector2<float>(2.0f, 1.0f), wide->GetScale());

    auto zero =
        Make<ImageSpriteObject>(imageFactory, Attributes({{L"src", L"Wide"}, {L"width", L"0"}, {L"height", L"5"}}));
    EXPECT_EQ(Vector2<float>(1.0f, 0.5f), zero->GetScale());

    auto missing = Make<ImageSpriteObject>(imageFactory, Attributes({{L"src", L"Nothing"}, {L"width", L"100"}}));
    ASSERT_NE(nullptr, missing);
    EXPECT_EQ(nullptr, missing->GetImage());
    EXPECT_EQ(Vector2<float>(1.0f, 1.0f), missing->GetScale());
    CanvasScope canvas(16, 16);
    missing->Draw();
    EXPECT_TRUE(canvas.DrawnArea().isEmpty());
}

TEST_F(SpriteTest, ImageSpriteDrawsAtItsScreenLocationPlainOrStretched)
{
    auto sprite = Make<ImageSpriteObject>(imageFactory, Attributes({{L"src", L"Red"}}));
    sprite->SetLocation(Vector2<float>(3.0f, 2.0f));
    ReferenceFrame parent{Vector2<float>(5.0f, 1.0f), nullptr};
    sprite->SetParentFrame(&parent);
    {
        CanvasScope canvas(40, 40);
        sprite->Draw();
        EXPECT_EQ(Rect<int>(8, 3, 4, 3), canvas.DrawnArea());
        EXPECT_EQ(255, canvas.Red(8, 3));
    }
    sprite->SetScale(2.0f, 1.5f);
    {
        CanvasScope canvas(40, 40);
        sprite->Draw();
        EXPECT_EQ(Rect<int>(8, 3, 8, 4), canvas.DrawnArea()); // 3 x 1.5 truncated to 4
    }
    sprite->SetVisible(false);
    {
        CanvasScope canvas(40, 40);
        sprite->Draw();
        EXPECT_TRUE(canvas.DrawnArea().isEmpty());
    }
}

TEST_F(SpriteTest, AbsurdScalesDrawClippedWithoutOverflow)
{
    auto sprite = Make<ImageSpriteObject>(imageFactory, Attributes({{L"src", L"Red"}}));
    sprite->SetLocation(Vector2<float>(1.0e20f, -1.0e20f));
    sprite->SetScale(1.0e30f, kNaN);
    CanvasScope canvas(8, 8);
    sprite->Draw();
    sprite->SetLocation(Vector2<float>(0.0f, 0.0f));
    sprite->SetScale(1.0e30f, 1.0e30f);
    sprite->Draw();
    EXPECT_EQ(Rect<int>(0, 0, 8, 8), canvas.DrawnArea());
}

TEST_F(SpriteTest, ImageSpriteAppliesColourAlignmentFlipsAndRectangles)
{
    Image image = TwoColourImage(4, 2);
    ImageSpriteObject sprite(Label("s"));
    sprite.SetImage(&image);
    sprite.SetLocation(Vector2<float>(10.0f, 10.0f));
    {
        CanvasScope canvas(20, 20);
        sprite.SetHAlignment(HAlignment_Right);
        sprite.SetVAlignment(VAlignment_Bottom);
        sprite.Draw();
        EXPECT_EQ(Rect<int>(6, 8, 4, 2), canvas.DrawnArea());
        EXPECT_EQ(255, canvas.Red(6, 8));
        EXPECT_EQ(0, canvas.Red(9, 8));
    }
    sprite.SetHAlignment(HAlignment_Left);
    sprite.SetVAlignment(VAlignment_Top);
    sprite.SetFlipState(1);
    {
        CanvasScope canvas(20, 20);
        sprite.Draw();
        EXPECT_EQ(0, canvas.Red(10, 10)); // blue now on the left
        EXPECT_EQ(255, canvas.Red(13, 10));
    }
    sprite.SetFlipState(0);
    sprite.SetColor(ColorF(0.0f, 1.0f, 1.0f, 1.0f)); // tint removes the red
    sprite.SetSourceRect(true, Rect<int>(0, 0, 2, 2));
    sprite.SetClipRect(true, Rect<int>(0, 0, 11, 20));
    {
        CanvasScope canvas(20, 20);
        sprite.Draw();
        EXPECT_EQ(Rect<int>(10, 10, 1, 2), canvas.DrawnArea());
        EXPECT_EQ(0, canvas.Red(10, 10));
    }
}

TEST_F(SpriteTest, SpritesKeepTheirResourcesAfterTheManifestIsUnloaded)
{
    auto image = Make<ImageSpriteObject>(imageFactory, Attributes({{L"src", L"Red"}}));
    auto animation = Make<AnimationSpriteObject>(animationFactory, Attributes({{L"src", L"Frames"}}));
    manager->Unload(L"art");
    ASSERT_EQ(nullptr, manager->GetResource(Label("Red")));
    CanvasScope canvas(16, 16);
    image->Draw();
    animation->Draw();
    EXPECT_EQ(Rect<int>(0, 0, 4, 3), canvas.DrawnArea());
}

TEST_F(SpriteTest, AnimationSpriteRunsFromCreationEvenWhileHidden)
{
    auto sprite = Make<AnimationSpriteObject>(animationFactory, Attributes({{L"src", L"Frames"}, {L"height", L"6"}}));
    ASSERT_NE(nullptr, sprite->GetAnimation().GetImageList());
    EXPECT_EQ(AnimationMode_Once, sprite->GetAnimation().GetMode());
    EXPECT_FLOAT_EQ(10.0f, sprite->GetAnimation().GetFPS());
    EXPECT_EQ(Vector2<float>(1.0f, 3.0f), sprite->GetScale());

    sprite->SetVisible(false);
    sprite->UpdateInternal(0.05f);
    sprite->UpdateInternal(0.1f);
    EXPECT_FLOAT_EQ(0.15f, sprite->GetTime());
    {
        CanvasScope canvas(8, 8);
        sprite->Draw();
        EXPECT_TRUE(canvas.DrawnArea().isEmpty());
    }
    sprite->SetVisible(true);
    sprite->SetLocation(Vector2<float>(1.0f, 1.0f));
    {
        CanvasScope canvas(8, 8);
        sprite->Draw();
        EXPECT_EQ(Rect<int>(1, 1, 2, 6), canvas.DrawnArea());
        EXPECT_EQ(80, canvas.Red(1, 1)); // frame 1 at 0.15 s and 10 frames per second
    }
    sprite->SetScale(1.0f);
    {
        CanvasScope canvas(8, 8);
        sprite->Draw();
        EXPECT_EQ(Rect<int>(1, 1, 2, 2), canvas.DrawnArea());
    }

    auto looping = Make<AnimationSpriteObject>(animationFactory, Attributes({{L"src", L"Looping"}}));
    EXPECT_EQ(AnimationMode_Loop, looping->GetAnimation().GetMode());
    EXPECT_FLOAT_EQ(1.0f, looping->GetAnimation().GetFPS());

    auto missing = Make<AnimationSpriteObject>(animationFactory, Attributes({{L"src", L"Red"}, {L"width", L"9"}}));
    EXPECT_EQ(nullptr, missing->GetAnimation().GetImageList());
    EXPECT_EQ(Vector2<float>(1.0f, 1.0f), missing->GetScale());
    CanvasScope canvas(8, 8);
    missing->Draw();
    EXPECT_TRUE(canvas.DrawnArea().isEmpty());
}

TEST_F(SpriteTest, TextSpriteFactoryReadsItsAttributes)
{
    auto plain = Make<TextSpriteObject>(textFactory, AttributeContainer());
    EXPECT_EQ(0.0f, plain->GetWidth());
    EXPECT_EQ(ColorF(0.0f, 0.0f, 0.0f, 0.5f), plain->GetEffectColor());
    EXPECT_EQ(Vector2<int>(2, 2), plain->GetEffectOffset());
    EXPECT_EQ(L"", plain->GetTextFormat());

    auto set = Make<TextSpriteObject>(textFactory, Attributes({{L"width", L"120.5"},
                                                               {L"bgcolor", L"#FF0000FF"},
                                                               {L"dropOffset", L"3,-4"},
                                                               {L"textFormat", L"%d points"}}));
    EXPECT_FLOAT_EQ(120.5f, set->GetWidth());
    EXPECT_EQ(ColorF(1.0f, 0.0f, 0.0f, 1.0f), set->GetEffectColor());
    EXPECT_EQ(Vector2<int>(3, -4), set->GetEffectOffset());
    EXPECT_EQ(L"%d points", set->GetTextFormat());

    auto negative = Make<TextSpriteObject>(textFactory, Attributes({{L"width", L"-30"}}));
    EXPECT_EQ(0.0f, negative->GetWidth());
    auto notANumber = Make<TextSpriteObject>(textFactory, Attributes({{L"width", L"nan"}}));
    EXPECT_EQ(0.0f, notANumber->GetWidth());
}

TEST_F(SpriteTest, TextSpriteDrawsOneLineUnlessGivenAWidth)
{
    const auto font = std::dynamic_pointer_cast<Font>(manager->GetResource(Label("Block")));
    ASSERT_NE(nullptr, font);
    TextSpriteObject sprite(1.0f, Vector2<float>(2.0f, 3.0f), L"ab cd", font.get(), ColorF(1, 0, 0, 1), 0.0f);
    EXPECT_TRUE(sprite.GetName().IsNull());
    EXPECT_FLOAT_EQ(1.0f, sprite.GetLayer());
    {
        CanvasScope canvas(40, 40);
        sprite.Draw();
        EXPECT_EQ(Rect<int>(2, 3, 20, 6), canvas.DrawnArea());
        EXPECT_EQ(255, canvas.Red(2, 3));
    }
    sprite.SetWidth(10.0f);
    {
        CanvasScope canvas(40, 40);
        sprite.Draw();
        EXPECT_EQ(Rect<int>(2, 3, 8, 12), canvas.DrawnArea()); // two lines of two letters
    }
    sprite.SetWidth(0.0f);
    sprite.SetTextMode(TextMode_DropShadow);
    sprite.SetEffectOffset(Vector2<int>(3, 4));
    sprite.SetEffectColor(ColorF(0, 0, 0, 1));
    sprite.SetHAlignment(HAlignment_Center);
    sprite.SetLocation(Vector2<float>(20.0f, 3.0f));
    {
        CanvasScope canvas(40, 40);
        sprite.Draw();
        // Centred on x 20: the text spans 10 to 30, its shadow 13 to 33 and 4 rows lower.
        EXPECT_EQ(Rect<int>(10, 3, 23, 10), canvas.DrawnArea());
        EXPECT_EQ(0, canvas.Red(31, 8)); // shadow colour
        EXPECT_EQ(255, canvas.Red(10, 3));
    }
    sprite.SetVisible(false);
    CanvasScope canvas(40, 40);
    sprite.Draw();
    EXPECT_TRUE(canvas.DrawnArea().isEmpty());

    TextSpriteObject empty(0.0f, Vector2<float>(), nullptr, nullptr, ColorF(1, 1, 1, 1), 0.0f);
    EXPECT_EQ(L"", empty.GetText());
    empty.Draw();
}

TEST_F(SpriteTest, SetImageTaskChangesOnlyImageSprites)
{
    Image image = TwoColourImage(2, 2);
    ImageSpriteObject sprite(Label("s"));
    SetImageTask task(&image);
    const sTaskStatus status = task.Update(&sprite, 0.5f);
    EXPECT_TRUE(status.IsComplete());
    EXPECT_EQ(0.0f, status.time);
    EXPECT_EQ(&image, sprite.GetImage());

    AnimationSpriteObject other(Label("a"));
    EXPECT_TRUE(task.Update(&other, 0.5f).IsComplete());
    EXPECT_TRUE(task.Update(nullptr, 0.5f).IsComplete());
}
