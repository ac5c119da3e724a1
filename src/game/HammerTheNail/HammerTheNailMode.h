#pragma once

// The hammering game: the child takes a tool from the box, strikes each nail that needs that tool in
// that colour until it is driven home, swapping tools as needed. A wrong tool earns a spoken hint and
// nothing else. When every nail is home the round ends.

#include "framework/ObjectID.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/MiniGameMode.h"

#include <vector>

namespace Yardcrew
{

class DraggableTool;
class TargetNail;

class HammerTheNailMode final : public MiniGameModeOf<HammerTheNailLevel>
{
public:
    // A run starts with (true, -1); each next round is made with (false, the rounds left).
    HammerTheNailMode(bool firstRound, int roundsLeft);

    // The base's set-up; then the put-back area takes presses and the foreman comes on, also when the
    // level is missing.
    void Setup() override;

    // Puts the tool in hand back in the box; nothing when none is.
    void cancelMaterialDragging();
    // Ends the round once every nail is driven home.
    void checkEndLevel();

    std::vector<DraggableTool*> getTools() const;
    std::vector<TargetNail*> getNails() const;

protected:
    void initializeLevel(const HammerTheNailLevel& level) override;

private:
    void toolPressed(DraggableTool* tool);
    void nailStruck(TargetNail* nail, DraggableTool* tool);
    void playOutroAnimation();

    std::vector<Strata::ObjectID> mTools;
    std::vector<Strata::ObjectID> mNails;
};

} // namespace Yardcrew
