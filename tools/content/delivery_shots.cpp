// Draws the delivery game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: at each difficulty as it opens, the pointer on the first animal
// (docs/delivery/<difficulty>.png), and one delivery of the hard level at its moments (Trip_<n>.png).
//
//   delivery_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/HereToThere/HereToThereCart.h"
#include "game/HereToThere/HereToThereGame.h"
#include "game/HereToThere/HereToThereMode.h"
#include "game/HereToThere/HereToThereObject.h"
#include "game/HereToThere/HereToThereTarget.h"
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
    return GameShots::MaskOpen(HereToThereDescription().inputMask);
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "delivery_shots", GameModeType_HereToThere, out, session))
        return failed;

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        HereToThereMode game;
        const GameShots::Running running(game);
        const std::vector<HereToThereObject*> animals = game.getAnimals();
        HereToThereCart* cart = game.getCart();
        if (animals.empty() || cart == nullptr)
            return 1;
        const Rect<float> first = animals.front()->getClickNode()->GlobalGetBounds();
        game.OnMouseMove(static_cast<int>(first.x + first.width / 2), static_cast<int>(first.y + first.height / 2));
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (d != GameModeDifficulty_Hard)
            continue;

        // The last animal to its house, the busiest trip: loaded, round the street, handed over.
        HereToThereObject* animal = animals.back();
        HereToThereTarget* house = nullptr;
        for (HereToThereTarget* candidate : game.getHouses())
            if (candidate->getMark() == animal->getMark())
                house = candidate;
        if (house == nullptr)
            return 1;
        SceneNode* load = animal->GetNode();
        Press(game, animal->getClickNode());
        written = StepUntil(game, [&] { return Open(); }) && written;
        game.OnMouseMove(0, 0);
        written = Shoot(game, out / "Trip_1.png") && written;
        Press(game, house->getImageNode());
        game.OnMouseMove(0, 0);
        const float stop = house->getCarPosition().x;
        const std::function<bool()> moments[] = {
            [&] { return !cart->isFacingLeft() && cart->GetNode()->LocalGetLocation().x > stop / 2; },
            [&] {
                return load->GetParent() != cart->getAttachNode(false) &&
                       load->GetParent() != cart->getAttachNode(true);
            },
            [&] { return cart->GetNode()->LocalGetLocation().x > stop + 120; },
        };
        int shot = 2;
        for (const auto& moment : moments)
        {
            written = StepUntil(game, moment) && written;
            for (int step = 0; step < 5; ++step)
                game.Update(0.02f);
            written = Shoot(game, out / ("Trip_" + std::to_string(shot++) + ".png")) && written;
        }
    }
    return written ? 0 : 1;
}
