#include "core/Checksum.h"

#include "core/Stream.h"
#include "core/WideString.h"

#include <zlib.h>

#include <algorithm>

namespace Strata
{

namespace
{

constexpr size_t kBlockSize = 1024;

// In the C locale's sense, whatever the user's locale, and defined for every byte value.
bool IsWhitespaceByte(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

unsigned long Adler(unsigned long checksum, const unsigned char* data, size_t length)
{
    checksum &= 0xFFFFFFFFul;
    // zlib answers a null buffer with its own start value 1, which is not ours.
    if (data == nullptr || length == 0)
        return checksum;
    return adler32_z(checksum, data, length) & 0xFFFFFFFFul;
}

template <typename Append>
unsigned long ChecksumStream(IStream* stream, unsigned long length, Append append)
{
    unsigned long checksum = 0;
    if (stream == nullptr)
        return checksum;
    unsigned char block[kBlockSize];
    unsigned long remaining = length;
    while (remaining > 0 && !stream->IsEOF())
    {
        const size_t want = static_cast<size_t>(std::min<unsigned long>(remaining, kBlockSize));
        const size_t got = std::min(stream->Read(block, want), want);
        if (got == 0)
            break;
        checksum = append(checksum, block, static_cast<unsigned long>(got));
        remaining -= static_cast<unsigned long>(got);
    }
    return checksum;
}

} // namespace

unsigned long ComputeChecksum(const unsigned char* data, unsigned long length)
{
    return Adler(0, data, length);
}

unsigned long AppendToChecksum(unsigned long checksum, const unsigned char* data, unsigned long length)
{
    return Adler(checksum, data, length);
}

unsigned long ComputeChecksum(IStream* stream, unsigned long length)
{
    return ChecksumStream(stream, length, AppendToChecksum);
}

unsigned long ComputeChecksum(IStream* stream)
{
    if (stream == nullptr)
        return 0;
    return ComputeChecksum(stream, stream->GetLength());
}

unsigned long AppendToChecksum_IgnoreWhitespace(unsigned long checksum, const unsigned char* data, unsigned long length)
{
    checksum &= 0xFFFFFFFFul;
    if (data == nullptr)
        return checksum;
    // Feed each run of non-white bytes at once.
    const unsigned char* end = data + length;
    const unsigned char* p = data;
    while (p < end)
    {
        while (p < end && IsWhitespaceByte(*p))
            ++p;
        const unsigned char* run = p;
        while (p < end && !IsWhitespaceByte(*p))
            ++p;
        checksum = Adler(checksum, run, static_cast<size_t>(p - run));
    }
    return checksum;
}

unsigned long ComputeChecksum_IgnoreWhitespace(IStream* stream)
{
    if (stream == nullptr)
        return 0;
    return ChecksumStream(stream, stream->GetLength(), AppendToChecksum_IgnoreWhitespace);
}

bool IsTextFile(const std::wstring& fileName)
{
    const std::wstring path = ConvertToForwardSlashes(fileName);
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos)
        return false;
    const std::wstring extension = path.substr(dot);
    return extension == L".txt" || extension == L".xml";
}

} // namespace Strata
