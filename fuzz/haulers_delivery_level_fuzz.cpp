// Feeds arbitrary bytes to the cargo-pattern game's level reader as one level element: whatever it
// reads, a level that passes its checks is one the game can play (one to sixteen patterns, each of one
// to twelve letters A to C), and nothing else is filed.

#include "FuzzLevel.h"

#include "game/HaulersDelivery/HaulersDeliveryLevel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level =
        Strata::Fuzzing::ReadAndPlayLevel<HaulersDeliveryLevel>(GameModeType_HaulersDelivery, data, size);
    if (!level)
        return 0;
    Check(level->patterns.size() <= kHaulersDeliveryMaxPatterns + 1);
    if (level->Validate().empty())
    {
        Check(!level->patterns.empty());
        for (const std::vector<int32_t>& pattern : level->patterns)
        {
            Check(!pattern.empty() && pattern.size() <= kHaulersDeliveryMaxLetters);
            for (int32_t letter : pattern)
                Check(letter >= 0 && letter < kHaulersDeliveryLetters);
            for (size_t cart = 0; cart < 6; ++cart)
                Check(HaulersDeliveryLevel::LetterOfCart(pattern, cart) >= 0);
        }
    }
    return 0;
}
