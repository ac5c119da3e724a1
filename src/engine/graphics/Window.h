#pragma once

#include "core/Vector2.h"
#include "framework/Cursor.h"
#include "framework/WindowConfig.h"

namespace Strata
{
class IImage;
class IGraphicsPlatform;
} // namespace Strata

// The window configuration: the graphics platform and the window made for a mode and size (with
// fall-backs to other renderer and mode combinations), the custom mouse cursor drawn above every
// frame, and the player's window settings in the current account. Main thread only.
namespace Strata::Window
{

enum eWindowMode : int
{
    WindowMode_Windowed = 0,
    WindowMode_FullScreen = 1
};

// Told after every effective application of a configuration, once the new graphics platform and
// window are set up (textures and screen canvases must then be rebuilt).
class IWindowModeChangeHandler
{
public:
    virtual void OnWindowModeChange() = 0;

protected:
    // Handlers are never deleted through this interface.
    ~IWindowModeChangeHandler() = default;
};

// The applied configuration; its mode is -1 until one has been applied.
const sWindowConfig& GetConfig();

// Apply a configuration: unless mode, width and height equal the applied ones (and a graphics platform
// exists), the graphics platform and the window are made again. Full screen with hardware rendering
// falls back to full screen with software rendering, then windowed hardware, then windowed software
// ("-software" on the command line skips the hardware entries); each failure is logged. Throws a
// RuntimeError, changing nothing, when no platform is registered or no graphics platform factory is
// set; rethrows the failure of windowed software rendering, which leaves no working renderer. A mode
// other than 0 or 1 applies nothing.
void SetConfig(const sWindowConfig& config);
// The applied configuration with another mode.
void SetMode(eWindowMode mode);
// Windowed becomes full screen; anything else becomes windowed.
void ToggleMode();

// Draws the custom cursor (on from the start), and tells the platform to show its own cursor exactly
// when no custom one is drawn: the flag is off or there is no image (the flag is stored even without a
// platform).
void EnableCustomCursor(bool enable);
// The image (not owned; null draws nothing, and the system's cursor shows) and the point of it that
// marks the mouse position.
void SetCustomCursor(IImage* image, const Vector2<int>& hotSpot);
bool IsCustomCursorEnabled();
// True while the custom cursor is on and has an image: the system's own cursor is then hidden.
bool IsCustomCursorDrawn();
// Takes the platform's custom image and hot spot for the shape and sets its own cursor to it. Does
// nothing without a platform.
void SetCursor(eCursor cursor);

// Writes the window mode ("Strata::Window::Mode") and the custom-cursor flag
// ("Strata::Window::IsCustomCursorEnabled", with "Strata::Window::CustomCursorVersion" 2 beside it) to
// the current account. Does nothing without one; a value that cannot be saved is lost (the account logs
// it).
void SaveAccountSettings();
// Applies the current account's window mode (a stored mode other than 0 or 1 counts as full screen;
// none keeps the applied mode) with the applied size, then its custom-cursor flag (none keeps the
// current flag, and so does a flag without the version 2 beside it: earlier builds wrote it off for
// every player, who had no way to choose). Does nothing without a current account; a failure to apply propagates as
// from SetConfig.
void LoadAccountSettings();

// Handlers are called in registration order; registering one twice, or null, does nothing. A handler
// is not owned and must be unregistered before it goes away.
void AddWindowModeChangeHandler(IWindowModeChangeHandler* handler);
void RemoveWindowModeChangeHandler(IWindowModeChangeHandler* handler);

// Makes the renderer for the capability flags (1 software, 2 hardware); the platform layer installs
// it. What it makes is registered as the graphics platform, and is deleted by the next application
// or by the main loop's tear-down, whichever comes first. It may throw, or return null, to refuse.
using GraphicsPlatformFactory = IGraphicsPlatform* (*)(unsigned long caps);
void SetGraphicsPlatformFactory(GraphicsPlatformFactory factory);

// Installs the main loop's frame hooks: the window configuration's application, the custom cursor
// and the translucent dimming of the modes below a non-opaque top mode.
void InstallFrameHooks();

namespace Internal
{

// What SetConfig, SetMode, ToggleMode and LoadAccountSettings apply through.
void ApplyConfig(const sWindowConfig& config);
// Draws the custom cursor, when it is enabled and the mouse is in the window, with the current draw
// state on the current canvas. Nothing without a graphics platform.
void DrawCustomCursor();
// Dims the screen canvas with translucent black when the graphics platform renders in hardware.
// Nothing without a graphics platform or screen canvas.
void DimBackground();
// Puts every setting back to its starting value and forgets the handlers and the factory.
void ResetForTesting();

} // namespace Internal

} // namespace Strata::Window
