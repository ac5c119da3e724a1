#include "game/screens/AccountConfirmMode.h"
#include "game/screens/CreditsMode.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/TitleMode.h"

#include "game/AccountKeys.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/LevelProgression.h"
#include "game/StickerManager.h"

#include "audio/Audio.h"
#include "framework/AudioInterfaces.h"
#include "framework/MainLoop.h"
#include "scene/ButtonNode.h"
#include "scene/CheckBoxNode.h"
#include "scene/NodePath.h"
#include "scene/RadioButtonNode.h"
#include "scene/SceneLayout.h"
#include "scene/SliderNode.h"
#include "scene/StrataExtensions.h"

#include "../GameScreenTestSupport.h"
#include "../StickerTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

using namespace GameTesting;

namespace
{

// Widgets only, named as in data/: the screens' logic, not their looks.
const char* const kContent = R"(
<scenelayout name="TitleModeLayout"><scenenode nodeName="TitleMode"><buttonnode nodeName="StartButton" name="StartButton"/></scenenode></scenelayout>
<scenelayout name="MainMenuLayout"><scenenode nodeName="MainMenu">
  <buttonnode nodeName="StoryButton" name="StoryButton"/><buttonnode nodeName="FreePlayButton" name="FreePlayButton"/>
  <buttonnode nodeName="StickerBookButton" name="StickerBookButton"/><buttonnode nodeName="OptionsButton" name="OptionsButton"/>
  <buttonnode nodeName="CreditsButton" name="CreditsButton"/><buttonnode nodeName="QuitButton" name="QuitButton"/>
  <buttonnode nodeName="ProfileButton" name="ProfileButton"/>
</scenenode></scenelayout>
<scenelayout name="ProfileSelectLayout"><scenenode nodeName="ProfileSelect">
  <radiobuttonnode nodeName="Profile1" name="Profile1" group="P"/><radiobuttonnode nodeName="Profile2" name="Profile2" group="P"/>
  <radiobuttonnode nodeName="Profile3" name="Profile3" group="P"/>
  <buttonnode nodeName="PlayButton" name="PlayButton"/><buttonnode nodeName="NewGameButton" name="NewGameButton"/>
</scenenode></scenelayout>
<scenelayout name="AccountConfirmLayout"><scenenode nodeName="AccountConfirm">
  <buttonnode nodeName="YesButton" name="YesButton"/><buttonnode nodeName="NoButton" name="NoButton"/>
</scenenode></scenelayout>
<scenelayout name="CreditsLayout"><scenenode nodeName="Credits"><buttonnode nodeName="BackButton" name="BackButton"/></scenenode></scenelayout>
<scenelayout name="MyOptionsLayout"><scenenode nodeName="MyOptions">
  <radiobuttonnode nodeName="EnglishRadio" name="EnglishRadio" group="L"/><radiobuttonnode nodeName="SpanishRadio" name="SpanishRadio" group="L"/>
  <checkboxnode nodeName="SoundCheck" name="SoundCheck"/><buttonnode nodeName="DoneButton" name="DoneButton"/>
  <slidernode nodeName="MusicSlider" name="MusicSlider" width="320" initialValue="1"/>
  <radiobuttonnode nodeName="WindowedRadio" name="WindowedRadio" group="W"/>
  <radiobuttonnode nodeName="FullScreenRadio" name="FullScreenRadio" group="W"/>
</scenenode></scenelayout>
<countedimagelist name="AllStickersList" count="4"/>
<LevelProg name="MenagerieStory"><Cutscene cutsceneID="Intro"/><Cutscene cutsceneID="Second"/></LevelProg>
)";

class FrontScreensTest : public GameScreenTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(SetUpScreens(L"Family"));
        LoadManifest(kContent, L"front");

        RecordModeQueue(
            [this](std::unique_ptr<ApplicationMode>& mode)
            {
                std::string what = "?";
                if (auto* named = dynamic_cast<NamedMode*>(mode.get()))
                    what = named->what;
                else if (dynamic_cast<MainMenuMode*>(mode.get()))
                    what = "main menu";
                else if (dynamic_cast<MyAccountMode*>(mode.get()))
                    what = "profiles";
                else if (auto* confirm = dynamic_cast<AccountConfirmMode*>(mode.get()))
                    what = "confirm " + std::to_string(confirm->getProfile());
                else if (dynamic_cast<MyOptionsMode*>(mode.get()))
                    what = "options";
                else if (dynamic_cast<CreditsMode*>(mode.get()))
                    what = "credits";
                else if (auto* difficulty = dynamic_cast<DifficultySelectMode*>(mode.get()))
                {
                    what = difficulty->getGame() == GameModeType_Count ? "story difficulty" : "difficulty";
                    kept = std::move(mode);
                }
                return what;
            });
        const auto named = [](std::string what) { return std::make_unique<NamedMode>(what); };
        GetLevelManager().setStoryScreenConstructors(
            {[=] { return named("menu"); }, nullptr,
             [=](Label id) { return named(std::string("cutscene ") + id.c_str()); }, nullptr,
             [=] { return named("free play"); }, [=](bool inGame) { return named(inGame ? "quit in game" : "quit"); }});
    }

    // Clicks the named widget of the started mode's layout (its root is the layout's only child).
    static void Click(const char* screen, const char* widget)
    {
        const NodePathStep path[] = {screen, widget, NodePathTerminator()};
        SceneNode* node = RootDescendent(path);
        ASSERT_NE(node, nullptr) << widget;
        if (auto* radio = dynamic_cast<RadioButtonNode*>(node))
            radio->Click();
        else if (auto* check = dynamic_cast<CheckBoxNode*>(node))
            check->Click();
        else
            dynamic_cast<ButtonNode&>(*node).Click();
    }

    // The last difficulty screen queued, kept to be played on.
    std::unique_ptr<ApplicationMode> kept;
};

TEST_F(FrontScreensTest, EachButtonLeadsWhereItSaysAndLeavingClicksCountOnce)
{
    const auto make = [](std::string_view screen) -> std::unique_ptr<ApplicationMode>
    {
        if (screen == "TitleMode")
            return std::make_unique<TitleMode>();
        if (screen == "MainMenu")
            return std::make_unique<MainMenuMode>();
        if (screen == "Credits")
            return std::make_unique<CreditsMode>();
        if (screen == "AccountConfirm")
            return std::make_unique<AccountConfirmMode>(3);
        return std::make_unique<MyAccountMode>();
    };
    const struct
    {
        const char* screen;
        std::vector<const char*> clicks;
        std::vector<std::string> queued;
    } cases[] = {
        {"TitleMode", {"StartButton", "StartButton"}, {"unwind profiles"}},
        {"MainMenu", {"FreePlayButton", "FreePlayButton"}, {"unwind free play"}},
        {"MainMenu",
         {"OptionsButton", "CreditsButton", "QuitButton", "StickerBookButton", "ProfileButton", "StoryButton"},
         {"push options", "push credits", "push quit", "unwind profiles"}},
        {"Credits", {"BackButton", "BackButton"}, {"pop"}},
        {"AccountConfirm", {"NoButton", "YesButton"}, {"pop"}},
        {"ProfileSelect", {"Profile3", "NewGameButton"}, {"push confirm 3"}},
        // The story asks for its difficulty first, once however often it is pressed.
        {"MainMenu", {"StoryButton", "StoryButton"}, {"push story difficulty"}},
    };
    Profile()->WriteValue(L"AccountID", std::wstring(L"2"));
    Profile()->WriteValue(L"2_Progress", 1);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        std::unique_ptr<ApplicationMode> mode = make(c.screen);
        Start(*mode);
        if (std::string_view(c.screen) == "MainMenu")
            EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_GeneralUI);
        for (const char* widget : c.clicks)
            Click(c.screen, widget);
        EXPECT_EQ(TakeQueued(), c.queued);
    }
    EXPECT_FALSE(GetLevelManager().freePlay);
    // Its Play starts the story at the profile's own position.
    auto* difficulty = dynamic_cast<DifficultySelectMode*>(kept.get());
    ASSERT_NE(difficulty, nullptr);
    EXPECT_TRUE(difficulty->startGame());
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind cutscene Second"});
    kept.reset();
}

TEST_F(FrontScreensTest, TheStickersButtonOpensTheBookOnlyForAProfileWithStickers)
{
    StoryScreenConstructors screens = GetLevelManager().getStoryScreens();
    screens.stickerBook = [] { return std::make_unique<NamedMode>("sticker book"); };
    GetLevelManager().setStoryScreenConstructors(screens);
    const NodePathStep path[] = {"MainMenu", "StickerBookButton", NodePathTerminator()};
    Profile()->WriteValue(L"AccountID", L"1"); // stickers are a chosen profile's
    for (const bool any : {false, true})
    {
        SCOPED_TRACE(any);
        ASSERT_TRUE(GiveStickers(*Profile(), any ? std::vector<int>{3} : std::vector<int>{}, 4));
        MainMenuMode menu;
        Start(menu);
        EXPECT_EQ(RootDescendent<ButtonNode>(path)->IsEnabled(), any);
        Click("MainMenu", "StickerBookButton");
        EXPECT_EQ(TakeQueued(), any ? std::vector<std::string>{"push sticker book"} : std::vector<std::string>{});
    }
}

TEST_F(FrontScreensTest, ProfilesKeepTheirOwnProgressAndANewGameResetsOnlyTheChosenOne)
{
    // Profile 1 plays on to step 1; profile 2 starts over after having reached step 1 too.
    for (int profile : {1, 2})
    {
        ASSERT_TRUE(UseProfile(profile));
        Profile()->WriteValue(MakeProfileKey(*Profile(), L"_Progress").c_str(), 1);
    }
    MyAccountMode profiles;
    Start(profiles);
    EXPECT_EQ(profiles.getSelectedProfile(), 2) << "the current profile is checked";
    Click("ProfileSelect", "Profile1");
    Click("ProfileSelect", "PlayButton");
    Click("ProfileSelect", "PlayButton");
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind main menu"});
    EXPECT_EQ(CurrentProfile(), 1);

    AccountConfirmMode confirm(2);
    Start(confirm);
    Click("AccountConfirm", "YesButton");
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind main menu"});
    EXPECT_EQ(CurrentProfile(), 2);
    EXPECT_EQ(Profile()->ReadValue(L"2_Progress", -1), 0);
    EXPECT_EQ(Profile()->ReadValue(L"1_Progress", -1), 1);

    EXPECT_FALSE(UseProfile(0));
    EXPECT_FALSE(UseProfile(4));
    EXPECT_EQ(CurrentProfile(), 2);
}

TEST_F(FrontScreensTest, AChangeOfAccountBringsTheVoicesOfItsLanguage)
{
    AddManifest(L"AudioResources", "<sound name=\"Hello\" src=\"hello\"/>\n");
    AddManifest(L"AudioResources_SP", "<sound name=\"Hello\" src=\"hola\"/>\n");
    const auto loaded = [this]
    { return std::make_pair(manager->GetLoadCount(L"AudioResources"), manager->GetLoadCount(L"AudioResources_SP")); };
    // Before the start-up has loaded voices, an account change loads none.
    EXPECT_TRUE(LoadAccountLanguageVoices());
    EXPECT_EQ(loaded(), std::make_pair(0, 0));

    ASSERT_TRUE(manager->Load(L"AudioResources")->IsComplete());
    const std::wstring english = Profile()->GetName();
    ASSERT_NE(GetAccountManager()->NewAccount(L"Ana"), nullptr);
    ASSERT_TRUE(GetAccountManager()->SetCurrentAccount(L"Ana"));
    Profile()->WriteValue(L"EnglishLanguage", false);
    EXPECT_TRUE(LoadAccountLanguageVoices());
    EXPECT_EQ(loaded(), std::make_pair(0, 1));
    EXPECT_TRUE(LoadAccountLanguageVoices()) << "already those voices";
    EXPECT_EQ(loaded(), std::make_pair(0, 1));

    ASSERT_TRUE(GetAccountManager()->SetCurrentAccount(english));
    EXPECT_TRUE(LoadAccountLanguageVoices());
    EXPECT_EQ(loaded(), std::make_pair(1, 0));
}

TEST_F(FrontScreensTest, LanguageChoiceIsKeptAndOptionsShowTheSettingsApplyThemAtOnceAndCloseOnce)
{
    EXPECT_TRUE(SetProfileLanguage(true)) << "no change, nothing to load";
    // The test manager has no voice manifests on disk: the load fails, but the choice is kept.
    EXPECT_FALSE(SetProfileLanguage(false));
    EXPECT_FALSE(Profile()->ReadValue(L"EnglishLanguage", true));
    EXPECT_TRUE(SetProfileLanguage(false));

    MyOptionsMode options;
    Start(options);
    const NodePathStep english[] = {"MyOptions", "EnglishRadio", NodePathTerminator()};
    const NodePathStep spanish[] = {"MyOptions", "SpanishRadio", NodePathTerminator()};
    EXPECT_TRUE(RootDescendent<RadioButtonNode>(spanish)->IsChecked());
    EXPECT_FALSE(RootDescendent<RadioButtonNode>(english)->IsChecked());
    // No window here is windowed, so full screen shows chosen, and only it.
    const NodePathStep windowed[] = {"MyOptions", "WindowedRadio", NodePathTerminator()};
    const NodePathStep fullScreen[] = {"MyOptions", "FullScreenRadio", NodePathTerminator()};
    EXPECT_TRUE(RootDescendent<RadioButtonNode>(fullScreen)->IsChecked());
    EXPECT_FALSE(RootDescendent<RadioButtonNode>(windowed)->IsChecked());

    const AudioControlsPtr master = Audio::GetMasterControls();
    ASSERT_NE(master, nullptr);
    Click("MyOptions", "SoundCheck");
    EXPECT_TRUE(master->IsMuted());
    Click("MyOptions", "SoundCheck");
    EXPECT_FALSE(master->IsMuted());

    Click("MyOptions", "EnglishRadio");
    EXPECT_TRUE(Profile()->ReadValue(L"EnglishLanguage", false));
    Click("MyOptions", "DoneButton");
    Click("MyOptions", "DoneButton");
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"pop"});
}

// The music slider's level is what is heard: on the title, in the menus and in a game, after a game and
// after the profile is saved and read again as at a restart; at a new player's level the music is heard at
// 0.15, its place in the mix, and the slider scales it from there.
TEST_F(FrontScreensTest, TheMusicSliderLevelIsHeardThroughModeChangesAGameAndARestart)
{
    // The shed's track is an ambient bed, as in data/.
    manager->Unload(L"music");
    LoadManifest(R"(<sound name="Music_TitleTheme" src="p" type="music" loop="forever"/>
        <sound name="Music_GeneralUI" src="p" type="music" loop="forever"/>
        <sound name="Ambient_Outdoor_1" src="p" type="music" loop="forever"/>
        <sound name="Ambient_Indoor" src="p" type="ambient" loop="forever"/>)",
                 L"tracks");
    const AudioControlsPtr group = Audio::GetControls(Audio::GetMusicKind());
    ASSERT_NE(group, nullptr);
    // The loudest sample of the next steps' output.
    const auto heard = [this]
    {
        float peak = 0.0f;
        for (int step = 0; step < 8; ++step)
            for (const float sample : Frame())
                peak = std::max(peak, std::fabs(sample));
        return peak;
    };
    // The track played plainly, at its own volume under a group at 1: the gain every level is told from.
    const float start = group->GetVolume();
    group->SetVolume(1.0f);
    SoundChannelPtr plain;
    Audio::Play(Sound("Music_GeneralUI"), &plain, Audio::sPlayState());
    heard();
    const float reference = heard();
    ASSERT_GT(reference, 0.0f);
    plain->GetControls()->Stop();
    plain.reset();
    heard();
    ASSERT_LT(heard(), reference * 0.01f);
    group->SetVolume(start);

    const NodePathStep sliderPath[] = {"MyOptions", "MusicSlider", NodePathTerminator()};
    const wchar_t* const kStored = L"Strata::Audio::MusicControls::Volume";
    // The audio library takes whole percents.
    constexpr float kNear = 0.01f;
    const auto gain = [&](MusicMode mode, const char* game)
    {
        GetAudioManager()->setMusicMode(mode, Label(game));
        heard();
        return heard() / reference;
    };
    // What the options show, opened afresh.
    const auto shown = [&]
    {
        MyOptionsMode options;
        Start(options);
        const float value = RootDescendent<SliderNode>(sliderPath)->GetValue();
        options.Destroy();
        return value;
    };
    // A new player's slider stands where every group starts, and the music is where the mix put it.
    EXPECT_FLOAT_EQ(shown(), 0.5f);
    EXPECT_NEAR(gain(MusicMode_TitleTheme, nullptr), 0.15f, kNear);
    // An ambient bed where its own group has always had it.
    EXPECT_NEAR(gain(MusicMode_InGame, "ToolShed"), 0.5f, kNear);
    GetAudioManager()->setMusicMode(MusicMode_None, Label());
    heard();

    for (const float level : {1.0f, 0.5f, 0.0f, 0.9f})
    {
        SCOPED_TRACE(level);
        {
            MyOptionsMode options;
            Start(options);
            auto* slider = RootDescendent<SliderNode>(sliderPath);
            ASSERT_NE(slider, nullptr);
            slider->SetValue(level);
            options.ReceiveMessage(ObjectMessage(slider->GetID(), Label("SliderReleased")));
            Click("MyOptions", "DoneButton");
            EXPECT_EQ(TakeQueued(), std::vector<std::string>{"pop"});
            options.Destroy();
        }
        EXPECT_FLOAT_EQ(Profile()->ReadValue(kStored, -1.0f), level);

        // The title, a game and the menus after it.
        const float title = gain(MusicMode_TitleTheme, nullptr);
        const float inGame = gain(MusicMode_InGame, "PaintIt");
        const float menus = gain(MusicMode_GeneralUI, nullptr);
        const float bed = gain(MusicMode_InGame, "ToolShed");
        EXPECT_FLOAT_EQ(group->GetVolume(), level);
        EXPECT_FLOAT_EQ(shown(), level);
        for (const float g : {title, inGame, menus})
            EXPECT_NEAR(g, 0.3f * level, kNear);
        EXPECT_NEAR(bed, level, kNear);

        // A restart: saved on the way out, a fresh group, read back with the profile.
        Audio::SaveAccountSettings();
        group->SetVolume(start);
        GetAudioManager()->setMusicMode(MusicMode_None, Label());
        heard();
        Audio::LoadAccountSettings();
        EXPECT_FLOAT_EQ(shown(), level);
        const float titleAfter = gain(MusicMode_TitleTheme, nullptr);
        const float inGameAfter = gain(MusicMode_InGame, "PaintIt");
        EXPECT_NEAR(titleAfter, 0.3f * level, kNear);
        EXPECT_NEAR(inGameAfter, 0.3f * level, kNear);
        std::printf(
            "music slider %.1f: heard at %.4f on the title, %.4f in a game (%.4f in a game with an ambient bed); "
            "after a restart %.4f and %.4f\n",
            level, title, inGame, bed, titleAfter, inGameAfter);
        GetAudioManager()->setMusicMode(MusicMode_None, Label());
        heard();
    }

    // A profile saved before keeps its stored level, even the 0.15 that music changes used to leave.
    Profile()->WriteValue(kStored, 0.15f);
    Audio::LoadAccountSettings();
    EXPECT_FLOAT_EQ(shown(), 0.15f);
    EXPECT_NEAR(gain(MusicMode_GeneralUI, nullptr), 0.3f * 0.15f, kNear);
    EXPECT_FLOAT_EQ(shown(), 0.15f);
}

} // namespace
