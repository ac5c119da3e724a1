#pragma once

// A level of the counting game: the material piles on the playfield and what the tipper asks for.
//
//   <CountTheMaterialsLevel name="..." difficulty="Easy">
//     <Request material="LogRed" number="3"/>
//     <Material type="LogRed" number="3"/>   (one to kCountTheMaterialsMaxPiles of these)
//
// Every "number" is 1 to kCountTheMaterialsMaxItems.
//   </CountTheMaterialsLevel>

#include "game/GameLevelReaders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{
class XMLElement;
}

namespace Yardcrew
{

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

// The playfield has five pile places.
constexpr size_t kCountTheMaterialsMaxPiles = 5;
// Every count image list holds this many frames: frame n - 1 shows n items.
constexpr int32_t kCountTheMaterialsMaxItems = 10;

struct MaterialData
{
    BuildingMaterial material = BuildingMaterial_None;
    int32_t number = 0;

    bool operator==(const MaterialData&) const = default;
};

enum eMaterialJudgement : int
{
    MaterialJudgement_Requested,
    MaterialJudgement_WrongKind,
    MaterialJudgement_TooFew,
    MaterialJudgement_TooMany,
};

struct CountTheMaterialsLevel
{
    std::vector<MaterialData> piles;
    BuildingMaterial requestMaterial = BuildingMaterial_None;
    int32_t requestNumber = 0;
    bool hasRequest = false;

    // "Request" sets the request (a later one replaces it); "Material" appends a pile; any other tag
    // is ignored. Names match the material table exactly; a missing number reads as 0.
    void ReadChild(const Strata::XMLElement& element);
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;
    // What is wrong with the pile, the kind first, then the number; MaterialJudgement_Requested for the
    // pile asked for.
    eMaterialJudgement Judge(const MaterialData& pile) const;
    // Whether the pile wins the round.
    bool IsRequested(const MaterialData& pile) const { return Judge(pile) == MaterialJudgement_Requested; }
};

// The material the name spells exactly, or BuildingMaterial_None.
BuildingMaterial ParseBuildingMaterial(const std::wstring& text);

using CountTheMaterialsLevelResourceFactory = GameLevelReader<CountTheMaterialsLevel, GameModeType_CountTheMaterials>;

} // namespace Yardcrew
