#pragma once

// The stacking game: Hoist's stacks of logs and girders fall to the ground at the start. The child
// carries each object to the platform of its colour and builds every stack with the largest at the
// bottom. When nothing is left off the platforms the stacks are judged: the wrong part of a stack
// falls back and Hoist is sad; all right, Hoist cheers and the round ends. Repeating rounds.

#include "framework/ObjectID.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/MiniGameMode.h"

#include <vector>

namespace Strata
{
class AnimatedSpriteNode;
}

namespace Yardcrew
{

class StackableObject;
class StackingTarget;

class HoistStackerMode final : public MiniGameModeOf<HoistStackerLevel>
{
public:
    HoistStackerMode(bool firstRound = true, int roundsLeft = -1);

    // The base's set-up, then the drop mask, Hoist's voice and the fall of the stacks.
    void Setup() override;

    // Judges the stacks once every object is on a platform (none on the ground, carried or falling).
    void checkLevelEnd();
    // Ends a carry: dropped on the platform under the pointer, if any, else put back.
    void cancelMaterialDragging();

    // The objects in the order they were made, and the platforms left to right.
    std::vector<StackableObject*> getObjects() const;
    std::vector<StackingTarget*> getPlatforms() const;
    Strata::AnimatedSpriteNode* getHoist() const;

protected:
    void initializeLevel(const HoistStackerLevel& level) override;

private:
    void playIntroAnimation();
    void playOutroAnimation();

    std::vector<Strata::ObjectID> mObjects;
    std::vector<Strata::ObjectID> mPlatforms;
};

} // namespace Yardcrew
