#include "game/HideAndSeek/HideAndSeekGame.h"

#include "game/HideAndSeek/HideAndSeekContent.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"
#include "game/HideAndSeek/HideAndSeekMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<HideAndSeekMode, HideAndSeekLevelResourceFactory, HideAndSeekContent::Declared>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kLayerPaths[][5] = {
    {"GameScreenRoot", "Playfield", "PlayfieldLayers", "YSortedLayer_Easy", Strata::NodePathTerminator()},
    {"GameScreenRoot", "Playfield", "PlayfieldLayers", "YSortedLayer_Medium", Strata::NodePathTerminator()},
    {"GameScreenRoot", "Playfield", "PlayfieldLayers", "YSortedLayer_Hard", Strata::NodePathTerminator()}};

// No depth sort: the layer draws in list order and the cat puts itself first to run behind every
// obstacle. The game speaks no hints.
const sMiniGameRecord kRecord{.type = GameModeType_HideAndSeek,
                              .label = "HideAndSeek",

                              .mode = {.inputMask = kClickMaskPath}};

} // namespace

Strata::NodePath HideAndSeekLayerPath(GameModeDifficulty difficulty)
{
    if (difficulty < 0 || difficulty >= GameModeDifficulty_Count)
        return Strata::NodePath();
    return kLayerPaths[difficulty];
}

const sMiniGameDescription& HideAndSeekDescription()
{
    return Kit::Describe(kRecord);
}

void RegisterHideAndSeek()
{
    Kit::Register(kRecord);
}

} // namespace Yardcrew
