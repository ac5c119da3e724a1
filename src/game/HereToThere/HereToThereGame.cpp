#include "game/HereToThere/HereToThereGame.h"

#include "game/HereToThere/HereToThereContent.h"
#include "game/HereToThere/HereToThereLevel.h"
#include "game/HereToThere/HereToThereMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<HereToThereMode, HereToThereLevelResourceFactory, HereToThereContent::Declared>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "Material_ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kSortedLayerPath[] = {"GameScreenRoot", "Playfield", "YSorted",
                                                 Strata::NodePathTerminator()};

const sMiniGameRecord kRecord{.type = GameModeType_HereToThere,
                              .label = "HereToThere",

                              .mode = {.inputMask = kClickMaskPath, .sortedLayer = kSortedLayerPath}};

} // namespace

const sMiniGameDescription& HereToThereDescription()
{
    return Kit::Describe(kRecord);
}

void RegisterHereToThere()
{
    Kit::Register(kRecord);
}

} // namespace Yardcrew
