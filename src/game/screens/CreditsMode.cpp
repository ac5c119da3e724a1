#include "game/screens/CreditsMode.h"

#include "game/AudioManager.h"
#include "game/screens/ScreenSupport.h"
#include "scene/SceneNode.h"

#include <string>

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

void CreditsMode::Setup()
{
    MenuScreen::Setup();
    const std::string shown = std::string("Text") + LanguageSuffix();
    for (const char* text : {"Text_EN", "Text_SP"})
        if (Strata::SceneNode* lines = ScreenChild<Strata::SceneNode>(Screen(), text))
            lines->LocalSetVisible(shown == text);
}

} // namespace Yardcrew
