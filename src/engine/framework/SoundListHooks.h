#pragma once

#include "core/Label.h"

namespace Strata
{

class SoundList;

// What the controls need of the audio layer's sound lists: finding a list by name and playing the
// sound of one of its events. The audio back end installs them at set-up; without them controls find
// no list and play nothing.
struct sSoundListHooks
{
    // The "soundlist" resource of that name, or null. It lives while its manifest stays loaded.
    const SoundList* (*find)(Label name) = nullptr;
    // Plays the list's sound for `event`; nothing when the list has none.
    void (*play)(const SoundList& list, Label event) = nullptr;
};

void InstallSoundListHooks(const sSoundListHooks& hooks);
const sSoundListHooks& GetSoundListHooks();

} // namespace Strata
