#include "SceneTestSupport.h"

#include "framework/ObjectInterfaces.h"
#include "support/FakePlatform.h"

#include <algorithm>
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
