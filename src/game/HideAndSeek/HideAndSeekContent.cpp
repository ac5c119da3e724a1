#include "game/HideAndSeek/HideAndSeekContent.h"

namespace Yardcrew::HideAndSeekContent
{

std::span<const sContentName> List()
{
    static constexpr sContentName names[] = {kModeLayout,    kCharacterLayout, kObstacleLayout,    kCursor,
                                             kCursorHotSpot, kObstacles,       kObstacleRollovers, kWrongAnimals,
                                             kMusic,         kGameComplete,    kWrongObstacle,     kRollover,
                                             kSelect,        kStartLocation,   kEndLocation,       kTabbySprite,
                                             kTailSprite};
    return names;
}

} // namespace Yardcrew::HideAndSeekContent
