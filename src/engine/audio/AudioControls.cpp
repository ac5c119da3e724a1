#include "audio/AudioControls.h"

#include <algorithm>

namespace Strata::Internal
{

namespace
{

void SetNow(Animating<float>& value, float v)
{
    value.value = v;
    value.to = v;
    value.duration = Animating<float>::kIdle;
}

void StartAnimation(Animating<float>& value, float target, float seconds)
{
    value.from = value.value;
    value.to = target;
    value.elapsed = 0.0f;
    value.duration = seconds;
}

float SavedValue(const Animating<float>& value)
{
    // A fade in progress is kept at its end value.
    return value.IsAnimating() ? value.to : value.value;
}

// Counts a delay down; true when it ran out this frame. A delay of 0 or less never starts.
bool RunDelay(float& delay, float seconds)
{
    if (!(delay > 0.0f))
        return false;
    delay -= seconds;
    if (delay <= 0.0f)
    {
        delay = Animating<float>::kIdle;
        return true;
    }
    return false;
}

} // namespace

BaseAudioControls::BaseAudioControls(IAudioControls* parent) : mParent(parent)
{
}

BaseAudioControls::~BaseAudioControls() = default;

void BaseAudioControls::AddRef()
{
    mReferences.fetch_add(1);
}

void BaseAudioControls::Release()
{
    if (mReferences.fetch_sub(1) == 1)
        delete this;
}

bool BaseAudioControls::IsPaused() const
{
    return mPaused || (mParent && mParent->IsPaused());
}

void BaseAudioControls::Pause()
{
    mPaused = true;
    mDirty = true;
}

void BaseAudioControls::PauseAfter(float seconds)
{
    mPauseDelay = seconds;
    mDirty = true;
}

void BaseAudioControls::Resume()
{
    mPaused = false;
    mDirty = true;
}

void BaseAudioControls::ResumeAfter(float seconds)
{
    mResumeDelay = seconds;
    mDirty = true;
}

bool BaseAudioControls::IsStopNeeded() const
{
    return mStopRequested || (mParent && mParent->IsStopNeeded());
}

void BaseAudioControls::Stop()
{
    mStopRequested = true;
    mDirty = true;
}

void BaseAudioControls::StopAfter(float seconds)
{
    mStopDelay = seconds;
    mDirty = true;
}

bool BaseAudioControls::IsMuted() const
{
    return mMuted || (mParent && mParent->IsMuted());
}

void BaseAudioControls::Mute(bool muted)
{
    mMuted = muted;
    mDirty = true;
}

float BaseAudioControls::GetVolume() const
{
    return mVolume.value * (mParent ? mParent->GetVolume() : 1.0f);
}

void BaseAudioControls::SetVolume(float volume)
{
    SetNow(mVolume, volume);
    mDirty = true;
}

void BaseAudioControls::AnimateVolumeTo(float target, float seconds)
{
    StartAnimation(mVolume, target, seconds);
    mDirty = true;
}

float BaseAudioControls::GetRate() const
{
    return mRate.value * (mParent ? mParent->GetRate() : 1.0f);
}

void BaseAudioControls::SetRate(float rate)
{
    SetNow(mRate, rate);
    mDirty = true;
}

void BaseAudioControls::AnimateRateTo(float target, float seconds)
{
    StartAnimation(mRate, target, seconds);
    mDirty = true;
}

float BaseAudioControls::GetPan() const
{
    return std::clamp(mPan.value + (mParent ? mParent->GetPan() : 0.0f), -1.0f, 1.0f);
}

void BaseAudioControls::SetPan(float pan)
{
    SetNow(mPan, pan);
    mDirty = true;
}

void BaseAudioControls::AnimatePanTo(float target, float seconds)
{
    StartAnimation(mPan, target, seconds);
    mDirty = true;
}

bool BaseAudioControls::IsDirty() const
{
    return mDirty || (mParent && mParent->IsDirty());
}

void BaseAudioControls::Update(float seconds)
{
    mDirty = false;
    mStopRequested = false;
    if (RunDelay(mPauseDelay, seconds))
        Pause();
    if (RunDelay(mResumeDelay, seconds))
        Resume();
    if (RunDelay(mStopDelay, seconds))
        Stop();
    // One animation advances per frame, and none in a frame that already changed something.
    mDirty = mDirty || mVolume.Update(seconds) || mRate.Update(seconds) || mPan.Update(seconds);
}

void BaseAudioControls::SaveSettings(AudioSettings* out) const
{
    if (out == nullptr)
        return;
    out->volume = SavedValue(mVolume);
    out->rate = SavedValue(mRate);
    out->pan = SavedValue(mPan);
    out->muted = mMuted ? 1 : 0;
}

void BaseAudioControls::RestoreSettings(const AudioSettings& settings)
{
    SetNow(mVolume, settings.volume);
    SetNow(mRate, settings.rate);
    SetNow(mPan, settings.pan);
    mMuted = settings.muted != 0;
    mDirty = true;
}

} // namespace Strata::Internal
