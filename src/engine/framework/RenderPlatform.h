#pragma once

#include <cstdint>

namespace Strata
{

struct sWindowConfig;

// The renderer bound to the window, as the main loop sees it: set up, frames begun and ended, cleaned
// up and deleted at tear-down. The graphics layer's IGraphicsPlatform adds what drawing needs.
// Registers itself like IPlatform.
class IRenderPlatform
{
public:
    virtual ~IRenderPlatform() = default;
    virtual const wchar_t* GetName() = 0;
    virtual void GetSupportedWindowConfig(sWindowConfig* config) = 0;
    // The capability flags it was made with: 1 software, 2 hardware.
    virtual unsigned long GetCaps() = 0;
    // May throw engine or standard errors; the caller then tries its next fall-back.
    virtual void Setup(const sWindowConfig& config) = 0;
    virtual void Cleanup() = 0;
    // 0 when the frame may be drawn.
    virtual int BeginScene() = 0;
    virtual int EndScene() = 0;
    // False when there is no screen canvas to draw the modes on.
    virtual bool HasScreenCanvas() = 0;
};

// One slot holding the pointer without owning it. Register replaces any earlier pointer;
// Unregister clears the slot only when it holds that very pointer.
void RegisterSingleton(IRenderPlatform* platform);
void UnregisterSingleton(IRenderPlatform* platform);
bool IsRenderPlatformRegistered();
IRenderPlatform* GetRenderPlatform(); // null when none is registered

namespace Internal
{
// Changes whenever the slot does (after the new pointer is in it): what was worked out from the
// registered renderer stays good while this stays the same.
uint64_t GetRenderPlatformGeneration();
} // namespace Internal

} // namespace Strata
