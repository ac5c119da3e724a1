#pragma once

// A tool on the tool shed's floor. A click picks it up and it follows the pointer; the next click drops
// it on the box under the pointer, which takes it in if it is of the box's kind or colour, or sends it
// back to its place on the floor. In a box it takes no more clicks. It tells its game through
// pressedSignal (picked up) and arrivedSignal (back on the floor, with null).

#include "framework/ObjectID.h"
#include "game/HeldItem.h"
#include "game/PlayfieldObject.h"
#include "game/ToolShed/ToolShedLevel.h"

namespace Strata
{
class Object;
class SceneNode;
} // namespace Strata

namespace Yardcrew
{

class ToolShedToolBox;

class ToolShedItem final : public PlayfieldObject, public HeldDragSource<ToolShedItem*>
{
public:
    // Builds the tool's nodes from "ToolShedItemLayout"; the game then adds it at its place on the floor.
    explicit ToolShedItem(const ToolShedTool& tool);

    // "ToolShed_Item".
    Strata::Label GetRole() const override;
    void Update(float) override {}

    const ToolShedTool& getTool() const { return mTool; }
    // The picture, the click target; null when the layout was missing.
    Strata::SceneNode* getImageNode() const;
    void acceptMouseInput(bool accept);
    bool isHeld() const { return GetHeldDragSource() == this; }
    bool isInBox() const { return mInBox; }

    // Hides the tool and queues its throw: after `delay` seconds it flies from `from` (on the screen) up
    // and down onto its place, in `seconds`. Returns the node whose chain ends with the landing, for
    // the game to meet; null when the tool has no nodes.
    Strata::Object* throwUp(Strata::Vector2<float> from, float delay, float seconds);
    // Puts the tool in hand into the box, standing at `offset` inside it; it takes no clicks from then on.
    void putInBox(ToolShedToolBox& box, Strata::Vector2<float> offset);

private:
    void pickUp(int x, int y);
    void showRollover(bool show);
    void DoOnStartDragging() override;
    void DoOnCancel() override;
    void DoOnReleased() override;

    ToolShedTool mTool;
    bool mInBox = false;
};

} // namespace Yardcrew
