#include "core/WideString.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

const unsigned char* U8(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

std::vector<unsigned char> Utf8Bytes(const wchar_t* text)
{
    std::shared_ptr<unsigned char[]> bytes = ConvertStringWideToUTF8(text);
    std::vector<unsigned char> result;
    for (size_t i = 0; bytes[i] != 0; ++i)
        result.push_back(bytes[i]);
    return result;
}

std::vector<uint16_t> Utf16Units(const wchar_t* text)
{
    std::shared_ptr<uint16_t[]> units = ConvertStringWideToUTF16(text);
    std::vector<uint16_t> result;
    for (size_t i = 0; units[i] != 0; ++i)
        result.push_back(units[i]);
    return result;
}

// Gives this thread a user's locale for one test and puts the old one back.
class ScopedLocale
{
public:
    explicit ScopedLocale(const char* name) : mLocale(newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0)))
    {
        if (mLocale != static_cast<locale_t>(0))
            mOld = uselocale(mLocale);
    }
    ~ScopedLocale()
    {
        if (mLocale != static_cast<locale_t>(0))
        {
            uselocale(mOld);
            freelocale(mLocale);
        }
    }
    bool IsActive() const { return mLocale != static_cast<locale_t>(0); }

private:
    locale_t mLocale;
    locale_t mOld = static_cast<locale_t>(0);
};

} // namespace

TEST(WideStringConversionTest, CountsIncludeTheTerminator)
{
    EXPECT_EQ(ConvertStringASCIIToWide("abc", nullptr, 0), 4u);
    EXPECT_EQ(TruncateStringWideToASCII(L"abc", nullptr, 0), 4u);
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("abc"), nullptr, 0), 4u);
    const uint16_t abc16[] = {'a', 'b', 'c', 0};
    EXPECT_EQ(ConvertStringUTF16ToWide(abc16, nullptr, 0), 4u);
    EXPECT_EQ(ConvertStringWideToUTF16(L"abc", nullptr, 0), 4u);
    EXPECT_EQ(ConvertStringWideToUTF8(L"abc", nullptr, 0), 4u);

    EXPECT_EQ(ConvertStringWideToUTF8(L"\u00e9", nullptr, 0), 3u);
    EXPECT_EQ(ConvertStringWideToUTF8(L"\U0001F600", nullptr, 0), 5u);
    EXPECT_EQ(ConvertStringWideToUTF16(L"\U0001F600", nullptr, 0), 3u);
    // A value past U+10FFFF is counted as the three bytes of U+FFFD.
    const wchar_t tooLarge[] = {static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ(ConvertStringWideToUTF8(tooLarge, nullptr, 0), 4u);
    // A non-null buffer with size 0 also only counts, and touches nothing.
    wchar_t untouched = L'x';
    EXPECT_EQ(ConvertStringASCIIToWide("ab", &untouched, 0), 3u);
    EXPECT_EQ(untouched, L'x');
    EXPECT_EQ(ConvertStringUTF8ToWide(nullptr, nullptr, 0), 1u);
}

TEST(WideStringConversionTest, AstralCodePointRoundTrips)
{
    EXPECT_EQ(Utf8Bytes(L"\U0001F600"), (std::vector<unsigned char>{0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(Utf16Units(L"\U0001F600"), (std::vector<uint16_t>{0xD83D, 0xDE00}));
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("\xF0\x9F\x98\x80")), L"\U0001F600");
    const uint16_t pair[] = {0xD83D, 0xDE00, 0};
    EXPECT_EQ(ConvertStringUTF16ToWide(pair), L"\U0001F600");

    const std::wstring mixed = L"a\u00e9\u20ac\U0010FFFF z";
    EXPECT_EQ(ConvertStringUTF8ToWide(ConvertStringWideToUTF8(mixed.c_str()).get()), mixed);
    EXPECT_EQ(ConvertStringUTF16ToWide(ConvertStringWideToUTF16(mixed.c_str()).get()), mixed);
}

TEST(WideStringConversionTest, AsciiReplacesWhatItCannotHold)
{
    EXPECT_EQ(TruncateStringWideToASCII(L"n\u00e9"), "n?");
    EXPECT_EQ(TruncateStringWideToASCII(L"\U0001F600!"), "?!");
    EXPECT_EQ(ConvertStringASCIIToWide("a\xE9z"), L"a\uFFFDz");
    EXPECT_EQ(TruncateStringWideToASCII(nullptr), "");
}

TEST(WideStringConversionTest, InvalidUtf8BecomesReplacementCharacters)
{
    // Cut short by the end of text: the byte after the terminator is never read.
    const unsigned char cut[] = {0xC3, 0x00, 0xA9, 0x00};
    EXPECT_EQ(ConvertStringUTF8ToWide(cut), L"\uFFFD");
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("\xE2\x82")), L"\uFFFD");
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("\xF0\x9F\x98")), L"\uFFFD");
    // A stray continuation byte and the bytes that can never start a sequence.
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("\x80"
                                         "a\xF8"
                                         "b\xFF")),
              L"\uFFFDa\uFFFDb\uFFFD");
    // A bad continuation byte is consumed with its sequence.
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("\xC3"
                                         "AB")),
              L"\uFFFDB");
    // Decoded values past U+10FFFF are replaced.
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("\xF4\x90\x80\x80")), L"\uFFFD");
    // Overlong forms are let through as they decode.
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("\xC1\x81")), L"A");
    // Counting steps over the text exactly as converting does.
    EXPECT_EQ(ConvertStringUTF8ToWide(U8("\xC3"
                                         "AB\xE2\x82"),
                                      nullptr, 0),
              4u);
}

TEST(WideStringConversionTest, InvalidUtf16BecomesReplacementCharacters)
{
    const uint16_t highThenLetter[] = {0xD83D, 'A', 'B', 0};
    EXPECT_EQ(ConvertStringUTF16ToWide(highThenLetter), L"\uFFFDB");
    const uint16_t highAtEnd[] = {'x', 0xD83D, 0, 'y', 0};
    EXPECT_EQ(ConvertStringUTF16ToWide(highAtEnd), L"x\uFFFD");
    EXPECT_EQ(ConvertStringUTF16ToWide(highAtEnd, nullptr, 0), 3u);
    const uint16_t loneLow[] = {0xDE00, 'c', 0};
    EXPECT_EQ(ConvertStringUTF16ToWide(loneLow), L"\uFFFDc");

    const wchar_t tooLarge[] = {L'a', static_cast<wchar_t>(0x110000), static_cast<wchar_t>(-1), 0};
    EXPECT_EQ(Utf16Units(tooLarge), (std::vector<uint16_t>{'a', 0xFFFD, 0xFFFD}));
    EXPECT_EQ(Utf8Bytes(tooLarge), (std::vector<unsigned char>{'a', 0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD}));
}

TEST(WideStringConversionTest, BufferFormsStayInsideTheirBuffer)
{
    // "a", then a four-byte code point that does not fit in the three units left before the terminator.
    unsigned char bytes[8];
    std::memset(bytes, 0xAA, sizeof(bytes));
    EXPECT_EQ(ConvertStringWideToUTF8(L"a\U0001F600b", bytes, 4), 4u);
    EXPECT_EQ(bytes[0], 'a');
    EXPECT_EQ(bytes[1], 0); // ends where the whole code points end, never in the middle of one
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[4], 0xAA);

    // Exactly the counted size holds everything.
    const unsigned long needed = ConvertStringWideToUTF8(L"a\U0001F600b", nullptr, 0);
    ASSERT_EQ(needed, 7u);
    std::memset(bytes, 0xAA, sizeof(bytes));
    EXPECT_EQ(ConvertStringWideToUTF8(L"a\U0001F600b", bytes, needed), needed);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes), "a\xF0\x9F\x98\x80"
                                                       "b");
    EXPECT_EQ(bytes[7], 0xAA);

    // A surrogate pair is never split either.
    uint16_t units[4] = {0x5555, 0x5555, 0x5555, 0x5555};
    EXPECT_EQ(ConvertStringWideToUTF16(L"\U0001F600", units, 2), 2u);
    EXPECT_EQ(units[0], 0);
    EXPECT_EQ(units[1], 0);
    EXPECT_EQ(units[2], 0x5555);

    wchar_t one[2] = {L'x', L'x'};
    EXPECT_EQ(ConvertStringASCIIToWide("abc", one, 1), 1u);
    EXPECT_EQ(one[0], 0);
    EXPECT_EQ(one[1], L'x');
}

TEST(WideStringHelperTest, ConvertStringToIntegerAcceptsDigitsAndLetters)
{
    EXPECT_EQ(ConvertStringToInteger(L" 1f", 16), 31u);
    EXPECT_EQ(ConvertStringToInteger(L"\t 12;", 10), 12u);
    EXPECT_EQ(ConvertStringToInteger(L"1z", 10), 45u);
    EXPECT_EQ(ConvertStringToInteger(L"", 10), 0u);
    EXPECT_EQ(ConvertStringToInteger(L"-5", 10), 0u);
    EXPECT_EQ(ConvertStringToInteger(nullptr, 10), 0u);
    // Wraps around in 32 bits.
    EXPECT_EQ(ConvertStringToInteger(L"4294967297", 10), 1u);

    EXPECT_EQ(htoi(L'Z'), 35);
    EXPECT_EQ(htoi(L'\u00e9'), 0);
}

TEST(WideStringHelperTest, ItowIsDecimalAndBounded)
{
    wchar_t buffer[32];
    EXPECT_EQ(itow(-5, buffer, 16), buffer);
    EXPECT_STREQ(buffer, L"-5");
    EXPECT_STREQ(itow(INT_MIN, buffer, 10), L"-2147483648");
    EXPECT_EQ(itow(1, nullptr, 10), nullptr);
}

TEST(WideStringHelperTest, NumbersParseInTheCLocale)
{
    EXPECT_EQ(wtoi(L"  42xyz"), 42);
    EXPECT_EQ(wtoi(L"-17"), -17);
    EXPECT_EQ(wtoi(L"99999999999"), INT_MAX);
    EXPECT_EQ(wtoi(L"-99999999999"), INT_MIN);
    EXPECT_EQ(wtoi(nullptr), 0);
    EXPECT_FLOAT_EQ(wtof(L"0.5"), 0.5f);
    EXPECT_FLOAT_EQ(wtof(L"-2.25e1"), -22.5f);
    EXPECT_EQ(wtof(nullptr), 0.0f);
}

TEST(WideStringHelperTest, NumbersIgnoreASpanishDesktop)
{
    ScopedLocale spanish("es_ES.UTF-8");
    if (!spanish.IsActive())
        GTEST_SKIP() << "es_ES.UTF-8 is not installed";
    EXPECT_FLOAT_EQ(wtof(L"0.5"), 0.5f);
    EXPECT_FLOAT_EQ(wtof(L"1,5"), 1.0f); // the comma is not a decimal point here
    EXPECT_EQ(wtoi(L"1.234"), 1);
}

TEST(WideStringHelperTest, WcsicmpFoldsCase)
{
    EXPECT_EQ(wcsicmp(L"Hello", L"hELLO"), 0);
    EXPECT_LT(wcsicmp(L"apple", L"Banana"), 0);
    EXPECT_EQ(wcsicmp(L"abc", L"ABD"), 'c' - 'd');
    EXPECT_LT(wcsicmp(L"ab", L"abc"), 0);
    EXPECT_LT(wcsicmp(nullptr, L"a"), 0);
}

TEST(WideStringHelperTest, WcsicmpFoldsAsciiTheSameInATurkishLocale)
{
    ScopedLocale turkish("tr_TR.UTF-8");
    if (!turkish.IsActive())
        GTEST_SKIP() << "tr_TR.UTF-8 is not installed";
    // Turkish maps I to dotless i; names in data files must still match.
    EXPECT_EQ(wcsicmp(L"IMAGE", L"image"), 0);
}
