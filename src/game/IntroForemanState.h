#pragma once

#include "game/GameModeTypes.h"

#include <cstdint>

namespace Yardcrew
{

// The foreman's pose in the instruction pop-up: a frame index of his sprite. The mini-games pass their
// own value: the default pose waits beside an empty bubble, and each game's own pose shows its task.
// Apart from the pop-up, so a game's mode names a pose without reaching the menu screens.
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

} // namespace Yardcrew
