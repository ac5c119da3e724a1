#include "game/PlanAJob/PlanAJobGame.h"

#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"
#include "game/PlanAJob/PlanAJobContent.h"
#include "game/PlanAJob/PlanAJobLevel.h"
#include "game/PlanAJob/PlanAJobMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "PlanAJob";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "IntroClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& PlanAJobDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_PlanAJob;
        d.modeName = "PlanAJobMode";
        d.label = kGameLabel;
        d.layout = PlanAJobContent::kModeLayout.name;
        d.cursor = PlanAJobContent::kCursor.name;
        d.cursorHotSpot = PlanAJobContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.instructionsAfterIntro = true;
        d.isPlayable = IsPlayableLevel<PlanAJobLevel>;
        d.nextRound = [](int) -> std::unique_ptr<YardcrewGameMode> { return std::make_unique<PlanAJobMode>(); };
        return d;
    }();
    return description;
}

void RegisterPlanAJob()
{
    sGameRegistration game;
    game.type = GameModeType_PlanAJob;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"PlanAJobMode";
    game.levelTag = L"PlanAJobLevel";
    game.makeLevelReader = [] { return std::make_unique<PlanAJobLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<PlanAJobMode>();
    game.firstHint = PlanAJobContent::kFirstHint.name;
    game.laterHint = PlanAJobContent::kLaterHint.name;
    game.music = PlanAJobContent::kMusic.name;
    game.content = PlanAJobContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
