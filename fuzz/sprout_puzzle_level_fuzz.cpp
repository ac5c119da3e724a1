// Feeds arbitrary bytes to the jigsaw game's level reader as one level element: whatever it reads, a
// level that passes its checks names a picture of the table and a cut the pieces are drawn for, so the
// game never asks for pieces that do not exist.

#include "FuzzLevel.h"

#include "game/SproutPuzzle/SproutPuzzleLevel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<SproutPuzzleLevel>(GameModeType_SproutPuzzle, data, size);
    if (!level)
        return 0;
    if (!level->Validate().empty())
        return 0;
    Check(!level->PictureName().empty());
    Check(level->Pieces() >= 4 && level->Pieces() <= kSproutPuzzleMaxPieces);
    Check(std::any_of(kSproutPuzzleCuts.begin(), kSproutPuzzleCuts.end(),
                      [&](const sSproutPuzzleCut& cut)
                      { return cut.columns == level->columns && cut.rows == level->rows; }));
    return 0;
}
