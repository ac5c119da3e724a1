#include "game/CountTheMaterials/CountTheMaterialsGame.h"

#include "game/CountTheMaterials/CountTheMaterialsContent.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

namespace Names = CountTheMaterialsContent;
using Kit = MiniGameKit<CountTheMaterialsMode, CountTheMaterialsLevelResourceFactory>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "Material_ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kSortedLayerPath[] = {"GameScreenRoot", "Playfield", "YSortedLayer",
                                                 Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& CountTheMaterialsDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_CountTheMaterials,
                                                                   .modeName = "CountTheMaterialsMode",
                                                                   .label = "CountTheMaterials",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .sortedLayer = kSortedLayerPath,
                                                                   .repeating = true});
    return description;
}

void RegisterCountTheMaterials()
{
    Kit::Register(CountTheMaterialsDescription(), {.manifest = L"CountTheMaterialsMode",
                                                   .levelTag = L"CountTheMaterialsLevel",
                                                   .firstHint = Names::kHint.name,
                                                   .music = Names::kMusic.name,
                                                   .content = Names::List()});
}

} // namespace Yardcrew
