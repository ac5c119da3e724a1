#pragma once

// The job-order game: a blueprint slides in showing the five steps of a job, some already in place.
// The child carries each missing step's picture to its place; a wrong place makes the picture shake
// and a voice remark on it. Once every place is filled the blueprint slides away, the job is built and
// the level ends. One round.

#include "framework/ObjectID.h"
#include "game/MiniGameMode.h"
#include "game/PlanAJob/PlanAJobLevel.h"

#include <vector>

namespace Yardcrew
{

class JobSequenceItem;
class JobSequenceSlot;

class PlanAJobMode final : public MiniGameModeOf<PlanAJobLevel>
{
public:
    // An empty label draws a level of the current difficulty; any other label names a job, whose level
    // is the label followed by "_Easy", "_Medium" or "_Hard" by the current difficulty.
    explicit PlanAJobMode(Strata::Label level = Strata::Label());

    // The base's set-up; then the introduction and the click masks.
    void Setup() override;

    // Sends the carried picture back; nothing when none is carried.
    void cancelItemDragging();
    // Starts the end once every place is filled; nothing while none was built.
    void checkEndLevel();

    std::vector<JobSequenceSlot*> getSlots() const;
    std::vector<JobSequenceItem*> getItems() const;

protected:
    Strata::Label chooseLevel() override;
    void initializeLevel(const PlanAJobLevel& level) override;

private:
    void playIntroAnimation();
    void playOutroAnimation();
    void itemPressed(JobSequenceItem* item);
    void itemRefused(JobSequenceItem* item);

    Strata::Label mGivenLevel;
    std::vector<Strata::ObjectID> mSlots;
    std::vector<Strata::ObjectID> mItems;
};

} // namespace Yardcrew
