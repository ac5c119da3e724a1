#pragma once

#include "game/GameModeTypes.h"
#include "scene/SceneApplicationMode.h"

namespace Yardcrew
{

// The free-play chooser: one big picture button per mini-game, named after the game's type name
// ("ToolShed", "StreetSigns", ...). A game opens the difficulty choice for it; games with no mode
// registered are shown disabled. "BackButton" returns to the main menu.
class FreePlaySelectMode : public Strata::SceneApplicationMode
{
public:
    FreePlaySelectMode() = default;

    // Sets the level manager's free-play flag and instantiates "FreePlaySelectLayout"; a missing
    // layout is logged and leaves the screen empty.
    void Setup() override;
    void Enter() override;
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

    // The game type of a button name; GameModeType_Count for a name that is none.
    static GameModeType gameTypeOfButton(Strata::Label buttonName);

private:
    bool mLeaving = false;
};

} // namespace Yardcrew
