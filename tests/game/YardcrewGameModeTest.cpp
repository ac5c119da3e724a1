#include "game/YardcrewGameMode.h"
#include "game/EnumTypeDeck.h"
#include "game/ForemanInstructionMode.h"
#include "game/LevelProgression.h"
#include "game/MiniGameSequence.h"
#include "game/StickerManager.h"

#include "framework/MainLoop.h"
#include "framework/TimedTask.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/StrataExtensions.h"

#include "GameScreenTestSupport.h"

#include <map>
#include <set>

using namespace GameTesting;

namespace
{

// The least mini-game: the shared layers, a piece on the playfield, a mask over its left half and the
// Help and Quit buttons, hidden until the instructions are set up.
class StandInGame : public YardcrewGameMode
{
public:
    void Setup() override
    {
        SceneApplicationMode::Setup();
        AutoResource<SceneLayout>("StandInGame")->InstantiateLayout(this, GetRootNode());
    }
    void refreshMode() override {}
    void setupCursor() override {}
    template <class T = SceneNode>
    T* Node(const char* name, NodePathStep next = NodePathTerminator())
    {
        const NodePathStep path[] = {"GameScreenRoot", name, next, NodePathTerminator()};
        return dynamic_cast<T*>(RootDescendent(path));
    }
};

const char* const kContent = R"(
<scenelayout name="StandInGame"><scenenode nodeName="GameScreenRoot" width="800" height="600">
  <scenenode nodeName="Piece" x="100" y="100" width="100" height="100" hitTest="true"/>
  <scenenode nodeName="Mask" width="400" height="600"/>
  <scenenode nodeName="UI_attach">
    <buttonnode nodeName="HelpButton" name="HelpButton" visible="false"/>
    <buttonnode nodeName="QuitButton" name="QuitButton" visible="false"/>
  </scenenode>
</scenenode></scenelayout>
<scenelayout name="ForemanInstructionModeLayout"><scenenode nodeName="ForemanInstructionMode">
  <animatedspritenode nodeName="LevelIntroForeman"/><buttonnode nodeName="SkipButton" name="OkButton"/>
</scenenode></scenelayout>
<countedimagelist name="Button_SkipCutscene_EN" count="5"/><countedimagelist name="Button_SkipCutscene_SP" count="5"/>
<countedimagelist name="AllStickersList" count="4"/>
<LevelProg name="Story"><Cutscene cutsceneID="Intro"/><Level gameType="PaintIt"/></LevelProg>
)";

// The game's screens recorded, a profile and a seeded random stream.
class GameModeTest : public GameScreenTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(SetUpScreens(L"Second", L"2", 7));
        LoadManifest(kContent, L"game");

        RecordModeQueue(
            [](std::unique_ptr<ApplicationMode>& mode)
            {
                auto* popUp = dynamic_cast<ForemanInstructionMode*>(mode.get());
                return popUp ? std::string("instructions ") + popUp->getGame().c_str() +
                                   std::to_string(popUp->getIntroState())
                             : dynamic_cast<NamedMode&>(*mode).what;
            });
        const auto named = [](std::string what) { return std::make_unique<NamedMode>(what); };
        GetLevelManager().setStoryScreenConstructors(
            {nullptr, nullptr, [=](Label id) { return named(std::string("cutscene ") + id.c_str()); },
             [=](int sticker) { return named("reward " + std::to_string(sticker)); },
             [=] { return named("free play"); }, [=](bool inGame) { return named(inGame ? "quit in game" : "?"); }});
    }
};

TEST_F(GameModeTest, HintRepeatsUntilTheChildActsAndARearmCancelsTheHintAboutToBeDue)
{
    const struct
    {
        std::map<int, int> rearmAt;                // step -> hint number
        std::vector<std::pair<int, int>> expected; // step a hint starts -> its number
    } cases[] = {
        {{}, {{1500, 1}, {3000, 1}}},         // idle: hint 1 every 30 s
        {{{100, 2}}, {{1350, 2}, {2600, 2}}}, // picked up: hint 2 every 25 s
        {{{1499, 1}}, {{2999, 1}}},           // re-armed just before it was due
        {{{100, 2}, {1300, 1}}, {{2800, 1}}}, // dropped after a pick-up
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        StandInGame game;
        Start(game);
        game.setupInstructionMode(Label("PaintIt"), IntroForemanState_Default, false);
        std::vector<std::pair<int, int>> heard;
        bool was[3] = {};
        for (int step = 1; step <= 3100; ++step)
        {
            if (c.rearmAt.count(step))
                game.resetHintTimer(c.rearmAt.at(step));
            Step(game);
            for (int hint : {1, 2})
            {
                const bool now = GetAudioManager()->getIsPlayingOrUpcoming(
                    Sound(("InGameHint_PaintIt_" + std::to_string(hint)).c_str()));
                if (now && !was[hint])
                    heard.emplace_back(step, hint);
                was[hint] = now;
            }
        }
        ASSERT_EQ(heard.size(), c.expected.size());
        for (size_t i = 0; i < heard.size(); ++i)
        {
            EXPECT_NEAR(heard[i].first, c.expected[i].first, 2) << i;
            EXPECT_EQ(heard[i].second, c.expected[i].second) << i;
        }
    }
}

TEST_F(GameModeTest, EndLevelHandsOutOneStickerAndQueuesOneScreenHoweverOftenAsked)
{
    // Four stickers, three of them starters: the first game unlocks the last, the second finds the book
    // complete, the third goes straight on.
    for (const bool freePlay : {true, false})
    {
        GetStickerManager().resetUnlockedStickerData();
        GetLevelManager().setLevelProgression(Label("Story"));
        GetLevelManager().resetLevelProgress();
        GetLevelManager().freePlay = freePlay;
        const std::vector<bool> before = GetStickerManager().getUnlockedBits();
        const auto locked = std::find(before.begin(), before.end(), false) - before.begin();
        for (int game = 0; game < 3; ++game)
        {
            StandInGame mode;
            Start(mode);
            // An outro whose end is reached twice.
            Object* outro = mode.GetObject(mode.getSequenceObjectID());
            outro->AddTask(std::make_unique<TimedTask>(0.5f));
            for (int end = 0; end < 2; ++end)
                QueueCall(*outro, [&] { mode.endLevel(); });
            for (int step = 0; step < 40; ++step)
                Step(mode);
        }
        EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"push reward " + std::to_string(locked), "push reward -1",
                                                          freePlay ? "unwind free play" : "unwind cutscene Intro"}));
        EXPECT_EQ(Profile()->ReadValue(L"2_StickerCount", 0), 4);
        EXPECT_EQ(GetLevelManager().getProgressIndex(), freePlay ? 0 : 1);
    }
}

TEST_F(GameModeTest, HelpAndQuitButtonsAndTheInputMask)
{
    StandInGame game;
    Start(game);
    auto* help = game.Node<ButtonNode>("UI_attach", "HelpButton");
    auto* quit = game.Node<ButtonNode>("UI_attach", "QuitButton");
    ASSERT_TRUE(help && quit);

    // Without the pop-up the game and pose are only kept for the Help button.
    game.setupInstructionMode(Label("PaintIt"), static_cast<IntroForemanState>(3), false);
    EXPECT_TRUE(help->LocalIsVisible() && quit->LocalIsVisible());
    help->Click();
    quit->Click();
    game.ReceiveMessage(ObjectMessage(ObjectID(), Label("ButtonClick"))); // from a sender that is gone
    game.setupInstructionMode(Label("StreetSigns"), IntroForemanState_Default, true);
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"push instructions PaintIt3", "push quit in game",
                                                      "push instructions StreetSigns0"}));

    int pieceDowns = 0;
    game.Node("Piece")->mouseDownSignal.connect([&](SceneNode*, MouseButton, int, int) { ++pieceDowns; });
    game.setupMouseInputEatingNode(game.Node("Mask"));
    for (const int x : {150, 450}) // under the mask, then beside it
    {
        game.Node("Piece")->LocalSetLocation(static_cast<float>(x) - 50.0f, 100.0f);
        game.OnMouseDown(MouseButton_Left, x, 150);
        game.OnMouseUp(MouseButton_Left, x, 150);
    }
    EXPECT_EQ(pieceDowns, 1);
}

TEST_F(GameModeTest, PopUpSpeaksTheDescriptionInTheProfilesLanguageAndPopsOnce)
{
    const struct
    {
        int english; // -1: no value stored
        int clickAt; // step of the skip click; 0 for none, -1 in the step the description ends
        const char* images;
    } cases[] = {
        {-1, 0, "Button_SkipCutscene_EN"}, {0, 20, "Button_SkipCutscene_SP"}, {1, -1, "Button_SkipCutscene_EN"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        Profile()->DeleteValue(L"EnglishLanguage");
        if (c.english >= 0)
            Profile()->WriteValue(L"EnglishLanguage", c.english == 1);
        ForemanInstructionMode popUp(Label("PaintIt"), IntroForemanState_Default);
        EXPECT_FALSE(popUp.IsOpaque());
        Start(popUp);
        const NodePathStep skipPath[] = {"ForemanInstructionMode", "SkipButton", NodePathTerminator()};
        auto* skip = RootDescendent<ButtonNode>(skipPath);
        ASSERT_NE(skip, nullptr);
        EXPECT_EQ(skip->GetImages(), AutoResource<IImageList>(c.images).Get());
        EXPECT_EQ(skip->GetStripWidth(), 0.0f);

        int poppedAt = 0;
        bool spoken = false;
        for (int step = 1; step <= 80 && queued.empty(); poppedAt = ++step)
        {
            const bool speaking = GetAudioManager()->getIsPlayingOrUpcoming(Sound("desc"));
            if (step == c.clickAt || (c.clickAt < 0 && spoken && !speaking))
                skip->Click();
            spoken = spoken || speaking;
            Step(popUp);
        }
        // The description lasts fifty steps; its close comes in the step after.
        EXPECT_NEAR(poppedAt, c.clickAt > 0 ? c.clickAt + 1 : 52, 2);
        for (int step = 0; step < 60; ++step)
            Step(popUp);
        skip->Click();
        EXPECT_EQ(TakeQueued(), std::vector<std::string>{"pop"});
        popUp.Destroy();
        EXPECT_FALSE(GetAudioManager()->getIsPlayingOrUpcoming(Sound("desc")));
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
            EXPECT_EQ(drawn.size(), static_cast<size_t>(count));
            EXPECT_EQ(*drawn.rbegin(), count - 1);
        }
    }
    EXPECT_THROW(EnumTypeDeck<int>(0).DrawCard(), RuntimeError);
    Random::Engine_Destroy();
    Random::ClearSeedOverride();
}

} // namespace
