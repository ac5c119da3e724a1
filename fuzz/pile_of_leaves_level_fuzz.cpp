// Feeds arbitrary bytes to the tool-finding game's level reader as one level element: whatever it reads,
// a level that passes its checks asks for a number of tools and leaves the game can make and place,
// and the clamped tool count stays within the tables.

#include "FuzzLevel.h"

#include "game/PileOfLeaves/PileOfLeavesLevel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<PileOfLeavesLevel>(GameModeType_PileOfLeaves, data, size);
    if (!level)
        return 0;
    Check(level->ToolCount() >= 0 && level->ToolCount() <= kPileOfLeavesMaxTools);
    if (level->Validate().empty())
    {
        Check(level->numTools >= 1 && level->numTools <= kPileOfLeavesMaxTools);
        Check(level->areaCover >= 0 && level->areaCover <= kPileOfLeavesMaxAreaCover);
        Check(level->toolCover >= 0 && level->toolCover <= kPileOfLeavesMaxToolCover);
        Check(level->cursorRadius >= 1 && level->cursorRadius <= kPileOfLeavesMaxCursorRadius);
    }
    return 0;
}
