// Feeds arbitrary bytes to the tool-shed game's level reader as one level element: whatever it reads,
// a level that passes its checks is one the game can play (two to four boxes that each take a known
// kind or colour, no two the same, one to ten known tools each taken by exactly one box), and nothing
// else is filed.

#include "FuzzLevel.h"

#include "game/ToolShed/ToolShedLevel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<ToolShedLevel>(GameModeType_ToolShed, data, size);
    if (!level)
        return 0;
    Check(level->boxes.size() <= kToolShedMaxBoxes + 1 && level->tools.size() <= kToolShedMaxTools + 1);
    if (!level->Validate().empty())
        return 0;
    Check(level->sortBy == ToolShedSort_Type || level->sortBy == ToolShedSort_Color);
    Check(level->boxes.size() >= kToolShedMinBoxes && level->boxes.size() <= kToolShedMaxBoxes);
    Check(!level->tools.empty() && level->tools.size() <= kToolShedMaxTools);
    for (const ToolShedTool& tool : level->tools)
    {
        Check(tool.type >= 0 && tool.type < ToolShedToolType_Count && tool.color >= 0 &&
              tool.color < ToolShedToolColor_Count);
        Check(std::count_if(level->boxes.begin(), level->boxes.end(),
                            [&](const ToolShedTool& box) { return level->Fits(box, tool); }) == 1);
    }
    return 0;
}
