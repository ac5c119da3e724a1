#pragma once

// A level of the jigsaw game: the picture and how it is cut.
//
//   <SproutPuzzleLevel name="..." difficulty="Easy" picture="Giraffes" columns="2" rows="2"/>
//
// "picture" is one of kSproutPuzzlePictureNames, spelt exactly; "columns" by "rows" (default 0) is one of
// the cuts of kSproutPuzzleCuts, for which the pieces are drawn. Child elements are ignored.

#include "game/GameLevelReaders.h"

#include <array>
#include <cstdint>
#include <string>

namespace Strata
{
class XMLElement;
class IAttributeContainer;
} // namespace Strata

namespace Yardcrew
{

// The pictures of the menagerie that the pieces are drawn for.
inline constexpr std::array<const char*, 4> kSproutPuzzlePictureNames = {"Giraffes", "Pond", "Trees", "Lions"};

struct sSproutPuzzleCut
{
    int32_t columns = 0;
    int32_t rows = 0;
};
// The cuts the pieces are drawn for: 4, 6 and 9 pieces.
inline constexpr std::array<sSproutPuzzleCut, 3> kSproutPuzzleCuts = {{{2, 2}, {3, 2}, {3, 3}}};
inline constexpr int32_t kSproutPuzzleMaxPieces = 9;

struct SproutPuzzleLevel
{
    // An index of kSproutPuzzlePictureNames; -1 for a name that is none of them.
    int32_t picture = -1;
    int32_t columns = 0;
    int32_t rows = 0;

    void ReadAttributes(const Strata::IAttributeContainer& attributes);
    void ReadChild(const Strata::XMLElement&) {}
    // Empty when the level can be played; otherwise why not, for the log line.
    std::string Validate() const;

    int32_t Pieces() const { return columns * rows; }
    // "Giraffes"; empty for an unknown picture.
    std::string PictureName() const;
    // "2x2", as the pieces' and cut lines' names carry it.
    std::string CutName() const;
};

using SproutPuzzleLevelResourceFactory = GameLevelReader<SproutPuzzleLevel, GameModeType_SproutPuzzle>;

} // namespace Yardcrew
