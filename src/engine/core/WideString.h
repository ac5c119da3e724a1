#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Strata
{

// Conversions between wide text (32-bit code points), ASCII, UTF-8 and UTF-16.
// Buffer forms: with `out` null or `size` 0 they count the target units needed, terminator included;
// otherwise they convert whole code points while they fit, write 0 into out[size - 1] and return size.
unsigned long ConvertStringASCIIToWide(const char* in, wchar_t* out, unsigned long size);
unsigned long TruncateStringWideToASCII(const wchar_t* in, char* out, unsigned long size);
unsigned long ConvertStringUTF8ToWide(const unsigned char* in, wchar_t* out, unsigned long size);
unsigned long ConvertStringUTF16ToWide(const uint16_t* in, wchar_t* out, unsigned long size);
unsigned long ConvertStringWideToUTF16(const wchar_t* in, uint16_t* out, unsigned long size);
unsigned long ConvertStringWideToUTF8(const wchar_t* in, unsigned char* out, unsigned long size);

std::wstring ConvertStringASCIIToWide(const char* in);
std::string TruncateStringWideToASCII(const wchar_t* in);
std::wstring ConvertStringUTF8ToWide(const unsigned char* in);
std::wstring ConvertStringUTF16ToWide(const uint16_t* in);
// Zero-terminated results.
std::shared_ptr<unsigned char[]> ConvertStringWideToUTF8(const wchar_t* in);
std::shared_ptr<uint16_t[]> ConvertStringWideToUTF16(const wchar_t* in);

// The value of a digit of any radix up to 36 ("0"-"9", then letters of either case), or -1.
int DigitValue(wchar_t c);
int htoi(wchar_t c); // as DigitValue, but 0 for anything that is not a digit
uint32_t ConvertStringToInteger(const wchar_t* text, int radix);
std::wstring ConvertToForwardSlashes(const std::wstring& path);
wchar_t* itow(int value, wchar_t* buffer, int radix);
int wtoi(const wchar_t* text);
float wtof(const wchar_t* text);
int wcsicmp(const wchar_t* a, const wchar_t* b);

// ASCII-only case mapping: never undefined for signed bytes or wide values, whatever the locale.
inline int AsciiToUpper(int c)
{
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}
inline int AsciiToLower(int c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

} // namespace Strata
