#include "game/LevelManager.h"

#include "framework/ApplicationMode.h"
#include "game/LevelProgression.h"

#include "GameServicesTestSupport.h"

#include <vector>

using namespace GameTesting;
using Strata::Label;

namespace
{

// A mode that only says what it is.
struct NamedMode : Strata::ApplicationMode
{
    explicit NamedMode(std::string text) : what(std::move(text)) {}
    std::string what;
};

// Stand-ins for the three ways the mini-games are made.
struct FlagLoopsMode : NamedMode
{
    FlagLoopsMode(bool flag, int loops) : NamedMode(std::string(flag ? "true," : "false,") + std::to_string(loops)) {}
};
struct LevelMode : NamedMode
{
    explicit LevelMode(Label level) : NamedMode(level ? std::string("level ") + level.c_str() : "no level") {}
};
struct PlainMode : NamedMode
{
    PlainMode() : NamedMode("plain") {}
};

class LevelManagerTest : public GameServicesTest
{
protected:
    void SetUp() override
    {
        GameServicesTest::SetUp();
        manager->AddResourceFactory(L"LevelProg", new LevelProgressionResourceFactory());
        auto record = [this](const char* how)
        {
            return [this, how](std::unique_ptr<Strata::ApplicationMode> mode)
            { started.push_back(std::string(how) + " " + static_cast<NamedMode&>(*mode).what); };
        };
        ModeQueue queue;
        queue.unwindTo = record("unwind");
        queue.push = record("push");
        levels.setModeQueue(queue);
        StoryScreenConstructors screens;
        screens.mainMenu = [] { return std::make_unique<NamedMode>("main menu"); };
        screens.stickerBook = [] { return std::make_unique<NamedMode>("sticker book"); };
        screens.cutscene = [](Label id) { return std::make_unique<NamedMode>(std::string("cutscene ") + id.c_str()); };
        levels.setStoryScreenConstructors(screens);
        for (const auto& entry : LevelManager::kGameTypeNames)
        {
            const std::string name = entry.name;
            levels.setGameModeConstructor(
                entry.type,
                [name](Label id) -> std::unique_ptr<Strata::ApplicationMode>
                { return std::make_unique<NamedMode>(name + (id ? std::string(" ") + id.c_str() : std::string())); });
        }
    }

    std::vector<std::string> TakeStarted() { return std::exchange(started, {}); }

    LevelManager levels;
    std::vector<std::string> started;
};

TEST_F(LevelManagerTest, TheStoryRunsItsStepsSkipsVideosAndEndsInTheStickerBook)
{
    LoadManifest(L"LevelProgression", "<LevelProg name=\"MenagerieStory\">\n"
                                      "  <Cutscene cutsceneID=\"Intro\"/>\n"
                                      "  <Chapter><Level gameType=\"toolshed\"/></Chapter>\n"
                                      "  <Note text=\"skipped\"/><level gameType=\"HideAndSeek\"/>\n"
                                      "  <Video videoID=\"Parade\"/>\n"
                                      "  <Level gameType=\"PlanAJob\" levelID=\"Job3\"/>\n"
                                      "  <Level gameType=\"Juggling\" levelID=\"Nope\"/>\n"
                                      "  <Level/>\n"
                                      "</LevelProg>\n");
    levels.setLevelProgression(Label("MenagerieStory"));
    ASSERT_NE(levels.getLevelProgression(), nullptr);
    ASSERT_EQ(levels.getLevelProgression()->entries.size(), 6u);
    EXPECT_EQ(levels.getLevelProgression()->entries[5].name, Label(""));
    EXPECT_TRUE(levels.getLevelProgression()->entries[1].levelID.IsNull());

    // Each step: what it starts and the position stored while it runs.
    const std::vector<std::pair<std::vector<std::string>, int>> steps = {
        {{"unwind cutscene Intro"}, 0},
        {{"unwind ToolShed"}, 1},
        {{"unwind PlanAJob"}, 3}, // the video's next game starts without its level
        // Games that cannot be started are passed over: here the last two, which ends the story.
        {{"unwind main menu", "push sticker book"}, 0},
        {{"unwind cutscene Intro"}, 0},
    };
    for (size_t i = 0; i < steps.size(); ++i)
    {
        SCOPED_TRACE(i);
        if (i == 1)
            manager->Unload(L"LevelProgression"); // the story in progress outlives its manifest
        levels.beginNextLevelProgressionMode();
        EXPECT_EQ(TakeStarted(), steps[i].first);
        EXPECT_EQ(Current()->ReadValue(L"101_Progress", -1), steps[i].second);
    }

    LoadManifest(L"LevelProgression",
                 "<LevelProg name=\"EndsOnVideo\"><Level gameType=\"ToolShed\"/><Video/></LevelProg>\n");
    levels.setLevelProgression(Label("EndsOnVideo"));
    levels.resetLevelProgress();
    levels.beginNextLevelProgressionMode();
    levels.beginNextLevelProgressionMode();
    EXPECT_EQ(TakeStarted(), (std::vector<std::string>{"unwind ToolShed", "unwind main menu", "push sticker book"}));
    EXPECT_EQ(levels.getProgressIndex(), 0);

    // A game after a video that cannot be started is passed over too.
    LoadManifest(L"LevelProgression2",
                 "<LevelProg name=\"VideoThenUnbuilt\"><Cutscene cutsceneID=\"Intro\"/><Video/>"
                 "<Level gameType=\"Juggling\"/><Video/><Video/><Level gameType=\"CountTheMaterials\"/>"
                 "</LevelProg>\n");
    levels.setLevelProgression(Label("VideoThenUnbuilt"));
    levels.resetLevelProgress();
    levels.beginNextLevelProgressionMode();
    levels.beginNextLevelProgressionMode();
    EXPECT_EQ(TakeStarted(), (std::vector<std::string>{"unwind cutscene Intro", "unwind CountTheMaterials"}));
    EXPECT_EQ(Current()->ReadValue(L"101_Progress", -1), 5);

    // No profile chosen yet: the story neither reads nor stores a place.
    Current()->DeleteValue(L"AccountID");
    levels.resetLevelProgress();
    levels.beginNextLevelProgressionMode();
    EXPECT_EQ(Current()->ReadValue(L"_Progress"), L"");
    Current()->WriteValue(L"AccountID", L"101");
    TakeStarted();

    // A story that does not exist leaves none, and the next step returns to the main menu.
    levels.setLevelProgression(Label("NoSuchStory"));
    EXPECT_EQ(levels.getLevelProgression(), nullptr);
    levels.beginNextLevelProgressionMode();
    EXPECT_EQ(TakeStarted(), (std::vector<std::string>{"unwind main menu"}));
}

TEST_F(LevelManagerTest, EachProfileKeepsItsOwnPlaceInTheStory)
{
    LoadManifest(L"LevelProgression", "<LevelProg name=\"S\"><Cutscene cutsceneID=\"A\"/><Cutscene cutsceneID=\"B\"/>"
                                      "<Cutscene cutsceneID=\"C\"/></LevelProg>\n");
    levels.setLevelProgression(Label("S"));
    levels.beginNextLevelProgressionMode();
    levels.beginNextLevelProgressionMode();

    UseProfile(L"Second", L"202");
    Current()->WriteValue(L"202_Progress", -7);
    levels.setLevelProgression(Label("S"));
    EXPECT_EQ(levels.getProgressIndex(), 0) << "a stored position below 0 reads as 0";
    levels.beginNextLevelProgressionMode();
    EXPECT_EQ(Current()->ReadValue(L"202_Progress", -1), 0);
    EXPECT_EQ(Current()->ReadValue(L"101_Progress", -1), -1);

    UseProfile(L"Player", L"101");
    levels.setLevelProgression(Label("S"));
    levels.beginNextLevelProgressionMode(); // replays the step in progress
    EXPECT_EQ(TakeStarted(), (std::vector<std::string>{"unwind cutscene A", "unwind cutscene B", "unwind cutscene A",
                                                       "unwind cutscene B"}));
    EXPECT_EQ(Current()->ReadValue(L"101_Progress", -1), 1);

    // However often a screen's button is clicked, its guard moves the story on once.
    StoryStepGuard guard;
    EXPECT_TRUE(guard.beginNextStep(levels));
    EXPECT_FALSE(guard.beginNextStep(levels));
    EXPECT_EQ(TakeStarted(), (std::vector<std::string>{"unwind cutscene C"}));
}

TEST_F(LevelManagerTest, GameTypeNamesMatchWithoutCaseAndModesGetTheirArguments)
{
    const std::vector<std::pair<const char*, std::string>> cases = {{"TOOLSHED", "unwind ToolShed L1"},
                                                                    {"haulerdelivery", "unwind HaulerDelivery L1"},
                                                                    {"HaulersDelivery", ""},
                                                                    {"", ""}};
    for (const auto& [name, expected] : cases)
    {
        levels.pushGameModeOfType(Label(name), Label("L1"));
        EXPECT_EQ(TakeStarted(), expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{expected})
            << name;
    }

    levels.setGameModeConstructor(GameModeType_CountTheMaterials, MakeGameModeConstructor<FlagLoopsMode>());
    levels.setGameModeConstructor(GameModeType_PlanAJob, MakeGameModeConstructor<LevelMode>());
    levels.setGameModeConstructor(GameModeType_HereToThere, MakeGameModeConstructor<PlainMode>());
    levels.setGameModeConstructor(GameModeType_ToolShed, nullptr);
    levels.pushGameModeOfType(Label("CountTheMaterials"), Label("L1"));
    levels.pushGameModeOfType(Label("PlanAJob"), Label("L1"));
    levels.pushGameModeOfType(Label("PlanAJob"), Label());
    levels.pushGameModeOfType(Label("HereToThere"), Label("L1"));
    levels.pushGameModeOfType(Label("ToolShed"), Label("L1"));
    EXPECT_EQ(TakeStarted(),
              (std::vector<std::string>{"unwind true,-1", "unwind level L1", "unwind no level", "unwind plain"}));
    EXPECT_NE(TakeLog().find("No mode is registered for the game type \"ToolShed\""), std::string::npos);
}

TEST_F(LevelManagerTest, LevelDrawsNeverRepeatTheLastLevelAndMissingLevelsGiveNull)
{
    EXPECT_TRUE(levels.getLevelForGameModeType(GameModeType_PaintIt).IsNull());

    levels.addLevelForGameModeType(GameModeType_ToolShed, Label("Only"), GameModeDifficulty_Medium);
    levels.addLevelForGameModeType(GameModeType_ToolShed, Label("EasyOne"), GameModeDifficulty_Easy);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(levels.getLevelForGameModeType(GameModeType_ToolShed), Label("Only"));

    // Two levels alternate, even when one of them was filed twice.
    for (const char* level : {"A", "B", "A"})
        levels.addLevelForGameModeType(GameModeType_StreetSigns, Label(level), GameModeDifficulty_Medium);
    Label previous = levels.getLevelForGameModeType(GameModeType_StreetSigns);
    for (int i = 0; i < 20; ++i)
    {
        const Label next = levels.getLevelForGameModeType(GameModeType_StreetSigns);
        EXPECT_NE(next, previous);
        previous = next;
    }

    levels.addLevelForGameModeType(GameModeType_HideAndSeek, Label("Odd"), static_cast<GameModeDifficulty>(3));
    levels.addLevelForGameModeType(GameModeType_HideAndSeek, Label("Odd"), GameModeDifficulty_None);
    EXPECT_NE(TakeLog().find("Level \"Odd\" has game type 10 and difficulty 3; it is not filed"), std::string::npos);
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        levels.difficulty = static_cast<GameModeDifficulty>(d);
        EXPECT_TRUE(levels.getLevelForGameModeType(GameModeType_HideAndSeek).IsNull());
    }
}

} // namespace
