#pragma once

#include "game/OnceGuard.h"

namespace Yardcrew
{

class LevelManager;
LevelManager& GetLevelManager();

// Moves the story on at most once, however often its owner's end comes (a click and a timer in one
// frame, a double click): one step is never started twice.
class StoryStepGuard : public OnceGuard
{
public:
    // True when this call moved the story on; false when an earlier one already did.
    bool beginNextStep(LevelManager& manager = GetLevelManager());
    bool hasBegun() const { return IsTaken(); }
};

} // namespace Yardcrew
