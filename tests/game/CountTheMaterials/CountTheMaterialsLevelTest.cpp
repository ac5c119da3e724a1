#include "game/CountTheMaterials/CountTheMaterialsLevel.h"

#include "../LevelReaderTestSupport.h"

using namespace GameTesting;

namespace
{

using CountTheMaterialsLevelTest = LevelReaderTest<CountTheMaterialsLevelResourceFactory>;

TEST_F(CountTheMaterialsLevelTest, OnlyPlayableLevelsAreFiledAndEachRefusalIsLoggedOnce)
{
    const sLevelCase cases[] = {
        {"CtmOne", R"(difficulty="Easy")",
         R"(<Request material="Plant" number="2"/><Material type="Plant" number="2"/>)", nullptr},
        {"CtmFive", R"(difficulty="Hard")",
         R"(<Request material="BricksBlue" number="4"/><Material type="BricksRed" number="4"/>
            <Material type="BricksBlue" number="3"/><Material type="BricksBlue" number="4"/>
            <Material type="ConeRed" number="1"/><Material type="LogBrown" number="10"/><Note/>)",
         nullptr},
        {"CtmNoDifficulty", R"(difficulty="Expert")",
         R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/>)",
         "has no known difficulty (\"Expert\")"},
        {"CtmSix", R"(difficulty="Medium")",
         R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/><Material type="Plant" number="2"/>
            <Material type="Plant" number="3"/><Material type="Plant" number="4"/><Material type="Plant" number="5"/>
            <Material type="Plant" number="6"/>)",
         "has more than 5 \"Material\" piles"},
        {"CtmNoMatch", R"(difficulty="Medium")",
         R"(<Request material="LogRed" number="3"/><Material type="LogRed" number="2"/>
            <Material type="LogBrown" number="3"/>)",
         "has no pile equal to its request"},
        {"CtmTooMany", R"(difficulty="Medium")",
         R"(<Request material="Plant" number="11"/><Material type="Plant" number="11"/>)",
         "has a \"Request\" of \"number\" 11, not 1 to 10"},
        {"CtmEmptyPile", R"(difficulty="Medium")",
         R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/>
            <Material type="ConeRed"/>)",
         "has a \"Material\" pile of \"number\" 0"},
        {"CtmCase", R"(difficulty="Medium")",
         R"(<Request material="Plant" number="1"/><Material type="Plant" number="1"/>
            <Material type="logred" number="1"/>)",
         "has a pile of an unknown material"},
        {"CtmBadRequest", R"(difficulty="Medium")",
         R"(<Request material="Gravel" number="1"/><Material type="Plant" number="1"/>)",
         "requests an unknown material"},
        {"CtmNoRequest", R"(difficulty="Medium")", R"(<Material type="Plant" number="1"/>)", "has no \"Request\""},
        {"CtmNoPiles", R"(difficulty="Medium")", R"(<Request material="Plant" number="1"/>)",
         "has no \"Material\" pile"},
    };
    ExpectLevels(L"Counting", cases, nullptr);

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
    size_t fewest = kCountTheMaterialsMaxPiles;
    size_t most = 0;
    for (const auto& levels : ShippedLevels())
        for (const auto& [name, level] : levels)
        {
            fewest = std::min(fewest, level->piles.size());
            most = std::max(most, level->piles.size());
        }
    EXPECT_EQ(fewest, 1u);
    EXPECT_EQ(most, kCountTheMaterialsMaxPiles);
}

} // namespace
