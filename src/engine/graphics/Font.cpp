#include "graphics/Font.h"

#include <algorithm>
#include <climits>

namespace Strata
{

int Font::GetStringWidth(const wchar_t* text) const
{
    if (text == nullptr)
        return 0;
    // Summed wide and saturated: a very long text must not overflow.
    long long width = 0;
    for (const wchar_t* c = text; *c != 0; ++c)
        width += GetKernedLetterWidth(c[0], c[1]);
    return static_cast<int>(std::clamp<long long>(width, INT_MIN, INT_MAX));
}

} // namespace Strata
