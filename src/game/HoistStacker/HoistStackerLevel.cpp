#include "game/HoistStacker/HoistStackerLevel.h"

#include "core/XMLElement.h"
#include "game/YardcrewNames.h"

#include <set>
#include <utility>

namespace Yardcrew
{

const char* const kStackObjectColorNames[StackObjectColor_Count] = {"Red", "Blue"};
const char* const kStackObjectTypeNames[StackObjectType_Count] = {"Girder", "Log"};

void HoistStackerLevel::ReadChild(const Strata::XMLElement& element)
{
    if (element.GetName() != L"StackObject")
        return;
    // Objects past the cap are counted for the check, so an overlong level is refused as a whole.
    if (objects.size() > kHoistStackerMaxObjects)
        return;
    objects.push_back({element.GetAttribute(L"size", 0),
                       static_cast<StackObjectColor>(FindName(kStackObjectColorNames, element.GetAttribute(L"color"))),
                       static_cast<StackObjectType>(FindName(kStackObjectTypeNames, element.GetAttribute(L"type")))});
}

std::string HoistStackerLevel::Validate() const
{
    if (objects.empty())
        return "has no \"StackObject\"";
    if (objects.size() > kHoistStackerMaxObjects)
        return "has more than " + std::to_string(kHoistStackerMaxObjects) + " \"StackObject\"";
    // Sizes 1 to 5, each once per colour, keep a colour within a platform's five stacking points.
    std::set<std::pair<StackObjectColor, int32_t>> sizes;
    for (const StackableObjectData& object : objects)
    {
        if (object.color < 0 || object.color >= StackObjectColor_Count)
            return "has an object of an unknown colour";
        if (object.type < 0 || object.type >= StackObjectType_Count)
            return "has an object of an unknown type";
        if (object.size < 1 || object.size > kHoistStackerMaxSize)
            return "has an object of \"size\" " + std::to_string(object.size) + ", not 1 to " +
                   std::to_string(kHoistStackerMaxSize);
        // Two of one size would claim the same place, and the stack could never be judged right.
        if (!sizes.insert({object.color, object.size}).second)
            return std::string("has two ") + kStackObjectColorNames[object.color] + " objects of size " +
                   std::to_string(object.size);
    }
    return std::string();
}

} // namespace Yardcrew
