#pragma once

#include "core/Label.h"

#include <boost/intrusive_ptr.hpp>

namespace Strata
{

class IAudioControls;
class ISound;
class ISoundChannel;

// The audio back end. Its implementation registers itself with RegisterSingleton when constructed
// and unregisters when destroyed.
class IAudioPlatform
{
public:
    virtual ~IAudioPlatform() = default;
    virtual Label GetName() const { return Label(); }
    // Once at engine set-up, after the file source is ready.
    virtual void Setup() = 0;
    // At tear-down, after the graphics platform is gone.
    virtual void Cleanup() = 0;
    // First in every update step, with the step length in seconds.
    virtual void Update(float dt) = 0;
    // The game window gained (true) or lost (false) the input focus; a back end may pause its output
    // while inactive. Does nothing unless overridden.
    virtual void Activate(bool /*active*/) {}

    // What the audio front end asks of the back end; a back end that makes no sound answers null.
    // A new channel, kept alive by the back end until it has finished and nobody else holds it.
    virtual boost::intrusive_ptr<ISoundChannel> CreateChannel();
    virtual boost::intrusive_ptr<IAudioControls> GetMasterControls();
    // The group of a sound kind, made on first use.
    virtual boost::intrusive_ptr<IAudioControls> GetControls(Label kind);
    // A new node under `parent` (under the root when null).
    virtual boost::intrusive_ptr<IAudioControls> CreateControls(IAudioControls* parent);
    // True when `sound` started at most `milliseconds` ago on a channel that still plays.
    virtual bool WasSoundPlayedRecently(const ISound* sound, unsigned milliseconds);
};

// One slot holding the pointer without owning it. Register replaces any earlier pointer;
// Unregister clears the slot only when it holds that very pointer.
void RegisterSingleton(IAudioPlatform* platform);
void UnregisterSingleton(IAudioPlatform* platform);
bool IsAudioPlatformRegistered();
IAudioPlatform* GetAudioPlatform(); // null when none is registered

} // namespace Strata
