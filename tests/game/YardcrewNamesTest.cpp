#include "game/YardcrewNames.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/GameModeTypes.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HereToThere/HereToThereLevel.h"
#include "game/StreetSigns/StreetSignLevel.h"
#include "game/ToolShed/ToolShedLevel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace Yardcrew;

namespace
{

// Each table keeps its own order: the same word sits at different positions.
TEST(YardcrewNamesTest, EachTableFindsItsOwnPositions)
{
    struct Case
    {
        std::span<const char* const> table;
        const char* name;
        int position;
    };
    const Case cases[] = {
        {kYardcrewColorNames, "Purple", YardcrewColor_Purple},
        {kHereToThereObjectColorNames, "Purple", HereToThereObjectColor_Purple},
        {kYardcrewColorNames, "Blue", 2},
        {kToolShedToolColorNames, "Blue", 1},
        {kFixItToolColorNames, "Blue", 2},
        {kHereToThereObjectColorNames, "Blue", 0},
        {kGameModeDifficultyNames, "Medium", GameModeDifficulty_Medium},
        {kGameModeDifficultyNames, "medium", -1},
        {kGameModeDifficultyNames, "Expert", -1},
        {kGameModeDifficultyNames, nullptr, -1},
        {kStreetSignShapeNames, "Circle", StreetSignShape_Circle},
        {kBuildingMaterialNames, "BricksBlue", BuildingMaterial_BricksBlue},
        {kToolShedToolTypeNames, "Pliers", ToolShedToolType_Pliers},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindName(c.table, c.name), c.position) << (c.name ? c.name : "(null)");

    EXPECT_EQ(kYardcrewColorLabels[YardcrewColor_Purple], Strata::Label("Purple"));
    const std::set<std::string> rollovers(std::begin(kBuildingMaterialRolloverSpriteTypes),
                                          std::end(kBuildingMaterialRolloverSpriteTypes));
    EXPECT_EQ(rollovers.size(), 5u);
    EXPECT_EQ(std::string(kBuildingMaterialRolloverSpriteTypes[BuildingMaterial_BricksBlue]),
              "Materials-Bricks-Rollover");
}

} // namespace
