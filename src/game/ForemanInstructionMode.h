#pragma once

#include "core/Label.h"
#include "game/IntroForemanState.h"
#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// The pop-up in which the foreman explains a mini-game: pushed over the game (which stays drawn
// beneath), it speaks the game's description and closes itself when the description has been spoken
// or when its skip button ("OkButton") is clicked. It pops itself at most once, so a click in the frame
// the description ends never removes the game as well.
class ForemanInstructionMode : public MenuScreen
{
public:
    ForemanInstructionMode(Strata::Label game, IntroForemanState state);

    // Instantiates "ForemanInstructionModeLayout" and shows the pose; a missing layout or sprite is
    // logged and leaves the pop-up empty (it still closes when the description ends).
    void Setup() override;
    // Gives the skip button the image list of the profile's language and starts the description.
    void Enter() override;
    // Silences the description and empties the voice queue.
    void Destroy() override;
    bool IsOpaque() override { return false; }

    // Queues the pop; later calls do nothing.
    virtual void closeMode();

    Strata::Label getGame() const { return mGame; }
    IntroForemanState getIntroState() const { return mIntroState; }
    bool isClosing() const { return HasLeft(); }

    static const sMenuScreen kScreen;

private:
    IntroForemanState mIntroState;
    Strata::Label mGame;
};

} // namespace Yardcrew
