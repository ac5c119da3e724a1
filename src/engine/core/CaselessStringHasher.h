#pragma once

#include <cstdint>

namespace Strata
{

// Hashes and compares names ignoring ASCII letter case; other characters are taken as they are.
// Shared by the label table and the resource table of contents, so the hash values are part of data files.
class cCaselessStringHasher
{
public:
    // Null or empty text hashes to 0. Narrow characters are taken as signed bytes.
    static uint32_t ComputeHash(const char* text);
    static uint32_t ComputeHash(const wchar_t* text);

    // Equal when both have the same length and the same characters after ASCII upper-casing.
    // A null string equals only another null string.
    static bool AreKeysEqual(const char* a, const char* b);
    static bool AreKeysEqual(const wchar_t* a, const wchar_t* b);
};

} // namespace Strata
