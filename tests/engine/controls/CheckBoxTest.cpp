#include "controls/CheckBox.h"

#include "core/KeyCodes.h"
#include "engine/controls/LayoutTestSupport.h"
#include "engine/controls/ToggleTestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// A font whose glyph height is odd, so halving it must round down.
class TallBlockFont : public BlockFont
{
public:
    int GetGlyphHeight() const override { return 7; }
};

// Hears every broadcast of its database.
class Recorder : public Object
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        messages.emplace_back(message.GetName().c_str(), message.GetSender());
    }
    int Count(const char* name, ObjectID sender) const
    {
        int count = 0;
        for (const auto& [heard, from] : messages)
            count += heard == name && from == sender;
        return count;
    }
    std::vector<std::pair<std::string, ObjectID>> messages;
};

class CheckBoxTest : public LayoutTest
{
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        recorder = new Recorder();
        mode->AddObject(recorder);
        mode->Update(0.0f);
    }

    CheckBoxObject* Add(const char* name, Vector2<float> location, const IImageList* images)
    {
        auto* box = new CheckBoxObject(Label(name));
        box->SetLocation(location);
        box->SetImages(images);
        mode->AddObject(box);
        mode->Update(0.0f);
        return box;
    }

    int Clicks(const CheckBoxObject* box) const { return recorder->Count("CheckBoxClick", box->GetID()); }

    Recorder* recorder = nullptr;
};

// --- image states ------------------------------------------------------------------------------

TEST_F(CheckBoxTest, StatesFollowHoverCaptureFocusEnableAndTheCheckedHalf)
{
    auto eight = StateList(8, 20, 10);
    CheckBoxObject* box = Add("box", Vector2<float>(0, 0), eight.get());
    EXPECT_EQ(0, box->GetImageIndex());
    mode->OnMouseMove(5, 5);
    EXPECT_EQ(1, box->GetImageIndex());
    mode->OnMouseDown(MouseButton_Left, 5, 5);
    EXPECT_EQ(2, box->GetImageIndex());
    mode->OnMouseUp(MouseButton_Left, 5, 5);
    ASSERT_TRUE(box->IsChecked());
    EXPECT_EQ(5, box->GetImageIndex()); // hot, checked half
    mode->OnMouseMove(100, 100);
    EXPECT_EQ(4, box->GetImageIndex());

    // Eight images have no focus images: focused looks hot.
    box->Focus();
    EXPECT_FALSE(box->HasFocusImages());
    EXPECT_EQ(5, box->GetImageIndex());
    auto ten = StateList(10, 20, 10);
    box->SetImages(ten.get());
    EXPECT_TRUE(box->HasFocusImages());
    EXPECT_EQ(9, box->GetImageIndex()); // focused, checked half of five
    box->SetChecked(false);
    EXPECT_EQ(4, box->GetImageIndex());

    // Disabled wins over hover and focus.
    mode->OnMouseMove(5, 5);
    box->Enable(false);
    EXPECT_EQ(3, box->GetImageIndex());
    box->SetChecked(true);
    EXPECT_EQ(8, box->GetImageIndex());
}

TEST_F(CheckBoxTest, ListSizesDecideThreeSliceFocusImagesAndTheCheckedOffset)
{
    struct Case
    {
        int count;
        bool threeSlice;
        bool focusImages;
        int checkedNormal;
    };
    for (const Case& c : {Case{8, false, false, 4}, Case{10, false, true, 5}, Case{11, true, false, 1},
                          Case{24, true, false, 4}, Case{30, true, true, 5}})
    {
        auto list = StateList(c.count, 8, 8);
        CheckBoxObject box(Label("b"));
        box.SetImages(list.get());
        EXPECT_EQ(c.threeSlice, box.IsBackgroundThreeBrush()) << c.count;
        EXPECT_EQ(c.focusImages, box.HasFocusImages()) << c.count;
        box.SetChecked(true);
        EXPECT_EQ(c.checkedNormal, box.GetImageIndex()) << c.count;
    }
    CheckBoxObject bare(Label("b"));
    bare.SetChecked(true);
    EXPECT_EQ(0, bare.GetImageIndex());
    EXPECT_FALSE(bare.HasFocusImages());
}

TEST_F(CheckBoxTest, ImagesFitTheHeightAndSingleImagesTheWidth)
{
    auto single = StateList(8, 30, 12);
    auto strip = StateList(24, 7, 9);
    CheckBoxObject box(Label("a"));
    box.SetBounds(Rect<float>(5, 6, 100, 100));
    box.SetImages(single.get());
    EXPECT_EQ(Rect<float>(5, 6, 30, 12), box.GetBounds());
    box.SetBounds(Rect<float>(5, 6, 100, 100));
    box.SetImages(strip.get());
    EXPECT_EQ(Rect<float>(5, 6, 100, 9), box.GetBounds());
    box.SetImages(nullptr); // no list: the bounds stay
    EXPECT_EQ(Rect<float>(5, 6, 100, 9), box.GetBounds());

    TallBlockFont font;
    CheckBoxObject made(Label("m"), 2.5f, Vector2<float>(10, 20), single.get(), 99.0f, L"On", &font,
                        ColorF(0, 1, 0, 1));
    EXPECT_FLOAT_EQ(2.5f, made.GetLayer());
    EXPECT_EQ(Rect<float>(10, 20, 30, 12), made.GetBounds());
    EXPECT_EQ(L"On", made.GetText());
    EXPECT_FLOAT_EQ(45.0f, made.GetTextRect().x); // placed with the image's width, not 99
    EXPECT_FALSE(made.IsChecked());
}

// --- mouse, keys and messages ---------------------------------------------------------------------

TEST_F(CheckBoxTest, CompletedClicksToggleAndBroadcastWithTheSendersIdentifier)
{
    auto list = StateList(8, 20, 10);
    CheckBoxObject* box = Add("box", Vector2<float>(0, 0), list.get());
    CheckBoxObject* other = Add("other", Vector2<float>(50, 0), list.get());

    EXPECT_EQ(MessageResult_Handled, mode->OnMouseDown(MouseButton_Left, 3, 3));
    EXPECT_TRUE(box->HasCapture());
    EXPECT_EQ(MessageResult_Handled, mode->OnMouseUp(MouseButton_Left, 4, 4));
    EXPECT_EQ(nullptr, mode->GetCapture());
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(1, Clicks(box));
    EXPECT_EQ(0, Clicks(other));

    // Pressed inside, released outside: no toggle, no message, no capture left.
    mode->OnMouseDown(MouseButton_Left, 3, 3);
    mode->OnMouseUp(MouseButton_Left, 55, 3);
    EXPECT_EQ(nullptr, mode->GetCapture());
    EXPECT_TRUE(box->IsChecked());
    EXPECT_FALSE(other->IsChecked());
    EXPECT_EQ(1, Clicks(box));

    // Dragged out and back in before the release: pressed again, and the release toggles.
    mode->OnMouseDown(MouseButton_Right, 3, 3);
    mode->OnMouseMove(30, 3);
    EXPECT_EQ(4, box->GetImageIndex());
    mode->OnMouseMove(3, 3);
    EXPECT_EQ(6, box->GetImageIndex());
    mode->OnMouseUp(MouseButton_Right, 3, 3);
    EXPECT_FALSE(box->IsChecked());
    EXPECT_EQ(2, Clicks(box));
    EXPECT_EQ(nullptr, mode->GetCapture());

    // Disabling a pressed box ends its capture.
    mode->OnMouseDown(MouseButton_Left, 3, 3);
    box->Enable(false);
    EXPECT_EQ(nullptr, mode->GetCapture());
}

TEST_F(CheckBoxTest, EnterSpaceAndGamePadAToggleOnlyWhileFocused)
{
    CheckBoxObject* box = Add("box", Vector2<float>(0, 0), nullptr);
    EXPECT_EQ(MessageResult_Unhandled, mode->OnKeyDown(Key_Space));
    EXPECT_FALSE(box->IsChecked());
    box->Focus();
    for (int key : {Key_Enter, Key_Space, Key_GamePadA})
        EXPECT_EQ(MessageResult_Handled, mode->OnKeyDown(key)) << key;
    EXPECT_TRUE(box->IsChecked()); // three toggles
    EXPECT_EQ(MessageResult_Unhandled, mode->OnKeyDown('A'));
    EXPECT_EQ(3, Clicks(box));

    // Quiet setting sends nothing; a click without a database is not heard and does not fail.
    box->SetChecked(false);
    EXPECT_EQ(3, Clicks(box));
    CheckBoxObject loose(Label("loose"));
    MainLoop::AutoContext outside;
    MainLoop::WithinContext(nullptr, outside);
    loose.Click();
    EXPECT_TRUE(loose.IsChecked());
}

// --- hit test and label ---------------------------------------------------------------------------

TEST_F(CheckBoxTest, TheLabelIsPlacedWhenTheTextIsSetAndIsClickableOnlyWithAFont)
{
    auto list = StateList(8, 16, 11);
    CheckBoxObject* box = Add("box", Vector2<float>(10, 20), list.get());
    box->SetText(L"Sound"); // no font yet: not placed
    EXPECT_EQ(Rect<float>(), box->GetTextRect());
    EXPECT_EQ(MessageResult_Unhandled, mode->OnMouseDown(MouseButton_Left, 35, 24));

    TallBlockFont font;
    box->SetFont(&font);
    EXPECT_EQ(Rect<float>(), box->GetTextRect()); // the font alone does not place it
    box->SetText(L"Sound");
    // x = 10 + 16 + 5; y = floor(11 / 2 + 20 - 7 / 2 + 0.5) with 7 / 2 a whole 3.
    EXPECT_EQ(Rect<float>(31, 23, static_cast<float>(font.GetStringWidth(L"Sound")), 7), box->GetTextRect());

    const Rect<float> label = box->GetTextRect();
    EXPECT_TRUE(box->BoundsContains(label.x, label.y));
    EXPECT_FALSE(box->BoundsContains(label.x + label.width, label.y));
    EXPECT_FALSE(box->BoundsContains(label.x, label.y + label.height));
    EXPECT_FALSE(box->BoundsContains(28.0f, 23.0f)); // the gap

    // A click on the label toggles like one on the image.
    mode->OnMouseDown(MouseButton_Left, 33, 25);
    mode->OnMouseUp(MouseButton_Left, 34, 26);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(1, Clicks(box));

    // The label stays where it was placed until the text is set again.
    box->SetLocation(Vector2<float>(100, 100));
    EXPECT_EQ(label, box->GetTextRect());
    box->SetText(L"Sound");
    EXPECT_FLOAT_EQ(121.0f, box->GetTextRect().x);

    box->SetFont(nullptr); // without a font the old place no longer hits
    EXPECT_FALSE(box->BoundsContains(122.0f, 104.0f));
}

TEST_F(CheckBoxTest, AlphaSensitivityTestsTheNormalUncheckedImageWhateverTheState)
{
    auto list = std::make_unique<ImageList>();
    auto* normal = StateImage(0, 10, 10);
    list->AddOwnedImage(normal);
    for (int i = 1; i < 8; ++i)
        list->AddOwnedImage(StateImage(i, 10, 10));
    normal->SetPixel(0, 0, Color32(0, 0, 0, 0));
    normal->SetPixel(1, 0, Color32(0, 0, 0, 25));
    normal->SetPixel(2, 0, Color32(0, 0, 0, 26));
    CheckBoxObject box(Label("b"));
    box.SetImages(list.get());
    box.SetLocation(Vector2<float>(100.7f, 50.2f)); // the corner truncates to (100, 50)
    for (bool checked : {false, true})
    {
        box.SetChecked(checked); // the checked image 4 is opaque there, yet image 0 decides
        EXPECT_FALSE(box.BoundsContains(100.9f, 50.5f));
        EXPECT_FALSE(box.BoundsContains(101.0f, 50.2f)); // 25 is not above 25
        EXPECT_TRUE(box.BoundsContains(102.0f, 50.2f));
    }
    box.SetAlphaSensitivity(0);
    EXPECT_TRUE(box.BoundsContains(100.9f, 50.5f));
    box.SetAlphaSensitivity(25);
    EXPECT_FALSE(box.AlphaContains(INT_MIN, INT_MAX)); // far away, no overflow

    CheckBoxObject bare(Label("n")); // no images: the whole bounds
    bare.SetBounds(Rect<float>(0, 0, 10, 10));
    EXPECT_TRUE(bare.BoundsContains(0.0f, 9.5f));
    EXPECT_FALSE(bare.BoundsContains(10.0f, 0.0f));
}

// --- drawing --------------------------------------------------------------------------------------

TEST_F(CheckBoxTest, DrawsTheImageOfItsStateAndTheLabelInItsColour)
{
    auto list = StateList(8, 6, 6);
    BlockFont font;
    CheckBoxObject* box = Add("box", Vector2<float>(2, 2), list.get());
    box->SetFont(&font);
    box->SetColor(ColorF(0, 0, 1, 1));
    box->SetText(L"A"); // at (13, 2), 4 x 6
    box->SetChecked(true);
    {
        CanvasScope canvas(24, 12);
        box->Draw();
        EXPECT_EQ(50, canvas.Red(2, 2)); // image 4
        EXPECT_EQ(0, canvas.Alpha(8, 2));
        EXPECT_EQ(Color32(0, 0, 255, 255), canvas.target.GetPixel(13, 2));
        EXPECT_EQ(Color32(0, 0, 255, 255), canvas.target.GetPixel(16, 7));
        EXPECT_EQ(0, canvas.Alpha(17, 2));
    }
    {
        CanvasScope canvas(24, 12);
        box->SetVisible(false);
        box->Draw();
        EXPECT_EQ(Rect<int>(), canvas.DrawnArea());
    }

    ImageList pieces; // three-slice: piece 3s + k has red 10 * (3s + k) + 10
    for (int i = 0; i < 24; ++i)
        pieces.AddOwnedImage(StateImage(i, 3, 2));
    CheckBoxObject strip(Label("strip"));
    strip.SetBounds(Rect<float>(0, 0, 20, 0));
    strip.SetImages(&pieces);
    strip.SetChecked(true); // normal checked: strip 4, pieces 12 to 14
    CanvasScope canvas(24, 4);
    strip.Draw();
    EXPECT_EQ(130, canvas.Red(0, 0));
    EXPECT_EQ(140, canvas.Red(10, 1));
    EXPECT_EQ(150, canvas.Red(19, 0));
    EXPECT_EQ(Rect<int>(0, 0, 20, 2), canvas.DrawnArea());
}

TEST_F(CheckBoxTest, AMissingImageListOrFontIsReportedOnceAndDrawsNothing)
{
    CheckBoxObject box(Label("bare"));
    box.SetText(L"Label");
    ImageList empty;
    box.SetImages(&empty);
    CanvasScope canvas(16, 16);
    ::testing::internal::CaptureStderr();
    box.Draw();
    box.Draw();
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Rect<int>(), canvas.DrawnArea());
    EXPECT_NE(std::string::npos, log.find("'bare' has no image list"));
    EXPECT_NE(std::string::npos, log.find("'bare' has text but no font"));
    EXPECT_EQ(2, std::count(log.begin(), log.end(), '\n')); // once each, not per frame

    // A list too short for the checked half draws nothing for the missing state.
    auto four = StateList(4, 4, 4);
    box.SetImages(four.get());
    box.Enable(false);
    box.SetChecked(true); // index 3 + 2
    box.Draw();
    EXPECT_EQ(Rect<int>(), canvas.DrawnArea());
}

// --- the factory ----------------------------------------------------------------------------------

TEST_F(CheckBoxTest, LayoutsMakeCheckBoxesWithTheirAttributes)
{
    LoadManifest(L"res", "<testlist name=\"Boxes\" count=\"10\" width=\"12\" height=\"8\"/>\n"
                         "<testfont name=\"Body\"/>\n");
    const auto layout =
        MakeLayout("", "<checkbox name=\"music\" images=\"Boxes\" alphaSensitivity=\"0\" x=\"10\" y=\"20\""
                       " font=\"Body\" text=\"Music\" sounds=\"Nowhere\"/>\n"
                       "<checkbox name=\"plain\" images=\"Missing\"/>\n");
    layout->Load();
    auto* music = Named<CheckBoxObject>("music");
    ASSERT_NE(nullptr, music);
    EXPECT_EQ(Rect<float>(10, 20, 12, 8), music->GetBounds());
    EXPECT_EQ(0, music->GetAlphaSensitivity());
    EXPECT_TRUE(music->HasFocusImages());
    EXPECT_EQ(nullptr, music->mSounds);
    EXPECT_EQ(L"Music", music->GetText());
    EXPECT_FLOAT_EQ(27.0f, music->GetTextRect().x);

    auto* plain = Named<CheckBoxObject>("plain");
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(nullptr, plain->GetImages());
    EXPECT_EQ(25, plain->GetAlphaSensitivity());
}

} // namespace
