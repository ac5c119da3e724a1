#include "game/HammerTheNail/HammerTheNailGame.h"

#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<HammerTheNailMode, HammerTheNailLevelResourceFactory, HammerTheNailContent::Declared>;

const sMiniGameRecord kRecord{
    .type = GameModeType_HammerTheNail,
    .label = "HammerTheNail",
    .content = HammerTheNailContent::List,
    .mode = {.inputMask = "MaskInput_ClickMask", .repeating = true, .instructionsWithoutLevel = true}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(HammerTheNail)

} // namespace Yardcrew
