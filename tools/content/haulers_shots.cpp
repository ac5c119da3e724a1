// Draws the cargo-pattern game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: at each difficulty once the train stands, the pointer on the first
// load (docs/haulers/<difficulty>.png), and at the hard level a wrong load, the other loads dimmed while
// it is judged, and then the right one on their way, the busiest moment being the hook lowering the load
// into the empty cart (Hook_<n>.png); then the train gone whole off the screen (Gone.png); last, the easy
// game under its instruction pop-up in Spanish (Spanish.png).
//
//   haulers_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/HaulersDelivery/DeliveryCart.h"
#include "game/HaulersDelivery/DeliveryObject.h"
#include "game/HaulersDelivery/HaulersDeliveryGame.h"
#include "game/HaulersDelivery/HaulersDeliveryMode.h"
#include "game/MiniGamePattern.h"
#include "scene/NodePath.h"

using namespace Strata;
using namespace Yardcrew;
using GameShots::Press;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

// The train has driven in and the loads take clicks.
bool Standing(const HaulersDeliveryMode& game)
{
    const SceneNode* train = PlayfieldNode("CargoRoot");
    return !game.isDelivering() && train != nullptr && train->LocalGetLocation().x == 0.0f;
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "haulers_shots", GameModeType_HaulersDelivery, out, session))
        return failed;

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        HaulersDeliveryMode game(false, 0);
        const GameShots::Running running(game);
        written = StepUntil(game, [&] { return Standing(game); }) && written;
        const std::vector<DeliveryObject*> choices = game.getChoices();
        const std::vector<DeliveryCart*> carts = game.getCarts();
        if (choices.size() != kHaulersDeliveryChoices || carts.size() != kHaulersDeliveryCarts)
            return 1;
        const Rect<float> first = choices.front()->getImageNode()->GlobalGetBounds();
        game.OnMouseMove(static_cast<int>(first.x + first.width / 2), static_cast<int>(first.y + first.height / 2));
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (d != GameModeDifficulty_Hard)
            continue;

        const HaulersDeliveryType wanted = carts.back()->getCargoType();
        DeliveryObject* right = nullptr;
        DeliveryObject* wrong = nullptr;
        for (DeliveryObject* cargo : choices)
            (cargo->getCargoType() == wanted ? right : wrong) = cargo;
        if (right == nullptr || wrong == nullptr)
            return 1;
        // A wrong load in the empty cart, the hoist sad.
        SceneNode* wrongLoad = wrong->GetNode();
        Press(game, wrong->getImageNode());
        game.OnMouseMove(0, 0);
        written = StepUntil(
                      game, [&] { return wrongLoad->GetParent() == carts.back()->getCargoTarget(); }) &&
                  written;
        written = StepUntil(game, [&] { return wrongLoad->LocalGetLocation().y >= 0; }) && written;
        for (int step = 0; step < 10; ++step)
            game.Update(0.02f);
        written = Shoot(game, out / "Hook_1.png") && written;
        written = StepUntil(game, [&] { return Standing(game) && game.getChoices().size() == 4; }) && written;

        // The right load: the hooks come down, it rises, and it is lowered into the empty cart.
        SceneNode* load = right->GetNode();
        SceneNode* hook = right->getHookNode();
        Press(game, right->getImageNode());
        game.OnMouseMove(0, 0);
        const std::function<bool()> moments[] = {
            [&] { return hook->LocalGetLocation().y > -70; },
            [&] { return load->GetParent() == carts.back()->getCargoTarget() && load->LocalGetLocation().y > -50; },
        };
        int shot = 2;
        for (const auto& moment : moments)
        {
            written = StepUntil(game, moment) && written;
            written = Shoot(game, out / ("Hook_" + std::to_string(shot++) + ".png")) && written;
        }
        SceneNode* train = PlayfieldNode("CargoRoot");
        written = train != nullptr &&
                  StepUntil(game,
                            [&]
                            {
                                const Rect<float> at = train->GetCompositeBounds();
                                return at.x + at.width <= 0.0f;
                            }) &&
                  written;
        written = Shoot(game, out / "Gone.png") && written;
    }
    {
        // In Spanish: the easy game with its train standing, under its instruction pop-up.
        GetLevelManager().difficulty = GameModeDifficulty_Easy;
        HaulersDeliveryMode game(false, 0);
        const GameShots::Running running(game);
        written = StepUntil(game, [&] { return Standing(game); }) && written;
        written =
            GameShots::ShootInstructions(game, GameModeType_HaulersDelivery, "SP", out / "Spanish.png") && written;
    }
    return written ? 0 : 1;
}
