#include "game/HideAndSeek/HideAndSeekGame.h"

#include "game/HideAndSeek/HideAndSeekContent.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"
#include "game/HideAndSeek/HideAndSeekMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<HideAndSeekMode, HideAndSeekLevelResourceFactory, HideAndSeekContent::Declared>;

// No depth sort: the layer draws in list order and the cat puts itself first to run behind every
// obstacle. The game speaks no hints.
const sMiniGameRecord kRecord{
    .type = GameModeType_HideAndSeek, .label = "HideAndSeek", .mode = {.inputMask = "ClickMask"}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(HideAndSeek)

} // namespace Yardcrew
