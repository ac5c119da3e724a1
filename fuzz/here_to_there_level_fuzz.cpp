// Feeds arbitrary bytes to the delivery game's level reader as one level element: whatever it reads, a
// level that passes its checks is one the playfield can hold (one to four animals of known marks, at
// most twelve houses, enough free marks for every decoy), and the reader never keeps more than one
// animal past the cap.

#include "FuzzLevel.h"

#include "game/HereToThere/HereToThereLevel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<HereToThereLevel>(GameModeType_HereToThere, data, size);
    if (!level)
        return 0;
    Check(level->animals.size() <= kHereToThereMaxAnimals + 1);
    if (level->Validate().empty())
    {
        Check(!level->animals.empty() && level->animals.size() <= kHereToThereMaxAnimals);
        Check(level->numBuildings >= 0 && level->numBuildings <= kHereToThereMaxBuildings);
        for (const HereToThereMark& animal : level->animals)
            Check(animal.shape >= 0 && animal.shape < HereToThereObjectShape_Count && animal.color >= 0 &&
                  animal.color < HereToThereObjectColor_Count);
        Check(level->DecoyCount() <= level->FreeDecoyMarks().size());
    }
    return 0;
}
