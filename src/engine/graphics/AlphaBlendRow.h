#pragma once

#include "core/Color.h"

#include <vector>

namespace Strata::Internal
{

// One row of the blitter's alpha rule at full opacity, `count` pixels: a source alpha of 240 or more
// copies the source pixel, 16 to 239 moves each colour byte of the target toward the source's by
// (alpha + 1) / 256 and makes the alpha 255, 15 or less keeps the target pixel.
using AlphaRowFunction = void (*)(Color32* target, const Color32* source, int count);

struct AlphaRowVariant
{
    const char* name;
    AlphaRowFunction row;
};

// Every way of drawing the row that this processor can run, the byte-by-byte one first. All of them
// give the same bytes, overlapping rows included.
std::vector<AlphaRowVariant> GetAlphaRowVariants();

// The fastest of them, chosen on first use.
AlphaRowFunction GetAlphaRow();

} // namespace Strata::Internal
