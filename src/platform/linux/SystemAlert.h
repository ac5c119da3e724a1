#pragma once

#include <string>

namespace Linux
{

// True when a message box can be shown and someone may close it: a display is named (DISPLAY or
// WAYLAND_DISPLAY) and SDL_VIDEODRIVER does not ask for the dummy or offscreen driver. Read at every
// call, so a test may change the environment between calls.
bool CanShowMessageBox();

// Called by the platform once SDL's video has started; counts when its driver has a screen. Until a
// display is reached this process has shown nothing, so nobody may be watching a box of it (a display
// still starting, a server nobody looks at): alerts are only logged.
void NoteDisplayReached();

// A modal message box with the title, the message and one button; returns when it is closed. The box
// is shown only after a display was reached (see NoteDisplayReached), while a display is named (see
// CanShowMessageBox) and SDL's video runs, or starts again, on a driver with a screen. Otherwise, or
// when the box cannot be shown, the title and message are written to the log instead and the call
// returns at once: it never waits for a click that cannot come. SIGTERM or SIGINT close the box (and
// are logged as not shown); the program then ends as these signals make it end at any other time.
void ShowSystemAlert(const std::wstring& title, const std::wstring& message, const std::wstring& button);

// For a failure found before the game has a window, which the user must see: the same box, shown on
// the named display whether or not one was reached before. False, having shown nothing (and logged
// nothing but a failing box), when no display is named (see CanShowMessageBox) or none can be reached;
// false too when SIGTERM or SIGINT closed the box, or came before it.
bool ShowStartupAlert(const std::wstring& title, const std::wstring& message, const std::wstring& button);

} // namespace Linux

namespace Strata::Platform
{

// A blocking caution alert: the header above the message, one "OK" button. Logs instead when no
// display exists (see Linux::ShowSystemAlert).
void ModalNotification(const std::wstring& message, const std::wstring& header);

} // namespace Strata::Platform
