#pragma once

// A piece of the jigsaw: one frame of the level's pieces list, its picture reaching past its cell where
// its tabs stick out. A click on it picks it up and it follows the pointer; the next click drops it on
// the slot under the pointer, which takes it only when it is the piece's own, else it goes back to its
// place in the tray. Placed, it takes no more clicks. It tells its game through pressedSignal (picked
// up) and arrivedSignal (back in the tray, null; placed, its slot).

#include "game/HeldItem.h"
#include "game/PlayfieldObject.h"

#include "core/Label.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class SproutPuzzlePieceSlot;

class SproutPuzzlePiece final : public PlayfieldObject, public HeldDragSource<SproutPuzzlePiece*>
{
public:
    // Builds the piece from "SproutPuzzlePieceLayout" showing frame `index` of the list `pieces`; the
    // game adds it under its slot, where the whole picture first shows.
    SproutPuzzlePiece(int index, Strata::Label pieces);

    // "SproutPuzzle_Piece".
    Strata::Label GetRole() const override;
    void Update(float) override {}

    int getIndex() const { return mIndex; }
    bool isPlaced() const { return mPlaced; }
    bool isHeld() const { return GetHeldDragSource() == this; }
    // The picture, the click target; null when the layout lacks it.
    Strata::SceneNode* getImageNode() const;
    void acceptMouseInput(bool accept);

    // Moves the piece under `spot` where it stands on screen, then, after `delay`, slides it onto the
    // spot's corner in `seconds`. Returns the node whose chain ends with the slide; null without nodes.
    Strata::SceneNode* scatterTo(Strata::SceneNode& spot, float delay, float seconds);
    // Picks it up from the pointer at (x, y).
    void pickUp(int x, int y);
    // Fits it into its slot for good.
    void snapInto(SproutPuzzlePieceSlot& slot);

private:
    void DoOnStartDragging() override;
    void DoOnCancel() override;
    void DoOnReleased() override;

    int mIndex;
    bool mPlaced = false;
};

} // namespace Yardcrew
