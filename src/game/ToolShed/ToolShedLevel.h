#pragma once

// A level of the tool-shed game: the boxes on the shelf and the tools thrown on the floor, sorted by
// their kind or by their colour as the level asks.
//
//   <ToolShedLevel name="..." difficulty="Easy" sortBy="Color">
//     <Box color="Red"/>                       (sortBy="Type": <Box type="Hammer"/>)
//     <Tool type="Hammer" color="Red"/>
//   </ToolShedLevel>
//
// "sortBy" is "Type" or "Color"; tool types are "Brush", "Drill", "Hammer", "Wrench", "Saw",
// "Screwdriver", "Level" and "Pliers", colours "Red", "Blue", "Green" and "Yellow", all spelt exactly.
// Boxes stand on the shelf in file order; each box takes the tools of its kind (or colour), and every
// tool must have a box. A level has kToolShedMinBoxes to kToolShedMaxBoxes "Box" and one to
// kToolShedMaxTools "Tool".

#include "core/Label.h"
#include "game/GameLevelReaders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{
class XMLElement;
class IAttributeContainer;
} // namespace Strata

namespace Yardcrew
{

enum ToolShedToolColor : int32_t
{
    ToolShedToolColor_None = -1,
    ToolShedToolColor_Red,
    ToolShedToolColor_Blue,
    ToolShedToolColor_Green,
    ToolShedToolColor_Yellow,
    ToolShedToolColor_Count
};
extern const char* const kToolShedToolColorNames[ToolShedToolColor_Count];

enum ToolShedToolType : int32_t
{
    ToolShedToolType_None = -1,
    ToolShedToolType_Brush,
    ToolShedToolType_Drill,
    ToolShedToolType_Hammer,
    ToolShedToolType_Wrench,
    ToolShedToolType_Saw,
    ToolShedToolType_Screwdriver,
    ToolShedToolType_Level,
    ToolShedToolType_Pliers,
    ToolShedToolType_Count
};
extern const char* const kToolShedToolTypeNames[ToolShedToolType_Count];
// Sprite types, parallel to the tool types.
extern const Strata::Label kToolShedToolSpriteTypes[ToolShedToolType_Count];

// The shelf has room for four boxes, the floor for ten tools.
constexpr size_t kToolShedMinBoxes = 2;
constexpr size_t kToolShedMaxBoxes = 4;
constexpr size_t kToolShedMaxTools = 10;

enum ToolShedSort : int32_t
{
    ToolShedSort_None = -1,
    ToolShedSort_Type,
    ToolShedSort_Color,
    ToolShedSort_Count
};
extern const char* const kToolShedSortNames[ToolShedSort_Count];

struct ToolShedTool
{
    ToolShedToolType type = ToolShedToolType_None;
    ToolShedToolColor color = ToolShedToolColor_None;

    bool operator==(const ToolShedTool&) const = default;
};

struct ToolShedLevel
{
    ToolShedSort sortBy = ToolShedSort_None;
    // What each box takes: only the field the level sorts by counts.
    std::vector<ToolShedTool> boxes;
    std::vector<ToolShedTool> tools;

    void ReadAttributes(const Strata::IAttributeContainer& attributes);
    // "Box" appends a box, "Tool" a tool; any other tag is ignored. Unknown names read as None.
    void ReadChild(const Strata::XMLElement& element);
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;

    // Whether the box takes the tool, by the level's sort.
    bool Fits(const ToolShedTool& box, const ToolShedTool& tool) const;
    // The index of the box that takes the tool; -1 when none does.
    int BoxFor(const ToolShedTool& tool) const;
};

using ToolShedLevelResourceFactory = GameLevelReader<ToolShedLevel, GameModeType_ToolShed>;

} // namespace Yardcrew
