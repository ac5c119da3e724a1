#include "game/screens/TitleMode.h"

#include "game/AudioManager.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/ScreenSupport.h"

namespace Yardcrew
{

void TitleMode::Setup()
{
    SceneApplicationMode::Setup();
    mScreen = InstantiateScreenLayout(*this, "TitleModeLayout");
}

void TitleMode::Enter()
{
    SceneApplicationMode::Enter();
    LocalizeButtons(mScreen, {"StartButton"});
    GetAudioManager()->setMusicMode(MusicMode_TitleTheme, Strata::Label());
}

void TitleMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    // A second click before the change is applied must not queue a second profile screen.
    if (!mLeaving && WidgetSenderName(*this, message, "ButtonClick") == Strata::Label("StartButton"))
    {
        mLeaving = true;
        UnwindToScreen(std::make_unique<MyAccountMode>());
    }
}

} // namespace Yardcrew
