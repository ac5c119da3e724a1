#include "graphics/GraphicsPlatform.h"

namespace Strata
{

IGraphicsPlatform* GetGraphicsPlatform()
{
    // The cast walks the type's bases, a few times every frame; it is redone only when the slot changed
    // (a new renderer may sit where a freed one of another type was). Per thread: no lock, no tearing.
    thread_local uint64_t generation = 0;
    thread_local IGraphicsPlatform* graphics = nullptr;
    const uint64_t now = Internal::GetRenderPlatformGeneration();
    if (now != generation)
    {
        // Read after the generation: a change in between is seen at the next call.
        graphics = dynamic_cast<IGraphicsPlatform*>(GetRenderPlatform());
        generation = now;
    }
    return graphics;
}

bool IsGraphicsPlatformRegistered()
{
    return GetGraphicsPlatform() != nullptr;
}

} // namespace Strata
