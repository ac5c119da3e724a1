#pragma once

#include "framework/Animating.h"
#include "framework/AudioInterfaces.h"

#include <atomic>

namespace Strata
{

namespace Internal
{

class BaseAudioControls : public IAudioControls
{
public:
    // Holds a reference to the parent; null makes a root. Starts with the creator's one reference.
    explicit BaseAudioControls(IAudioControls* parent);

    void AddRef() override;
    void Release() override;

    bool IsPaused() const override;
    void Pause() override;
    void PauseAfter(float seconds) override;
    void Resume() override;
    void ResumeAfter(float seconds) override;
    bool IsStopNeeded() const override;
    void Stop() override;
    void StopAfter(float seconds) override;
    bool IsMuted() const override;
    void Mute(bool muted) override;
    float GetVolume() const override;
    void SetVolume(float volume) override;
    void AnimateVolumeTo(float target, float seconds) override;
    float GetRate() const override;
    void SetRate(float rate) override;
    void AnimateRateTo(float target, float seconds) override;
    float GetPan() const override;
    void SetPan(float pan) override;
    void AnimatePanTo(float target, float seconds) override;
    bool IsDirty() const override;
    void Update(float seconds) override;
    void SaveSettings(AudioSettings* out) const override;
    void RestoreSettings(const AudioSettings& settings) override;

    int GetReferenceCount() const { return mReferences.load(); }

protected:
    ~BaseAudioControls() override;

private:
    static constexpr float kNoDelay = Animating<float>::kIdle;

    std::atomic<int> mReferences{1};
    AudioControlsPtr mParent;
    bool mPaused = false;
    float mPauseDelay = kNoDelay;
    float mResumeDelay = kNoDelay;
    float mStopDelay = kNoDelay;
    bool mStopRequested = false;
    bool mMuted = false;
    Animating<float> mVolume{1.0f};
    Animating<float> mRate{1.0f};
    Animating<float> mPan{0.0f};
    bool mDirty = true;
};

} // namespace Internal

} // namespace Strata
