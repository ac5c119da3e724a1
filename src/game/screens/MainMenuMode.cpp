#include "game/screens/MainMenuMode.h"

#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/StickerManager.h"
#include "game/screens/CreditsMode.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/ScreenSupport.h"
#include "graphics/ImageList.h"
#include "scene/ButtonNode.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {
    ButtonWords("StoryButton", "Button_StoryButton"),
    ButtonWords("FreePlayButton", "Button_FreePlayButton"),
    ButtonWords("StickerBookButton", "Button_StickerBookButton"),
    ButtonWords("OptionsButton", "Button_OptionsButton"),
    ButtonWords("CreditsButton", "Button_CreditsButton"),
    ButtonWords("QuitButton", "Button_QuitButton"),
};
// The story the story button starts.
constexpr sContentName kStory{ContentKind_LevelProgression, "MenagerieStory"};
// The profile button wears the picture of profile 1 to 3; then the story.
constexpr sContentName kMore[] = {{ContentKind_ImageList, "Radio_Profile1"},
                                  {ContentKind_ImageList, "Radio_Profile2"},
                                  {ContentKind_ImageList, "Radio_Profile3"},
                                  kStory};
constexpr std::span<const sContentName> kProfilePictures(kMore, MyAccountMode::kProfileCount);

const StoryScreenConstructors& Screens()
{
    return GetLevelManager().getStoryScreens();
}

// A book is registered and the profile has a sticker to put in it.
bool HasBookToOpen()
{
    return Screens().stickerBook && GetStickerManager().getUnlockedCount() > 0;
}

} // namespace

const sMenuScreen MainMenuMode::kScreen{"screen", "MainMenuLayout", kWords, MusicMode_GeneralUI, nullptr, kMore};

MainMenuMode::MainMenuMode() : MenuScreen(kScreen)
{
    OnButton("StoryButton", [this] { StartStory(); });
    OnButton(
        "FreePlayButton",
        [this]
        {
            GetLevelManager().freePlay = true;
            UnwindTo(Screens().freePlaySelect ? Screens().freePlaySelect() : nullptr);
        });
    OnButton(
        "StickerBookButton",
        []
        {
            if (HasBookToOpen())
                PushScreen(Screens().stickerBook());
        });
    OnButton(
        "OptionsButton", [] { PushScreen(std::make_unique<MyOptionsMode>()); });
    OnButton(
        "CreditsButton", [] { PushScreen(std::make_unique<CreditsMode>()); });
    OnButton(
        "QuitButton", [] { PushScreen(Screens().quitConfirm ? Screens().quitConfirm(false) : nullptr); });
    OnButton("ProfileButton", [this] { UnwindTo(std::make_unique<MyAccountMode>()); });
}

void MainMenuMode::Setup()
{
    MenuScreen::Setup();
    GetStickerManager().loadUnlockedStickerData();
}

void MainMenuMode::Enter()
{
    MenuScreen::Enter();
    if (auto* book = ScreenChild<Strata::ButtonNode>(Screen(), "StickerBookButton"))
        book->Enable(HasBookToOpen());
    auto* profile = ScreenChild<Strata::ButtonNode>(Screen(), "ProfileButton");
    if (const int current = CurrentProfile(); profile != nullptr && current != 0)
    {
        const Strata::AutoResource<Strata::IImageList> picture(kProfilePictures[current - 1].name);
        if (picture.Get() != nullptr)
            profile->SetImages(picture.Get(), 0.0f, picture.GetDescriptor());
    }
}

void MainMenuMode::StartStory()
{
    LevelManager& levels = GetLevelManager();
    levels.freePlay = false;
    levels.setLevelProgression(Strata::Label(kStory.name));
    // The story asks for its difficulty every time, a resumed one too: the profile keeps none, and the
    // last choice stays checked, so one press on Play goes on.
    PushOver(std::make_unique<DifficultySelectMode>());
}

} // namespace Yardcrew
