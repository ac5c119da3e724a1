#pragma once

#include "core/Color.h"
#include "core/Rect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Strata::Internal
{

// One row of nearest-pixel scaling: target[i] takes source[columns[i]] for i below `count`. The target
// and the source do not overlap. A row may read any pixel from source[0] to the last column's.
using ScaleRowFunction = void (*)(Color32* target, const Color32* source, const int32_t* columns, int count);

struct ScaleRowVariant
{
    const char* name;
    ScaleRowFunction row;
};

// Every way of scaling the row that this processor can run, the plain one first. All of them give the
// same pixels.
std::vector<ScaleRowVariant> GetScaleRowVariants();

// The fastest of them, chosen on first use.
ScaleRowFunction GetScaleRow();

// The source column (or row) under the centre of each of `targetSize` target pixels:
// (2 i + 1) sourceSize / (2 targetSize), so that a whole-number scale repeats every pixel exactly as
// often. Empty when either size is 0 or less.
std::vector<int32_t> ComputeScaleColumns(int sourceSize, int targetSize);

} // namespace Strata::Internal

namespace Strata::Graphics
{

// Scales the source into the target by nearest pixel, each target row through the scaling row, and a
// row that shows the same source row as the one above it copied from that one. Pitches are in pixels.
// Nothing is written when a size is 0 or less. `row` null uses the fastest.
void ScaleNearest(const Color32* source, int sourceWidth, int sourceHeight, ptrdiff_t sourcePitch, Color32* target,
                  int targetWidth, int targetHeight, ptrdiff_t targetPitch, Internal::ScaleRowFunction row = nullptr);

// As ScaleNearest, but writes only the target pixels that show a source pixel inside `area`; the rest
// of the target is left as it is. Returns the target rectangle written (empty when nothing is).
Rect<int> ScaleNearestArea(const Color32* source, int sourceWidth, int sourceHeight, ptrdiff_t sourcePitch,
                           Color32* target, int targetWidth, int targetHeight, ptrdiff_t targetPitch,
                           const Rect<int>& area, Internal::ScaleRowFunction row = nullptr);

} // namespace Strata::Graphics
