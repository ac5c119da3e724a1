#pragma once

// A level of the delivery game: the caged animals at the loading area, each marked with the shape and
// colour of its house, how many real houses stand on the street, and whether the decoys keep clear of
// every animal's colour.
//
//   <HereToThereLevel name="..." difficulty="Easy" numBuildings="4" matchColor="true">
//     <Animal type="Square" color="Blue"/>   (one to kHereToThereMaxAnimals, in the order of the
//                                               loading spots)
//   </HereToThereLevel>
//
// "type" is a shape ("Square", "Circle", "Triangle", "Star"), "color" a colour ("Blue", "Green",
// "Purple", "Yellow"), both spelt exactly. "numBuildings" (default 0, at most
// kHereToThereMaxBuildings) counts the animals' own houses too; every animal gets a house even when it
// is smaller. With "matchColor" true no decoy shows an animal's colour; otherwise a decoy may share an
// animal's shape or its colour, never both.

#include "game/GameLevelReaders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{
class XMLElement;
class IAttributeContainer;
} // namespace Strata

namespace Yardcrew
{

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

// The loading area has four spots and the street twelve plots.
constexpr size_t kHereToThereMaxAnimals = 4;
constexpr int32_t kHereToThereMaxBuildings = 12;

// The mark on a cage or on a house's flag.
struct HereToThereMark
{
    HereToThereObjectShape shape = HereToThereObjectShape_None;
    HereToThereObjectColor color = HereToThereObjectColor_None;

    bool operator==(const HereToThereMark&) const = default;
};

struct HereToThereLevel
{
    int32_t numBuildings = 0;
    bool matchColor = false;
    // The animals in the order of the loading spots.
    std::vector<HereToThereMark> animals;

    void ReadAttributes(const Strata::IAttributeContainer& attributes);
    // "Animal" appends an animal; any other tag is ignored.
    void ReadChild(const Strata::XMLElement& element);
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;

    // How many decoy houses stand beside the animals' own.
    size_t DecoyCount() const;
    // The marks a decoy may show, in shape then colour order: no animal's mark, and with matchColor no
    // animal's colour. Decoys are drawn from this list, so a level that passed Validate never runs out.
    std::vector<HereToThereMark> FreeDecoyMarks() const;
    // Whether the animal belongs in the house: shape and colour both agree, whatever matchColor says.
    static bool Matches(const HereToThereMark& animal, const HereToThereMark& house) { return animal == house; }
};

using HereToThereLevelResourceFactory = GameLevelReader<HereToThereLevel, GameModeType_HereToThere>;

} // namespace Yardcrew
