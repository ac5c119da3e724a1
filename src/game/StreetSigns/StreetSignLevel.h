#pragma once

// A level of the street-signs game: how many signs stand by the road and what the foreman asks for,
// one ask per sign lifted into the truck.
//
//   <StreetSignLevel name="..." difficulty="Easy" signs="3">
//     <Ask trait="Color"/>   (one to signs - 1 of these, asked in file order)
//     <Ask trait="Shape"/>
//   </StreetSignLevel>
//
// "signs" (default 0) is 2 to kStreetSignMaxSigns. "trait" is "Color" or "Shape" (letter case
// ignored): the foreman names the colour or the shape of a sign still standing. Each round gives every
// sign its own colour and its own shape, so exactly one sign answers each ask; the last sign always
// stays, so even the last ask is a choice.

#include "core/Label.h"
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

// Both the colour and the shape tables hold five names, so five signs can all differ in both.
constexpr int32_t kStreetSignMaxSigns = 5;

enum StreetSignTrait : int32_t
{
    StreetSignTrait_None = -1,
    StreetSignTrait_Color,
    StreetSignTrait_Shape,
    StreetSignTrait_Count
};

struct sStreetSign
{
    StreetSignColor color = StreetSignColor_None;
    StreetSignShape shape = StreetSignShape_None;

    bool operator==(const sStreetSign&) const = default;
};

// One ask: the trait and its value (a StreetSignColor or a StreetSignShape).
struct sStreetSignAsk
{
    StreetSignTrait trait = StreetSignTrait_None;
    int32_t value = -1;

    // Whether the sign has what is asked for.
    bool Matches(const sStreetSign& sign) const;
    // The ask that names this trait of the sign.
    static sStreetSignAsk Of(const sStreetSign& sign, StreetSignTrait trait);
};

// What one round shows and asks: the signs in their places, and the asks in order.
struct sStreetSignRound
{
    std::vector<sStreetSign> signs;
    std::vector<sStreetSignAsk> asks;
};

struct StreetSignLevel
{
    int32_t signs = 0;
    // The trait of each ask, in file order; StreetSignTrait_None for an unknown one.
    std::vector<StreetSignTrait> asks;

    void ReadAttributes(const Strata::IAttributeContainer& attributes);
    // "Ask" appends an ask; any other tag is ignored.
    void ReadChild(const Strata::XMLElement& element);
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;

    // Draws a round from the current random stream: the signs get different colours and different
    // shapes, and each ask names a sign not asked for before. Empty for a level that fails Validate.
    sStreetSignRound MakeRound() const;
};

using StreetSignLevelResourceFactory = GameLevelReader<StreetSignLevel, GameModeType_StreetSigns>;

} // namespace Yardcrew
