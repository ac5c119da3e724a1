#include "game/HereToThere/HereToThereContent.h"

#include <iterator>
#include <vector>

namespace Yardcrew::HereToThereContent
{

std::span<const sContentName> List()
{
    static const std::vector<sContentName> names = []
    {
        std::vector<sContentName> list = {
            kModeLayout,    kCartLayout,    kAnimalLayout,   kHouseLayout, kDummyHouseLayout, kCursor,
            kCursorHotSpot, kAnimals,       kHouses,         kMusic,       kFirstHint,        kLaterHint,
            kGameComplete,  kWrongHouse,    kHorn,           kMoveShort,   kMoveLong,         kRollover,
            kSelect,        kStreetSpeed,   kLoadingSpeed,   kIdle,        kLoadingRowEnd,    kRoadEndLeft,
            kRoadEndRight,  kOffscreenLeft, kOffscreenRight, kTruckSprite};
        list.insert(list.end(), std::begin(kShapeImages), std::end(kShapeImages));
        return list;
    }();
    return names;
}

} // namespace Yardcrew::HereToThereContent
