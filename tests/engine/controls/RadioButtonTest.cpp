#include "controls/RadioButton.h"

#include "core/KeyCodes.h"
#include "engine/controls/LayoutTestSupport.h"
#include "engine/controls/ToggleTestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

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

// Filed under "RadioButton" like a scene node of that role, but no radio button.
class RadioLookalike : public Object
{
public:
    Label GetRole() const override { return Label("RadioButton"); }
};

class RadioButtonTest : public LayoutTest
{
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        recorder = new Recorder();
        mode->AddObject(recorder);
        mode->Update(0.0f);
    }

    RadioButtonObject* Add(Label name, Label group, Vector2<float> location = Vector2<float>(),
                           const IImageList* images = nullptr)
    {
        auto* button = new RadioButtonObject(name);
        button->SetGroup(group);
        button->SetBounds(Rect<float>(location.x, location.y, 10, 10));
        button->SetImages(images);
        mode->AddObject(button);
        mode->Update(0.0f);
        return button;
    }

    int Clicks(const RadioButtonObject* button) const { return recorder->Count("RadioButtonClick", button->GetID()); }

    Recorder* recorder = nullptr;
};

// --- grouping -------------------------------------------------------------------------------------

TEST_F(RadioButtonTest, AClickLeavesExactlyOneButtonOfItsGroupChecked)
{
    RadioButtonObject* a = Add(Label("a"), Label("size"));
    RadioButtonObject* b = Add(Label("b"), Label("size"));
    RadioButtonObject* c = Add(Label("c"), Label("size"));
    RadioButtonObject* other = Add(Label("d"), Label("colour"));
    mode->AddObject(new RadioLookalike());
    mode->Update(0.0f);
    other->Click();

    const std::vector<RadioButtonObject*> group{a, b, c};
    for (RadioButtonObject* clicked : group)
    {
        clicked->Click();
        for (RadioButtonObject* button : group)
            EXPECT_EQ(button == clicked, button->IsChecked()) << button->GetName().c_str();
        EXPECT_TRUE(other->IsChecked()); // another group is never touched
        EXPECT_EQ(1, Clicks(clicked));
    }
    EXPECT_EQ(1, Clicks(other));
    EXPECT_EQ(5u, mode->GetObjectsWithRole(Label("RadioButton")).size()); // the lookalike is passed over
}

TEST_F(RadioButtonTest, UnnamedOrSameNamedButtonsOfOneGroupStillExcludeEachOther)
{
    RadioButtonObject* first = Add(Label(), Label("g"));
    RadioButtonObject* second = Add(Label(), Label("g"));
    first->Click();
    second->Click();
    EXPECT_FALSE(first->IsChecked());
    EXPECT_TRUE(second->IsChecked());

    RadioButtonObject* twinA = Add(Label("twin"), Label("h"));
    RadioButtonObject* twinB = Add(Label("twin"), Label("h"));
    twinA->Click();
    twinB->Click();
    EXPECT_FALSE(twinA->IsChecked());
    EXPECT_TRUE(twinB->IsChecked());
    EXPECT_TRUE(second->IsChecked());
}

TEST_F(RadioButtonTest, NoGroupAndAnEmptyGroupAreTheSameGroup)
{
    RadioButtonObject* none = Add(Label("none"), Label());
    RadioButtonObject* empty = Add(Label("empty"), Label(""));
    EXPECT_TRUE(empty->GetGroup().IsNull());
    none->Click();
    empty->Click();
    EXPECT_FALSE(none->IsChecked());
    EXPECT_TRUE(empty->IsChecked());
}

TEST_F(RadioButtonTest, ClickingACheckedButtonSendsAgainAndQuietSettingTouchesNothing)
{
    RadioButtonObject* a = Add(Label("a"), Label("g"));
    RadioButtonObject* b = Add(Label("b"), Label("g"));
    a->Click();
    a->Click();
    EXPECT_TRUE(a->IsChecked());
    EXPECT_EQ(2, Clicks(a));

    b->SetChecked(true); // the owning screen's choice: no message, the other stays as it is
    EXPECT_TRUE(a->IsChecked());
    EXPECT_EQ(0, Clicks(b));

    RadioButtonObject loose(Label("loose"));
    MainLoop::AutoContext outside;
    MainLoop::WithinContext(nullptr, outside);
    loose.Click(); // no database: checked, nothing else
    EXPECT_TRUE(loose.IsChecked());
}

// --- states, mouse and keys -----------------------------------------------------------------------

TEST_F(RadioButtonTest, StatesShowCheckedAsPressed)
{
    auto four = StateList(4, 10, 10);
    RadioButtonObject* button = Add(Label("r"), Label("g"), Vector2<float>(), four.get());
    EXPECT_EQ(0, button->GetImageIndex());
    mode->OnMouseMove(5, 5);
    EXPECT_EQ(1, button->GetImageIndex());
    mode->OnMouseDown(MouseButton_Left, 5, 5);
    EXPECT_EQ(2, button->GetImageIndex());
    mode->OnMouseUp(MouseButton_Left, 5, 5);
    mode->OnMouseMove(50, 50);
    EXPECT_EQ(2, button->GetImageIndex()); // checked

    button->SetChecked(false);
    button->Focus();
    EXPECT_EQ(1, button->GetImageIndex()); // no focus images: hot look
    auto five = StateList(5, 10, 10);
    button->SetImages(five.get());
    EXPECT_EQ(4, button->GetImageIndex());
    button->Enable(false);
    EXPECT_EQ(3, button->GetImageIndex());

    for (const auto& [count, focus] :
         {std::pair{5, true}, std::pair{15, true}, std::pair{12, false}, std::pair{10, false}})
    {
        auto list = StateList(count, 4, 4);
        RadioButtonObject probe(Label("p"));
        probe.SetImages(list.get());
        EXPECT_EQ(focus, probe.HasFocusImages()) << count;
        EXPECT_EQ(count > 10, probe.IsBackgroundThreeBrush()) << count;
    }
}

TEST_F(RadioButtonTest, OnlyACompletedPressOrAFocusedKeyChecks)
{
    RadioButtonObject* button = Add(Label("r"), Label("g"));
    EXPECT_EQ(MessageResult_Handled, mode->OnMouseDown(MouseButton_Left, 3, 3));
    EXPECT_TRUE(button->HasCapture());
    mode->OnMouseUp(MouseButton_Left, 30, 3); // released outside
    EXPECT_EQ(nullptr, mode->GetCapture());
    EXPECT_FALSE(button->IsChecked());
    EXPECT_EQ(0, Clicks(button));

    EXPECT_EQ(MessageResult_Unhandled, mode->OnKeyDown(Key_Enter)); // not focused
    EXPECT_FALSE(button->IsChecked());
    button->Focus();
    for (int key : {Key_Enter, Key_Space, Key_GamePadA})
        EXPECT_EQ(MessageResult_Handled, mode->OnKeyDown(key)) << key;
    EXPECT_EQ(MessageResult_Unhandled, mode->OnKeyDown(Key_Escape));
    EXPECT_EQ(3, Clicks(button));

    mode->OnMouseDown(MouseButton_Left, 3, 3);
    mode->OnMouseUp(MouseButton_Left, 3, 3);
    EXPECT_EQ(4, Clicks(button));
    EXPECT_EQ(nullptr, mode->GetCapture());
}

// --- drawing --------------------------------------------------------------------------------------

TEST_F(RadioButtonTest, ThreeSliceLabelsAreDrawnCentredWhileTheClickableLabelStaysRight)
{
    BlockFont font;
    ImageList pieces; // piece i has red 10 * i + 10
    for (int i = 0; i < 12; ++i)
        pieces.AddOwnedImage(StateImage(i, 2, 10));
    RadioButtonObject button(Label("wide"));
    button.SetBounds(Rect<float>(0, 0, 20, 0));
    button.SetImages(&pieces);
    button.SetFont(&font);
    button.SetColor(ColorF(0, 0, 1, 1));
    button.SetText(L"A"); // 4 x 6, centred on (10, 5): from (8, 2)
    EXPECT_EQ(Rect<float>(25, 2, 4, 6), button.GetTextRect());
    EXPECT_TRUE(button.BoundsContains(26.0f, 3.0f));

    button.SetChecked(true); // strip 2: pieces 6 to 8
    CanvasScope canvas(32, 12);
    button.Draw();
    EXPECT_EQ(70, canvas.Red(0, 0));
    EXPECT_EQ(90, canvas.Red(19, 9));
    EXPECT_EQ(Color32(0, 0, 255, 255), canvas.target.GetPixel(8, 2));
    EXPECT_EQ(Color32(0, 0, 255, 255), canvas.target.GetPixel(11, 7));
    EXPECT_EQ(80, canvas.Red(7, 2));   // the stretched middle piece beside the text
    EXPECT_EQ(0, canvas.Alpha(25, 2)); // nothing at the clickable label's place
}

TEST_F(RadioButtonTest, SingleImageLabelsAreDrawnRightAndMissingPartsOnlyLogOnce)
{
    BlockFont font;
    auto list = StateList(4, 6, 6);
    RadioButtonObject button(Label("small"));
    button.SetImages(list.get());
    button.SetFont(&font);
    button.SetText(L"A"); // at (11, 0)
    {
        CanvasScope canvas(16, 8);
        button.Draw();
        EXPECT_EQ(10, canvas.Red(0, 0));
        EXPECT_EQ(255, canvas.Alpha(11, 0));
        EXPECT_EQ(Rect<int>(0, 0, 15, 6), canvas.DrawnArea());
    }

    RadioButtonObject bare(Label("bare"));
    bare.SetText(L"Label");
    CanvasScope canvas(16, 8);
    ::testing::internal::CaptureStderr();
    bare.Draw();
    bare.Draw();
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Rect<int>(), canvas.DrawnArea());
    EXPECT_NE(std::string::npos, log.find("RadioButton 'bare' has no image list"));
    EXPECT_NE(std::string::npos, log.find("'bare' has text but no font"));
    EXPECT_EQ(2, std::count(log.begin(), log.end(), '\n'));
}

// --- the factory ----------------------------------------------------------------------------------

TEST_F(RadioButtonTest, LayoutsMakeRadioButtonsWithTheirGroups)
{
    LoadManifest(L"res", "<testlist name=\"Dots\" count=\"5\" width=\"8\" height=\"8\"/>\n");
    const auto layout = MakeLayout("", "<radiobutton name=\"easy\" group=\"Level\" images=\"Dots\" x=\"0\"/>\n"
                                       "<radiobutton name=\"hard\" group=\"level\" images=\"Dots\" x=\"20\""
                                       " alphaSensitivity=\"7\"/>\n"
                                       "<radiobutton name=\"loner\" group=\"\"/>\n");
    layout->Load();
    auto* easy = Named<RadioButtonObject>("easy");
    auto* hard = Named<RadioButtonObject>("hard");
    auto* loner = Named<RadioButtonObject>("loner");
    ASSERT_TRUE(easy && hard && loner);
    EXPECT_EQ(Rect<float>(20, 0, 8, 8), hard->GetBounds());
    EXPECT_EQ(7, hard->GetAlphaSensitivity());
    EXPECT_EQ(25, easy->GetAlphaSensitivity());
    EXPECT_TRUE(loner->GetGroup().IsNull());

    mode->OnMouseDown(MouseButton_Left, 2, 2);
    mode->OnMouseUp(MouseButton_Left, 2, 2);
    EXPECT_TRUE(easy->IsChecked());
    mode->OnMouseDown(MouseButton_Left, 22, 2);
    mode->OnMouseUp(MouseButton_Left, 22, 2);
    EXPECT_TRUE(hard->IsChecked());
    EXPECT_FALSE(easy->IsChecked()); // group names share a label whatever their letter case
    EXPECT_EQ(1, Clicks(easy));
}

} // namespace
