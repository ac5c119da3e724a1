#include "game/HereToThere/HereToThereGame.h"

#include "game/HereToThere/HereToThereContent.h"
#include "game/HereToThere/HereToThereLevel.h"
#include "game/HereToThere/HereToThereMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

namespace Names = HereToThereContent;
using Kit = MiniGameKit<HereToThereMode, HereToThereLevelResourceFactory>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "Material_ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kSortedLayerPath[] = {"GameScreenRoot", "Playfield", "YSorted",
                                                 Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& HereToThereDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_HereToThere,
                                                                   .modeName = "HereToThereMode",
                                                                   .label = "HereToThere",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .sortedLayer = kSortedLayerPath});
    return description;
}

void RegisterHereToThere()
{
    Kit::Register(HereToThereDescription(), {.manifest = L"HereToThereMode",
                                             .levelTag = L"HereToThereLevel",
                                             .firstHint = Names::kFirstHint.name,
                                             .laterHint = Names::kLaterHint.name,
                                             .music = Names::kMusic.name,
                                             .content = Names::List()});
}

} // namespace Yardcrew
