#pragma once

#include "audio/Audio.h"
#include "core/Label.h"
#include "framework/ResourceManager.h"
#include "framework/Task.h"

#include <unordered_map>

namespace Strata
{

// Maps event names to sound resources, so game code asks for "Down" or a colour's word without
// knowing file names. The sounds are not owned: they are resources of their own.
class SoundList
{
public:
    // Null when the event is absent (or its sound was missing when the list was built).
    const ISound* GetSound(Label event) const;
    // Plays the event's sound with default options; nothing when there is none.
    void PlaySound(Label event) const;

    // A later entry for the same event replaces an earlier one.
    void SetSound(Label event, const ISound* sound) { mSounds[event] = sound; }
    size_t GetCount() const { return mSounds.size(); }

private:
    std::unordered_map<Label, const ISound*> mSounds;
};

// Builds a "soundlist": every inner "sound" tag maps its "event" to the sound resource named by its
// "src", which must be declared before the list; a "src" that names no sound stores a null entry.
class SoundListResourceFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

// Lets the controls find sound lists and play their events.
void RegisterSoundListHooks();

// Plays a sound as one step of an object's task sequence; when asked to wait, completes only once the
// channel has finished.
class AudioPlayTask : public Task
{
public:
    AudioPlayTask(const ISound* sound, bool waitForEnd, const Audio::sPlayState& state);
    // The sound resource of that name (none: plays nothing); never waits.
    AudioPlayTask(Label name, const Audio::sPlayState& state);

    Task* Clone() const override;
    sTaskStatus Update(Object* object, float seconds) override;

private:
    const ISound* mSound;
    bool mWaitForEnd;
    Audio::sPlayState mPlayState;
    SoundChannelPtr mChannel;
};

} // namespace Strata
