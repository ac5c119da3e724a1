#include "SceneTestSupport.h"

#include "framework/ObjectDatabase.h"
#include "scene/NodePath.h"

#include <string>

namespace
{

using namespace SceneTesting;

using SceneNodeTest = SceneFixture;

// Reads the node's global bounds, then refreshes the scene: what a reader saw is what the per-frame
// refresh computes, and the refresh leaves the node clean.
void ExpectBoundsNowAndAfterRefresh(SceneNode* node, SceneNode* root, const Rect<float>& expected)
{
    EXPECT_EQ(expected, node->GlobalGetBounds());
    root->UpdateScene();
    EXPECT_EQ(expected, node->GlobalGetBounds());
    EXPECT_EQ(0u, node->GetDirtyFlags());
}

TEST_F(SceneNodeTest, GlobalBoundsFollowEveryChangeAboveTheReader)
{
    {
        SCOPED_TRACE("a read straight after a local set");
        SceneNode* node = AddNode(root, {10, 20, 5, 5});
        node->GlobalGetBounds();
        node->LocalSetLocation(30.0f, 40.0f);
        ExpectBoundsNowAndAfterRefresh(node, root, {30, 40, 5, 5});
    }
    {
        SCOPED_TRACE("a stale grandparent above a stale grandchild");
        SceneNode* grandparent = AddNode(root, {100, 100, 50, 50});
        SceneNode* parent = AddNode(grandparent, {10, 10, 20, 20});
        SceneNode* child = AddNode(parent, {1, 2, 3, 4});
        root->UpdateScene();
        grandparent->LocalSetLocation(200.0f, 300.0f);
        child->LocalSetLocation(5.0f, 6.0f);
        ExpectBoundsNowAndAfterRefresh(child, root, {215, 316, 3, 4});
    }
    {
        SCOPED_TRACE("a parent resized under a clean child anchored to its centre");
        SceneNode* parent = AddNode(root, {0, 0, 100, 100});
        SceneNode* child = AddNode(parent, {0, 0, 10, 10});
        child->SetNodeAttachParams(NodeAttachNPI().CenterOnParent());
        root->UpdateScene();
        parent->SetWidth(200.0f);
        ExpectBoundsNowAndAfterRefresh(child, root, {95, 45, 10, 10});
    }
    {
        SCOPED_TRACE("centre anchors under a scaled parent use the unscaled sizes");
        SceneNode* parent = AddNode(root, {100, 50, 100, 50});
        parent->LocalSetScale(Vector2<float>(2.0f, 3.0f));
        SceneNode* child = AddNode(parent, {0, 0, 20, 10});
        child->SetNodeAttachParams(NodeAttachNPI().CenterOnParent());
        ExpectBoundsNowAndAfterRefresh(child, root, {140, 70, 20, 10});
    }
    {
        SCOPED_TRACE("right and bottom anchors");
        SceneNode* parent = AddNode(root, {0, 0, 100, 80});
        SceneNode* child = AddNode(parent, {-1, -2, 10, 20});
        child->SetNodeAttachParams(NodeAttachNPI()
                                       .ParentAlign(HAlignment_Right, VAlignment_Bottom)
                                       .SelfAlign(HAlignment_Right, VAlignment_Bottom));
        ExpectBoundsNowAndAfterRefresh(child, root, {89, 58, 10, 20});
    }
    {
        SCOPED_TRACE("a detached node reads its own place at once");
        SceneNode* parent = AddNode(root, {100, 100, 10, 10});
        SceneNode* child = AddNode(parent, {1, 1, 1, 1});
        root->UpdateScene();
        child->DetachFromParent();
        child->LocalSetLocation(7.0f, 8.0f);
        ExpectBoundsNowAndAfterRefresh(child, root, {7, 8, 1, 1});
    }
    {
        SCOPED_TRACE("a node re-attached elsewhere follows its new parent");
        SceneNode* first = AddNode(root, {100, 100, 10, 10});
        SceneNode* second = AddNode(root, {300, 400, 10, 10});
        SceneNode* child = AddNode(first, {1, 1, 1, 1});
        root->UpdateScene();
        child->GlobalGetBounds();
        child->DetachFromParent();
        child->GlobalGetBounds();
        second->AttachChild(child);
        ExpectBoundsNowAndAfterRefresh(child, root, {301, 401, 1, 1});
    }
}

TEST_F(SceneNodeTest, GlobalAttributesCombineDownTheTree)
{
    SceneNode* parent = AddNode(root, {10, 10, 40, 40});
    parent->LocalSetColor(ColorF(0.2f, 0.4f, 0.6f, 0.5f));
    parent->LocalSetScale(Vector2<float>(2.0f, 0.5f));
    parent->LocalSetOrientation(Angle(0.25f));
    SceneNode* child = AddNode(parent, {1, 2, 8, 6});
    child->LocalSetColor(ColorF(1.0f, 0.0f, 0.5f, 0.5f));
    child->LocalSetScale(Vector2<float>(3.0f, 4.0f));
    child->LocalSetOrientation(Angle(0.5f));

    EXPECT_EQ(ColorF(1.0f, 0.0f, 0.5f, 0.25f), child->GlobalGetColor());
    EXPECT_EQ(Vector2<float>(6.0f, 2.0f), child->GlobalGetScale());
    EXPECT_FLOAT_EQ(0.75f, child->GlobalGetOrientation().GetValue());
    EXPECT_FLOAT_EQ(48.0f, child->GetScaledWidth());
    EXPECT_FLOAT_EQ(12.0f, child->GetScaledHeight());
    EXPECT_TRUE(child->GlobalIsVisible());
    parent->LocalSetVisible(false);
    EXPECT_FALSE(child->GlobalIsVisible());

    EXPECT_EQ(Vector2<float>(14.0f, 14.0f), child->LocalToGlobalPoint(Vector2<float>(4.0f, 4.0f)));
    EXPECT_EQ(Vector2<float>(4.0f, 4.0f), child->GlobalToLocalPoint(Vector2<float>(14.0f, 14.0f)));
    EXPECT_EQ(Rect<float>(10, 10, 40, 40), parent->GetCompositeBounds());
    AddNode(child, {50, 50, 10, 10});
    EXPECT_EQ(Rect<float>(10, 10, 61, 62), parent->GetCompositeBounds());
    // The offset (local - global = -10.5, -10) is truncated toward zero.
    parent->LocalSetLocation(10.5f, 10.0f);
    EXPECT_EQ(Vector2<int>(10, 10), child->GlobalToLocalPoint(Vector2<int>(20, 20)));
}

TEST_F(SceneNodeTest, AttachingKeepsOrMovesTheDrawingPlaceAndRefusesLoops)
{
    SceneNode* a = AddNode(root);
    SceneNode* b = AddNode(root);
    SceneNode* c = AddNode(root);
    root->AttachChild(a);
    EXPECT_EQ((std::list<SceneNode*>{a, b, c}), root->GetChildren());

    b->AttachChild(a);
    EXPECT_EQ((std::list<SceneNode*>{b, c}), root->GetChildren());
    EXPECT_EQ(b, a->GetParent());
    root->AttachChild(a);
    EXPECT_EQ((std::list<SceneNode*>{b, c, a}), root->GetChildren());

    c->MoveToBottomOfParent();
    EXPECT_EQ((std::list<SceneNode*>{c, b, a}), root->GetChildren());

    SceneNode* grandchild = AddNode(a);
    grandchild->AttachChild(root);
    a->AttachChild(a);
    grandchild->AttachChild(a);
    EXPECT_EQ(nullptr, root->GetParent());
    EXPECT_EQ(root, a->GetParent());
    EXPECT_EQ(a, grandchild->GetParent());
    root->AttachChild(nullptr);
    EXPECT_EQ(3u, root->GetChildCount());
}

TEST_F(SceneNodeTest, NodeNamesFileTheFirstChildAndPassToTheNextWhenItLeaves)
{
    SceneNode* first = AddNode(root, {}, "Piece");
    SceneNode* second = AddNode(root, {}, "piece");
    SceneNode* third = AddNode(root, {}, "PIECE");
    EXPECT_EQ(first, root->GetChildByNodeName(Label("Piece")));

    // Detaching a later one leaves the first filed.
    third->DetachFromParent();
    EXPECT_EQ(first, root->GetChildByNodeName(Label("Piece")));
    // Detaching the first passes the name on to the next sibling of that name.
    first->DetachFromParent();
    EXPECT_EQ(second, root->GetChildByNodeName(Label("Piece")));
    // Renaming refiles in the parent.
    second->SetNodeName(Label("Other"));
    EXPECT_EQ(nullptr, root->GetChildByNodeName(Label("Piece")));
    EXPECT_EQ(second, root->GetChildByNodeName(Label("other")));
    root->AttachChild(first);
    EXPECT_EQ(first, root->GetChildByNodeName(Label("Piece")));
    // The sender's name is apart from the path key.
    EXPECT_TRUE(first->GetName().IsNull());
}

TEST_F(SceneNodeTest, NodePathsResolveByIndexAndName)
{
    SceneNode* screen = AddNode(root, {}, "GameScreenRoot");
    SceneNode* background = AddNode(screen, {}, "Background");
    SceneNode* playfield = AddNode(screen, {}, "Playfield");
    SceneNode* piece = AddNode(playfield, {}, "Piece");

    struct PathCase
    {
        const char* name;
        std::vector<NodePathStep> path;
        SceneNode* expected;
    };
    const std::vector<PathCase> cases = {
        {"names", {"GameScreenRoot", "Playfield", "Piece", NodePathTerminator()}, piece},
        {"letter case ignored", {"gamescreenroot", "PLAYFIELD", NodePathTerminator()}, playfield},
        {"labels, wide and narrow strings",
         {Label("GameScreenRoot"), std::wstring(L"Playfield"), std::string("Piece"), NodePathTerminator()},
         piece},
        {"wide literal", {L"GameScreenRoot", NodePathTerminator()}, screen},
        {"index 0 is the first attached", {0, 0, NodePathTerminator()}, background},
        {"indexes and names mixed", {0, 1, "Piece", NodePathTerminator()}, piece},
        {"negative index", {0, -1, NodePathTerminator()}, nullptr},
        {"index past the end", {0, 2, NodePathTerminator()}, nullptr},
        {"missing name", {"GameScreenRoot", "Nowhere", NodePathTerminator()}, nullptr},
        {"a failed step ends the walk", {"Nowhere", 0, NodePathTerminator()}, nullptr},
        {"terminator first", {NodePathTerminator(), "GameScreenRoot"}, root},
        {"steps after the terminator are not read", {"GameScreenRoot", NodePathTerminator(), "Nowhere"}, screen},
        {"the end of the array ends a path without terminator", {"GameScreenRoot", "Background"}, background},
        {"null narrow name", {static_cast<const char*>(nullptr), NodePathTerminator()}, nullptr},
    };
    for (const PathCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, root->GetDescendent(c.path));
        EXPECT_EQ(c.expected, RootDescendent(c.path));
    }

    playfield->MoveToBottomOfParent();
    const NodePathStep firstChild[] = {"GameScreenRoot", 0, NodePathTerminator()};
    EXPECT_EQ(playfield, RootDescendent(firstChild));
    EXPECT_EQ(playfield, RootDescendent<SceneNode>(firstChild));
    EXPECT_EQ(nullptr, RootDescendent<ImageNode>(firstChild));
}

TEST_F(SceneNodeTest, DrawingGoesParentFirstAndSkipsNodesThatUserCodeTakesAway)
{
    SceneNode* a = AddNode(root);
    SceneNode* a1 = AddNode(a);
    SceneNode* a2 = AddNode(a);
    SceneNode* b = AddNode(root);
    SceneNode* c = AddNode(root);
    std::vector<SceneNode*> order;
    for (SceneNode* node : {root, a, a1, a2, b, c})
        node->drawSignal.connect([&order](SceneNode* drawn) { order.push_back(drawn); });
    root->DrawScene();
    EXPECT_EQ((std::vector<SceneNode*>{root, a, a1, a2, b, c}), order);

    // While drawing a1, its sibling is destroyed and b detached: neither is drawn this frame.
    const ObjectID a2ID = a2->GetID();
    a1->drawSignal.connect(
        [&](SceneNode*)
        {
            mode.DestroyObject(a2ID);
            b->DetachFromParent();
        });
    order.clear();
    root->DrawScene();
    EXPECT_EQ((std::vector<SceneNode*>{root, a, a1, c}), order);
    mode.Update(0.02f);
    EXPECT_EQ(nullptr, mode.GetObject(a2ID));
}

TEST_F(SceneNodeTest, DrawImagePlacesPlainScaledTurnedAndBothImages)
{
    Image image(10, 10);
    RecordingCanvas canvas;
    PushContext(Context{&canvas, sDrawState::GetDefaults()});

    // A 20 x 10 node at (100, 50) drawing at offset (1, 2); pivots at the centre, as for a node made in
    // code. Plain and turned draws place by point (the rectangle's corner), the others by rectangle.
    const struct
    {
        const char* name;
        Vector2<float> scale;
        float angle;
        RecordedDraw::Kind kind;
        Rect<int> at;
        bool cornerPivot = false;
    } cases[] = {
        {"plain", {1, 1}, 0.0f, RecordedDraw::Plain, {101, 52, 0, 0}},
        {"scaled about the centre", {2, 3}, 0.0f, RecordedDraw::Stretched, {91, 42, 40, 30}},
        {"turned about the centre", {1, 1}, 0.5f, RecordedDraw::Rotated, {111, 57, 0, 0}},
        // The stretched quad (91, 42, 40, 30) turned about its own centre: the canvas gets that centre.
        {"scaled and turned", {2, 3}, Angle::pi(), RecordedDraw::StretchedRotated, {111, 57, 40, 30}},
        // A quarter turn about the quad's top-left corner (91, 42) takes its centre (111, 57) to (76, 62).
        {"turned about the corner", {2, 3}, Angle::pi() / 2, RecordedDraw::StretchedRotated, {76, 62, 40, 30}, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        canvas.draws.clear();
        ImageNode* drawn = new ImageNode(&image);
        drawn->LocalSetLocation(100.0f, 50.0f);
        drawn->SetWidth(20.0f);
        drawn->SetHeight(10.0f);
        drawn->LocalSetScale(c.scale);
        drawn->LocalSetOrientation(Angle(c.angle));
        if (c.cornerPivot)
            drawn->SetRotateAlignment(HAlignment_Left, VAlignment_Top);
        drawn->LocalSetColor(ColorF(1.0f, 0.5f, 0.25f, 0.5f));
        drawn->flipV = true;
        drawn->clipEnabled = true;
        drawn->clipRect = Rect<int>(1, 2, 3, 4);
        drawn->DrawAt(Vector2<float>(1.0f, 2.0f));
        delete drawn;
        ASSERT_EQ(1u, canvas.draws.size());
        const RecordedDraw& draw = canvas.draws[0];
        EXPECT_EQ(c.kind, draw.kind);
        EXPECT_EQ(&image, draw.image);
        if (c.kind == RecordedDraw::Plain || c.kind == RecordedDraw::Rotated)
        {
            EXPECT_FLOAT_EQ(c.at.x, draw.x);
            EXPECT_FLOAT_EQ(c.at.y, draw.y);
        }
        else
            EXPECT_EQ(c.at, draw.destination);
        EXPECT_EQ(ColorF(1.0f, 0.5f, 0.25f, 0.5f), draw.state.imageColor);
        EXPECT_EQ(Rect<int>(1, 2, 3, 4), draw.state.clipRect);
        EXPECT_NE(0u, draw.state.flags & DrawFlag_FlipV);
        EXPECT_EQ(0u, draw.state.flags & DrawFlag_FlipH);
    }
    PopContext();
}

// Hits only where its mask is opaque: the left half of its bounds.
class HalfOpaqueNode : public SceneNode
{
public:
    bool GlobalPointIntersects(const Vector2<float>& point) override
    {
        const Rect<float>& bounds = GlobalGetBounds();
        return GlobalBoundsContains(point.x, point.y) && point.x < bounds.x + bounds.width * 0.5f;
    }
};

TEST_F(SceneNodeTest, HitTestsSearchTheTopMostSubtreeFirst)
{
    SceneNode* panel = AddNode(root, {0, 0, 100, 100});
    SceneNode* under = AddNode(panel, {10, 10, 50, 50});
    SceneNode* over = AddNode<HalfOpaqueNode>(panel, {10, 10, 50, 50});
    SceneNode* overChild = AddNode(over, {0, 0, 5, 5});
    for (SceneNode* node : {panel, under, over, overChild})
        node->hitTest = true;

    struct HitCase
    {
        const char* name;
        Vector2<float> point;
        SceneNode* expected;
    };
    const std::vector<HitCase> cases = {
        {"the last child's child before the last child", {11, 11}, overChild},
        {"the top-most child where it is opaque", {20, 20}, over},
        {"through its transparent half to the child below", {50, 20}, under},
        {"the parent itself last", {80, 80}, panel},
        {"right and bottom edges outside", {100, 50}, nullptr},
    };
    for (const HitCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, root->GetDescendentAtLocation(c.point));
    }

    // A node that is not hit-testable is passed over, but its children still count.
    over->hitTest = false;
    EXPECT_EQ(under, root->GetDescendentAtLocation({20, 20}));
    EXPECT_EQ(overChild, root->GetDescendentAtLocation({11, 11}));
    // Hidden parents hide their subtree.
    panel->LocalSetVisible(false);
    EXPECT_EQ(nullptr, root->GetDescendentAtLocation({11, 11}));
}

TEST_F(SceneNodeTest, PressesReachTheNearestAncestorWithASlotAndAButtonMask)
{
    SceneNode* button = AddNode(root, {0, 0, 100, 100});
    SceneNode* icon = AddNode(button, {10, 10, 10, 10});
    icon->hitTest = true;
    std::vector<std::string> heard;
    button->mouseDownSignal.connect([&](SceneNode*, MouseButton b, int x, int y)
                                    { heard.push_back("down " + std::to_string(b) + " " + std::to_string(x + y)); });
    button->captureMouseDownSignal.connect([&](SceneNode*, MouseButton, int, int) { heard.push_back("capture"); });

    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 12, 13));
    EXPECT_EQ(MessageResult_Unhandled, mode.OnMouseDown(MouseButton_Right, 12, 13));
    button->mouseButtons = 1u << MouseButton_Right;
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Right, 12, 13));
    // A miss is no press, unless the node holds the capture; a button beyond the mask bits never hits.
    EXPECT_EQ(MessageResult_Unhandled, button->OnMouseDown(MouseButton_Right, 50, 50));
    button->Capture();
    EXPECT_TRUE(button->HasCapture());
    EXPECT_EQ(MessageResult_Handled, button->OnMouseDown(MouseButton_Right, 50, 50));
    EXPECT_EQ(MessageResult_Handled, button->OnMouseDown(static_cast<MouseButton>(40), 12, 13));
    EXPECT_EQ((std::vector<std::string>{"down 0 25", "down 1 25", "capture", "capture"}), heard);
    button->ReleaseCapture();
    EXPECT_FALSE(button->HasCapture());
}

TEST_F(SceneNodeTest, RemovingANodeEndsItsSubtreeEvenWhenSlotsChangeTheTree)
{
    SceneNode* parent = AddNode(root);
    SceneNode* first = AddNode(parent);
    SceneNode* second = AddNode(parent);
    SceneNode* grandchild = AddNode(second);
    SceneNode* bystander = AddNode(root);
    const std::vector<std::pair<SceneNode*, ObjectID>> doomed = {{parent, parent->GetID()},
                                                                 {first, first->GetID()},
                                                                 {second, second->GetID()},
                                                                 {grandchild, grandchild->GetID()}};
    int destroyed = 0;
    for (const auto& [node, id] : doomed)
        node->destroyedSignal.connect([&destroyed](SceneNode*) { ++destroyed; });
    // The first child's end destroys its sibling and tries to adopt the bystander: no crash, and
    // nothing ends twice.
    first->destroyedSignal.connect(
        [&](SceneNode*)
        {
            mode.DestroyObject(second->GetID());
            first->AttachChild(bystander);
        });

    mode.DestroyObject(parent->GetID());
    EXPECT_EQ(nullptr, parent->GetParent());
    EXPECT_EQ(0u, parent->GetChildCount());
    for (int pass = 0; pass < 4; ++pass)
        mode.Update(0.02f);
    for (const auto& [node, id] : doomed)
        EXPECT_EQ(nullptr, mode.GetObject(id));
    EXPECT_EQ(4, destroyed);
    // A node that has ended takes no children: the bystander stays where it was.
    EXPECT_EQ((std::list<SceneNode*>{bystander}), root->GetChildren());
}

TEST(SceneNodeLifetime, NoSignalFiresWhenTheDatabaseDeletesItsNodes)
{
    int fired = 0;
    {
        auto mode = std::make_unique<SceneApplicationMode>();
        MainLoop::AutoContext guard;
        MainLoop::WithinContext(mode.get(), guard);
        mode->Setup();
        auto* child = new SceneNode();
        mode->GetRootNode()->AttachChild(child);
        child->AddToDatabase(mode.get());
        for (SceneNode* node : {mode->GetRootNode(), child})
        {
            node->destroyedSignal.connect([&fired](SceneNode*) { ++fired; });
            node->mouseExitSignal.connect([&fired](SceneNode*) { ++fired; });
        }
        mode->OnNodeEnter(child);
        fired = 0;
        mode.reset();
    }
    EXPECT_EQ(0, fired);
}

TEST(SceneNodeOutsideAScene, FindsNoRootAndTakesNoDatabaseCaptureOrFocus)
{
    ApplicationMode plain;
    MainLoop::AutoContext guard;
    MainLoop::WithinContext(&plain, guard);
    const NodePathStep rootPath[] = {NodePathTerminator()};
    EXPECT_EQ(nullptr, RootDescendent(rootPath));
    EXPECT_EQ(nullptr, SceneApplicationMode::GetCurSceneRootNode());

    SceneNode node;
    node.AddToDatabase(nullptr);
    EXPECT_TRUE(node.GetID().IsInvalid());
    EXPECT_EQ(nullptr, node.GetDatabase());
    node.Capture();
    node.Focus();
    EXPECT_FALSE(node.HasCapture());
    EXPECT_FALSE(node.HasFocus());
}

} // namespace
