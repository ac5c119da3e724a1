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

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "IntroClickMask",
                                               Strata::NodePathTerminator()};

const sMiniGameRecord kRecord{.type = GameModeType_PlanAJob,
                              .label = "PlanAJob",

                              .levelTag = PlanAJobContent::kLevelTag,
                              .mode = {.inputMask = kClickMaskPath, .instructionsAfterIntro = true}};

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
