#include "game/screens/CutsceneMode.h"
#include "game/LevelProgression.h"

#include "framework/MainLoop.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/StrataExtensions.h"

#include "../GameAudioTestSupport.h"
#include "../GameServicesTestSupport.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

using namespace GameTesting;

namespace
{

// Stands in for a game: it only says what it is.
struct NamedMode : ApplicationMode
{
    explicit NamedMode(std::string text) : what(std::move(text)) {}
    std::string what;
};

// Two pictures for "Intro", the first with a three-second voice line and the second with none; "Outro"
// has one picture and no voice at all.
const char* const kContent = R"(
<scenelayout name="CutsceneLayout"><scenenode nodeName="CutsceneMode">
  <scenenode nodeName="Pictures"/><buttonnode nodeName="SkipButton" name="SkipButton"/>
</scenenode></scenelayout>
<scenelayout name="Cutscene_Intro"><scenenode nodeName="Intro">
  <scenenode nodeName="One"/><scenenode nodeName="Two"/>
</scenenode></scenelayout>
<scenelayout name="Cutscene_Outro"><scenenode nodeName="Outro"><scenenode nodeName="Only"/></scenenode></scenelayout>
<sound name="Cutscene_Intro_1" src="long"/>
<countedimagelist name="Button_SkipCutscene_EN" count="5"/><countedimagelist name="Button_SkipCutscene_SP" count="5"/>
<LevelProg name="Story"><Cutscene cutsceneID="Intro"/><Level gameType="PaintIt"/><Cutscene cutsceneID="Outro"/>
  <Level gameType="ToolShed"/></LevelProg>
)";

// Audio on the loopback device, a profile, and the level manager's mode queue recorded: one line per
// queued change, with the last cut-scene queued kept to be played.
class CutsceneTest : public GameAudioTest
{
protected:
    void SetUp() override
    {
        GameAudioTest::SetUp();
        SetupStrataExtensions();
        manager->AddResourceFactory(L"countedimagelist", new CountedImageListFactory());
        manager->AddResourceFactory(L"LevelProg", new LevelProgressionResourceFactory());
        (new FileSystem())->AddFileSystemPartition(FileSystemPartition_User, new MemoryFileSystemPartition(L"user"));
        ASSERT_NE(GetAccountManager()->NewAccount(L"Second"), nullptr);
        ASSERT_TRUE(GetAccountManager()->SetCurrentAccount(L"Second"));
        Profile()->WriteValue(L"AccountID", std::wstring(L"2"));
        AddFile(L"long.wav", MakeWav(AudioLibrary::kOutputRate * 3, 600.0f));
        LoadManifest(kContent, L"cutscenes");

        const auto record = [this](const char* how)
        {
            return [this, how](std::unique_ptr<ApplicationMode> mode)
            {
                if (auto* cutscene = dynamic_cast<CutsceneMode*>(mode.get()))
                {
                    queued.push_back(std::string(how) + " cutscene " + cutscene->getCutsceneID().c_str());
                    next.reset(static_cast<CutsceneMode*>(mode.release()));
                }
                else
                    queued.push_back(std::string(how) + " " + dynamic_cast<NamedMode&>(*mode).what);
            };
        };
        LevelManager& levels = GetLevelManager();
        levels.setModeQueue({record("unwind"), record("push"), [this] { queued.push_back("pop"); }});
        StoryScreenConstructors screens;
        screens.cutscene = [](Label id) { return std::make_unique<CutsceneMode>(id); };
        levels.setStoryScreenConstructors(screens);
        for (const GameModeType type : {GameModeType_PaintIt, GameModeType_ToolShed})
            levels.setGameModeConstructor(type, [type](Label)
                                          { return std::make_unique<NamedMode>("game " + std::to_string(type)); });
        levels.setLevelProgression(Label("Story"));
        levels.resetLevelProgress();
        levels.freePlay = false;
    }

    void TearDown() override
    {
        if (next)
            next->Destroy();
        next.reset();
        LevelManager& levels = GetLevelManager();
        levels.setModeQueue({});
        levels.setStoryScreenConstructors({});
        for (const GameModeType type : {GameModeType_PaintIt, GameModeType_ToolShed})
            levels.setGameModeConstructor(type, nullptr);
        levels.setLevelProgression(Label());
        levels.freePlay = true;
        GameAudioTest::TearDown();
    }

    // The cut-scene queued last, made current, set up and entered as the main loop does.
    CutsceneMode& StartNext()
    {
        if (current)
            current->Destroy();
        current = std::move(next);
        MainLoop::WithinContext(current.get(), context);
        current->Setup();
        current->Enter();
        return *current;
    }

    // One 20 ms step: voice queue, mode, audio output.
    void Step(ApplicationMode& mode)
    {
        GetAudioManager()->updateVocalAudioQueues();
        mode.Update(0.02f);
        Frame(2 * kStepFrames);
    }

    ButtonNode* Skip()
    {
        const NodePathStep path[] = {"CutsceneMode", "SkipButton", NodePathTerminator()};
        return RootDescendent<ButtonNode>(path);
    }

    static Account* Profile() { return GetAccountManager()->GetCurrentAccount(); }
    std::vector<std::string> TakeQueued() { return std::exchange(queued, {}); }

    MainLoop::AutoContext context;
    std::vector<std::string> queued;
    std::unique_ptr<CutsceneMode> next;
    std::unique_ptr<CutsceneMode> current;
};

TEST_F(CutsceneTest, PicturesFollowTheVoiceAndTheStoryMovesOnOnceHoweverTheSceneEnds)
{
    const struct
    {
        std::vector<int> skipAt; // steps of skip clicks
        int endsAt;              // the step in which the next step is queued
        int lastPicture;         // the picture on show then
    } cases[] = {
        {{}, 256, 1},          // three seconds of voice, then the least time of the silent picture
        {{10}, 10, 0},         // skipped during the voice
        {{10, 11, 80}, 10, 0}, // clicked again while the next screen is on its way
        {{256}, 256, 1},       // skipped in the step the scene ends by itself
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        GetLevelManager().resetLevelProgress();
        GetLevelManager().beginNextLevelProgressionMode();
        EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind cutscene Intro"});
        // A game's track still playing from before.
        GetAudioManager()->setMusicMode(MusicMode_InGame, Label("PaintIt"));
        CutsceneMode& scene = StartNext();
        EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_GeneralUI);
        ASSERT_EQ(scene.getPictureCount(), 2);

        int endedAt = 0;
        int pictureAtEnd = -1;
        std::vector<int> shown;
        for (int step = 1; step <= 320; ++step)
        {
            if (std::find(c.skipAt.begin(), c.skipAt.end(), step) != c.skipAt.end())
                Skip()->Click();
            if (step > 1 && (shown.empty() || shown.back() != scene.getShownPicture()))
                shown.push_back(scene.getShownPicture());
            if (endedAt == 0 && !queued.empty())
            {
                endedAt = step - 1;
                pictureAtEnd = scene.getShownPicture();
            }
            if (step == 140 && endedAt == 0)
            {
                EXPECT_TRUE(GetAudioManager()->getIsPlayingOrUpcoming(Sound("Cutscene_Intro_1")));
            }
            Step(scene);
        }
        EXPECT_NEAR(endedAt, c.endsAt, 2);
        EXPECT_EQ(pictureAtEnd, c.lastPicture);
        EXPECT_EQ(shown.front(), 0);
        EXPECT_TRUE(scene.isClosing());
        EXPECT_FALSE(GetAudioManager()->getIsPlayingOrUpcoming(Sound("Cutscene_Intro_1")));
        EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind game 3"});
        EXPECT_EQ(GetLevelManager().getProgressIndex(), 2);
        EXPECT_EQ(Profile()->ReadValue(L"2_Progress", -1), 1);
    }
}

TEST_F(CutsceneTest, SkipButtonSpeaksTheProfilesLanguageAndAMissingSceneStillMovesTheStoryOn)
{
    const struct
    {
        int english; // -1: no value stored
        const char* images;
    } cases[] = {{-1, "Button_SkipCutscene_EN"}, {0, "Button_SkipCutscene_SP"}, {1, "Button_SkipCutscene_EN"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        Profile()->DeleteValue(L"EnglishLanguage");
        if (c.english >= 0)
            Profile()->WriteValue(L"EnglishLanguage", c.english == 1);
        next = std::make_unique<CutsceneMode>(Label("Intro"));
        StartNext();
        ASSERT_NE(Skip(), nullptr);
        EXPECT_EQ(Skip()->GetImages(), AutoResource<IImageList>(c.images).Get());
        EXPECT_EQ(Skip()->GetStripWidth(), 0.0f);
    }

    // A cut-scene the data does not hold: logged, no pictures, and the story is not stuck on it.
    testing::internal::CaptureStderr();
    next = std::make_unique<CutsceneMode>(Label("Nowhere"));
    CutsceneMode& missing = StartNext();
    EXPECT_EQ(missing.getPictureCount(), 0);
    for (int step = 0; step < 5; ++step)
        Step(missing);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Cutscene_Nowhere"), std::string::npos);
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind cutscene Intro"});
}

TEST_F(CutsceneTest, TheStoryPlaysCutScenesBetweenStandInGames)
{
    GetLevelManager().beginNextLevelProgressionMode();
    StartNext();
    Skip()->Click();
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"unwind cutscene Intro", "unwind game 3"}));
    // The stand-in game's end moves the story on.
    StoryStepGuard gameEnd;
    EXPECT_TRUE(gameEnd.beginNextStep());
    EXPECT_FALSE(gameEnd.beginNextStep());
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind cutscene Outro"});
    CutsceneMode& outro = StartNext();
    EXPECT_EQ(outro.getPictureCount(), 1);
    for (int step = 0; step < 120; ++step)
        Step(outro);
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind game 0"});
    EXPECT_EQ(Profile()->ReadValue(L"2_Progress", -1), 3);
}

// The shipped story: every game once, opened and closed by a cut-scene, and every cut-scene with its
// layout and a voice line per picture in both languages.
TEST(MenagerieStoryContentTest, TheStoryHoldsEveryGameAndEachCutSceneHasPicturesAndVoices)
{
    const std::filesystem::path data(MENAGERIE_DATA_DIR);
    const auto text = [&](const char* name)
    {
        std::ifstream in(data / name);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    };
    const std::string story = text("LevelProgression.xml");
    ASSERT_NE(story.find("<LevelProg name=\"MenagerieStory\">"), std::string::npos);
    std::vector<std::pair<std::string, std::string>> steps; // element, name
    for (size_t at = story.find("<Level"); at != std::string::npos; at = story.find('<', at + 1))
    {
        const size_t quote = story.find('"', at);
        const std::string element = story.substr(at + 1, story.find(' ', at) - at - 1);
        if (element == "Level" || element == "Cutscene")
            steps.emplace_back(element, story.substr(quote + 1, story.find('"', quote + 1) - quote - 1));
    }
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front().first, "Cutscene");
    EXPECT_EQ(steps.back().first, "Cutscene");

    std::set<std::string> games;
    const std::string scenes = text("CutsceneMode.xml");
    const std::string english = text("AudioResources.xml");
    const std::string spanish = text("AudioResources_SP.xml");
    for (const auto& [element, name] : steps)
    {
        SCOPED_TRACE(name);
        if (element == "Level")
        {
            EXPECT_TRUE(std::any_of(LevelManager::kGameTypeNames.begin(), LevelManager::kGameTypeNames.end(),
                                    [&](const auto& known) { return name == known.name; }));
            EXPECT_TRUE(games.insert(name).second);
            continue;
        }
        EXPECT_NE(scenes.find("<scenelayout name=\"Cutscene_" + name + "\">"), std::string::npos);
        int pictures = 0;
        for (int n = 1;; ++n)
        {
            const std::string number = name + "_" + std::to_string(n);
            if (scenes.find("\"CutscenePicture_" + number + "\"") == std::string::npos)
                break;
            ++pictures;
            EXPECT_TRUE(std::filesystem::exists(data / "cutscenes" / ("CutscenePicture_" + number + ".png")));
            EXPECT_NE(english.find("name=\"Cutscene_" + number + "\""), std::string::npos);
            EXPECT_NE(spanish.find("name=\"Cutscene_" + number + "\""), std::string::npos);
            EXPECT_TRUE(std::filesystem::exists(data / "voices" / "en" / ("Cutscene_" + number + "_EN.ogg")));
            EXPECT_TRUE(std::filesystem::exists(data / "voices" / "es" / ("Cutscene_" + number + "_SP.ogg")));
        }
        EXPECT_GT(pictures, 0);
    }
    EXPECT_EQ(games.size(), static_cast<size_t>(GameModeType_Count));
}

} // namespace
