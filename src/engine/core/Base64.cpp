#include "core/Base64.h"

#include "core/Stream.h"

namespace Strata
{

namespace
{

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The value of an alphabet character, or -1.
int DecodeCharacter(wchar_t c)
{
    if (c >= L'A' && c <= L'Z')
        return c - L'A';
    if (c >= L'a' && c <= L'z')
        return c - L'a' + 26;
    if (c >= L'0' && c <= L'9')
        return c - L'0' + 52;
    if (c == L'+')
        return 62;
    if (c == L'/')
        return 63;
    return -1;
}

void EncodeGroup(const unsigned char* bytes, size_t count, std::wstring& out)
{
    const unsigned int b0 = bytes[0];
    const unsigned int b1 = count > 1 ? bytes[1] : 0;
    const unsigned int b2 = count > 2 ? bytes[2] : 0;
    out += static_cast<wchar_t>(kAlphabet[b0 >> 2]);
    out += static_cast<wchar_t>(kAlphabet[((b0 & 3) << 4) | (b1 >> 4)]);
    out += count > 1 ? static_cast<wchar_t>(kAlphabet[((b1 & 15) << 2) | (b2 >> 6)]) : L'=';
    out += count > 2 ? static_cast<wchar_t>(kAlphabet[b2 & 63]) : L'=';
}

} // namespace

std::wstring Base64::Encode(IStream* source)
{
    std::wstring out;
    if (source == nullptr)
        return out;

    unsigned char block[3 * 1024];
    unsigned char pending[3];
    size_t pendingCount = 0;
    for (;;)
    {
        const size_t got = source->Read(block, sizeof(block));
        if (got == 0)
            break;
        for (size_t i = 0; i < got && i < sizeof(block); ++i)
        {
            pending[pendingCount++] = block[i];
            if (pendingCount == 3)
            {
                EncodeGroup(pending, 3, out);
                pendingCount = 0;
            }
        }
    }
    if (pendingCount > 0)
        EncodeGroup(pending, pendingCount, out);
    return out;
}

bool Base64::Decode(const std::wstring& text, IStream* target)
{
    if (target == nullptr)
        return false;

    unsigned int bits = 0; // the partial byte, left-aligned in the low bits
    int seen = 0;          // characters of the current group seen so far
    for (const wchar_t c : text)
    {
        const int value = DecodeCharacter(c);
        if (value < 0)
            continue;
        unsigned char byte = 0;
        bool complete = true;
        switch (seen)
        {
        case 0:
            bits = static_cast<unsigned int>(value) << 2;
            complete = false;
            break;
        case 1:
            byte = static_cast<unsigned char>(bits | (static_cast<unsigned int>(value) >> 4));
            bits = (static_cast<unsigned int>(value) & 15) << 4;
            break;
        case 2:
            byte = static_cast<unsigned char>(bits | (static_cast<unsigned int>(value) >> 2));
            bits = (static_cast<unsigned int>(value) & 3) << 6;
            break;
        default:
            byte = static_cast<unsigned char>(bits | static_cast<unsigned int>(value));
            bits = 0;
            break;
        }
        seen = (seen + 1) & 3;
        if (complete && target->Write(&byte, 1) != 1)
            return false;
    }
    return true;
}

} // namespace Strata
