// Feeds arbitrary bytes to the job-order game's level reader as one level element: whatever it reads,
// a level that passes its checks is one the game can play (one to five steps to place, and pictures
// named).

#include "FuzzLevel.h"

#include "game/PlanAJob/PlanAJobLevel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<PlanAJobLevel>(GameModeType_PlanAJob, data, size);
    if (!level)
        return 0;
    if (level->Validate().empty())
        Check(level->emptyCount >= 1 && level->emptyCount <= kPlanAJobSteps && !level->objectsImageList.empty() &&
              !level->targetsImageList.empty() && !level->spriteType.empty());
    return 0;
}
