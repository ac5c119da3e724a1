#include "controls/ListControl.h"

#include "core/KeyCodes.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;

namespace
{

Color32 FrameColor(int i)
{
    return Color32(static_cast<uint8_t>(i * 20 + 20), 0, 100, 255);
}

// Nine opaque pieces; piece i is width(i) x height(i) in FrameColor(i).
template <class W, class H>
std::unique_ptr<ImageList> Frame(W width, H height)
{
    auto list = std::make_unique<ImageList>();
    for (int i = 0; i < 9; ++i)
    {
        const int w = width(i), h = height(i);
        list->AddOwnedImage(
            new Image(std::vector<Color32>(static_cast<size_t>(w) * h, FrameColor(i)), w, h, true, false));
    }
    return list;
}

std::unique_ptr<ImageList> PlainFrame()
{
    return Frame([](int) { return 2; }, [](int) { return 2; });
}

class RecordingMode : public ApplicationMode
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        messages.emplace_back(message.GetName().c_str(), message.GetSender());
    }
    std::vector<std::string> From(ObjectID sender) const
    {
        std::vector<std::string> names;
        for (const auto& [name, from] : messages)
            if (from == sender)
                names.push_back(name);
        return names;
    }
    std::vector<std::pair<std::string, ObjectID>> messages;
};

// A list whose click clock the test sets.
class ClockedList : public ListObject
{
public:
    using ListObject::ListObject;
    uint32_t now = 100000;

protected:
    uint32_t GetClickTime() const override { return now; }
};

const std::vector<std::string> kChange{"ListSelectionChange"};

class ListTest : public ::testing::Test
{
protected:
    ListTest() { MainLoop::WithinContext(&mode, guard); }

    // `count` items "I0", "I1"... with data 100 + i, in a 2-pixel frame at (10, 20) whose interior is
    // 36 x 26: three whole 8-pixel lines and a 2-pixel strip of the fourth.
    ClockedList* Add(int count, float height = 30.0f)
    {
        auto* list = new ClockedList(Label("list"), 0.0f, Vector2<float>(10, 20), frame.get(), 40.0f, height, &font,
                                     ColorF(1.0f, 0.0f, 0.0f, 1.0f));
        for (int i = 0; i < count; ++i)
            list->AddItem(L"I" + std::to_wstring(i), 100u + static_cast<uint32_t>(i));
        mode.AddObject(list);
        mode.Update(0.0f);
        return list;
    }

    std::unique_ptr<ImageList> frame = PlainFrame();
    Testing::BlockFont font; // glyphs 4 x 6: lines 8 high
    RecordingMode mode;
    MainLoop::AutoContext guard;
};

// --- geometry ------------------------------------------------------------------------------------

TEST_F(ListTest, InteriorAndItemsFollowTheFrameAndTheFont)
{
    // Piece i is (i + 1) wide and (i + 2) high: left 4, right 6, top 2, less 3 + 9 off the height.
    auto uneven = Frame([](int i) { return i + 1; }, [](int i) { return i + 2; });
    ListObject list(Label("l"), 0.0f, Vector2<float>(0, 0), uneven.get(), 50.0f, 40.0f, &font, ColorF());
    EXPECT_EQ(Rect<float>(4, 2, 40, 28), list.GetInteriorRect());

    ClockedList* plain = Add(6);
    EXPECT_EQ(8, plain->GetLineHeight());
    EXPECT_EQ(Rect<float>(12, 22, 36, 26), plain->GetInteriorRect());
    EXPECT_EQ(Rect<float>(12, 22, 36, 8), plain->GetItemRect(0));
    EXPECT_EQ(Rect<float>(12, 46, 36, 2), plain->GetItemRect(3));  // the strip left at the bottom
    EXPECT_EQ(Rect<float>(12, 54, 36, -6), plain->GetItemRect(4)); // wholly below
    EXPECT_EQ(3, plain->GetVisibleItemCount());
    plain->ScrollDown();
    EXPECT_EQ(1, plain->GetTopItem());
    EXPECT_EQ(Rect<float>(12, 22, 36, 8), plain->GetItemRect(1));
    EXPECT_EQ(3, plain->GetVisibleItemCount());
    for (int i = 0; i < 10; ++i)
        plain->ScrollDown();
    EXPECT_EQ(5, plain->GetTopItem()); // never past the last item
    EXPECT_EQ(1, plain->GetVisibleItemCount());

    // Less than one whole line still counts one.
    ClockedList* thin = Add(3, 9.0f);
    EXPECT_EQ(1, thin->GetVisibleItemCount());

    // An empty list has no last item to scroll to.
    ClockedList* empty = Add(0);
    empty->ScrollDown();
    EXPECT_EQ(0, empty->GetTopItem());
    EXPECT_FALSE(empty->CanFocus());
    EXPECT_TRUE(plain->CanFocus());
}

TEST_F(ListTest, ItemDataAndSelectionByIndex)
{
    ClockedList* list = Add(3);
    EXPECT_EQ(102u, list->GetItemData(2));
    EXPECT_EQ(0u, list->GetItemData(3));
    EXPECT_EQ(0u, list->GetItemData(-1));
    EXPECT_EQ(L"", list->GetItemText(7));
    EXPECT_EQ(-1, list->GetSelectedItem());

    list->SelectItem(1);
    list->SelectItem(1); // the same again still announces itself
    EXPECT_EQ(1, list->GetSelectedItem());
    EXPECT_EQ((std::vector<std::string>{"ListSelectionChange", "ListSelectionChange"}), mode.From(list->GetID()));

    list->ScrollDown();
    list->ClearItems();
    EXPECT_EQ(0, list->GetItemCount());
    EXPECT_EQ(-1, list->GetSelectedItem());
    EXPECT_EQ(0, list->GetTopItem());
    EXPECT_EQ(2u, mode.messages.size()); // clearing sends nothing
}

// --- keys ----------------------------------------------------------------------------------------

TEST_F(ListTest, UpAndDownMoveTheSelectionAndKeepItInView)
{
    ClockedList* list = Add(6);
    EXPECT_EQ(MessageResult_Unhandled, mode.OnKeyDown(Key_Down)); // not focused
    list->Focus();
    ASSERT_TRUE(list->HasFocus());

    // Nothing selected: Up, like Down, goes to the first item and the top.
    list->ScrollDown();
    EXPECT_EQ(MessageResult_Handled, list->OnKeyDown(Key_Up));
    EXPECT_EQ(0, list->GetSelectedItem());
    EXPECT_EQ(0, list->GetTopItem());
    EXPECT_EQ(kChange, mode.From(list->GetID()));

    list->OnKeyDown(Key_Down);
    list->OnKeyDown(Key_Down);
    EXPECT_EQ(2, list->GetSelectedItem());
    EXPECT_EQ(0, list->GetTopItem());
    list->OnKeyDown(Key_Down); // past the last whole line: one step of scrolling
    EXPECT_EQ(3, list->GetSelectedItem());
    EXPECT_EQ(1, list->GetTopItem());
    list->OnKeyDown(Key_Down);
    list->OnKeyDown(Key_Down);
    EXPECT_EQ(5, list->GetSelectedItem());
    EXPECT_EQ(3, list->GetTopItem());
    const size_t sent = mode.messages.size();
    EXPECT_EQ(MessageResult_Handled, list->OnKeyDown(Key_Down)); // at the last item
    EXPECT_EQ(5, list->GetSelectedItem());
    EXPECT_EQ(3, list->GetTopItem());
    EXPECT_EQ(sent, mode.messages.size());

    for (int i = 0; i < 3; ++i)
        list->OnKeyDown(Key_Up);
    EXPECT_EQ(2, list->GetSelectedItem());
    EXPECT_EQ(2, list->GetTopItem()); // scrolled up to the selection
    list->OnKeyDown(Key_Up);
    list->OnKeyDown(Key_Up);
    EXPECT_EQ(0, list->GetTopItem());
    const size_t atTop = mode.messages.size();
    EXPECT_EQ(MessageResult_Handled, list->OnKeyDown(Key_Up)); // at the first item
    EXPECT_EQ(0, list->GetSelectedItem());
    EXPECT_EQ(atTop, mode.messages.size());

    EXPECT_EQ(MessageResult_Unhandled, list->OnKeyDown(Key_Enter));
    EXPECT_EQ(MessageResult_Unhandled, list->OnKeyDown('A'));

    // A selection far below the view scrolls by exactly as many items as it needs.
    list->SelectItem(4);
    list->OnKeyDown(Key_Down);
    EXPECT_EQ(5, list->GetSelectedItem());
    EXPECT_EQ(3, list->GetTopItem());
}

TEST_F(ListTest, KeysIgnoreAnEmptyListAndSurviveSelectionsOutOfRange)
{
    ClockedList* empty = Add(0);
    empty->Focus();
    for (int key : {Key_Up, Key_Down, Key_Enter})
        EXPECT_EQ(MessageResult_Unhandled, empty->OnKeyDown(key));
    EXPECT_TRUE(mode.messages.empty());

    ClockedList* list = Add(6);
    list->Focus();
    // Set from outside past the items: Down must neither scroll forever nor select past the end.
    list->SelectItem(99);
    EXPECT_EQ(MessageResult_Handled, list->OnKeyDown(Key_Down));
    EXPECT_EQ(0, list->GetSelectedItem());
    EXPECT_EQ(0, list->GetTopItem());
    // Below -1: Up must not scroll to a negative top item.
    list->SelectItem(-5);
    EXPECT_EQ(MessageResult_Handled, list->OnKeyDown(Key_Up));
    EXPECT_EQ(0, list->GetSelectedItem());
    EXPECT_EQ(0, list->GetTopItem());
}

// --- clicks --------------------------------------------------------------------------------------

TEST_F(ListTest, ClicksSelectAndASecondQuickClickIsADoubleClick)
{
    ClockedList* list = Add(6);
    const ObjectID id = list->GetID();
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 20, 31)); // line 1: y 30 to 38
    EXPECT_TRUE(list->HasFocus());
    EXPECT_EQ(nullptr, mode.GetCapture());
    EXPECT_EQ(1, list->GetSelectedItem());
    EXPECT_EQ(kChange, mode.From(id));

    mode.messages.clear();
    list->now += 500; // the interval itself still counts
    mode.OnMouseDown(MouseButton_Right, 12, 30);
    EXPECT_EQ((std::vector<std::string>{"ListSelectionChange", "ListItemDoubleClick"}), mode.From(id));

    mode.messages.clear();
    list->now += 10;
    mode.OnMouseDown(MouseButton_Left, 20, 38); // another item, quickly
    EXPECT_EQ(2, list->GetSelectedItem());
    EXPECT_EQ(kChange, mode.From(id));

    mode.messages.clear();
    list->now += 501; // the same item, too late
    mode.OnMouseDown(MouseButton_Left, 20, 38);
    EXPECT_EQ(kChange, mode.From(id));

    // Scrolled: the first line is the top item.
    list->ScrollDown();
    list->ScrollDown();
    mode.OnMouseDown(MouseButton_Left, 20, 22);
    EXPECT_EQ(2, list->GetSelectedItem());
}

TEST_F(ListTest, OnlyPointsInsideAnItemLineAreHandled)
{
    ClockedList* list = Add(6);
    struct Case
    {
        int x, y;
        int item; // -1: not handled
    };
    // Interior x 12 to 48, y 22 to 48; the fourth item shows only y 46 and 47.
    for (const Case& c : {Case{12, 22, 0}, Case{47, 29, 0}, Case{48, 25, -1}, Case{11, 25, -1}, Case{20, 21, -1},
                          Case{20, 47, 3}, Case{20, 48, -1}, Case{20, 49, -1}})
    {
        mode.SetFocus(nullptr);
        list->SelectItem(-1);
        const MessageResult result = list->OnMouseDown(MouseButton_Left, c.x, c.y);
        EXPECT_TRUE(list->HasFocus()) << c.x << "," << c.y; // taken hit or miss
        EXPECT_EQ(c.item >= 0 ? MessageResult_Handled : MessageResult_Unhandled, result) << c.x << "," << c.y;
        EXPECT_EQ(c.item, list->GetSelectedItem()) << c.x << "," << c.y;
    }

    // Below the last of few items; and an empty list.
    ClockedList* few = Add(2);
    EXPECT_EQ(MessageResult_Unhandled, few->OnMouseDown(MouseButton_Left, 20, 40));
    ClockedList* empty = Add(0);
    EXPECT_EQ(MessageResult_Unhandled, empty->OnMouseDown(MouseButton_Left, 20, 25));
    EXPECT_TRUE(empty->HasFocus());
}

// --- drawing -------------------------------------------------------------------------------------

TEST_F(ListTest, DrawsFrameLinesAndTheSelectedItemInItsColours)
{
    ClockedList* list = Add(6);
    list->SetLocation(Vector2<float>(0, 0));
    list->SetSelectedTextColor(ColorF(0.0f, 1.0f, 0.0f, 1.0f));
    list->SetSelectedBackgroundColor(ColorF(0.0f, 0.0f, 1.0f, 1.0f));
    list->SelectItem(1);
    Testing::CanvasScope target(48, 40);
    list->Draw();
    EXPECT_EQ(FrameColor(0), target.target.GetPixel(0, 0));
    EXPECT_EQ(FrameColor(8), target.target.GetPixel(39, 29));
    EXPECT_EQ(Color32(255, 0, 0, 255), target.target.GetPixel(2, 3));   // "I0" at (2, 3) in red
    EXPECT_EQ(FrameColor(4), target.target.GetPixel(2, 2));             // the line's empty first row
    EXPECT_EQ(Color32(0, 255, 0, 255), target.target.GetPixel(2, 11));  // "I1" in green...
    EXPECT_EQ(Color32(0, 0, 255, 255), target.target.GetPixel(30, 10)); // ...on blue, across the line
    EXPECT_EQ(Color32(0, 0, 255, 255), target.target.GetPixel(37, 17));
    EXPECT_EQ(FrameColor(4), target.target.GetPixel(30, 18));          // the next line is not filled
    EXPECT_EQ(Color32(255, 0, 0, 255), target.target.GetPixel(2, 27)); // "I3", cut to its strip
    EXPECT_EQ(FrameColor(7), target.target.GetPixel(10, 28));          // the frame is not overdrawn
    EXPECT_EQ(Rect<int>(0, 0, 40, 30), target.DrawnArea());
}

TEST_F(ListTest, ItemsOutOfViewNeverPaintOverTheVisibleOnes)
{
    ClockedList* list = Add(6);
    list->SetLocation(Vector2<float>(0, 0));
    list->SetSelectedBackgroundColor(ColorF(0.0f, 0.0f, 1.0f, 1.0f));
    list->SelectItem(5); // wholly below the interior
    {
        Testing::CanvasScope target(48, 40);
        list->Draw();
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x)
                ASSERT_NE(Color32(0, 0, 255, 255), target.target.GetPixel(x, y)) << x << "," << y;
    }
    // The caller's clip holds too: a selected line cut by it is filled only inside it.
    list->SelectItem(1);
    Testing::CanvasScope target(48, 40);
    Graphics::Context clipped = Graphics::GetContext();
    clipped.state.clipRect = Rect<int>(0, 0, 20, 12);
    Graphics::PushContext(clipped);
    list->Draw();
    Graphics::PopContext();
    EXPECT_EQ(Color32(0, 0, 255, 255), target.target.GetPixel(19, 10));
    EXPECT_EQ(0, target.Alpha(20, 10));
    EXPECT_EQ(0, target.Alpha(19, 12));
}

TEST_F(ListTest, WithoutFrameOrFontTheListDrawsAndAnswersNothing)
{
    ClockedList* noFont = Add(3);
    noFont->SetFont(nullptr);
    ClockedList* noFrame = Add(3);
    noFrame->SetImages(nullptr);
    auto eight = std::make_unique<ImageList>();
    ClockedList* shortFrame = Add(3);
    shortFrame->SetImages(eight.get());
    for (ClockedList* list : {noFont, noFrame, shortFrame})
    {
        list->SetLocation(Vector2<float>(0, 0));
        Testing::CanvasScope target(48, 40);
        list->Draw();
        list->Draw(); // reported once
        EXPECT_EQ(Rect<int>(), target.DrawnArea());
        EXPECT_EQ(MessageResult_Unhandled, list->OnMouseDown(MouseButton_Left, 20, 5));
        EXPECT_TRUE(list->HasFocus());
        EXPECT_EQ(MessageResult_Unhandled, list->OnKeyDown(Key_Down));
        EXPECT_EQ(-1, list->GetSelectedItem());
    }
    EXPECT_TRUE(mode.messages.empty());
}

// --- the factory ---------------------------------------------------------------------------------

class ListLayoutTest : public Testing::LayoutTest
{
};

TEST_F(ListLayoutTest, FactoryReadsFrameAndColours)
{
    LoadManifest(L"lists", "<testlist name=\"Frame\" count=\"9\" width=\"2\" height=\"2\"/>\n"
                           "<testfont name=\"Font\"/>\n");
    const auto layout =
        MakeLayout("", "<list name=\"names\" images=\"Frame\" font=\"Font\" textColor=\"#FF0000FF\" "
                       "selectedTextColor=\"#00FF00FF\" selectedBackgroundColor=\"#0000FFFF\" x=\"5\" y=\"6\" "
                       "width=\"40\" height=\"30\"/>\n"
                       "<list name=\"plain\"/>\n");
    ASSERT_NE(nullptr, layout);
    layout->Load();
    auto* list = Named<ListObject>("names");
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, list->GetImages());
    EXPECT_EQ(9, list->GetImages()->GetNumImages());
    EXPECT_EQ(ColorF(1.0f, 0.0f, 0.0f, 1.0f), list->GetColor());
    EXPECT_EQ(ColorF(0.0f, 1.0f, 0.0f, 1.0f), list->GetSelectedTextColor());
    EXPECT_EQ(ColorF(0.0f, 0.0f, 1.0f, 1.0f), list->GetSelectedBackgroundColor());
    EXPECT_EQ(Rect<float>(7, 8, 36, 26), list->GetInteriorRect());
    EXPECT_EQ(0, list->GetItemCount());

    auto* plain = Named<ListObject>("plain");
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(nullptr, plain->GetImages());
    EXPECT_EQ(ColorF(1.0f, 1.0f, 1.0f, 1.0f), plain->GetSelectedTextColor());
    EXPECT_EQ(ColorF(0.0f, 0.0f, 0.0f, 1.0f), plain->GetSelectedBackgroundColor());
}

} // namespace
