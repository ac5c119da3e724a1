#include "game/ToolShed/ToolShedContent.h"

#include <vector>

namespace Yardcrew::ToolShedContent
{

std::span<const sContentName> List()
{
    static const std::vector<sContentName> names = []
    {
        std::vector<sContentName> list = {
            kModeLayout, kItemLayout,     kBoxLayout, kCursor,    kCursorHotSpot, kToolRollover,
            kBoxBack,    kBoxFront,       kBoxSign,   kThrowFrom, kThrowInterval, kFlightTime,
            kReturnTime, kBoxToolOffsets, kMusic,     kFirstHint, kLaterHint,     kGameComplete,
            kWrongBox,   kRollover,       kPickUp,    kIntoBox,   kThrow,         kLand};
        // The table's Labels are interned for the life of the program.
        for (const Strata::Label& sprite : kToolShedToolSpriteTypes)
            list.push_back({ContentKind_SpriteType, sprite.c_str(), 0, kAnyContentCount, kToolShedToolColorNames});
        return list;
    }();
    return names;
}

} // namespace Yardcrew::ToolShedContent
