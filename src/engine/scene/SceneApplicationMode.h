#pragma once

#include "framework/ApplicationMode.h"
#include "framework/InputEvent.h"
#include "framework/Object.h"
#include "framework/ObjectID.h"

#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

namespace Strata
{

class IInputHandler;
class SceneNode;

// The mode of every screen built from scene nodes. It owns a root node (made by Setup), refreshes and
// draws the tree under it, and routes input: to the node holding the focus or the mouse capture, then
// through the scene from the top of the drawing order down, then to the mode's other input handlers.
// It tracks the node under the mouse for enter and exit signals. All its nodes live in its database.
//
// The capture is the database's own (ObjectDatabase::SetCapture), which holds the platform's mouse
// capture too, so releases outside the window still arrive. It lasts until its holder lets it go (or
// is destroyed), over any number of presses and releases: a widget lets go on its own release, an item
// picked up by one click keeps it until the click that puts it down. While a holder that takes no hits
// anywhere in its subtree has the capture, mouse moves reach it first and then the scene below, so
// the nodes under a carried item still hover. The focus and the hovered node are kept here by
// identifier: a destroyed node is simply no longer found.
class SceneApplicationMode : public ApplicationMode
{
public:
    // What routing calls on each candidate: one input operation.
    using InputCall = std::function<MessageResult(IInputHandler*)>;

    SceneApplicationMode();
    ~SceneApplicationMode() override;

    MessageResult OnKeyDown(int key) override;
    MessageResult OnKeyUp(int key) override;
    MessageResult OnMouseMove(int x, int y) override;
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    MessageResult OnMouseUp(MouseButton button, int x, int y) override;
    // To the focused node first (text fields take their text there), then as the base mode routes it.
    MessageResult OnTextInput(const std::wstring& text) override;

    // The database's update (tasks, objects, purge), then a refresh of the whole tree.
    void Update(float dt) override;
    // The tree, parents first; nothing else of the database is drawn.
    void Draw() override;
    // Makes the root (a plain node with no name) and adds it to the database; derived screens call it
    // first, then instantiate their layouts under the root. A second call keeps the first root.
    void Setup() override;

    // The root of the context mode when that is a scene mode, else null.
    static SceneNode* GetCurSceneRootNode();
    // Null before Setup, or once the root was destroyed.
    SceneNode* GetRootNode() const;

    // Null stores no node. Setting sends no message to the node that gains or loses either.
    SceneNode* GetMouseCapturingNode() const;
    void SetMouseCapturingNode(SceneNode* node);
    SceneNode* GetFocusedNode() const;
    void SetFocusedNode(SceneNode* node);
    SceneNode* GetHoveredNode() const;

    // Hover tracking: at most one node is hovered. Entering a node other than the hovered one exits
    // that one first; exiting clears the hover whether or not the node still lives.
    void OnNodeEnter(SceneNode* node);
    void OnNodeExit();

protected:
    // Offers an event to the live input handler `target` (alone when `exclusive`), then through the
    // scene bottom-up (never to `target` again), then to the database's other input handlers that
    // are not scene nodes. Handled when one of them handles it.
    MessageResult RouteInputEvent(ObjectID target, bool exclusive, const InputCall& call);

private:
    SceneNode* LiveNode(ObjectID id) const;
    // No node of the subtree has its hit test on.
    static bool TakesNoHits(SceneNode* node);
    MessageResult OfferToOtherHandlers(ObjectID skip, const InputCall& call);
    // Whether the live object of the slot is a scene node.
    bool IsSceneNode(const ObjectDescriptor& slot);
    bool LearnSlotKind(uint32_t index, const std::type_info* type, Object* object);

    // Per slot, the dynamic type last seen there and whether it is a scene node: every unhandled move
    // asks this of every object, and the cast is dear while the type rarely changes.
    struct sSlotKind
    {
        const std::type_info* type = nullptr;
        bool sceneNode = false;
    };
    std::vector<sSlotKind> mSlotKinds;
    ObjectID mRootID;
    ObjectID mHoveredNode;
    ObjectID mFocusedNode;
};

} // namespace Strata
