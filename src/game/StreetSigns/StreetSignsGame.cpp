#include "game/StreetSigns/StreetSignsGame.h"

#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"
#include "game/StreetSigns/StreetSignLevel.h"
#include "game/StreetSigns/StreetSignsContent.h"
#include "game/StreetSigns/StreetSignsMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "StreetSigns";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MouseInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& StreetSignsDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_StreetSigns;
        d.modeName = "StreetSignsMode";
        d.label = kGameLabel;
        d.layout = StreetSignsContent::kModeLayout.name;
        d.cursor = StreetSignsContent::kCursor.name;
        d.cursorHotSpot = StreetSignsContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.repeating = true;
        d.isPlayable = IsPlayableLevel<StreetSignLevel>;
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<StreetSignsMode>(false, roundsLeft); };
        return d;
    }();
    return description;
}

void RegisterStreetSigns()
{
    sGameRegistration game;
    game.type = GameModeType_StreetSigns;
    game.label = kGameLabel;
    game.storyName = "StreetSigns";
    game.manifest = L"StreetSignsMode";
    game.levelTag = L"StreetSignLevel";
    game.makeLevelReader = [] { return std::make_unique<StreetSignLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<StreetSignsMode>();
    game.firstHint = StreetSignsContent::kHint.name;
    game.laterHint = StreetSignsContent::kHint.name;
    game.music = StreetSignsContent::kMusic.name;
    game.content = StreetSignsContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
