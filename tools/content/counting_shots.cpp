// Draws the counting game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: at each difficulty once the tipper has asked
// (docs/counting/<difficulty>.png), and the right pile's trip at its moments (Win_<n>.png).
//
//   counting_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialLoader.h"
#include "game/CountTheMaterials/MaterialTarget.h"
#include "game/MiniGamePattern.h"
#include "scene/NodePath.h"

using namespace Strata;
using namespace Yardcrew;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

bool Settled(CountTheMaterialsMode& game)
{
    const SceneNode* mask = PlayfieldNode("Material_ClickMask");
    MaterialTarget* tipper = game.getTipper();
    MaterialLoader* digger = game.getDigger();
    return mask != nullptr && !mask->LocalIsVisible() && tipper != nullptr && digger != nullptr &&
           tipper->getRequestBox()->LocalIsVisible() && tipper->GetNode()->GetTaskQueue().IsEmpty() &&
           digger->GetNode()->GetTaskQueue().IsEmpty();
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "counting_shots", GameModeType_CountTheMaterials, out, session))
        return failed;
    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        CountTheMaterialsMode game(true, 0);
        const GameShots::Running running(game);
        written = StepUntil(game, [&] { return Settled(game); }) && written;
        // The pointer rests on the first pile's bottom row, which glows.
        if (DraggableMaterial* pile = game.getPile(0))
        {
            const Rect<float> bounds = pile->getImageNode()->GlobalGetBounds();
            game.OnMouseMove(static_cast<int>(bounds.x + bounds.width / 2),
                             static_cast<int>(bounds.y + bounds.height - 14));
        }
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (d != GameModeDifficulty_Medium)
            continue;

        // The right pile's trip: lifted, carried round, dropped into the cart.
        DraggableMaterial* right = nullptr;
        for (size_t place = 0; game.getPile(place) != nullptr; ++place)
        {
            DraggableMaterial* pile = game.getPile(place);
            if (pile->getMaterial() == game.getTipper()->getRequestedMaterial() &&
                pile->getNumber() == game.getTipper()->getRequestedNumber())
                right = pile;
        }
        if (right == nullptr)
            return 1;
        game.OnMouseMove(0, 0);
        game.MaterialClicked(right);
        SceneNode* load = right->GetNode();
        MaterialLoader* digger = game.getDigger();
        MaterialTarget* tipper = game.getTipper();
        const std::function<bool()> moments[] = {
            [&] { return load->GetParent() == digger->getAttachNode(false); },
            [&] { return digger->GetNode()->LocalGetLocation().x > 600.0f; },
            [&] {
                return load->GetParent() == digger->getAttachNode(true) &&
                       digger->GetNode()->LocalGetLocation().x < 700.0f;
            },
            [&] { return load->GetParent() == tipper->getCartNode(); },
            [&] { return tipper->getBackgroundNode()->LocalGetLocation().x > 300.0f; },
        };
        int shot = 1;
        for (const auto& moment : moments)
        {
            written = StepUntil(game, moment) && written;
            // A few steps more, so the animations started at that moment show.
            for (int step = 0; step < 5; ++step)
                game.Update(0.02f);
            written = Shoot(game, out / ("Win_" + std::to_string(shot++) + ".png")) && written;
        }
    }
    return written ? 0 : 1;
}
