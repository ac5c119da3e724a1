#include "core/WideString.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <locale.h>
#include <wchar.h>
#include <wctype.h>

namespace Strata
{

namespace
{

constexpr uint32_t kReplacement = 0xFFFD;
constexpr uint32_t kMaxCodePoint = 0x10FFFF;

// Each encoding decodes one code point from a zero-terminated unit sequence (the caller never asks it to
// decode the terminator itself) and encodes one code point, with the sizes the counting pass uses.

struct ASCIIEncoding
{
    using Unit = char;

    static uint32_t Decode(const Unit*& p)
    {
        const unsigned char b = static_cast<unsigned char>(*p++);
        return b < 0x80 ? b : kReplacement;
    }

    static unsigned long EncodedSize(uint32_t) { return 1; }

    static Unit* Encode(uint32_t cp, Unit* out)
    {
        *out++ = cp < 0x80 ? static_cast<Unit>(cp) : '?';
        return out;
    }
};

struct UTF8Encoding
{
    using Unit = unsigned char;

    static uint32_t Decode(const Unit*& p)
    {
        const uint32_t b0 = *p++;
        if (b0 < 0x80)
            return b0;

        int continuations;
        uint32_t value;
        if (b0 < 0xC0 || b0 >= 0xF8)
            return kReplacement;
        if (b0 < 0xE0)
        {
            continuations = 1;
            value = (b0 * 64) & 0x7C0;
        }
        else if (b0 < 0xF0)
        {
            continuations = 2;
            value = (b0 * 4096) & 0xF000;
        }
        else
        {
            continuations = 3;
            value = (b0 * 262144) & 0x1C0000;
        }

        for (int i = continuations - 1; i >= 0; --i)
        {
            const uint32_t b = *p;
            if (b == 0)
                return kReplacement; // cut short by the end of the text: the terminator stays
            ++p;
            if (b < 0x80 || b > 0xBF)
                return kReplacement; // the bad byte is consumed with the sequence
            value += (b & 63) << (6 * i);
        }
        return value > kMaxCodePoint ? kReplacement : value;
    }

    static unsigned long EncodedSize(uint32_t cp)
    {
        if (cp < 0x80)
            return 1;
        if (cp < 0x800)
            return 2;
        if (cp < 0x10000)
            return 3;
        if (cp <= kMaxCodePoint)
            return 4;
        return 3; // written as U+FFFD
    }

    static Unit* Encode(uint32_t cp, Unit* out)
    {
        if (cp > kMaxCodePoint)
            cp = kReplacement;
        if (cp < 0x80)
        {
            *out++ = static_cast<Unit>(cp);
        }
        else if (cp < 0x800)
        {
            *out++ = static_cast<Unit>(0xC0 | (cp >> 6));
            *out++ = static_cast<Unit>(0x80 | (cp & 63));
        }
        else if (cp < 0x10000)
        {
            *out++ = static_cast<Unit>(0xE0 | ((cp >> 12) & 15));
            *out++ = static_cast<Unit>(0x80 | ((cp >> 6) & 63));
            *out++ = static_cast<Unit>(0x80 | (cp & 63));
        }
        else
        {
            *out++ = static_cast<Unit>(0xF0 | ((cp >> 18) & 7));
            *out++ = static_cast<Unit>(0x80 | ((cp >> 12) & 63));
            *out++ = static_cast<Unit>(0x80 | ((cp >> 6) & 63));
            *out++ = static_cast<Unit>(0x80 | (cp & 63));
        }
        return out;
    }
};

struct UTF16Encoding
{
    using Unit = uint16_t;

    static uint32_t Decode(const Unit*& p)
    {
        const uint32_t u = *p++;
        if (u >= 0xD800 && u <= 0xDBFF)
        {
            const uint32_t lo = *p;
            if (lo == 0)
                return kReplacement; // the terminator ends the text
            ++p;
            if (lo >= 0xDC00 && lo <= 0xDFFF)
                return ((u - 0xD800) << 10) + (lo & 0x3FF) + 0x10000;
            return kReplacement;
        }
        if (u >= 0xDC00 && u <= 0xDFFF)
            return kReplacement;
        return u;
    }

    static unsigned long EncodedSize(uint32_t cp) { return (cp >= 0x10000 && cp <= kMaxCodePoint) ? 2 : 1; }

    static Unit* Encode(uint32_t cp, Unit* out)
    {
        if (cp < 0x10000)
        {
            *out++ = static_cast<Unit>(cp);
        }
        else if (cp <= kMaxCodePoint)
        {
            *out++ = static_cast<Unit>(0xD800 + ((cp - 0x10000) >> 10));
            *out++ = static_cast<Unit>(0xDC00 + (cp & 0x3FF));
        }
        else
        {
            *out++ = static_cast<Unit>(kReplacement);
        }
        return out;
    }
};

struct UTF32Encoding
{
    using Unit = wchar_t;

    // wchar_t is signed here: a negative unit reads as a value above U+10FFFF.
    static uint32_t Decode(const Unit*& p) { return static_cast<uint32_t>(*p++); }

    static unsigned long EncodedSize(uint32_t) { return 1; }

    static Unit* Encode(uint32_t cp, Unit* out)
    {
        *out++ = static_cast<Unit>(cp > kMaxCodePoint ? kReplacement : cp);
        return out;
    }
};

// Counts (out null or size 0) or converts whole code points while they fit before the last unit.
// The text is terminated right after the last whole code point and at out[size - 1].
template <typename A, typename B>
unsigned long ConvertEncodingAToEncodingB(const typename A::Unit* in, typename B::Unit* out, unsigned long size)
{
    using OutUnit = typename B::Unit;
    if (out == nullptr || size == 0)
    {
        unsigned long count = 1;
        if (in != nullptr)
            while (*in != 0)
                count += B::EncodedSize(A::Decode(in));
        return count;
    }

    OutUnit* cursor = out;
    unsigned long room = size - 1;
    if (in != nullptr)
    {
        while (*in != 0)
        {
            const uint32_t cp = A::Decode(in);
            const unsigned long need = B::EncodedSize(cp);
            if (need > room)
                break;
            cursor = B::Encode(cp, cursor);
            room -= need;
        }
    }
    *cursor = 0;
    out[size - 1] = 0;
    return size;
}

template <typename A, typename B, typename Result>
Result ConvertToString(const typename A::Unit* in)
{
    const unsigned long count = ConvertEncodingAToEncodingB<A, B>(in, nullptr, 0);
    Result result(count, typename B::Unit(0));
    ConvertEncodingAToEncodingB<A, B>(in, result.data(), count);
    result.resize(count - 1);
    return result;
}

template <typename A, typename B>
std::shared_ptr<typename B::Unit[]> ConvertToSharedArray(const typename A::Unit* in)
{
    const unsigned long count = ConvertEncodingAToEncodingB<A, B>(in, nullptr, 0);
    std::shared_ptr<typename B::Unit[]> result(new typename B::Unit[count]);
    ConvertEncodingAToEncodingB<A, B>(in, result.get(), count);
    return result;
}

// Numbers are read in the C locale whatever the user's locale is. Made once, never freed.
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

// Case mapping beyond ASCII that does not follow the user's locale; null when the system lacks C.UTF-8.
locale_t UnicodeCaseLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

wchar_t FoldLower(wchar_t c)
{
    if (c >= 0 && c < 0x80)
        return static_cast<wchar_t>(AsciiToLower(c));
    const locale_t locale = UnicodeCaseLocale();
    if (locale == static_cast<locale_t>(0) || c < 0 || static_cast<uint32_t>(c) > kMaxCodePoint)
        return c;
    return static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), locale));
}

} // namespace

unsigned long ConvertStringASCIIToWide(const char* in, wchar_t* out, unsigned long size)
{
    return ConvertEncodingAToEncodingB<ASCIIEncoding, UTF32Encoding>(in, out, size);
}

unsigned long TruncateStringWideToASCII(const wchar_t* in, char* out, unsigned long size)
{
    return ConvertEncodingAToEncodingB<UTF32Encoding, ASCIIEncoding>(in, out, size);
}

unsigned long ConvertStringUTF8ToWide(const unsigned char* in, wchar_t* out, unsigned long size)
{
    return ConvertEncodingAToEncodingB<UTF8Encoding, UTF32Encoding>(in, out, size);
}

unsigned long ConvertStringUTF16ToWide(const uint16_t* in, wchar_t* out, unsigned long size)
{
    return ConvertEncodingAToEncodingB<UTF16Encoding, UTF32Encoding>(in, out, size);
}

unsigned long ConvertStringWideToUTF16(const wchar_t* in, uint16_t* out, unsigned long size)
{
    return ConvertEncodingAToEncodingB<UTF32Encoding, UTF16Encoding>(in, out, size);
}

unsigned long ConvertStringWideToUTF8(const wchar_t* in, unsigned char* out, unsigned long size)
{
    return ConvertEncodingAToEncodingB<UTF32Encoding, UTF8Encoding>(in, out, size);
}

std::wstring ConvertStringASCIIToWide(const char* in)
{
    return ConvertToString<ASCIIEncoding, UTF32Encoding, std::wstring>(in);
}

std::string TruncateStringWideToASCII(const wchar_t* in)
{
    return ConvertToString<UTF32Encoding, ASCIIEncoding, std::string>(in);
}

std::wstring ConvertStringUTF8ToWide(const unsigned char* in)
{
    return ConvertToString<UTF8Encoding, UTF32Encoding, std::wstring>(in);
}

std::wstring ConvertStringUTF16ToWide(const uint16_t* in)
{
    return ConvertToString<UTF16Encoding, UTF32Encoding, std::wstring>(in);
}

std::shared_ptr<unsigned char[]> ConvertStringWideToUTF8(const wchar_t* in)
{
    return ConvertToSharedArray<UTF32Encoding, UTF8Encoding>(in);
}

std::shared_ptr<uint16_t[]> ConvertStringWideToUTF16(const wchar_t* in)
{
    return ConvertToSharedArray<UTF32Encoding, UTF16Encoding>(in);
}

int DigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'z')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'Z')
        return c - L'A' + 10;
    return -1;
}

int htoi(wchar_t c)
{
    const int digit = DigitValue(c);
    return digit < 0 ? 0 : digit;
}

uint32_t ConvertStringToInteger(const wchar_t* text, int radix)
{
    if (text == nullptr)
        return 0;
    while (*text == L' ' || *text == L'\t')
        ++text;
    uint32_t value = 0;
    for (; *text != 0; ++text)
    {
        const int digit = DigitValue(*text);
        if (digit < 0)
            break;
        value = value * static_cast<uint32_t>(radix) + static_cast<uint32_t>(digit);
    }
    return value;
}

std::wstring ConvertToForwardSlashes(const std::wstring& path)
{
    std::wstring result(path);
    for (wchar_t& c : result)
        if (c == L'\\')
            c = L'/';
    return result;
}

wchar_t* itow(int value, wchar_t* buffer, int /*radix*/)
{
    if (buffer == nullptr)
        return nullptr;
    if (swprintf(buffer, 32, L"%d", value) < 0)
        buffer[0] = 0;
    return buffer;
}

int wtoi(const wchar_t* text)
{
    if (text == nullptr)
        return 0;
    const long value = wcstol_l(text, nullptr, 10, CLocale());
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float wtof(const wchar_t* text)
{
    if (text == nullptr)
        return 0.0f;
    return wcstof_l(text, nullptr, CLocale());
}

int wcsicmp(const wchar_t* a, const wchar_t* b)
{
    if (a == nullptr)
        a = L"";
    if (b == nullptr)
        b = L"";
    for (;; ++a, ++b)
    {
        const wchar_t ca = FoldLower(*a);
        const wchar_t cb = FoldLower(*b);
        if (ca != cb || ca == 0)
        {
            const long long difference = static_cast<long long>(ca) - static_cast<long long>(cb);
            if (difference > INT_MAX)
                return INT_MAX;
            if (difference < INT_MIN)
                return INT_MIN;
            return static_cast<int>(difference);
        }
    }
}

} // namespace Strata
