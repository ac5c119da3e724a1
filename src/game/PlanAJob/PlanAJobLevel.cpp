#include "game/PlanAJob/PlanAJobLevel.h"

#include "core/AttributeContainer.h"
#include "core/WideString.h"

namespace Yardcrew
{

void PlanAJobLevel::ReadAttributes(const Strata::IAttributeContainer& attributes)
{
    const GameModeDifficulty difficulty = ParseGameModeDifficulty(attributes.GetAttribute(L"difficulty"));
    const std::wstring name = attributes.GetAttribute(L"imageList");
    const std::string prefix(reinterpret_cast<const char*>(Strata::ConvertStringWideToUTF8(name.c_str()).get()));
    if (!prefix.empty())
    {
        // A level of no known difficulty is not filed, so its pictures are never asked for.
        const char* shown = difficulty != GameModeDifficulty_None ? kGameModeDifficultyNames[difficulty] : "Hard";
        objectsImageList = prefix + "_Objects_" + shown;
        targetsImageList = prefix + "_Targets";
        spriteType = prefix + "_SpriteType";
    }
    emptyCount = attributes.GetAttribute(L"numEmpty", 0);
}

std::string PlanAJobLevel::Validate() const
{
    if (objectsImageList.empty())
        return "has no \"imageList\"";
    if (emptyCount < 1 || emptyCount > kPlanAJobSteps)
        return "has \"numEmpty\" " + std::to_string(emptyCount) + ", not 1 to " + std::to_string(kPlanAJobSteps);
    return std::string();
}

} // namespace Yardcrew
