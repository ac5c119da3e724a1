#pragma once

#include "framework/AudioInterfaces.h"

#include <atomic>
#include <cstdint>

namespace Strata
{

class OpenALSoundData;
class SoundFileData;

// One playing voice: turns its control node's effective values into the library's frequency, volume
// and pan, follows pause and stop requests, and plays the sound's loops, picking a variant for each.
// A loop that gets no handle (no device) or whose start fails plays silent: it lasts the clip's length
// at the channel's rate on the clock of the updates, so whoever waits on it waits as long as it would
// have sounded.
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
    // `seconds` is the output's clock: 0 while the output is paused.
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
    // Picks the loop's variant and its handle. False when nothing can play, not even silence.
    bool StartLoop();
    void GoSilent(long long framesPlayed);
    bool IsLoopOver() const;
    void ReportDecodeFailure() const;

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
    const SoundFileData* mVariant = nullptr; // this loop's pick, kept alive by mSoundData
    bool mSilent = false;
    double mSilentFrames = 0.0; // of the silent loop still to play, at the clip's own rate
    int mFrequency = 0;         // frames of the clip a second, as the rate makes it
};

} // namespace Strata
