#include "game/HoistStacker/HoistStackerContent.h"

#include <iterator>
#include <vector>

namespace Yardcrew::HoistStackerContent
{

std::span<const sContentName> List()
{
    static const std::vector<sContentName> names = []
    {
        std::vector<sContentName> list = {
            kModeLayout, kObjectLayout, kTargetLayout, kCursor,   kCursorHotSpot, kMusic, kFirstHint, kLaterHint,
            kIThinkSo,   kTada,         kSameColor,    kRollover, kStick,         kDrop,  kFall,      kHoistSprite};
        for (const auto& kind : kPictures)
            list.insert(list.end(), std::begin(kind), std::end(kind));
        list.insert(list.end(), std::begin(kRollovers), std::end(kRollovers));
        list.insert(list.end(), std::begin(kPlatforms), std::end(kPlatforms));
        return list;
    }();
    return names;
}

} // namespace Yardcrew::HoistStackerContent
