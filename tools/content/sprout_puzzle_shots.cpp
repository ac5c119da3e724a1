// Draws the jigsaw game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: at each difficulty once the pieces lie in the tray, the pointer on
// the first piece (docs/puzzle/<difficulty>.png), and at the hard level the whole picture before it
// falls apart (Puzzle_1.png), its busiest moment, a piece carried over the board half filled
// (Puzzle_2.png), and the finished picture with its stars (Puzzle_3.png).
//
//   sprout_puzzle_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/MiniGamePattern.h"
#include "game/SproutPuzzle/SproutPuzzleGame.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"
#include "game/SproutPuzzle/SproutPuzzleMode.h"
#include "game/SproutPuzzle/SproutPuzzlePiece.h"
#include "game/SproutPuzzle/SproutPuzzlePieceSlot.h"
#include "scene/NodePath.h"

using namespace Strata;
using namespace Yardcrew;
using GameShots::Press;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

Vector2<int> Centre(SceneNode* node)
{
    const Rect<float> bounds = node->GlobalGetBounds();
    return Vector2<int>(static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height / 2));
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "sprout_puzzle_shots", GameModeType_SproutPuzzle, out, session))
        return failed;

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const bool hard = d == GameModeDifficulty_Hard;
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        SproutPuzzleMode game;
        const GameShots::Running running(game);
        const std::vector<SproutPuzzlePiece*> pieces = game.getPieces();
        const std::vector<SproutPuzzlePieceSlot*> slots = game.getSlots();
        if (pieces.size() < 4 || slots.size() != pieces.size())
            return 1;
        if (hard)
            written = Shoot(game, out / "Puzzle_1.png") && written;
        written = StepUntil(game, [&] { return game.isScattered(); }) && written;
        const Vector2<int> first = Centre(pieces.front()->getImageNode());
        game.OnMouseMove(first.x, first.y);
        written =
            StepUntil(game, [&] { return pieces.front()->LayoutRoot()->LocalGetLocation() == Vector2<float>(); }) &&
            written;
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (!hard)
            continue;

        // Half the pieces in, the next one carried over the board towards its slot.
        const size_t half = pieces.size() / 2;
        for (size_t i = 0; i < half; ++i)
        {
            Press(game, pieces[i]->getImageNode());
            Press(game, slots[i]->getDropNode());
        }
        Press(game, pieces[half]->getImageNode());
        const Vector2<int> target = Centre(slots[half]->getDropNode());
        // No step after the move: a step replays the main loop's pointer, which this tool never moves.
        game.OnMouseMove(target.x - 30, target.y + 20);
        written = Shoot(game, out / "Puzzle_2.png") && written;

        for (size_t i = half; i < pieces.size(); ++i)
        {
            if (!pieces[i]->isHeld())
                Press(game, pieces[i]->getImageNode());
            Press(game, slots[i]->getDropNode());
        }
        // The first star high in its first hop.
        SceneNode* hopping = PlayfieldNode("Cheer", "Star_1");
        if (hopping == nullptr)
            return 1;
        const float ground = hopping->LocalGetLocation().y;
        written = StepUntil(game, [&] { return hopping->LocalGetLocation().y < ground - 12; }) && written;
        game.OnMouseMove(790, 590);
        written = Shoot(game, out / "Puzzle_3.png") && written;
    }
    return written ? 0 : 1;
}
