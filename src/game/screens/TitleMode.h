#pragma once

#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// The screen after loading: the game's name, the crew and the animals, and one big start button that
// leads to the profiles. Plays the title theme.
class TitleMode : public MenuScreen
{
public:
    TitleMode();

    static const sMenuScreen kScreen;
};

} // namespace Yardcrew
