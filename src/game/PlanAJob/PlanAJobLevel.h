#pragma once

// A level of the job-order game: the pictures of one job in five steps, named by a common prefix, and
// how many of the steps the child has to put in place.
//
//   <PlanAJobLevel name="..." difficulty="Easy" imageList="PlanAJob_House" numEmpty="2"/>
//
// With the prefix P, the offered pictures are the image list P + "_Objects_" + the difficulty's name,
// the placed ones P + "_Targets" (frame n is step n in both) and the building animation the sprite type
// P + "_SpriteType". "numEmpty" (default 0) must lie between 1 and kPlanAJobSteps and "imageList" must
// not be empty; a level of no known difficulty is not filed. Child elements are ignored.

#include "game/GameLevelReaders.h"

#include <cstdint>
#include <string>

namespace Strata
{
class IAttributeContainer;
class XMLElement;
} // namespace Strata

namespace Yardcrew
{

// The steps of every job, and so the places on the blueprint.
constexpr int32_t kPlanAJobSteps = 5;

struct PlanAJobLevel
{
    std::string objectsImageList;
    std::string targetsImageList;
    std::string spriteType;
    // Steps left empty for the child.
    int32_t emptyCount = 0;

    void ReadAttributes(const Strata::IAttributeContainer& attributes);
    void ReadChild(const Strata::XMLElement&) {}
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;
};

using PlanAJobLevelResourceFactory = GameLevelReader<PlanAJobLevel, GameModeType_PlanAJob>;

} // namespace Yardcrew
