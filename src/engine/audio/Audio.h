#pragma once

#include "core/Label.h"
#include "framework/AudioInterfaces.h"

#include <cfloat>
#include <climits>
#include <string>

namespace Strata
{

class Account;
class IAudioPlatform;

// Makes the OpenAL Soft back end, which registers itself and is deleted with the engine's singletons.
IAudioPlatform* CreateDefaultAudioPlatform();

namespace Audio
{

// The three named sound kinds; any other Label is a kind with its own group.
Label GetEffectKind();
Label GetAmbientKind();
Label GetMusicKind();

// The options of one play request. A float option at the lowest float, or the loop count at the
// smallest integer, is not given.
struct sPlayState
{
    static constexpr float kNotGiven = -FLT_MAX;

    int32_t muted = 0;
    int32_t paused = 0;
    float volume = kNotGiven; // used when >= 0
    float volumeTarget = kNotGiven;
    float volumeSeconds = 0.0f; // animates when > 0
    float rate = kNotGiven;     // used when > 0
    float rateTarget = kNotGiven;
    float rateSeconds = 0.0f;
    float pan = kNotGiven; // used when >= -1
    float panTarget = kNotGiven;
    float panSeconds = 0.0f;
    int32_t loopCount = INT_MIN;     // used when >= 0 (0 = forever)
    AudioControlsPtr parentControls; // replaces the kind's group as the parent of the play's node
};

// Null without a registered platform.
AudioControlsPtr GetMasterControls();
AudioControlsPtr GetControls(Label kind);
AudioControlsPtr CreateControls(IAudioControls* parent);

// Plays `sound` on a new channel under a new node of its kind's group. Nothing plays (and the output
// channel is null) for a null sound, without a platform, or when the same sound started at most 20 ms
// ago and still plays.
void Play(const ISound* sound, SoundChannelPtr* outChannel, const sPlayState& state);
void Play(const ISound* sound, const sPlayState& state);
// The sound resource of that name; a name without one plays nothing.
void Play(Label name, SoundChannelPtr* outChannel, const sPlayState& state);

// One node's volume and mute flag in the account, under prefix + "::Volume" and prefix + "::IsMuted".
// Loading keeps what the node has for missing records, and for volumes that are not a number, negative
// or above the largest volume a node takes. Nothing happens for a null account or node.
void LoadAudioControls(Account* account, const std::wstring& prefix, IAudioControls* controls);
void SaveAudioControls(Account* account, const std::wstring& prefix, IAudioControls* controls);
// Master, effect, ambient and music, for the current account.
void LoadAccountSettings();
void SaveAccountSettings();

} // namespace Audio

} // namespace Strata
