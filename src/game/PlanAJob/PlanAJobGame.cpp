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

YARDCREW_MINI_GAME_ENTRY_POINTS(PlanAJob)

} // namespace Yardcrew
