#include "game/screens/PlayFlowScreens.h"
#include "game/LevelProgression.h"
#include "game/StickerManager.h"
#include "game/YardcrewGameMode.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/ScreenSupport.h"
#include "game/screens/StickerUnlockMode.h"

#include "framework/Application.h"
#include "framework/MainLoop.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
#include "scene/RadioButtonNode.h"
#include "scene/SpriteNodes.h"
#include "scene/StrataExtensions.h"

#include "../GameScreenTestSupport.h"

#include <string>
#include <vector>

using namespace GameTesting;

namespace
{

// The least mini-game: it keeps the level it was made with.
class StandInGame : public YardcrewGameMode
{
public:
    explicit StandInGame(Label level) : levelID(level) {}
    void refreshMode() override {}
    void setupCursor() override {}
    Label levelID;
};

// The screens' layouts with the nodes the code looks for, and a story that opens with a cut-scene.
const char* const kContent = R"(
<countedimagelist name="StickerBigList" count="4"/><countedimagelist name="AllStickersList" count="8"/>
<countedimagelist name="Button_Play_EN" count="5"/><countedimagelist name="Button_Play_SP" count="5"/>
<scenelayout name="StickerUnlockLayout"><scenenode nodeName="StickerUnlock">
  <staticspritenode nodeName="NewSticker"/><staticspritenode nodeName="StickerImage"/>
  <scenenode nodeName="BookComplete" visible="false"><staticspritenode nodeName="BookCompleteText"/></scenenode>
  <buttonnode nodeName="OkButton" name="OkButton"/>
</scenenode></scenelayout>
<scenelayout name="FreePlaySelectLayout"><scenenode nodeName="FreePlaySelect">
  <staticspritenode nodeName="Title"/>
  <buttonnode nodeName="PaintIt" name="PaintIt"/><buttonnode nodeName="ToolShed" name="ToolShed"/>
  <buttonnode nodeName="BackButton" name="BackButton"/>
</scenenode></scenelayout>
<scenelayout name="DifficultySelectLayout"><scenenode nodeName="DifficultySelect">
  <radiobuttonnode nodeName="Easy" name="Easy" group="Difficulty"/>
  <radiobuttonnode nodeName="Medium" name="Medium" group="Difficulty"/>
  <radiobuttonnode nodeName="Hard" name="Hard" group="Difficulty"/>
  <buttonnode nodeName="PlayButton" name="PlayButton"/><buttonnode nodeName="BackButton" name="BackButton"/>
</scenenode></scenelayout>
<scenelayout name="QuitConfirmLayout"><scenenode nodeName="QuitConfirm">
  <staticspritenode nodeName="InGameQuestion"/><staticspritenode nodeName="LeaveQuestion"/>
  <buttonnode nodeName="YesButton" name="YesButton"/><buttonnode nodeName="NoButton" name="NoButton"/>
</scenenode></scenelayout>
<LevelProg name="Story"><Cutscene cutsceneID="Intro"/><Level gameType="PaintIt"/></LevelProg>
)";

// The screens recorded, a profile, a seeded random stream, and only the paint game built.
class PlayFlowTest : public GameScreenTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(SetUpScreens(L"Second", L"2", 5));
        LoadManifest(kContent, L"screens");

        RecordModeQueue(
            [](std::unique_ptr<ApplicationMode>& mode)
            {
                std::string what;
                if (auto* named = dynamic_cast<NamedMode*>(mode.get()))
                    what = named->what;
                else if (auto* difficulty = dynamic_cast<DifficultySelectMode*>(mode.get()))
                    what = "difficulty " + std::to_string(difficulty->getGame());
                return what;
            });
        LevelManager& levels = GetLevelManager();
        const auto named = [](std::string what) { return std::make_unique<NamedMode>(what); };
        levels.setStoryScreenConstructors({[=] { return named("main menu"); }, nullptr,
                                           [=](Label id) { return named(std::string("cutscene ") + id.c_str()); },
                                           nullptr, [=] { return named("free play"); }, nullptr});
        levels.setGameModeConstructor(
            GameModeType_PaintIt,
            [=](Label level) { return named(std::string("paint ") + (level.IsNull() ? "-" : level.c_str())); });
        for (int difficulty = 0; difficulty < GameModeDifficulty_Count; ++difficulty)
            levels.addLevelForGameModeType(GameModeType_PaintIt, Label(DifficultySelectMode::kRadioNames[difficulty]),
                                           static_cast<GameModeDifficulty>(difficulty));
        levels.difficulty = GameModeDifficulty_Medium;
    }

    void TearDown() override
    {
        LevelManager& levels = GetLevelManager();
        levels.setGameModeConstructor(GameModeType_PaintIt, nullptr);
        levels.clearLevels();
        levels.difficulty = GameModeDifficulty_Medium;
        GameScreenTest::TearDown();
    }

    void StartStory()
    {
        LevelManager& levels = GetLevelManager();
        levels.setLevelProgression(Label("Story"));
        levels.resetLevelProgress();
        levels.freePlay = false;
    }

    template <class T = SceneNode>
    static T* Node(const char* screen, const char* name)
    {
        const NodePathStep path[] = {screen, name, NodePathTerminator()};
        return dynamic_cast<T*>(RootDescendent(path));
    }

    // What a click on the named button sends, even to a disabled one.
    static void Click(ApplicationMode& mode, const char* screen, const char* name, const char* message = "ButtonClick")
    {
        SceneNode* node = Node(screen, name);
        ASSERT_NE(node, nullptr) << name;
        mode.ReceiveMessage(ObjectMessage(node->GetID(), Label(message)));
    }
};

TEST_F(PlayFlowTest, StickerRewardShowsTheStickerSetsTheMusicAndMovesOnOnce)
{
    const struct
    {
        int sticker;
        bool story;
        int clickAt; // step of a double click on OK; 0: the timer alone; -1: in the step the timer ends
        const char* next;
    } cases[] = {
        {2, false, 0, "unwind free play"},      {2, true, 0, "unwind cutscene Intro"},
        {-1, false, 30, "unwind free play"},    {0, true, 30, "unwind cutscene Intro"},
        {3, true, -1, "unwind cutscene Intro"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        if (c.story)
            StartStory();
        else
            GetLevelManager().freePlay = true;
        const int32_t progress = GetLevelManager().getProgressIndex();
        GetAudioManager()->setMusicMode(MusicMode_InGame, Label("PaintIt"));
        StickerUnlockMode reward(c.sticker);
        EXPECT_FALSE(reward.IsOpaque());
        Start(reward);
        EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_GeneralUI);
        auto* sticker = Node<StaticSpriteNode>("StickerUnlock", "StickerImage");
        ASSERT_NE(sticker, nullptr);
        EXPECT_EQ(sticker->LocalIsVisible(), c.sticker >= 0);
        EXPECT_EQ(Node("StickerUnlock", "BookComplete")->LocalIsVisible(), c.sticker < 0);

        const int timerSteps = static_cast<int>(StickerUnlockMode::kShowSeconds / 0.02f);
        for (int step = 1; step <= timerSteps + 20; ++step)
        {
            if (step == c.clickAt || (c.clickAt < 0 && step == timerSteps + 1))
            {
                Click(reward, "StickerUnlock", "OkButton");
                Click(reward, "StickerUnlock", "OkButton");
            }
            Step(reward);
            if (c.clickAt == 0 && step == timerSteps - 5)
                EXPECT_TRUE(queued.empty()) << "moved on before its time";
        }
        EXPECT_EQ(TakeQueued(), std::vector<std::string>{c.next});
        EXPECT_TRUE(reward.hasMovedOn());
        EXPECT_EQ(GetLevelManager().getProgressIndex(), progress + (c.story ? 1 : 0));
        reward.Destroy();
    }
}

TEST_F(PlayFlowTest, FreePlayChooserSetsFreePlayAndOpensTheDifficultyOnlyForBuiltGames)
{
    const struct
    {
        std::vector<const char*> clicks;
        std::vector<std::string> queued;
    } cases[] = {
        {{"PaintIt", "PaintIt"}, {"push difficulty 3"}},   // a double click stacks one screen
        {{"ToolShed", "ToolShed"}, {}},                    // no mode registered: nothing opens
        {{"ToolShed", "PaintIt"}, {"push difficulty 3"}},  // and the child can pick another
        {{"BackButton", "PaintIt"}, {"unwind main menu"}}, // leaving ends the screen's say
        {{"Title"}, {}},                                   // not a button at all
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        GetLevelManager().freePlay = false;
        FreePlaySelectMode chooser;
        Start(chooser);
        EXPECT_TRUE(GetLevelManager().freePlay);
        EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_GeneralUI);
        EXPECT_TRUE(Node<ButtonNode>("FreePlaySelect", "PaintIt")->IsEnabled());
        EXPECT_FALSE(Node<ButtonNode>("FreePlaySelect", "ToolShed")->IsEnabled());
        for (const char* click : c.clicks)
            Click(chooser, "FreePlaySelect", click);
        EXPECT_EQ(TakeQueued(), c.queued);
        chooser.Destroy();
    }
    // A button is named after its game's label, whatever the story calls the game.
    const struct
    {
        const char* button;
        GameModeType game;
    } buttons[] = {
        {"HaulersDelivery", GameModeType_HaulersDelivery},
        {"haulersdelivery", GameModeType_HaulersDelivery},
        {"PaintIt", GameModeType_PaintIt},
        {"HaulerDelivery", GameModeType_Count},
        {"BackButton", GameModeType_Count},
        {"", GameModeType_Count},
    };
    for (const auto& b : buttons)
        EXPECT_EQ(FreePlaySelectMode::gameTypeOfButton(Label(b.button)), b.game) << b.button;
}

TEST_F(PlayFlowTest, DifficultyIsCheckedChosenAndStartsTheGameOrTheStoryOnce)
{
    const struct
    {
        GameModeType game; // GameModeType_Count: the story
        const char* radio; // null: keep Medium
        GameModeDifficulty difficulty;
        std::vector<const char*> buttons;
        std::vector<std::string> queued;
    } cases[] = {
        {GameModeType_PaintIt, "Hard", GameModeDifficulty_Hard, {"PlayButton", "PlayButton"}, {"unwind paint -"}},
        {GameModeType_PaintIt, nullptr, GameModeDifficulty_Medium, {"PlayButton"}, {"unwind paint -"}},
        {GameModeType_PaintIt, "Easy", GameModeDifficulty_Easy, {"BackButton", "PlayButton"}, {"pop"}},
        {GameModeType_ToolShed, "Easy", GameModeDifficulty_Easy, {"PlayButton", "BackButton"}, {"pop"}},
        {GameModeType_Count, "Easy", GameModeDifficulty_Easy, {"PlayButton", "PlayButton"}, {"unwind cutscene Intro"}},
        // The story's Back leaves with no step started; the pre-checked Medium goes on with one press.
        {GameModeType_Count, "Hard", GameModeDifficulty_Hard, {"BackButton", "PlayButton"}, {"pop"}},
        {GameModeType_Count, nullptr, GameModeDifficulty_Medium, {"PlayButton"}, {"unwind cutscene Intro"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        if (c.game == GameModeType_Count)
            StartStory();
        GetLevelManager().difficulty = GameModeDifficulty_Medium;
        DifficultySelectMode screen(c.game);
        Start(screen);
        for (const char* name : DifficultySelectMode::kRadioNames)
            EXPECT_EQ(Node<RadioButtonNode>("DifficultySelect", name)->IsChecked(), std::string(name) == "Medium");
        if (c.radio != nullptr)
        {
            Node<RadioButtonNode>("DifficultySelect", c.radio)->Click();
            EXPECT_TRUE(Node<RadioButtonNode>("DifficultySelect", c.radio)->IsChecked());
        }
        EXPECT_EQ(GetLevelManager().difficulty, c.difficulty);
        const int32_t progress = GetLevelManager().getProgressIndex();
        for (const char* button : c.buttons)
            Click(screen, "DifficultySelect", button);
        EXPECT_EQ(TakeQueued(), c.queued);
        const bool storyMovedOn = c.game == GameModeType_Count && c.queued.front() != "pop";
        EXPECT_EQ(GetLevelManager().getProgressIndex(), progress + (storyMovedOn ? 1 : 0));
        screen.Destroy();
    }
}

TEST_F(PlayFlowTest, QuitQuestionAnswersOnce)
{
    const struct
    {
        bool inGame;
        std::vector<const char*> clicks;
        std::vector<std::string> queued;
    } cases[] = {{true, {"YesButton", "YesButton"}, {"unwind main menu"}},
                 {true, {"NoButton", "NoButton", "YesButton"}, {"pop"}},
                 {false, {"NoButton", "NoButton"}, {"pop"}},
                 {true, {"InGameQuestion", "NoButton"}, {"pop"}},
                 {false, {"YesButton", "YesButton", "NoButton"}, {}}}; // the application is asked to quit, once
    // Refuses, so the test goes on; counts how often it was asked.
    struct CountingQuitHandler : IQuitHandler
    {
        bool CanQuit() override
        {
            ++asked;
            return false;
        }
        int asked = 0;
    } quitHandler;
    MainLoop::AddQuitHandler(&quitHandler);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        QuitConfirmMode question(c.inGame);
        EXPECT_FALSE(question.IsOpaque());
        Start(question);
        EXPECT_EQ(Node("QuitConfirm", "InGameQuestion")->LocalIsVisible(), c.inGame);
        EXPECT_EQ(Node("QuitConfirm", "LeaveQuestion")->LocalIsVisible(), !c.inGame);
        for (const char* click : c.clicks)
            Click(question, "QuitConfirm", click);
        EXPECT_EQ(TakeQueued(), c.queued);
        EXPECT_TRUE(question.hasAnswered());
        question.Destroy();
    }
    MainLoop::RemoveQuitHandler(&quitHandler);
    EXPECT_EQ(quitHandler.asked, 1);
}

TEST_F(PlayFlowTest, RegistrationKeepsOtherScreensAndWordsFollowTheProfilesLanguage)
{
    LevelManager& levels = GetLevelManager();
    RegisterPlayFlowScreens(levels);
    const StoryScreenConstructors& screens = levels.getStoryScreens();
    ASSERT_TRUE(screens.mainMenu && screens.cutscene);
    EXPECT_EQ(dynamic_cast<NamedMode&>(*screens.mainMenu()).what, "main menu");
    EXPECT_EQ(dynamic_cast<StickerUnlockMode&>(*screens.stickerUnlock(3)).getStickerIndex(), 3);
    EXPECT_NE(dynamic_cast<FreePlaySelectMode*>(screens.freePlaySelect().get()), nullptr);
    EXPECT_TRUE(dynamic_cast<QuitConfirmMode&>(*screens.quitConfirm(true)).isInGame());

    for (const bool english : {true, false})
    {
        SCOPED_TRACE(english);
        Profile()->WriteValue(L"EnglishLanguage", english);
        EXPECT_STREQ(LanguageSuffix(), english ? "_EN" : "_SP");
        DifficultySelectMode screen(GameModeType_PaintIt);
        Start(screen);
        auto* play = Node<ButtonNode>("DifficultySelect", "PlayButton");
        EXPECT_EQ(play->GetImages(), AutoResource<IImageList>(english ? "Button_Play_EN" : "Button_Play_SP").Get());
        EXPECT_EQ(play->GetStripWidth(), 0.0f);
        screen.Destroy();
    }
}

TEST_F(PlayFlowTest, FreePlayRunsFromTheChooserThroughAGameAndItsRewardBackToTheChooser)
{
    // A main loop's stack of modes: the modes queue changes, which are made between steps as the main
    // loop makes them, so no mode is destroyed while it runs.
    enum Kind
    {
        Unwind,
        Push,
        Pop
    };
    std::vector<std::pair<Kind, std::unique_ptr<ApplicationMode>>> pending;
    std::vector<std::unique_ptr<ApplicationMode>> stack;
    LevelManager& levels = GetLevelManager();
    const auto queue = [&](Kind kind)
    { return [&, kind](std::unique_ptr<ApplicationMode> mode) { pending.emplace_back(kind, std::move(mode)); }; };
    levels.setModeQueue({queue(Unwind), queue(Push), [&] { pending.emplace_back(Pop, nullptr); }});
    const auto apply = [&]
    {
        for (auto& [kind, mode] : std::exchange(pending, {}))
        {
            if (kind != Push)
            {
                for (bool more = true; more && !stack.empty(); more = kind == Unwind)
                {
                    stack.back()->Destroy();
                    stack.pop_back();
                }
            }
            if (mode)
            {
                stack.push_back(std::move(mode));
                Start(*stack.back());
            }
            else if (!stack.empty())
            {
                MainLoop::WithinContext(stack.back().get(), context);
                stack.back()->Enter();
            }
        }
    };
    RegisterPlayFlowScreens(levels);
    levels.setGameModeConstructor(GameModeType_PaintIt,
                                  [](Label level) { return std::make_unique<StandInGame>(level); });
    GetStickerManager().resetUnlockedStickerData();
    const int stickers = Profile()->ReadValue(L"2_StickerCount", 0);

    levels.getModeQueue().unwindTo(levels.getStoryScreens().freePlaySelect());
    apply();
    ASSERT_NE(dynamic_cast<FreePlaySelectMode*>(stack.back().get()), nullptr);
    Click(*stack.back(), "FreePlaySelect", "PaintIt");
    apply();
    ASSERT_EQ(stack.size(), 2u);
    ASSERT_NE(dynamic_cast<DifficultySelectMode*>(stack.back().get()), nullptr);
    Node<RadioButtonNode>("DifficultySelect", "Hard")->Click();
    Node<RadioButtonNode>("DifficultySelect", "Medium")->Click();
    Node<ButtonNode>("DifficultySelect", "PlayButton")->Click();
    apply();
    ASSERT_EQ(stack.size(), 1u);
    auto* game = dynamic_cast<StandInGame*>(stack.back().get());
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(game->levelID.IsNull()) << "the game draws its own level";
    EXPECT_EQ(levels.difficulty, GameModeDifficulty_Medium);
    GetAudioManager()->setMusicMode(MusicMode_InGame, Label("PaintIt"));

    game->endLevel();
    apply();
    ASSERT_EQ(stack.size(), 2u);
    ASSERT_NE(dynamic_cast<StickerUnlockMode*>(stack.back().get()), nullptr);
    EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_GeneralUI);
    for (int step = 0; step < 300 && stack.size() == 2; ++step)
    {
        Step(*stack.back());
        apply();
    }
    ASSERT_EQ(stack.size(), 1u);
    EXPECT_NE(dynamic_cast<FreePlaySelectMode*>(stack.back().get()), nullptr);
    EXPECT_TRUE(levels.freePlay);
    EXPECT_EQ(levels.difficulty, GameModeDifficulty_Medium);
    EXPECT_EQ(Profile()->ReadValue(L"2_StickerCount", 0), stickers + 1);
    stack.back()->Destroy();
}

} // namespace
