#pragma once

#include "core/Vector2.h"

#include <compare>

namespace Strata
{

// An angle in radians. Positive angles turn clockwise on screen, where y grows downward.
class Angle
{
public:
    constexpr Angle(float radians = 0.0f) : mValue(radians) {}

    // pi and 2 pi, each computed once.
    static float pi();
    static float circle();
    static Angle Circle();
    static Angle FromDegrees(float degrees);

    constexpr float GetValue() const { return mValue; }

    // The angle brought into one turn (not modified in place): [0, 2 pi) for a non-negative angle,
    // 2 pi minus the wrap of its opposite for a negative one (so -2 pi gives 2 pi). NaN stays NaN.
    Angle Wrap() const;
    // True when the wrapped values are exactly equal.
    bool IsEquivalent(const Angle& other) const;
    // v turned by this angle.
    Vector2<float> Rotate(const Vector2<float>& v) const;

    constexpr auto operator<=>(const Angle&) const = default;
    constexpr Angle operator+(const Angle& o) const { return Angle(mValue + o.mValue); }
    constexpr Angle operator-(const Angle& o) const { return Angle(mValue - o.mValue); }
    constexpr Angle operator-() const { return Angle(-mValue); }
    constexpr Angle operator*(float s) const { return Angle(mValue * s); }
    constexpr Angle operator/(float s) const { return Angle(mValue / s); }
    constexpr Angle& operator+=(const Angle& o)
    {
        mValue += o.mValue;
        return *this;
    }
    constexpr Angle& operator-=(const Angle& o)
    {
        mValue -= o.mValue;
        return *this;
    }

    // Single-precision sine and cosine of the angle. Found by argument-dependent lookup only, so
    // that an unqualified sin(x) of a plain number inside the engine's namespace still means std::sin.
    friend float sin(Angle angle);
    friend float cos(Angle angle);

private:
    float mValue;
};

} // namespace Strata
