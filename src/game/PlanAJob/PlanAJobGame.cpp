#include "game/PlanAJob/PlanAJobGame.h"

#include "game/MiniGameKit.h"
#include "game/PlanAJob/PlanAJobContent.h"
#include "game/PlanAJob/PlanAJobLevel.h"
#include "game/PlanAJob/PlanAJobMode.h"

namespace Yardcrew
{

namespace
{

namespace Names = PlanAJobContent;
using Kit = MiniGameKit<PlanAJobMode, PlanAJobLevelResourceFactory>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "IntroClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& PlanAJobDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_PlanAJob,
                                                                   .modeName = "PlanAJobMode",
                                                                   .label = "PlanAJob",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .instructionsAfterIntro = true});
    return description;
}

void RegisterPlanAJob()
{
    Kit::Register(PlanAJobDescription(), {.manifest = L"PlanAJobMode",
                                          .levelTag = Names::kLevelTag,
                                          .firstHint = Names::kFirstHint.name,
                                          .laterHint = Names::kLaterHint.name,
                                          .music = Names::kMusic.name,
                                          .content = Names::List()});
}

} // namespace Yardcrew
