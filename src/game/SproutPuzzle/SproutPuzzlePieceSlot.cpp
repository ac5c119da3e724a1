#include "game/SproutPuzzle/SproutPuzzlePieceSlot.h"

#include "game/HeldItem.h"
#include "game/SproutPuzzle/SproutPuzzleContent.h"
#include "game/SproutPuzzle/SproutPuzzlePiece.h"
#include "scene/SceneNode.h"

namespace Yardcrew
{

namespace
{

const Strata::NodePathStep kDropPath[] = {"dropArea", Strata::NodePathTerminator()};

} // namespace

SproutPuzzlePieceSlot::SproutPuzzlePieceSlot(int index, float width, float height)
    : PlayfieldObject(SproutPuzzleContent::kSlotLayout.name), mIndex(index)
{
    if (Strata::SceneNode* drop = getDropNode())
    {
        drop->SetWidth(width);
        drop->SetHeight(height);
        drop->hitTest = true;
    }
}

Strata::Label SproutPuzzlePieceSlot::GetRole() const
{
    static const Strata::Label kRole("SproutPuzzle_PieceSlot");
    return kRole;
}

void SproutPuzzlePieceSlot::AddedToScene()
{
    // The drop record keeps the slot by identifier, which it has only now.
    if (Strata::SceneNode* drop = getDropNode())
        ConnectDragTarget<SproutPuzzlePiece>(*this, *drop);
}

bool SproutPuzzlePieceSlot::fits(const SproutPuzzlePiece& piece) const
{
    return piece.getIndex() == mIndex;
}

Strata::SceneNode* SproutPuzzlePieceSlot::getDropNode() const
{
    return LayoutNode(kDropPath);
}

void SproutPuzzlePieceSlot::DropActivated(SproutPuzzlePiece* piece)
{
    if (piece != nullptr)
        dropSignal(piece);
}

} // namespace Yardcrew
