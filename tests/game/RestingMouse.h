#pragma once

// The X server's own pointer, moved and clicked as a hand on the mouse does, for the games run on an X
// server of their own. Apart from the tests, since Xlib names a type Window as the engine names a
// namespace.

#include "core/Vector2.h"

namespace RestingMouse
{

// Puts the pointer at `screen` (root coordinates): only the X server knows of it until its motion
// event reaches the game.
void PutAt(Strata::Vector2<int> screen);

// Where a point of the screen lies in the game's frame, wherever the game's window now is; (-1, -1)
// without a window.
Strata::Vector2<int> FrameAt(Strata::Vector2<int> screen);

// The left button pressed and let go where the pointer rests, sent to the game's window as the server
// sends it: no motion comes with it.
void Click();

} // namespace RestingMouse
