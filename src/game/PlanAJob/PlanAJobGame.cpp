#include "game/PlanAJob/PlanAJobGame.h"

#include "game/MiniGameKit.h"
#include "game/PlanAJob/PlanAJobContent.h"
#include "game/PlanAJob/PlanAJobLevel.h"
#include "game/PlanAJob/PlanAJobMode.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<PlanAJobMode, PlanAJobLevelResourceFactory, PlanAJobContent::Declared>;

const sMiniGameRecord kRecord{.type = GameModeType_PlanAJob,
                              .label = "PlanAJob",

                              .levelTag = PlanAJobContent::kLevelTag,
                              .mode = {.inputMask = "IntroClickMask", .instructionsAfterIntro = true}};

} // namespace

const sMiniGameDescription& PlanAJobDescription()
{
    return Kit::Describe(kRecord);
}

void RegisterPlanAJob()
{
    Kit::Register(kRecord);
}

} // namespace Yardcrew
