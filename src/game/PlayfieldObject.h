#pragma once

// A mini-game's playfield object: a scene-layout controller that builds its own small node tree from a
// scene layout and hands it to the scene when the game adds it. It tells its game what happens to it
// through its signals, which the game connects when it makes the object; it never looks for its game.

#include "scene/LazySignal.h"
#include "scene/NodePath.h"
#include "scene/SceneLayoutController.h"

namespace Yardcrew
{

class PlayfieldObject : public Strata::SceneLayoutController
{
public:
    // The tree, once; the scene owns it from then on.
    Strata::SceneTreePtr GetLayoutNode() override;

    // The root of the tree, before and after the scene has taken it; null once it is gone or when the
    // layout was missing.
    Strata::SceneNode* LayoutRoot() const;
    // The node at that path below the root; null when there is none.
    Strata::SceneNode* LayoutNode(Strata::NodePath path) const;
    // While the pointer is over `target`, the node at `rollover` (a path that outlives the object)
    // shows, and `sound` plays as the pointer comes; hidden until then.
    void ConnectRollover(Strata::SceneNode& target, Strata::NodePath rollover, const char* sound);

    // The child pressed the object's click target.
    Strata::LazySignal<void()> pressedSignal;
    // The object reached where it was sent; `at` is the object it was sent to, null for a place.
    Strata::LazySignal<void(PlayfieldObject* at)> arrivedSignal;

protected:
    // A missing layout is logged and leaves the object without nodes.
    explicit PlayfieldObject(const char* layout);

    // ConnectRollover, and a press on `target` plays `clickSound` and fires pressedSignal (the release
    // does nothing).
    void ConnectClickTarget(Strata::SceneNode& target, Strata::NodePath rollover, const char* clickSound,
                            const char* rolloverSound);

private:
    Strata::SceneTreePtr mTree;
};

} // namespace Yardcrew
