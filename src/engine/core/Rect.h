#pragma once

#include "core/Vector2.h"

#include <concepts>

namespace Strata
{

// An axis-aligned rectangle: top-left corner, width and height; T is int or float. A rectangle
// whose width or height is 0 or less is empty. Right and bottom edges are x + width and y + height.
template <class T>
class Rect
{
public:
    T x{};
    T y{};
    T width{};
    T height{};

    constexpr Rect() = default;
    constexpr Rect(T xValue, T yValue, T widthValue, T heightValue)
        : x(xValue), y(yValue), width(widthValue), height(heightValue)
    {
    }

    constexpr bool isEmpty() const { return width <= T(0) || height <= T(0); }

    // The common part; rectangles that do not meet give a width or height of 0 at the larger corner.
    // Integer results beyond the range of int are clamped.
    Rect getIntersection(const Rect& other) const;
    // The bounding box of both; an empty rectangle contributes nothing.
    Rect getUnion(const Rect& other) const;

    // True when every pixel of `other` lies inside; an empty `other` is never contained.
    bool contains(const Rect& other) const requires std::same_as<T, int>;

    // p clamped into the rectangle, edges included.
    Vector2<float> getClosestInteriorPoint(Vector2<float> p) const requires std::same_as<T, float>;

    constexpr bool operator==(const Rect&) const = default;
};

extern template class Rect<int>;
extern template class Rect<float>;

} // namespace Strata
