#include "game/PileOfLeaves/PileOfLeavesContent.h"

#include <iterator>
#include <vector>

namespace Yardcrew::PileOfLeavesContent
{

std::span<const sContentName> List()
{
    static const std::vector<sContentName> names = []
    {
        std::vector<sContentName> list = {
            kModeLayout, kLeafLayout,   kToolLayout,   kAnimatedLeafLayout, kCursor,     kCursorHotSpot,   kLeaves,
            kMusic,      kHint,         kGameComplete, kWrongTool,          kBlowLeaves, kRollover,        kSelect,
            kIntroTime,  kLeafDelayMax, kLeafSpeed,    kToolSpeed,          kDogSprite,  kColoredToolWords};
        list.insert(list.end(), std::begin(kToolImages), std::end(kToolImages));
        return list;
    }();
    return names;
}

} // namespace Yardcrew::PileOfLeavesContent
