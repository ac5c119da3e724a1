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
    // The game window gained (true) or lost (false) the input focus; a back end may pause its output
    // while inactive. Does nothing unless overridden.
    virtual void Activate(bool /*active*/) {}
};

// One slot holding the pointer without owning it. Register replaces any earlier pointer;
// Unregister clears the slot only when it holds that very pointer.
void RegisterSingleton(IAudioPlatform* platform);
void UnregisterSingleton(IAudioPlatform* platform);
bool IsAudioPlatformRegistered();
IAudioPlatform* GetAudioPlatform(); // null when none is registered

} // namespace Strata
