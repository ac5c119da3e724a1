#include "game/YardcrewNames.h"

#include <algorithm>
#include <cstring>

namespace Yardcrew
{

int FindName(std::span<const char* const> table, const char* name)
{
    if (name == nullptr)
        return -1;
    for (size_t i = 0; i < table.size(); ++i)
        if (std::strcmp(table[i], name) == 0)
            return static_cast<int>(i);
    return -1;
}

int FindName(std::span<const char* const> table, std::wstring_view name)
{
    for (size_t i = 0; i < table.size(); ++i)
    {
        const std::string_view entry = table[i];
        if (entry.size() == name.size() && std::equal(entry.begin(), entry.end(), name.begin(),
                                                      [](char a, wchar_t b) { return static_cast<wchar_t>(a) == b; }))
            return static_cast<int>(i);
    }
    return -1;
}

// Definition order is initialisation order within this file: node paths, general tables, then the
// tables of single mini-games.

const Strata::NodePathStep kFXLayerPath[3] = {"GameScreenRoot", "FX_Layer", Strata::NodePathTerminator()};
const Strata::NodePathStep kUILayerPath[3] = {"GameScreenRoot", "UI_attach", Strata::NodePathTerminator()};

#define YARDCREW_COLORS "Red", "Green", "Blue", "Yellow", "Black", "Orange", "Purple", "White", "Brown", "Gray"
const char* const kYardcrewColorNames[YardcrewColor_Count] = {YARDCREW_COLORS};
const Strata::Label kYardcrewColorLabels[YardcrewColor_Count] = {YARDCREW_COLORS};
#undef YARDCREW_COLORS

#define YARDCREW_SHAPES "Square", "Circle", "Triangle", "Star", "Octagon", "Rectangle"
const char* const kYardcrewShapeNames[YardcrewShape_Count] = {YARDCREW_SHAPES};
const Strata::Label kYardcrewShapeLabels[YardcrewShape_Count] = {YARDCREW_SHAPES};
#undef YARDCREW_SHAPES

#define YARDCREW_TOOLS "Hammer", "Saw", "Drill", "Brush", "Wrench", "Screwdriver", "Level", "Pliers"
const char* const kYardcrewToolNames[YardcrewTool_Count] = {YARDCREW_TOOLS};
const Strata::Label kYardcrewToolLabels[YardcrewTool_Count] = {YARDCREW_TOOLS};
#undef YARDCREW_TOOLS

#define YARDCREW_MATERIALS "Plant", "Bricks", "Log", "Cement", "Cone"
const char* const kYardcrewMaterialNames[YardcrewMaterial_Count] = {YARDCREW_MATERIALS};
const Strata::Label kYardcrewMaterialLabels[YardcrewMaterial_Count] = {YARDCREW_MATERIALS};
#undef YARDCREW_MATERIALS

const char* const kStreetSignColorNames[StreetSignColor_Count] = {"Red", "Green", "Blue", "Orange", "Yellow"};
const char* const kStreetSignShapeNames[StreetSignShape_Count] = {"Rectangle", "Square", "Octagon", "Triangle",
                                                                  "Circle"};
const Strata::Label kStreetSignSpriteTypes[StreetSignShape_Count] = {
    "StreetSigns_SignRectangle", "StreetSigns_SignSquare", "StreetSigns_SignOctagon", "StreetSigns_SignTriangle",
    "StreetSigns_SignCircle"};

const char* const kToolShedToolColorNames[ToolShedToolColor_Count] = {"Red", "Blue", "Green", "Yellow"};
const char* const kToolShedToolTypeNames[ToolShedToolType_Count] = {"Brush", "Drill",       "Hammer", "Wrench",
                                                                    "Saw",   "Screwdriver", "Level",  "Pliers"};
const Strata::Label kToolShedToolSpriteTypes[ToolShedToolType_Count] = {
    "ToolShedTool_Brush", "ToolShedTool_Drill",       "ToolShedTool_Hammer", "ToolShedTool_Wrench",
    "ToolShedTool_Saw",   "ToolShedTool_Screwdriver", "ToolShedTool_Level",  "ToolShedTool_Pliers"};

const char* const kStackObjectColorNames[StackObjectColor_Count] = {"Red", "Blue"};
const char* const kStackObjectTypeNames[StackObjectType_Count] = {"Girder", "Log"};

const char* const kFixItToolTypeNames[FixItToolType_Count] = {"Wrench", "DriverPlus", "DriverMinus"};
const char* const kFixItToolColorNames[FixItToolColor_Count] = {"Red", "Green", "Blue", "Yellow"};

const char* const kBuildingMaterialNames[BuildingMaterial_Count] = {
    "Plant",      "LogRed",     "LogBrown",  "LogYellow", "ConeOrange", "ConeRed",   "ConeYellow",
    "CementBlue", "CementGray", "CementRed", "BricksRed", "BricksGray", "BricksBlue"};
const char* const kBuildingMaterialSpriteTypes[BuildingMaterial_Count] = {
    "Materials-Plant",        "Materials-Logs-Red",   "Materials-Logs-Brown",   "Materials-Logs-Yellow",
    "Materials-Cones-Orange", "Materials-Cones-Red",  "Materials-Cones-Yellow", "Materials-Cement-Blue",
    "Materials-Cement-Gray",  "Materials-Cement-Red", "Materials-Bricks-Red",   "Materials-Bricks-Gray",
    "Materials-Bricks-Blue"};
const char* const kBuildingMaterialRolloverSpriteTypes[BuildingMaterial_Count] = {
    "Materials-Plant-Rollover",  "Materials-Logs-Rollover",   "Materials-Logs-Rollover",   "Materials-Logs-Rollover",
    "Materials-Cones-Rollover",  "Materials-Cones-Rollover",  "Materials-Cones-Rollover",  "Materials-Cement-Rollover",
    "Materials-Cement-Rollover", "Materials-Cement-Rollover", "Materials-Bricks-Rollover", "Materials-Bricks-Rollover",
    "Materials-Bricks-Rollover"};

const char* const kHereToThereObjectColorNames[HereToThereObjectColor_Count] = {"Blue", "Green", "Purple", "Yellow"};
const char* const kHereToThereObjectShapeNames[HereToThereObjectShape_Count] = {"Square", "Circle", "Triangle", "Star"};

} // namespace Yardcrew
