#include "game/HaulersDelivery/HaulersDeliveryContent.h"

namespace Yardcrew::HaulersDeliveryContent
{

std::span<const sContentName> List()
{
    static const sContentName names[] = {
        kModeLayout, kCartLayout,    kCargoLayout, kCursor,      kCursorHotSpot, kSmallCargo,   kSmallRollover,
        kLargeCargo, kLargeRollover, kMusic,       kFirstHint,   kLaterHint,     kGameComplete, kWrongColor,
        kWrongType,  kWrong,         kHoistVoice,  kHorn,        kMoveLong,      kHoistArm,     kToolbox,
        kBrickDrop,  kRollover,      kClick,       kTruckSprite, kCartSprite,    kHoistSprite};
    return names;
}

} // namespace Yardcrew::HaulersDeliveryContent
