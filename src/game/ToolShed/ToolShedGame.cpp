#include "game/ToolShed/ToolShedGame.h"

#include "game/MiniGameKit.h"
#include "game/ToolShed/ToolShedContent.h"
#include "game/ToolShed/ToolShedLevel.h"
#include "game/ToolShed/ToolShedMode.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<ToolShedMode, ToolShedLevelResourceFactory, ToolShedContent::Declared>;

// The tools are thrown up first; the pop-up opens once they have landed.
const sMiniGameRecord kRecord{.type = GameModeType_ToolShed,
                              .label = "ToolShed",
                              .content = ToolShedContent::List,
                              .mode = {.inputMask = "ToolShed_ClickMask", .instructionsAfterIntro = true}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(ToolShed)

} // namespace Yardcrew
