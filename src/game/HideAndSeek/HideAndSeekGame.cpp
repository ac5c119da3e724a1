#include "game/HideAndSeek/HideAndSeekGame.h"

#include "game/GameRegistry.h"
#include "game/HideAndSeek/HideAndSeekContent.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"
#include "game/HideAndSeek/HideAndSeekMode.h"
#include "game/MiniGameMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "HideAndSeek";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kLayerPaths[][5] = {
    {"GameScreenRoot", "Playfield", "PlayfieldLayers", "YSortedLayer_Easy", Strata::NodePathTerminator()},
    {"GameScreenRoot", "Playfield", "PlayfieldLayers", "YSortedLayer_Medium", Strata::NodePathTerminator()},
    {"GameScreenRoot", "Playfield", "PlayfieldLayers", "YSortedLayer_Hard", Strata::NodePathTerminator()}};

} // namespace

Strata::NodePath HideAndSeekLayerPath(GameModeDifficulty difficulty)
{
    if (difficulty < 0 || difficulty >= GameModeDifficulty_Count)
        return Strata::NodePath();
    return kLayerPaths[difficulty];
}

const sMiniGameDescription& HideAndSeekDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_HideAndSeek;
        d.modeName = "HideAndSeekMode";
        d.label = kGameLabel;
        d.layout = HideAndSeekContent::kModeLayout.name;
        d.cursor = HideAndSeekContent::kCursor.name;
        d.cursorHotSpot = HideAndSeekContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        // No depth sort: the layer draws in list order and the cat puts itself first to run behind
        // every obstacle.
        d.introState = static_cast<IntroForemanState>(2);
        d.isPlayable = IsPlayableLevel<HideAndSeekLevel>;
        d.nextRound = [](int) -> std::unique_ptr<YardcrewGameMode> { return std::make_unique<HideAndSeekMode>(); };
        return d;
    }();
    return description;
}

void RegisterHideAndSeek()
{
    sGameRegistration game;
    game.type = GameModeType_HideAndSeek;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"HideAndSeekMode";
    game.levelTag = L"HideAndSeekLevel";
    game.makeLevelReader = [] { return std::make_unique<HideAndSeekLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<HideAndSeekMode>();
    // The game speaks no hints.
    game.music = HideAndSeekContent::kMusic.name;
    game.content = HideAndSeekContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
