#pragma once

#include <functional>

namespace Strata
{

struct sWindowConfig;

// What the main loop needs of the layers above it: applying a window configuration (which makes the
// graphics platform and the window), and drawing the frame's overlays. The graphics layer installs
// them before the loop runs; without them the loop skips those steps.
struct sFrameHooks
{
    void (*applyWindowConfig)(const sWindowConfig& config) = nullptr;
    // Draws the custom mouse cursor at the last mouse position, when it is enabled.
    void (*drawCustomCursor)() = nullptr;
    // Dims what the modes below a translucent top mode drew.
    void (*dimBackground)() = nullptr;
    // Runs `draw`, which draws the frame on the screen, and shows the frame when it differs from the one
    // on screen or `force` is set; the renderer's scene is begun and ended inside. Without it the loop
    // begins and ends the scene around every frame itself.
    void (*drawFrame)(const std::function<void()>& draw, bool force) = nullptr;
};

void InstallFrameHooks(const sFrameHooks& hooks);
const sFrameHooks& GetFrameHooks();

// A library above the framework adds the function that registers its factories; the main loop's
// set-up calls every one, in the order added, after the value resource factories and before the
// application's Setup, whatever the platform. Adding a function again changes nothing; null is
// ignored. Safe to call from static initialisers.
void AddFactoryRegistrar(void (*registrar)());
void RunFactoryRegistrars();

} // namespace Strata
