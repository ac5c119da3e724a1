#pragma once

#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// The main menu: story, free play, sticker book, options, credits, quit, and the profile picture that
// leads back to the profiles. The sticker book button is enabled once a book is registered and the
// profile has a sticker. The story opens the difficulty screen over the menu, which starts the story's
// next step; its Back button returns here with nothing started.
class MainMenuMode : public MenuScreen
{
public:
    MainMenuMode();

    // Instantiates "MainMenuLayout" and loads the profile's stickers.
    void Setup() override;
    // Words in the profile's language, the profile's picture and the menus' music.
    void Enter() override;

    static const sMenuScreen kScreen;

private:
    void StartStory();
};

} // namespace Yardcrew
