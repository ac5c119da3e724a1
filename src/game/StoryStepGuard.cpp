#include "game/StoryStepGuard.h"

#include "game/LevelManager.h"

namespace Yardcrew
{

bool StoryStepGuard::beginNextStep(LevelManager& manager)
{
    if (!Take())
        return false;
    manager.beginNextLevelProgressionMode();
    return true;
}

} // namespace Yardcrew
