#include "game/ToolShed/ToolShedLevel.h"

#include "game/LevelManager.h"

#include "../GameServicesTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

using namespace GameTesting;
using Strata::Label;

namespace
{

using ToolShedLevelTest = LevelReaderTest<ToolShedLevelResourceFactory>;

TEST_F(ToolShedLevelTest, OnlyPlayableLevelsAreFiledAndEachRefusalIsLoggedOnce)
{
    struct Case
    {
        const char* name;
        const char* sortBy;
        std::string children;
        const char* logged; // null when the level is filed
    };
    const std::string two = R"(<Box color="Red"/><Box color="Blue"/>)";
    const std::string hammer = R"(<Tool type="Hammer" color="Red"/>)";
    std::string elevenTools;
    for (int i = 0; i < 11; ++i)
        elevenTools += hammer;
    const Case cases[] = {
        {"TsColor", "Color", two + hammer + R"(<Tool type="Pliers" color="Blue"/><Note/>)", nullptr},
        {"TsType", "Type", R"(<Box type="Hammer" color="Purple"/><Box type="Level"/>)" + hammer, nullptr},
        {"TsNoSort", nullptr, two + hammer, "has no \"sortBy\" of \"Type\" or \"Color\""},
        {"TsLowerSort", "color", two + hammer, "has no \"sortBy\""},
        {"TsOneBox", "Color", R"(<Box color="Red"/>)" + hammer, "has 1 boxes, not 2 to 4"},
        {"TsFiveBoxes", "Color", two + two + R"(<Box color="Green"/>)" + hammer, "has 5 boxes, not 2 to 4"},
        {"TsNoTools", "Color", two, "has 0 tools, not 1 to 10"},
        {"TsElevenTools", "Color", two + elevenTools, "has 11 tools, not 1 to 10"},
        {"TsBoxColor", "Color", R"(<Box color="Red"/><Box color="Purple"/>)" + hammer,
         "has a box of an unknown colour"},
        {"TsBoxType", "Type", R"(<Box type="Hammer"/><Box color="Red"/>)" + hammer, "has a box of an unknown type"},
        {"TsTwinBoxes", "Color", R"(<Box color="Red"/><Box color="Red"/>)" + hammer, "has two boxes for one colour"},
        {"TsToolType", "Color", two + R"(<Tool type="hammer" color="Red"/>)",
         "has a tool of an unknown type or colour"},
        {"TsToolColor", "Type", R"(<Box type="Hammer"/><Box type="Saw"/><Tool type="Saw"/>)",
         "has a tool of an unknown type or colour"},
        {"TsHomeless", "Color", two + R"(<Tool type="Drill" color="Yellow"/>)",
         "has a Yellow Drill that no box takes, so it could never end"},
    };
    ExpectFiledUnlessLogged(
        L"Shed", cases,
        [](const Case& c)
        {
            return std::pair(std::string("difficulty=\"Medium\"") +
                                 (c.sortBy != nullptr ? std::string(" sortBy=\"") + c.sortBy + "\"" : std::string()),
                             c.children);
        });
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
    // The whole manifest: only the level reader is known here, so the rest is passed over.
    std::ifstream file(std::filesystem::path(MENAGERIE_DATA_DIR) / "ToolShedMode.xml", std::ios::binary);
    GetLevelManager().clearLevels();
    LoadManifest(L"Shipped", std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    EXPECT_EQ(TakeLog().find("Level \""), std::string::npos);

    size_t fewestBefore = 0;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const std::set<std::string> seen = DrawnLevels(GameModeType_ToolShed, static_cast<GameModeDifficulty>(d));
        EXPECT_GE(seen.size(), 3u) << kGameModeDifficultyNames[d];
        size_t fewest = kToolShedMaxTools;
        for (const std::string& name : seen)
        {
            const ToolShedLevel* level = Level(name.c_str());
            ASSERT_NE(level, nullptr) << name;
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
