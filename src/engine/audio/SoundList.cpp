#include "audio/SoundList.h"

#include "core/AttributeContainer.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "framework/SoundListHooks.h"

#include <memory>

namespace Strata
{

const ISound* SoundList::GetSound(Label event) const
{
    const auto found = mSounds.find(event);
    return found != mSounds.end() ? found->second.sound : nullptr;
}

void SoundList::SetSound(Label event, std::shared_ptr<IResourceDescriptor> holder, const ISound* sound)
{
    mSounds[event] = Entry{sound != nullptr ? std::move(holder) : nullptr, sound};
}

void SoundList::PlaySound(Label event) const
{
    if (const ISound* sound = GetSound(event))
        Audio::Play(sound, Audio::sPlayState());
}

IResourceDescriptor* SoundListResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                              const IAttributeContainer& attributes,
                                                              IXMLReader& element) const
{
    auto wrapper = std::make_unique<ResourceWrapper<SoundList>>(manifest, name, attributes);
    element.ReadElement();
    while (!element.IsEOF())
    {
        const XMLElement* item = element.ReadElement();
        if (item == nullptr)
            break;
        if (!item->IsStartElement() || item->GetName() != L"sound")
            continue;
        const Label event = Label::FromString(item->GetAttribute(L"event"));
        const AutoResource<ISound> sound(Label::FromString(item->GetAttribute(L"src")));
        wrapper->SetSound(event, sound.GetDescriptor(), sound.Get());
    }
    return wrapper.release();
}

void RegisterSoundListHooks()
{
    sSoundListHooks hooks;
    hooks.find = [](Label name) -> const SoundList* { return AutoResource<SoundList>(name).Get(); };
    hooks.play = [](const SoundList& list, Label event) { list.PlaySound(event); };
    InstallSoundListHooks(hooks);
}

AudioPlayTask::AudioPlayTask(const ISound* sound, bool waitForEnd, const Audio::sPlayState& state)
    : mSound(sound), mWaitForEnd(waitForEnd), mPlayState(state)
{
}

AudioPlayTask::AudioPlayTask(Label name, const Audio::sPlayState& state)
    : mSound(nullptr), mWaitForEnd(false), mPlayState(state)
{
    const AutoResource<ISound> sound(name);
    if (sound.Get() != nullptr)
    {
        mHolder = sound.GetDescriptor();
        mSound = sound.Get();
    }
}

Task* AudioPlayTask::Clone() const
{
    auto* clone = new AudioPlayTask(mSound, mWaitForEnd, mPlayState);
    clone->mHolder = mHolder;
    return clone;
}

sTaskStatus AudioPlayTask::Update(Object* /*object*/, float /*seconds*/)
{
    if (!mChannel)
        if (mWaitForEnd)
            Audio::Play(mSound, &mChannel, mPlayState);
        else
            Audio::Play(mSound, mPlayState);
    else if (!mChannel->IsPlaying())
        mChannel.reset();
    return mChannel ? Task::Incomplete : Task::CompletedAfter(0.0f);
}

} // namespace Strata
