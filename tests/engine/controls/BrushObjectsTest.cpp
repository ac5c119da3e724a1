#include "controls/BrushObjects.h"

#include "controls/Button.h"
#include "core/KeyCodes.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/SoftwareCanvas.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using namespace Strata;

namespace
{

// A list of `count` opaque 2 x 2 pieces; piece i has red i * 20 + 20.
std::unique_ptr<ImageList> Pieces(int count, uint8_t green = 255, uint8_t blue = 255)
{
    auto list = std::make_unique<ImageList>();
    for (int i = 0; i < count; ++i)
    {
        const Color32 color(static_cast<uint8_t>(i * 20 + 20), green, blue, 255);
        list->AddOwnedImage(new Image(std::vector<Color32>(4, color), 2, 2, true, false));
    }
    return list;
}

// Draws into an image (transparent, or opaque black) through a software canvas while alive.
class Target
{
public:
    Target(int width, int height, Color32 fill = Color32())
        : image(std::vector<Color32>(static_cast<size_t>(width) * height, fill), width, height, true, false),
          mCanvas(Graphics::CreateImageCanvas(&image))
    {
        Graphics::PushContext(Graphics::Context{mCanvas, Graphics::sDrawState::GetDefaults()});
    }
    ~Target()
    {
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(mCanvas);
    }
    Color32 At(int x, int y) const { return image.GetPixel(x, y); }
    bool Untouched() const
    {
        for (int y = 0; y < image.GetHeight(); ++y)
        {
            for (int x = 0; x < image.GetWidth(); ++x)
                if (image.GetPixel(x, y).a != 0)
                    return false;
        }
        return true;
    }

    Image image;

private:
    ICanvas* mCanvas;
};

bool Near(int expected, int actual)
{
    return std::abs(expected - actual) <= 2;
}

// --- nine-slice brush -----------------------------------------------------------------------------

TEST(NineBrushObject, FillsItsRectangleOnlyWithNineImages)
{
    auto nine = Pieces(9);
    auto eight = Pieces(8);
    NineBrushObject brush(Label("panel"));
    brush.SetBounds(Rect<float>(1, 1, 8, 6));
    brush.SetImages(eight.get());
    {
        Target target(12, 10);
        brush.Draw();
        EXPECT_TRUE(target.Untouched());
    }
    brush.SetImages(nine.get());
    EXPECT_EQ(Rect<float>(1, 1, 8, 6), brush.GetBounds()); // a new list does not resize
    Target target(12, 10);
    brush.Draw();
    EXPECT_EQ(20, target.At(1, 1).r);  // top-left corner
    EXPECT_EQ(60, target.At(8, 1).r);  // top-right corner
    EXPECT_EQ(100, target.At(4, 3).r); // centre
    EXPECT_EQ(140, target.At(1, 6).r); // bottom-left corner
    EXPECT_EQ(180, target.At(8, 6).r); // bottom-right corner
    EXPECT_EQ(0, target.At(9, 3).a);
    EXPECT_EQ(0, target.At(4, 7).a);
    EXPECT_EQ(0, target.At(0, 0).a);
}

TEST(NineBrushObject, AlphaZeroHiddenOrListlessDrawsNothingAndHalfAlphaBlends)
{
    auto nine = Pieces(9, 255, 255);
    NineBrushObject brush(Label("panel"));
    brush.SetBounds(Rect<float>(0, 0, 6, 6));
    EXPECT_FLOAT_EQ(1.0f, brush.GetAlpha());
    {
        Target target(8, 8);
        brush.Draw(); // no list
        EXPECT_TRUE(target.Untouched());
    }
    brush.SetImages(nine.get());
    brush.SetAlpha(0.0f);
    {
        Target target(8, 8);
        brush.Draw();
        EXPECT_TRUE(target.Untouched());
    }
    brush.SetAlpha(1.0f);
    brush.SetVisible(false);
    {
        Target target(8, 8);
        brush.Draw();
        EXPECT_TRUE(target.Untouched());
    }
    brush.SetVisible(true);
    brush.SetAlpha(0.5f);
    Target target(8, 8, Color32(0, 0, 0, 255));
    brush.Draw();
    EXPECT_TRUE(Near(127, target.At(3, 3).g)) << int(target.At(3, 3).g); // half white over black
}

// --- three-slice brush ----------------------------------------------------------------------------

TEST(ThreeBrushObject, DrawsCapsAndMiddleTintedByItsColour)
{
    auto three = Pieces(3, 200, 255);
    ThreeBrushObject brush(Label("bar"));
    brush.SetBounds(Rect<float>(2, 1, 10, 0)); // the row is as high as the pieces, whatever the bounds say
    brush.SetImages(three.get());
    EXPECT_EQ(Rect<float>(2, 1, 10, 0), brush.GetBounds());
    {
        Target target(16, 6);
        brush.Draw();
        EXPECT_EQ(Color32(20, 200, 255, 255), target.At(2, 1));
        EXPECT_EQ(Color32(40, 200, 255, 255), target.At(6, 2));
        EXPECT_EQ(Color32(60, 200, 255, 255), target.At(11, 2));
        EXPECT_EQ(0, target.At(12, 1).a);
        EXPECT_EQ(0, target.At(2, 3).a);
    }
    brush.SetColor(ColorF(1.0f, 0.0f, 1.0f, 1.0f)); // the green of the pieces is tinted away
    {
        Target target(16, 6);
        brush.Draw();
        EXPECT_EQ(Color32(40, 0, 255, 255), target.At(6, 2));
    }
}

TEST(ThreeBrushObject, AlphaZeroIsSkippedAndHalfAlphaIsHalfTransparent)
{
    auto three = Pieces(3, 255, 255);
    ThreeBrushObject brush(Label("bar"));
    brush.SetBounds(Rect<float>(0, 0, 8, 0));
    brush.SetImages(three.get());
    brush.SetAlpha(0.0f);
    {
        Target target(10, 4);
        brush.Draw();
        EXPECT_TRUE(target.Untouched());
    }
    brush.SetAlpha(0.5f);
    EXPECT_FLOAT_EQ(0.5f, brush.GetColor().a);
    Target target(10, 4, Color32(0, 0, 0, 255));
    brush.Draw();
    EXPECT_TRUE(Near(127, target.At(4, 1).b)) << int(target.At(4, 1).b);
}

// --- background -----------------------------------------------------------------------------------

class BackgroundTest : public ::testing::Test
{
protected:
    BackgroundTest() { MainLoop::WithinContext(&mode, guard); }

    template <class T>
    T* Add(T* object, float layer)
    {
        object->SetLayer(layer);
        mode.AddObject(object);
        mode.Update(0.0f);
        return object;
    }

    ButtonObject* AddButton(const char* name, Rect<float> bounds, float layer)
    {
        auto* button = new ButtonObject(Label(name));
        button->SetBounds(bounds);
        return Add(button, layer);
    }

    ApplicationMode mode;
    MainLoop::AutoContext guard;
};

TEST_F(BackgroundTest, SwallowsMouseEventsForTheObjectsBelowAnywhere)
{
    ButtonObject* below = AddButton("below", Rect<float>(100, 100, 20, 20), 1.0f);
    auto* background = Add(new BackgroundObject(Label("bg")), 2.0f);
    background->SetBounds(Rect<float>(0, 0, 50, 50));
    ButtonObject* above = AddButton("above", Rect<float>(10, 10, 20, 20), 3.0f);

    // Outside its own bounds too: the button below never sees the press.
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 105, 105));
    EXPECT_FALSE(below->HasCapture());
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseUp(MouseButton_Left, 105, 105));
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseMove(105, 105));
    EXPECT_FALSE(below->IsHot());
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseWheel(1.0f, 105, 105));
    EXPECT_EQ(nullptr, mode.GetCapture()); // it never takes the capture itself

    // Objects drawn above it still get theirs first.
    mode.OnMouseDown(MouseButton_Left, 15, 15);
    EXPECT_TRUE(above->HasCapture());
    mode.OnMouseUp(MouseButton_Left, 15, 15);

    // Its hover test is its bounds.
    EXPECT_TRUE(background->BoundsContains(49.0f, 0.0f));
    EXPECT_FALSE(background->BoundsContains(50.0f, 0.0f));

    // Hidden, it stops swallowing.
    background->SetVisible(false);
    mode.OnMouseDown(MouseButton_Left, 105, 105);
    EXPECT_TRUE(below->HasCapture());
    mode.OnMouseUp(MouseButton_Left, 105, 105);
}

TEST_F(BackgroundTest, LetsKeysThroughAndNeverTakesTheFocus)
{
    ButtonObject* below = AddButton("below", Rect<float>(100, 100, 20, 20), 1.0f);
    below->SetKeyCode(Key_Escape);
    auto* background = Add(new BackgroundObject(Label("bg")), 2.0f);
    background->SetBounds(Rect<float>(0, 0, 800, 600));

    EXPECT_FALSE(background->CanFocus());
    EXPECT_EQ(MessageResult_Unhandled, background->OnKeyDown(Key_Enter));
    EXPECT_EQ(MessageResult_Unhandled, background->OnKeyUp(Key_Enter));
    EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown(Key_Escape)); // reached the button below
    EXPECT_EQ(MessageResult_Unhandled, mode.OnKeyUp(Key_Escape));
}

TEST_F(BackgroundTest, DrawsANineSlicePanelUntinted)
{
    auto nine = Pieces(9, 100, 100);
    auto* background = Add(new BackgroundObject(Label("bg")), 0.0f);
    background->SetBounds(Rect<float>(0, 0, 6, 6));
    background->SetColor(ColorF(0.0f, 0.0f, 0.0f, 0.0f)); // not used for drawing
    {
        Target target(8, 8);
        background->Draw(); // no list
        EXPECT_TRUE(target.Untouched());
    }
    background->SetImages(nine.get());
    {
        Target target(8, 8);
        background->Draw();
        EXPECT_EQ(Color32(20, 100, 100, 255), target.At(0, 0));
        EXPECT_EQ(Color32(100, 100, 100, 255), target.At(3, 3));
        EXPECT_EQ(Color32(180, 100, 100, 255), target.At(5, 5));
        EXPECT_EQ(0, target.At(6, 6).a);
    }
    background->SetVisible(false);
    Target target(8, 8);
    background->Draw();
    EXPECT_TRUE(target.Untouched());
}

// --- through a layout ------------------------------------------------------------------------------

class ControlLayoutTest : public Testing::LayoutTest
{
};

TEST_F(ControlLayoutTest, FactoriesFindTheirImageListsByName)
{
    LoadManifest(L"lists", "<testlist name=\"States\" count=\"9\" width=\"30\" height=\"12\"/>\n");
    const auto layout = MakeLayout("screenWidth=\"400\"",
                                   "<button name=\"OK\" images=\"States\" x=\"10\" y=\"20\" keyCode=\"Escape\"/>\n"
                                   "<button name=\"Lost\" images=\"Nope\"/>\n"
                                   "<ninebrush name=\"Nine\" images=\"States\" width=\"50\"/>\n"
                                   "<threebrush name=\"Three\" images=\"States\"/>\n"
                                   "<background name=\"Back\" images=\"States\" color=\"#FF0000FF\"/>\n");
    ASSERT_NE(nullptr, layout);
    layout->Load();

    auto* ok = Named<ButtonObject>("OK");
    ASSERT_NE(nullptr, ok);
    ASSERT_NE(nullptr, ok->GetImages());
    EXPECT_EQ(9, ok->GetImages()->GetNumImages());
    EXPECT_TRUE(ok->IsThreeSlice());
    EXPECT_EQ(Key_Escape, ok->GetKeyCode());
    // Three-slice: the factory set the height from the images; the loader scaled x and width.
    EXPECT_EQ(Rect<float>(20, 20, 0, 12), ok->GetBounds());
    EXPECT_EQ(nullptr, ok->mSounds);

    auto* lost = Named<ButtonObject>("Lost");
    ASSERT_NE(nullptr, lost);
    EXPECT_EQ(nullptr, lost->GetImages());

    auto* nine = Named<NineBrushObject>("Nine");
    ASSERT_NE(nullptr, nine);
    EXPECT_NE(nullptr, nine->GetImages());
    EXPECT_EQ(Rect<float>(0, 0, 100, 0), nine->GetBounds());               // only the layout sizes a brush
    EXPECT_EQ(nullptr, dynamic_cast<IColor*>(static_cast<Object*>(nine))); // alpha only: "color" cannot reach it
    auto* three = Named<ThreeBrushObject>("Three");
    ASSERT_NE(nullptr, three);
    EXPECT_NE(nullptr, three->GetImages());
    auto* back = Named<BackgroundObject>("Back");
    ASSERT_NE(nullptr, back);
    EXPECT_NE(nullptr, back->GetImages());
}

} // namespace
