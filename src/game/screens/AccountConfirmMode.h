#pragma once

#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// Asks aloud whether to start the profile over. "YesButton" (the shared tick) makes the profile current, resets its
// story position and its stickers, and goes to the main menu; "NoButton" (the cross) closes the pop-up. Either closes
// it at most once.
class AccountConfirmMode : public MenuScreen
{
public:
    explicit AccountConfirmMode(int profile);

    bool IsOpaque() override { return false; }

    int getProfile() const { return mProfile; }

    static const sMenuScreen kScreen;

private:
    void StartOver();

    int mProfile;
};

} // namespace Yardcrew
