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

YARDCREW_MINI_GAME_ENTRY_POINTS(CountTheMaterials)

} // namespace Yardcrew
