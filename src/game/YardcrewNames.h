#pragma once

// The word tables the audio manager speaks from and several games share, and the lookup every level
// reader uses; a game's own enumerations and tables are in its level header. An enumeration value is
// the position of its name in the table; names and Labels are built before main runs and live until
// exit. Level readers map a name missing from its table to -1 with FindName.

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

} // namespace Yardcrew
