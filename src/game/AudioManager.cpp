#include "game/AudioManager.h"

#include "audio/Audio.h"
#include "audio/SoundList.h"
#include "core/Singleton.h"
#include "core/StringFormatter.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "game/YardcrewNames.h"

#include <array>
#include <deque>
#include <unordered_map>
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

// Game, hint 1, later hints. "HideAndSeek" has no spoken hints and is left out: its hint request
// changes nothing.
constexpr const char* kHints[][3] = {
    {"CountTheMaterials", "InGameHint_CountTheMaterials", "InGameHint_CountTheMaterials"},
    {"HammerTheNail", "InGameHint_FixIt_1", "InGameHint_FixIt_2"},
    {"HereToThere", "InGameHint_HereToThere_1", "InGameHint_HereToThere_2"},
    {"HoistStacker", "InGameHint_HoistStacker_1", "InGameHint_HoistStacker_2"},
    {"HaulersDelivery", "InGameHint_Delivery", "InGameHint_Delivery"},
    {"PaintIt", "InGameHint_PaintIt_1", "InGameHint_PaintIt_2"},
    {"PileOfLeaves", "InGameHint_Leaves_1", "InGameHint_Leaves_1"},
    {"PlanAJob", "InGameHint_PlanAJob_1", "InGameHint_PlanAJob_2"},
    {"SproutPuzzle", "InGameHint_Puzzle_1", "InGameHint_Puzzle_2"},
    {"StreetSigns", "InGameHint_Signs_1", "InGameHint_Signs_1"},
    {"ToolShed", "InGameHint_ToolShed_1", "InGameHint_ToolShed_2"},
};

// Game, in-game track.
constexpr const char* kTracks[][2] = {
    {"PlanAJob", "Music_Track4"},         {"ToolShed", "Ambient_Indoor"},        {"HereToThere", "Music_Track4"},
    {"PaintIt", "Ambient_Outdoor_1"},     {"PileOfLeaves", "Music_Track3"},      {"HaulersDelivery", "Music_Track1"},
    {"StreetSigns", "Ambient_Outdoor_2"}, {"CountTheMaterials", "Music_Track2"}, {"SproutPuzzle", "Music_Track3"},
    {"HammerTheNail", "Ambient_Indoor"},  {"HoistStacker", "Music_Track2"},      {"HideAndSeek", "Music_Track1"},
};

// A table of names as Labels keyed by the game in its first column, made once by its caller.
template <size_t C>
using GameTable = std::unordered_map<Label, std::array<Label, C - 1>>;

template <size_t N, size_t C>
GameTable<C> MakeGameTable(const char* const (&rows)[N][C])
{
    GameTable<C> table;
    for (const auto& row : rows)
    {
        std::array<Label, C - 1> labels;
        for (size_t i = 1; i < C; ++i)
            labels[i - 1] = Label(row[i]);
        table.emplace(Label(row[0]), labels);
    }
    return table;
}

template <class Table>
const typename Table::mapped_type* FindGame(const Table& table, Label game)
{
    const auto found = table.find(game);
    return found != table.end() ? &found->second : nullptr;
}

constexpr float kMusicGroupVolume = 0.15f;

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
    static const Label list("General_ColorWords");
    if (InTable(color, YardcrewColor_Count))
        queueListEntry(list, kYardcrewColorLabels[color]);
}

void AudioManager::playShapeVocal(YardcrewShape shape)
{
    static const Label list("General_ShapeWords");
    if (InTable(shape, YardcrewShape_Count))
        queueListEntry(list, kYardcrewShapeLabels[shape]);
}

void AudioManager::playToolNameVocal(YardcrewTool tool)
{
    static const Label list("General_ToolWords");
    if (InTable(tool, YardcrewTool_Count))
        queueListEntry(list, kYardcrewToolLabels[tool]);
}

void AudioManager::playMaterialVocal(YardcrewMaterial material, bool singular)
{
    static const Label singularList("General_MaterialWords_Singular");
    static const Label pluralList("General_MaterialWords_Plural");
    if (InTable(material, YardcrewMaterial_Count))
        queueListEntry(singular ? singularList : pluralList, kYardcrewMaterialLabels[material]);
}

void AudioManager::playNumberVocal(int number)
{
    static const Label list("General_NumberWords");
    queueListEntry(list, Label::FromString(std::wstring(Strata::StringFormatter(L"%1%").Arg(number).c_str())));
}

void AudioManager::playInGameFeedbackVocal(bool correct)
{
    static const Label correctAnswer("General_CorrectAnswer");
    static const Label incorrectAnswer("General_IncorrectAnswer");
    clearVocalAudioQueues();
    queueVoice(correct ? correctAnswer : incorrectAnswer, true);
}

void AudioManager::playGameDescriptionVocal(Label game)
{
    static const Label list("GameDescriptions");
    clearVocalAudioQueues();
    queueListEntry(list, game);
}

void AudioManager::playAudioGameHint(Label game, int hintNumber)
{
    static const GameTable<3> table = MakeGameTable(kHints);
    if (const auto* hints = FindGame(table, game))
        playSpecificSoundVocal((*hints)[hintNumber == 1 ? 0 : 1]);
}

void AudioManager::setMusicMode(MusicMode mode, Label game)
{
    if (mode == mMusicMode)
        return;
    mMusicMode = mode;
    if (mode == MusicMode_InGame && game == mMusicGame)
        return;

    if (const Strata::AudioControlsPtr group = Strata::Audio::GetControls(Strata::Audio::GetMusicKind()))
        group->SetVolume(kMusicGroupVolume);
    StopTrack(mChannels->music);

    static const GameTable<2> tracks = MakeGameTable(kTracks);
    static const Label generalUI("Music_GeneralUI");
    static const Label titleTheme("Music_TitleTheme");
    Label track;
    if (mode == MusicMode_GeneralUI)
        track = generalUI;
    else if (mode == MusicMode_TitleTheme)
        track = titleTheme;
    else if (const auto* row = mode == MusicMode_InGame ? FindGame(tracks, game) : nullptr)
        track = (*row)[0];
    // A null name plays nothing and leaves the channel null.
    Strata::Audio::Play(track, &mChannels->music, Strata::Audio::sPlayState());
    mMusicGame = mode == MusicMode_InGame ? game : Label();
}

AudioManager* GetAudioManager()
{
    // Made again after the singletons' deletion, as the engine's own services are.
    if (gAudioManager == nullptr)
    {
        gAudioManager = new AudioManager();
        Strata::AutoDeleteSingleton(gAudioManager);
    }
    return gAudioManager;
}

} // namespace Yardcrew
