#pragma once

#include "game/screens/MenuScreen.h"

#include <string>

namespace Yardcrew
{

// The profile screen: three profiles as radio buttons ("Profile1" to "Profile3"), each with its
// picture. "PlayButton" continues the chosen profile; "NewGameButton" asks, in an AccountConfirmMode,
// before starting it over. Choosing a profile writes its number as the account's "AccountID", under
// which its progress and stickers are kept.
class MyAccountMode : public MenuScreen
{
public:
    static constexpr int kProfileCount = 3;

    MyAccountMode();

    // Instantiates "ProfileSelectLayout", loads the stickers and checks the current profile (the
    // first when the account holds none of the three).
    void Setup() override;

    int getSelectedProfile() const { return mSelected; }

    static const sMenuScreen kScreen;

private:
    void selectProfile(int profile);

    int mSelected = 1;
};

// The profile's "AccountID" text for profile 1 to 3.
std::wstring ProfileAccountID(int profile);
// The profile the account's "AccountID" names; 0 when it names none of the three or there is no account.
int CurrentProfile();
// Makes the profile current: writes its "AccountID" and loads its stickers. Returns false (changing
// nothing) without an account or for a profile out of range.
bool UseProfile(int profile);

} // namespace Yardcrew
