#include "game/screens/CutsceneMode.h"
#include "game/LevelProgression.h"

#include "framework/MainLoop.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
#include "scene/StrataExtensions.h"

#include "../GameScreenTestSupport.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

using namespace GameTesting;

namespace
{

// "Intro": a three-second voice line over its first picture, none over its second. "Nowhere" has no
// layout at all.
const char* const kContent = R"(
<scenelayout name="CutsceneLayout"><scenenode nodeName="CutsceneMode">
  <scenenode nodeName="Pictures"/><buttonnode nodeName="SkipButton" name="SkipButton"/>
</scenenode></scenelayout>
<scenelayout name="Cutscene_Intro"><scenenode nodeName="Intro"><scenenode/><scenenode/></scenenode></scenelayout>
<sound name="Cutscene_Intro_1" src="long"/>
<countedimagelist name="Button_SkipCutscene_EN" count="5"/><countedimagelist name="Button_SkipCutscene_SP" count="5"/>
<LevelProg name="Story"><Cutscene cutsceneID="Intro"/><Level gameType="PaintIt"/><Cutscene cutsceneID="Nowhere"/>
  <Level gameType="ToolShed"/></LevelProg>
)";

// Audio on the loopback device, a profile in the story, and the level manager's mode queue recorded
// (one line per queued change) with the last cut-scene queued kept, to be played next.
class CutsceneTest : public GameScreenTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(SetUpScreens(L"Second", L"2"));
        AddFile(L"long.wav", MakeWav(AudioLibrary::kOutputRate * 3, 600.0f));
        LoadManifest(kContent, L"cutscenes");

        RecordModeQueue(
            [this](std::unique_ptr<ApplicationMode>& mode)
            {
                if (auto* cutscene = dynamic_cast<CutsceneMode*>(mode.get()))
                {
                    std::string what = std::string("cutscene ") + cutscene->getCutsceneID().c_str();
                    next.reset(static_cast<CutsceneMode*>(mode.release()));
                    return what;
                }
                return dynamic_cast<NamedMode&>(*mode).what;
            });
        LevelManager& levels = GetLevelManager();
        StoryScreenConstructors screens;
        screens.cutscene = [](Label id) { return std::make_unique<CutsceneMode>(id); };
        levels.setStoryScreenConstructors(screens);
        for (const auto& [type, name] : kGames)
            levels.setGameModeConstructor(type, [name](Label) { return std::make_unique<NamedMode>(name); });
        levels.setLevelProgression(Label("Story"));
        levels.freePlay = false;
    }

    void TearDown() override
    {
        for (auto* mode : {next.get(), current.get()})
            if (mode != nullptr)
                mode->Destroy();
        for (const auto& game : kGames)
            GetLevelManager().setGameModeConstructor(game.first, nullptr);
        GameScreenTest::TearDown();
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
    void Step()
    {
        GetAudioManager()->updateVocalAudioQueues();
        current->Update(0.02f);
        Frame(2 * kStepFrames);
    }

    static ButtonNode* Skip()
    {
        const NodePathStep path[] = {"CutsceneMode", "SkipButton", NodePathTerminator()};
        return RootDescendent<ButtonNode>(path);
    }

    static constexpr std::pair<GameModeType, const char*> kGames[] = {{GameModeType_PaintIt, "paint"},
                                                                      {GameModeType_ToolShed, "tool shed"}};
    std::unique_ptr<CutsceneMode> next;
    std::unique_ptr<CutsceneMode> current;
};

TEST_F(CutsceneTest, PicturesFollowTheVoiceAndTheStoryMovesOnOnceHoweverTheSceneEnds)
{
    const struct
    {
        int english;             // -1: no value stored
        std::vector<int> skipAt; // steps of skip clicks; -n: left and entered again at step n
        int endsAt;              // the step in which the next step is queued
        int lastPicture;         // the picture on show then
    } cases[] = {
        {-1, {}, 256, 1},         // three seconds of voice, then the least time of the silent picture
        {0, {10}, 10, 0},         // skipped during the voice
        {1, {10, 11, 80}, 10, 0}, // clicked again while the next screen is on its way
        {0, {256}, 256, 1},       // skipped in the step the scene ends by itself
        {1, {-20}, 256, 1},       // covered by a pop-up and uncovered again: no second run of pictures
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        Profile()->DeleteValue(L"EnglishLanguage");
        if (c.english >= 0)
            Profile()->WriteValue(L"EnglishLanguage", c.english == 1);
        GetLevelManager().resetLevelProgress();
        GetLevelManager().beginNextLevelProgressionMode();
        EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind cutscene Intro"});
        GetAudioManager()->setMusicMode(MusicMode_InGame, Label("PaintIt")); // a game's track still playing
        CutsceneMode& scene = StartNext();
        EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_GeneralUI);
        ASSERT_EQ(scene.getPictureCount(), 2);
        ASSERT_NE(Skip(), nullptr);
        EXPECT_EQ(Skip()->GetImages(),
                  AutoResource<IImageList>(c.english == 0 ? "Button_SkipCutscene_SP" : "Button_SkipCutscene_EN").Get());
        EXPECT_EQ(Skip()->GetStripWidth(), 0.0f);

        int endedAt = 0;
        int pictureAtEnd = -1;
        for (int step = 1; step <= 320; ++step)
        {
            if (std::find(c.skipAt.begin(), c.skipAt.end(), step) != c.skipAt.end())
                Skip()->Click();
            if (std::find(c.skipAt.begin(), c.skipAt.end(), -step) != c.skipAt.end())
            {
                scene.Exit();
                scene.Enter();
            }
            if (endedAt == 0 && !queued.empty())
                std::tie(endedAt, pictureAtEnd) = std::pair(step - 1, scene.getShownPicture());
            if (step == 140 && endedAt == 0)
            {
                EXPECT_EQ(scene.getShownPicture(), 0);
                EXPECT_TRUE(GetAudioManager()->getIsPlayingOrUpcoming(Sound("Cutscene_Intro_1")));
            }
            Step();
        }
        EXPECT_NEAR(endedAt, c.endsAt, 2);
        EXPECT_EQ(pictureAtEnd, c.lastPicture);
        EXPECT_FALSE(GetAudioManager()->getIsPlayingOrUpcoming(Sound("Cutscene_Intro_1")));
        EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind paint"});
        EXPECT_EQ(Profile()->ReadValue(L"2_Progress", -1), 1);
    }
}

TEST_F(CutsceneTest, TheStoryGoesThroughStandInGamesAndPastACutSceneItCannotShow)
{
    GetLevelManager().resetLevelProgress();
    GetLevelManager().beginNextLevelProgressionMode();
    StartNext();
    Skip()->Click();
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"unwind cutscene Intro", "unwind paint"}));
    StoryStepGuard gameEnd; // the stand-in game's end
    gameEnd.beginNextStep();
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind cutscene Nowhere"});

    testing::internal::CaptureStderr();
    EXPECT_EQ(StartNext().getPictureCount(), 0);
    for (int step = 0; step < 5; ++step)
        Step();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("\"Cutscene_Nowhere\""), std::string::npos);
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"unwind tool shed"});
    EXPECT_EQ(Profile()->ReadValue(L"2_Progress", -1), 3);
}

// The shipped story: every game once, opened and closed by a cut-scene, and every cut-scene with its
// layout and, per picture, the image and a voice line in both languages.
TEST(MenagerieStoryContentTest, TheStoryHoldsEveryGameAndEachCutSceneHasPicturesAndVoices)
{
    const std::filesystem::path data(MENAGERIE_DATA_DIR);
    const auto text = [&](const char* name)
    {
        std::stringstream all;
        all << std::ifstream(data / name).rdbuf();
        return all.str();
    };
    const auto count = [](const std::string& where, const std::string& what)
    {
        int found = 0;
        for (size_t at = where.find(what); at != std::string::npos; at = where.find(what, at + 1))
            ++found;
        return found;
    };
    const std::string story = text("LevelProgression.xml");
    const std::string scenes = text("CutsceneMode.xml");
    const std::string voices = text("AudioResources.xml") + text("AudioResources_SP.xml");
    ASSERT_EQ(count(story, "<LevelProg name=\"MenagerieStory\">"), 1);

    std::string kinds; // one letter a step: L(evel) or C(ut-scene)
    std::set<std::string> games;
    for (size_t at = story.find("=\""); at != std::string::npos; at = story.find("=\"", at + 1))
    {
        const size_t open = story.rfind('<', at);
        const std::string element = story.substr(open + 1, story.find(' ', open) - open - 1);
        const std::string name = story.substr(at + 2, story.find('"', at + 2) - at - 2);
        if (element == "Level")
        {
            kinds += 'L';
            EXPECT_TRUE(std::any_of(LevelManager::kGameTypeNames.begin(), LevelManager::kGameTypeNames.end(),
                                    [&](const auto& known) { return name == known.name; }));
            EXPECT_TRUE(games.insert(name).second) << name;
        }
        if (element != "Cutscene")
            continue;
        kinds += 'C';
        EXPECT_EQ(count(scenes, "<scenelayout name=\"Cutscene_" + name + "\">"), 1) << name;
        const int pictures = count(scenes, "<image name=\"CutscenePicture_" + name + "_");
        EXPECT_GT(pictures, 0) << name;
        for (int n = 1; n <= pictures; ++n)
        {
            const std::string number = name + "_" + std::to_string(n);
            EXPECT_TRUE(std::filesystem::exists(data / "cutscenes" / ("CutscenePicture_" + number + ".png")));
            EXPECT_EQ(count(voices, "name=\"Cutscene_" + number + "\""), 2) << number;
            EXPECT_TRUE(std::filesystem::exists(data / "voices" / "es" / ("Cutscene_" + number + "_SP.ogg")));
        }
    }
    ASSERT_GE(kinds.size(), 2u);
    EXPECT_EQ(kinds.front(), 'C');
    EXPECT_EQ(kinds.back(), 'C');
    EXPECT_EQ(games.size(), static_cast<size_t>(GameModeType_Count));
}

} // namespace
