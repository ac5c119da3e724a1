#pragma once

namespace Strata
{

// The bounds of a range of values, both 0 in a new value. Read from "randomrange" manifest elements.
struct RandomRange
{
    float min = 0.0f;
    float max = 0.0f;

    constexpr bool operator==(const RandomRange&) const = default;
};

} // namespace Strata
