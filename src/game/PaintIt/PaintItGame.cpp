#include "game/PaintIt/PaintItGame.h"

#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"
#include "game/PaintIt/PaintItContent.h"
#include "game/PaintIt/PaintItLevel.h"
#include "game/PaintIt/PaintTheHouseMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "PaintIt";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MouseInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& PaintItDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_PaintIt;
        d.modeName = "PaintTheHouseMode";
        d.label = kGameLabel;
        d.layout = PaintItContent::kModeLayout.name;
        d.cursor = PaintItContent::kCursor.name;
        d.cursorHotSpot = PaintItContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.repeating = true;
        d.isPlayable = IsPlayableLevel<PaintItLevel>;
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<PaintTheHouseMode>(false, roundsLeft); };
        return d;
    }();
    return description;
}

void RegisterPaintIt()
{
    sGameRegistration game;
    game.type = GameModeType_PaintIt;
    game.label = kGameLabel;
    game.storyName = "PaintIt";
    game.manifest = L"PaintTheHouseMode";
    game.levelTag = L"PaintItLevel";
    game.makeLevelReader = [] { return std::make_unique<PaintItLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<PaintTheHouseMode>();
    game.firstHint = PaintItContent::kFirstHint.name;
    game.laterHint = PaintItContent::kLaterHint.name;
    game.music = PaintItContent::kMusic.name;
    game.content = PaintItContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
