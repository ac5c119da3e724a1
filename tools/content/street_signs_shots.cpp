// Draws the street-signs game through the game's own mode, the engine's loaders and the software
// canvas, stepped as the main loop steps it: at each difficulty once the truck has parked, the pointer
// on the first sign (docs/streetsigns/<difficulty>.png), and the hard level's busiest moments: a wrong
// sign wobbling while the right one flies into the truck beside one already there (Lift.png), and the
// loaded truck driving off (Leaving.png).
//
//   street_signs_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/MiniGamePattern.h"
#include "game/StreetSigns/StreetSign.h"
#include "game/StreetSigns/StreetSignLevel.h"
#include "game/StreetSigns/StreetSignsGame.h"
#include "game/StreetSigns/StreetSignsMode.h"
#include "scene/NodePath.h"

using namespace Strata;
using namespace Yardcrew;
using GameShots::Press;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

bool Open()
{
    return GameShots::MaskOpen(StreetSignsDescription().inputMask);
}

StreetSign* Answer(const StreetSignsMode& game, bool right)
{
    for (StreetSign* sign : game.getSigns())
        if (!sign->isInTruck() && game.getCurrentAsk().Matches(sign->getSign()) == right)
            return sign;
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "street_signs_shots", GameModeType_StreetSigns, out, session))
        return failed;

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        StreetSignsMode game(true, -1);
        const GameShots::Running running(game);
        if (game.getSigns().size() < 2)
            return 1;
        written = StepUntil(game, [] { return Open(); }) && written;
        const Rect<float> first = game.getSigns().front()->getImageNode()->GlobalGetBounds();
        game.OnMouseMove(static_cast<int>(first.x + first.width / 2), static_cast<int>(first.y + first.width / 2));
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (d != GameModeDifficulty_Hard)
            continue;

        StreetSign* right = Answer(game, true);
        Press(game, right->getImageNode());
        written = StepUntil(game, [&] { return game.getAskIndex() == 1 && Open(); }) && written;
        StreetSign* wrong = Answer(game, false);
        right = Answer(game, true);
        Press(game, wrong->getImageNode());
        Press(game, right->getImageNode());
        game.OnMouseMove(0, 0);
        // Half-way along the arc from its place to the truck's second slot.
        SceneNode* slot = PlayfieldNode("TruckNode", "Bed_2");
        if (slot == nullptr)
            return 1;
        const float half = (right->GetNode()->GlobalGetBounds().x + slot->GlobalGetBounds().x) / 2;
        const float sign = right->GetNode()->GlobalGetBounds().x > half ? 1.0f : -1.0f;
        written =
            StepUntil(game, [&]
                      { return right->isInTruck() && (right->GetNode()->GlobalGetBounds().x - half) * sign <= 0; }) &&
            written;
        written = Shoot(game, out / "Lift.png") && written;
        // The rest of the asks, each answered once the last sign has landed.
        const auto answered = [&] { return game.getAskIndex() == static_cast<int>(game.getRound().asks.size()); };
        while (written && !answered())
        {
            written = StepUntil(game, [&] { return answered() || (Open() && !game.isLifting()); });
            if (StreetSign* next = Answer(game, true); next != nullptr && !answered())
                Press(game, next->getImageNode());
        }
        SceneNode* truck = PlayfieldNode("TruckNode");
        written = truck != nullptr && StepUntil(game, [&] { return truck->LocalGetLocation().x > 300; }) && written;
        written = Shoot(game, out / "Leaving.png") && written;
    }
    return written ? 0 : 1;
}
