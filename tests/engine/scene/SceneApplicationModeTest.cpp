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

// Logs the moves it hears by tag; may take those over it, or edit the scene on each one.
class MoveNode : public SceneNode
{
public:
    MessageResult OnMouseMove(int x, int y) override
    {
        log->push_back(tag + " move");
        if (onMove)
            onMove();
        const bool over = GlobalBoundsContains(static_cast<float>(x), static_cast<float>(y));
        return takesMoves && over ? MessageResult_Handled : MessageResult_Unhandled;
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
        : EnableComponent(enabled), log(log), tag(std::move(tag))
    {
    }
    MessageResult OnMouseMove(int, int) override
    {
        log->push_back(tag + " move");
        return MessageResult_Unhandled;
    }

    std::vector<std::string>* log;
    std::string tag;
};

// What a move must do, walked the plainest way: a recursion over a snapshot of each node's children,
// last to first, each subtree before its node, skipping a node destroyed or moved away meanwhile; every
// node with enter or exit slots asked afresh whether its subtree is hit; then the mode's other handlers.
MessageResult ReferenceMove(SceneApplicationMode& mode, int x, int y)
{
    const Vector2<float> point(static_cast<float>(x), static_cast<float>(y));
    bool entered = false;
    SceneNode* skip = nullptr;
    const auto visit = [&](SceneNode* node)
    {
        const ObjectID id = node->GetID();
        if (node == skip)
            return false;
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
    std::function<bool(SceneNode*)> takesNoHits = [&](SceneNode* node)
    { return !node->hitTest && std::all_of(node->GetChildren().begin(), node->GetChildren().end(), takesNoHits); };

    bool handled = false;
    bool walkScene = true;
    if (Object* capture = mode.GetCapture())
    {
        auto* node = dynamic_cast<SceneNode*>(capture);
        if (node)
            visit(node);
        else
            dynamic_cast<IInputHandler*>(capture)->OnMouseMove(x, y);
        handled = true;
        walkScene = node != nullptr && mode.GetObject(node->GetID()) == node && takesNoHits(node);
        skip = walkScene ? node : nullptr;
    }
    if (SceneNode* root = walkScene ? mode.GetRootNode() : nullptr)
        handled = walk(root, root->GetParent()) || handled;
    if (!entered)
        mode.OnNodeExit();
    ObjectDatabase::sIterator iterator;
    for (ObjectID id = mode.GetNextObject(&iterator); !handled && !id.IsInvalid(); id = mode.GetNextObject(&iterator))
    {
        const ObjectDescriptor& slot = mode.GetObjectDescriptor(id);
        if (slot.mInputHandler && dynamic_cast<SceneNode*>(slot.mObject) == nullptr &&
            (!slot.mEnable || slot.mEnable->IsEnabled()) && (!slot.mVisible || slot.mVisible->IsVisible()))
            handled = slot.mInputHandler->OnMouseMove(x, y) == MessageResult_Handled;
    }
    return handled ? MessageResult_Handled : MessageResult_Unhandled;
}

// Shares, in percent, of a random scene's nodes and of the steps played on it.
struct sMoveMix
{
    const char* name;
    uint32_t seed;
    int hover;      // nodes with enter and exit slots
    int hidden;     // hidden nodes
    int slotEdits;  // enter slots that destroy their own node or edit others; a quarter of it, move handlers
    int takesMoves; // nodes that take the moves over them
    int captures;   // steps that capture a node or a listener, or let go
    int churn;      // steps that destroy an object, purge and add another, reusing slots
};

// A random scene in a mode of its own: the same seed builds and plays the same. What its nodes and
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

    MessageResult Step(bool reference)
    {
        if (Chance(mMix.captures))
            mode.SetCapture(Chance(30) ? nullptr : mode.GetObject(mIDs[Below(mIDs.size())]));
        if (Chance(mMix.churn))
        {
            mode.DestroyObject(mIDs[Below(mIDs.size())]);
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
    int Below(size_t n) { return static_cast<int>(mRandom() % n); }
    bool Chance(int percent) { return Below(100) < percent; }
    SceneNode* Live(ObjectID id) const { return dynamic_cast<SceneNode*>(mode.GetObject(id)); }

    void Create()
    {
        const std::string tag = "#" + std::to_string(mCreated++);
        if (Chance(8))
        {
            mIDs.push_back(mode.AddObject(new MoveListener(&log, tag, Chance(60))));
            return;
        }
        SceneNode* parent = mIDs.empty() ? nullptr : Live(mIDs[Below(mIDs.size())]);
        auto* node = new MoveNode();
        node->log = &log;
        node->tag = tag;
        // Placed from the parent's corner, near it, so that deep nodes stay in reach.
        node->LocalSetLocation(static_cast<float>(Below(120) - 40), static_cast<float>(Below(120) - 40));
        node->SetWidth(static_cast<float>(10 + Below(150)));
        node->SetHeight(static_cast<float>(10 + Below(150)));
        node->hitTest = Chance(60);
        node->LocalSetVisible(!Chance(mMix.hidden));
        node->takesMoves = Chance(mMix.takesMoves);
        if (Chance(mMix.slotEdits / 4))
            node->onMove = Edit();
        if (Chance(mMix.hover))
        {
            const bool destroysItself = Chance(mMix.slotEdits);
            const std::function<void()> edit = Chance(mMix.slotEdits) ? Edit() : nullptr;
            node->mouseEnterSignal.connect(
                [this, tag, edit, destroysItself](SceneNode* self)
                {
                    log.push_back(tag + " enter");
                    selfDestroyed += destroysItself ? 1 : 0;
                    if (destroysItself)
                        mode.DestroyObject(self->GetID());
                    else if (edit)
                        edit();
                });
            node->mouseExitSignal.connect([this, tag](SceneNode*) { log.push_back(tag + " exit"); });
        }
        (parent ? parent : mode.GetRootNode())->AttachChild(node);
        node->AddToDatabase(&mode);
        mIDs.push_back(node->GetID());
    }

    // Destroys, hides or shows, moves, or lifts to the root a node drawn now.
    std::function<void()> Edit()
    {
        const ObjectID target = mIDs.empty() ? ObjectID() : mIDs[Below(mIDs.size())];
        const int kind = Below(6);
        const float at = static_cast<float>(Below(200));
        return [this, target, kind, at]
        {
            SceneNode* node = Live(target);
            if (node == nullptr)
                return;
            ++edits;
            if (kind == 0)
                mode.DestroyObject(target);
            else if (kind <= 2)
                node->LocalSetVisible(!node->LocalIsVisible());
            else if (kind <= 4)
                node->LocalSetLocation(at, at);
            else
                mode.GetRootNode()->AttachChild(node);
        };
    }

    sMoveMix mMix;
    std::mt19937 mRandom;
    std::vector<ObjectID> mIDs;
    int mCreated = 0;
};

// Every move routed by the mode against the reference walk over twin scenes: what every node and
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
            ASSERT_EQ(reference.Step(true), routed.Step(false)) << "step " << step;
            ASSERT_EQ(reference.log, routed.log) << "step " << step;
            const SceneNode* hovered = reference.mode.GetHoveredNode();
            ASSERT_EQ(hovered ? hovered->GetID() : ObjectID(),
                      routed.mode.GetHoveredNode() ? routed.mode.GetHoveredNode()->GetID() : ObjectID())
                << "step " << step;
        }
        // The mix was played: nodes were entered and, in the rows with edits, slots edited the scene and
        // an enter slot destroyed its own node.
        EXPECT_GT(std::count_if(routed.log.begin(), routed.log.end(),
                                [](const std::string& line) { return line.ends_with(" enter"); }),
                  10);
        EXPECT_EQ(mix.slotEdits > 0, routed.edits > 0 && routed.selfDestroyed > 0);
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
