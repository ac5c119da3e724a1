#pragma once

#include "audio/AudioControls.h"
#include "framework/AudioPlatform.h"

#include <list>
#include <map>

namespace Strata
{

class OpenALSoundChannel;

// The audio back end on OpenAL Soft: opens the output device (falling back through the other devices;
// when none opens, channels play silent for their clips' lengths), owns every channel and control node, builds the
// control tree (root, master, one group per kind), drives channels and then nodes once a frame, and pauses the output
// while the application is inactive. Main thread only.
class OpenALAudioPlatform : public IAudioPlatform
{
public:
    // Registers itself as the audio platform.
    OpenALAudioPlatform();
    ~OpenALAudioPlatform() override;
    OpenALAudioPlatform(const OpenALAudioPlatform&) = delete;
    OpenALAudioPlatform& operator=(const OpenALAudioPlatform&) = delete;

    Label GetName() const override;
    // Registers the "sound", "randomsound" and "soundlist" factories, opens a device and builds the
    // tree; the output starts paused. Never fails: without a device the program runs silent, its sounds
    // lasting as long as they would sound.
    void Setup() override;
    void Cleanup() override;
    void Activate(bool active) override;
    void Update(float seconds) override;
    SoundChannelPtr CreateChannel() override;
    AudioControlsPtr GetMasterControls() override;
    AudioControlsPtr GetControls(Label kind) override;
    AudioControlsPtr CreateControls(IAudioControls* parent) override;
    bool WasSoundPlayedRecently(const ISound* sound, unsigned milliseconds) override;

    bool IsActive() const { return mActive; }
    size_t GetChannelCount() const { return mChannels.size(); }
    size_t GetControlsCount() const { return mControls.size(); }

private:
    bool mActive = false;
    std::list<boost::intrusive_ptr<OpenALSoundChannel>> mChannels;
    AudioControlsPtr mRootControls;
    AudioControlsPtr mMasterControls;
    std::map<Label, AudioControlsPtr> mGroups;
    std::list<boost::intrusive_ptr<Internal::BaseAudioControls>> mControls;
};

// True from a successful Setup until Cleanup.
bool IsOpenALAudioPlatformInitialized();

// The error test after a library call whose result is not otherwise examined: logs
// "<call> error: <code> (<name>)" when the calling thread's last error is not 0. True on success.
bool CheckAudioCall(const char* call);

} // namespace Strata
