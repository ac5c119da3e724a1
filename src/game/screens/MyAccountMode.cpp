#include "game/screens/MyAccountMode.h"

#include "framework/Account.h"
#include "game/AccountKeys.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/StickerManager.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/ScreenSupport.h"
#include "scene/RadioButtonNode.h"

#include <string>

namespace Yardcrew
{

std::wstring ProfileAccountID(int profile)
{
    return std::to_wstring(profile);
}

int CurrentProfile()
{
    Strata::Account* account = GetCurrentGameAccount();
    if (account == nullptr)
        return 0;
    const std::wstring id = account->ReadValue(L"AccountID");
    for (int profile = 1; profile <= MyAccountMode::kProfileCount; ++profile)
        if (id == ProfileAccountID(profile))
            return profile;
    return 0;
}

bool UseProfile(int profile)
{
    Strata::Account* account = GetCurrentGameAccount();
    if (account == nullptr || profile < 1 || profile > MyAccountMode::kProfileCount)
        return false;
    account->WriteValue(L"AccountID", ProfileAccountID(profile));
    GetStickerManager().loadUnlockedStickerData();
    return true;
}

namespace
{

std::string ProfileButtonName(int profile)
{
    return "Profile" + std::to_string(profile);
}

} // namespace

void MyAccountMode::Setup()
{
    SceneApplicationMode::Setup();
    mScreen = InstantiateScreenLayout(*this, "ProfileSelectLayout");
    GetStickerManager().loadUnlockedStickerData();
    selectProfile(CurrentProfile() != 0 ? CurrentProfile() : 1);
}

void MyAccountMode::Enter()
{
    SceneApplicationMode::Enter();
    LocalizeButtons(mScreen, {"PlayButton", "NewGameButton"});
    LocalizeHeading(mScreen, "Profiles");
    GetAudioManager()->setMusicMode(MusicMode_GeneralUI, Strata::Label());
}

void MyAccountMode::selectProfile(int profile)
{
    mSelected = profile;
    for (int other = 1; other <= kProfileCount; ++other)
        if (auto* radio = ScreenChild<Strata::RadioButtonNode>(mScreen, ProfileButtonName(other).c_str()))
            radio->SetCheck(other == profile);
}

void MyAccountMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    if (mLeaving)
        return;
    const Strata::Label radio = WidgetSenderName(*this, message, "RadioButtonClick");
    for (int profile = 1; profile <= kProfileCount && !radio.IsNull(); ++profile)
        if (radio == Strata::Label(ProfileButtonName(profile).c_str()))
            selectProfile(profile);
    const Strata::Label button = WidgetSenderName(*this, message, "ButtonClick");
    if (button == Strata::Label("PlayButton"))
    {
        if (!UseProfile(mSelected))
            return;
        mLeaving = true;
        UnwindToScreen(std::make_unique<MainMenuMode>());
    }
    else if (button == Strata::Label("NewGameButton"))
        PushScreen(std::make_unique<AccountConfirmMode>(mSelected));
}

AccountConfirmMode::AccountConfirmMode(int profile) : mProfile(profile)
{
}

void AccountConfirmMode::Setup()
{
    SceneApplicationMode::Setup();
    mScreen = InstantiateScreenLayout(*this, "AccountConfirmLayout");
}

void AccountConfirmMode::Enter()
{
    SceneApplicationMode::Enter();
    LocalizeButtons(mScreen, {"YesButton", "NoButton"});
    LocalizeHeading(mScreen, "StartOver");
}

void AccountConfirmMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    const Strata::Label button = WidgetSenderName(*this, message, "ButtonClick");
    if (mClosing || button.IsNull())
        return;
    if (button == Strata::Label("YesButton"))
    {
        mClosing = true;
        // The reset is written under the new profile's keys, never the one played before.
        if (UseProfile(mProfile))
        {
            GetLevelManager().resetLevelProgress();
            GetStickerManager().resetUnlockedStickerData();
        }
        UnwindToScreen(std::make_unique<MainMenuMode>());
    }
    else if (button == Strata::Label("NoButton"))
    {
        mClosing = true;
        GetLevelManager().getModeQueue().pop();
    }
}

} // namespace Yardcrew
