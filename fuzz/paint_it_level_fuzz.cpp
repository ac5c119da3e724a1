// Feeds arbitrary bytes to the fence-painting game's level reader as one level element: whatever it
// reads, a level that passes its checks is one the fence can show (one to sixteen patterns, each of
// one to twelve letters A to C, every board with a letter), and nothing else is filed.

#include "FuzzLevel.h"

#include "game/PaintIt/PaintItLevel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Yardcrew;

using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto level = Strata::Fuzzing::ReadAndPlayLevel<PaintItLevel>(GameModeType_PaintIt, data, size);
    if (!level)
        return 0;
    Check(level->patterns.size() <= kLetterPatternMaxPatterns + 1);
    if (!level->Validate().empty())
        return 0;
    Check(!level->patterns.empty());
    for (const std::vector<int32_t>& pattern : level->patterns)
    {
        Check(!pattern.empty() && pattern.size() <= kLetterPatternMaxLetters);
        for (size_t stripe = 0; stripe < kPaintItStripes; ++stripe)
        {
            const int32_t letter = PaintItLevel::LetterAt(pattern, stripe);
            Check(letter >= 0 && letter < kLetterPatternLetters);
        }
    }
    return 0;
}
