#include "core/TextReader.h"

#include "core/Stream.h"

namespace Strata
{

TextReader::TextReader(IStream* stream) : mStream(stream)
{
}

TextReader::~TextReader() = default;

bool TextReader::IsEOF()
{
    return mStream == nullptr || mStream->IsEOF();
}

int TextReader::Read()
{
    constexpr int kReplacement = 0xFFFD;

    if (mLastWasLineFeed)
    {
        ++mLineNumber;
        mLastWasLineFeed = false;
    }
    if (mStream == nullptr)
        return -1;
    unsigned char byte = 0;
    if (mStream->Read(&byte, 1) != 1)
        return -1;
    const Internal::Utf8Row* row = Internal::FindUtf8RowForLeadByte(byte);
    if (row == nullptr)
        return kReplacement;
    uint32_t value = byte & row->payloadMask;
    for (int i = 0; i < row->continuations; ++i)
    {
        if (mStream->Read(&byte, 1) != 1)
            return -1;
        if ((byte & 0xC0) != 0x80)
        {
            // The byte may start the next character: let it be read again.
            if ((mStream->GetCapabilities() & StreamCaps_Seek) != 0)
                mStream->Seek(SeekOrigin_Current, -1);
            return kReplacement;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < row->smallest || value > row->largest || value == 0 || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF))
        return kReplacement;
    mLastWasLineFeed = (value == '\n');
    return static_cast<int>(value);
}

int TextReader::Peek()
{
    if (mStream == nullptr || (mStream->GetCapabilities() & StreamCaps_Seek) == 0)
        return -1;
    const uint32_t position = mStream->Tell();
    const int line = mLineNumber;
    const bool lastWasLineFeed = mLastWasLineFeed;
    const int c = Read();
    mStream->Seek(SeekOrigin_Begin, position);
    mLineNumber = line;
    mLastWasLineFeed = lastWasLineFeed;
    return c;
}

} // namespace Strata
