// Feeds arbitrary bytes to the hammering game's level reader as one level element: whatever it reads,
// a level that passes its checks is one the game can play (a box of one to four known tools holding
// every tool a nail needs, every stroke count shown by the art, at least one stroke to make), and
// nothing else is filed.

#include "FuzzLevel.h"

#include "game/HammerTheNail/HammerTheNailLevel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<HammerTheNailLevel>(GameModeType_HammerTheNail, data, size);
    if (!level)
        return 0;
    Check(level->nails.size() <= kHammerTheNailMaxNails + 1 && level->extraTools.size() <= kHammerTheNailMaxTools + 1);
    if (!level->Validate().empty())
        return 0;
    const std::vector<FixItTool> box = level->Tools();
    Check(!box.empty() && box.size() <= kHammerTheNailMaxTools);
    for (const FixItTool& tool : box)
        Check(tool.type >= 0 && tool.type < FixItToolType_Count && tool.color >= 0 &&
              tool.color < FixItToolColor_Count);
    Check(std::any_of(level->nails.begin(), level->nails.end(),
                      [](const NailData& nail) { return nail.clickCount > 0; }));
    for (const NailData& nail : level->nails)
    {
        Check(nail.clickCount >= 0 && nail.clickCount <= kHammerTheNailMaxStrokes);
        Check(std::find(box.begin(), box.end(), nail.Tool()) != box.end());
    }
    return 0;
}
