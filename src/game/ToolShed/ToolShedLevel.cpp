#include "game/ToolShed/ToolShedLevel.h"

#include "core/AttributeContainer.h"
#include "core/XMLElement.h"
#include "game/YardcrewNames.h"

#include <algorithm>

namespace Yardcrew
{

const char* const kToolShedToolColorNames[ToolShedToolColor_Count] = {"Red", "Blue", "Green", "Yellow"};
const char* const kToolShedToolTypeNames[ToolShedToolType_Count] = {"Brush", "Drill",       "Hammer", "Wrench",
                                                                    "Saw",   "Screwdriver", "Level",  "Pliers"};
const Strata::Label kToolShedToolSpriteTypes[ToolShedToolType_Count] = {
    "ToolShedTool_Brush", "ToolShedTool_Drill",       "ToolShedTool_Hammer", "ToolShedTool_Wrench",
    "ToolShedTool_Saw",   "ToolShedTool_Screwdriver", "ToolShedTool_Level",  "ToolShedTool_Pliers"};

const char* const kToolShedSortNames[ToolShedSort_Count] = {"Type", "Color"};

namespace
{

ToolShedTool ReadTool(const Strata::XMLElement& element)
{
    return {static_cast<ToolShedToolType>(FindName(kToolShedToolTypeNames, element.GetAttribute(L"type"))),
            static_cast<ToolShedToolColor>(FindName(kToolShedToolColorNames, element.GetAttribute(L"color")))};
}

} // namespace

void ToolShedLevel::ReadAttributes(const Strata::IAttributeContainer& attributes)
{
    sortBy = static_cast<ToolShedSort>(FindName(kToolShedSortNames, attributes.GetAttribute(L"sortBy")));
}

void ToolShedLevel::ReadChild(const Strata::XMLElement& element)
{
    const std::wstring& tag = element.GetName();
    // Entries past the caps are counted for the check, so an overlong level is refused as a whole.
    if (tag == L"Box" && boxes.size() <= kToolShedMaxBoxes)
        boxes.push_back(ReadTool(element));
    else if (tag == L"Tool" && tools.size() <= kToolShedMaxTools)
        tools.push_back(ReadTool(element));
}

bool ToolShedLevel::Fits(const ToolShedTool& box, const ToolShedTool& tool) const
{
    if (sortBy == ToolShedSort_Type)
        return box.type != ToolShedToolType_None && box.type == tool.type;
    if (sortBy == ToolShedSort_Color)
        return box.color != ToolShedToolColor_None && box.color == tool.color;
    return false;
}

int ToolShedLevel::BoxFor(const ToolShedTool& tool) const
{
    const auto found =
        std::find_if(boxes.begin(), boxes.end(), [&](const ToolShedTool& box) { return Fits(box, tool); });
    return found != boxes.end() ? static_cast<int>(found - boxes.begin()) : -1;
}

std::string ToolShedLevel::Validate() const
{
    if (sortBy == ToolShedSort_None)
        return "has no \"sortBy\" of \"Type\" or \"Color\"";
    if (boxes.size() < kToolShedMinBoxes || boxes.size() > kToolShedMaxBoxes)
        return "has " + std::to_string(boxes.size()) + " \"Box\", not " + std::to_string(kToolShedMinBoxes) + " to " +
               std::to_string(kToolShedMaxBoxes);
    if (tools.empty() || tools.size() > kToolShedMaxTools)
        return "has " + std::to_string(tools.size()) + " \"Tool\", not 1 to " + std::to_string(kToolShedMaxTools);
    for (size_t i = 0; i < boxes.size(); ++i)
    {
        const bool known = sortBy == ToolShedSort_Type ? boxes[i].type != ToolShedToolType_None
                                                       : boxes[i].color != ToolShedToolColor_None;
        if (!known)
            return std::string("has a box of an unknown ") + (sortBy == ToolShedSort_Type ? "type" : "colour");
        // Two boxes for one kind would make a right drop wrong in the other.
        for (size_t j = 0; j < i; ++j)
            if (Fits(boxes[j], boxes[i]))
                return "has two boxes for one " + std::string(sortBy == ToolShedSort_Type ? "type" : "colour");
    }
    for (const ToolShedTool& tool : tools)
    {
        if (tool.type == ToolShedToolType_None || tool.color == ToolShedToolColor_None)
            return "has a tool of an unknown type or colour";
        if (BoxFor(tool) < 0)
            return std::string("has a ") + kToolShedToolColorNames[tool.color] + " " +
                   kToolShedToolTypeNames[tool.type] + " that no box takes, so it could never end";
    }
    return std::string();
}

} // namespace Yardcrew
