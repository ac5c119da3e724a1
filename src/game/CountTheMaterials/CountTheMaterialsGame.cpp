#include "game/CountTheMaterials/CountTheMaterialsGame.h"

#include "game/CountTheMaterials/CountTheMaterialsContent.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

using Kit =
    MiniGameKit<CountTheMaterialsMode, CountTheMaterialsLevelResourceFactory, CountTheMaterialsContent::Declared>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "Material_ClickMask",
                                               Strata::NodePathTerminator()};
const Strata::NodePathStep kSortedLayerPath[] = {"GameScreenRoot", "Playfield", "YSortedLayer",
                                                 Strata::NodePathTerminator()};

const sMiniGameRecord kRecord{
    .type = GameModeType_CountTheMaterials,
    .label = "CountTheMaterials",
    .content = CountTheMaterialsContent::List,
    .mode = {.inputMask = kClickMaskPath, .sortedLayer = kSortedLayerPath, .repeating = true}};

} // namespace

const sMiniGameDescription& CountTheMaterialsDescription()
{
    return Kit::Describe(kRecord);
}

void RegisterCountTheMaterials()
{
    Kit::Register(kRecord);
}

} // namespace Yardcrew
