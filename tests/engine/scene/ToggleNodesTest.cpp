#include "scene/ButtonNode.h"
#include "scene/CheckBoxNode.h"
#include "scene/RadioButtonNode.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

class ToggleTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        ASSERT_EQ("", Load(L"Art", Frames("Four", 4, "w=\"20\" h=\"10\"") + Frames("Five", 5, "w=\"20\" h=\"10\"") +
                                       Frames("Ten", 10, "w=\"20\" h=\"10\"") +
                                       Frames("Thirty", 30, "w=\"4\" h=\"10\"") + "<testfont name=\"Mono\"/>\n"));
    }

    // Puts a widget at the origin into a state: hot, pressed, focused, disabled, checked.
    template <class T>
    void Apply(T* node, const std::string& states)
    {
        if (states.find("checked") != std::string::npos)
        {
            if constexpr (std::is_same_v<T, RadioButtonNode>)
                node->SetCheck(true);
            else
                node->SetChecked(true);
        }
        if (states.find("disabled") != std::string::npos)
            node->Enable(false);
        if (states.find("hot") != std::string::npos || states.find("pressed") != std::string::npos)
            mode->OnMouseMove(2, 2);
        if (states.find("pressed") != std::string::npos)
            mode->OnMouseDown(MouseButton_Left, 2, 2);
        if (states.find("focused") != std::string::npos)
            mode->SetFocusedNode(node);
    }

    // Lets the capture go and hides the widget, so the next case's widget at the origin starts afresh.
    void Retire(SceneNode* node)
    {
        mode->OnMouseUp(MouseButton_Left, 100, 100);
        node->LocalSetVisible(false);
    }
};

struct FrameCase
{
    const char* images;
    const char* states;
    int frame;
};

} // namespace

TEST_F(ToggleTest, EachStateDrawsItsFrame)
{
    const auto expect = [this](auto* node, const FrameCase& c)
    {
        ASSERT_NE(nullptr, node);
        Apply(node, c.states);
        EXPECT_EQ(c.frame, node->GetImageIndex()) << c.images << " " << c.states;
        Target target(30, 12);
        node->DrawNode();
        EXPECT_EQ(FrameRed(c.frame), target.At(1, 1).r) << c.images << " " << c.states;
        Retire(node);
    };
    // A check box takes its checked frames from the second half of its list.
    const FrameCase boxes[] = {
        {"Ten", "checked hot", 6},  {"Ten", "checked disabled", 8}, {"Ten", "focused", 4},
        {"Ten", "pressed", 2},      {"Four", "focused", 1},         {"Four", "checked", 2},
        {"Four", "checked hot", 3}, {"Thirty", "checked", 15},      {"Thirty", "checked focused", 27}};
    for (const FrameCase& c : boxes)
        expect(Make<CheckBoxNode>(std::string("<checkboxnode name=\"box\" width=\"20\" images=\"") + c.images + "\"/>"),
               c);
    // A checked radio button shows frame four, or else the pressed frame.
    const FrameCase radios[] = {{"Four", "none", 0},    {"Four", "hot", 1},         {"Four", "focused", 1},
                                {"Four", "pressed", 2}, {"Four", "checked hot", 2}, {"Four", "checked disabled", 3},
                                {"Five", "focused", 4}, {"Five", "checked hot", 4}, {"Five", "checked pressed", 4}};
    for (const FrameCase& c : radios)
        expect(Make<RadioButtonNode>(std::string("<radiobuttonnode name=\"r\" images=\"") + c.images + "\"/>"), c);
}

TEST_F(ToggleTest, CheckBoxClicksFlipTheValueWithSoundsAndMessages)
{
    auto* box = Make<CheckBoxNode>("<checkboxnode name=\"box\" images=\"Four\" sounds=\"Ticks\"/>");
    ASSERT_NE(nullptr, box);
    mode->OnMouseMove(5, 5);
    mode->OnMouseDown(MouseButton_Left, 5, 5);
    mode->OnMouseUp(MouseButton_Left, 5, 5);
    EXPECT_TRUE(box->IsChecked());
    // A release alone toggles too: the press need not have begun on the box.
    mode->OnMouseUp(MouseButton_Left, 5, 5);
    EXPECT_FALSE(box->IsChecked());
    EXPECT_EQ("sound:Ticks:Hot sound:Ticks:Down sound:Ticks:Checked CheckBoxClick:box sound:Ticks:Unchecked "
              "CheckBoxClick:box",
              Events());
    EXPECT_EQ(nullptr, mode->GetMouseCapturingNode());
}

TEST_F(ToggleTest, CheckBoxLabelIsPartOfTheHitAreaOnlyWithAFont)
{
    auto* labelled = Make<CheckBoxNode>("<checkboxnode name=\"a\" images=\"Four\" font=\"Mono\" text=\"abc\"/>");
    auto* bare = Make<CheckBoxNode>("<checkboxnode name=\"b\" y=\"40\" images=\"Four\" text=\"abc\"/>");
    ASSERT_NE(nullptr, labelled);
    ASSERT_NE(nullptr, bare);
    // Box 20 x 10; the label starts 5 right of it, 18 x 10, centred on the box.
    EXPECT_EQ(Rect<float>(25, 0, 18, 10), labelled->GetLabelRect());
    const struct
    {
        float x, y;
        bool labelledHit, bareHit;
    } points[] = {{24.9f, 5, false, false}, {25, 0, true, false}, {42.9f, 9.9f, true, false}, {43, 5, false, false}};
    for (const auto& p : points)
    {
        EXPECT_EQ(p.labelledHit, labelled->GlobalPointIntersects(Vector2<float>(p.x, p.y))) << p.x;
        EXPECT_EQ(p.bareHit, bare->GlobalPointIntersects(Vector2<float>(p.x, p.y + 40))) << p.x;
    }
    mode->OnMouseUp(MouseButton_Left, 30, 5);
    EXPECT_TRUE(labelled->IsChecked());
    mode->OnMouseUp(MouseButton_Left, 30, 45);
    EXPECT_FALSE(bare->IsChecked());
}

TEST_F(ToggleTest, RadioButtonsAreExclusiveWithinTheirGroupByIdentity)
{
    auto* a = Make<RadioButtonNode>("<radiobuttonnode name=\"a\" group=\"g\" images=\"Four\"/>");
    auto* b = Make<RadioButtonNode>("<radiobuttonnode name=\"b\" group=\"g\" x=\"30\" images=\"Four\"/>");
    auto* c = Make<RadioButtonNode>("<radiobuttonnode name=\"c\" group=\"g\" x=\"60\" images=\"Four\"/>");
    auto* d = Make<RadioButtonNode>("<radiobuttonnode name=\"d\" group=\"h\" x=\"90\" images=\"Four\"/>");
    auto* twin = Make<RadioButtonNode>("<radiobuttonnode name=\"b\" group=\"g\" x=\"120\" images=\"Four\"/>");
    auto* loose1 = Make<RadioButtonNode>("<radiobuttonnode y=\"40\" images=\"Four\"/>");
    auto* loose2 = Make<RadioButtonNode>("<radiobuttonnode y=\"40\" images=\"Four\"/>");
    ASSERT_TRUE(a && b && c && d && twin && loose1 && loose2);
    const auto checked = [&]
    {
        std::string s;
        for (RadioButtonNode* r : {a, b, c, d, twin, loose1, loose2})
            s += r->IsChecked() ? '1' : '0';
        return s;
    };
    d->SetCheck(true);
    mode->OnMouseUp(MouseButton_Left, 5, 5);
    EXPECT_EQ("1001000", checked());
    mode->OnMouseUp(MouseButton_Left, 35, 5);
    EXPECT_EQ("0101000", checked());
    mode->OnMouseUp(MouseButton_Left, 35, 5); // again: stays checked, and says so again
    EXPECT_EQ("0101000", checked());
    // The same name is no excuse: a different button of the group.
    twin->SetCheck(true);
    EXPECT_EQ("0001100", checked());
    // The null group is a group too; unchecking leaves the group empty.
    loose1->SetCheck(true);
    loose2->SetCheck(true);
    EXPECT_EQ("0001101", checked());
    loose2->SetCheck(false);
    EXPECT_EQ("0001100", checked());
    EXPECT_EQ("RadioButtonClick:a RadioButtonClick:b RadioButtonClick:b", Events());
}

// Every pressable widget: a press, then disabling, then a release over it lets the capture go and does
// not click; a focused activation key still clicks.
TEST_F(ToggleTest, DisablingDuringAPressNeverKeepsTheCapture)
{
    SceneNode* nodes[] = {
        Make<ButtonNode>("<buttonnode name=\"n\" images=\"Four\"/>"),
        Make<CheckBoxNode>("<checkboxnode name=\"n\" images=\"Four\"/>"),
        Make<RadioButtonNode>("<radiobuttonnode name=\"n\" images=\"Four\"/>"),
    };
    for (SceneNode* node : nodes)
        ASSERT_NE(nullptr, node);
    for (SceneNode* node : nodes)
    {
        // All at the origin: only the one under test is shown.
        for (SceneNode* other : nodes)
            other->LocalSetVisible(other == node);
        WidgetEvents().clear();
        mode->OnMouseDown(MouseButton_Left, 5, 5);
        EXPECT_TRUE(node->HasCapture());
        dynamic_cast<IEnable*>(node)->Enable(false);
        // Through the mode, which leaves letting go to the widget.
        mode->OnMouseUp(MouseButton_Left, 5, 5);
        EXPECT_FALSE(node->HasCapture());
        EXPECT_EQ("", Events());
        mode->SetFocusedNode(node);
        EXPECT_EQ(MessageResult_Handled, node->OnKeyDown(32));
        EXPECT_NE("", Events());
    }
}
