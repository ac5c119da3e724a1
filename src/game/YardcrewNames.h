#pragma once

// The game's fixed name tables. An enumeration value is the position of its name in the table; names
// and Labels are built before main runs and live until exit. Level readers map a name missing from
// its table to -1 with FindName.

#include "core/Label.h"
#include "scene/NodePath.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace Yardcrew
{

// Position of `name` in `table`, compared exactly (case included); -1 when absent or null.
int FindName(std::span<const char* const> table, const char* name);
// The same for a name read from data: every wide character must equal the table's byte, so no
// character outside ASCII can alias a name.
int FindName(std::span<const char* const> table, std::wstring_view name);

// Standard layers of a game screen, resolved from the current scene root.
extern const Strata::NodePathStep kFXLayerPath[3];
extern const Strata::NodePathStep kUILayerPath[3];

enum YardcrewColor : int32_t
{
    YardcrewColor_None = -1,
    YardcrewColor_Red,
    YardcrewColor_Green,
    YardcrewColor_Blue,
    YardcrewColor_Yellow,
    YardcrewColor_Black,
    YardcrewColor_Orange,
    YardcrewColor_Purple,
    YardcrewColor_White,
    YardcrewColor_Brown,
    YardcrewColor_Gray,
    YardcrewColor_Count
};
extern const char* const kYardcrewColorNames[YardcrewColor_Count];
extern const Strata::Label kYardcrewColorLabels[YardcrewColor_Count];

enum YardcrewShape : int32_t
{
    YardcrewShape_None = -1,
    YardcrewShape_Square,
    YardcrewShape_Circle,
    YardcrewShape_Triangle,
    YardcrewShape_Star,
    YardcrewShape_Octagon,
    YardcrewShape_Rectangle,
    YardcrewShape_Count
};
extern const char* const kYardcrewShapeNames[YardcrewShape_Count];
extern const Strata::Label kYardcrewShapeLabels[YardcrewShape_Count];

enum YardcrewTool : int32_t
{
    YardcrewTool_None = -1,
    YardcrewTool_Hammer,
    YardcrewTool_Saw,
    YardcrewTool_Drill,
    YardcrewTool_Brush,
    YardcrewTool_Wrench,
    YardcrewTool_Screwdriver,
    YardcrewTool_Level,
    YardcrewTool_Pliers,
    YardcrewTool_Count
};
extern const char* const kYardcrewToolNames[YardcrewTool_Count];
extern const Strata::Label kYardcrewToolLabels[YardcrewTool_Count];

enum YardcrewMaterial : int32_t
{
    YardcrewMaterial_None = -1,
    YardcrewMaterial_Plant,
    YardcrewMaterial_Bricks,
    YardcrewMaterial_Log,
    YardcrewMaterial_Cement,
    YardcrewMaterial_Cone,
    YardcrewMaterial_Count
};
extern const char* const kYardcrewMaterialNames[YardcrewMaterial_Count];
extern const Strata::Label kYardcrewMaterialLabels[YardcrewMaterial_Count];

enum StreetSignColor : int32_t
{
    StreetSignColor_None = -1,
    StreetSignColor_Red,
    StreetSignColor_Green,
    StreetSignColor_Blue,
    StreetSignColor_Orange,
    StreetSignColor_Yellow,
    StreetSignColor_Count
};
extern const char* const kStreetSignColorNames[StreetSignColor_Count];

enum StreetSignShape : int32_t
{
    StreetSignShape_None = -1,
    StreetSignShape_Rectangle,
    StreetSignShape_Square,
    StreetSignShape_Octagon,
    StreetSignShape_Triangle,
    StreetSignShape_Circle,
    StreetSignShape_Count
};
extern const char* const kStreetSignShapeNames[StreetSignShape_Count];
// Sprite types, parallel to the shapes.
extern const Strata::Label kStreetSignSpriteTypes[StreetSignShape_Count];

enum ToolShedToolColor : int32_t
{
    ToolShedToolColor_None = -1,
    ToolShedToolColor_Red,
    ToolShedToolColor_Blue,
    ToolShedToolColor_Green,
    ToolShedToolColor_Yellow,
    ToolShedToolColor_Count
};
extern const char* const kToolShedToolColorNames[ToolShedToolColor_Count];

enum ToolShedToolType : int32_t
{
    ToolShedToolType_None = -1,
    ToolShedToolType_Brush,
    ToolShedToolType_Drill,
    ToolShedToolType_Hammer,
    ToolShedToolType_Wrench,
    ToolShedToolType_Saw,
    ToolShedToolType_Screwdriver,
    ToolShedToolType_Level,
    ToolShedToolType_Pliers,
    ToolShedToolType_Count
};
extern const char* const kToolShedToolTypeNames[ToolShedToolType_Count];
// Sprite types, parallel to the tool types.
extern const Strata::Label kToolShedToolSpriteTypes[ToolShedToolType_Count];

enum StackObjectColor : int32_t
{
    StackObjectColor_None = -1,
    StackObjectColor_Red,
    StackObjectColor_Blue,
    StackObjectColor_Count
};
extern const char* const kStackObjectColorNames[StackObjectColor_Count];

enum StackObjectType : int32_t
{
    StackObjectType_None = -1,
    StackObjectType_Girder,
    StackObjectType_Log,
    StackObjectType_Count
};
extern const char* const kStackObjectTypeNames[StackObjectType_Count];

enum FixItToolType : int32_t
{
    FixItToolType_None = -1,
    FixItToolType_Wrench,
    FixItToolType_DriverPlus,
    FixItToolType_DriverMinus,
    FixItToolType_Count
};
extern const char* const kFixItToolTypeNames[FixItToolType_Count];

enum FixItToolColor : int32_t
{
    FixItToolColor_None = -1,
    FixItToolColor_Red,
    FixItToolColor_Green,
    FixItToolColor_Blue,
    FixItToolColor_Yellow,
    FixItToolColor_Count
};
extern const char* const kFixItToolColorNames[FixItToolColor_Count];

enum BuildingMaterial : int32_t
{
    BuildingMaterial_None = -1,
    BuildingMaterial_Plant,
    BuildingMaterial_LogRed,
    BuildingMaterial_LogBrown,
    BuildingMaterial_LogYellow,
    BuildingMaterial_ConeOrange,
    BuildingMaterial_ConeRed,
    BuildingMaterial_ConeYellow,
    BuildingMaterial_CementBlue,
    BuildingMaterial_CementGray,
    BuildingMaterial_CementRed,
    BuildingMaterial_BricksRed,
    BuildingMaterial_BricksGray,
    BuildingMaterial_BricksBlue,
    BuildingMaterial_Count
};
extern const char* const kBuildingMaterialNames[BuildingMaterial_Count];
// Sprite types and roll-over sprite types, parallel to the materials.
extern const char* const kBuildingMaterialSpriteTypes[BuildingMaterial_Count];
extern const char* const kBuildingMaterialRolloverSpriteTypes[BuildingMaterial_Count];

enum HereToThereObjectColor : int32_t
{
    HereToThereObjectColor_None = -1,
    HereToThereObjectColor_Blue,
    HereToThereObjectColor_Green,
    HereToThereObjectColor_Purple,
    HereToThereObjectColor_Yellow,
    HereToThereObjectColor_Count
};
extern const char* const kHereToThereObjectColorNames[HereToThereObjectColor_Count];

enum HereToThereObjectShape : int32_t
{
    HereToThereObjectShape_None = -1,
    HereToThereObjectShape_Square,
    HereToThereObjectShape_Circle,
    HereToThereObjectShape_Triangle,
    HereToThereObjectShape_Star,
    HereToThereObjectShape_Count
};
extern const char* const kHereToThereObjectShapeNames[HereToThereObjectShape_Count];

// The fence painter's colours; they have no names of their own (the game's content names its boards and
// brushes).
enum HousePaintColor : int32_t
{
    HousePaintColor_None = -1,
    HousePaintColor_Red,
    HousePaintColor_Green,
    HousePaintColor_Blue,
    HousePaintColor_Yellow,
    HousePaintColor_Count
};

} // namespace Yardcrew
