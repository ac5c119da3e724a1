// Feeds arbitrary bytes to the counting game's level reader as one level element: whatever it reads,
// a level that passes its checks is one the game can play (one to five piles, every number shown by
// a frame of its list, one pile equal to the request), and nothing else is filed.

#include "FuzzLevel.h"

#include "game/CountTheMaterials/CountTheMaterialsLevel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level =
        Strata::Fuzzing::ReadAndPlayLevel<CountTheMaterialsLevel>(GameModeType_CountTheMaterials, data, size);
    if (!level)
        return 0;
    Check(level->piles.size() <= kCountTheMaterialsMaxPiles + 1);
    if (level->Validate().empty())
    {
        Check(!level->piles.empty() && level->piles.size() <= kCountTheMaterialsMaxPiles);
        for (const MaterialData& pile : level->piles)
        {
            Check(pile.material >= 0 && pile.material < BuildingMaterial_Count);
            Check(pile.number >= 1 && pile.number <= kCountTheMaterialsMaxItems);
        }
        Check(std::any_of(level->piles.begin(), level->piles.end(),
                          [level](const MaterialData& pile) { return level->IsRequested(pile); }));
    }
    return 0;
}
