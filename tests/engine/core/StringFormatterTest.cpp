#include "core/StringFormatter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <string>

using namespace Strata;

namespace
{
std::wstring Format(const std::wstring& format, const StringFormatter::Argument& value)
{
    StringFormatter formatter(format);
    return formatter.Arg(value).c_str();
}
} // namespace

TEST(StringFormatterTest, PlaceholdersTakeArgumentsByPositionAndName)
{
    StringFormatter counts(L"%1% of %2%");
    EXPECT_STREQ(counts.Arg(3).Arg(10).c_str(), L"3 of 10");

    StringFormatter swapped(L"%2% %1%");
    EXPECT_STREQ(swapped.Arg("a").Arg(L"b").c_str(), L"b a");

    StringFormatter named(L"%file%(%line%): %msg%");
    EXPECT_STREQ(named.Arg(L"file", L"a.xml").Arg(L"line", 3).Arg(L"msg", L"bad").c_str(), L"a.xml(3): bad");

    // A name given twice points every use at the later argument; names are case-sensitive.
    StringFormatter repeated(L"%x%-%x%-%X%");
    EXPECT_STREQ(repeated.Arg(L"x", 1).Arg(L"x", 2).c_str(), L"2-2-%X%");

    // The output follows arguments added after an earlier rebuild.
    StringFormatter growing(L"%1%+%2%");
    EXPECT_STREQ(growing.Arg(1).c_str(), L"1+%2%");
    EXPECT_STREQ(growing.Arg(2).c_str(), L"1+2");
}

TEST(StringFormatterTest, UnmatchedPlaceholdersAndPercentSignsStayAsWritten)
{
    EXPECT_EQ(Format(L"100%%", 1), L"100%");
    EXPECT_EQ(Format(L"50%", 1), L"50%");
    EXPECT_EQ(Format(L"%1", 1), L"%1");
    EXPECT_EQ(Format(L"%%%", 1), L"%%");
    EXPECT_EQ(Format(L"%7% %1%", 1), L"%7% 1");
    EXPECT_EQ(Format(L"%0%", 1), L"%0%");
    EXPECT_EQ(Format(L"%name%", 1), L"%name%");
    EXPECT_EQ(Format(L"", 1), L"");
    EXPECT_EQ(Format(L"%99999999999999999999%", 1), L"%99999999999999999999%");
    EXPECT_EQ(Format(L"%:d%", 1), L"%:d%");
}

TEST(StringFormatterTest, IntegersFollowFlagsWidthAndFill)
{
    EXPECT_EQ(Format(L"%1%", 1234567), L"1,234,567");
    EXPECT_EQ(Format(L"%1%", 123), L"123");
    EXPECT_EQ(Format(L"%1%", -1234), L"-1,234");
    EXPECT_EQ(Format(L"%1:d%", 1234567), L"1234567");
    EXPECT_EQ(Format(L"%1:x%", 255), L"ff");
    EXPECT_EQ(Format(L"%1:X4%", 255), L"  FF");
    EXPECT_EQ(Format(L"%1:d04%", 7), L"0007");
    EXPECT_EQ(Format(L"%1:d04%", -7), L"-007");
    EXPECT_EQ(Format(L"%1:d4%", -7), L"  -7");
    EXPECT_EQ(Format(L"%1:b%", 5u), L"101");
    EXPECT_EQ(Format(L"%1:o%", 8L), L"10");
    EXPECT_EQ(Format(L"%1:d2.5%", 12345), L"12345"); // precision is ignored, width is only a minimum
    EXPECT_EQ(Format(L"%1%", static_cast<short>(-32768)), L"-32,768");
    EXPECT_EQ(Format(L"%1%", static_cast<unsigned short>(65535)), L"65,535");
    EXPECT_EQ(Format(L"%1%", ULLONG_MAX), L"18,446,744,073,709,551,615");
    EXPECT_EQ(Format(L"%1:b%", ULLONG_MAX), std::wstring(64, L'1'));
}

TEST(StringFormatterTest, MostNegativeValuesAndHugeWidthsAreSafe)
{
    EXPECT_EQ(Format(L"%1:d%", INT_MIN), L"-2147483648");
    EXPECT_EQ(Format(L"%1%", LLONG_MIN), L"-9,223,372,036,854,775,808");
    EXPECT_EQ(Format(L"%1:X%", LLONG_MIN), L"-8000000000000000");
    EXPECT_EQ(Format(L"%1:d%", LONG_MIN), L"-9223372036854775808");

    // Widths are capped, including widths whose digits overflow an int.
    const std::wstring wide = Format(L"%1:99999999999999999999%", 5);
    EXPECT_EQ(wide.size(), static_cast<size_t>(StringFormatter::kMaxWidth));
    EXPECT_EQ(wide.back(), L'5');
    EXPECT_EQ(Format(L"%1:0300%", -5).size(), static_cast<size_t>(StringFormatter::kMaxWidth));

    const std::wstring huge = Format(L"%1:99999999.99999999%", 1e308);
    EXPECT_LT(huge.size(), 512u);
    EXPECT_EQ(huge.substr(0, 4), L"1000");
    EXPECT_EQ(huge.size() - huge.find(L'.') - 1, static_cast<size_t>(StringFormatter::kMaxPrecision));
    EXPECT_EQ(Format(L"%1:.2%", -1.7976931348623157e308).size(), 313u);
}

TEST(StringFormatterTest, FloatsUseFixedNotationInTheCLocale)
{
    EXPECT_EQ(Format(L"%1%", 0.5f), L"0.500000");
    EXPECT_EQ(Format(L"%1:.2%", 3.14159), L"3.14");
    EXPECT_EQ(Format(L"%1:8.2%", -3.14159), L"   -3.14");
    EXPECT_EQ(Format(L"%1:.0%", 2.5), L"2");
    EXPECT_EQ(Format(L"%1:.3%", 1e-9), L"0.000");
    EXPECT_EQ(Format(L"%1:.1%", 1234567.25), L"1234567.2");
}

TEST(StringFormatterTest, TextAndCharactersAreAppendedAsTheyStand)
{
    EXPECT_EQ(Format(L"[%1%]", std::wstring(L"w\u00E9")), L"[w\u00E9]");
    EXPECT_EQ(Format(L"[%1%]", 'A'), L"[A]");
    EXPECT_EQ(Format(L"[%1%]", L'\u20AC'), L"[\u20AC]");
    // 8-bit text is taken byte by byte, each byte as a Latin-1 character rather than a negative value.
    EXPECT_EQ(Format(L"[%1%]", std::string("caf\xE9")), L"[caf\u00E9]");
    EXPECT_EQ(Format(L"[%1%]", static_cast<char>(0xE9)), L"[\u00E9]");

    // Plain pointers are text, a null pointer is empty text, and 0 stays a number.
    const char* none = nullptr;
    StringFormatter pointers(L"%1%|%2%|%n%");
    EXPECT_STREQ(pointers.Arg(none).Arg(static_cast<const wchar_t*>(L"p")).Arg(L"n", 0).c_str(), L"|p|0");
}

TEST(StringFormatterTest, DatesChooseTheirTextByFlag)
{
    const DateTime when(86400 * 365);
    EXPECT_EQ(Format(L"%1%", when), when.ToString());
    EXPECT_EQ(Format(L"%1:d%", when), when.ToDateString());
    EXPECT_EQ(Format(L"%1:t%", when), when.ToTimeString());
}

TEST(StringFormatterTest, TemplateSplitsIntoRuns)
{
    StringFormatter formatter(L"ab%1:X04.2%c%name%");
    const auto& runs = formatter.GetTextRuns();
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].argument, 0u);
    EXPECT_EQ(runs[1].argument, 1u);
    EXPECT_EQ(runs[1].flags, static_cast<unsigned int>(StringFormatter::FormatFlag_HexUpper));
    EXPECT_EQ(runs[1].fill, L'0');
    EXPECT_EQ(runs[1].width, 4);
    EXPECT_EQ(runs[1].precision, 2);
    EXPECT_EQ(runs[2].start, 11u);
    EXPECT_EQ(runs[3].nameStart, 13u);
    EXPECT_EQ(runs[3].nameEnd, 17u);
    EXPECT_EQ(runs[3].width, -1);
    EXPECT_EQ(runs[3].precision, -1);
}
