#pragma once

// One place of the job-order game's blueprint: an empty frame for its step until the picture of that
// step is dropped on it, then that step's picture. A press with another step's picture is refused and
// reported; a filled place takes no presses.

#include "game/DragAndDrop.h"
#include "game/PlayfieldObject.h"

#include <cstdint>
#include <string>

namespace Yardcrew
{

class JobSequenceItem;

class JobSequenceSlot final : public PlayfieldObject, public DragTarget<JobSequenceItem*>
{
public:
    // Shows the empty frame of `step`; filled, it shows frame `step` of `targetsImageList`.
    JobSequenceSlot(std::string targetsImageList, int32_t step);

    // "PlanAJob_DropSlot".
    Strata::Label GetRole() const override;

    int32_t getStep() const { return mStep; }
    bool isFilled() const { return mFilled; }
    Strata::SceneNode* getImageNode() const;

    void acceptMouseInput(bool accept);
    // Shows the step's picture and takes no more presses.
    void setAsFilled();

    // The right picture is taken (the picture object is destroyed); any other is refused.
    void DropActivated(JobSequenceItem* item) override;
    // A press with a picture of another step: refusedSignal, and the picture stays carried.
    bool UseInPlace(JobSequenceItem* item) override;

    // A picture of another step was pressed onto this place.
    Strata::LazySignal<void(JobSequenceItem* item)> refusedSignal;
    // The right picture was placed here (arrivedSignal with null).

private:
    std::string mTargetsImageList;
    int32_t mStep;
    bool mFilled = false;
};

} // namespace Yardcrew
