#pragma once

// A cell of the jigsaw's board: the place of one piece. While a piece is carried over it, it is the
// current drop target; a piece dropped on it is reported through dropSignal, and the game decides.

#include "game/DragAndDrop.h"
#include "game/PlayfieldObject.h"

namespace Yardcrew
{

class SproutPuzzlePiece;

class SproutPuzzlePieceSlot final : public PlayfieldObject, public DragTarget<SproutPuzzlePiece*>
{
public:
    // Builds the slot from "SproutPuzzlePieceSlotLayout" with a drop area of the cell's size; the game
    // adds it at the cell's corner on the board.
    SproutPuzzlePieceSlot(int index, float width, float height);

    // "SproutPuzzle_PieceSlot".
    Strata::Label GetRole() const override;
    void Update(float) override {}
    void AddedToScene() override;

    int getIndex() const { return mIndex; }
    // The piece of this slot fits here.
    bool fits(const SproutPuzzlePiece& piece) const;
    // The area over which a carried piece can be dropped; null when the layout lacks it.
    Strata::SceneNode* getDropNode() const;

    void DropActivated(SproutPuzzlePiece* piece) override;

    // A piece was dropped here, whichever it is.
    Strata::LazySignal<void(SproutPuzzlePiece* piece)> dropSignal;

private:
    int mIndex;
};

} // namespace Yardcrew
