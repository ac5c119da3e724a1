#include "game/SproutPuzzle/SproutPuzzleGame.h"

#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"
#include "game/SproutPuzzle/SproutPuzzleContent.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"
#include "game/SproutPuzzle/SproutPuzzleMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "SproutPuzzle";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& SproutPuzzleDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_SproutPuzzle;
        d.modeName = "SproutPuzzleMode";
        d.label = kGameLabel;
        d.layout = SproutPuzzleContent::kModeLayout.name;
        d.cursor = SproutPuzzleContent::kCursor.name;
        d.cursorHotSpot = SproutPuzzleContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.instructionsAfterIntro = true;
        d.isPlayable = IsPlayableLevel<SproutPuzzleLevel>;
        d.nextRound = [](int) -> std::unique_ptr<YardcrewGameMode> { return std::make_unique<SproutPuzzleMode>(); };
        return d;
    }();
    return description;
}

void RegisterSproutPuzzle()
{
    sGameRegistration game;
    game.type = GameModeType_SproutPuzzle;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"SproutPuzzleMode";
    game.levelTag = L"SproutPuzzleLevel";
    game.makeLevelReader = [] { return std::make_unique<SproutPuzzleLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<SproutPuzzleMode>();
    game.firstHint = SproutPuzzleContent::kFirstHint.name;
    game.laterHint = SproutPuzzleContent::kLaterHint.name;
    game.music = SproutPuzzleContent::kMusic.name;
    game.content = SproutPuzzleContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
