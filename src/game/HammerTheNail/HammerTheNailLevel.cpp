#include "game/HammerTheNail/HammerTheNailLevel.h"

#include "core/XMLElement.h"
#include "game/YardcrewNames.h"

#include <algorithm>
#include <set>

namespace Yardcrew
{

const char* const kFixItToolTypeNames[FixItToolType_Count] = {"Wrench", "DriverPlus", "DriverMinus"};
const char* const kFixItToolColorNames[FixItToolColor_Count] = {"Red", "Green", "Blue", "Yellow"};

namespace
{

bool IsKnown(const FixItTool& tool)
{
    return tool.type != FixItToolType_None && tool.color != FixItToolColor_None;
}

FixItTool ReadTool(const Strata::XMLElement& element)
{
    return {ParseFixItToolType(element.GetAttribute(L"type")), ParseFixItToolColor(element.GetAttribute(L"color"))};
}

} // namespace

FixItToolType ParseFixItToolType(const std::wstring& text)
{
    return static_cast<FixItToolType>(FindName(kFixItToolTypeNames, text));
}

FixItToolColor ParseFixItToolColor(const std::wstring& text)
{
    return static_cast<FixItToolColor>(FindName(kFixItToolColorNames, text));
}

void HammerTheNailLevel::ReadChild(const Strata::XMLElement& element)
{
    const std::wstring& tag = element.GetName();
    // Entries past the caps are counted for the check, so an overlong level is refused as a whole.
    if (tag == L"Tool")
    {
        if (extraTools.size() <= kHammerTheNailMaxTools)
            extraTools.push_back(ReadTool(element));
    }
    else if (tag == L"Nail" && nails.size() <= kHammerTheNailMaxNails)
    {
        const FixItTool tool = ReadTool(element);
        nails.push_back({tool.type, tool.color, element.GetAttribute(L"clickCount", 0), element.GetAttribute(L"x", 0),
                         element.GetAttribute(L"y", 0)});
    }
}

std::vector<FixItTool> HammerTheNailLevel::Tools() const
{
    std::vector<FixItTool> tools = extraTools;
    std::set<FixItTool> needed;
    for (const NailData& nail : nails)
        needed.insert(nail.Tool());
    tools.insert(tools.end(), needed.begin(), needed.end());
    return tools;
}

std::string HammerTheNailLevel::Validate() const
{
    if (nails.size() > kHammerTheNailMaxNails)
        return "has more than " + std::to_string(kHammerTheNailMaxNails) + " \"Nail\"";
    if (std::any_of(extraTools.begin(), extraTools.end(), [](const FixItTool& tool) { return !IsKnown(tool); }))
        return "has a \"Tool\" of an unknown type or colour";
    for (const NailData& nail : nails)
    {
        if (!IsKnown(nail.Tool()))
            return "has a nail of an unknown type or colour";
        if (nail.clickCount < 0 || nail.clickCount > kHammerTheNailMaxStrokes)
            return "has a nail of \"clickCount\" " + std::to_string(nail.clickCount) + ", not 0 to " +
                   std::to_string(kHammerTheNailMaxStrokes);
        if (nail.x < 0 || nail.x >= kHammerTheNailFieldWidth || nail.y < 0 || nail.y >= kHammerTheNailFieldHeight)
            return "has a nail off the playfield at \"x\" " + std::to_string(nail.x) + ", \"y\" " +
                   std::to_string(nail.y);
    }
    // Every stroke is what ends a round, so a level without one could never end.
    if (std::none_of(nails.begin(), nails.end(), [](const NailData& nail) { return nail.clickCount > 0; }))
        return "has no nail that needs a stroke, so it could never end";
    if (const size_t tools = Tools().size(); tools > kHammerTheNailMaxTools)
        return "needs " + std::to_string(tools) +
               " tools (each \"Tool\" and each distinct tool of a \"Nail\"), more than the " +
               std::to_string(kHammerTheNailMaxTools) + " the box holds";
    return std::string();
}

} // namespace Yardcrew
