#pragma once

#include "game/LevelManager.h"
#include "scene/SceneApplicationMode.h"

namespace Yardcrew
{

// The main menu: story, free play, sticker book, options, credits, quit, and the profile picture that
// leads back to the profiles. The sticker book button stays disabled while no book is registered.
class MainMenuMode : public Strata::SceneApplicationMode
{
public:
    // Instantiates "MainMenuLayout" and loads the profile's stickers.
    void Setup() override;
    // Words in the profile's language and the menus' music.
    void Enter() override;
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

private:
    Strata::SceneNode* mScreen = nullptr; // owned by the root node
    // The story button starts the story once, however often it is clicked.
    StoryStepGuard mStory;
    bool mLeaving = false;
};

} // namespace Yardcrew
