#include "game/YardcrewGameMode.h"
#include "game/EnumTypeDeck.h"
#include "game/ForemanInstructionMode.h"
#include "game/LevelManager.h"
#include "game/LevelProgression.h"
#include "game/StickerManager.h"

#include "core/FileSystem.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/MainLoop.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/StrataExtensions.h"

#include "GameAudioTestSupport.h"
#include "GameServicesTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace GameTesting;

namespace
{

// A mode that only says what it is: the stand-in for the screens the end of a game opens.
struct NamedMode : Strata::ApplicationMode
{
    explicit NamedMode(std::string text) : what(std::move(text)) {}
    std::string what;
};

// The least mini-game: the shared layers, a piece on the playfield, a full-screen input mask that can
// be switched on, and the Help and Quit buttons (hidden until the instructions are set up).
class StandInGame : public YardcrewGameMode
{
public:
    void Setup() override
    {
        SceneApplicationMode::Setup();
        const AutoResource<SceneLayout> layout("StandInGameLayout");
        ASSERT_NE(layout.Get(), nullptr);
        layout->InstantiateLayout(this, GetRootNode());
    }
    void refreshMode() override {}
    void setupCursor() override { ++cursorSets; }
    SceneNode* Node(std::initializer_list<const char*> steps)
    {
        std::vector<NodePathStep> path(steps.begin(), steps.end());
        path.emplace_back();
        return RootDescendent(path);
    }
    int cursorSets = 0;
};

const char* const kLayouts = R"(
<scenelayout name="StandInGameLayout">
  <scenenode nodeName="GameScreenRoot" width="800" height="600">
    <scenenode nodeName="Playfield" width="800" height="600">
      <scenenode nodeName="Piece" x="100" y="100" width="100" height="100" hitTest="true"/>
    </scenenode>
    <scenenode nodeName="Mask" x="0" y="0" width="400" height="600"/>
    <scenenode nodeName="UI_attach" width="800" height="600">
      <buttonnode nodeName="HelpButton" name="HelpButton" visible="false"/>
      <buttonnode nodeName="QuitButton" name="QuitButton" visible="false"/>
    </scenenode>
  </scenenode>
</scenelayout>
<scenelayout name="ForemanInstructionModeLayout">
  <scenenode nodeName="ForemanInstructionMode" width="800" height="600">
    <animatedspritenode nodeName="LevelIntroForeman"/>
    <buttonnode nodeName="SkipButton" name="OkButton" alphaSensitivity="0"/>
  </scenenode>
</scenelayout>
<countedimagelist name="Button_SkipCutscene_EN" count="5"/>
<countedimagelist name="Button_SkipCutscene_SP" count="5"/>
<countedimagelist name="AllStickersList" count="4"/>
<LevelProg name="Story"><Cutscene cutsceneID="Intro"/><Level gameType="PaintIt"/></LevelProg>
)";

// The audio back end on the loopback device, a profile, the scene graph, and the level manager's mode
// queue recorded instead of run: each queued mode becomes one line.
class GameModeTest : public GameAudioTest
{
protected:
    void SetUp() override
    {
        GameAudioTest::SetUp();
        SetupStrataExtensions();
        manager->AddResourceFactory(L"countedimagelist", new CountedImageListFactory());
        manager->AddResourceFactory(L"LevelProg", new LevelProgressionResourceFactory());
        fileSystem = new Strata::FileSystem();
        user = new MemoryFileSystemPartition(L"user");
        fileSystem->AddFileSystemPartition(Strata::FileSystemPartition_User, user);
        Random::SetSeedOverride(7);
        Random::Engine_Setup();
        AccountManager* accounts = GetAccountManager();
        ASSERT_NE(accounts->NewAccount(L"Second"), nullptr);
        ASSERT_TRUE(accounts->SetCurrentAccount(L"Second"));
        accounts->GetCurrentAccount()->WriteValue(L"AccountID", std::wstring(L"2"));
        LoadManifest(kLayouts, L"game");

        LevelManager& levels = GetLevelManager();
        levels.setModeQueue(
            {[this](std::unique_ptr<ApplicationMode> mode) { queued.push_back("unwind " + Describe(*mode)); },
             [this](std::unique_ptr<ApplicationMode> mode) { queued.push_back("push " + Describe(*mode)); },
             [this] { queued.push_back("pop"); }});
        levels.setStoryScreenConstructors(
            {[] { return std::make_unique<NamedMode>("main menu"); },
             [] { return std::make_unique<NamedMode>("sticker book"); },
             [](Label id) { return std::make_unique<NamedMode>(std::string("cutscene ") + id.c_str()); },
             [](int sticker) { return std::make_unique<NamedMode>("reward " + std::to_string(sticker)); },
             [] { return std::make_unique<NamedMode>("free play"); },
             [](bool inGame) { return std::make_unique<NamedMode>(inGame ? "quit in game" : "quit"); }});
        levels.freePlay = true;
        GetStickerManager().loadUnlockedStickerData();
    }

    void TearDown() override
    {
        LevelManager& levels = GetLevelManager();
        levels.setModeQueue({});
        levels.setStoryScreenConstructors({});
        levels.setLevelProgression(Label());
        levels.freePlay = true;
        Random::Engine_Destroy();
        Random::ClearSeedOverride();
        GameAudioTest::TearDown();
    }

    static std::string Describe(ApplicationMode& mode)
    {
        if (auto* named = dynamic_cast<NamedMode*>(&mode))
            return named->what;
        if (auto* popUp = dynamic_cast<ForemanInstructionMode*>(&mode))
            return std::string("instructions ") + popUp->getGame().c_str() + " " +
                   std::to_string(popUp->getIntroState());
        return "?";
    }

    // Makes the mode current, sets it up and enters it, as the main loop does.
    template <class Mode>
    void Start(Mode& mode)
    {
        MainLoop::WithinContext(&mode, context);
        mode.Setup();
        mode.Enter();
    }

    // One 20 ms step of the game: voice queue, top mode, audio output.
    void Step(ApplicationMode& mode)
    {
        GetAudioManager()->updateVocalAudioQueues();
        mode.Update(0.02f);
        Frame(2 * kStepFrames);
    }

    std::vector<std::string> TakeQueued() { return std::exchange(queued, {}); }
    static Account* Current() { return GetAccountManager()->GetCurrentAccount(); }

    MainLoop::AutoContext context;
    Strata::FileSystem* fileSystem = nullptr;
    MemoryFileSystemPartition* user = nullptr;
    std::vector<std::string> queued;
};

TEST_F(GameModeTest, HintRepeatsUntilTheChildActsAndARearmCancelsTheHintAboutToBeDue)
{
    struct Case
    {
        const char* what;
        std::map<int, int> rearmAt;             // step -> hint number
        std::vector<std::pair<int, int>> heard; // step a hint started -> its number
    };
    const Case cases[] = {
        {"idle: hint 1 every 30 s", {}, {{1500, 1}, {3000, 1}}},
        {"picked up: hint 2 every 25 s", {{100, 2}}, {{1350, 2}, {2600, 2}}},
        {"re-armed just before it was due", {{1499, 1}}, {{2999, 1}}},
        {"dropped after a pick-up", {{100, 2}, {1300, 1}}, {{2800, 1}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        StandInGame game;
        Start(game);
        game.setupInstructionMode(Label("PaintIt"), IntroForemanState_Default, false);
        std::vector<std::pair<int, int>> heard;
        bool was[3] = {};
        for (int step = 1; step <= 3100; ++step)
        {
            if (auto rearm = c.rearmAt.find(step); rearm != c.rearmAt.end())
                game.resetHintTimer(rearm->second);
            Step(game);
            for (int hint : {1, 2})
            {
                const std::string name = "InGameHint_PaintIt_" + std::to_string(hint);
                const bool now = GetAudioManager()->getIsPlayingOrUpcoming(Sound(name.c_str()));
                if (now && !was[hint])
                    heard.emplace_back(step, hint);
                was[hint] = now;
            }
        }
        ASSERT_EQ(heard.size(), c.heard.size());
        for (size_t i = 0; i < heard.size(); ++i)
        {
            EXPECT_NEAR(heard[i].first, c.heard[i].first, 2) << i;
            EXPECT_EQ(heard[i].second, c.heard[i].second) << i;
        }
        game.Destroy();
    }
}

TEST_F(GameModeTest, EnteringAgainAfterAPopUpRearmsHintOneAndTheCursor)
{
    StandInGame game;
    Start(game);
    game.resetHintTimer(2);
    game.Enter();
    EXPECT_EQ(game.getHintNumber(), 1);
    EXPECT_EQ(game.cursorSets, 2);
}

TEST_F(GameModeTest, EndLevelHandsOutOneStickerAndQueuesOneScreenHoweverOftenAsked)
{
    // Four stickers, three of them starters: the first game unlocks the last one, the second finds the
    // book complete, the third goes straight on.
    for (const bool freePlay : {true, false})
    {
        SCOPED_TRACE(freePlay ? "free play" : "story");
        GetStickerManager().resetUnlockedStickerData();
        GetLevelManager().setLevelProgression(Label("Story"));
        GetLevelManager().resetLevelProgress();
        GetLevelManager().freePlay = freePlay;
        const std::vector<bool> before = GetStickerManager().getUnlockedBits();
        ASSERT_EQ(GetStickerManager().getUnlockedCount(), 3);
        const int locked = static_cast<int>(std::find(before.begin(), before.end(), false) - before.begin());

        std::vector<std::string> screens;
        for (int game = 0; game < 3; ++game)
        {
            StandInGame mode;
            Start(mode);
            mode.endLevel();
            mode.endLevel();
            EXPECT_TRUE(mode.hasLevelEnded());
            for (const std::string& line : TakeQueued())
                screens.push_back(line);
        }
        EXPECT_EQ(screens, (std::vector<std::string>{"push reward " + std::to_string(locked), "push reward -1",
                                                     freePlay ? "unwind free play" : "unwind cutscene Intro"}));
        EXPECT_EQ(GetStickerManager().getUnlockedCount(), 4);
        EXPECT_EQ(GetLevelManager().getProgressIndex(), freePlay ? 0 : 1);
        EXPECT_EQ(Current()->ReadValue(L"2_StickerCount", 0), 4);
    }
}

TEST_F(GameModeTest, HelpAndQuitButtonsAndTheInputMask)
{
    StandInGame game;
    Start(game);
    auto* help = dynamic_cast<ButtonNode*>(game.Node({"GameScreenRoot", "UI_attach", "HelpButton"}));
    auto* quit = dynamic_cast<ButtonNode*>(game.Node({"GameScreenRoot", "UI_attach", "QuitButton"}));
    ASSERT_TRUE(help && quit);
    EXPECT_FALSE(help->LocalIsVisible() || quit->LocalIsVisible());

    // Without the pop-up the values are only kept for the Help button.
    game.setupInstructionMode(Label("PaintIt"), static_cast<IntroForemanState>(3), false);
    EXPECT_TRUE(help->LocalIsVisible() && quit->LocalIsVisible());
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{});
    help->Click();
    quit->Click();
    game.ReceiveMessage(ObjectMessage(ObjectID(), Label("ButtonClick"))); // a sender that is gone
    game.setupInstructionMode(Label("StreetSigns"), IntroForemanState_Default, true);
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"push instructions PaintIt 3", "push quit in game",
                                                      "push instructions StreetSigns 0"}));

    // A piece under the mask gets nothing once the mask eats input; one beside it still does.
    SceneNode* piece = game.Node({"GameScreenRoot", "Playfield", "Piece"});
    int pieceDowns = 0;
    piece->mouseDownSignal.connect([&](SceneNode*, MouseButton, int, int) { ++pieceDowns; });
    game.OnMouseDown(MouseButton_Left, 150, 150);
    game.OnMouseUp(MouseButton_Left, 150, 150);
    EXPECT_EQ(pieceDowns, 1);
    game.setupMouseInputEatingNode(game.Node({"GameScreenRoot", "Mask"}));
    game.OnMouseDown(MouseButton_Left, 150, 150);
    game.OnMouseUp(MouseButton_Left, 150, 150);
    EXPECT_EQ(pieceDowns, 1);
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{});
}

TEST_F(GameModeTest, PopUpSpeaksTheDescriptionInTheProfilesLanguageAndPopsOnce)
{
    struct Case
    {
        const char* what;
        int language; // -1: no value stored, else the "EnglishLanguage" value
        int clickAt;  // step of the skip click; 0 for none
        const char* skipImages;
    };
    const Case cases[] = {
        {"no language stored, description to its end", -1, 0, "Button_SkipCutscene_EN"},
        {"Spanish, skipped midway", 0, 20, "Button_SkipCutscene_SP"},
        {"English, skipped in the step the description ends", 1, -1, "Button_SkipCutscene_EN"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (c.language >= 0)
            Current()->WriteValue(L"EnglishLanguage", c.language == 1);
        ForemanInstructionMode popUp(Label("PaintIt"), IntroForemanState_Default);
        EXPECT_FALSE(popUp.IsOpaque());
        Start(popUp);
        const NodePathStep skipPath[] = {"ForemanInstructionMode", "SkipButton", NodePathTerminator()};
        auto* skip = RootDescendent<ButtonNode>(skipPath);
        ASSERT_NE(skip, nullptr);
        EXPECT_EQ(skip->GetImages(), AutoResource<IImageList>(c.skipImages).Get());
        EXPECT_EQ(skip->GetStripWidth(), 0.0f);

        int poppedAt = 0;
        int spoken = 0;
        for (int step = 1; step <= 80 && poppedAt == 0; ++step)
        {
            if (step == c.clickAt)
                skip->Click();
            Step(popUp);
            if (GetAudioManager()->getIsPlayingOrUpcoming(Sound("desc")))
                spoken = step;
            else if (c.clickAt < 0 && spoken > 0)
                skip->Click(); // lands with the description's own close
            if (!queued.empty())
                poppedAt = step;
        }
        // The description lasts one second: fifty steps, then the close in the step after.
        EXPECT_NEAR(poppedAt, c.clickAt > 0 ? c.clickAt : 51, 2);
        for (int step = 0; step < 60; ++step)
            Step(popUp);
        skip->Click();
        popUp.closeMode();
        EXPECT_EQ(TakeQueued(), std::vector<std::string>{"pop"});
        popUp.Destroy();
        Step(popUp);
        EXPECT_FALSE(GetAudioManager()->getIsPlayingOrUpcoming(Sound("desc")));
        Current()->DeleteValue(L"EnglishLanguage");
    }
}

TEST(EnumTypeDeckTest, DrawsEveryValueOnceThenStartsAgain)
{
    Random::SetSeedOverride(3);
    Random::Engine_Setup();
    for (const int count : {1, 2, 7})
    {
        EnumTypeDeck<int> deck(count);
        for (int round = 0; round < 2; ++round)
        {
            std::set<int> drawn;
            for (int i = 0; i < count; ++i)
                drawn.insert(deck.DrawCard());
            EXPECT_EQ(static_cast<int>(drawn.size()), count);
            EXPECT_EQ(*drawn.begin(), 0);
            EXPECT_EQ(*drawn.rbegin(), count - 1);
            EXPECT_EQ(deck.getRemaining(), 0);
        }
    }
    EnumTypeDeck<int> empty(0);
    EXPECT_EQ(empty.getRemaining(), 0);
    EXPECT_THROW(empty.DrawCard(), RuntimeError);
    Random::Engine_Destroy();
    Random::ClearSeedOverride();
}

} // namespace
