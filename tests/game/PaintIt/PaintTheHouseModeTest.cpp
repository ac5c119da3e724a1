#include "game/PaintIt/PaintTheHouseMode.h"

#include "game/PaintIt/HousePaintBucket.h"
#include "game/PaintIt/HousePaintStripe.h"
#include "game/PaintIt/PaintItGame.h"
#include "scene/SpriteNodes.h"

#include "../MiniGameTestSupport.h"

#include <algorithm>
#include <set>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {"PaintIt_WrongColor", "PaintIt_GameComplete", "VO_KeepGoing",
                               "SFX_ReachArm",       "SFX_ReachMove",        "SFX_Paint",
                               "SFX_GeneralClick",   "SFX_ObjectRollover"};

// The board and truck pictures are borrowed from the counting game; only their sizes matter here. Every
// animation the game waits for ends.
const char* const kFixture = R"(
  <imagelist name="PaintIt_PaintBucket" pattern="CTM_RequestItems_%1%" first="0" last="3"/>
  <imagelist name="TestFrames" pattern="CTM_RequestItems_%1%" first="4" last="7"/>
  <vector2i name="BrushCursorRegPt" x="4" y="3"/>
  <intarray name="RepeatedGameNumLoops"><int value="0"/><int value="1"/><int value="1"/></intarray>
  <spritetype name="TestTruck" images="TestFrames">
    <animation name="Idle" frameList="0" fps="1" numPlays="0"/>
    <animation name="Raise" frameList="0,1,2" fps="10" numPlays="1"/>
    <animation name="ForemanPaint" frameList="2,3" fps="10" numPlays="0"/>
    <animation name="Lower" frameList="2,1,0" fps="10" numPlays="1" linkedAnimation="Idle"/>
    <animation name="Drive" frameList="0,1" fps="10" numPlays="0"/>
  </spritetype>
  <scenelayout name="PaintTheHouseModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="HouseRoot" x="50" y="100"/>
        <scenenode nodeName="FenceClickRect" x="50" y="100" width="700" height="200"/>
        <scenenode nodeName="AnimNodeRoot" x="0" y="320">
          <animatedspritenode nodeName="ReachAnimNode" spriteType="TestTruck" initialAnimation="Idle"/>
        </scenenode>
        <scenenode nodeName="Bucket1" x="100" y="450"/><scenenode nodeName="Bucket2" x="350" y="450"/>
        <scenenode nodeName="Bucket3" x="600" y="450"/>
        <scenenode nodeName="MouseInput_ClickMask" width="800" height="600"/>
      </scenenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="HousePaintBucketLayout">
    <scenenode nodeName="Bucket">
      <staticspritenode nodeName="imageNode"><staticspritenode nodeName="rollover"/></staticspritenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="HouseStripeLayout">
    <scenenode nodeName="Stripe">
      <animatedspritenode nodeName="imageNode"><staticspritenode nodeName="rollover"/></animatedspritenode>
    </scenenode>
  </scenelayout>
)";

const char* const kColors[] = {"Red", "Green", "Blue", "Yellow"};

class PaintTheHouseModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        std::string body = kFixture;
        // Each colour's boards show frame 0 bare and frame 1 painted.
        for (const char* color : kColors)
            body += std::string("<spritetype name=\"FenceSpriteType_") + color + R"(" images="TestFrames">
                <animation name="Unpainted" frameList="0" fps="1" numPlays="0"/>
                <animation name="Painted" frameList="1" fps="1" numPlays="0"/>
                <animation name="AddPaint" frameList="0,1,1" fps="10" numPlays="1" linkedAnimation="Painted"/>
                <animation name="RemovePaint" frameList="1,0,0" fps="10" numPlays="1" linkedAnimation="Unpainted"/>
              </spritetype>)";
        SetUpGame(PaintItDescription(), kSounds, body, L"fence");
        watched.push_back("InGameHint_PaintIt_1");
    }

    static HousePaintBucket* Bucket(const PaintTheHouseMode& game, HousePaintColor color)
    {
        return First(
            game.getBuckets(), [&](const HousePaintBucket& bucket) { return bucket.getColor() == color; });
    }
    static std::string Animation(HousePaintStripe& stripe)
    {
        auto* image = dynamic_cast<AnimatedSpriteNode*>(stripe.getImageNode());
        return image != nullptr && image->GetCurAnimationName() ? image->GetCurAnimationName().c_str() : "";
    }

    // A round at Easy, its pattern "AB", with the playfield open.
    std::unique_ptr<PaintTheHouseMode> StartEasyRound()
    {
        LoadLevels(kLevels);
        GetLevelManager().difficulty = GameModeDifficulty_Easy;
        auto game = std::make_unique<PaintTheHouseMode>(true, -1);
        Start(*game);
        EXPECT_TRUE(StepUntil(*game, [&] { return Open(); }));
        return game;
    }

    // Paints the bare boards right to the round's end, clicking a bucket only when the colour changes;
    // answers how many buckets were clicked.
    int PaintRightToTheEnd(PaintTheHouseMode& game)
    {
        const std::vector<HousePaintStripe*> stripes = game.getStripes();
        const auto fromFirstBare = [&](const HousePaintStripe& stripe)
        { return stripe.LayoutRoot()->LocalGetLocation().x - stripes[6]->LayoutRoot()->LocalGetLocation().x; };
        // Where the truck stood before the first bare board, to which it drives back at the end.
        const float home = game.getTruck()->LocalGetLocation().x - fromFirstBare(*game.getStripesToPaint().front());
        int bucketClicks = 0;
        for (size_t left = game.getStripesToPaint().size(); left > 0; --left)
        {
            HousePaintStripe* next = game.getStripesToPaint().front();
            if (game.getSelectedColor() != next->getColor())
            {
                Click(game, *Bucket(game, next->getColor())->getImageNode());
                ++bucketClicks;
            }
            Click(game, *game.getFenceClickArea());
            EXPECT_TRUE(StepUntil(game, [&]
                                  { return game.getStripesToPaint().size() < left && Animation(*next) == "Painted"; }))
                << left;
            EXPECT_EQ(next->getShownColor(), next->getColor());
            if (left > 1)
            {
                // The truck stands at the next bare board.
                EXPECT_TRUE(StepUntil(game, [&] { return Open(); }));
                EXPECT_EQ(game.getTruck()->LocalGetLocation().x - home,
                          fromFirstBare(*game.getStripesToPaint().front()));
            }
        }
        EXPECT_TRUE(Heard("General_CorrectAnswer"));
        // The closing words play while the truck drives back; the mask stays up to the end.
        EXPECT_TRUE(StepUntil(game, [this] { return Ended(); }));
        EXPECT_FALSE(Open());
        EXPECT_TRUE(Heard(game.getRoundsLeft() > 0 ? "VO_KeepGoing" : "PaintIt_GameComplete"));
        EXPECT_EQ(game.getTruck()->LocalGetLocation().x, home);
        return bucketClicks;
    }

    static constexpr const char* kLevels =
        R"(<PaintItLevel name="PiEasy" difficulty="Easy"><Pattern order="AB"/></PaintItLevel>
        <PaintItLevel name="PiMedium" difficulty="Medium"><Pattern order="A"/></PaintItLevel>
        <PaintItLevel name="PiHard" difficulty="Hard"><Pattern order="AABCBCCA"/></PaintItLevel>)";
};

TEST_F(PaintTheHouseModeTest, RunsAtEachDifficultyShowTheFenceAndEndWithTheStickerReward)
{
    LoadLevels(kLevels);
    const std::vector<int32_t> patterns[] = {{0, 1}, {0}, {0, 0, 1, 2, 1, 2, 2, 0}};
    // The four bare boards' colours change that often, counting the first pick: ABAB, AAAA, CAAA.
    const int bucketClicks[] = {4, 1, 2};
    PlayRunsToTheReward<PaintTheHouseMode>(
        {1, 2, 2},
        [&](PaintTheHouseMode& game, int d, int)
        {
            ASSERT_TRUE(StepUntil(game, [&] { return Open(); }));
            EXPECT_EQ(game.getSelectedColor(), HousePaintColor_None);
            // Four different colours; the fence shows the pattern from its first letter and the bare
            // boards ask for the letters that continue it (past the sixth for a long pattern).
            const std::vector<HousePaintColor> colors = game.getBucketColors();
            ASSERT_EQ(std::set<HousePaintColor>(colors.begin(), colors.end()).size(), 4u);
            const std::vector<HousePaintStripe*> stripes = game.getStripes();
            ASSERT_EQ(stripes.size(), 10u);
            for (size_t k = 0; k < stripes.size(); ++k)
            {
                EXPECT_EQ(stripes[k]->getColor(), colors[static_cast<size_t>(patterns[d][k % patterns[d].size()])]);
                EXPECT_EQ(stripes[k]->isPainted(), k < 6) << k;
                EXPECT_EQ(Animation(*stripes[k]), k < 6 ? "Painted" : "Unpainted") << k;
            }
            EXPECT_EQ(game.getStripesToPaint(), std::vector<HousePaintStripe*>(stripes.begin() + 6, stripes.end()));
            // Buckets of the letters' colours only; the fourth is shown nowhere.
            ASSERT_EQ(game.getBuckets().size(), 3u);
            for (size_t i = 0; i < 3; ++i)
                EXPECT_NE(Bucket(game, colors[i]), nullptr) << i;
            EXPECT_EQ(PaintRightToTheEnd(game), bucketClicks[d]);
        });
}

TEST_F(PaintTheHouseModeTest, ThePointerLightsTheBucketItIsOverOrOverTheFenceTheNextBoard)
{
    const auto game = StartEasyRound();
    const auto hover = [&](SceneNode& node)
    {
        const Rect<float> bounds = node.GlobalGetBounds();
        game->OnMouseMove(static_cast<int>(bounds.x + bounds.width / 2),
                          static_cast<int>(bounds.y + bounds.height / 2));
    };
    const std::vector<HousePaintStripe*> stripes = game->getStripes();
    ASSERT_EQ(stripes.size(), 10u);
    HousePaintBucket* first = game->getBuckets().front();
    hover(*first->getImageNode());
    EXPECT_TRUE(first->getRolloverNode()->LocalIsVisible());
    ASSERT_TRUE(StepUntil(*game, [this] { return Heard("SFX_ObjectRollover"); }));
    hover(*game->getFenceClickArea());
    EXPECT_FALSE(first->getRolloverNode()->LocalIsVisible());
    EXPECT_TRUE(stripes[6]->getRolloverNode()->LocalIsVisible());
    EXPECT_FALSE(stripes[7]->getRolloverNode()->LocalIsVisible());
}

TEST_F(PaintTheHouseModeTest, TheFenceWithoutAColourOnlyRemindsAtOnceBesideWhatIsSaid)
{
    const auto game = StartEasyRound();
    // The reminder plays as an effect, beside what is being said rather than cutting it short.
    GetAudioManager()->playSpecificSoundVocal(Label("desc"));
    Step(*game);
    ASSERT_TRUE(Playing("desc"));
    Click(*game, *game->getFenceClickArea());
    EXPECT_TRUE(Playing("InGameHint_PaintIt_1"));
    EXPECT_TRUE(Playing("desc"));
    ASSERT_TRUE(StepUntil(*game, [this] { return Heard("InGameHint_PaintIt_1"); }));
    EXPECT_FALSE(game->isPainting());
    EXPECT_EQ(game->getHintNumber(), 1);
    EXPECT_EQ(game->getStripesToPaint().size(), 4u);
}

TEST_F(PaintTheHouseModeTest, AWrongColourIsScrapedOffWhileABucketPressedMeanwhilePaintsTheBoardNext)
{
    auto game = StartEasyRound();
    const float home = game->getTruck()->LocalGetLocation().x;
    HousePaintStripe* next = game->getStripesToPaint().front();
    HousePaintBucket* wrong = First(game->getBuckets(), [&](const HousePaintBucket& bucket)
                                    { return bucket.getColor() != next->getColor(); });
    ASSERT_NE(wrong, nullptr);
    Click(*game, *wrong->getImageNode());
    EXPECT_EQ(game->getSelectedColor(), wrong->getColor());
    EXPECT_EQ(game->getHintNumber(), 2);
    Click(*game, *game->getFenceClickArea());
    EXPECT_TRUE(game->isPainting());
    EXPECT_FALSE(Open());
    // While the truck works a press on the fence is eaten, but a bucket still picks its colour.
    Click(*game, *game->getFenceClickArea());
    Click(*game, *Bucket(*game, next->getColor())->getImageNode());
    EXPECT_EQ(game->getSelectedColor(), next->getColor());
    ASSERT_TRUE(StepUntil(*game, [&] { return Animation(*next) == "Painted"; }));
    EXPECT_EQ(next->getShownColor(), wrong->getColor());
    ASSERT_TRUE(StepUntil(*game, [&] { return Open(); }));
    // The board was judged by the paint it got.
    EXPECT_TRUE(Heard("PaintIt_WrongColor"));
    EXPECT_FALSE(Heard("General_CorrectAnswer"));
    EXPECT_EQ(Animation(*next), "Unpainted");
    EXPECT_EQ(game->getStripesToPaint().size(), 4u);
    EXPECT_EQ(game->getStripesToPaint().front(), next);
    EXPECT_EQ(game->getTruck()->LocalGetLocation().x, home);
    EXPECT_EQ(game->getSelectedColor(), next->getColor());
    EXPECT_FALSE(Ended());
    // The next press on the fence paints the colour picked meanwhile, and nobody says it is wrong.
    spoken.clear();
    Click(*game, *game->getFenceClickArea());
    ASSERT_TRUE(StepUntil(*game, [&] { return game->getStripesToPaint().size() == 3u && Open(); }));
    EXPECT_EQ(next->getShownColor(), next->getColor());
    EXPECT_FALSE(Heard("PaintIt_WrongColor"));
    EXPECT_TRUE(Heard("General_CorrectAnswer"));
    // The round still ends once the boards are painted right: each of the three left needs a bucket.
    EXPECT_EQ(PaintRightToTheEnd(*game), 3);
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "PaintIt_WrongColor"), 0);
}

TEST_F(PaintTheHouseModeTest, NoPlayableLevelShowsTheNoticeAndTheFenceDoesNothing)
{
    // A damaged level is refused when read; a difficulty without levels draws none.
    LoadLevels(R"(<PaintItLevel name="PiBroken" difficulty="Easy"><Pattern order="xyz"/></PaintItLevel>
        <PaintItLevel name="PiFine" difficulty="Medium"><Pattern order="AB"/></PaintItLevel>)");
    for (GameModeDifficulty difficulty : {GameModeDifficulty_Easy, GameModeDifficulty_Hard})
    {
        GetLevelManager().difficulty = difficulty;
        TakeLog();
        screens.clear();
        PaintTheHouseMode game(true, -1);
        Start(game);
        EXPECT_NE(TakeLog().find("Difficulty Level Not Found for PaintTheHouseMode"), std::string::npos);
        // The pop-up still explains the game.
        EXPECT_EQ(screens, std::vector<std::string>{"push instructions"});
        EXPECT_TRUE(game.getStripes().empty());
        EXPECT_TRUE(game.getBuckets().empty());
        game.mouseEnterFence();
        game.mouseClickOnFence();
        game.mouseExitFence();
        for (int i = 0; i < 5; ++i)
            Step(game);
        EXPECT_FALSE(game.isPainting());
        EXPECT_EQ(screens, std::vector<std::string>{"push instructions"});
        context.reset();
    }
}

} // namespace
