#pragma once

namespace Strata
{

// The audio back end. Its implementation registers itself with RegisterSingleton when constructed
// and unregisters when destroyed.
class IAudioPlatform
{
  public:
    virtual ~IAudioPlatform() = default;
    // Once at engine set-up, after the file source is ready.
    virtual void Setup() = 0;
    // At tear-down, after the graphics platform is gone.
    virtual void Cleanup() = 0;
    // First in every update step, with the step length in seconds.
    virtual void Update(float dt) = 0;
};

// One slot holding the pointer without owning it. Register replaces any earlier pointer;
// Unregister clears the slot only when it holds that very pointer.
void RegisterSingleton(IAudioPlatform* platform);
void UnregisterSingleton(IAudioPlatform* platform);
bool IsAudioPlatformRegistered();
IAudioPlatform* GetAudioPlatform(); // null when none is registered

} // namespace Strata
