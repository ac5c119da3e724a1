#include "game/CountTheMaterials/CountTheMaterialsLevel.h"

#include "core/XMLElement.h"
#include "game/YardcrewNames.h"

#include <algorithm>

namespace Yardcrew
{

const char* const kBuildingMaterialNames[BuildingMaterial_Count] = {
    "Plant",      "LogRed",     "LogBrown",  "LogYellow", "ConeOrange", "ConeRed",   "ConeYellow",
    "CementBlue", "CementGray", "CementRed", "BricksRed", "BricksGray", "BricksBlue"};
const char* const kBuildingMaterialSpriteTypes[BuildingMaterial_Count] = {
    "Materials-Plant",        "Materials-Logs-Red",   "Materials-Logs-Brown",   "Materials-Logs-Yellow",
    "Materials-Cones-Orange", "Materials-Cones-Red",  "Materials-Cones-Yellow", "Materials-Cement-Blue",
    "Materials-Cement-Gray",  "Materials-Cement-Red", "Materials-Bricks-Red",   "Materials-Bricks-Gray",
    "Materials-Bricks-Blue"};
const char* const kBuildingMaterialRolloverSpriteTypes[BuildingMaterial_Count] = {
    "Materials-Plant-Rollover",  "Materials-Logs-Rollover",   "Materials-Logs-Rollover",   "Materials-Logs-Rollover",
    "Materials-Cones-Rollover",  "Materials-Cones-Rollover",  "Materials-Cones-Rollover",  "Materials-Cement-Rollover",
    "Materials-Cement-Rollover", "Materials-Cement-Rollover", "Materials-Bricks-Rollover", "Materials-Bricks-Rollover",
    "Materials-Bricks-Rollover"};

BuildingMaterial ParseBuildingMaterial(const std::wstring& text)
{
    return static_cast<BuildingMaterial>(FindName(kBuildingMaterialNames, text));
}

void CountTheMaterialsLevel::ReadChild(const Strata::XMLElement& element)
{
    const std::wstring& tag = element.GetName();
    if (tag == L"Request")
    {
        requestNumber = element.GetAttribute(L"number", 0);
        requestMaterial = ParseBuildingMaterial(element.GetAttribute(L"material"));
        hasRequest = true;
    }
    else if (tag == L"Material")
    {
        // Piles past the cap are counted for the check, so an overlong level is refused as a whole.
        if (piles.size() <= kCountTheMaterialsMaxPiles)
            piles.push_back({ParseBuildingMaterial(element.GetAttribute(L"type")), element.GetAttribute(L"number", 0)});
    }
}

namespace
{

bool NumberFits(int32_t number)
{
    return number >= 1 && number <= kCountTheMaterialsMaxItems;
}

} // namespace

eMaterialJudgement CountTheMaterialsLevel::Judge(const MaterialData& pile) const
{
    if (pile.material != requestMaterial)
        return MaterialJudgement_WrongKind;
    if (pile.number < requestNumber)
        return MaterialJudgement_TooFew;
    return pile.number > requestNumber ? MaterialJudgement_TooMany : MaterialJudgement_Requested;
}

std::string CountTheMaterialsLevel::Validate() const
{
    if (!hasRequest)
        return "has no \"Request\"";
    if (requestMaterial == BuildingMaterial_None)
        return "requests an unknown material";
    if (!NumberFits(requestNumber))
        return "has a \"Request\" of \"number\" " + std::to_string(requestNumber) + ", not 1 to " +
               std::to_string(kCountTheMaterialsMaxItems);
    if (piles.empty())
        return "has no \"Material\" pile";
    if (piles.size() > kCountTheMaterialsMaxPiles)
        return "has more than " + std::to_string(kCountTheMaterialsMaxPiles) + " \"Material\" piles";
    for (const MaterialData& pile : piles)
    {
        if (pile.material == BuildingMaterial_None)
            return "has a pile of an unknown material";
        if (!NumberFits(pile.number))
            return "has a \"Material\" pile of \"number\" " + std::to_string(pile.number) + ", not 1 to " +
                   std::to_string(kCountTheMaterialsMaxItems);
    }
    if (std::none_of(piles.begin(), piles.end(), [this](const MaterialData& pile) { return IsRequested(pile); }))
        return "has no pile equal to its request";
    return std::string();
}

} // namespace Yardcrew
