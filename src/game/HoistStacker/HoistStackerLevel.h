#pragma once

// A level of the stacking game: the logs and girders that lie on the ground at the start of a round.
//
//   <HoistStackerLevel name="..." difficulty="Easy">
//     <StackObject size="3" color="Red" type="Girder"/>   (one to kHoistStackerMaxObjects, at any depth)
//   </HoistStackerLevel>
//
// "size" (1 to kHoistStackerMaxSize) picks the picture and orders the stack: a larger object belongs
// lower. "color" is "Red" or "Blue", "type" "Girder" or "Log", spelt exactly. One platform stands per
// colour used, with five stacking points, so within a colour there are at most five objects, each of its
// own size.

#include "game/GameLevelReaders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{
class XMLElement;
}

namespace Yardcrew
{

enum StackObjectColor : int32_t
{
    StackObjectColor_None = -1,
    StackObjectColor_Red,
    StackObjectColor_Blue,
    StackObjectColor_Count
};
extern const char* const kStackObjectColorNames[StackObjectColor_Count];

enum StackObjectType : int32_t
{
    StackObjectType_None = -1,
    StackObjectType_Girder,
    StackObjectType_Log,
    StackObjectType_Count
};
extern const char* const kStackObjectTypeNames[StackObjectType_Count];

// Ten ground positions; five pictures per list, as many as a platform has stacking points.
constexpr size_t kHoistStackerMaxObjects = 10;
constexpr int32_t kHoistStackerMaxSize = 5;

struct StackableObjectData
{
    int32_t size = 0;
    StackObjectColor color = StackObjectColor_None;
    StackObjectType type = StackObjectType_None;
};

struct HoistStackerLevel
{
    // In document order.
    std::vector<StackableObjectData> objects;

    // "StackObject" appends an object; any other tag is ignored.
    void ReadChild(const Strata::XMLElement& element);
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;
};

using HoistStackerLevelResourceFactory = GameLevelReader<HoistStackerLevel, GameModeType_HoistStacker>;

} // namespace Yardcrew
