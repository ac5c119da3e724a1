#include "game/PileOfLeaves/PileOfLeavesLevel.h"

#include "core/AttributeContainer.h"

#include <algorithm>

namespace Yardcrew
{

namespace
{

std::string OutOfRange(const char* what, int32_t value, int32_t low, int32_t high)
{
    return std::string("has \"") + what + "\" " + std::to_string(value) + ", not " + std::to_string(low) + " to " +
           std::to_string(high);
}

} // namespace

void PileOfLeavesLevel::ReadAttributes(const Strata::IAttributeContainer& attributes)
{
    numTools = attributes.GetAttribute(L"numTools", 0);
    areaCover = attributes.GetAttribute(L"areaCover", 0);
    toolCover = attributes.GetAttribute(L"toolCover", 0);
    cursorRadius = attributes.GetAttribute(L"cursorRadius", 100);
}

int32_t PileOfLeavesLevel::ToolCount() const
{
    return std::clamp(numTools, 0, kPileOfLeavesMaxTools);
}

bool PileOfLeavesLevel::MayAddTool(const std::vector<std::pair<YardcrewColor, YardcrewTool>>& made, int count,
                                   YardcrewColor color, YardcrewTool kind)
{
    int sameKind = 0;
    for (const auto& [c, k] : made)
    {
        if (k != kind)
            continue;
        if (c == color)
            return false;
        ++sameKind;
    }
    if (count <= 6)
        return sameKind < 2;
    if (kind == YardcrewTool_Drill || kind == YardcrewTool_Hammer)
        return sameKind < 1;
    if (kind == YardcrewTool_Wrench || kind == YardcrewTool_Screwdriver)
        return sameKind < 2;
    return true;
}

std::string PileOfLeavesLevel::Validate() const
{
    if (numTools < 1 || numTools > kPileOfLeavesMaxTools)
        return OutOfRange("numTools", numTools, 1, kPileOfLeavesMaxTools);
    if (areaCover < 0 || areaCover > kPileOfLeavesMaxAreaCover)
        return OutOfRange("areaCover", areaCover, 0, kPileOfLeavesMaxAreaCover);
    if (toolCover < 0 || toolCover > kPileOfLeavesMaxToolCover)
        return OutOfRange("toolCover", toolCover, 0, kPileOfLeavesMaxToolCover);
    // A radius of 0 (also what a word such as "big" reads as) leaves every leaf lying on its tool.
    if (cursorRadius < 1 || cursorRadius > kPileOfLeavesMaxCursorRadius)
        return OutOfRange("cursorRadius", cursorRadius, 1, kPileOfLeavesMaxCursorRadius);
    return std::string();
}

} // namespace Yardcrew
