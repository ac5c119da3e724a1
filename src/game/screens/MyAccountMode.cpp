#include "game/screens/MyAccountMode.h"

#include "framework/Account.h"
#include "game/AccountKeys.h"
#include "game/AudioManager.h"
#include "game/StickerManager.h"
#include "game/screens/AccountConfirmMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/ScreenSupport.h"
#include "scene/RadioButtonNode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kProfileButtons[MyAccountMode::kProfileCount] = {"Profile1", "Profile2", "Profile3"};
constexpr sScreenWords kWords[] = {ButtonWords("PlayButton", "Button_PlayButton"),
                                   ButtonWords("NewGameButton", "Button_NewGameButton"),
                                   PictureWords("Heading_Profiles", "Heading")};

} // namespace

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

const sMenuScreen MyAccountMode::kScreen{"screen", "ProfileSelectLayout", kWords, MusicMode_GeneralUI};

MyAccountMode::MyAccountMode() : MenuScreen(kScreen)
{
    for (int profile = 1; profile <= kProfileCount; ++profile)
        OnWidget(
            "RadioButtonClick", kProfileButtons[profile - 1], [this, profile] { selectProfile(profile); });
    OnButton(
        "PlayButton",
        [this]
        {
            if (UseProfile(mSelected))
                UnwindTo(std::make_unique<MainMenuMode>());
        });
    OnButton("NewGameButton", [this] { PushScreen(std::make_unique<AccountConfirmMode>(mSelected)); });
}

void MyAccountMode::Setup()
{
    MenuScreen::Setup();
    GetStickerManager().loadUnlockedStickerData();
    selectProfile(CurrentProfile() != 0 ? CurrentProfile() : 1);
}

void MyAccountMode::selectProfile(int profile)
{
    mSelected = profile;
    for (int other = 1; other <= kProfileCount; ++other)
        if (auto* radio = ScreenChild<Strata::RadioButtonNode>(Screen(), kProfileButtons[other - 1]))
            radio->SetCheck(other == profile);
}

} // namespace Yardcrew
