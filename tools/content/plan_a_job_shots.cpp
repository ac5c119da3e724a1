// Draws the job-order game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: at each difficulty once the blueprint is in place, the pointer on
// the first offered picture (docs/planajob/<difficulty>.png), and the hard level's busiest moments
// (Job_<n>.png): a picture carried over a wrong place during its shake; the blueprint half filled; the
// job being built.
//
//   plan_a_job_shots <data folder> <output folder>

#include "GameShots.h"

#include "framework/MainLoop.h"
#include "game/MiniGamePattern.h"
#include "game/PlanAJob/JobSequenceItem.h"
#include "game/PlanAJob/JobSequenceSlot.h"
#include "game/PlanAJob/PlanAJobGame.h"
#include "game/PlanAJob/PlanAJobLevel.h"
#include "game/PlanAJob/PlanAJobMode.h"
#include "scene/NodePath.h"

#include <string>

using namespace Strata;
using namespace Yardcrew;
using GameShots::Press;
using GameShots::Shoot;
using GameShots::StepUntil;

namespace
{

bool Open()
{
    return GameShots::MaskOpen(PlanAJobDescription().inputMask);
}

JobSequenceSlot* Place(PlanAJobMode& game, int step, bool right)
{
    for (JobSequenceSlot* slot : game.getSlots())
        if (!slot->isFilled() && (slot->getStep() == step) == right)
            return slot;
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    std::optional<GameShots::Session> session;
    if (const int failed = GameShots::Open(argc, argv, "plan_a_job_shots", GameModeType_PlanAJob, out, session))
        return failed;

    // One job a difficulty, so the three pictures show all three.
    const char* const jobs[] = {"PlanAJob_House", "PlanAJob_Tree", "PlanAJob_Doghouse"};
    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        PlanAJobMode game{Label(jobs[d])};
        const GameShots::Running running(game);
        std::vector<JobSequenceItem*> items = game.getItems();
        if (items.empty())
            return 1;
        written = StepUntil(game, [] { return Open(); }) && written;
        const Rect<float> first = items.front()->getImageNode()->GlobalGetBounds();
        game.OnMouseMove(static_cast<int>(first.x + first.width / 2), static_cast<int>(first.y + first.height / 2));
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (d != GameModeDifficulty_Hard)
            continue;

        // The last picture let go on a wrong place, caught mid-wobble there before it goes back.
        JobSequenceItem* carried = items.back();
        Press(game, carried->getImageNode());
        JobSequenceSlot* wrong = Place(game, carried->getStep(), false);
        if (wrong == nullptr)
            return 1;
        Press(game, wrong->getImageNode());
        // Some 8 degrees into the wobble; the software canvas keeps it upright.
        const auto turned = [&] { return GameShots::TurnedDegrees(*carried->LayoutRoot()) >= 8.0f; };
        written = StepUntil(game, turned) && written;
        written = Shoot(game, out / "Job_1.png") && written;
        written = StepUntil(game, [&] { return carried->LayoutRoot()->GetTaskQueue().IsEmpty(); }) && written;

        // Half the steps in place, the next one carried.
        for (size_t placed = 0; placed < 3; ++placed)
        {
            JobSequenceItem* item = game.getItems().front();
            Press(game, item->getImageNode());
            if (JobSequenceSlot* right = Place(game, item->getStep(), true))
                Press(game, right->getImageNode());
            written = StepUntil(game, [&] { return !item->isHeld(); }) && written;
        }
        Press(game, game.getItems().front()->getImageNode());
        written = StepUntil(game, [&] { return game.getItems().front()->getCarriedCopy() != nullptr; }) && written;
        game.OnMouseMove(430, 300);
        written = Shoot(game, out / "Job_2.png") && written;

        // The last step placed: the blueprint leaves and the crew builds the job.
        JobSequenceItem* last = game.getItems().back();
        if (JobSequenceSlot* right = Place(game, game.getItems().front()->getStep(), true))
            Press(game, right->getImageNode());
        Press(game, last->getImageNode());
        if (JobSequenceSlot* right = Place(game, last->getStep(), true))
            Press(game, right->getImageNode());
        // Half-way through the building.
        written = StepUntil(game, [&] { return PlayfieldNode("Blueprint")->LocalGetLocation().y <= -250; }) && written;
        for (float built = 0; built < 1.5f; built += 0.02f)
            game.Update(0.02f);
        written = Shoot(game, out / "Job_3.png") && written;
        written = StepUntil(game, [&] { return game.hasLevelEnded(); }) && written;
    }
    return written ? 0 : 1;
}
