#pragma once

#include "scene/SceneApplicationMode.h"

namespace Yardcrew
{

// The screen after loading: the game's name, the crew and the animals, and one big start button that
// leads to the profiles. Plays the title theme.
class TitleMode : public Strata::SceneApplicationMode
{
public:
    // Instantiates "TitleModeLayout"; a missing layout leaves only the music.
    void Setup() override;
    void Enter() override;
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

private:
    Strata::SceneNode* mScreen = nullptr; // owned by the root node
    bool mLeaving = false;
};

} // namespace Yardcrew
