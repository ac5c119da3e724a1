#include "game/AudioManager.h"

#include "audio/Audio.h"
#include "audio/SoundList.h"
#include "core/Singleton.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "game/AudioContent.h"
#include "game/GameRegistry.h"
#include "game/YardcrewNames.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace Yardcrew
{

using Strata::AutoResource;
using Strata::ISound;
using Strata::Label;
using Strata::SoundChannelPtr;
using Strata::SoundList;

namespace
{

// A queued voice sound. The resource is held with it, so an entry never points into freed sound data.
struct QueuedVoice
{
    std::shared_ptr<Strata::IResourceDescriptor> holder;
    const ISound* sound = nullptr;
};

// Asks the channel's controls to stop; the channel ends at the next audio update.
void StopTrack(const SoundChannelPtr& channel)
{
    if (channel && channel->IsPlaying() && channel->GetControls() != nullptr)
        channel->GetControls()->Stop();
}

template <class T>
bool InTable(T value, T count)
{
    return value >= 0 && value < count;
}

// Every track of the music channel, an ambient bed included, plays below the "Music" group, which is the
// player's level (the options' slider, kept in the profile). At a new player's level, where every group
// starts, music is heard at 0.15, its place in the mix, and an ambient bed at its own group's level; the
// track's own node holds that share, so the level and the share multiply and neither overwrites the
// other.
constexpr float kGroupStartVolume = 0.5f;
constexpr float kMusicMixVolume = 0.15f;

float MixShare(const ISound& track)
{
    return track.GetKind() == Strata::Audio::GetMusicKind() ? kMusicMixVolume / kGroupStartVolume : 1.0f;
}

AudioManager* gAudioManager = nullptr;

} // namespace

struct AudioManager::Channels
{
    SoundChannelPtr voice;
    SoundChannelPtr music;
    // Every effect that may still play, the last one started at the back.
    std::vector<SoundChannelPtr> effects;
    std::deque<QueuedVoice> voiceQueue;
};

AudioManager::AudioManager() : mChannels(std::make_unique<Channels>())
{
}

AudioManager::~AudioManager()
{
    if (gAudioManager == this)
        gAudioManager = nullptr;
}

void AudioManager::updateVocalAudioQueues()
{
    Channels& c = *mChannels;
    if (c.voiceQueue.empty() || (c.voice && c.voice->IsPlaying()))
        return;
    const QueuedVoice next = std::move(c.voiceQueue.front());
    c.voiceQueue.pop_front();
    Strata::Audio::Play(next.sound, &c.voice, Strata::Audio::sPlayState());
}

void AudioManager::clearVocalAudioQueues()
{
    StopTrack(mChannels->voice);
    mChannels->voiceQueue.clear();
}

void AudioManager::clearSFX()
{
    for (const SoundChannelPtr& effect : mChannels->effects)
        StopTrack(effect);
    mChannels->effects.clear();
}

void AudioManager::releaseAll()
{
    mChannels = std::make_unique<Channels>();
    mMusicMode = MusicMode_None;
    mMusicGame = Label();
}

void AudioManager::unloadVoiceManifest(const wchar_t* manifest)
{
    clearVocalAudioQueues();
    Strata::GetResourceManager()->Unload(manifest);
}

void AudioManager::queueVoice(Label name, bool evenWhenMissing)
{
    const AutoResource<ISound> sound(name);
    if (sound.Get() == nullptr && !evenWhenMissing)
        return;
    mChannels->voiceQueue.push_back(QueuedVoice{sound.Get() != nullptr ? sound.GetDescriptor() : nullptr, sound.Get()});
}

void AudioManager::queueListEntry(Label list, Label key)
{
    const AutoResource<SoundList> sounds(list);
    const ISound* sound = sounds.Get() != nullptr ? sounds->GetSound(key) : nullptr;
    if (sound == nullptr)
        return;
    // The list keeps its sounds alive; holding the list holds the sound.
    mChannels->voiceQueue.push_back(QueuedVoice{sounds.GetDescriptor(), sound});
}

void AudioManager::playSpecificSoundVocal(Label name)
{
    clearVocalAudioQueues();
    queueVoice(name, false);
}

void AudioManager::queueSpecificSoundVocal(Label name)
{
    queueVoice(name, false);
}

void AudioManager::playSFX(Label name)
{
    std::vector<SoundChannelPtr>& effects = mChannels->effects;
    std::erase_if(effects, [](const SoundChannelPtr& effect) { return !effect || !effect->IsPlaying(); });
    SoundChannelPtr channel;
    Strata::Audio::Play(name, &channel, Strata::Audio::sPlayState());
    if (channel)
        effects.push_back(std::move(channel));
}

bool AudioManager::getIsPlayingOrUpcoming(const ISound* sound) const
{
    if (sound == nullptr)
        return false;
    const Channels& c = *mChannels;
    // A channel keeps its sound until the audio update after its end; by then it is no longer playing.
    if (c.voice && c.voice->GetSound() == sound && c.voice->IsPlaying())
        return true;
    for (const QueuedVoice& entry : c.voiceQueue)
        if (entry.sound == sound)
            return true;
    return false;
}

void AudioManager::playColorVocal(YardcrewColor color)
{
    static const Label list(AudioContent::kColorWords.name);
    if (InTable(color, YardcrewColor_Count))
        queueListEntry(list, kYardcrewColorLabels[color]);
}

void AudioManager::playShapeVocal(YardcrewShape shape)
{
    static const Label list(AudioContent::kShapeWords.name);
    if (InTable(shape, YardcrewShape_Count))
        queueListEntry(list, kYardcrewShapeLabels[shape]);
}

void AudioManager::playToolNameVocal(YardcrewTool tool)
{
    static const Label list(AudioContent::kToolWords.name);
    if (InTable(tool, YardcrewTool_Count))
        queueListEntry(list, kYardcrewToolLabels[tool]);
}

void AudioManager::playColoredToolVocal(YardcrewColor color, YardcrewTool tool)
{
    static const Label list(AudioContent::kColoredToolWords);
    if (InTable(color, YardcrewColor_Count) && InTable(tool, YardcrewTool_Count))
        queueListEntry(list, Label(AudioContent::ColoredToolEntry(color, tool).c_str()));
}

void AudioManager::playMaterialVocal(YardcrewMaterial material, bool singular)
{
    static const Label singularList(AudioContent::kMaterialWordsOne.name);
    static const Label pluralList(AudioContent::kMaterialWordsMany.name);
    if (InTable(material, YardcrewMaterial_Count))
        queueListEntry(singular ? singularList : pluralList, kYardcrewMaterialLabels[material]);
}

void AudioManager::playNumberVocal(int number)
{
    static const Label list(AudioContent::kNumberWords);
    queueListEntry(list, Label(AudioContent::NumberEntry(number).c_str()));
}

void AudioManager::playRequestVocal(Label key, int number)
{
    static const Label singularList(AudioContent::kRequestWordsOne);
    static const Label pluralList(AudioContent::kRequestWordsMany);
    if (number != 1)
        playNumberVocal(number);
    queueListEntry(number == 1 ? singularList : pluralList, key);
}

void AudioManager::playInGameFeedbackVocal(bool correct)
{
    static const Label correctAnswer(AudioContent::kCorrectAnswer.name);
    static const Label incorrectAnswer(AudioContent::kIncorrectAnswer.name);
    clearVocalAudioQueues();
    queueVoice(correct ? correctAnswer : incorrectAnswer, true);
}

void AudioManager::playGameDescriptionVocal(Label game)
{
    static const Label list(AudioContent::kGameDescriptions);
    clearVocalAudioQueues();
    queueListEntry(list, game);
}

void AudioManager::playAudioGameHint(Label game, int hintNumber)
{
    // A game without hints leaves the speech alone.
    const sGameRegistration* registered = FindRegisteredGame(game);
    if (registered == nullptr || registered->firstHint == nullptr)
        return;
    const char* hint =
        hintNumber == 1 || registered->laterHint == nullptr ? registered->firstHint : registered->laterHint;
    playSpecificSoundVocal(Label(hint));
}

void AudioManager::setMusicMode(MusicMode mode, Label game)
{
    if (mode == mMusicMode)
        return;
    mMusicMode = mode;
    if (mode == MusicMode_InGame && game == mMusicGame)
        return;

    StopTrack(mChannels->music);

    static const Label generalUI(AudioContent::kGeneralUIMusic.name);
    static const Label titleTheme(AudioContent::kTitleMusic.name);
    Label track;
    if (mode == MusicMode_GeneralUI)
        track = generalUI;
    else if (mode == MusicMode_TitleTheme)
        track = titleTheme;
    else if (const sGameRegistration* registered = mode == MusicMode_InGame ? FindRegisteredGame(game) : nullptr;
             registered != nullptr && registered->music != nullptr)
        track = Label(registered->music);
    // A missing track plays nothing and leaves the channel null.
    const AutoResource<ISound> sound(track);
    Strata::Audio::sPlayState state;
    if (sound.Get() != nullptr)
    {
        state.parentControls = Strata::Audio::GetControls(Strata::Audio::GetMusicKind());
        state.volume = sound.Get()->GetDefaultVolume() * MixShare(*sound.Get());
    }
    Strata::Audio::Play(sound.Get(), &mChannels->music, state);
    mMusicGame = mode == MusicMode_InGame ? game : Label();
}

AudioManager* GetAudioManager()
{
    // Made again after the singletons' deletion, as the engine's own services are.
    if (gAudioManager == nullptr)
    {
        gAudioManager = std::make_unique<AudioManager>().release(); // the singleton list deletes it
        Strata::AutoDeleteSingleton(gAudioManager);
    }
    return gAudioManager;
}

} // namespace Yardcrew
