#pragma once

// A level of the hammering game: the nails to drive and any extra tools for the tool box.
//
//   <HammerTheNailLevel name="..." difficulty="Easy">
//     <Tool type="DriverPlus" color="Yellow"/>                     (extra tools, first in the box)
//     <Nail type="Wrench" color="Red" clickCount="2" x="120" y="40"/> (x, y inside "MaterialTargets")
//   </HammerTheNailLevel>
//
// Tool types are "Wrench", "DriverPlus" and "DriverMinus"; colours "Red", "Green", "Blue" and "Yellow",
// spelt exactly. The box holds the "Tool" elements in file order, then one tool for each distinct type
// and colour a nail needs, ordered by type, then colour: kHammerTheNailMaxTools in all at most. A level
// has at most kHammerTheNailMaxNails "Nail", each of "clickCount" 0 to kHammerTheNailMaxStrokes (one at
// least above 0), at "x" and "y" within kHammerTheNailFieldWidth by kHammerTheNailFieldHeight.

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

enum FixItToolType : int32_t
{
    FixItToolType_None = -1,
    FixItToolType_Wrench,
    FixItToolType_DriverPlus,
    FixItToolType_DriverMinus,
    FixItToolType_Count
};
extern const char* const kFixItToolTypeNames[FixItToolType_Count];

enum FixItToolColor : int32_t
{
    FixItToolColor_None = -1,
    FixItToolColor_Red,
    FixItToolColor_Green,
    FixItToolColor_Blue,
    FixItToolColor_Yellow,
    FixItToolColor_Count
};
extern const char* const kFixItToolColorNames[FixItToolColor_Count];

// The tool box has four slots.
constexpr size_t kHammerTheNailMaxTools = 4;
// Every nail image list has frames 0 to this, and the attach offsets entries 1 to this.
constexpr int32_t kHammerTheNailMaxStrokes = 3;
// Eight nail pictures, 100 pixels wide, side by side fill the 800-pixel row of "MaterialTargets"; more
// would crowd the playfield.
constexpr size_t kHammerTheNailMaxNails = 8;
// A nail's place lies inside the 800 by 600 playfield.
constexpr int32_t kHammerTheNailFieldWidth = 800;
constexpr int32_t kHammerTheNailFieldHeight = 600;

struct FixItTool
{
    FixItToolType type = FixItToolType_None;
    FixItToolColor color = FixItToolColor_None;

    auto operator<=>(const FixItTool&) const = default;
};

struct NailData
{
    FixItToolType type = FixItToolType_None;
    FixItToolColor color = FixItToolColor_None;
    // Strokes needed to drive it home; 0 is driven from the start.
    int32_t clickCount = 0;
    int32_t x = 0;
    int32_t y = 0;

    FixItTool Tool() const { return {type, color}; }
    bool operator==(const NailData&) const = default;
};

struct HammerTheNailLevel
{
    // The "Tool" elements, in file order.
    std::vector<FixItTool> extraTools;
    std::vector<NailData> nails;

    // "Tool" appends an extra tool, "Nail" a nail; any other tag is ignored. Unknown names read as
    // None, missing numbers as 0.
    void ReadChild(const Strata::XMLElement& element);
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;
    // The tool box in slot order: the extra tools, then each distinct tool the nails need.
    std::vector<FixItTool> Tools() const;
};

// The tool type or colour the name spells exactly, or None.
FixItToolType ParseFixItToolType(const std::wstring& text);
FixItToolColor ParseFixItToolColor(const std::wstring& text);

using HammerTheNailLevelResourceFactory = GameLevelReader<HammerTheNailLevel, GameModeType_HammerTheNail>;

} // namespace Yardcrew
