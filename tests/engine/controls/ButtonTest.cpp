#include "controls/Button.h"

#include "controls/ObjectFactory.h"
#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/SoftwareCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;

namespace
{

// Opaque state colours: image i is (i * 20 + 20, 0, 100).
Color32 StateColor(int i)
{
    return Color32(static_cast<uint8_t>(i * 20 + 20), 0, 100, 255);
}

Image* SolidImage(int width, int height, Color32 color)
{
    return new Image(std::vector<Color32>(static_cast<size_t>(width) * height, color), width, height, true, false);
}

// A list of `count` images of the given size, image i in StateColor(i).
std::unique_ptr<ImageList> StateList(int count, int width, int height)
{
    auto list = std::make_unique<ImageList>();
    for (int i = 0; i < count; ++i)
        list->AddOwnedImage(SolidImage(width, height, StateColor(i)));
    return list;
}

// Every glyph is a 4 x 6 white block with an advance of 5.
class BlockFont : public Font
{
public:
    BlockFont() : mGlyph(SolidImage(4, 6, Color32(255, 255, 255, 255))) {}
    void GetGlyph(wchar_t, sGlyph* out) const override
    {
        if (out)
            *out = sGlyph{mGlyph.get(), 0, 0, 4, 6};
    }
    int GetGlyphHeight() const override { return 6; }
    int GetKernedLetterWidth(wchar_t, wchar_t) const override { return 5; }

private:
    std::unique_ptr<Image> mGlyph;
};

// A mode that records the broadcasts it hears.
class RecordingMode : public ApplicationMode
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        messages.emplace_back(message.GetName().c_str(), message.GetSender());
    }
    int CountClicks(ObjectID sender) const
    {
        int count = 0;
        for (const auto& [name, from] : messages)
            count += name == "ButtonClick" && from == sender;
        return count;
    }

    std::vector<std::pair<std::string, ObjectID>> messages;
};

// Draws into a transparent image through a software canvas while alive.
class Target
{
public:
    Target(int width, int height) : image(width, height), mCanvas(Graphics::CreateImageCanvas(&image))
    {
        Graphics::PushContext(Graphics::Context{mCanvas, Graphics::sDrawState::GetDefaults()});
    }
    ~Target()
    {
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(mCanvas);
    }
    Color32 At(int x, int y) const { return image.GetPixel(x, y); }

    Image image;

private:
    ICanvas* mCanvas;
};

class ButtonTest : public ::testing::Test
{
protected:
    ButtonTest() { MainLoop::WithinContext(&mode, guard); }

    ButtonObject* Add(const char* name, Rect<float> bounds, const IImageList* images = nullptr, float layer = 0.0f)
    {
        auto* button = new ButtonObject(Label(name));
        button->SetBounds(bounds);
        button->SetImages(images); // fits the size to the images
        button->SetLayer(layer);
        mode.AddObject(button);
        mode.Update(0.0f);
        return button;
    }

    RecordingMode mode;
    MainLoop::AutoContext guard;
};

// --- image states ------------------------------------------------------------------------------

TEST_F(ButtonTest, StatesFollowHoverCaptureFocusAndEnable)
{
    auto four = StateList(4, 20, 10);
    ButtonObject* button = Add("b", Rect<float>(0, 0, 20, 10), four.get());
    EXPECT_EQ(0, button->GetImageIndex());

    mode.OnMouseMove(5, 5);
    EXPECT_EQ(1, button->GetImageIndex());
    mode.OnMouseDown(MouseButton_Left, 5, 5);
    EXPECT_EQ(2, button->GetImageIndex());
    mode.OnMouseMove(30, 5); // dragged off while pressed: hot is gone, so not drawn pressed
    EXPECT_EQ(0, button->GetImageIndex());
    mode.OnMouseMove(5, 5);
    EXPECT_EQ(2, button->GetImageIndex());
    mode.OnMouseUp(MouseButton_Left, 5, 5);
    EXPECT_EQ(1, button->GetImageIndex());
    mode.OnMouseMove(50, 50);

    // Four images have no focus image: the focused button looks hot.
    EXPECT_FALSE(button->HasFocusImages());
    button->Focus();
    EXPECT_TRUE(button->HasFocus());
    EXPECT_EQ(1, button->GetImageIndex());

    auto five = StateList(5, 20, 10);
    button->SetImages(five.get());
    EXPECT_TRUE(button->HasFocusImages());
    EXPECT_EQ(4, button->GetImageIndex());

    // Disabled wins over everything.
    mode.OnMouseMove(5, 5);
    button->Enable(false);
    EXPECT_EQ(3, button->GetImageIndex());
}

TEST_F(ButtonTest, ListSizesDecideThreeSliceAndFocusImages)
{
    struct Case
    {
        int count;
        bool threeSlice;
        bool focusImages;
    };
    for (const Case& c : {Case{1, false, false}, Case{4, false, false}, Case{5, false, true}, Case{6, true, false},
                          Case{12, true, false}, Case{15, true, true}, Case{16, true, false}})
    {
        auto list = StateList(c.count, 8, 8);
        ButtonObject button(Label("b"));
        button.SetImages(list.get());
        EXPECT_EQ(c.threeSlice, button.IsThreeSlice()) << c.count;
        EXPECT_EQ(c.focusImages, button.HasFocusImages()) << c.count;
    }
    ButtonObject bare(Label("b"));
    EXPECT_FALSE(bare.IsThreeSlice());
    EXPECT_FALSE(bare.HasFocusImages());
}

// --- fitting the bounds --------------------------------------------------------------------------

TEST_F(ButtonTest, BoundsFitImagesOrText)
{
    BlockFont font;
    auto single = StateList(4, 30, 12);
    auto strip = StateList(12, 7, 9);

    ButtonObject withImages(Label("a"));
    withImages.SetBounds(Rect<float>(5, 6, 100, 100));
    withImages.SetImages(single.get());
    EXPECT_EQ(Rect<float>(5, 6, 30, 12), withImages.GetBounds());
    withImages.SetFont(&font);
    withImages.SetText(L"Longer than the image");
    EXPECT_EQ(Rect<float>(5, 6, 30, 12), withImages.GetBounds()); // the images keep their size

    ButtonObject threeSlice(Label("b"));
    threeSlice.SetBounds(Rect<float>(0, 0, 200, 50));
    threeSlice.SetImages(strip.get());
    EXPECT_EQ(Rect<float>(0, 0, 200, 9), threeSlice.GetBounds()); // width kept, height of image 0

    ButtonObject textOnly(Label("c"));
    textOnly.SetBounds(Rect<float>(1, 2, 100, 100));
    textOnly.SetFont(&font);
    textOnly.SetText(L"OK!");
    EXPECT_EQ(Rect<float>(1, 2, 15, 6), textOnly.GetBounds()); // exactly as wide as the text

    ImageList empty;
    ButtonObject emptyList(Label("d"));
    emptyList.SetFont(&font);
    emptyList.SetImages(&empty); // an empty list is no list: the text decides
    emptyList.SetText(L"AB");
    EXPECT_EQ(Rect<float>(0, 0, 10, 6), emptyList.GetBounds());

    ButtonObject nothing(Label("e"));
    nothing.SetBounds(Rect<float>(1, 2, 3, 4));
    nothing.SetText(L"no font");
    EXPECT_EQ(Rect<float>(1, 2, 3, 4), nothing.GetBounds());
}

// --- the hit test --------------------------------------------------------------------------------

TEST_F(ButtonTest, AlphaSensitivityDecidesWhichPixelsBelong)
{
    std::unique_ptr<Image> owned(SolidImage(10, 10, Color32(255, 255, 255, 255)));
    Image* image = owned.get();
    image->SetPixel(0, 0, Color32(0, 0, 0, 0));
    image->SetPixel(1, 0, Color32(0, 0, 0, 25));
    image->SetPixel(2, 0, Color32(0, 0, 0, 26));
    ImageList list;
    list.AddImage(image);

    ButtonObject button(Label("b"));
    button.SetImages(&list);
    button.SetLocation(Vector2<float>(100.7f, 50.2f));  // the corner is truncated to (100, 50)
    EXPECT_FALSE(button.BoundsContains(100.9f, 50.5f)); // transparent corner
    EXPECT_FALSE(button.BoundsContains(101.0f, 50.2f)); // alpha 25 is not above 25
    EXPECT_TRUE(button.BoundsContains(102.0f, 50.2f));  // 26 is
    EXPECT_TRUE(button.BoundsContains(105.0f, 55.0f));
    EXPECT_FALSE(button.BoundsContains(100.5f, 55.0f)); // left of the bounds

    button.SetAlphaSensitivity(0); // the whole rectangle
    EXPECT_TRUE(button.BoundsContains(100.9f, 50.5f));

    ButtonObject noImages(Label("n"));
    noImages.SetBounds(Rect<float>(0, 0, 10, 10));
    EXPECT_TRUE(noImages.BoundsContains(0.0f, 0.0f));
    EXPECT_FALSE(noImages.BoundsContains(10.0f, 5.0f)); // the right edge is outside
    EXPECT_FALSE(noImages.BoundsContains(5.0f, 10.0f)); // so is the bottom
    noImages.SetWidth(0.0f);
    EXPECT_FALSE(noImages.BoundsContains(0.0f, 0.0f)); // zero width holds no point
}

TEST_F(ButtonTest, ThreeSliceHitTestFollowsTheStretchedStrip)
{
    // Caps 4 wide with a transparent outer column; a 2-wide opaque middle.
    ImageList list;
    std::vector<std::unique_ptr<Image>> images;
    for (int i = 0; i < 6; ++i)
    {
        images.emplace_back(SolidImage(i % 3 == 1 ? 2 : 4, 5, Color32(255, 255, 255, 255)));
        list.AddImage(images.back().get());
    }
    for (int y = 0; y < 5; ++y)
    {
        images[0]->SetPixel(0, y, Color32());
        images[2]->SetPixel(3, y, Color32());
    }
    ButtonObject button(Label("b"));
    button.SetBounds(Rect<float>(10, 0, 40, 0));
    button.SetImages(&list);
    ASSERT_EQ(Rect<float>(10, 0, 40, 5), button.GetBounds());
    EXPECT_FALSE(button.BoundsContains(10.0f, 2.0f)); // left cap's clear column
    EXPECT_TRUE(button.BoundsContains(11.0f, 2.0f));
    EXPECT_TRUE(button.BoundsContains(30.0f, 2.0f));  // stretched middle
    EXPECT_TRUE(button.BoundsContains(48.0f, 2.0f));  // right cap, flush with the right end
    EXPECT_FALSE(button.BoundsContains(49.0f, 2.0f)); // its clear column
}

// --- mouse and capture ---------------------------------------------------------------------------

TEST_F(ButtonTest, PressAndReleaseInsideClickWithTheSendersIdentifier)
{
    auto list = StateList(4, 20, 10);
    ButtonObject* ok = Add("OK", Rect<float>(0, 0, 0, 0), list.get());
    ButtonObject* other = Add("Other", Rect<float>(50, 0, 0, 0), list.get());

    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 3, 3));
    EXPECT_TRUE(ok->HasCapture());
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseUp(MouseButton_Left, 4, 4));
    EXPECT_FALSE(ok->HasCapture());
    EXPECT_EQ(1, mode.CountClicks(ok->GetID()));
    EXPECT_EQ(0, mode.CountClicks(other->GetID()));

    // Pressed inside, released outside: nothing, and the capture is gone.
    mode.OnMouseDown(MouseButton_Left, 3, 3);
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseUp(MouseButton_Left, 55, 3)); // swallowed by the capture
    EXPECT_EQ(nullptr, mode.GetCapture());
    EXPECT_EQ(1, mode.CountClicks(ok->GetID()));
    EXPECT_EQ(0, mode.CountClicks(other->GetID())); // the other button was not pressed

    // Pressed outside every button, released inside one: no capture, no click.
    EXPECT_EQ(MessageResult_Unhandled, mode.OnMouseDown(MouseButton_Left, 30, 3));
    EXPECT_EQ(nullptr, mode.GetCapture());
    mode.OnMouseUp(MouseButton_Left, 3, 3);
    EXPECT_EQ(1, mode.CountClicks(ok->GetID()));

    // A click with no database around is simply not heard.
    MainLoop::AutoContext outside;
    MainLoop::WithinContext(nullptr, outside);
    ok->Click();
    EXPECT_FALSE(ok->HasCapture());
}

TEST_F(ButtonTest, TransparentPixelsLetThePressThroughToTheObjectBelow)
{
    std::unique_ptr<Image> ring(SolidImage(10, 10, Color32(255, 255, 255, 255)));
    ring->SetPixel(5, 5, Color32());
    ImageList ringList;
    ringList.AddImage(ring.get());
    auto plain = StateList(1, 10, 10);

    ButtonObject* below = Add("below", Rect<float>(0, 0, 0, 0), plain.get(), 1.0f);
    ButtonObject* above = Add("above", Rect<float>(0, 0, 0, 0), &ringList, 2.0f);

    mode.OnMouseDown(MouseButton_Left, 5, 5);
    EXPECT_TRUE(below->HasCapture());
    mode.OnMouseUp(MouseButton_Left, 5, 5);
    mode.OnMouseDown(MouseButton_Left, 1, 1);
    EXPECT_TRUE(above->HasCapture());
    mode.OnMouseUp(MouseButton_Left, 1, 1);
    EXPECT_EQ(1, mode.CountClicks(below->GetID()));
    EXPECT_EQ(1, mode.CountClicks(above->GetID()));
}

TEST_F(ButtonTest, DisablingOrHidingAPressedButtonReleasesTheCapture)
{
    auto list = StateList(4, 20, 10);
    ButtonObject* pressed = Add("pressed", Rect<float>(0, 0, 0, 0), list.get());
    ButtonObject* next = Add("next", Rect<float>(50, 0, 0, 0), list.get());

    mode.OnMouseDown(MouseButton_Left, 3, 3);
    ASSERT_TRUE(pressed->HasCapture());
    static_cast<IEnable*>(pressed)->Enable(false);
    EXPECT_EQ(nullptr, mode.GetCapture());
    mode.OnMouseUp(MouseButton_Left, 3, 3); // no longer routed to it
    pressed->Enable(true);
    EXPECT_FALSE(pressed->HasCapture());
    EXPECT_EQ(0, mode.CountClicks(pressed->GetID()));

    // Nothing stale swallows the next click elsewhere.
    mode.OnMouseDown(MouseButton_Left, 55, 3);
    EXPECT_TRUE(next->HasCapture());
    mode.OnMouseUp(MouseButton_Left, 55, 3);
    EXPECT_EQ(1, mode.CountClicks(next->GetID()));

    mode.OnMouseDown(MouseButton_Left, 3, 3);
    ASSERT_TRUE(pressed->HasCapture());
    static_cast<IVisible*>(pressed)->SetVisible(false);
    EXPECT_EQ(nullptr, mode.GetCapture());
    pressed->SetVisible(true);
    mode.OnMouseDown(MouseButton_Left, 55, 3);
    mode.OnMouseUp(MouseButton_Left, 55, 3);
    EXPECT_EQ(2, mode.CountClicks(next->GetID()));
    EXPECT_EQ(0, mode.CountClicks(pressed->GetID()));

    // Disabling a control that does not hold the capture leaves another's capture alone...
    mode.OnMouseDown(MouseButton_Left, 55, 3);
    pressed->Enable(false);
    EXPECT_TRUE(next->HasCapture());
    // ...while ReleaseCapture clears it whoever holds it.
    pressed->ReleaseCapture();
    EXPECT_EQ(nullptr, mode.GetCapture());
}

// --- keys ----------------------------------------------------------------------------------------

TEST_F(ButtonTest, FocusedButtonClicksOnEnterSpaceAndGamePadA)
{
    ButtonObject* button = Add("b", Rect<float>(0, 0, 10, 10));
    EXPECT_EQ(MessageResult_Unhandled, mode.OnKeyDown(Key_Enter)); // unfocused
    button->Focus();
    for (int key : {Key_Enter, Key_Space, Key_GamePadA})
        EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown(key)) << key;
    EXPECT_EQ(MessageResult_Unhandled, mode.OnKeyDown('A'));
    EXPECT_EQ(MessageResult_Unhandled, mode.OnKeyUp(Key_Enter));
    EXPECT_EQ(3, mode.CountClicks(button->GetID()));
}

TEST_F(ButtonTest, OwnKeyCodeClicksWithoutTheFocus)
{
    ObjectFactory factory;
    factory.AddObjectFactory(L"button", new ButtonObjectFactory());
    const AttributeContainer attributes(AttributeContainer::AttributeMap{{L"keyCode", L"Space"}});
    Object* made = factory.CreateObject(L"button", Label("spacer"), attributes);
    auto* spacer = dynamic_cast<ButtonObject*>(made);
    ASSERT_NE(nullptr, spacer);
    mode.AddObject(spacer);
    ButtonObject* focused = Add("focused", Rect<float>(50, 0, 10, 10));
    focused->Focus();

    EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown(Key_Enter)); // the focused one
    EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown(Key_Space)); // the focused one takes it first
    EXPECT_EQ(2, mode.CountClicks(focused->GetID()));
    EXPECT_EQ(0, mode.CountClicks(spacer->GetID()));
    mode.SetFocus(nullptr);
    EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown(Key_Space)); // routed on to the button's own key
    EXPECT_EQ(1, mode.CountClicks(spacer->GetID()));
    EXPECT_EQ(MessageResult_Unhandled, mode.OnKeyDown(Key_Enter));
}

// --- the factory ---------------------------------------------------------------------------------

TEST_F(ButtonTest, FactoryReadsItsAttributes)
{
    ButtonObjectFactory factory;
    AttributeContainer defaults;
    std::unique_ptr<Object> plain(factory.CreateObject(Label("plain"), defaults));
    auto* button = dynamic_cast<ButtonObject*>(plain.get());
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(Label("plain"), button->GetName());
    EXPECT_EQ(25, button->GetAlphaSensitivity());
    EXPECT_EQ(0, button->GetKeyCode());
    EXPECT_FALSE(button->IsScalable());
    EXPECT_EQ(nullptr, button->GetImages());
    EXPECT_EQ(nullptr, button->mSounds);

    const AttributeContainer set(
        AttributeContainer::AttributeMap{{L"alphaSensitivity", L"0"}, {L"keyCode", L"escape"}, {L"scalable", L"true"}});
    std::unique_ptr<Object> configured(factory.CreateObject(Label("set"), set));
    button = dynamic_cast<ButtonObject*>(configured.get());
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(0, button->GetAlphaSensitivity());
    EXPECT_EQ(Key_Escape, button->GetKeyCode());
    EXPECT_TRUE(button->IsScalable());
}

// --- drawing -------------------------------------------------------------------------------------

TEST_F(ButtonTest, DrawsTheImageOfItsState)
{
    auto list = StateList(4, 6, 4);
    ButtonObject* button = Add("b", Rect<float>(2, 3, 0, 0), list.get());
    {
        Target target(16, 16);
        button->Draw();
        EXPECT_EQ(StateColor(0), target.At(2, 3));
        EXPECT_EQ(StateColor(0), target.At(7, 6));
        EXPECT_EQ(0, target.At(8, 3).a); // image size, not more
        EXPECT_EQ(0, target.At(1, 3).a);
    }
    {
        Target target(16, 16);
        button->Enable(false); // disabled buttons still draw, with image 3
        button->Draw();
        EXPECT_EQ(StateColor(3), target.At(4, 4));
    }
    {
        Target target(16, 16);
        button->SetVisible(false);
        button->Draw();
        EXPECT_EQ(0, target.At(4, 4).a);
    }
}

TEST_F(ButtonTest, ScalableButtonStretchesToBoundsTimesScale)
{
    auto list = StateList(1, 4, 4);
    ButtonObject* button = Add("b", Rect<float>(0, 0, 0, 0), list.get());
    button->SetScalable(true);
    button->SetBounds(Rect<float>(1, 1, 5, 3));
    button->SetScale(2.0f, 1.0f);
    Target target(16, 16);
    button->Draw();
    EXPECT_EQ(StateColor(0), target.At(1, 1));
    EXPECT_EQ(StateColor(0), target.At(10, 3)); // 5 x 2 wide
    EXPECT_EQ(0, target.At(11, 1).a);
    EXPECT_EQ(0, target.At(1, 4).a); // 3 x 1 high
}

TEST_F(ButtonTest, ThreeSliceButtonDrawsTheStripOfItsState)
{
    // Pieces 3 wide and 2 high; piece 3s + k is coloured by state s and slice k.
    ImageList list;
    for (int i = 0; i < 12; ++i)
        list.AddOwnedImage(SolidImage(3, 2, Color32(static_cast<uint8_t>(i * 10), 50, 50, 255)));
    ButtonObject* button = Add("b", Rect<float>(0, 0, 20, 0), &list);
    mode.OnMouseDown(MouseButton_Left, 1, 1); // pressed: pieces 6, 7, 8
    ASSERT_EQ(2, button->GetImageIndex());
    Target target(24, 4);
    button->Draw();
    EXPECT_EQ(60, target.At(0, 0).r);
    EXPECT_EQ(70, target.At(10, 1).r);
    EXPECT_EQ(80, target.At(19, 0).r);
    EXPECT_EQ(0, target.At(20, 0).a);
    EXPECT_EQ(0, target.At(5, 2).a);
    mode.OnMouseUp(MouseButton_Left, 1, 1);
}

TEST_F(ButtonTest, CaptionIsCentredInTheButtonsColour)
{
    BlockFont font;
    auto list = StateList(1, 40, 20);
    ButtonObject* button = Add("b", Rect<float>(0, 0, 0, 0), list.get());
    button->SetFont(&font);
    button->SetText(L"AB"); // 10 wide, 6 high: centred on (20, 10), so from (15, 7)
    button->SetColor(ColorF(1.0f, 0.0f, 0.0f, 1.0f));
    Target target(40, 20);
    button->Draw();
    const Color32 red(255, 0, 0, 255);
    EXPECT_EQ(red, target.At(15, 7));
    EXPECT_EQ(red, target.At(18, 12));
    EXPECT_EQ(red, target.At(20, 7));
    EXPECT_EQ(StateColor(0), target.At(14, 7));
    EXPECT_EQ(StateColor(0), target.At(19, 7)); // between the glyphs
    EXPECT_EQ(StateColor(0), target.At(15, 13));
    EXPECT_EQ(StateColor(0), target.At(24, 7));
}

} // namespace
