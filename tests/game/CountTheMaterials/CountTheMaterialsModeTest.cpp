#include "game/CountTheMaterials/CountTheMaterialsMode.h"

#include "framework/ValueResources.h"
#include "scene/NodePath.h"

#include "../MiniGameTestSupport.h"

#include <fstream>
#include <set>
#include <sstream>

using namespace GameTesting;

namespace
{

const char* const kVoices[] = {"CTM_IncorrectAnswer", "CTM_NotEnough", "CTM_TooMuch", "CTM_DiggerNoProb"};

class CountTheMaterialsModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        MiniGameTest::SetUp();
        manager->AddResourceFactory(L"CountTheMaterialsLevel", new CountTheMaterialsLevelResourceFactory());
        manager->AddResourceFactory(L"intarray", new Strata::ArrayResourceFactory<int, Strata::IntResourceFactory>());
        std::string sounds;
        for (const char* voice : kVoices)
            sounds += std::string("<sound name=\"") + voice + "\" src=\"w\"/>";
        LoadManifest(sounds + "<intarray name=\"RepeatedGameNumLoops\"><int value=\"0\"/><int value=\"1\"/>"
                              "<int value=\"1\"/></intarray>",
                     L"counting");
        ASSERT_TRUE(Strata::Constant<std::vector<int>>("RepeatedGameNumLoops").IsValid());
        std::ifstream file(std::string(MENAGERIE_DATA_DIR) + "/CountTheMaterialsMode.xml", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        files.AddFile(L"CountTheMaterialsMode.xml", text.str());
        ASSERT_TRUE(manager->Load(L"CountTheMaterialsMode")->IsComplete());
        watched.assign(std::begin(kVoices), std::end(kVoices));
        watched.push_back("General_CorrectAnswer");
    }

    static SceneNode* Mask()
    {
        const NodePathStep path[] = {"GameScreenRoot", "Playfield", "Material_ClickMask", NodePathTerminator()};
        return RootDescendent(path);
    }
    // The game has asked for its next round or for a screen after the level.
    bool Ended()
    {
        std::erase_if(screens, [](const std::string& screen) { return screen == "push instructions"; });
        return !screens.empty();
    }
    bool Open() { return Mask() != nullptr && !Mask()->LocalIsVisible(); }

    // The place of the first pile the predicate picks; the number of piles when none.
    static size_t Find(const CountTheMaterialsMode& game, const std::function<bool(const MaterialData&)>& pick)
    {
        const auto& piles = game.getPiles();
        return static_cast<size_t>(std::find_if(piles.begin(), piles.end(), pick) - piles.begin());
    }

    // Plays rounds until the game asks for a screen that is not its next round, clicking the right pile.
    // What the run asked for, in order.
    void PlayRun(std::unique_ptr<CountTheMaterialsMode> game, int& rounds, std::vector<std::string>& run)
    {
        rounds = 0;
        while (game)
        {
            ++rounds;
            Start(*game);
            ASSERT_TRUE(StepUntil(*game, [this] { return Open(); })) << "round " << rounds;
            const AutoResource<CountTheMaterialsLevel> level(game->getLevel());
            ASSERT_NE(level.Get(), nullptr);
            const size_t right = Find(*game, [&](const MaterialData& pile) { return level->IsRequested(pile); });
            ASSERT_LT(right, game->getPiles().size());
            Click(*game, *game->getPileNode(right));
            ASSERT_TRUE(StepUntil(*game, [this] { return Ended(); })) << "round " << rounds;
            run.insert(run.end(), screens.begin(), screens.end());
            screens.clear();
            game.reset();
            if (dynamic_cast<CountTheMaterialsMode*>(nextRound.get()) != nullptr)
                game.reset(static_cast<CountTheMaterialsMode*>(nextRound.release()));
            context.reset();
        }
    }
};

TEST_F(CountTheMaterialsModeTest, AWholeRunAtEachDifficultyEndsWithTheStickerReward)
{
    const int expectedRounds[] = {1, 2, 2};
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        int rounds = 0;
        std::vector<std::string> run;
        PlayRun(std::make_unique<CountTheMaterialsMode>(true, -1), rounds, run);
        EXPECT_EQ(rounds, expectedRounds[d]) << "difficulty " << d;
        std::vector<std::string> expected(static_cast<size_t>(expectedRounds[d] - 1), "unwind next round");
        expected.push_back("push reward");
        EXPECT_EQ(run, expected) << "difficulty " << d;
    }
}

TEST_F(CountTheMaterialsModeTest, WrongPilesAreExplainedAndTheLevelStillEnds)
{
    // The kind is judged first, then too few or too many; rounds go on until each reason was heard.
    GetLevelManager().difficulty = GameModeDifficulty_Hard;
    std::set<std::string> reasons;
    for (int round = 0; round < 12 && reasons.size() < 3; ++round)
    {
        CountTheMaterialsMode game(true, 0);
        Start(game);
        ASSERT_TRUE(StepUntil(game, [this] { return Open(); }));
        const AutoResource<CountTheMaterialsLevel> level(game.getLevel());
        ASSERT_NE(level.Get(), nullptr);
        const MaterialData request{level->requestMaterial, level->requestNumber};
        for (size_t place = 0; place < game.getPiles().size(); ++place)
        {
            const MaterialData pile = game.getPiles()[place];
            if (pile == request)
                continue;
            const std::string reason = pile.material != request.material ? "CTM_IncorrectAnswer"
                                       : pile.number < request.number    ? "CTM_NotEnough"
                                                                         : "CTM_TooMuch";
            spoken.clear();
            Click(game, *game.getPileNode(place));
            ASSERT_TRUE(StepUntil(game, [&] { return Heard(reason); })) << reason;
            // The playfield is closed while the reason is spoken, and opens again afterwards.
            EXPECT_FALSE(Open());
            ASSERT_TRUE(StepUntil(game, [this] { return Open(); }));
            EXPECT_EQ(spoken, std::vector<std::string>{reason});
            reasons.insert(reason);
        }
        EXPECT_FALSE(Ended());
        EXPECT_EQ(game.getHintNumber(), 1);

        const size_t right = Find(game, [&](const MaterialData& pile) { return pile == request; });
        ASSERT_LT(right, game.getPiles().size());
        Click(game, *game.getPileNode(right));
        // A click after the win is not judged.
        spoken.clear();
        Click(game, *game.getPileNode(right == 0 ? 1 : 0));
        ASSERT_TRUE(StepUntil(game, [this] { return Ended(); }));
        EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
        EXPECT_EQ(spoken, (std::vector<std::string>{"CTM_DiggerNoProb", "General_CorrectAnswer"}));
        screens.clear();
        context.reset();
    }
    EXPECT_EQ(reasons.size(), 3u);
}

TEST_F(CountTheMaterialsModeTest, TheRequestIsSpokenWordByWordAndCanBeAskedForAgain)
{
    GetLevelManager().clearLevels();
    LoadManifest(R"(<CountTheMaterialsLevel name="CtmSpoken" difficulty="Easy">
        <Request material="BricksRed" number="3"/>
        <Material type="BricksRed" number="3"/><Material type="BricksBlue" number="3"/></CountTheMaterialsLevel>)",
                 L"spoken");
    GetLevelManager().difficulty = GameModeDifficulty_Easy;
    watched.insert(watched.end(), {"w3", "wRed", "wBricks"});
    CountTheMaterialsMode game(true, 0);
    Start(game);
    // The playfield opens once the whole request is queued, before it has been heard out.
    ASSERT_TRUE(StepUntil(game, [this] { return Open(); }));
    ASSERT_TRUE(StepUntil(game, [this] { return Heard("wBricks"); }));
    EXPECT_EQ(spoken, (std::vector<std::string>{"w3", "wRed", "wBricks"}));

    // Asking again while the reason for a wrong pile is spoken cuts the reason short.
    spoken.clear();
    const size_t wrong =
        Find(game, [](const MaterialData& pile) { return pile.material == BuildingMaterial_BricksBlue; });
    Click(game, *game.getPileNode(wrong));
    ASSERT_TRUE(StepUntil(game, [this] { return Heard("CTM_IncorrectAnswer"); }));
    game.playAudioRequest();
    ASSERT_TRUE(StepUntil(game, [this] { return Heard("wBricks"); }));
    EXPECT_EQ(spoken, (std::vector<std::string>{"CTM_IncorrectAnswer", "w3", "wRed", "wBricks"}));
    EXPECT_FALSE(Playing("CTM_IncorrectAnswer"));
}

TEST_F(CountTheMaterialsModeTest, AMissingLevelLeavesAnEmptyPlayfieldAndOneNotice)
{
    GetLevelManager().clearLevels();
    CountTheMaterialsMode game(true, -1);
    Start(game);
    game.initializeLevel(Label("NoSuchLevel"));
    const std::string log = TakeLog();
    EXPECT_NE(log.find("Difficulty Level Not Found for CountTheMaterialsMode. Fix the problem and press F5 to reload"),
              std::string::npos)
        << log;
    EXPECT_EQ(game.getPileNode(0), nullptr);
    for (int step = 0; step < 10; ++step)
        Step(game);
    EXPECT_FALSE(Ended());
}

} // namespace
