#include "game/screens/CreditsMode.h"

#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/screens/ScreenSupport.h"

namespace Yardcrew
{

void CreditsMode::Setup()
{
    SceneApplicationMode::Setup();
    mScreen = InstantiateScreenLayout(*this, "CreditsLayout");
}

void CreditsMode::Enter()
{
    SceneApplicationMode::Enter();
    LocalizeButtons(mScreen, {"BackButton"});
    LocalizeHeading(mScreen, "Credits");
    GetAudioManager()->setMusicMode(MusicMode_GeneralUI, Strata::Label());
}

void CreditsMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    if (!mClosing && WidgetSenderName(*this, message, "ButtonClick") == Strata::Label("BackButton"))
    {
        mClosing = true;
        GetLevelManager().getModeQueue().pop();
    }
}

} // namespace Yardcrew
