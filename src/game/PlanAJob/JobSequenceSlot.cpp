#include "game/PlanAJob/JobSequenceSlot.h"

#include "game/PlanAJob/JobSequenceItem.h"
#include "game/PlanAJob/PlanAJobContent.h"
#include "scene/SpriteNodes.h"

#include <utility>

namespace Yardcrew
{

namespace
{

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};

} // namespace

JobSequenceSlot::JobSequenceSlot(std::string targetsImageList, int32_t step)
    : PlayfieldObject(PlanAJobContent::kSlotLayout.name), mTargetsImageList(std::move(targetsImageList)), mStep(step)
{
    if (auto* image = dynamic_cast<Strata::StaticSpriteNode*>(getImageNode()))
        image->setImage(Strata::Label(PlanAJobContent::kEmptyPlaces.name), step);
    acceptMouseInput(true);
}

Strata::Label JobSequenceSlot::GetRole() const
{
    static const Strata::Label kRole("PlanAJob_DropSlot");
    return kRole;
}

Strata::SceneNode* JobSequenceSlot::getImageNode() const
{
    return LayoutNode(kImagePath);
}

void JobSequenceSlot::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept;
}

void JobSequenceSlot::setAsFilled()
{
    mFilled = true;
    if (auto* image = dynamic_cast<Strata::StaticSpriteNode*>(getImageNode()))
        image->setImage(Strata::Label::FromString(mTargetsImageList), mStep);
    acceptMouseInput(false);
    // The pointer may rest on it: a filled place is no target any more.
    DragLeave();
}

bool JobSequenceSlot::UseInPlace(JobSequenceItem* item)
{
    if (item == nullptr || (!mFilled && item->getStep() == mStep))
        return false;
    refusedSignal(item);
    return true;
}

void JobSequenceSlot::DropActivated(JobSequenceItem* item)
{
    // UseInPlace has refused every other picture.
    if (item == nullptr || mFilled || item->getStep() != mStep)
        return;
    setAsFilled();
    item->DestroySelf();
    arrivedSignal(nullptr);
}

} // namespace Yardcrew
