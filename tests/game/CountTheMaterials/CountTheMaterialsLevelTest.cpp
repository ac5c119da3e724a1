#include "game/CountTheMaterials/CountTheMaterialsLevel.h"

#include "game/LevelManager.h"

#include "../GameServicesTestSupport.h"

#include <fstream>
#include <set>
#include <sstream>
#include <string>

using namespace GameTesting;
using Strata::Label;

namespace
{

class CountTheMaterialsLevelTest : public GameServicesTest
{
protected:
    void SetUp() override
    {
        GameServicesTest::SetUp();
        manager->AddResourceFactory(L"CountTheMaterialsLevel", new CountTheMaterialsLevelResourceFactory());
    }

    // Every level filed for the game at the difficulty, found by drawing until the draws repeat.
    static std::set<std::string> FiledAt(GameModeDifficulty difficulty)
    {
        LevelManager& levels = GetLevelManager();
        levels.difficulty = difficulty;
        std::set<std::string> seen;
        for (int i = 0; i < 400; ++i)
        {
            const Label level = levels.getLevelForGameModeType(GameModeType_CountTheMaterials);
            if (level)
                seen.insert(level.c_str());
        }
        return seen;
    }

    const CountTheMaterialsLevel* Level(const char* name)
    {
        return dynamic_cast<const CountTheMaterialsLevel*>(manager->GetResource(Label(name)).get());
    }
};

TEST_F(CountTheMaterialsLevelTest, OnlyPlayableLevelsAreFiledAndEachRefusalIsLoggedOnce)
{
    struct Case
    {
        const char* name;
        const char* difficulty;
        const char* children;
        const char* logged; // null when the level is filed
    };
    const Case cases[] = {
        {"CtmOne", "Easy", R"(<Request material="Plant" number="2"/><Material type="Plant" number="2"/>)", nullptr},
        {"CtmFive", "Hard",
         R"(<Request material="BricksBlue" number="4"/><Material type="BricksRed" number="4"/>
            <Material type="BricksBlue" number="3"/><Material type="BricksBlue" number="4"/>
            <Material type="ConeRed" number="1"/><Material type="LogBrown" number="10"/><Note/>)",
         nullptr},
        {"CtmNoDifficulty", "Expert", R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/>)",
         "has no known difficulty (\"Expert\")"},
        {"CtmSix", "Medium",
         R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/><Material type="Plant" number="2"/>
            <Material type="Plant" number="3"/><Material type="Plant" number="4"/><Material type="Plant" number="5"/>
            <Material type="Plant" number="6"/>)",
         "has more than 5 piles"},
        {"CtmNoMatch", "Medium", R"(<Request material="LogRed" number="3"/><Material type="LogRed" number="2"/>
            <Material type="LogBrown" number="3"/>)",
         "has no pile equal to its request"},
        {"CtmTooMany", "Medium", R"(<Request material="Plant" number="11"/><Material type="Plant" number="11"/>)",
         "requests 11 items, not 1 to 10"},
        {"CtmEmptyPile", "Medium", R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/>
            <Material type="ConeRed"/>)",
         "has a pile of 0 items"},
        {"CtmCase", "Medium", R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/>
            <Material type="logred" number="1"/>)",
         "has a pile of an unknown material"},
        {"CtmBadRequest", "Medium", R"(<Request material="Gravel" number="1"/><Material type="Plant" number="1"/>)",
         "requests an unknown material"},
        {"CtmNoRequest", "Medium", R"(<Material type="Plant" number="1"/>)", "has no \"Request\""},
        {"CtmNoPiles", "Medium", R"(<Request material="Plant" number="1"/>)", "has no \"Material\" pile"},
    };
    std::string body;
    for (const Case& c : cases)
        body += std::string("<CountTheMaterialsLevel name=\"") + c.name + "\" difficulty=\"" + c.difficulty + "\">" +
                c.children + "</CountTheMaterialsLevel>\n";
    LoadManifest(L"Counting", body);
    const std::string log = TakeLog();

    const std::set<std::string> filed = FiledLevels(GameModeType_CountTheMaterials);
    for (const Case& c : cases)
    {
        EXPECT_EQ(filed.count(c.name) == 1, c.logged == nullptr) << c.name;
        const std::string line = LevelLogLine(log, "Counting", c.name);
        if (c.logged == nullptr)
        {
            EXPECT_EQ(line, "") << c.name;
            continue;
        }
        EXPECT_NE(line.find(c.logged), std::string::npos) << c.name << ": " << line;
        EXPECT_NE(line.find("it is not filed"), std::string::npos) << line;
    }

    // The filed five-pile level keeps its piles in file order and ignores unknown tags.
    const CountTheMaterialsLevel* five = Level("CtmFive");
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->piles, (std::vector<MaterialData>{{BuildingMaterial_BricksRed, 4},
                                                      {BuildingMaterial_BricksBlue, 3},
                                                      {BuildingMaterial_BricksBlue, 4},
                                                      {BuildingMaterial_ConeRed, 1},
                                                      {BuildingMaterial_LogBrown, 10}}));
    EXPECT_EQ(std::count_if(five->piles.begin(), five->piles.end(),
                            [five](const MaterialData& pile) { return five->IsRequested(pile); }),
              1);
}

TEST_F(CountTheMaterialsLevelTest, ReadingFollowsTheLastRequestAndExactNames)
{
    LoadManifest(L"Reading", R"(<CountTheMaterialsLevel name="CtmReread" difficulty="Easy">
        <Request material="ConeRed" number="2"/>
        <Material type="ConeYellow" number=" +3"/>
        <Request material="ConeYellow" number="3"/>
        <Material type="CONEYELLOW" number="x"/>
      </CountTheMaterialsLevel>)");
    const CountTheMaterialsLevel* level = Level("CtmReread");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->requestMaterial, BuildingMaterial_ConeYellow);
    EXPECT_EQ(level->requestNumber, 3);
    EXPECT_EQ(level->piles, (std::vector<MaterialData>{{BuildingMaterial_ConeYellow, 3}, {BuildingMaterial_None, 0}}));

    for (int i = 0; i < BuildingMaterial_Count; ++i)
    {
        const std::string name = kBuildingMaterialNames[i];
        EXPECT_EQ(ParseBuildingMaterial(std::wstring(name.begin(), name.end())), i) << name;
    }
    EXPECT_EQ(ParseBuildingMaterial(L"Plants"), BuildingMaterial_None);
    EXPECT_EQ(ParseBuildingMaterial(L""), BuildingMaterial_None);
}

TEST_F(CountTheMaterialsLevelTest, ShippedLevelsAreAllPlayableAndGrowFromOneToFivePiles)
{
    std::ifstream file(std::string(MENAGERIE_DATA_DIR) + "/CountTheMaterialsMode.xml", std::ios::binary);
    ASSERT_TRUE(file.good());
    std::ostringstream text;
    text << file.rdbuf();
    files.AddFile(L"CountTheMaterialsMode.xml", text.str());
    ASSERT_TRUE(manager->Load(L"CountTheMaterialsMode")->IsComplete());
    EXPECT_EQ(TakeLog().find("not filed"), std::string::npos);

    size_t fewest = kCountTheMaterialsMaxPiles;
    size_t most = 0;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        int shipped = 0;
        for (const std::string& name : FiledAt(static_cast<GameModeDifficulty>(d)))
        {
            if (name.rfind("CountTheMaterials_", 0) != 0)
                continue;
            ++shipped;
            const CountTheMaterialsLevel* level = Level(name.c_str());
            ASSERT_NE(level, nullptr) << name;
            fewest = std::min(fewest, level->piles.size());
            most = std::max(most, level->piles.size());
        }
        EXPECT_GE(shipped, 3) << "difficulty " << d;
    }
    EXPECT_EQ(fewest, 1u);
    EXPECT_EQ(most, kCountTheMaterialsMaxPiles);
}

} // namespace
