#include "audio/OpenALSoundChannel.h"

#include "audio/AudioLibrary.h"
#include "audio/OpenALAudioPlatform.h"
#include "audio/OpenALSound.h"
#include "core/Time.h"

#include <algorithm>
#include <cmath>

namespace Strata
{

namespace
{

// The one way a float becomes a library integer: NaN takes the fallback, the rest is clamped and
// truncated.
int ToLibraryInt(float value, int low, int high, int fallback)
{
    if (std::isnan(value))
        return fallback;
    return static_cast<int>(std::clamp(value, static_cast<float>(low), static_cast<float>(high)));
}

} // namespace

OpenALSoundChannel::OpenALSoundChannel() = default;

OpenALSoundChannel::~OpenALSoundChannel() = default;

void OpenALSoundChannel::AddRef()
{
    mReferences.fetch_add(1);
}

void OpenALSoundChannel::Release()
{
    if (mReferences.fetch_sub(1) == 1)
        delete this;
}

void OpenALSoundChannel::Play(const ISound* sound, int loops)
{
    if (!IsOpenALAudioPlatformInitialized())
        return;
    Stop();
    if (sound == nullptr)
        return;
    auto* data = dynamic_cast<OpenALSoundData*>(sound->GetSoundData());
    if (data == nullptr)
        return;
    const uint32_t handle = data->GetChannel();
    if (handle == 0)
        return;
    mSound = sound;
    mSoundData = data;
    mHandle = handle;
    mLoopsLeft = loops;
    mStartTimeMs = GetTimeMS();
    // The original rate, never the current one: on a shared stream another play may have changed it.
    mNaturalRate = 0;
    AudioLibrary::ChannelGetOriginalRate(mHandle, &mNaturalRate);
    CheckAudioCall("BASS_ChannelGetAttributes(mBassChannel, &mNaturalSamplePlaybackRate, NULL, NULL)");
    if (mControls)
    {
        Apply();
        if (!mControls->IsPaused())
            Resume();
    }
}

void OpenALSoundChannel::Resume()
{
    AudioLibrary::ChannelPlay(mHandle, !mStarted);
    CheckAudioCall("BASS_ChannelPlay(mBassChannel, restartSound)");
    mStarted = true;
}

void OpenALSoundChannel::Pause()
{
    // Pausing what has not started yet would only be refused: it stays unstarted.
    if (!mStarted)
        return;
    AudioLibrary::ChannelPause(mHandle);
    CheckAudioCall("BASS_ChannelPause(mBassChannel)");
}

void OpenALSoundChannel::Apply()
{
    if (mHandle == 0 || !mControls || mControls->IsPaused())
        return;
    const int natural = static_cast<int>(std::min(mNaturalRate, 200000u));
    const int frequency = ToLibraryInt(mControls->GetRate() * static_cast<float>(natural), 100, 200000, natural);
    const int volume = mControls->IsMuted() ? 0 : ToLibraryInt(mControls->GetVolume() * 100.0f, 0, 100, 0);
    const int pan = ToLibraryInt(mControls->GetPan() * 100.0f, -100, 100, 0);
    AudioLibrary::ChannelSetAttributes(mHandle, frequency, volume, pan);
    CheckAudioCall("BASS_ChannelSetAttributes(mBassChannel, freq, volume, pan)");
}

void OpenALSoundChannel::Stop()
{
    if (mHandle != 0)
    {
        AudioLibrary::ChannelStop(mHandle);
        CheckAudioCall("BASS_ChannelStop(mBassChannel)");
    }
    mHandle = 0;
    mSound = nullptr;
    mSoundData.reset();
    mStartTimeMs = 0;
    // A channel started in the frame of a group stop is not killed by that stop.
    mIgnoreNextStop = mControls && mControls->IsStopNeeded();
    mStarted = false;
    mLoopsLeft = 0;
}

bool OpenALSoundChannel::IsPlaying() const
{
    if (mHandle == 0)
        return false;
    // Started paused (or under a paused group): waiting for its first resume, not finished. Without
    // controls nothing will ever start it.
    if (!mStarted)
        return mControls != nullptr;
    if (mLoopsLeft == 0 || mLoopsLeft > 1)
        return true;
    return AudioLibrary::ChannelIsActive(mHandle) != AudioLibrary::Activity_Stopped;
}

void OpenALSoundChannel::NextLoop()
{
    if (mLoopsLeft > 1)
        --mLoopsLeft;
    mHandle = mSoundData ? mSoundData->GetChannel() : 0;
    if (mHandle != 0)
    {
        mStarted = false;
        AudioLibrary::ChannelGetOriginalRate(mHandle, &mNaturalRate);
    }
    else
    {
        Stop();
    }
}

void OpenALSoundChannel::Update(float /*seconds*/)
{
    const bool loopEnded = mHandle != 0 && mStarted && (mLoopsLeft == 0 || mLoopsLeft >= 2) &&
                           AudioLibrary::ChannelIsActive(mHandle) == AudioLibrary::Activity_Stopped;
    if (loopEnded)
        NextLoop();
    if ((loopEnded || (IsPlaying() && mControls && mControls->IsDirty())) && mControls && mHandle != 0)
    {
        if (mControls->IsPaused())
            Pause();
        else
            Resume();
        if (mControls->IsStopNeeded())
        {
            if (mIgnoreNextStop)
                mIgnoreNextStop = false;
            else
                Stop();
        }
        Apply();
    }
    if (!IsPlaying())
        Stop();
}

} // namespace Strata
