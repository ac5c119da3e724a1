// Feeds arbitrary bytes to the stacking game's level reader as one level element: whatever it reads, a
// level that passes its checks is one the playfield can hold (one to ten objects of known colour and
// kind, sizes 1 to 5 and each once per colour), and the reader never keeps more than one object past
// the cap.

#include "FuzzLevel.h"

#include "game/HoistStacker/HoistStackerLevel.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <utility>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<HoistStackerLevel>(GameModeType_HoistStacker, data, size);
    if (!level)
        return 0;
    Check(level->objects.size() <= kHoistStackerMaxObjects + 1);
    if (level->Validate().empty())
    {
        Check(!level->objects.empty() && level->objects.size() <= kHoistStackerMaxObjects);
        std::set<std::pair<int, int>> sizes;
        for (const StackableObjectData& object : level->objects)
        {
            Check(object.color >= 0 && object.color < StackObjectColor_Count && object.type >= 0 &&
                  object.type < StackObjectType_Count && object.size >= 1 && object.size <= kHoistStackerMaxSize);
            Check(sizes.insert({object.color, object.size}).second);
        }
    }
    return 0;
}
