#include "game/PileOfLeaves/PileOfLeavesLevel.h"

#include "game/LevelManager.h"

#include "../GameServicesTestSupport.h"

#include <set>
#include <string>

using namespace GameTesting;
using Strata::Label;

namespace
{

class PileOfLeavesLevelTest : public GameServicesTest
{
protected:
    void SetUp() override
    {
        GameServicesTest::SetUp();
        manager->AddResourceFactory(L"PileOfLeavesLevel", new PileOfLeavesLevelResourceFactory());
    }
};

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
        {"PolFull", R"(numTools="22" areaCover="300" toolCover="30" cursorRadius="0")", {22, 0, 300, 30}, nullptr},
        {"PolNone", "", {0, 100, 0, 0}, "has 0 tools, not 1 to 22"},
        {"PolCrowd", R"(numTools="23")", {23, 100, 0, 0}, "has 23 tools, not 1 to 22"},
        {"PolHuge", R"(numTools="2000000000")", {2000000000, 100, 0, 0}, "has 2000000000 tools"},
        {"PolBareArea", R"(numTools="3" areaCover="-1")", {3, 100, -1, 0}, "has -1 area leaves, not 0 to 300"},
        {"PolDeep", R"(numTools="3" toolCover="31")", {3, 100, 0, 31}, "has 31 leaves per tool, not 0 to 30"},
        {"PolWide", R"(numTools="3" cursorRadius="-5")", {3, -5, 0, 0}, "has -5 pixels of cursor radius"},
    };
    std::string body;
    for (const Case& c : cases)
        body += std::string("<PileOfLeavesLevel name=\"") + c.name + "\" difficulty=\"Hard\" " + c.attributes +
                "><Tool/></PileOfLeavesLevel>\n";
    LoadManifest(L"Leaves", body);
    const std::string log = TakeLog();

    const std::set<std::string> filed = FiledLevels(GameModeType_PileOfLeaves);
    for (const Case& c : cases)
    {
        const auto* level = dynamic_cast<const PileOfLeavesLevel*>(manager->GetResource(Label(c.name)).get());
        ASSERT_NE(level, nullptr) << c.name;
        EXPECT_EQ(level->numTools, c.read.numTools) << c.name;
        EXPECT_EQ(level->cursorRadius, c.read.cursorRadius) << c.name;
        EXPECT_EQ(level->areaCover, c.read.areaCover) << c.name;
        EXPECT_EQ(level->toolCover, c.read.toolCover) << c.name;
        EXPECT_GE(level->ToolCount(), 0);
        EXPECT_LE(level->ToolCount(), kPileOfLeavesMaxTools);
        EXPECT_EQ(filed.count(c.name) == 1, c.logged == nullptr) << c.name;
        const std::string line = LevelLogLine(log, "Leaves", c.name);
        if (c.logged == nullptr)
            EXPECT_EQ(line, "") << c.name;
        else
            EXPECT_NE(line.find(c.logged), std::string::npos) << c.name << ": " << line;
    }
}

} // namespace
