#include "game/HammerTheNail/HammerTheNailGame.h"

#include "game/GameRegistry.h"
#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/MiniGameMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "HammerTheNail";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MaskInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& HammerTheNailDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_HammerTheNail;
        d.modeName = "HammerTheNailMode";
        d.label = kGameLabel;
        d.layout = HammerTheNailContent::kModeLayout.name;
        d.cursor = HammerTheNailContent::kCursor.name;
        d.cursorHotSpot = HammerTheNailContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.repeating = true;
        d.isPlayable = IsPlayableLevel<HammerTheNailLevel>;
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<HammerTheNailMode>(false, roundsLeft); };
        return d;
    }();
    return description;
}

void RegisterHammerTheNail()
{
    sGameRegistration game;
    game.type = GameModeType_HammerTheNail;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"HammerTheNailMode";
    game.levelTag = L"HammerTheNailLevel";
    game.makeLevelReader = [] { return std::make_unique<HammerTheNailLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<HammerTheNailMode>();
    game.firstHint = HammerTheNailContent::kFirstHint.name;
    game.laterHint = HammerTheNailContent::kLaterHint.name;
    game.music = HammerTheNailContent::kMusic.name;
    game.content = HammerTheNailContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
