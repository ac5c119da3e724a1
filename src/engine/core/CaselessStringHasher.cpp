#include "core/CaselessStringHasher.h"

#include "core/WideString.h"

namespace Strata
{

namespace
{

// h = upper(c0), then h = (h * 31) XOR upper(c) for every further character, in unsigned 32-bit arithmetic.
template <typename Char, typename Value>
uint32_t CaselessHash(const Char* text)
{
    if (text == nullptr || *text == 0)
        return 0;
    uint32_t h = static_cast<uint32_t>(AsciiToUpper(static_cast<Value>(*text)));
    for (++text; *text != 0; ++text)
        h = (h * 31u) ^ static_cast<uint32_t>(AsciiToUpper(static_cast<Value>(*text)));
    return h;
}

template <typename Char>
bool CaselessEqual(const Char* a, const Char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    for (;; ++a, ++b)
    {
        if (AsciiToUpper(*a) != AsciiToUpper(*b))
            return false;
        if (*a == 0)
            return true;
    }
}

} // namespace

uint32_t cCaselessStringHasher::ComputeHash(const char* text)
{
    return CaselessHash<char, signed char>(text);
}

uint32_t cCaselessStringHasher::ComputeHash(const wchar_t* text)
{
    return CaselessHash<wchar_t, wchar_t>(text);
}

bool cCaselessStringHasher::AreKeysEqual(const char* a, const char* b)
{
    return CaselessEqual(a, b);
}

bool cCaselessStringHasher::AreKeysEqual(const wchar_t* a, const wchar_t* b)
{
    return CaselessEqual(a, b);
}

} // namespace Strata
