#pragma once

namespace Yardcrew
{

// Registers, for the content check, the names every menu screen and pop-up asks for: each screen's
// description (MenuScreen.h) under the screen's class name. Calling it again changes nothing.
void RegisterScreenContent();

} // namespace Yardcrew
