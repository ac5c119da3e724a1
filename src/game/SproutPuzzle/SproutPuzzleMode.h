#pragma once

// The jigsaw game: a picture of the menagerie shows whole on the board, then its pieces fly apart into
// the tray, each to a place drawn from a shuffled deck. The child carries each piece onto the board: on
// its own slot it snaps in with praise; on another slot, or dropped anywhere else, it goes back to the
// tray. The last piece finishes the picture and ends the level. One round.

#include "framework/ObjectID.h"
#include "game/MiniGameMode.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"

#include <vector>

namespace Yardcrew
{

class SproutPuzzlePiece;
class SproutPuzzlePieceSlot;

class SproutPuzzleMode final : public MiniGameModeOf<SproutPuzzleLevel>
{
public:
    SproutPuzzleMode();

    // The base's set-up with the playfield blocked until the pieces lie in the tray.
    void Setup() override;

    // Shows the whole picture for a moment, then playIntroAnimation.
    void startIntroAnimation();
    // Scatters the pieces into the tray; once all lie there the playfield opens and the instruction
    // pop-up shows.
    void playIntroAnimation();
    // The finished picture, the praise, then the end of the level; once.
    void playOutroAnimation();

    // In slot order, which is the pieces list's frame order.
    std::vector<SproutPuzzlePiece*> getPieces() const;
    std::vector<SproutPuzzlePieceSlot*> getSlots() const;
    int getPiecesPlaced() const { return mPlaced; }
    bool isScattered() const { return mScattered; }

protected:
    void initializeLevel(const SproutPuzzleLevel& level) override;

private:
    void pieceDropped(SproutPuzzlePieceSlot& slot, SproutPuzzlePiece& piece);

    std::vector<Strata::ObjectID> mPieces;
    std::vector<Strata::ObjectID> mSlots;
    int mPlaced = 0;
    bool mScattered = false;
    bool mIntroStarted = false;
};

} // namespace Yardcrew
