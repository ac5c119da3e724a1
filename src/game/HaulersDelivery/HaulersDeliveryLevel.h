#pragma once

// A level of the cargo-pattern game: letter patterns (game/LetterPatternLevel.h), one of which each
// round shows as a train of carts. The letters A, B and C stand for three cargo types drawn at random
// each round; the train shows the first six cart loads of a pattern, so later letters are never seen.

#include "game/GameLevelReaders.h"
#include "game/LetterPatternLevel.h"
#include "game/YardcrewNames.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Yardcrew
{

constexpr size_t kHaulersDeliveryMaxPatterns = kLetterPatternMaxPatterns;
constexpr size_t kHaulersDeliveryMaxLetters = kLetterPatternMaxLetters;
constexpr int32_t kHaulersDeliveryLetters = kLetterPatternLetters;

// A cargo, and the frame of its picture in the cargo image lists.
enum HaulersDeliveryType : int32_t
{
    HaulersDeliveryType_None = -1,
    HaulersDeliveryType_Plant,
    HaulersDeliveryType_ConeRed,
    HaulersDeliveryType_ConeOrange,
    HaulersDeliveryType_ConeYellow,
    HaulersDeliveryType_LogYellow,
    HaulersDeliveryType_LogRed,
    HaulersDeliveryType_Log,
    HaulersDeliveryType_CementBlue,
    HaulersDeliveryType_CementRed,
    HaulersDeliveryType_Cement,
    HaulersDeliveryType_Bricks,
    HaulersDeliveryType_BricksBlue,
    HaulersDeliveryType_BricksRed,
    HaulersDeliveryType_Count
};

// What a cargo is made of and its colour (None for a cargo of its natural colour).
YardcrewMaterial HaulersDeliveryMaterial(HaulersDeliveryType type);
YardcrewColor HaulersDeliveryColor(HaulersDeliveryType type);

// How a chosen cargo differs from the one the empty cart wants: the wrong-answer voice says which.
enum eCargoMismatch : int
{
    CargoMismatch_None,
    // Same kind of cargo, another colour.
    CargoMismatch_Color,
    // Another kind, same colour (or both without one).
    CargoMismatch_Type,
    CargoMismatch_Both
};
eCargoMismatch CompareCargo(HaulersDeliveryType wanted, HaulersDeliveryType given);

struct HaulersDeliveryLevel : LetterPatternLevel
{
    // The letter cart `cart` (0 the truck, 5 the empty cart) carries in the pattern; -1 for an empty
    // pattern.
    static int32_t LetterOfCart(const std::vector<int32_t>& pattern, size_t cart) { return LetterAt(pattern, cart); }
};

using HaulersDeliveryLevelResourceFactory = GameLevelReader<HaulersDeliveryLevel, GameModeType_HaulersDelivery>;

} // namespace Yardcrew
