#include "game/HideAndSeek/HideAndSeekMode.h"

#include "framework/ValueResources.h"
#include "game/HideAndSeek/HideAndSeekCharacter.h"
#include "game/HideAndSeek/HideAndSeekGame.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"
#include "game/HideAndSeek/HideAndSeekObstacle.h"

#include "../MiniGameTestSupport.h"

#include <algorithm>
#include <filesystem>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {"HideAndSeek_GameComplete", "HideAndSeek_IncorrectAnswer", "SFX_ObjectRollover",
                               "SFX_SelectItem"};

// Three arrangements of three, four and six slots; the pictures are the game's own, whose middles are
// opaque and whose corners are not.
const char* const kFixture = R"(
  <imagelist name="HideAndSeekObstacle" pattern="HideAndSeekObstacle_%1%" first="0" last="5"/>
  <imagelist name="HideAndSeekObstacle_Rollover" pattern="HideAndSeekObstacle_Rollover_%1%" first="0" last="5"/>
  <imagelist name="HideAndSeek_WrongAnimals" pattern="HideAndSeek_WrongAnimals_%1%" first="0" last="5"/>
  <vector2i name="HandCursorRegPt" x="4" y="3"/>
  <vector2f name="TabbyStartLocation" x="-20" y="440"/>
  <vector2f name="TabbyEndLocation" x="900" y="440"/>
  <scenelayout name="HideAndSeekModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="PlayfieldLayers" width="800" height="600">
          <scenenode nodeName="YSortedLayer_Easy" width="800" height="600">
            <scenenode nodeName="A" x="50" y="300"/><scenenode nodeName="B" x="300" y="300"/>
            <scenenode nodeName="C" x="550" y="300"/>
          </scenenode>
          <scenenode nodeName="YSortedLayer_Medium" width="800" height="600">
            <scenenode nodeName="A" x="50" y="100"/><scenenode nodeName="B" x="450" y="100"/>
            <scenenode nodeName="C" x="250" y="350"/><scenenode nodeName="D" x="600" y="350"/>
          </scenenode>
          <scenenode nodeName="YSortedLayer_Hard" width="800" height="600">
            <scenenode nodeName="A" x="20" y="100"/><scenenode nodeName="B" x="300" y="100"/>
            <scenenode nodeName="C" x="600" y="100"/><scenenode nodeName="D" x="20" y="380"/>
            <scenenode nodeName="E" x="300" y="380"/><scenenode nodeName="F" x="600" y="380"/>
          </scenenode>
        </scenenode>
        <scenenode nodeName="ClickMask" width="800" height="600"/>
      </scenenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="HideAndSeekCharacterLayout">
    <scenenode nodeName="Cat"><scenenode nodeName="imageNode" x="35" y="60" width="80" height="80"/></scenenode>
  </scenelayout>
  <scenelayout name="HideAndSeekObstacleLayout">
    <scenenode nodeName="Obstacle" width="150" height="150">
      <staticspritenode nodeName="wrongAnimal" x="30" y="44"/>
      <scenenode nodeName="TabbyTail" x="112" y="84" width="48" height="48"/>
      <staticspritenode nodeName="rolloverNode"/>
      <staticspritenode nodeName="imageNode"/>
    </scenenode>
  </scenelayout>
)";

class HideAndSeekModeTest : public MiniGameTest
{
protected:
    void SetUp() override { SetUpGame(HideAndSeekDescription(), kSounds, kFixture, L"seek", "hideandseek"); }

    static HideAndSeekObstacle* Current(HideAndSeekMode& game)
    {
        return dynamic_cast<HideAndSeekObstacle*>(game.GetObject(game.getCharacter()->getCurrentObstacle()));
    }
};

TEST_F(HideAndSeekModeTest, EveryDifficultyIsWonThroughWrongLooksToTheStickerReward)
{
    struct Case
    {
        const char* difficulty;
        int hides;
        int preview;
        bool tail;
        int obstacles; // in the level
        size_t placed;
        const char* speed;
    };
    // The slowest and the fastest speeds a level may set.
    const Case cases[] = {
        {"Easy", 1, 1, true, 2, 2, "200"}, {"Medium", 2, 3, true, 5, 4, "1500"}, {"Hard", 3, 4, false, 6, 6, "200"}};
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const Case& c = cases[d];
        SCOPED_TRACE(c.difficulty);
        std::string level = std::string("<HideAndSeekLevel name=\"Seek") + c.difficulty + "\" difficulty=\"" +
                            c.difficulty + "\" numHides=\"" + std::to_string(c.hides) + "\" numPreviewHides=\"" +
                            std::to_string(c.preview) + "\" runSpeed=\"" + c.speed + "\" showTail=\"" +
                            (c.tail ? "true" : "false") + "\">";
        for (int i = 0; i < c.obstacles; ++i)
            level += "<Obstacle imageID=\"" + std::to_string(i % kHideAndSeekObstacleImages) + "\"/>";
        LoadLevels(level + "</HideAndSeekLevel>");
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        auto game = StartNew<HideAndSeekMode>();
        ASSERT_FALSE(Open());
        const std::vector<HideAndSeekObstacle*> obstacles = game->getObstacles();
        ASSERT_EQ(obstacles.size(), c.placed);
        HideAndSeekCharacter* cat = game->getCharacter();
        ASSERT_NE(cat, nullptr);

        for (int find = 0; find < c.hides; ++find)
        {
            // Each sequence runs to numPreviewHides obstacles, never twice running to the one it is at,
            // starting where the cat stood; the playfield is blocked until it has hidden.
            // Even at the slowest speed no run takes longer than the playfield's diagonal allows.
            const Vector2<float> from = cat->GetNode()->LocalGetLocation();
            int looks = 0; // one more than the steps taken
            ASSERT_TRUE(StepUntil(*game,
                                  [&]
                                  {
                                      ++looks;
                                      return Open();
                                  }));
            EXPECT_LE((looks - 1) * kStepSeconds, c.preview * kHideAndSeekLongestRunSeconds);
            ASSERT_TRUE(cat->isHidden());
            const std::vector<Vector2<float>>& path = cat->getPath();
            ASSERT_EQ(path.size(), static_cast<size_t>(c.preview) + 1);
            EXPECT_EQ(path.front(), from);
            for (size_t i = 1; i + 1 < path.size(); ++i)
                EXPECT_NE(path[i], path[i + 1]) << i;
            EXPECT_FALSE(cat->GetNode()->LocalIsVisible());
            HideAndSeekObstacle* hiding = Current(*game);
            ASSERT_NE(hiding, nullptr);
            for (HideAndSeekObstacle* obstacle : obstacles)
                EXPECT_EQ(obstacle->getTailNode()->LocalIsVisible(), c.tail && obstacle == hiding);

            if (find == 0)
            {
                // A look behind a wrong obstacle: another animal, the wrong-answer voice, no find; the
                // playfield opens again once the picture is down. A click on a transparent corner
                // starts nothing.
                HideAndSeekObstacle* wrong = obstacles[obstacles[0] == hiding ? 1 : 0];
                const Rect<float> corner = wrong->getImageNode()->GlobalGetBounds();
                game->OnMouseMove(static_cast<int>(corner.x) + 1, static_cast<int>(corner.y) + 1);
                game->OnMouseDown(MouseButton_Left, static_cast<int>(corner.x) + 1, static_cast<int>(corner.y) + 1);
                EXPECT_TRUE(Open());
                Click(*game, *wrong->getImageNode());
                EXPECT_FALSE(Open());
                EXPECT_TRUE(wrong->getWrongAnimalNode()->LocalIsVisible());
                EXPECT_EQ(hiding->getTailNode()->LocalIsVisible(), c.tail);
                ASSERT_TRUE(StepUntil(
                    *game, [&] { return wrong->getImageNode()->LocalGetLocation().y <= -200; }));
                ASSERT_TRUE(StepUntil(*game, [&] { return Open(); }));
                EXPECT_TRUE(Heard("HideAndSeek_IncorrectAnswer"));
                EXPECT_FALSE(wrong->getWrongAnimalNode()->LocalIsVisible());
                EXPECT_EQ(wrong->getImageNode()->LocalGetLocation(), Vector2<float>(0, 0));
                EXPECT_EQ(game->getNumFound(), 0);
                EXPECT_TRUE(cat->isHidden());
            }
            // The right one: the cat stands there, praised, and the playfield stays blocked.
            Click(*game, *hiding->getImageNode());
            EXPECT_TRUE(cat->GetNode()->LocalIsVisible());
            EXPECT_FALSE(hiding->getWrongAnimalNode()->LocalIsVisible());
            ASSERT_TRUE(StepUntil(*game, [&] { return game->getNumFound() == find + 1; }));
            EXPECT_FALSE(Open());
            EXPECT_TRUE(Heard("General_CorrectAnswer"));
        }
        ASSERT_TRUE(StepUntil(*game, [&] { return Ended(); }));
        EXPECT_FALSE(Open());
        EXPECT_TRUE(Heard("HideAndSeek_GameComplete"));
        EXPECT_EQ(cat->GetNode()->LocalGetLocation(), Constant<Vector2<float>>("TabbyEndLocation").GetValue());
        EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
        // A second outro queues nothing more.
        game->startOutroAnimation();
        EXPECT_EQ(cat->GetTaskQueue().GetTask(0), nullptr);
        game.reset();
        context.reset();
    }
}

TEST_F(HideAndSeekModeTest, NoLevelOrADamagedOneShowsTheMissingLevelNoticeAndABlockedField)
{
    for (const char* levels : {"", R"(<HideAndSeekLevel name="SeekStill" difficulty="Easy" numPreviewHides="0"
                                        runSpeed="300"><Obstacle/><Obstacle/></HideAndSeekLevel>)"})
    {
        const auto game = StartWithoutLevel<HideAndSeekMode>(levels, "HideAndSeekMode");
        EXPECT_EQ(game->getCharacter(), nullptr);
        EXPECT_TRUE(game->getObstacles().empty());
        EXPECT_FALSE(Open());
        context.reset();
    }
}

} // namespace
