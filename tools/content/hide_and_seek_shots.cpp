// Draws the hide-and-seek game through the game's own mode, the engine's loaders and the software
// canvas, stepped as the main loop steps it: at each difficulty once the cat has hidden, the pointer on
// the first obstacle (docs/hideandseek/<difficulty>.png), and the hard level's busiest moments
// (Seek_<n>.png): the cat running among the obstacles, a look behind a wrong one, the cat found.
//
//   hide_and_seek_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/HideAndSeek/HideAndSeekCharacter.h"
#include "game/HideAndSeek/HideAndSeekGame.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"
#include "game/HideAndSeek/HideAndSeekMode.h"
#include "game/HideAndSeek/HideAndSeekObstacle.h"
#include "scene/NodePath.h"

#include <cmath>

using namespace Strata;
using namespace Yardcrew;
using GameShots::Press;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

bool Open()
{
    return GameShots::MaskOpen(HideAndSeekDescription().inputMask);
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "hide_and_seek_shots", GameModeType_HideAndSeek, out, session))
        return failed;

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        HideAndSeekMode game;
        const GameShots::Running running(game);
        const std::vector<HideAndSeekObstacle*> obstacles = game.getObstacles();
        HideAndSeekCharacter* cat = game.getCharacter();
        if (obstacles.size() < 2 || cat == nullptr)
            return 1;
        if (d == GameModeDifficulty_Hard)
        {
            // Half-way along its second run, partly behind what it passes.
            written = StepUntil(game, [&] { return cat->getPath().size() > 2; }) && written;
            const Vector2<float> from = cat->getPath()[1];
            const Vector2<float> to = cat->getPath()[2];
            const float half = (std::abs(to.x - from.x) + std::abs(to.y - from.y)) / 2;
            written = StepUntil(game,
                                [&]
                                {
                                    const Vector2<float> at = cat->GetNode()->LocalGetLocation();
                                    return std::abs(at.x - from.x) + std::abs(at.y - from.y) >= half;
                                }) &&
                      written;
            written = Shoot(game, out / "Seek_1.png") && written;
        }
        written = StepUntil(game, [&] { return Open(); }) && written;
        const Rect<float> first = obstacles.front()->getImageNode()->GlobalGetBounds();
        game.OnMouseMove(static_cast<int>(first.x + first.width / 2), static_cast<int>(first.y + first.height / 2));
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (d != GameModeDifficulty_Hard)
            continue;

        // A look behind a wrong obstacle, then behind the right one, each with the picture lifted.
        auto* hiding = dynamic_cast<HideAndSeekObstacle*>(game.GetObject(cat->getCurrentObstacle()));
        HideAndSeekObstacle* wrong = obstacles.front() == hiding ? obstacles.back() : obstacles.front();
        if (hiding == nullptr)
            return 1;
        int shot = 2;
        for (HideAndSeekObstacle* look : {wrong, hiding})
        {
            Press(game, look->getImageNode());
            game.OnMouseMove(0, 0);
            written = StepUntil(game, [&] { return look->getImageNode()->LocalGetLocation().y <= -200; }) && written;
            written = Shoot(game, out / ("Seek_" + std::to_string(shot++) + ".png")) && written;
            written = StepUntil(game, [&] { return Open() || game.getNumFound() > 0; }) && written;
        }
    }
    return written ? 0 : 1;
}
