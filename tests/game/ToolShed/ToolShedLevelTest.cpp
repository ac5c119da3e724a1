#include "game/ToolShed/ToolShedLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using ToolShedLevelTest = LevelReaderTest<ToolShedLevelResourceFactory>;

TEST_F(ToolShedLevelTest, OnlyPlayableLevelsAreFiledAndEachRefusalIsLoggedOnce)
{
    const std::string two = R"(<Box color="Red"/><Box color="Blue"/>)";
    const std::string hammer = R"(<Tool type="Hammer" color="Red"/>)";
    std::string elevenTools;
    for (int i = 0; i < 11; ++i)
        elevenTools += hammer;
    const sLevelCase cases[] = {
        {"TsColor", R"(sortBy="Color")", two + hammer + R"(<Tool type="Pliers" color="Blue"/><Note/>)", nullptr},
        {"TsType", R"(sortBy="Type")", R"(<Box type="Hammer" color="Purple"/><Box type="Level"/>)" + hammer, nullptr},
        {"TsNoSort", "", two + hammer, "has no \"sortBy\" of \"Type\" or \"Color\""},
        {"TsLowerSort", R"(sortBy="color")", two + hammer, "has no \"sortBy\""},
        {"TsOneBox", R"(sortBy="Color")", R"(<Box color="Red"/>)" + hammer, "has 1 \"Box\", not 2 to 4"},
        {"TsFiveBoxes", R"(sortBy="Color")", two + two + R"(<Box color="Green"/>)" + hammer,
         "has 5 \"Box\", not 2 to 4"},
        {"TsNoTools", R"(sortBy="Color")", two, "has 0 \"Tool\", not 1 to 10"},
        {"TsElevenTools", R"(sortBy="Color")", two + elevenTools, "has 11 \"Tool\", not 1 to 10"},
        {"TsBoxColor", R"(sortBy="Color")", R"(<Box color="Red"/><Box color="Purple"/>)" + hammer,
         "has a box of an unknown colour"},
        {"TsBoxType", R"(sortBy="Type")", R"(<Box type="Hammer"/><Box color="Red"/>)" + hammer,
         "has a box of an unknown type"},
        {"TsTwinBoxes", R"(sortBy="Color")", R"(<Box color="Red"/><Box color="Red"/>)" + hammer,
         "has two boxes for one colour"},
        {"TsToolType", R"(sortBy="Color")", two + R"(<Tool type="hammer" color="Red"/>)",
         "has a tool of an unknown type or colour"},
        {"TsToolColor", R"(sortBy="Type")", R"(<Box type="Hammer"/><Box type="Saw"/><Tool type="Saw"/>)",
         "has a tool of an unknown type or colour"},
        {"TsHomeless", R"(sortBy="Color")", two + R"(<Tool type="Drill" color="Yellow"/>)",
         "has a Yellow Drill that no box takes, so it could never end"},
    };
    ExpectLevels(L"Shed", cases, "Medium");
    const ToolShedLevel* byColor = Level("TsColor");
    ASSERT_NE(byColor, nullptr);
    EXPECT_EQ(byColor->tools, (std::vector<ToolShedTool>{{ToolShedToolType_Hammer, ToolShedToolColor_Red},
                                                         {ToolShedToolType_Pliers, ToolShedToolColor_Blue}}));
    // A colour box takes every kind of its colour and nothing else; a kind box every colour of its kind.
    EXPECT_EQ(byColor->BoxFor({ToolShedToolType_Saw, ToolShedToolColor_Blue}), 1);
    EXPECT_EQ(byColor->BoxFor({ToolShedToolType_Saw, ToolShedToolColor_Green}), -1);
    const ToolShedLevel* byType = Level("TsType");
    ASSERT_NE(byType, nullptr);
    EXPECT_EQ(byType->BoxFor({ToolShedToolType_Level, ToolShedToolColor_Yellow}), 1);
    EXPECT_FALSE(byType->Fits(byType->boxes[0], {ToolShedToolType_Level, ToolShedToolColor_Yellow}));
}

TEST_F(ToolShedLevelTest, EveryShippedLevelIsFiledAndEachDifficultyHasThreeThatGrowHarder)
{
    const ShippedByDifficulty shipped = ShippedLevels();
    size_t fewestBefore = 0;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        size_t fewest = kToolShedMaxTools;
        for (const auto& [name, level] : shipped[d])
        {
            fewest = std::min(fewest, level->tools.size());
            // Every box has a tool to take, so none stands there for nothing.
            for (const ToolShedTool& box : level->boxes)
                EXPECT_TRUE(std::any_of(level->tools.begin(), level->tools.end(),
                                        [&](const ToolShedTool& tool) { return level->Fits(box, tool); }))
                    << name;
        }
        EXPECT_GT(fewest, fewestBefore) << kGameModeDifficultyNames[d] << " has no more tools than the one before";
        fewestBefore = fewest;
    }
}

} // namespace
