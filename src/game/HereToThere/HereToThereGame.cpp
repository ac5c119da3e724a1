#include "game/HereToThere/HereToThereGame.h"

#include "game/GameRegistry.h"
#include "game/HereToThere/HereToThereContent.h"
#include "game/HereToThere/HereToThereLevel.h"
#include "game/HereToThere/HereToThereMode.h"
#include "game/MiniGameMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "HereToThere";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "Material_ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kSortedLayerPath[] = {"GameScreenRoot", "Playfield", "YSorted",
                                                 Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& HereToThereDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_HereToThere;
        d.modeName = "HereToThereMode";
        d.label = kGameLabel;
        d.layout = HereToThereContent::kModeLayout.name;
        d.cursor = HereToThereContent::kCursor.name;
        d.cursorHotSpot = HereToThereContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.sortedLayer = kSortedLayerPath;
        d.isPlayable = IsPlayableLevel<HereToThereLevel>;
        d.nextRound = [](int) -> std::unique_ptr<YardcrewGameMode> { return std::make_unique<HereToThereMode>(); };
        return d;
    }();
    return description;
}

void RegisterHereToThere()
{
    sGameRegistration game;
    game.type = GameModeType_HereToThere;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"HereToThereMode";
    game.levelTag = L"HereToThereLevel";
    game.makeLevelReader = [] { return std::make_unique<HereToThereLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<HereToThereMode>();
    game.firstHint = HereToThereContent::kFirstHint.name;
    game.laterHint = HereToThereContent::kLaterHint.name;
    game.music = HereToThereContent::kMusic.name;
    game.content = HereToThereContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
