#pragma once

#include <concepts>
#include <string>

namespace Strata
{

// A two-dimensional vector; T is int or float.
template <class T>
class Vector2
{
public:
    T x{};
    T y{};

    constexpr Vector2() = default;
    constexpr Vector2(T xValue, T yValue) : x(xValue), y(yValue) {}

    // Reads "x,y" in the C locale (optional leading white space and sign before each number, no
    // space before the comma). One number gives both coordinates; no number, or one outside the
    // range of int, gives (0, 0).
    static Vector2 FromString(const std::wstring& text) requires std::same_as<T, int>;

    // Scales to the given length, rounding toward zero; the current length is truncated to an integer
    // first, and a vector whose truncated length is 0 is left unchanged. Results beyond the range of
    // int are clamped.
    void SetLength(int length) requires std::same_as<T, int>;

    constexpr bool operator==(const Vector2&) const = default;
    constexpr Vector2 operator+(const Vector2& o) const { return Vector2(x + o.x, y + o.y); }
    constexpr Vector2 operator-(const Vector2& o) const { return Vector2(x - o.x, y - o.y); }
    constexpr Vector2 operator*(T s) const { return Vector2(x * s, y * s); }
    constexpr Vector2& operator+=(const Vector2& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr Vector2& operator-=(const Vector2& o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
};

extern template class Vector2<int>;
extern template class Vector2<float>;

} // namespace Strata
