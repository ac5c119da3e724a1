#pragma once

#include <cstdint>

namespace Strata
{

class IStream;

namespace Internal
{
// One row per UTF-8 sequence length, shared by the text reader and writer.
struct Utf8Row
{
    uint8_t leadMask;
    uint8_t leadValue;
    uint8_t payloadMask;
    int continuations;
    uint32_t smallest;
    uint32_t largest;
};

inline constexpr Utf8Row kUtf8Rows[6] = {
    {0x80, 0x00, 0x7F, 0, 0, 0x7F},
    {0xE0, 0xC0, 0x1F, 1, 0x80, 0x7FF},
    {0xF0, 0xE0, 0x0F, 2, 0x800, 0xFFFF},
    {0xF8, 0xF0, 0x07, 3, 0x10000, 0x1FFFFF},
    {0xFC, 0xF8, 0x03, 4, 0x200000, 0x3FFFFFF},
    {0xFE, 0xFC, 0x01, 5, 0x4000000, 0x7FFFFFFF},
};

// The row whose lead-byte pattern matches, or null for a continuation byte or 0xFE/0xFF.
inline const Utf8Row* FindUtf8RowForLeadByte(uint8_t byte)
{
    for (const Utf8Row& row : kUtf8Rows)
        if ((byte & row.leadMask) == row.leadValue)
            return &row;
    return nullptr;
}

// The row whose range holds the value, or null above 0x7FFFFFFF.
inline const Utf8Row* FindUtf8RowForValue(uint32_t value)
{
    for (const Utf8Row& row : kUtf8Rows)
        if (value <= row.largest)
            return &row;
    return nullptr;
}

} // namespace Internal

// Decodes UTF-8 from a stream one code point at a time, counting lines.
class TextReader
{
public:
    // The stream is not owned and must outlive the reader.
    explicit TextReader(IStream* stream);
    virtual ~TextReader();

    // The next code point, or -1 at the end of the stream (also when a multi-byte character is cut
    // short by the end). A malformed sequence, an overlong form, 0, a surrogate or a value beyond Unicode
    // gives U+FFFD.
    int Read();
    // What Read would return, without consuming it; -1 when the stream cannot seek.
    int Peek();
    bool IsEOF();
    // 1 on the first line; grows when the character after a line feed is read.
    int GetLineNumber() const { return mLineNumber; }

protected:
    IStream* mStream;

private:
    int mLineNumber = 1;
    bool mLastWasLineFeed = false;
};

} // namespace Strata
