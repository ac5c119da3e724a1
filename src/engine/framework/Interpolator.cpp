#include "framework/Interpolator.h"

#include <algorithm>
#include <cmath>

namespace Strata
{

namespace
{

// The fraction of the duration that has passed, in [0, 1]. A negative duration counts as none
// left, and NaN as the start, so the result never leaves the two ends.
float Progress(float elapsed, float duration)
{
    const float u = elapsed / duration;
    if (!(u > 0.0f))
        return 0.0f;
    return std::min(u, 1.0f);
}

} // namespace

float LinearInterpolator::interpolate(float from, float to, float elapsed, float duration) const
{
    if (duration <= 0.0f)
        return to;
    return from + (to - from) * Progress(std::min(elapsed, duration), duration);
}

float ImmediateInterpolator::interpolate(float, float to, float, float) const
{
    return to;
}

float SmoothInterpolator::interpolate(float from, float to, float elapsed, float duration) const
{
    if (duration <= 0.0f)
        return to;
    const float u = Progress(elapsed, duration);
    float s;
    if (mK == 0.0f)
        s = u * u * (3.0f - 2.0f * u);
    else if (mK > 0.0f)
        s = 1.0f - std::pow(1.0f - u, mK);
    else
        s = std::pow(u, -mK);
    return from + (to - from) * s;
}

} // namespace Strata
