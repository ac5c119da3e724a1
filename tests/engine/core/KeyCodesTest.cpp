#include "core/KeyCodes.h"

#include <gtest/gtest.h>

using namespace Strata;

TEST(KeyCodes, NamesIgnoreCaseAndAliasesAgree)
{
    EXPECT_EQ(GetKeyCodeByName(L"escape"), 27);
    EXPECT_EQ(GetKeyCodeByName(L"ESCAPE"), 27);
    EXPECT_EQ(GetKeyCodeByName(L"VK_ESCAPE"), 27);
    EXPECT_EQ(GetKeyCodeByName(L"vk_return"), GetKeyCodeByName(L"Enter"));
    EXPECT_EQ(GetKeyCodeByName(L"Start"), 256);
    EXPECT_EQ(GetKeyCodeByName(L"GamePadStart"), 256);
    EXPECT_EQ(GetKeyCodeByName(L"select"), GetKeyCodeByName(L"GamePadSelect"));
}

TEST(KeyCodes, TableRowsOutOfNumericOrder)
{
    // The table is not sorted by code; these rows sit out of order and must still map correctly.
    EXPECT_EQ(GetKeyCodeByName(L"PageUp"), Key_PageUp);
    EXPECT_EQ(GetKeyCodeByName(L"End"), Key_End);
    EXPECT_EQ(GetKeyCodeByName(L"Home"), Key_Home);
    EXPECT_EQ(GetKeyCodeByName(L"F11"), Key_F11);
    EXPECT_EQ(GetKeyCodeByName(L"f16"), Key_F16);
    EXPECT_EQ(GetKeyCodeByName(L"Num9"), Key_Num9);
    EXPECT_EQ(GetKeyCodeByName(L"NumSub"), 109);
    EXPECT_EQ(GetKeyCodeByName(L"GamePadLeft"), Key_GamePadLeft);
    EXPECT_EQ(GetKeyCodeByName(L"gamepada"), Key_GamePadA);
}

TEST(KeyCodes, PunctuationComesFromTheTableNotFromItsCharacter)
{
    EXPECT_EQ(GetKeyCodeByName(L";"), 186);
    EXPECT_EQ(GetKeyCodeByName(L"="), 187);
    EXPECT_EQ(GetKeyCodeByName(L"\\"), 220);
    EXPECT_EQ(GetKeyCodeByName(L"'"), 222);
}

TEST(KeyCodes, SingleAsciiCharacterGivesItsUpperCase)
{
    EXPECT_EQ(GetKeyCodeByName(L"a"), 65);
    EXPECT_EQ(GetKeyCodeByName(L"z"), 90);
    EXPECT_EQ(GetKeyCodeByName(L"q"), Key_Q);
    EXPECT_EQ(GetKeyCodeByName(L"5"), 53);
    EXPECT_EQ(GetKeyCodeByName(L"\x7f"), 127);
}

TEST(KeyCodes, UnknownNamesGiveZero)
{
    EXPECT_EQ(GetKeyCodeByName(nullptr), 0);
    EXPECT_EQ(GetKeyCodeByName(L""), 0);
    EXPECT_EQ(GetKeyCodeByName(L"\u00e9"), 0);
    EXPECT_EQ(GetKeyCodeByName(L"Foo"), 0);
    EXPECT_EQ(GetKeyCodeByName(L"Esc"), 0) << "a prefix of a name is no match";
    EXPECT_EQ(GetKeyCodeByName(L"EscapeX"), 0) << "nor is a longer text";
    EXPECT_EQ(GetKeyCodeByName(L"ab"), 0);
    // A negative wide value is no ASCII character.
    const wchar_t negative[] = {static_cast<wchar_t>(-1), 0};
    EXPECT_EQ(GetKeyCodeByName(negative), 0);
    // Upper-casing is ASCII only: the Latin-1 counterpart of 'a'+128 must not fold onto a table name.
    EXPECT_EQ(GetKeyCodeByName(L"\u00c5lt"), 0);
}
