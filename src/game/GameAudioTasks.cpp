#include "game/GameAudioTasks.h"

#include "audio/SoundList.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"

using namespace Strata;

namespace Yardcrew
{

sTaskStatus GameVoiceTask::Update(Object* /*object*/, float /*dt*/)
{
    if (!mPlaying)
    {
        Start();
        mPlaying = true;
    }
    else if (!GetAudioManager()->getIsPlayingOrUpcoming(FindClip()))
    {
        mPlaying = false;
    }
    return mPlaying ? Task::Incomplete : Task::CompletedAfter(0.0f);
}

Task* AudioPlayChannelTask::Clone() const
{
    return std::make_unique<AudioPlayChannelTask>(mName, mPlayState).release();
}

void AudioPlayChannelTask::Start() const
{
    GetAudioManager()->playSpecificSoundVocal(mName);
}

const ISound* AudioPlayChannelTask::FindClip() const
{
    // Compared by address only: the pointer is never followed after the lookup's holder goes.
    return AutoResource<ISound>(mName).Get();
}

Task* AudioPlayGameDescTask::Clone() const
{
    return std::make_unique<AudioPlayGameDescTask>(mName, mPlayState).release();
}

void AudioPlayGameDescTask::Start() const
{
    GetAudioManager()->playGameDescriptionVocal(mName);
}

const ISound* AudioPlayGameDescTask::FindClip() const
{
    static const Label list("GameDescriptions");
    const AutoResource<SoundList> descriptions(list);
    return descriptions.Get() != nullptr ? descriptions->GetSound(mName) : nullptr;
}

} // namespace Yardcrew
