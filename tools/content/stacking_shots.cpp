// Draws the stacking game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: at each difficulty once the intro's stacks have fallen, the pointer
// on an object so its glow shows (docs/stacking/<difficulty>.png); at the hard level Hoist's example
// stacks standing a second into the round (Example.png), the busiest moment, every stack of the intro on
// its way down (Fall.png), the largest red object carried over its platform (Carry.png), a blue one
// dropped on the red platform wobbling on its way home (Refused.png), and a red stack built smallest
// first shaking before it comes down (Shake.png), then coming down again beside a right blue one while
// Hoist is sad (Sad.png); last, the easy game under its instruction pop-up in Spanish (Spanish.png).
//
//   stacking_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/HoistStacker/HoistStackerGame.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/HoistStacker/HoistStackerMode.h"
#include "game/HoistStacker/StackableObject.h"
#include "game/HoistStacker/StackingTarget.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <cmath>

using namespace Strata;
using namespace Yardcrew;
using GameShots::PointAt;
using GameShots::Press;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

bool AllOnGround(const HoistStackerMode& game)
{
    const std::vector<StackableObject*> objects = game.getObjects();
    return !objects.empty() &&
           std::all_of(objects.begin(), objects.end(),
                       [](const StackableObject* o) { return o->getPlace() == StackableObject::Place::Ground; });
}

StackableObject* FirstFalling(const HoistStackerMode& game)
{
    for (StackableObject* object : game.getObjects())
        if (object->getPlace() == StackableObject::Place::Falling)
            return object;
    return nullptr;
}

// How far the object's picture is from its ground place.
float Away(const StackableObject& object)
{
    const Vector2<float> at = object.GetNode()->LocalGetLocation();
    return std::hypot(at.x, at.y);
}

// The loose objects of a colour, largest first.
std::vector<StackableObject*> Loose(const HoistStackerMode& game, StackObjectColor color)
{
    std::vector<StackableObject*> loose;
    for (StackableObject* object : game.getObjects())
        if (object->getData().color == color && object->getPlace() == StackableObject::Place::Ground)
            loose.push_back(object);
    std::sort(loose.begin(), loose.end(),
              [](const StackableObject* a, const StackableObject* b) { return a->getData().size > b->getData().size; });
    return loose;
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "stacking_shots", GameModeType_HoistStacker, out, session))
        return failed;

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const bool hard = d == GameModeDifficulty_Hard;
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        HoistStackerMode game(false, 0);
        const GameShots::Running running(game);
        if (game.getObjects().empty())
            return 1;
        if (hard)
        {
            int steps = 0;
            written = StepUntil(game, [&] { return ++steps > 50; }) && written;
            written = Shoot(game, out / "Example.png") && written;
            // Half way down: the first object to fall has come half of its way back.
            written = StepUntil(game, [&] { return FirstFalling(game) != nullptr; }) && written;
            StackableObject* first = FirstFalling(game);
            const float start = first != nullptr ? Away(*first) : 0.0f;
            written = StepUntil(game, [&] { return first == nullptr || Away(*first) < 0.5f * start; }) && written;
            written = Shoot(game, out / "Fall.png") && written;
        }
        written = StepUntil(game, [&] { return AllOnGround(game); }) && written;
        PointAt(game, game.getObjects().front()->getImageNode());
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (!hard)
            continue;

        StackingTarget* red = nullptr;
        StackingTarget* blue = nullptr;
        for (StackingTarget* platform : game.getPlatforms())
            (platform->getColor() == StackObjectColor_Red ? red : blue) = platform;
        if (red == nullptr || blue == nullptr)
            return 1;
        std::vector<StackableObject*> reds = Loose(game, StackObjectColor_Red);
        Press(game, reds.front()->getImageNode());
        PointAt(game, red->getClickNode());
        written = Shoot(game, out / "Carry.png") && written;
        Press(game, red->getClickNode());

        // The other colour's platform turns a blue one away.
        StackableObject* refused = Loose(game, StackObjectColor_Blue).back();
        Press(game, refused->getImageNode());
        Press(game, red->getClickNode());
        game.OnMouseMove(0, 0);
        written = StepUntil(game, [&] { return GameShots::TurnedDegrees(*refused->GetNode()) >= 8.0f; }) && written;
        written = Shoot(game, out / "Refused.png") && written;
        written = StepUntil(game, [&] { return refused->getPlace() == StackableObject::Place::Ground; }) && written;

        for (StackableObject* object : Loose(game, StackObjectColor_Blue))
        {
            Press(game, object->getImageNode());
            Press(game, blue->getClickNode());
        }
        // The rest of red smallest first: the stack is judged wrong above its largest.
        reds = Loose(game, StackObjectColor_Red);
        std::reverse(reds.begin(), reds.end());
        for (StackableObject* object : reds)
        {
            Press(game, object->getImageNode());
            Press(game, red->getClickNode());
        }
        game.OnMouseMove(0, 0);
        StackableObject* falling = FirstFalling(game);
        const float start = falling != nullptr ? Away(*falling) : 0.0f;
        written = StepUntil(game, [&]
                            { return falling == nullptr || GameShots::TurnedDegrees(*falling->GetNode()) >= 8.0f; }) &&
                  written;
        written = Shoot(game, out / "Shake.png") && written;
        written = StepUntil(game, [&] { return falling == nullptr || Away(*falling) < 0.6f * start; }) && written;
        written = Shoot(game, out / "Sad.png") && written;
    }
    {
        // In Spanish: the easy game as it opens under its instruction pop-up.
        GetLevelManager().difficulty = GameModeDifficulty_Easy;
        HoistStackerMode game(false, 0);
        const GameShots::Running running(game);
        written = StepUntil(game, [&] { return AllOnGround(game); }) && written;
        written = GameShots::ShootInstructions(game, GameModeType_HoistStacker, "SP", out / "Spanish.png") && written;
    }
    return written ? 0 : 1;
}
