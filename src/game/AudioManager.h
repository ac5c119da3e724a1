#pragma once

#include "core/Label.h"

#include <cstdint>
#include <memory>

namespace Strata
{
class ISound;
}

namespace Yardcrew
{

// The shared name tables (game/YardcrewNames.h) define these.
enum YardcrewColor : int32_t;
enum YardcrewShape : int32_t;
enum YardcrewTool : int32_t;
enum YardcrewMaterial : int32_t;

// What plays behind the screen; any other value plays no music.
enum MusicMode : int
{
    MusicMode_None = 0,
    MusicMode_InGame = 1,    // the track of the game given with it
    MusicMode_GeneralUI = 2, // menus and screens
    MusicMode_TitleTheme = 3,
};

// The game's one place for speech, effects and music. Voice sounds wait in a queue and are spoken one
// after another, so a sentence can be built from word sounds; effects play at once beside the voice.
// Sounds and sound lists are looked up by name each time, so a missing one plays nothing. Main thread
// only.
class AudioManager
{
public:
    AudioManager();
    ~AudioManager();
    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

    // Once a frame: when the voice is silent, starts the next queued sound (at most one per call).
    void updateVocalAudioQueues();
    // Stops the voice being spoken and empties the queue.
    void clearVocalAudioQueues();
    // Stops every effect still playing.
    void clearSFX();
    // Drops every channel and queued sound without touching the audio platform's state; called before
    // the audio platform goes away.
    void releaseAll();
    // Empties the voice queue, then unloads the manifest, so nothing queued outlives its sound.
    void unloadVoiceManifest(const wchar_t* manifest);

    // Cuts the speech short and queues the sound resource `name` (nothing when it is missing).
    void playSpecificSoundVocal(Strata::Label name);
    // Appends the sound resource `name` after what is said and queued (nothing when it is missing).
    void queueSpecificSoundVocal(Strata::Label name);
    // Plays the sound resource `name` at once; effects may overlap one another and the voice.
    void playSFX(Strata::Label name);
    // True while `sound` is being spoken or waits in the queue; a null sound is never upcoming, so a
    // wait on a missing clip ends.
    bool getIsPlayingOrUpcoming(const Strata::ISound* sound) const;

    // Words appended to the queue without clearing it; a word missing from its list queues nothing.
    void playColorVocal(YardcrewColor color);
    void playShapeVocal(YardcrewShape shape);
    void playToolNameVocal(YardcrewTool tool);
    // The tool with its colour as one entry ("Red_Hammer"), so each language's voice data holds its own
    // word order and agreement ("red saw", "sierra roja").
    void playColoredToolVocal(YardcrewColor color, YardcrewTool tool);
    void playMaterialVocal(YardcrewMaterial material, bool singular);
    void playNumberVocal(int number);
    // A request for `number` of the thing `key` names, as each language's voice data words it: the number
    // word, then the words that follow it in that language's order and agreement ("seven yellow logs",
    // "siete troncos amarillos"); for one, a single line that carries its own agreeing article ("un
    // ladrillo rojo", "una bolsa roja de cemento").
    void playRequestVocal(Strata::Label key, int number);

    // These cut the speech short before queuing their sound.
    // Queued even when the resource is missing: the entry then plays nothing in its turn.
    void playInGameFeedbackVocal(bool correct);
    // The game's entry of the "GameDescriptions" list.
    void playGameDescriptionVocal(Strata::Label game);
    // Hint 1 or a later one of the game; a game without hints leaves the speech untouched.
    void playAudioGameHint(Strata::Label game, int hintNumber);

    // Changes the music when `mode` differs from the last one; the in-game track follows `game`. Every
    // track plays below the "Music" group, which is left to hold the player's level: a track of the music
    // kind at 0.3 of its own volume, so a new player's level (0.5) hears it at 0.15, and an ambient bed
    // at its own volume, where its own group had it.
    void setMusicMode(MusicMode mode, Strata::Label game);
    MusicMode getMusicMode() const { return mMusicMode; }
    Strata::Label getMusicGame() const { return mMusicGame; }

private:
    struct Channels;

    // Appends a sound (null included) to the voice queue.
    void queueVoice(Strata::Label name, bool evenWhenMissing);
    // Appends the entry `key` of the sound list `list`, when there is one.
    void queueListEntry(Strata::Label list, Strata::Label key);

    std::unique_ptr<Channels> mChannels;
    MusicMode mMusicMode = MusicMode_None;
    Strata::Label mMusicGame;
};

// The program's audio manager, made on first use and deleted with the engine's singletons.
AudioManager* GetAudioManager();

} // namespace Yardcrew
