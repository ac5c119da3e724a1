#include "game/HaulersDelivery/HaulersDeliveryGame.h"

#include "game/HaulersDelivery/HaulersDeliveryContent.h"
#include "game/HaulersDelivery/HaulersDeliveryLevel.h"
#include "game/HaulersDelivery/HaulersDeliveryMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<HaulersDeliveryMode, HaulersDeliveryLevelResourceFactory, HaulersDeliveryContent::Declared>;

// The story's steps spell the game without the s ("HaulerDelivery"); its label, manifest and every
// name of ours keep "HaulersDelivery".
constexpr const char* kStoryName = "HaulerDelivery";

const sMiniGameRecord kRecord{
    .type = GameModeType_HaulersDelivery,
    .label = "HaulersDelivery",
    .storyName = kStoryName,
    .mode = {.inputMask = "MouseInput_ClickMask", .repeating = true, .instructionsWithoutLevel = true}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(HaulersDelivery)

} // namespace Yardcrew
