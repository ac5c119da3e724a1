#include "SceneTestSupport.h"

#include "framework/ObjectInterfaces.h"
#include "support/FakePlatform.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace
{

using namespace SceneTesting;

// Counts the key presses it is offered.
class CountingNode : public SceneNode
{
public:
    MessageResult OnKeyDown(int key) override
    {
        ++offered;
        return SceneNode::OnKeyDown(key);
    }
    int offered = 0;
};

// An input handler of the mode that is not a node.
class Listener : public Object, public InputHandlerComponent
{
public:
    explicit Listener(std::vector<std::string>* log) : mLog(log) {}
    MessageResult OnKeyDown(int) override
    {
        mLog->push_back("listener");
        return MessageResult_Handled;
    }
    MessageResult OnMouseDown(MouseButton, int, int) override
    {
        mLog->push_back("listener");
        return MessageResult_Handled;
    }

private:
    std::vector<std::string>* mLog;
};

class SceneModeTest : public SceneFixture
{
public:
    // A node of the given bounds that logs its key presses, or its presses, releases, enters and exits,
    // by name.
    SceneNode* Logged(const std::string& name, Rect<float> bounds, bool keys, bool mouse)
    {
        auto* node = AddNode<CountingNode>(root, bounds);
        node->hitTest = true;
        if (keys)
            node->keyDownSignal.connect([this, name](SceneNode*, int) { log.push_back(name); });
        if (mouse)
        {
            node->mouseDownSignal.connect([this, name](SceneNode*, MouseButton, int, int)
                                          { log.push_back(name + " down"); });
            node->mouseUpSignal.connect([this, name](SceneNode*, MouseButton, int, int)
                                        { log.push_back(name + " up"); });
            node->mouseEnterSignal.connect([this, name](SceneNode*) { log.push_back(name + " enter"); });
            node->mouseExitSignal.connect([this, name](SceneNode*) { log.push_back(name + " exit"); });
        }
        return node;
    }

    // A fresh scene for a key press: a listener, two nodes with key slots and, top-most, a silent one.
    void ResetKeyScene()
    {
        mode.SetFocusedNode(nullptr);
        for (SceneNode* node : std::list<SceneNode*>(root->GetChildren()))
            mode.DestroyObject(node->GetID());
        mode.Update(0.0f);
        mode.AddObject(new Listener(&log));
        lower = Logged("lower", {}, true, false);
        upper = Logged("upper", {}, true, false);
        silent = static_cast<CountingNode*>(Logged("silent", {}, false, false));
        log.clear();
    }

    // A key press is handled, heard by `heard` alone, and the silent node was offered it at most once:
    // it is top-most, so a walk that offered the focus again would reach it first.
    void ExpectKeyHeardBy(const std::string& heard)
    {
        EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown(13));
        EXPECT_EQ(std::vector<std::string>{heard}, log);
        EXPECT_LE(silent->offered, 1);
    }

    std::vector<std::string> log;
    SceneNode* lower = nullptr;
    CountingNode* silent = nullptr;
    SceneNode* upper = nullptr;
};

TEST_F(SceneModeTest, KeysGoToTheFocusThenTopDownThenOtherHandlers)
{
    ResetKeyScene();
    ExpectKeyHeardBy("upper"); // no focus: the top-most node with a key slot
    ResetKeyScene();
    lower->Focus();
    ExpectKeyHeardBy("lower");
    ResetKeyScene();
    silent->Focus(); // a focused node without a slot
    ExpectKeyHeardBy("upper");
    ResetKeyScene();
    upper->Focus();
    mode.DestroyObject(upper->GetID()); // a destroyed focus is not found
    ExpectKeyHeardBy("lower");
    ResetKeyScene();
    lower->keyDownSignal.disconnect_all_slots();
    upper->keyDownSignal.disconnect_all_slots();
    ExpectKeyHeardBy("listener"); // no node takes it: the mode's other handlers
}

TEST_F(SceneModeTest, ACaptureLastsUntilItsHolderLetsGo)
{
    Testing::CallLog platformCalls;
    Testing::FakePlatform platform(&platformCalls);
    Logged("below", {0, 0, 100, 100}, false, true);
    SceneNode* holder = Logged("holder", {200, 200, 10, 10}, false, true);
    holder->captureMouseDownSignal.connect([this](SceneNode*, MouseButton, int, int) { log.push_back("held down"); });

    // Captured on its own press, the holder keeps the capture over the release and takes the next
    // press elsewhere: the node hit there hears nothing.
    holder->mouseDownSignal.connect([holder](SceneNode*, MouseButton, int, int) { holder->Capture(); });
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 205, 205));
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseUp(MouseButton_Left, 205, 205));
    EXPECT_EQ(holder, mode.GetMouseCapturingNode());
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 50, 50));
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseUp(MouseButton_Left, 50, 50));
    EXPECT_EQ((std::vector<std::string>{"holder down", "holder up", "held down"}), log);

    // Let go, the next press goes by hit test again.
    holder->ReleaseCapture();
    log.clear();
    mode.OnMouseDown(MouseButton_Left, 50, 50);
    EXPECT_EQ((std::vector<std::string>{"below down"}), log);

    // Moves: a holder that takes hits has them alone; one that takes none lets the nodes below hover.
    log.clear();
    holder->Capture();
    mode.OnMouseMove(50, 50);
    holder->hitTest = false;
    mode.OnMouseMove(51, 50);
    mode.OnMouseMove(150, 150);
    EXPECT_EQ((std::vector<std::string>{"below enter", "below exit"}), log);

    // A destroyed holder no longer holds anything.
    mode.DestroyObject(holder->GetID());
    EXPECT_EQ(nullptr, mode.GetMouseCapturingNode());
    const auto count = [&platformCalls](const char* call)
    { return std::count(platformCalls.begin(), platformCalls.end(), std::string(call)); };
    EXPECT_EQ(2, count("CaptureMouse"));
    EXPECT_EQ(2, count("ReleaseMouse"));
}

TEST_F(SceneModeTest, HoveringEntersTheTopMostNodeAndExitsItOnce)
{
    lower = Logged("lower", {0, 0, 100, 100}, false, true);
    upper = Logged("upper", {50, 0, 100, 100}, false, true);
    mode.OnMouseMove(10, 10);
    mode.OnMouseMove(20, 10);
    mode.OnMouseMove(60, 10);
    mode.OnMouseLeave();
    mode.OnMouseMove(300, 300);
    mode.OnMouseMove(301, 300);
    EXPECT_EQ((std::vector<std::string>{"lower enter", "lower exit", "upper enter", "upper exit"}), log);
    EXPECT_EQ(nullptr, mode.GetHoveredNode());

    // A hovered node that is destroyed hears nothing more; an enter slot may destroy its own node.
    log.clear();
    mode.OnMouseMove(10, 10);
    mode.DestroyObject(lower->GetID());
    upper->mouseEnterSignal.connect([this](SceneNode*) { mode.DestroyObject(upper->GetID()); });
    mode.OnMouseMove(60, 10);
    mode.OnMouseMove(300, 300);
    EXPECT_EQ((std::vector<std::string>{"lower enter", "upper enter"}), log);
}

// --- Moves against a plain reference walk ---

// A node that logs the moves it hears by tag; it may take those over it, or edit the scene when it hears
// one.
class MoveNode : public SceneNode
{
public:
    MessageResult OnMouseMove(int x, int y) override
    {
        log->push_back(tag + " move");
        if (onMove)
            onMove();
        return takesMoves && GlobalBoundsContains(static_cast<float>(x), static_cast<float>(y))
                   ? MessageResult_Handled
                   : MessageResult_Unhandled;
    }

    std::vector<std::string>* log = nullptr;
    std::string tag;
    bool takesMoves = false;
    std::function<void()> onMove;
};

// A handler of the mode that is not a node, enabled or not.
class MoveListener : public Object, public InputHandlerComponent, public EnableComponent
{
public:
    MoveListener(std::vector<std::string>* log, std::string tag, bool enabled)
        : EnableComponent(enabled), mLog(log), mTag(std::move(tag))
    {
    }
    MessageResult OnMouseMove(int, int) override
    {
        mLog->push_back(mTag + " move");
        return MessageResult_Unhandled;
    }

private:
    std::vector<std::string>* mLog;
    std::string mTag;
};

bool ReferenceTakesNoHits(SceneNode* node)
{
    if (node->hitTest)
        return false;
    for (SceneNode* child : node->GetChildren())
        if (!ReferenceTakesNoHits(child))
            return false;
    return true;
}

// What a move must do, walked the plainest way: a recursion over a snapshot of each node's children,
// last to first, each subtree before its node, skipping a node destroyed or moved away meanwhile; every
// node with enter or exit slots asked afresh whether its subtree is hit; then every other handler of the
// mode, in slot order, by dynamic casts.
MessageResult ReferenceMove(SceneApplicationMode& mode, int x, int y)
{
    const Vector2<float> point(static_cast<float>(x), static_cast<float>(y));
    bool entered = false;
    SceneNode* skip = nullptr;
    const auto visit = [&](SceneNode* node)
    {
        if (node == skip)
            return false;
        const ObjectID id = node->GetID();
        if (!entered && node->HandlesMouseEnterExit() && node->GetDescendentAtLocation(point) != nullptr)
        {
            mode.OnNodeEnter(node);
            entered = true;
            if (mode.GetObject(id) != node)
                return false;
        }
        return node->OnMouseMove(x, y) == MessageResult_Handled;
    };
    std::function<bool(SceneNode*, SceneNode*)> walk = [&](SceneNode* node, SceneNode* parent)
    {
        const ObjectID id = node->GetID();
        const auto there = [&] { return mode.GetObject(id) == node && node->GetParent() == parent; };
        if (!there())
            return false;
        const std::vector<SceneNode*> children(node->GetChildren().rbegin(), node->GetChildren().rend());
        for (SceneNode* child : children)
            if (walk(child, node))
                return true;
        return there() && visit(node);
    };

    bool handled = false;
    bool walkScene = true;
    if (Object* capture = mode.GetCapture())
    {
        auto* node = dynamic_cast<SceneNode*>(capture);
        if (node)
            visit(node);
        else if (auto* handler = dynamic_cast<IInputHandler*>(capture))
            handler->OnMouseMove(x, y);
        handled = true;
        walkScene = node != nullptr && mode.GetObject(node->GetID()) == node && ReferenceTakesNoHits(node);
        if (walkScene)
            skip = node;
    }
    if (SceneNode* root = walkScene ? mode.GetRootNode() : nullptr)
        handled = walk(root, root->GetParent()) || handled;
    if (!entered)
        mode.OnNodeExit();
    if (handled)
        return MessageResult_Handled;
    ObjectDatabase::sIterator iterator;
    for (ObjectID id = mode.GetNextObject(&iterator); !id.IsInvalid(); id = mode.GetNextObject(&iterator))
    {
        Object* object = mode.GetObject(id);
        auto* handler = dynamic_cast<IInputHandler*>(object);
        if (handler == nullptr || dynamic_cast<SceneNode*>(object) != nullptr)
            continue;
        auto* enable = dynamic_cast<IEnable*>(object);
        auto* visible = dynamic_cast<IVisible*>(object);
        if ((enable && !enable->IsEnabled()) || (visible && !visible->IsVisible()))
            continue;
        if (handler->OnMouseMove(x, y) == MessageResult_Handled)
            return MessageResult_Handled;
    }
    return MessageResult_Unhandled;
}

// Shares of a random scene and of the steps played on it, in percent.
struct sMoveMix
{
    const char* name;
    uint32_t seed;
    int hover;      // nodes with enter and exit slots
    int hidden;     // nodes hidden
    int slotEdits;  // slots and move handlers that destroy, hide, move or re-parent nodes
    int takesMoves; // nodes that take the move and end the walk
    int captures;   // steps that capture a node or a listener, or let go
    int churn;      // steps that destroy an object, purge and add another in its slot
};

// One random scene in its own mode, built the same way from the same seed. Everything its nodes and
// listeners hear goes to `log`.
class MoveWorld
{
public:
    explicit MoveWorld(const sMoveMix& mix) : mMix(mix), mRandom(mix.seed)
    {
        mode.Setup();
        for (int i = 0; i < 60; ++i)
            Create();
    }

    int Below(int n) { return static_cast<int>(mRandom() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

    // A live node or the root.
    SceneNode* Pick()
    {
        if (mIDs.empty())
            return mode.GetRootNode();
        const ObjectID id = mIDs[Below(static_cast<int>(mIDs.size()))];
        auto* node = dynamic_cast<SceneNode*>(mode.GetObject(id));
        return node != nullptr ? node : mode.GetRootNode();
    }

    // A nested node or, now and then, a listener; an edit drawn now, run when its slot fires.
    void Create()
    {
        const std::string tag = "#" + std::to_string(mCreated++);
        if (Chance(8))
        {
            mIDs.push_back(mode.AddObject(new MoveListener(&log, tag, Chance(60))));
            return;
        }
        SceneNode* parent = Pick();
        auto* node = new MoveNode();
        node->log = &log;
        node->tag = tag;
        // Children are placed from their parent's corner: kept near it, deep nodes stay in reach.
        node->LocalSetLocation(static_cast<float>(Below(120) - 40), static_cast<float>(Below(120) - 40));
        node->SetWidth(static_cast<float>(10 + Below(150)));
        node->SetHeight(static_cast<float>(10 + Below(150)));
        node->hitTest = Chance(60);
        node->LocalSetVisible(!Chance(mMix.hidden));
        node->takesMoves = Chance(mMix.takesMoves);
        // A move handler edits at every move it hears: fewer of them.
        if (Chance(mMix.slotEdits / 4))
            node->onMove = Edit();
        if (Chance(mMix.hover))
        {
            const std::function<void()> edit = Chance(mMix.slotEdits) ? Edit() : nullptr;
            const bool destroysItself = Chance(mMix.slotEdits);
            node->mouseEnterSignal.connect(
                [this, tag, edit, destroysItself](SceneNode* entered)
                {
                    log.push_back(tag + " enter");
                    if (destroysItself)
                    {
                        ++selfDestroyed;
                        mode.DestroyObject(entered->GetID());
                    }
                    else if (edit)
                        edit();
                });
            node->mouseExitSignal.connect([this, tag](SceneNode*) { log.push_back(tag + " exit"); });
        }
        parent->AttachChild(node);
        node->AddToDatabase(&mode);
        mIDs.push_back(node->GetID());
    }

    // An edit of the scene, its target and kind drawn now so both worlds make the same one.
    std::function<void()> Edit()
    {
        const size_t target = mIDs.empty() ? 0 : static_cast<size_t>(Below(static_cast<int>(mIDs.size())));
        const int kind = Below(6);
        const float at = static_cast<float>(Below(200));
        return [this, target, kind, at]
        {
            if (target >= mIDs.size())
                return;
            auto* node = dynamic_cast<SceneNode*>(mode.GetObject(mIDs[target]));
            if (node == nullptr)
                return;
            ++edits;
            if (kind == 0)
                mode.DestroyObject(node->GetID());
            else if (kind <= 2)
                node->LocalSetVisible(!node->LocalIsVisible());
            else if (kind <= 4)
                node->LocalSetLocation(at, at);
            else if (SceneNode* root = mode.GetRootNode())
                root->AttachChild(node);
        };
    }

    // One step drawn from the mix; a move is routed by the mode or by the reference.
    MessageResult Step(bool reference)
    {
        if (Chance(mMix.captures))
        {
            const ObjectID id = mIDs[Below(static_cast<int>(mIDs.size()))];
            mode.SetCapture(Chance(30) ? nullptr : mode.GetObject(id));
        }
        if (Chance(mMix.churn))
        {
            mode.DestroyObject(mIDs[Below(static_cast<int>(mIDs.size()))]);
            mode.Update(0.0f);
            Create();
        }
        const int x = Below(260) - 20;
        const int y = Below(260) - 20;
        return reference ? ReferenceMove(mode, x, y) : mode.OnMouseMove(x, y);
    }

    std::vector<std::string> log;
    SceneApplicationMode mode;
    int edits = 0;
    int selfDestroyed = 0;

private:
    sMoveMix mMix;
    std::mt19937 mRandom;
    std::vector<ObjectID> mIDs;
    int mCreated = 0;
};

// The mode's routing of every move, against the reference walk over twin scenes: what every node and
// listener hears, in order, the answer, and the node left hovered.
TEST(SceneModeMoves, RoutedAsThePlainWalkRoutesThem)
{
    const sMoveMix kMixes[] = {
        // name, seed, then the shares: hover, hidden, slot edits, moves taken, captures, churn
        {"nested hovering", 1, 60, 0, 0, 0, 0, 0}, {"hidden nodes", 2, 50, 40, 0, 0, 0, 0},
        {"captures", 3, 40, 10, 0, 0, 25, 0},      {"slots that edit", 4, 60, 10, 40, 0, 5, 0},
        {"moves taken", 5, 40, 5, 10, 10, 5, 0},   {"slots reused", 6, 40, 10, 10, 5, 10, 30},
        {"everything", 7, 50, 20, 30, 5, 15, 15},
    };
    for (const sMoveMix& mix : kMixes)
    {
        SCOPED_TRACE(mix.name);
        MoveWorld routed(mix);
        MoveWorld reference(mix);
        for (int step = 0; step < 300; ++step)
        {
            const MessageResult got = routed.Step(false);
            const MessageResult expected = reference.Step(true);
            ASSERT_EQ(expected, got) << "step " << step;
            ASSERT_EQ(reference.log, routed.log) << "step " << step;
            const SceneNode* hoveredRouted = routed.mode.GetHoveredNode();
            const SceneNode* hoveredReference = reference.mode.GetHoveredNode();
            ASSERT_EQ(hoveredReference ? hoveredReference->GetID() : ObjectID(),
                      hoveredRouted ? hoveredRouted->GetID() : ObjectID())
                << "step " << step;
        }
        const auto enters = std::count_if(routed.log.begin(), routed.log.end(),
                                          [](const std::string& line) { return line.ends_with(" enter"); });
        // The mix was played: hovering happened, and the rows with edits edited, an enter slot
        // destroying its own node among them.
        EXPECT_GT(enters, 10);
        if (mix.slotEdits > 0)
        {
            EXPECT_GT(routed.edits, 0);
            EXPECT_GT(routed.selfDestroyed, 0);
        }
    }
}

TEST(SceneModeWithoutRoot, UpdateDrawAndInputSkipTheScene)
{
    SceneApplicationMode mode;
    MainLoop::AutoContext guard;
    MainLoop::WithinContext(&mode, guard);
    std::vector<std::string> log;
    mode.AddObject(new Listener(&log));
    mode.Update(0.02f);
    mode.Draw();
    EXPECT_EQ(nullptr, mode.GetRootNode());
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 1, 1));
    EXPECT_EQ(MessageResult_Unhandled, mode.OnMouseMove(1, 1));
    EXPECT_EQ((std::vector<std::string>{"listener"}), log);

    // Setup makes one root, once.
    mode.Setup();
    SceneNode* root = mode.GetRootNode();
    ASSERT_NE(nullptr, root);
    mode.Setup();
    EXPECT_EQ(root, mode.GetRootNode());
    EXPECT_EQ(root, SceneApplicationMode::GetCurSceneRootNode());
}

} // namespace
