// Feeds arbitrary bytes to the street-signs game's level reader as one level element: whatever it
// reads, a level that passes its checks is one the game can play (two to five signs, fewer asks than
// signs, each of a known trait), every round drawn from it has exactly one sign for each ask, and
// nothing else is filed.

#include "FuzzLevel.h"

#include "core/Random.h"
#include "game/StreetSigns/StreetSignLevel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<StreetSignLevel>(GameModeType_StreetSigns, data, size);
    if (!level)
        return 0;
    Check(level->asks.size() <= static_cast<size_t>(kStreetSignMaxSigns));
    if (!level->Validate().empty())
    {
        Check(level->MakeRound().signs.empty());
        return 0;
    }
    Check(level->signs >= 2 && level->signs <= kStreetSignMaxSigns);
    Check(!level->asks.empty() && level->asks.size() < static_cast<size_t>(level->signs));
    Random::SetSeedOverride(static_cast<uint32_t>(size));
    Random::Engine_Setup();
    const sStreetSignRound round = level->MakeRound();
    Check(round.signs.size() == static_cast<size_t>(level->signs) && round.asks.size() == level->asks.size());
    for (const sStreetSignAsk& ask : round.asks)
    {
        int matches = 0;
        for (const sStreetSign& sign : round.signs)
            matches += ask.Matches(sign) ? 1 : 0;
        Check(matches == 1);
    }
    Random::Engine_Destroy();
    Random::ClearSeedOverride();
    return 0;
}
