#include "core/Angle.h"

#include <cmath>

namespace Strata
{

float Angle::pi()
{
    static const float value = std::acos(-1.0f);
    return value;
}

float Angle::circle()
{
    static const float value = 2.0f * pi();
    return value;
}

Angle Angle::Circle()
{
    return Angle(circle());
}

Angle Angle::FromDegrees(float degrees)
{
    return Angle(degrees * pi() / 180.0f);
}

Angle Angle::Wrap() const
{
    const float turn = circle();
    if (mValue >= 0.0f)
        return Angle(mValue < turn ? mValue : std::fmod(mValue, turn));
    // Not by recursion: a NaN is neither negative nor positive and would never end it.
    const float opposite = -mValue;
    const float wrapped = opposite < turn ? opposite : std::fmod(opposite, turn);
    return Angle(turn - wrapped);
}

bool Angle::IsEquivalent(const Angle& other) const
{
    return Wrap().mValue == other.Wrap().mValue;
}

Vector2<float> Angle::Rotate(const Vector2<float>& v) const
{
    const float s = std::sin(mValue);
    const float c = std::cos(mValue);
    return Vector2<float>(c * v.x - s * v.y, s * v.x + c * v.y);
}

float sin(Angle angle)
{
    return std::sin(angle.GetValue());
}

float cos(Angle angle)
{
    return std::cos(angle.GetValue());
}

} // namespace Strata
