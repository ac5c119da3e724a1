#include "game/HaulersDelivery/HaulersDeliveryGame.h"

#include "game/HaulersDelivery/HaulersDeliveryContent.h"
#include "game/HaulersDelivery/HaulersDeliveryLevel.h"
#include "game/HaulersDelivery/HaulersDeliveryMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

namespace Names = HaulersDeliveryContent;
using Kit = MiniGameKit<HaulersDeliveryMode, HaulersDeliveryLevelResourceFactory>;

// The story's steps spell the game without the s ("HaulerDelivery"); its label, manifest and every
// name of ours keep "HaulersDelivery".
constexpr const char* kStoryName = "HaulerDelivery";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MouseInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& HaulersDeliveryDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_HaulersDelivery,
                                                                   .modeName = "HaulersDeliveryMode",
                                                                   .label = "HaulersDelivery",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .repeating = true,
                                                                   .instructionsWithoutLevel = true});
    return description;
}

void RegisterHaulersDelivery()
{
    Kit::Register(HaulersDeliveryDescription(), {.storyName = kStoryName,
                                                 .manifest = L"HaulersDeliveryMode",
                                                 .levelTag = L"HaulersDeliveryLevel",
                                                 .firstHint = Names::kFirstHint.name,
                                                 .laterHint = Names::kLaterHint.name,
                                                 .music = Names::kMusic.name,
                                                 .content = Names::List()});
}

} // namespace Yardcrew
