#pragma once

#include "core/Color.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace Strata::Graphics
{

// The one way a float becomes an int in drawing code: toward zero, NaN as 0, clamped to the range of
// int (a plain cast of an out-of-range float is undefined).
inline int TruncateToInt(float value)
{
    if (!(value == value))
        return 0;
    if (value >= 2147483648.0f)
        return INT_MAX;
    if (value <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(value);
}

inline int FloorToInt(float value)
{
    return TruncateToInt(std::floor(value));
}

// A colour channel as a byte: clamped into [0, 1] (NaN as 0), times 255, integer part.
inline uint8_t ChannelToByte(float channel)
{
    if (!(channel > 0.0f))
        return 0;
    if (channel >= 1.0f)
        return 255;
    return static_cast<uint8_t>(channel * 255.0f);
}

inline Color32 ToColor32(const ColorF& color)
{
    return Color32(ChannelToByte(color.r), ChannelToByte(color.g), ChannelToByte(color.b), ChannelToByte(color.a));
}

} // namespace Strata::Graphics
