#pragma once

#include "framework/AudioInterfaces.h"

#include <atomic>
#include <cstdint>

namespace Strata
{

class OpenALSoundData;

// One playing voice: turns its control node's effective values into the library's frequency, volume
// and pan, follows pause and stop requests, and plays the sound's loops, picking a variant for each.
class OpenALSoundChannel final : public ISoundChannel
{
public:
    OpenALSoundChannel();

    void AddRef() override;
    void Release() override;
    void Play(const ISound* sound, int loops) override;
    void Stop() override;
    bool IsPlaying() const override;
    const ISound* GetSound() const override { return mSound; }
    IAudioControls* GetControls() override { return mControls.get(); }
    void SetControls(IAudioControls* controls) override { mControls = controls; }
    void Update(float seconds) override;

    int GetReferenceCount() const { return mReferences.load(); }
    uint32_t GetHandle() const { return mHandle; }
    uint32_t GetStartTimeMs() const { return mStartTimeMs; }

private:
    ~OpenALSoundChannel() override;
    void Resume();
    void Pause();
    void Apply();
    void NextLoop();

    std::atomic<int> mReferences{1};
    uint32_t mHandle = 0;
    AudioControlsPtr mControls;
    const ISound* mSound = nullptr;
    boost::intrusive_ptr<OpenALSoundData> mSoundData;
    uint32_t mStartTimeMs = 0;
    bool mIgnoreNextStop = false;
    unsigned mNaturalRate = 0;
    bool mStarted = false;
    int mLoopsLeft = 0;
};

} // namespace Strata
