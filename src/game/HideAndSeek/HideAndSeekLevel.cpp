#include "game/HideAndSeek/HideAndSeekLevel.h"

#include "core/AttributeContainer.h"
#include "core/XMLElement.h"

#include <cmath>
#include <string>

namespace Yardcrew
{

void HideAndSeekLevel::ReadAttributes(const Strata::IAttributeContainer& attributes)
{
    numHides = attributes.GetAttribute(L"numHides", 0);
    numPreviewHides = attributes.GetAttribute(L"numPreviewHides", 0);
    runSpeed = attributes.GetAttribute(L"runSpeed", 0.0f);
    showTail = attributes.GetAttribute(L"showTail", true);
}

void HideAndSeekLevel::ReadChild(const Strata::XMLElement& element)
{
    // One obstacle past the cap is kept, so an overlong level is refused as a whole.
    if (element.GetName() == L"Obstacle" && obstacles.size() <= kHideAndSeekMaxObstacles)
        obstacles.push_back({element.GetAttribute(L"imageID", 0)});
}

std::string HideAndSeekLevel::Validate() const
{
    if (numHides > kHideAndSeekMaxHides)
        return "has \"numHides\" " + std::to_string(numHides) + ", more than " + std::to_string(kHideAndSeekMaxHides);
    if (numPreviewHides < 1)
        return "has \"numPreviewHides\" " + std::to_string(numPreviewHides) + ", so the cat never hides";
    if (numPreviewHides > kHideAndSeekMaxPreviewHides)
        return "has \"numPreviewHides\" " + std::to_string(numPreviewHides) + ", more than " +
               std::to_string(kHideAndSeekMaxPreviewHides);
    // Written so that NaN fails too; an infinite speed makes every run take no time, so the cat jumps.
    if (!(runSpeed > 0.0f) || !std::isfinite(runSpeed))
        return "has \"runSpeed\" " + ShownNumber(runSpeed) + ", not a finite number above 0";
    // Slower, the cat has not hidden after minutes while clicks stay masked; a speed small enough that
    // distance over speed overflows would even make the run take no time at all.
    if (runSpeed < kHideAndSeekMinRunSpeed)
        return "has \"runSpeed\" " + ShownNumber(runSpeed) + ", less than " + ShownNumber(kHideAndSeekMinRunSpeed);
    if (runSpeed > kHideAndSeekMaxRunSpeed)
        return "has \"runSpeed\" " + ShownNumber(runSpeed) + ", more than " + ShownNumber(kHideAndSeekMaxRunSpeed);
    if (obstacles.size() < 2)
        return "has " + std::to_string(obstacles.size()) + " \"Obstacle\", not at least 2";
    if (obstacles.size() > kHideAndSeekMaxObstacles)
        return "has more than " + std::to_string(kHideAndSeekMaxObstacles) + " \"Obstacle\"";
    for (const HideAndSeekObstacleData& obstacle : obstacles)
        if (obstacle.imageID < 0 || obstacle.imageID >= kHideAndSeekObstacleImages)
            return "has an obstacle picture " + std::to_string(obstacle.imageID) + ", not 0 to " +
                   std::to_string(kHideAndSeekObstacleImages - 1);
    return std::string();
}

} // namespace Yardcrew
