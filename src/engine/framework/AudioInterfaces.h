#pragma once

#include "core/Label.h"
#include "core/Referenced.h"

#include <boost/intrusive_ptr.hpp>

#include <cstdint>

// The interfaces of the audio layer that the engine's lower layers name: the back end's answers
// (framework/AudioPlatform.h) are made of them. The audio library implements them.
namespace Strata
{

// The saved form of one control node: its own values, never the effective ones.
struct AudioSettings
{
    float volume = 1.0f;
    float rate = 1.0f;
    float pan = 0.0f;
    int32_t muted = 0;
};

// A node of the volume-control tree (root, master, one group per sound kind, one node per playing
// channel). Effective values combine the node's own values with those of every ancestor. Main thread
// only.
class IAudioControls : public IReferenced
{
public:
    virtual bool IsPaused() const = 0;
    virtual void Pause() = 0;
    // Pauses after that many seconds; 0 or less never pauses.
    virtual void PauseAfter(float seconds) = 0;
    virtual void Resume() = 0;
    virtual void ResumeAfter(float seconds) = 0;
    // A stop request lasts one frame: channels under the node stop at the next update.
    virtual bool IsStopNeeded() const = 0;
    virtual void Stop() = 0;
    virtual void StopAfter(float seconds) = 0;
    virtual bool IsMuted() const = 0;
    virtual void Mute(bool muted) = 0;
    virtual float GetVolume() const = 0;
    virtual void SetVolume(float volume) = 0;
    virtual void AnimateVolumeTo(float target, float seconds) = 0;
    virtual float GetRate() const = 0;
    virtual void SetRate(float rate) = 0;
    virtual void AnimateRateTo(float target, float seconds) = 0;
    // In -1 (left) .. 1 (right).
    virtual float GetPan() const = 0;
    virtual void SetPan(float pan) = 0;
    virtual void AnimatePanTo(float target, float seconds) = 0;
    // True while the node or an ancestor changed since its last update.
    virtual bool IsDirty() const = 0;
    // Once a frame: ends the frame's stop request, runs the delays and the animations.
    virtual void Update(float seconds) = 0;
    virtual void SaveSettings(AudioSettings* out) const = 0;
    // Sets volume, rate, pan (ending their animations) and the mute flag; pause and stop untouched.
    virtual void RestoreSettings(const AudioSettings& settings) = 0;
};

using AudioControlsPtr = boost::intrusive_ptr<IAudioControls>;

// A sound resource: its kind (the control group it plays under), its defaults and its decoded data.
class ISound
{
public:
    virtual ~ISound() = default;
    virtual Label GetKind() const = 0;
    virtual float GetDefaultVolume() const = 0;
    virtual float GetDefaultRate() const = 0;
    virtual float GetDefaultPan() const = 0;
    // 0 plays forever.
    virtual int GetDefaultLoopCount() const = 0;
    // Held by channels while they play; may be null.
    virtual IReferenced* GetSoundData() const = 0;
};

// One playing voice under its own control node. Main thread only.
class ISoundChannel : public IReferenced
{
public:
    // Stops what plays, then starts `sound` `loops` times (0 = forever). Set the controls first.
    virtual void Play(const ISound* sound, int loops) = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
    virtual const ISound* GetSound() const = 0;
    virtual IAudioControls* GetControls() = 0;
    virtual void SetControls(IAudioControls* controls) = 0;
    // Once a frame, before the control nodes are updated.
    virtual void Update(float seconds) = 0;
};

using SoundChannelPtr = boost::intrusive_ptr<ISoundChannel>;

} // namespace Strata
