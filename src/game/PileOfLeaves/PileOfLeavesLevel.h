#pragma once

// A level of the tool-finding game: how many tools lie on the field, how many leaves cover the whole
// field and each tool, and how far around the pointer the leaves slide away.
//
//   <PileOfLeavesLevel name="..." difficulty="Easy" numTools="4" areaCover="40" toolCover="6"
//                      cursorRadius="100"/>
//
// Every attribute is a decimal integer; a missing one reads as 0 ("cursorRadius" as 100). "numTools" is
// 1 to kPileOfLeavesMaxTools, "areaCover" 0 to kPileOfLeavesMaxAreaCover, "toolCover" 0 to
// kPileOfLeavesMaxToolCover and "cursorRadius" 1 to kPileOfLeavesMaxCursorRadius. The game asks
// for "RepeatedGameNumLoops" + 1 tools, so a level should hold at least that many; with fewer it ends
// when none is left to ask for. A radius below 1 is refused: no leaf would ever move.

#include "game/GameLevelReaders.h"
#include "game/YardcrewNames.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Strata
{
class IAttributeContainer;
class XMLElement;
} // namespace Strata

namespace Yardcrew
{

// The tool kinds and colours the generation rules allow above six tools: one Hammer, one Drill, two
// Wrenches, two Screwdrivers and four of each other kind.
constexpr int32_t kPileOfLeavesMaxTools = 22;
// Beyond these the pile costs more to draw than it is worth and the spacing of the area leaves means
// nothing.
constexpr int32_t kPileOfLeavesMaxAreaCover = 300;
constexpr int32_t kPileOfLeavesMaxToolCover = 30;
// Wider than the screen: every leaf would slide for any pointer position.
constexpr int32_t kPileOfLeavesMaxCursorRadius = 400;

struct PileOfLeavesLevel
{
    int32_t numTools = 0;
    int32_t cursorRadius = 100;
    int32_t areaCover = 0;
    int32_t toolCover = 0;

    void ReadAttributes(const Strata::IAttributeContainer& attributes);
    void ReadChild(const Strata::XMLElement&) {}
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;
    // numTools within 0 to kPileOfLeavesMaxTools, whatever was read.
    int32_t ToolCount() const;

    // Whether a tool of `kind` in `color` may join the tools `made` so far of a field of `count`: never
    // twice the same tool; at six tools or fewer at most two of a kind; above six one Hammer, one Drill,
    // two Wrenches, two Screwdrivers and any number of the other kinds.
    static bool MayAddTool(const std::vector<std::pair<YardcrewColor, YardcrewTool>>& made, int count,
                           YardcrewColor color, YardcrewTool kind);
};

using PileOfLeavesLevelResourceFactory = GameLevelReader<PileOfLeavesLevel, GameModeType_PileOfLeaves>;

} // namespace Yardcrew
