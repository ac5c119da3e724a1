#include "game/screens/MainMenuMode.h"

#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/StickerManager.h"
#include "game/screens/CreditsMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/ScreenSupport.h"
#include "graphics/ImageList.h"
#include "scene/ButtonNode.h"

#include <string>

namespace Yardcrew
{

void MainMenuMode::Setup()
{
    SceneApplicationMode::Setup();
    mScreen = InstantiateScreenLayout(*this, "MainMenuLayout");
    GetStickerManager().loadUnlockedStickerData();
}

void MainMenuMode::Enter()
{
    SceneApplicationMode::Enter();
    LocalizeButtons(mScreen, {"StoryButton", "FreePlayButton", "StickerBookButton", "OptionsButton", "CreditsButton",
                              "QuitButton"});
    if (auto* book = ScreenChild<Strata::ButtonNode>(mScreen, "StickerBookButton"))
        book->Enable(static_cast<bool>(GetLevelManager().getStoryScreens().stickerBook));
    // The profile button wears the player's picture.
    if (auto* profile = ScreenChild<Strata::ButtonNode>(mScreen, "ProfileButton"); profile && CurrentProfile() != 0)
    {
        const Strata::AutoResource<Strata::IImageList> picture("Radio_Profile" + std::to_string(CurrentProfile()));
        if (picture.Get() != nullptr)
            profile->SetImages(picture.Get(), 0.0f, picture.GetDescriptor());
    }
    GetAudioManager()->setMusicMode(MusicMode_GeneralUI, Strata::Label());
}

void MainMenuMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    const Strata::Label button = WidgetSenderName(*this, message, "ButtonClick");
    if (button.IsNull() || mLeaving)
        return;
    LevelManager& levels = GetLevelManager();
    const StoryScreenConstructors& screens = levels.getStoryScreens();
    if (button == Strata::Label("StoryButton"))
    {
        if (mStory.hasBegun())
            return;
        levels.freePlay = false;
        levels.setLevelProgression(Strata::Label("MenagerieStory"));
        mStory.beginNextStep(levels);
        mLeaving = true;
    }
    else if (button == Strata::Label("FreePlayButton"))
    {
        levels.freePlay = true;
        mLeaving = static_cast<bool>(screens.freePlaySelect);
        UnwindToScreen(screens.freePlaySelect ? screens.freePlaySelect() : nullptr);
    }
    else if (button == Strata::Label("StickerBookButton"))
    {
        if (screens.stickerBook)
            PushScreen(screens.stickerBook());
    }
    else if (button == Strata::Label("OptionsButton"))
        PushScreen(std::make_unique<MyOptionsMode>());
    else if (button == Strata::Label("CreditsButton"))
        PushScreen(std::make_unique<CreditsMode>());
    else if (button == Strata::Label("QuitButton"))
        PushScreen(screens.quitConfirm ? screens.quitConfirm(false) : nullptr);
    else if (button == Strata::Label("ProfileButton"))
    {
        mLeaving = true;
        UnwindToScreen(std::make_unique<MyAccountMode>());
    }
}

} // namespace Yardcrew
