#include "game/StreetSigns/StreetSignsGame.h"

#include "game/MiniGameKit.h"
#include "game/StreetSigns/StreetSignLevel.h"
#include "game/StreetSigns/StreetSignsContent.h"
#include "game/StreetSigns/StreetSignsMode.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<StreetSignsMode, StreetSignLevelResourceFactory, StreetSignsContent::Declared>;

const sMiniGameRecord kRecord{.type = GameModeType_StreetSigns,
                              .label = "StreetSigns",
                              .content = StreetSignsContent::List,
                              .levelTag = L"StreetSignLevel",
                              .mode = {.inputMask = "MouseInput_ClickMask", .repeating = true}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(StreetSigns)

} // namespace Yardcrew
