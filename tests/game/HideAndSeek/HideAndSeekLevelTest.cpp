#include "game/HideAndSeek/HideAndSeekLevel.h"

#include "game/MiniGamePattern.h"

#include "../LevelReaderTestSupport.h"

#include <cmath>

using namespace GameTesting;

namespace
{

using HideAndSeekLevelTest = LevelReaderTest<HideAndSeekLevelResourceFactory>;

TEST_F(HideAndSeekLevelTest, LevelsAreReadWithTheirDefaultsAndOnlyPlayableOnesAreFiled)
{
    const char* const two = R"(<Obstacle imageID="1"/><Obstacle imageID="5"/>)";
    const sLevelCase cases[] = {
        {"HasSix", R"(numHides="3" numPreviewHides="4" runSpeed="300")",
         R"(<Obstacle imageID="2"/><Obstacle imageID="0"/><Note imageID="9"/><Obstacle imageID="4"></Obstacle>
            <Obstacle imageID="1"/><Obstacle/><Obstacle imageID="5"/>)",
         nullptr},
        {"HasNoTail", R"(numPreviewHides="1" runSpeed="200" showTail="false")", two, nullptr},
        {"HasCrawlingSpeed", R"(numPreviewHides="1" runSpeed="0.5")", two, "has \"runSpeed\" 0.5, less than 200"},
        {"HasNoSequence", R"(numHides="2" runSpeed="300")", two, "has \"numPreviewHides\" 0, so the cat never hides"},
        {"HasNegativeSequence", R"(numPreviewHides="-2" runSpeed="300")", two, "has \"numPreviewHides\" -2"},
        {"HasNoSpeed", R"(numPreviewHides="2")", two, "has \"runSpeed\" 0, not a finite number above 0"},
        {"HasBackwardSpeed", R"(numPreviewHides="2" runSpeed="-40")", two, "not a finite number above 0"},
        {"HasOneObstacle", R"(numPreviewHides="1" runSpeed="300")", R"(<Obstacle imageID="1"/>)",
         "has 1 \"Obstacle\", not at least 2"},
        {"HasNoObstacle", R"(numPreviewHides="1" runSpeed="300")", "<obstacle/>", "has 0 \"Obstacle\""},
        {"HasPastTheList", R"(numPreviewHides="1" runSpeed="300")", R"(<Obstacle imageID="1"/><Obstacle imageID="6"/>)",
         "has an obstacle picture 6, not 0 to 5"},
        {"HasBeforeTheList", R"(numPreviewHides="1" runSpeed="300")", R"(<Obstacle imageID="-1"/><Obstacle/>)",
         "has an obstacle picture -1"},
    };
    ExpectLevels(L"Seek", cases, "Hard");

    const HideAndSeekLevel* six = Level("HasSix");
    const HideAndSeekLevel* noTail = Level("HasNoTail");
    const HideAndSeekLevel* bare = Level("HasNoSequence");
    ASSERT_TRUE(six != nullptr && noTail != nullptr && bare != nullptr);
    const std::vector<HideAndSeekObstacleData> order = {{2}, {0}, {4}, {1}, {0}, {5}};
    EXPECT_EQ(six->obstacles, order);
    EXPECT_EQ(six->numHides, 3);
    EXPECT_EQ(six->numPreviewHides, 4);
    EXPECT_EQ(six->runSpeed, 300.0f);
    EXPECT_TRUE(six->showTail);
    EXPECT_FALSE(noTail->showTail);
    EXPECT_EQ(bare->numPreviewHides, 0);
}

// Whatever speed the reader files, the cat's run across the playfield's diagonal ends within seconds
// and a run of one pixel still takes some time: never forever, never at once.
TEST_F(HideAndSeekLevelTest, EveryFiledSpeedRunsThePlayfieldInSecondsNeitherAtOnceNorForever)
{
    const char* const two = "<Obstacle/><Obstacle/>";
    const sLevelCase cases[] = {
        {"Slowest", R"(numPreviewHides="1" runSpeed="200")", two, nullptr},
        {"Fastest", R"(numPreviewHides="1" runSpeed="1500")", two, nullptr},
        {"Slower", R"(numPreviewHides="1" runSpeed="199.9")", two, "less than 200"},
    };
    ExpectLevels(L"Runs", cases, "Easy");
    for (const char* name : {"Slowest", "Fastest"})
    {
        SCOPED_TRACE(name);
        const HideAndSeekLevel* level = Level(name);
        ASSERT_NE(level, nullptr);
        const float across = TravelSeconds({0.0f, 0.0f}, {800.0f, 600.0f}, level->runSpeed);
        EXPECT_TRUE(std::isfinite(across));
        EXPECT_LE(across, kHideAndSeekLongestRunSeconds);
        EXPECT_GT(TravelSeconds({400.0f, 300.0f}, {401.0f, 300.0f}, level->runSpeed), 0.0f);
    }
}

// Every shipped level keeps within the bounds: none is refused.
TEST_F(HideAndSeekLevelTest, ShippedLevelsAreFiledAtEachDifficultyAndAllPlayable)
{
    ShippedLevels();
}

} // namespace
