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

const sMiniGameRecord kRecord{
    .type = GameModeType_CountTheMaterials,
    .label = "CountTheMaterials",
    .content = CountTheMaterialsContent::List,
    .mode = {.inputMask = "Material_ClickMask", .sortedLayer = "YSortedLayer", .repeating = true}};

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
