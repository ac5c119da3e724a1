#pragma once

#include <cstdint>

namespace Yardcrew
{

// The foreman's pose in the instruction pop-up: a frame index of his sprite. The mini-games pass their
// own value. Apart from the pop-up, so a game's mode names a pose without reaching the menu screens.
enum IntroForemanState : int32_t
{
    IntroForemanState_Default = 0,
};

} // namespace Yardcrew
