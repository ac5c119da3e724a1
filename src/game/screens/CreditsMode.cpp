#include "game/screens/CreditsMode.h"

#include "game/AudioManager.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {ButtonWords("BackButton", "Button_BackButton"),
                                   PictureWords("Heading_Credits", "Heading")};

} // namespace

const sMenuScreen CreditsMode::kScreen{"screen", "CreditsLayout", kWords, MusicMode_GeneralUI};

CreditsMode::CreditsMode() : MenuScreen(kScreen)
{
    OnButton(
        "BackButton", [this] { Close(); });
}

} // namespace Yardcrew
