#include "game/screens/AccountConfirmMode.h"

#include "game/LevelManager.h"
#include "game/StickerManager.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {ButtonWords("YesButton", "Button_YesButton"),
                                   ButtonWords("NoButton", "Button_NoButton"),
                                   PictureWords("Heading_StartOver", "Heading")};

} // namespace

const sMenuScreen AccountConfirmMode::kScreen{"screen", "AccountConfirmLayout", kWords};

AccountConfirmMode::AccountConfirmMode(int profile) : MenuScreen(kScreen), mProfile(profile)
{
    OnButton(
        "YesButton", [this] { StartOver(); });
    OnButton("NoButton", [this] { Close(); });
}

void AccountConfirmMode::StartOver()
{
    // The reset is written under the new profile's keys, never the one played before.
    if (UseProfile(mProfile))
    {
        GetLevelManager().resetLevelProgress();
        GetStickerManager().resetUnlockedStickerData();
    }
    UnwindTo(std::make_unique<MainMenuMode>());
}

} // namespace Yardcrew
