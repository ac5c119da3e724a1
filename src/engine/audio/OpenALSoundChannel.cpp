#include "audio/OpenALSoundChannel.h"

#include "audio/AudioLibrary.h"
#include "audio/OpenALAudioPlatform.h"
#include "audio/OpenALSound.h"
#include "core/Log.h"
#include "core/Time.h"
#include "core/WideString.h"

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
    Stop();
    if (sound == nullptr)
        return;
    auto* data = dynamic_cast<OpenALSoundData*>(sound->GetSoundData());
    if (data == nullptr)
        return;
    mSoundData = data;
    if (!StartLoop())
    {
        Stop();
        return;
    }
    mSound = sound;
    mLoopsLeft = loops;
    mStartTimeMs = GetTimeMS();
    if (mControls)
    {
        Apply();
        if (!mControls->IsPaused())
            Resume();
    }
}

bool OpenALSoundChannel::StartLoop()
{
    mVariant = mSoundData ? mSoundData->PickVariant() : nullptr;
    mHandle = mVariant != nullptr ? mVariant->GetChannel() : 0;
    mStarted = false;
    mSilent = false;
    if (mHandle == 0)
    {
        if (mVariant == nullptr || !mVariant->IsDecodable())
            return false;
        GoSilent(0);
        return true;
    }
    // The original rate, never the current one: on a shared stream another play may have changed it.
    mNaturalRate = 0;
    AudioLibrary::ChannelGetOriginalRate(mHandle, &mNaturalRate);
    CheckAudioCall("BASS_ChannelGetAttributes(mBassChannel, &mNaturalSamplePlaybackRate, NULL, NULL)");
    return true;
}

void OpenALSoundChannel::GoSilent(long long framesPlayed)
{
    mHandle = 0;
    mSilent = true;
    mNaturalRate = mVariant->GetRate();
    mFrequency = static_cast<int>(std::min(mNaturalRate, 200000u));
    long long frames = mVariant->GetFrames();
    if (frames < 0)
    {
        if (mVariant->TakeFirstReport())
            Internal::LogWrite("Sound file %s has no known length: played silent, it ends at once.\n",
                               TruncateStringWideToASCII(mVariant->GetFile().c_str()).c_str());
        frames = 0;
    }
    mSilentFrames = static_cast<double>(std::max(frames - framesPlayed, 0LL));
}

void OpenALSoundChannel::Resume()
{
    if (!mSilent && !AudioLibrary::ChannelPlay(mHandle, !mStarted))
    {
        CheckAudioCall("BASS_ChannelPlay(mBassChannel, restartSound)");
        // No source to be had: the rest of the loop plays silent.
        GoSilent(mStarted ? std::max(AudioLibrary::ChannelGetPosition(mHandle), 0LL) : 0);
        Apply();
    }
    mStarted = true;
}

void OpenALSoundChannel::Pause()
{
    // Pausing what has not started yet would only be refused: it stays unstarted.
    if (!mStarted || mSilent)
        return;
    AudioLibrary::ChannelPause(mHandle);
    CheckAudioCall("BASS_ChannelPause(mBassChannel)");
}

void OpenALSoundChannel::Apply()
{
    if ((mHandle == 0 && !mSilent) || !mControls || mControls->IsPaused())
        return;
    const int natural = static_cast<int>(std::min(mNaturalRate, 200000u));
    const int frequency = ToLibraryInt(mControls->GetRate() * static_cast<float>(natural), 100, 200000, natural);
    if (mSilent)
    {
        mFrequency = frequency;
        return;
    }
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
    mVariant = nullptr;
    mSoundData.reset();
    mStartTimeMs = 0;
    // A channel started in the frame of a group stop is not killed by that stop.
    mIgnoreNextStop = mControls && mControls->IsStopNeeded();
    mStarted = false;
    mLoopsLeft = 0;
    mSilent = false;
    mSilentFrames = 0.0;
}

bool OpenALSoundChannel::IsLoopOver() const
{
    // Less than half a frame left is the clock's rounding, not a frame still to play.
    if (mSilent)
        return mSilentFrames < 0.5;
    if (AudioLibrary::ChannelIsActive(mHandle) != AudioLibrary::Activity_Stopped)
        return false;
    // Said where the end is first seen, whoever looks.
    ReportDecodeFailure();
    return true;
}

bool OpenALSoundChannel::IsPlaying() const
{
    if (mHandle == 0 && !mSilent)
        return false;
    // Started paused (or under a paused group): waiting for its first resume, not finished. Without
    // controls nothing will ever start it.
    if (!mStarted)
        return mControls != nullptr;
    if (mLoopsLeft == 0 || mLoopsLeft > 1)
        return true;
    return !IsLoopOver();
}

void OpenALSoundChannel::ReportDecodeFailure() const
{
    if (mVariant != nullptr && AudioLibrary::ChannelDecodeFailed(mHandle) && mVariant->TakeFirstReport())
        Internal::LogWrite("Sound file %s could not be decoded to its end; the rest played as silence.\n",
                           TruncateStringWideToASCII(mVariant->GetFile().c_str()).c_str());
}

void OpenALSoundChannel::NextLoop()
{
    if (mLoopsLeft > 1)
        --mLoopsLeft;
    if (!StartLoop())
        Stop();
}

void OpenALSoundChannel::Update(float seconds)
{
    if (mSilent && mStarted && mControls && !mControls->IsPaused())
        mSilentFrames -= static_cast<double>(seconds) * mFrequency;
    const bool loopEnded =
        (mHandle != 0 || mSilent) && mStarted && (mLoopsLeft == 0 || mLoopsLeft >= 2) && IsLoopOver();
    if (loopEnded)
        NextLoop();
    const bool live = mHandle != 0 || mSilent;
    // Whether it plays is asked of the library (under its lock) only when the controls changed; the
    // check below asks once a step anyway.
    if ((loopEnded || (mControls && mControls->IsDirty() && IsPlaying())) && mControls && live)
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
