#include "core/Vector2.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace Strata
{

namespace
{
bool IsCSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

// Reads an optionally signed decimal int at `pos` after white space, as "%d" would.
// On success advances `pos` past it.
bool ReadInt(const std::wstring& text, size_t& pos, int& value)
{
    size_t i = pos;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    // from_chars works on narrow ASCII and does not take a '+': copy the sign and the digits aside.
    char digits[16];
    size_t length = 0;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
    {
        if (text[i] == L'-')
            digits[length++] = '-';
        ++i;
    }
    const size_t firstDigit = i;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9')
    {
        if (length == sizeof(digits))
            return false; // far more digits than an int holds
        digits[length++] = static_cast<char>(text[i]);
        ++i;
    }
    if (i == firstDigit)
        return false;
    int parsed = 0;
    const std::from_chars_result result = std::from_chars(digits, digits + length, parsed);
    if (result.ec != std::errc() || result.ptr != digits + length)
        return false;
    value = parsed;
    pos = i;
    return true;
}

int ClampToInt(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}
} // namespace

template <class T>
Vector2<T> Vector2<T>::FromString(const std::wstring& text) requires std::same_as<T, int>
{
    size_t pos = 0;
    int first = 0;
    if (!ReadInt(text, pos, first))
        return Vector2(0, 0);
    int second = first;
    if (pos < text.size() && text[pos] == L',')
    {
        ++pos;
        if (!ReadInt(text, pos, second))
            second = first;
    }
    return Vector2(first, second);
}

template <class T>
void Vector2<T>::SetLength(int length) requires std::same_as<T, int>
{
    const double squared = static_cast<double>(x) * x + static_cast<double>(y) * y;
    const long long current = static_cast<long long>(std::sqrt(squared));
    if (current == 0)
        return;
    x = ClampToInt(static_cast<long long>(length) * x / current);
    y = ClampToInt(static_cast<long long>(length) * y / current);
}

template class Vector2<int>;
template class Vector2<float>;

} // namespace Strata
