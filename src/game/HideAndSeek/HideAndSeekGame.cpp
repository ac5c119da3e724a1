#include "game/HideAndSeek/HideAndSeekGame.h"

#include "game/HideAndSeek/HideAndSeekContent.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"
#include "game/HideAndSeek/HideAndSeekMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

namespace Names = HideAndSeekContent;
using Kit = MiniGameKit<HideAndSeekMode, HideAndSeekLevelResourceFactory>;

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
    // No depth sort: the layer draws in list order and the cat puts itself first to run behind every
    // obstacle.
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_HideAndSeek,
                                                                   .modeName = "HideAndSeekMode",
                                                                   .label = "HideAndSeek",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath});
    return description;
}

void RegisterHideAndSeek()
{
    // The game speaks no hints.
    Kit::Register(HideAndSeekDescription(), {.manifest = L"HideAndSeekMode",
                                             .levelTag = L"HideAndSeekLevel",
                                             .music = Names::kMusic.name,
                                             .content = Names::List()});
}

} // namespace Yardcrew
