#pragma once

namespace Strata
{

enum MouseButton { MouseButton_Left = 0, MouseButton_Right = 1, MouseButton_Middle = 2 };

} // namespace Strata
