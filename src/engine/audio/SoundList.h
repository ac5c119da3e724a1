#pragma once

#include "audio/Audio.h"
#include "core/Label.h"
#include "framework/ResourceManager.h"
#include "framework/Task.h"

#include <memory>
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

    // A later entry for the same event replaces an earlier one. `holder` is the sound's resource, kept
    // alive with the list so that unloading the sound's manifest never leaves the entry dangling.
    void SetSound(Label event, std::shared_ptr<IResourceDescriptor> holder, const ISound* sound);
    size_t GetCount() const { return mSounds.size(); }

private:
    struct Entry
    {
        std::shared_ptr<IResourceDescriptor> holder;
        const ISound* sound = nullptr;
    };
    std::unordered_map<Label, Entry> mSounds;
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
    std::shared_ptr<IResourceDescriptor> mHolder; // the sound found by name, kept alive with the task
    const ISound* mSound;
    bool mWaitForEnd;
    Audio::sPlayState mPlayState;
    SoundChannelPtr mChannel;
};

} // namespace Strata
