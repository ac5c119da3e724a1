// Draws the hammering game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: the first level with a bolt, the wrench taken in hand and caught
// some 20 degrees past upright in its swing on the bolt (docs/hammer/hammer_swing.png).
//
//   hammer_shots <data folder> <output folder>

#include "GameShots.h"

#include "game/HammerTheNail/DraggableTool.h"
#include "game/HammerTheNail/HammerTheNailGame.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/HammerTheNail/TargetNail.h"

using namespace Strata;
using namespace Yardcrew;
using GameShots::Press;
using GameShots::StepUntil;

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "hammer_shots", GameModeType_HammerTheNail, out, session))
        return failed;

    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        HammerTheNailMode game(false, 0);
        const GameShots::Running running(game);
        if (!StepUntil(game, [&] { return GameShots::MaskOpen(HammerTheNailDescription().inputMask); }))
            return 1;
        for (DraggableTool* wrench : game.getTools())
        {
            if (wrench->getType() != FixItToolType_Wrench)
                continue;
            for (TargetNail* bolt : game.getNails())
            {
                if (!bolt->fits(*wrench))
                    continue;
                Press(game, wrench->getShapeNode());
                Press(game, bolt->getShapeNode());
                // The swing runs from -45 to +45 degrees.
                const auto past = [&]
                {
                    const SceneNode* node = wrench->getAnimatedNode();
                    return node != nullptr && node->LocalGetOrientation().Wrap().GetValue() < Angle::pi() &&
                           GameShots::TurnedDegrees(*node) >= 20.0f;
                };
                return StepUntil(game, past) && GameShots::Shoot(game, out / "hammer_swing.png") ? 0 : 1;
            }
        }
    }
    std::fprintf(stderr, "hammer_shots: no level has a bolt for a wrench\n");
    return 1;
}
