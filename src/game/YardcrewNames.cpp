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

// Definition order is initialisation order within this file: node paths, then the word tables.

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

} // namespace Yardcrew
