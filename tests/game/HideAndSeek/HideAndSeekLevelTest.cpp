#include "game/HideAndSeek/HideAndSeekLevel.h"

#include "../LevelReaderTestSupport.h"

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
        {"HasNoTail", R"(numPreviewHides="1" runSpeed="0.5" showTail="false")", two, nullptr},
        {"HasNoSequence", R"(numHides="2" runSpeed="300")", two, "has \"numPreviewHides\" 0, so the cat never hides"},
        {"HasNegativeSequence", R"(numPreviewHides="-2" runSpeed="300")", two, "has \"numPreviewHides\" -2"},
        {"HasNoSpeed", R"(numPreviewHides="2")", two, "has \"runSpeed\" 0.000000, not a finite number above 0"},
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

// Every shipped level keeps within the bounds: none is refused.
TEST_F(HideAndSeekLevelTest, ShippedLevelsAreFiledAtEachDifficultyAndAllPlayable)
{
    ShippedLevels();
}

} // namespace
