#include "game/PaintIt/PaintItGame.h"

#include "game/MiniGameKit.h"
#include "game/PaintIt/PaintItContent.h"
#include "game/PaintIt/PaintItLevel.h"
#include "game/PaintIt/PaintTheHouseMode.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<PaintTheHouseMode, PaintItLevelResourceFactory, PaintItContent::Declared>;

const sMiniGameRecord kRecord{
    .type = GameModeType_PaintIt,
    .label = "PaintIt",
    .modeName = "PaintTheHouseMode",
    .mode = {.inputMask = "MouseInput_ClickMask", .repeating = true, .instructionsWithoutLevel = true}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(PaintIt)

} // namespace Yardcrew
