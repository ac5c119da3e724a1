#pragma once

namespace Strata
{

// The mouse cursor shapes the engine asks the platform for.
enum eCursor : int
{
    Cursor_None = 0,
    Cursor_Arrow = 1, // the standard arrow
    Cursor_Hand = 2,
    Cursor_Wait = 3,
    Cursor_IBeam = 4
};

} // namespace Strata
