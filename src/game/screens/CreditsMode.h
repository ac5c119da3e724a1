#pragma once

#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// Who made what: the credits drawn from the data folder's LICENSES, over the menus' music. "BackButton" closes it.
class CreditsMode : public MenuScreen
{
public:
    CreditsMode();

    // Shows the lines written in the profile's language ("Text_EN" or "Text_SP").
    void Setup() override;

    static const sMenuScreen kScreen;
};

} // namespace Yardcrew
