#include "game/screens/TitleMode.h"

#include "game/AudioManager.h"
#include "game/screens/MyAccountMode.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {ButtonWords("StartButton", "Button_StartButton")};

} // namespace

const sMenuScreen TitleMode::kScreen{"screen", "TitleModeLayout", kWords, MusicMode_TitleTheme};

TitleMode::TitleMode() : MenuScreen(kScreen)
{
    OnButton(
        "StartButton", [this] { UnwindTo(std::make_unique<MyAccountMode>()); });
}

} // namespace Yardcrew
