#include "game/HideAndSeek/HideAndSeekLevel.h"

#include "game/LevelManager.h"

#include "../GameServicesTestSupport.h"

#include <set>
#include <string>

using namespace GameTesting;
using Strata::Label;

namespace
{

class HideAndSeekLevelTest : public GameServicesTest
{
protected:
    void SetUp() override
    {
        GameServicesTest::SetUp();
        manager->AddResourceFactory(L"HideAndSeekLevel", new HideAndSeekLevelResourceFactory());
    }
};

TEST_F(HideAndSeekLevelTest, LevelsAreReadWithTheirDefaultsAndOnlyPlayableOnesAreFiled)
{
    struct Case
    {
        const char* name;
        const char* attributes;
        const char* children;
        const char* logged; // null when the level is filed
    };
    const char* const two = R"(<Obstacle imageID="1"/><Obstacle imageID="5"/>)";
    const Case cases[] = {
        {"HasSix", R"(numHides="3" numPreviewHides="4" runSpeed="300")",
         R"(<Obstacle imageID="2"/><Obstacle imageID="0"/><Note imageID="9"/><Obstacle imageID="4"></Obstacle>
            <Obstacle imageID="1"/><Obstacle/><Obstacle imageID="5"/>)",
         nullptr},
        {"HasNoTail", R"(numPreviewHides="1" runSpeed="0.5" showTail="false")", two, nullptr},
        {"HasNoSequence", R"(numHides="2" runSpeed="300")", two, "has \"numPreviewHides\" 0, so the cat never hides"},
        {"HasNegativeSequence", R"(numPreviewHides="-2" runSpeed="300")", two, "has \"numPreviewHides\" -2"},
        {"HasNoSpeed", R"(numPreviewHides="2")", two, "has \"runSpeed\" 0.000000, not above 0"},
        {"HasBackwardSpeed", R"(numPreviewHides="2" runSpeed="-40")", two, "not above 0"},
        {"HasOneObstacle", R"(numPreviewHides="1" runSpeed="300")", R"(<Obstacle imageID="1"/>)",
         "has 1 \"Obstacle\", not at least 2"},
        {"HasNoObstacle", R"(numPreviewHides="1" runSpeed="300")", "<obstacle/>", "has 0 \"Obstacle\""},
        {"HasPastTheList", R"(numPreviewHides="1" runSpeed="300")", R"(<Obstacle imageID="1"/><Obstacle imageID="6"/>)",
         "has an obstacle picture 6, not 0 to 5"},
        {"HasBeforeTheList", R"(numPreviewHides="1" runSpeed="300")", R"(<Obstacle imageID="-1"/><Obstacle/>)",
         "has an obstacle picture -1"},
    };
    std::string body;
    for (const Case& c : cases)
        body += std::string("<HideAndSeekLevel name=\"") + c.name + "\" difficulty=\"Hard\" " + c.attributes + ">" +
                c.children + "</HideAndSeekLevel>\n";
    LoadManifest(L"Seek", body);
    const std::string log = TakeLog();

    const std::set<std::string> filed = FiledLevels(GameModeType_HideAndSeek);
    for (const Case& c : cases)
    {
        EXPECT_EQ(filed.count(c.name) == 1, c.logged == nullptr) << c.name;
        const std::string line = LevelLogLine(log, "Seek", c.name);
        if (c.logged == nullptr)
            EXPECT_EQ(line, "") << c.name;
        else
            EXPECT_NE(line.find(c.logged), std::string::npos) << c.name << ": " << line;
    }

    const auto* six = dynamic_cast<const HideAndSeekLevel*>(manager->GetResource(Label("HasSix")).get());
    const auto* noTail = dynamic_cast<const HideAndSeekLevel*>(manager->GetResource(Label("HasNoTail")).get());
    const auto* bare = dynamic_cast<const HideAndSeekLevel*>(manager->GetResource(Label("HasNoSequence")).get());
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

} // namespace
