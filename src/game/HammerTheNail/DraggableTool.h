#pragma once

// A tool in the hammering game's tool box: a wrench or a screwdriver in one colour. A press on it asks
// the game to take it in hand; in hand a copy follows the pointer while its place in the box looks
// empty, and a press elsewhere puts it back. A press on another tool in the box swaps the two. On a
// nail it plays one stroke, pinned on the nail, and then follows the pointer again.

#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HeldItem.h"
#include "game/PlayfieldObject.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class TargetNail;

class DraggableTool final : public PlayfieldObject,
                            public HeldDragSource<DraggableTool*>,
                            public DragTarget<DraggableTool*>
{
public:
    // Builds the tool's nodes from "ToolLayout"; the game then adds it under a box slot.
    DraggableTool(FixItToolType type, FixItToolColor color);

    FixItToolType getType() const { return mType; }
    FixItToolColor getColor() const { return mColor; }
    // The box picture, the click target; null when the layout was missing.
    Strata::SceneNode* getShapeNode() const;
    // The picture in hand, the wrench or the screwdriver; null while the tool is in the box.
    Strata::SceneNode* getAnimatedNode() const;
    bool isHeld() const { return GetHeldDragSource() == this; }

    // Takes the tool in hand from the pointer at (x, y): the copy goes under the effects layer.
    void takeInHand(int x, int y);
    void acceptMouseInput(bool accept);
    // Pins the copy on the nail and queues its turn there; returns the node whose chain ends with the
    // turn, for the game to meet. Null when the tool is not in hand.
    Strata::SceneNode* animateClickOnNail(const TargetNail& nail);
    // The copy follows the pointer again, back where it was held.
    void returnToolToCursor();

    // A press on this tool while another is in hand: the other goes back and this one is taken.
    bool UseInPlace(DraggableTool* held) override;

    // The tool went back to the box (arrivedSignal with null); pressedSignal asks to take it.

private:
    void DoOnStartDragging() override;
    void DoOnCancel() override;
    void DoOnReleased() override;
    void putBack();
    void showRollover(bool show);

    FixItToolType mType;
    FixItToolColor mColor;
    // Where the copy sat in its carrier before a stroke pinned it on a nail.
    Strata::Vector2<float> mHeldLocation;
    // Set while a swap sends this tool back: the tool taken sounds its pick-up first, then the box.
    bool mQuietReturn = false;
};

} // namespace Yardcrew
