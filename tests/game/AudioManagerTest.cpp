#include "game/AudioManager.h"

#include "game/YardcrewNames.h"

#include "GameAudioTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace GameTesting;

namespace
{

using AudioManagerTest = GameAudioTest;

TEST_F(AudioManagerTest, WordsQueuedInOneStepAreSpokenInOrderWithoutOverlap)
{
    AudioManager* audio = GetAudioManager();
    audio->playNumberVocal(3);
    audio->playColorVocal(YardcrewColor_Red);
    audio->playMaterialVocal(YardcrewMaterial_Bricks, false);
    audio->playMaterialVocal(YardcrewMaterial_Bricks, true); // no singular list: nothing queued
    audio->playColorVocal(YardcrewColor_None);
    // A whole sound after the words, without cutting them; a missing one queues nothing.
    audio->queueSpecificSoundVocal(Label("General_CorrectAnswer"));
    audio->queueSpecificSoundVocal(Label("NoSuchSound"));
    std::vector<std::string> spoken;
    for (int step = 0; step < 40; ++step)
    {
        Step();
        int playing = 0;
        for (const char* word : {"w3", "wRed", "wBricks", "General_CorrectAnswer"})
            if (Playing(word) && ++playing && (spoken.empty() || spoken.back() != word))
                spoken.push_back(word);
        EXPECT_LE(playing, 1) << "step " << step;
    }
    EXPECT_EQ(spoken, (std::vector<std::string>{"w3", "wRed", "wBricks", "General_CorrectAnswer"}));
}

TEST_F(AudioManagerTest, FeedbackCutsAHintAndGamesWithoutHintsCutNothing)
{
    AudioManager* audio = GetAudioManager();
    audio->playAudioGameHint(Label("PaintIt"), 2);
    audio->playNumberVocal(3);
    Step();
    ASSERT_TRUE(Playing("InGameHint_PaintIt_2"));
    audio->playInGameFeedbackVocal(true);
    EXPECT_FALSE(audio->getIsPlayingOrUpcoming(Sound("w3")));
    Step(); // the hint stops in this step's audio update
    EXPECT_FALSE(Playing("InGameHint_PaintIt_2"));
    Step();
    EXPECT_TRUE(Playing("General_CorrectAnswer"));
    for (const char* game : {"HideAndSeek", "NoSuchGame"})
        audio->playAudioGameHint(Label(game), 1);
    EXPECT_TRUE(audio->getIsPlayingOrUpcoming(Sound("General_CorrectAnswer")));

    // A missing feedback sound is queued and plays nothing in its turn; a null sound is never upcoming.
    audio->playInGameFeedbackVocal(false);
    EXPECT_FALSE(audio->getIsPlayingOrUpcoming(nullptr));
    Step();
    Step();
    EXPECT_EQ(platform->GetChannelCount(), 0u);
}

TEST_F(AudioManagerTest, HintOneSpeaksTheFirstColumnAndEveryOtherNumberTheSecond)
{
    for (const auto& [number, hint] : {std::pair{1, "InGameHint_PaintIt_1"},
                                       {0, "InGameHint_PaintIt_2"},
                                       {2, "InGameHint_PaintIt_2"},
                                       {-1, "InGameHint_PaintIt_2"}})
    {
        GetAudioManager()->playAudioGameHint(Label("PaintIt"), number);
        EXPECT_TRUE(GetAudioManager()->getIsPlayingOrUpcoming(Sound(hint))) << number;
    }
}

TEST_F(AudioManagerTest, ClearSFXStopsEveryEffectAndUnloadingEmptiesTheVoiceQueueFirst)
{
    AudioManager* audio = GetAudioManager();
    audio->playSFX(Label("fx1"));
    audio->playSFX(Label("fx2"));
    audio->playSpecificSoundVocal(Label("desc"));
    Step();
    ASSERT_TRUE(Playing("fx1") && Playing("fx2"));
    audio->clearSFX();
    Step();
    EXPECT_FALSE(Playing("fx1") || Playing("fx2"));
    EXPECT_TRUE(Playing("desc")); // the voice is no effect

    const ISound* three = Sound("w3");
    const ISound* desc = Sound("desc");
    audio->playNumberVocal(3);
    audio->unloadVoiceManifest(L"voices");
    EXPECT_EQ(Sound("w3"), nullptr);
    EXPECT_FALSE(audio->getIsPlayingOrUpcoming(three));
    for (int step = 0; step < 8; ++step)
        Step();
    EXPECT_FALSE(platform->WasSoundPlayedRecently(desc, UINT_MAX));
    EXPECT_FALSE(platform->WasSoundPlayedRecently(three, UINT_MAX));
}

TEST_F(AudioManagerTest, MusicChangesOnlyWithTheMode)
{
    // Mode, game, the one track playing afterwards (null: none). The group holds the player's level,
    // which no change touches.
    const std::tuple<MusicMode, const char*, const char*> changes[] = {
        {MusicMode_GeneralUI, nullptr, "Music_GeneralUI"},
        {MusicMode_GeneralUI, nullptr, "Music_GeneralUI"},
        {MusicMode_InGame, "PaintIt", "Ambient_Outdoor_1"},
        {MusicMode_InGame, "ToolShed", "Ambient_Outdoor_1"},
        {MusicMode_GeneralUI, nullptr, "Music_GeneralUI"},
        {MusicMode_InGame, "ToolShed", "Ambient_Indoor"},
        {MusicMode_None, nullptr, nullptr},
    };
    const AudioControlsPtr group = Audio::GetControls(Audio::GetMusicKind());
    for (const auto& [mode, game, playing] : changes)
    {
        group->SetVolume(0.5f);
        GetAudioManager()->setMusicMode(mode, Label(game));
        Step();
        Step();
        EXPECT_FLOAT_EQ(group->GetVolume(), 0.5f) << mode << " " << (game ? game : "");
        for (const char* track : {"Music_GeneralUI", "Ambient_Outdoor_1", "Ambient_Indoor"})
            EXPECT_EQ(Playing(track), playing != nullptr && std::string(track) == playing) << track;
    }
}

} // namespace
