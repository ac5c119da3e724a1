#include "controls/TreeControl.h"

#include "core/KeyCodes.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
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

// What a node saw when it was drawn.
struct DrawCall
{
    std::string name;
    Rect<float> rect;
    Graphics::sDrawState state;
};

// A node that fills its whole row in the state's colour and records each call; counts its deletion.
class TestNode : public TreeNode
{
public:
    TestNode(std::string name, float height, int* deleted, std::vector<DrawCall>* calls)
        : name(std::move(name)), mHeight(height), mDeleted(deleted), mCalls(calls)
    {
    }
    ~TestNode() override
    {
        if (mDeleted)
            ++*mDeleted;
    }
    float GetHeight() const override { return mHeight; }
    void Draw(const Rect<float>& rect) override
    {
        if (mCalls)
            mCalls->push_back(DrawCall{name, rect, Graphics::GetDrawState()});
        Graphics::DrawFilledRect(rect, Graphics::GetDrawState(), Graphics::GetCanvas());
    }

    std::string name;

private:
    float mHeight;
    int* mDeleted;
    std::vector<DrawCall>* mCalls;
};

class RecordingMode : public ApplicationMode
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        messages.emplace_back(message.GetName().c_str(), message.GetSender());
    }
    std::vector<std::pair<std::string, ObjectID>> messages;
};

const Color32 kRed(255, 0, 0, 255);
const Color32 kGreen(0, 255, 0, 255);

class TreeTest : public ::testing::Test
{
protected:
    TreeTest() { MainLoop::WithinContext(&mode, guard); }

    // A tree at (0, 0), 40 x 30, in a 2-pixel frame (interior 2, 2, 36 x 26), red text, green
    // selection, with the font set.
    TreeObject* AddTree()
    {
        auto* tree = new TreeObject(Label("tree"));
        tree->SetImages(frame.get());
        tree->SetFont(&font);
        tree->SetColor(ColorF(1.0f, 0.0f, 0.0f, 1.0f));
        tree->SetSelectedTextColor(ColorF(0.0f, 1.0f, 0.0f, 1.0f));
        tree->SetSelectedBackgroundColor(ColorF(0.0f, 0.0f, 1.0f, 1.0f));
        tree->SetBounds(Rect<float>(0, 0, 40, 30));
        mode.AddObject(tree);
        mode.Update(0.0f);
        return tree;
    }

    TestNode* Add(TreeNodeContainer& parent, const char* name, int level = 0, float height = 8.0f)
    {
        auto node = std::make_unique<TestNode>(name, height, &deleted, &calls);
        node->SetLevel(level);
        TestNode* raw = node.get();
        parent.AddNode(std::move(node));
        return raw;
    }

    std::vector<std::string> DrawnNames() const
    {
        std::vector<std::string> names;
        for (const DrawCall& call : calls)
            names.push_back(call.name);
        return names;
    }

    std::unique_ptr<ImageList> frame = Frame([](int) { return 2; }, [](int) { return 2; });
    Testing::BlockFont font;
    int deleted = 0;
    std::vector<DrawCall> calls;
    RecordingMode mode;
    MainLoop::AutoContext guard;
};

// --- the node hierarchy ----------------------------------------------------------------------------

TEST_F(TreeTest, FlattenedOrderIsDepthFirstPreOrder)
{
    TreeObject tree(Label("t"));
    EXPECT_EQ(0u, tree.GetFlattenedNodeCount());
    EXPECT_EQ(nullptr, tree.GetFlattenedNode(0));
    EXPECT_EQ(nullptr, tree.GetNode(0));

    TestNode* root = Add(tree, "root");
    TestNode* a = Add(*root, "A");
    TestNode* a1 = Add(*a, "A1");
    TestNode* b = Add(*root, "B");
    TestNode* c = Add(tree, "C");
    TestNode* c1 = Add(*c, "C1");

    EXPECT_EQ(3u, root->GetFlattenedNodeCount());
    EXPECT_EQ(a, root->GetFlattenedNode(0));
    EXPECT_EQ(a1, root->GetFlattenedNode(1));
    EXPECT_EQ(b, root->GetFlattenedNode(2));
    EXPECT_EQ(nullptr, root->GetFlattenedNode(3));

    EXPECT_EQ(6u, tree.GetFlattenedNodeCount());
    const std::vector<TreeNode*> order{root, a, a1, b, c, c1};
    for (uint32_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i], tree.GetFlattenedNode(i)) << i;
    EXPECT_EQ(nullptr, tree.GetFlattenedNode(6));
    EXPECT_EQ(nullptr, tree.GetFlattenedNode(0xFFFFFFFFu));

    EXPECT_EQ(root, tree.GetNode(0));
    EXPECT_EQ(c, tree.GetNode(1));
    EXPECT_EQ(nullptr, tree.GetNode(2));
    EXPECT_EQ(b, root->GetNode(1));
}

TEST_F(TreeTest, ContainersDeleteTheirNodesAtEveryDepth)
{
    {
        TreeObject tree(Label("t"));
        TestNode* root = Add(tree, "root");
        Add(*Add(*root, "A"), "A1");
        Add(tree, "B");
        tree.AddNode(nullptr); // ignored
        EXPECT_EQ(4u, tree.GetFlattenedNodeCount());

        tree.RemoveAllNodes();
        EXPECT_EQ(4, deleted);
        EXPECT_EQ(0u, tree.GetFlattenedNodeCount());
        EXPECT_EQ(nullptr, tree.GetNode(0));

        Add(*Add(tree, "again"), "child");
    }
    EXPECT_EQ(6, deleted); // the tree's destruction deletes the rest
}

// --- geometry and selection ------------------------------------------------------------------------

TEST_F(TreeTest, InteriorIsTheBoundsLessTheFrame)
{
    TreeObject tree(Label("t"));
    tree.SetBounds(Rect<float>(10, 20, 50, 40));
    EXPECT_EQ(Rect<float>(10, 20, 50, 40), tree.GetInteriorRect()); // no frame

    // Piece i is (i + 1) wide and (i + 2) high: left 4, right 6, top 3 (piece 1), 3 + 9 off the height.
    auto uneven = Frame([](int i) { return i + 1; }, [](int i) { return i + 2; });
    tree.SetImages(uneven.get());
    EXPECT_EQ(Rect<float>(14, 23, 40, 28), tree.GetInteriorRect());
}

TEST_F(TreeTest, SelectingMarksOneNodeAtEveryDepthAndAlwaysBroadcasts)
{
    TreeObject* tree = AddTree();
    TestNode* root = Add(*tree, "root");
    TestNode* a = Add(*root, "A", 1);
    TestNode* a1 = Add(*a, "A1", 2);
    TestNode* b = Add(*tree, "B");

    tree->SelectNode(a1);
    EXPECT_TRUE(a1->IsSelected());
    EXPECT_FALSE(root->IsSelected() || a->IsSelected() || b->IsSelected());
    tree->SelectNode(b);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a1->IsSelected());
    tree->SelectNode(b); // no change, still announced

    TestNode foreign("foreign", 8.0f, nullptr, nullptr);
    tree->SelectNode(&foreign);
    EXPECT_FALSE(b->IsSelected() || foreign.IsSelected());
    tree->SelectNode(a);
    tree->SelectNode(nullptr);
    EXPECT_FALSE(a->IsSelected());

    using Message = std::pair<std::string, ObjectID>;
    EXPECT_EQ(std::vector<Message>(6, Message("TreeSelectionChange", tree->GetID())), mode.messages);
}

// --- clicks ----------------------------------------------------------------------------------------

TEST_F(TreeTest, ClickSelectsTheRowUnderThePointWithoutTakingTheFocus)
{
    TreeObject* tree = AddTree();
    TestNode* a = Add(*tree, "A");       // rows: y 2..10, x from 2
    TestNode* a1 = Add(*a, "A1", 2);     // y 10..18, x from 22
    TestNode* b = Add(*tree, "B", 0, 4); // y 18..22
    EXPECT_TRUE(tree->CanFocus());
    const int depth = Graphics::GetContextDepth();

    EXPECT_EQ(MessageResult_Handled, tree->OnMouseDown(MouseButton_Left, 2, 2)); // top-left edges are in
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(MessageResult_Handled, tree->OnMouseDown(MouseButton_Right, 22, 10));
    EXPECT_TRUE(a1->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(MessageResult_Handled, tree->OnMouseDown(MouseButton_Left, 37, 21));
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(tree->HasFocus());
    ASSERT_EQ(3u, mode.messages.size());
    EXPECT_EQ(tree->GetID(), mode.messages.back().second);
    EXPECT_EQ(depth, Graphics::GetContextDepth()); // every push popped
    mode.messages.clear();

    // In A1's indentation, in the frame, below the last row, and on the right and bottom edges.
    for (auto [x, y] : {std::pair{21, 12}, {1, 5}, {38, 5}, {10, 1}, {10, 22}, {10, 27}, {10, 28}, {38, 20}})
        EXPECT_EQ(MessageResult_Unhandled, tree->OnMouseDown(MouseButton_Left, x, y)) << x << "," << y;
    EXPECT_TRUE(b->IsSelected());
    EXPECT_TRUE(mode.messages.empty());
    EXPECT_EQ(depth, Graphics::GetContextDepth());
    EXPECT_EQ(MessageResult_Unhandled, tree->OnKeyDown(Key_Down)); // no keys
}

TEST_F(TreeTest, TopNodeStartsTheRowsAndRowsBelowTheInteriorTakeNoClicks)
{
    TreeObject* tree = AddTree();
    TestNode* a = Add(*tree, "A");
    TestNode* a1 = Add(*a, "A1", 1);
    Add(*tree, "B");
    tree->SetTopNode(1);
    EXPECT_EQ(MessageResult_Handled, tree->OnMouseDown(MouseButton_Left, 12, 2));
    EXPECT_TRUE(a1->IsSelected());
    tree->SetTopNode(7); // past the end: no rows
    EXPECT_EQ(MessageResult_Unhandled, tree->OnMouseDown(MouseButton_Left, 12, 2));
    EXPECT_EQ(7u, tree->GetTopNode());
}

// --- drawing ---------------------------------------------------------------------------------------

TEST_F(TreeTest, RowsAreIndentedAndDrawnInTheTreeStateSelectedInItsColours)
{
    TreeObject* tree = AddTree();
    TestNode* a = Add(*tree, "A");
    Add(*a, "A1", 2);
    TestNode* b = Add(*tree, "B", 1, 5);
    tree->SetIndent(10.0f);
    tree->SelectNode(b);

    Testing::CanvasScope target(48, 40);
    const int depth = Graphics::GetContextDepth();
    tree->Draw();
    EXPECT_EQ(depth, Graphics::GetContextDepth());
    ASSERT_EQ((std::vector<std::string>{"A", "A1", "B"}), DrawnNames());
    EXPECT_EQ(Rect<float>(2, 2, 36, 8), calls[0].rect);
    EXPECT_EQ(Rect<float>(22, 10, 16, 8), calls[1].rect); // level 2: 20 in and 20 narrower
    EXPECT_EQ(Rect<float>(12, 18, 26, 5), calls[2].rect);
    EXPECT_EQ(Rect<int>(22, 10, 16, 8), calls[1].state.clipRect);
    for (const DrawCall& call : calls)
        EXPECT_EQ(&font, call.state.font);
    EXPECT_EQ(ColorF(1.0f, 0.0f, 0.0f, 1.0f), calls[0].state.color);
    EXPECT_EQ(ColorF(0.0f, 1.0f, 0.0f, 1.0f), calls[2].state.color);
    EXPECT_EQ(ColorF(0.0f, 0.0f, 1.0f, 1.0f), calls[2].state.effectColor);

    EXPECT_EQ(FrameColor(0), target.target.GetPixel(0, 0));
    EXPECT_EQ(FrameColor(8), target.target.GetPixel(39, 29));
    EXPECT_EQ(kRed, target.target.GetPixel(2, 2));
    EXPECT_EQ(FrameColor(4), target.target.GetPixel(21, 12)); // A1's indentation is left alone
    EXPECT_EQ(kRed, target.target.GetPixel(22, 12));
    EXPECT_EQ(kGreen, target.target.GetPixel(12, 22));
    EXPECT_EQ(FrameColor(4), target.target.GetPixel(12, 23)); // below the last row
}

TEST_F(TreeTest, RowsStayInsideTheInteriorAndStopBelowIt)
{
    TreeObject* tree = AddTree();
    std::vector<TestNode*> nodes;
    for (int i = 0; i < 6; ++i) // 8 high each: rows at 2, 10, 18, 26 (cut to 2 pixels), 34, 42
        nodes.push_back(Add(*tree, ("N" + std::to_string(i)).c_str()));
    Add(*nodes[0], "Left", -1); // reaches left of the interior

    Testing::CanvasScope target(48, 48);
    tree->Draw();
    // Rows starting at or below the interior's bottom (y 28) are not drawn at all.
    EXPECT_EQ((std::vector<std::string>{"N0", "Left", "N1", "N2"}), DrawnNames());
    EXPECT_EQ(Rect<int>(2, 26, 36, 2), calls[3].state.clipRect);
    EXPECT_EQ(Rect<int>(2, 10, 36, 8), calls[1].state.clipRect);
    EXPECT_EQ(-8.0f, calls[1].rect.x);

    EXPECT_EQ(kRed, target.target.GetPixel(2, 27));
    for (int x = 0; x < 40; ++x)
    {
        EXPECT_EQ(FrameColor(x < 2 ? 6 : x < 38 ? 7 : 8), target.target.GetPixel(x, 28)) << x; // frame intact
        EXPECT_EQ(0, target.Alpha(x, 30)) << x;
    }
    EXPECT_EQ(FrameColor(3), target.target.GetPixel(1, 12)); // the left frame too
    EXPECT_EQ(Rect<int>(0, 0, 40, 30), target.DrawnArea());

    // The caller's clip holds as well.
    calls.clear();
    Testing::CanvasScope clippedTarget(48, 48);
    Graphics::Context clipped = Graphics::GetContext();
    clipped.state.clipRect = Rect<int>(0, 0, 20, 12);
    Graphics::PushContext(clipped);
    tree->Draw();
    Graphics::PopContext();
    EXPECT_EQ(kRed, clippedTarget.target.GetPixel(19, 11));
    EXPECT_EQ(0, clippedTarget.Alpha(20, 11));
    EXPECT_EQ(0, clippedTarget.Alpha(19, 12));
    EXPECT_EQ((std::vector<std::string>{"N0", "Left"}), DrawnNames()); // rows wholly clipped are skipped
}

TEST_F(TreeTest, WithoutFrameOrFontOrVisibilityTheTreeDrawsAndAnswersNothing)
{
    auto eight = std::make_unique<ImageList>();
    for (int i = 0; i < 8; ++i)
        eight->AddOwnedImage(new Image(std::vector<Color32>(4, FrameColor(i)), 2, 2, true, false));
    for (int variant = 0; variant < 4; ++variant)
    {
        TreeObject* tree = AddTree();
        TestNode* node = Add(*tree, "A");
        if (variant == 0)
            tree->SetFont(nullptr);
        else if (variant == 1)
            tree->SetImages(nullptr);
        else if (variant == 2)
            tree->SetImages(eight.get());
        else
            tree->SetVisible(false);
        Testing::CanvasScope target(48, 40);
        tree->Draw();
        tree->Draw(); // reported once
        EXPECT_EQ(Rect<int>(), target.DrawnArea()) << variant;
        EXPECT_TRUE(calls.empty()) << variant;
        if (variant < 3)
        {
            EXPECT_EQ(MessageResult_Unhandled, tree->OnMouseDown(MouseButton_Left, 5, 5)) << variant;
            EXPECT_FALSE(node->IsSelected());
        }
    }
    EXPECT_TRUE(mode.messages.empty());
}

// --- the factory -----------------------------------------------------------------------------------

class TreeLayoutTest : public Testing::LayoutTest
{
};

TEST_F(TreeLayoutTest, FactoryReadsFrameAndColours)
{
    LoadManifest(L"trees", "<testlist name=\"Frame\" count=\"9\" width=\"2\" height=\"3\"/>\n"
                           "<testfont name=\"Font\"/>\n");
    const auto layout =
        MakeLayout("", "<tree name=\"files\" images=\"Frame\" font=\"Font\" textColor=\"#FF0000FF\" "
                       "selectedTextColor=\"#00FF00FF\" selectedBackgroundColor=\"#0000FFFF\" x=\"5\" y=\"6\" "
                       "width=\"40\" height=\"30\"/>\n"
                       "<tree name=\"plain\" images=\"Missing\"/>\n");
    ASSERT_NE(nullptr, layout);
    layout->Load();
    auto* tree = Named<TreeObject>("files");
    ASSERT_NE(nullptr, tree);
    ASSERT_NE(nullptr, tree->GetImages());
    EXPECT_EQ(ColorF(1.0f, 0.0f, 0.0f, 1.0f), tree->GetColor());
    EXPECT_EQ(ColorF(0.0f, 1.0f, 0.0f, 1.0f), tree->GetSelectedTextColor());
    EXPECT_EQ(ColorF(0.0f, 0.0f, 1.0f, 1.0f), tree->GetSelectedBackgroundColor());
    EXPECT_EQ(Rect<float>(7, 9, 36, 24), tree->GetInteriorRect());
    EXPECT_EQ(0u, tree->GetFlattenedNodeCount());
    EXPECT_EQ(10.0f, tree->GetIndent());
    EXPECT_EQ(0u, tree->GetTopNode());

    auto* plain = Named<TreeObject>("plain");
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(nullptr, plain->GetImages());
    EXPECT_EQ(ColorF(1.0f, 1.0f, 1.0f, 1.0f), plain->GetSelectedTextColor());
    EXPECT_EQ(ColorF(0.0f, 0.0f, 0.0f, 1.0f), plain->GetSelectedBackgroundColor());
}

} // namespace
