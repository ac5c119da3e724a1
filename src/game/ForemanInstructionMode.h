#pragma once

#include "core/Label.h"
#include "game/GameModeTypes.h"
#include "game/screens/MenuScreen.h"

#include <cstdint>

namespace Yardcrew
{

// The foreman's pose in the instruction pop-up: a frame index of his sprite. The mini-games pass their
// own value: the default pose waits beside an empty bubble, and each game's own pose shows its task.
enum IntroForemanState : int32_t
{
    IntroForemanState_Default = 0,
};

// Each game's pose follows the default one, in the order of the games' types; the pose sprite holds
// at least kIntroForemanStates frames.
constexpr IntroForemanState IntroForemanStateFor(GameModeType type)
{
    return static_cast<IntroForemanState>(1 + static_cast<int32_t>(type));
}
constexpr int kIntroForemanStates = 1 + GameModeType_Count;

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
