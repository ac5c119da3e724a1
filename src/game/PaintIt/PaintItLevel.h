#pragma once

// A level of the fence-painting game: letter patterns (game/LetterPatternLevel.h), one of which each
// round paints on the fence. The letters A, B and C name three paint buckets whose colours are drawn
// afresh each round; the six painted boards show the pattern from its first letter, and the four bare
// ones ask for the letters that continue it.
//
//   <PaintItLevel name="..." difficulty="Medium">
//     <Pattern order="AAB"/>
//   </PaintItLevel>
//
// A level without a pattern, or with a pattern without letters, is refused with a log line when read.

#include "game/GameLevelReaders.h"
#include "game/LetterPatternLevel.h"

#include <cstdint>

namespace Yardcrew
{

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

// The fence's boards, the painted ones on the left.
constexpr int kPaintItStripes = 10;
constexpr int kPaintItPaintedStripes = 6;

struct PaintItLevel : LetterPatternLevel
{
};

using PaintItLevelResourceFactory = GameLevelReader<PaintItLevel, GameModeType_PaintIt>;

} // namespace Yardcrew
