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
    Kit::Register(HaulersDeliveryDescription(), {.storyName = "HaulerDelivery",
                                                 .manifest = L"HaulersDeliveryMode",
                                                 .levelTag = L"HaulersDeliveryLevel",
                                                 .firstHint = Names::kFirstHint.name,
                                                 .laterHint = Names::kLaterHint.name,
                                                 .music = Names::kMusic.name,
                                                 .content = Names::List()});
}

} // namespace Yardcrew
