#include "core/CaselessStringHasher.h"

#include <gtest/gtest.h>

using namespace Strata;

TEST(CaselessStringHasherTest, HashIgnoresAsciiCaseInBothWidths)
{
    EXPECT_EQ(cCaselessStringHasher::ComputeHash("abc"), cCaselessStringHasher::ComputeHash("ABC"));
    EXPECT_EQ(cCaselessStringHasher::ComputeHash(L"aBc"), cCaselessStringHasher::ComputeHash("AbC"));
    // The values are written into table-of-contents files, so they are pinned here.
    EXPECT_EQ(cCaselessStringHasher::ComputeHash("abc"), 0xEC40u);
    EXPECT_EQ(cCaselessStringHasher::ComputeHash(L"button.PNG"), 0x79EAE4BFu);
    EXPECT_EQ(cCaselessStringHasher::ComputeHash(static_cast<const char*>(nullptr)), 0u);
    EXPECT_EQ(cCaselessStringHasher::ComputeHash(static_cast<const wchar_t*>(nullptr)), 0u);
    EXPECT_EQ(cCaselessStringHasher::ComputeHash(L""), 0u);
}

TEST(CaselessStringHasherTest, NonAsciiCharactersAreTakenAsTheyAre)
{
    // Narrow characters are signed bytes; nothing beyond ASCII is case-mapped.
    EXPECT_EQ(cCaselessStringHasher::ComputeHash("\xE9"), 0xFFFFFFE9u);
    EXPECT_EQ(cCaselessStringHasher::ComputeHash("a\xE9"), 0xFFFFF836u);
    EXPECT_EQ(cCaselessStringHasher::ComputeHash(L"\u00e9"), 0xE9u);
    EXPECT_NE(cCaselessStringHasher::ComputeHash(L"\u00e9"), cCaselessStringHasher::ComputeHash(L"\u00c9"));
    EXPECT_FALSE(cCaselessStringHasher::AreKeysEqual(L"\u00e9", L"\u00c9"));
}

TEST(CaselessStringHasherTest, KeysEqualOnlyWithTheSameLength)
{
    EXPECT_TRUE(cCaselessStringHasher::AreKeysEqual(L"Button", L"bUTTON"));
    EXPECT_TRUE(cCaselessStringHasher::AreKeysEqual("Button", "BUTTON"));
    EXPECT_FALSE(cCaselessStringHasher::AreKeysEqual(L"Button", L"Buttons"));
    EXPECT_FALSE(cCaselessStringHasher::AreKeysEqual("Buttons", "Button"));
    // '[' and '{' differ by the case bit but are not letters.
    EXPECT_FALSE(cCaselessStringHasher::AreKeysEqual("[", "{"));
    EXPECT_TRUE(cCaselessStringHasher::AreKeysEqual(L"", L""));
    EXPECT_TRUE(cCaselessStringHasher::AreKeysEqual(static_cast<const char*>(nullptr), nullptr));
    EXPECT_FALSE(cCaselessStringHasher::AreKeysEqual(L"", nullptr));
}
