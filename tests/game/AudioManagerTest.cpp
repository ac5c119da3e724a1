#include "game/AudioManager.h"

#include "game/YardcrewNames.h"

#include "GameAudioTestSupport.h"

#include <gtest/gtest.h>

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

    std::vector<std::string> spoken;
    for (int step = 0; step < 40; ++step)
    {
        Step();
        int playing = 0;
        for (const char* word : {"w3", "wRed", "wBricks"})
        {
            if (Playing(word))
            {
                ++playing;
                if (spoken.empty() || spoken.back() != word)
                    spoken.push_back(word);
            }
        }
        EXPECT_LE(playing, 1) << "step " << step;
    }
    EXPECT_EQ(spoken, (std::vector<std::string>{"w3", "wRed", "wBricks"}));
    EXPECT_FALSE(Upcoming("wBricks"));
}

TEST_F(AudioManagerTest, HintsCutTheSpeechOnlyForGamesThatHaveThem)
{
    struct Case
    {
        const char* game;
        int hint;
        const char* expected; // null: the word being spoken goes on
    };
    const Case cases[] = {
        {"PaintIt", 1, "InGameHint_PaintIt_1"},
        {"PaintIt", 2, "InGameHint_PaintIt_2"},
        {"PaintIt", 0, "InGameHint_PaintIt_2"},
        {"PileOfLeaves", 2, "InGameHint_Leaves_1"},
        {"HideAndSeek", 1, nullptr},
        {"NoSuchGame", 1, nullptr},
        {nullptr, 1, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.game != nullptr ? c.game : "(null)") + " " + std::to_string(c.hint));
        AudioManager* audio = GetAudioManager();
        audio->playSpecificSoundVocal(Label("desc"));
        Step();
        audio->playAudioGameHint(Label(c.game), c.hint);
        Step();
        Step();
        EXPECT_EQ(Playing("desc"), c.expected == nullptr);
        if (c.expected != nullptr)
        {
            EXPECT_TRUE(Playing(c.expected));
        }
        audio->clearVocalAudioQueues();
        Step();
    }
}

TEST_F(AudioManagerTest, FeedbackCutsAHintAndIsSpokenNext)
{
    AudioManager* audio = GetAudioManager();
    audio->playAudioGameHint(Label("PaintIt"), 1);
    audio->playNumberVocal(3);
    Step();
    ASSERT_TRUE(Playing("InGameHint_PaintIt_1"));
    audio->playInGameFeedbackVocal(true);
    EXPECT_FALSE(Upcoming("w3"));
    Step(); // the hint stops in this step's audio update
    EXPECT_FALSE(Playing("InGameHint_PaintIt_1"));
    Step();
    EXPECT_TRUE(Playing("General_CorrectAnswer"));

    // A missing feedback sound is queued and plays nothing in its turn; it is never waited for.
    audio->playInGameFeedbackVocal(false);
    EXPECT_FALSE(audio->getIsPlayingOrUpcoming(nullptr));
    Step();
    Step();
    EXPECT_EQ(platform->GetChannelCount(), 0u);
}

TEST_F(AudioManagerTest, ClearSFXStopsEveryEffect)
{
    AudioManager* audio = GetAudioManager();
    audio->playSFX(Label("fx1"));
    audio->playSFX(Label("fx2"));
    audio->playSFX(Label("nothing"));
    audio->playSpecificSoundVocal(Label("desc"));
    Step();
    ASSERT_TRUE(Playing("fx1"));
    ASSERT_TRUE(Playing("fx2"));
    audio->clearSFX();
    Step();
    EXPECT_FALSE(Playing("fx1"));
    EXPECT_FALSE(Playing("fx2"));
    EXPECT_TRUE(Playing("desc")); // the voice is not an effect
}

TEST_F(AudioManagerTest, UnloadingTheVoicesEmptiesTheQueueFirst)
{
    AudioManager* audio = GetAudioManager();
    const ISound* three = Sound("w3");
    audio->playSpecificSoundVocal(Label("desc"));
    audio->playNumberVocal(3);
    ASSERT_TRUE(audio->getIsPlayingOrUpcoming(three));
    audio->unloadVoiceManifest(L"voices");
    EXPECT_EQ(Sound("w3"), nullptr);
    EXPECT_FALSE(audio->getIsPlayingOrUpcoming(three));
    for (int step = 0; step < 5; ++step)
        Step();
    EXPECT_EQ(platform->GetChannelCount(), 0u);
}

TEST_F(AudioManagerTest, MusicFollowsTheModeAndTheGame)
{
    struct Change
    {
        MusicMode mode;
        const char* game;
        const char* track; // the one track playing afterwards; null: none
        bool changes;      // the music group's volume is set
    };
    const Change changes[] = {
        {MusicMode_GeneralUI, nullptr, "Music_GeneralUI", true},
        {MusicMode_GeneralUI, nullptr, "Music_GeneralUI", false},
        {MusicMode_InGame, "PaintIt", "Ambient_Outdoor_1", true},
        {MusicMode_InGame, "ToolShed", "Ambient_Outdoor_1", false},
        {MusicMode_GeneralUI, nullptr, "Music_GeneralUI", true},
        {MusicMode_InGame, "ToolShed", "Ambient_Indoor", true},
        {MusicMode_TitleTheme, nullptr, "Music_TitleTheme", true},
        {MusicMode_InGame, "PlanAJob", nullptr, true}, // its track is not in this fixture
        {MusicMode_None, nullptr, nullptr, true},
    };
    const AudioControlsPtr group = Audio::GetControls(Audio::GetMusicKind());
    for (const Change& c : changes)
    {
        SCOPED_TRACE(std::to_string(&c - changes));
        group->SetVolume(1.0f);
        GetAudioManager()->setMusicMode(c.mode, Label(c.game));
        Step();
        Step();
        EXPECT_FLOAT_EQ(group->GetVolume(), c.changes ? 0.15f : 1.0f);
        for (const char* track : {"Music_GeneralUI", "Music_TitleTheme", "Ambient_Outdoor_1", "Ambient_Indoor"})
            EXPECT_EQ(Playing(track), c.track != nullptr && std::string(track) == c.track) << track;
    }
}

} // namespace
