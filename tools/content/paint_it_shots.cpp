// Draws the fence-painting game through the game's own mode, the engine's loaders and the software
// canvas, stepped as the main loop steps it: at each difficulty once the fence takes clicks, the pointer
// on the first bucket (docs/paintit/<difficulty>.png), and at the hard level its busiest moments: a
// wrong colour going on with the foreman raised (Paint_1.png), the right one going on (Paint_2.png) and
// the truck driving on to the next bare board (Paint_3.png).
//
//   paint_it_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/PaintIt/HousePaintBucket.h"
#include "game/PaintIt/HousePaintStripe.h"
#include "game/PaintIt/PaintItGame.h"
#include "game/PaintIt/PaintTheHouseMode.h"
#include "scene/AnimationController.h"
#include "scene/SpriteNodes.h"

using namespace Strata;
using namespace Yardcrew;
using GameShots::Press;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

bool Painting(HousePaintStripe& stripe, HousePaintColor color)
{
    auto* image = dynamic_cast<AnimatedSpriteNode*>(stripe.getImageNode());
    return stripe.getShownColor() == color && image != nullptr && image->IsAnimationPlaying(Label("AddPaint"));
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "paint_it_shots", GameModeType_PaintIt, out, session))
        return failed;

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        PaintTheHouseMode game(false, 0);
        const GameShots::Running running(game);
        const std::vector<HousePaintBucket*> buckets = game.getBuckets();
        if (buckets.size() != kPaintItBuckets || game.getStripesToPaint().empty())
            return 1;
        const auto open = [&]
        { return !game.isPainting() && game.getInputMask() && !game.getInputMask()->LocalIsVisible(); };
        written = StepUntil(game, open) && written;
        const Rect<float> first = buckets.front()->getImageNode()->GlobalGetBounds();
        game.OnMouseMove(static_cast<int>(first.x + first.width / 2), static_cast<int>(first.y + first.height / 2));
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (d != GameModeDifficulty_Hard)
            continue;

        HousePaintStripe* next = game.getStripesToPaint().front();
        HousePaintBucket* right = nullptr;
        HousePaintBucket* wrong = nullptr;
        for (HousePaintBucket* bucket : buckets)
            (bucket->getColor() == next->getColor() ? right : wrong) = bucket;
        if (right == nullptr || wrong == nullptr)
            return 1;
        int shot = 1;
        for (HousePaintBucket* bucket : {wrong, right})
        {
            Press(game, bucket->getImageNode());
            Press(game, game.getFenceClickArea());
            written = StepUntil(game, [&] { return Painting(*next, bucket->getColor()); }) && written;
            // Halfway through the stroke.
            auto* image = dynamic_cast<AnimatedSpriteNode*>(next->getImageNode());
            written = StepUntil(game, [&] { return image->GetAnimationController()->GetFrameIndex() >= 2; }) && written;
            written = Shoot(game, out / ("Paint_" + std::to_string(shot++) + ".png")) && written;
            if (bucket == right)
            {
                // The truck on its way to the next bare board.
                SceneNode* truck = game.getTruck();
                const float from = truck->LocalGetLocation().x;
                written = StepUntil(game, [&] { return truck->LocalGetLocation().x > from + 30; }) && written;
                written = Shoot(game, out / ("Paint_" + std::to_string(shot++) + ".png")) && written;
            }
            written = StepUntil(game, open) && written;
        }
    }
    return written ? 0 : 1;
}
