#include "game/HereToThere/HereToThereLevel.h"

#include "core/AttributeContainer.h"
#include "core/XMLElement.h"
#include "game/YardcrewNames.h"

#include <algorithm>

namespace Yardcrew
{

const char* const kHereToThereObjectColorNames[HereToThereObjectColor_Count] = {"Blue", "Green", "Purple", "Yellow"};
const char* const kHereToThereObjectShapeNames[HereToThereObjectShape_Count] = {"Square", "Circle", "Triangle", "Star"};

void HereToThereLevel::ReadAttributes(const Strata::IAttributeContainer& attributes)
{
    numBuildings = attributes.GetAttribute(L"numBuildings", 0);
    matchColor = attributes.GetAttribute(L"matchColor", false);
}

void HereToThereLevel::ReadChild(const Strata::XMLElement& element)
{
    if (element.GetName() != L"Animal")
        return;
    // Animals past the cap are counted for the check, so an overlong level is refused as a whole.
    if (animals.size() > kHereToThereMaxAnimals)
        return;
    animals.push_back(
        {static_cast<HereToThereObjectShape>(FindName(kHereToThereObjectShapeNames, element.GetAttribute(L"type"))),
         static_cast<HereToThereObjectColor>(FindName(kHereToThereObjectColorNames, element.GetAttribute(L"color")))});
}

size_t HereToThereLevel::DecoyCount() const
{
    const size_t buildings = static_cast<size_t>(std::max(numBuildings, 0));
    return buildings > animals.size() ? buildings - animals.size() : 0;
}

std::vector<HereToThereMark> HereToThereLevel::FreeDecoyMarks() const
{
    std::vector<HereToThereMark> marks;
    for (int shape = 0; shape < HereToThereObjectShape_Count; ++shape)
        for (int color = 0; color < HereToThereObjectColor_Count; ++color)
        {
            const HereToThereMark mark{static_cast<HereToThereObjectShape>(shape),
                                       static_cast<HereToThereObjectColor>(color)};
            const bool taken = std::any_of(animals.begin(), animals.end(),
                                           [&](const HereToThereMark& animal)
                                           { return animal == mark || (matchColor && animal.color == mark.color); });
            if (!taken)
                marks.push_back(mark);
        }
    return marks;
}

std::string HereToThereLevel::Validate() const
{
    if (animals.empty())
        return "has no \"Animal\"";
    if (animals.size() > kHereToThereMaxAnimals)
        return "has more than " + std::to_string(kHereToThereMaxAnimals) + " \"Animal\"";
    if (numBuildings < 0 || numBuildings > kHereToThereMaxBuildings)
        return "has \"numBuildings\" " + std::to_string(numBuildings) + ", not 0 to " +
               std::to_string(kHereToThereMaxBuildings);
    for (const HereToThereMark& animal : animals)
    {
        if (animal.shape < 0 || animal.shape >= HereToThereObjectShape_Count)
            return "has an animal of an unknown shape";
        if (animal.color < 0 || animal.color >= HereToThereObjectColor_Count)
            return "has an animal of an unknown colour";
    }
    const size_t free = FreeDecoyMarks().size();
    if (DecoyCount() > free)
        return "needs " + std::to_string(DecoyCount()) + " decoy houses but leaves " + std::to_string(free) +
               " free marks";
    return std::string();
}

} // namespace Yardcrew
