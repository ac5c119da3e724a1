#pragma once

#include "audio/Audio.h"
#include "core/Label.h"
#include "framework/Task.h"

namespace Strata
{
class ISound;
class Object;
} // namespace Strata

namespace Yardcrew
{

// Speaks a voice clip through the game's voice queue and completes once the clip is neither spoken nor
// waiting any more, so a sequence can wait for speech. Starting cuts short whatever was being said. The
// first update only starts the clip; a clip that is missing, or that leaves the queue unplayed, ends the
// wait at the next update. The play state is kept with the task; the voice queue plays with defaults.
class GameVoiceTask : public Strata::Task
{
public:
    Strata::sTaskStatus Update(Strata::Object* object, float dt) override;

protected:
    GameVoiceTask(Strata::Label name, const Strata::Audio::sPlayState& state) : mName(name), mPlayState(state) {}

    // Cuts the speech short and queues the clip.
    virtual void Start() const = 0;
    // The clip being waited for; null when it is missing.
    virtual const Strata::ISound* FindClip() const = 0;

    Strata::Label mName;
    Strata::Audio::sPlayState mPlayState;

private:
    bool mPlaying = false;
};

// The sound resource of that name, as a specific voice clip.
class AudioPlayChannelTask : public GameVoiceTask
{
public:
    AudioPlayChannelTask(Strata::Label name, const Strata::Audio::sPlayState& state) : GameVoiceTask(name, state) {}
    Strata::Task* Clone() const override;

private:
    void Start() const override;
    const Strata::ISound* FindClip() const override;
};

// The spoken description of the game `name`, from the sound list "GameDescriptions".
class AudioPlayGameDescTask : public GameVoiceTask
{
public:
    AudioPlayGameDescTask(Strata::Label name, const Strata::Audio::sPlayState& state) : GameVoiceTask(name, state) {}
    Strata::Task* Clone() const override;

private:
    void Start() const override;
    const Strata::ISound* FindClip() const override;
};

} // namespace Yardcrew
