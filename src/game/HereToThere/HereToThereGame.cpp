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

const sMiniGameRecord kRecord{.type = GameModeType_HereToThere,
                              .label = "HereToThere",
                              .mode = {.inputMask = "Material_ClickMask", .sortedLayer = "YSorted"}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(HereToThere)

} // namespace Yardcrew
