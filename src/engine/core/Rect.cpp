#include "core/Rect.h"

#include <algorithm>
#include <climits>
#include <type_traits>

namespace Strata
{

namespace
{
// Edges of int rectangles are summed in 64 bits so that x + width cannot overflow.
template <class T>
using Wide = std::conditional_t<std::is_same_v<T, int>, long long, T>;

template <class T>
T Narrow(Wide<T> value)
{
    if constexpr (std::is_same_v<T, int>)
        return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    else
        return value;
}
} // namespace

template <class T>
Rect<T> Rect<T>::getIntersection(const Rect& other) const
{
    using W = Wide<T>;
    const W left = std::max<W>(x, other.x);
    const W top = std::max<W>(y, other.y);
    const W right = std::min<W>(W(x) + W(width), W(other.x) + W(other.width));
    const W bottom = std::min<W>(W(y) + W(height), W(other.y) + W(other.height));
    return Rect(Narrow<T>(left), Narrow<T>(top), Narrow<T>(std::max<W>(right - left, W(0))),
                Narrow<T>(std::max<W>(bottom - top, W(0))));
}

template <class T>
Rect<T> Rect<T>::getUnion(const Rect& other) const
{
    if (isEmpty())
        return other;
    if (other.isEmpty())
        return *this;
    using W = Wide<T>;
    const W left = std::min<W>(x, other.x);
    const W top = std::min<W>(y, other.y);
    const W right = std::max<W>(W(x) + W(width), W(other.x) + W(other.width));
    const W bottom = std::max<W>(W(y) + W(height), W(other.y) + W(other.height));
    return Rect(Narrow<T>(left), Narrow<T>(top), Narrow<T>(right - left), Narrow<T>(bottom - top));
}

template <class T>
bool Rect<T>::contains(const Rect& other) const requires std::same_as<T, int>
{
    if (other.isEmpty())
        return false;
    using W = long long;
    const W right = W(x) + width;
    const W bottom = W(y) + height;
    const W lastX = W(other.x) + other.width - 1;
    const W lastY = W(other.y) + other.height - 1;
    return other.x >= x && other.y >= y && other.x < right && other.y < bottom && lastX >= x && lastY >= y &&
           lastX < right && lastY < bottom;
}

template <class T>
Vector2<float> Rect<T>::getClosestInteriorPoint(Vector2<float> p) const requires std::same_as<T, float>
{
    // min then max rather than std::clamp, which is undefined when the bounds are reversed.
    p.x = std::max<float>(x, std::min<float>(p.x, x + width));
    p.y = std::max<float>(y, std::min<float>(p.y, y + height));
    return p;
}

template class Rect<int>;
template class Rect<float>;

} // namespace Strata
