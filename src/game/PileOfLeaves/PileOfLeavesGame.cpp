#include "game/PileOfLeaves/PileOfLeavesGame.h"

#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"
#include "game/PileOfLeaves/PileOfLeavesContent.h"
#include "game/PileOfLeaves/PileOfLeavesLevel.h"
#include "game/PileOfLeaves/PileOfLeavesMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "PileOfLeaves";
// The foreman's pose for this game's instructions.
constexpr IntroForemanState kIntroState = static_cast<IntroForemanState>(2);

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& PileOfLeavesDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_PileOfLeaves;
        d.modeName = "PileOfLeavesMode";
        d.label = kGameLabel;
        d.layout = PileOfLeavesContent::kModeLayout.name;
        d.cursor = PileOfLeavesContent::kCursor.name;
        d.cursorHotSpot = PileOfLeavesContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.introState = kIntroState;
        d.instructionsAfterIntro = true;
        d.isPlayable = IsPlayableLevel<PileOfLeavesLevel>;
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<PileOfLeavesMode>(true, roundsLeft); };
        return d;
    }();
    return description;
}

void RegisterPileOfLeaves()
{
    sGameRegistration game;
    game.type = GameModeType_PileOfLeaves;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"PileOfLeavesMode";
    game.levelTag = L"PileOfLeavesLevel";
    game.makeLevelReader = [] { return std::make_unique<PileOfLeavesLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<PileOfLeavesMode>();
    game.firstHint = PileOfLeavesContent::kHint.name;
    game.laterHint = PileOfLeavesContent::kHint.name;
    game.music = PileOfLeavesContent::kMusic.name;
    game.content = PileOfLeavesContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
