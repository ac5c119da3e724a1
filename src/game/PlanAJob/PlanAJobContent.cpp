#include "game/PlanAJob/PlanAJobContent.h"

namespace Yardcrew::PlanAJobContent
{

std::vector<sContentName> LevelNames(const PlanAJobLevel& level)
{
    return {{ContentKind_ImageList, level.objectsImageList.c_str(), kPlanAJobSteps, kPlanAJobSteps},
            {ContentKind_ImageList, level.targetsImageList.c_str(), kPlanAJobSteps, kPlanAJobSteps},
            {ContentKind_SpriteType, level.spriteType.c_str(), 0, kAnyContentCount, kBuildingAnimations}};
}

} // namespace Yardcrew::PlanAJobContent
