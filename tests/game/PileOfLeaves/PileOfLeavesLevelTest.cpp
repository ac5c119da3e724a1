#include "game/PileOfLeaves/PileOfLeavesLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using PileOfLeavesLevelTest = LevelReaderTest<PileOfLeavesLevelResourceFactory>;

TEST_F(PileOfLeavesLevelTest, OnlyLevelsTheFieldCanHoldAreFiledAndEachRefusalIsLoggedOnce)
{
    struct Case
    {
        const char* name;
        const char* attributes;
        PileOfLeavesLevel read;
        const char* logged; // null when the level is filed
    };
    const Case cases[] = {
        {"PolEasy", R"(numTools="4" areaCover="40" toolCover="6" cursorRadius="90")", {4, 90, 40, 6}, nullptr},
        // Only the tools are needed; the radius defaults to 100.
        {"PolBare", R"(numTools="1")", {1, 100, 0, 0}, nullptr},
        {"PolFull", R"(numTools="22" areaCover="300" toolCover="30" cursorRadius="1")", {22, 1, 300, 30}, nullptr},
        {"PolNone", "", {0, 100, 0, 0}, "has \"numTools\" 0, not 1 to 22"},
        {"PolCrowd", R"(numTools="23")", {23, 100, 0, 0}, "has \"numTools\" 23, not 1 to 22"},
        {"PolHuge", R"(numTools="2000000000")", {2000000000, 100, 0, 0}, "has \"numTools\" 2000000000"},
        {"PolBareArea", R"(numTools="3" areaCover="-1")", {3, 100, -1, 0}, "has \"areaCover\" -1, not 0 to 300"},
        {"PolDeep", R"(numTools="3" toolCover="31")", {3, 100, 0, 31}, "has \"toolCover\" 31, not 0 to 30"},
        {"PolWide", R"(numTools="3" cursorRadius="-5")", {3, -5, 0, 0}, "has \"cursorRadius\" -5"},
    };
    ExpectFiledUnlessLogged(
        L"Leaves", cases,
        [](const Case& c) { return std::pair("difficulty=\"Hard\" " + std::string(c.attributes), "<Tool/>"); },
        [](const Case& c, const PileOfLeavesLevel& level)
        {
            EXPECT_EQ(level.numTools, c.read.numTools);
            EXPECT_EQ(level.cursorRadius, c.read.cursorRadius);
            EXPECT_EQ(level.areaCover, c.read.areaCover);
            EXPECT_EQ(level.toolCover, c.read.toolCover);
            EXPECT_GE(level.ToolCount(), 0);
            EXPECT_LE(level.ToolCount(), kPileOfLeavesMaxTools);
        });
}

TEST(PileOfLeavesToolMixTest, AKindRepeatsOnlyAsOftenAsTheFieldsSizeAllows)
{
    using Made = std::vector<std::pair<YardcrewColor, YardcrewTool>>;
    struct Case
    {
        const char* what;
        Made made;
        int count;
        YardcrewColor color;
        YardcrewTool kind;
        bool allowed;
    };
    const Made twoSaws = {{YardcrewColor_Red, YardcrewTool_Saw}, {YardcrewColor_Blue, YardcrewTool_Saw}};
    const Made hammer = {{YardcrewColor_Red, YardcrewTool_Hammer}};
    const Made wrenches = {{YardcrewColor_Red, YardcrewTool_Wrench}, {YardcrewColor_Blue, YardcrewTool_Wrench}};
    const Case cases[] = {
        {"the first tool", {}, 6, YardcrewColor_Red, YardcrewTool_Saw, true},
        {"the same tool twice",
         {{YardcrewColor_Red, YardcrewTool_Saw}},
         22,
         YardcrewColor_Red,
         YardcrewTool_Saw,
         false},
        {"a second saw of six", {{YardcrewColor_Red, YardcrewTool_Saw}}, 6, YardcrewColor_Blue, YardcrewTool_Saw, true},
        {"a third saw of six", twoSaws, 6, YardcrewColor_Green, YardcrewTool_Saw, false},
        {"a third saw of seven", twoSaws, 7, YardcrewColor_Green, YardcrewTool_Saw, true},
        {"a second hammer of six", hammer, 6, YardcrewColor_Blue, YardcrewTool_Hammer, true},
        {"a second hammer of seven", hammer, 7, YardcrewColor_Blue, YardcrewTool_Hammer, false},
        {"a third wrench of seven", wrenches, 7, YardcrewColor_Green, YardcrewTool_Wrench, false},
        {"a second wrench of seven",
         {{YardcrewColor_Red, YardcrewTool_Wrench}},
         7,
         YardcrewColor_Blue,
         YardcrewTool_Wrench,
         true},
        {"another kind beside two saws", twoSaws, 6, YardcrewColor_Red, YardcrewTool_Level, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PileOfLeavesLevel::MayAddTool(c.made, c.count, c.color, c.kind), c.allowed) << c.what;
}

} // namespace
