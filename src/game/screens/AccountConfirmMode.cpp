#include "game/screens/AccountConfirmMode.h"

#include "game/LevelManager.h"
#include "game/StickerManager.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"

namespace Yardcrew
{

namespace
{

// Yes and No wear the tick and cross every yes/no question shares, and the question is spoken, so a
// child who cannot read the heading never wipes a profile by guessing.
constexpr sScreenWords kWords[] = {PictureWords("Heading_StartOver", "Heading")};

} // namespace

const sMenuScreen AccountConfirmMode::kScreen{"screen", "AccountConfirmLayout", kWords, {}, "Profile_AskStartOver"};

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
