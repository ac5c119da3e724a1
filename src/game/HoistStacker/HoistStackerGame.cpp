#include "game/HoistStacker/HoistStackerGame.h"

#include "game/HoistStacker/HoistStackerContent.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/HoistStacker/HoistStackerMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<HoistStackerMode, HoistStackerLevelResourceFactory, HoistStackerContent::Declared>;

const sMiniGameRecord kRecord{.type = GameModeType_HoistStacker, .label = "HoistStacker", .mode = {.repeating = true}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(HoistStacker)

} // namespace Yardcrew
