#pragma once

#include "game/GameModeTypes.h"
#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// The free-play chooser: one big picture button per mini-game, named after the game's label
// ("ToolShed", "HaulersDelivery", ...). A game opens the difficulty choice for it; games with no mode
// registered are shown disabled. "BackButton" returns to the main menu.
class FreePlaySelectMode : public MenuScreen
{
public:
    FreePlaySelectMode();

    // Sets the level manager's free-play flag and instantiates "FreePlaySelectLayout"; a missing
    // layout is logged and leaves the screen empty.
    void Setup() override;

    // The game type of a button name; GameModeType_Count for a name that is no game's label.
    static GameModeType gameTypeOfButton(Strata::Label buttonName);

    static const sMenuScreen kScreen;

private:
    void ChooseGame(GameModeType game, const char* name);
    void GoBack();
};

} // namespace Yardcrew
