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

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MouseInput_ClickMask",
                                               Strata::NodePathTerminator()};

const sMiniGameRecord kRecord{
    .type = GameModeType_HaulersDelivery,
    .label = "HaulersDelivery",
    .storyName = "HaulerDelivery",
    .mode = {.inputMask = kClickMaskPath, .repeating = true, .instructionsWithoutLevel = true}};

} // namespace

const sMiniGameDescription& HaulersDeliveryDescription()
{
    return Kit::Describe(kRecord);
}

void RegisterHaulersDelivery()
{
    Kit::Register(kRecord);
}

} // namespace Yardcrew
