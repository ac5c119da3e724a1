#include "scene/ListNode.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// A nine-slice frame of 2 x 2 images and the 6 x 10 test font: lines are 12 high, the interior of a
// 100 x 46 list is 96 x 42, so three whole lines show and a fourth is cut to 6.
class ListNodeTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        ASSERT_EQ("", Load(L"Art", Frames("Nine", 9, "w=\"2\" h=\"2\"") + "<testfont name=\"Mono\"/>\n"));
        list = Make<ListNode>("<listnode name=\"list\" images=\"Nine\" font=\"Mono\" width=\"100\" height=\"46\" "
                              "textColor=\"#FF0000\" selectedTextColor=\"#00FF00\"/>");
        ASSERT_NE(nullptr, list);
        for (const wchar_t* item : {L"zero", L"one", L"two", L"three", L"four"})
            list->AddItem(item);
    }

    ListNode* list = nullptr;
};

TEST_F(ListNodeTest, LinesAndPressesFollowTheScrollPosition)
{
    EXPECT_EQ(Rect<float>(2, 2, 96, 42), list->GetInteriorRect());
    EXPECT_EQ(Rect<float>(2, 38, 96, 6), list->GetItemRect(3));
    EXPECT_EQ(3, list->GetVisibleItemCount());
    // A press on the cut-off line still selects it; below the interior nothing is hit.
    EXPECT_EQ(MessageResult_Handled, mode->OnMouseDown(MouseButton_Right, 10, 41));
    EXPECT_EQ(3, list->GetSelectedIndex());
    EXPECT_EQ(MessageResult_Unhandled, list->OnMouseDown(MouseButton_Left, 10, 45));
    list->ScrollDown();
    EXPECT_EQ(MessageResult_Handled, list->OnMouseDown(MouseButton_Left, 10, 3));
    EXPECT_EQ(1, list->GetSelectedIndex());
    EXPECT_EQ(MessageResult_Handled, list->OnMouseDown(MouseButton_Left, 10, 3));
    EXPECT_EQ("ListSelectionChange:list ListSelectionChange:list ListSelectionChange:list", Events());
    for (int i = 0; i < 10; ++i)
        list->ScrollDown();
    EXPECT_EQ(4, list->GetTopIndex());
}

TEST_F(ListNodeTest, KeyboardNavigationEngagesThenMovesAndScrolls)
{
    struct Step
    {
        int key; // 0: take the focus, -1: lose it
        bool handled;
        int selected, top;
        bool engaged;
    } steps[] = {
        {40, false, -1, 0, false}, // not focused
        {0, false, -1, 0, false},  // focus
        {40, false, -1, 0, false}, // not engaged yet
        {512, true, -1, 0, true},  //
        {38, true, 0, 0, true},    // nothing selected: the first item
        {38, true, 0, 0, true},    // already at the top
        {40, true, 1, 0, true},    //
        {40, true, 2, 0, true},    //
        {40, true, 3, 1, true},    // past the last whole line: scrolls
        {40, true, 4, 2, true},    //
        {40, true, 4, 2, true},    // at the end
        {38, true, 3, 2, true},    //
        {38, true, 2, 2, true},    //
        {38, true, 1, 1, true},    // above the top line: the top follows
        {65, false, 1, 1, true},   //
        {513, true, 1, 1, false},  //
        {513, false, 1, 1, false}, //
        {512, true, 1, 1, true},   //
        {512, true, 1, 1, false},  //
        {512, true, 1, 1, true},   //
        {-1, false, 1, 1, false},  // "LostFocus"
    };
    int index = 0;
    for (const Step& s : steps)
    {
        bool handled = false;
        if (s.key == 0)
            mode->SetFocusedNode(list);
        else if (s.key == -1)
            list->ReceiveMessage(ObjectMessage(Label("LostFocus")));
        else
            handled = list->OnKeyDown(s.key) == MessageResult_Handled;
        EXPECT_EQ(s.handled, handled) << "step " << index;
        EXPECT_EQ(s.selected, list->GetSelectedIndex()) << "step " << index;
        EXPECT_EQ(s.top, list->GetTopIndex()) << "step " << index;
        EXPECT_EQ(s.engaged, list->IsEngaged()) << "step " << index;
        ++index;
    }
}

TEST_F(ListNodeTest, EmptyOrHiddenListsTakeNothing)
{
    auto* empty =
        Make<ListNode>("<listnode name=\"empty\" images=\"Nine\" font=\"Mono\" width=\"100\" height=\"46\"/>");
    ASSERT_NE(nullptr, empty);
    EXPECT_FALSE(empty->CanFocus());
    EXPECT_TRUE(list->CanFocus());
    mode->SetFocusedNode(empty);
    EXPECT_EQ(MessageResult_Unhandled, empty->OnKeyDown(512));
    EXPECT_EQ(MessageResult_Unhandled, empty->OnMouseDown(MouseButton_Left, 10, 3));

    mode->GetRootNode()->LocalSetVisible(false);
    EXPECT_EQ(MessageResult_Unhandled, list->OnMouseDown(MouseButton_Left, 10, 3));
    mode->SetFocusedNode(list);
    EXPECT_EQ(MessageResult_Unhandled, list->OnKeyDown(512));
    EXPECT_EQ(-1, list->GetSelectedIndex());
    EXPECT_EQ("", Events());
}

TEST_F(ListNodeTest, LineColoursShowSelectionAndEngagement)
{
    list->SelectItem(1);
    const auto draw = [&](int x, int y)
    {
        Target target(100, 46);
        list->DrawNode();
        return target.At(x, y);
    };
    // Glyphs of line 0 start at (2, 2), of line 1 at (2, 14).
    EXPECT_EQ(Color32(255, 0, 0, 255), draw(3, 3));
    EXPECT_EQ(Color32(0, 255, 0, 255), draw(3, 15));
    const Color32 unfocused = draw(90, 30);
    mode->SetFocusedNode(list);
    EXPECT_NE(unfocused, draw(90, 30)); // the highlight
    list->OnKeyDown(512);
    EXPECT_EQ(unfocused, draw(90, 30));
    EXPECT_EQ(Color32(0, 255, 255, 255), draw(3, 15));
    // Lines are clipped to their rectangles: the cut-off line draws no lower than the interior.
    list->ScrollDown();
    list->ScrollDown();
    EXPECT_EQ(FrameRed(7), draw(3, 44).r);
}

} // namespace
