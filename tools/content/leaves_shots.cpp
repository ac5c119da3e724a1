// Draws the leaf-pile game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: at each difficulty once the first tool is asked for, the pointer
// swept onto it so the leaves round it slide away (docs/leaves/<difficulty>.png), and at the hard level
// the busiest moments (Pile_<n>.png): the pile blowing in, and the found tool spinning to the box.
//
//   leaves_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/PileOfLeaves/Leaf.h"
#include "game/PileOfLeaves/LeafCoveredTool.h"
#include "game/PileOfLeaves/PileOfLeavesGame.h"
#include "game/PileOfLeaves/PileOfLeavesLevel.h"
#include "game/PileOfLeaves/PileOfLeavesMode.h"
#include "scene/NodePath.h"

using namespace Strata;
using namespace Yardcrew;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

LeafCoveredTool* Asked(const PileOfLeavesMode& game)
{
    if (!GameShots::MaskOpen(PileOfLeavesDescription().inputMask))
        return nullptr;
    for (LeafCoveredTool* tool : game.getTools())
        if (!tool->isFound() && tool->getKind() == game.getToolToFind() && tool->getColor() == game.getColorToFind())
            return tool;
    return nullptr;
}

// Half the pile still in the air.
bool BlowingIn(const PileOfLeavesMode& game)
{
    size_t flying = 0;
    for (Leaf* leaf : game.getLeaves())
        flying +=
            leaf->LayoutRoot()->LocalGetLocation().x > 0.0f && leaf->LayoutRoot()->GetTaskQueue().GetTask(0) != nullptr;
    return flying * 2 >= game.getLeaves().size();
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path data;
    std::filesystem::path out;
    if (!GameShots::Folders(argc, argv, "leaves_shots", data, out))
        return 2;
    const GameShots::Session session("leaves_shots", data, L"PileOfLeavesLevel", new PileOfLeavesLevelResourceFactory(),
                                     {L"GlobalConstants", L"DifficultyOptionsQuit", L"PileOfLeavesMode"});
    if (!session.IsLoaded())
        return 1;

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const bool hard = d == GameModeDifficulty_Hard;
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        PileOfLeavesMode game;
        MainLoop::AutoContext context;
        MainLoop::WithinContext(&game, context);
        MainLoop::MoveMouseForTesting(Vector2<int>(-1000, -1000));
        game.Setup();
        game.Enter();
        if (hard)
        {
            written = StepUntil(game, [&] { return BlowingIn(game); }) && written;
            written = Shoot(game, out / "Pile_1.png") && written;
        }
        written = StepUntil(game, [&] { return Asked(game) != nullptr; }) && written;
        LeafCoveredTool* tool = Asked(game);
        if (tool == nullptr)
            return 1;
        // The pointer sweeps in from the left to the tool's middle.
        const Rect<float> at = tool->getImageNode()->GlobalGetBounds();
        const Vector2<int> middle(static_cast<int>(at.x + at.width / 2), static_cast<int>(at.y + at.height / 2));
        for (int x = middle.x - 120; x <= middle.x; x += 20)
        {
            MainLoop::MoveMouseForTesting(Vector2<int>(x, middle.y));
            game.OnMouseMove(x, middle.y);
            game.Update(0.02f);
        }
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (!hard)
            continue;
        GameShots::Press(game, tool->getImageNode());
        written = StepUntil(game,
                            [&] {
                                return tool->LayoutRoot()->GetParent() != nullptr &&
                                       tool->LayoutRoot()->LocalGetLocation().y < at.y - 120;
                            }) &&
                  written;
        written = Shoot(game, out / "Pile_2.png") && written;
    }
    return written ? 0 : 1;
}
