#pragma once

#include "scene/SceneApplicationMode.h"

#include <string>

namespace Yardcrew
{

// The profile screen: three profiles as radio buttons ("Profile1" to "Profile3"), each with its
// picture. "PlayButton" continues the chosen profile; "NewGameButton" asks, in an AccountConfirmMode,
// before starting it over. Choosing a profile writes its number as the account's "AccountID", under
// which its progress and stickers are kept.
class MyAccountMode : public Strata::SceneApplicationMode
{
public:
    static constexpr int kProfileCount = 3;

    // Instantiates "ProfileSelectLayout", loads the stickers and checks the current profile (the
    // first when the account holds none of the three).
    void Setup() override;
    void Enter() override;
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

    int getSelectedProfile() const { return mSelected; }

private:
    void selectProfile(int profile);

    Strata::SceneNode* mScreen = nullptr; // owned by the root node
    int mSelected = 1;
    bool mLeaving = false;
};

// The profile's "AccountID" text for profile 1 to 3.
std::wstring ProfileAccountID(int profile);
// The profile the account's "AccountID" names; 0 when it names none of the three or there is no account.
int CurrentProfile();
// Makes the profile current: writes its "AccountID" and loads its stickers. Returns false (changing
// nothing) without an account or for a profile out of range.
bool UseProfile(int profile);

// Asks whether to start the profile over. "YesButton" makes the profile current, resets its story
// position and its stickers, and goes to the main menu; "NoButton" closes the pop-up. Either closes it
// at most once.
class AccountConfirmMode : public Strata::SceneApplicationMode
{
public:
    explicit AccountConfirmMode(int profile);

    void Setup() override;
    void Enter() override;
    bool IsOpaque() override { return false; }
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

    int getProfile() const { return mProfile; }

private:
    Strata::SceneNode* mScreen = nullptr; // owned by the root node
    int mProfile;
    bool mClosing = false;
};

} // namespace Yardcrew
