#include "core/TextWriter.h"

#include "core/Stream.h"
#include "core/TextReader.h"

#include <cwchar>

namespace Strata
{

namespace
{
// Encodes one character into `out` (room for 6 bytes); returns the byte count, 0 for none.
size_t EncodeUtf8(wchar_t c, unsigned char* out)
{
    const uint32_t value = static_cast<uint32_t>(c);
    const Internal::Utf8Row* row = Internal::FindUtf8RowForValue(value);
    if (row == nullptr)
        return 0;
    const int continuations = row->continuations;
    out[0] = static_cast<unsigned char>(row->leadValue | (value >> (6 * continuations)));
    for (int i = 1; i <= continuations; ++i)
        out[i] = static_cast<unsigned char>(0x80 | ((value >> (6 * (continuations - i))) & 0x3F));
    return static_cast<size_t>(continuations) + 1;
}
} // namespace

TextWriter::TextWriter(IStream* stream) : mStream(stream)
{
}

TextWriter::~TextWriter() = default;

void TextWriter::Write(wchar_t c)
{
    unsigned char bytes[6];
    const size_t n = EncodeUtf8(c, bytes);
    if (n > 0 && mStream != nullptr)
        mStream->Write(bytes, n);
}

void TextWriter::Write(const std::wstring& text)
{
    WriteCharacters(text.data(), text.size());
}

void TextWriter::Write(const wchar_t* text)
{
    if (text != nullptr)
        WriteCharacters(text, std::wcslen(text));
}

void TextWriter::WriteLine(const wchar_t* text)
{
    Write(text);
    WriteCharacters(L"\r\n", 2);
}

void TextWriter::WriteCharacters(const wchar_t* text, size_t length)
{
    if (mStream == nullptr)
        return;
    // Encoded in blocks so that a long text costs a few stream calls rather than one per character.
    unsigned char buffer[1024];
    size_t used = 0;
    for (size_t i = 0; i < length; ++i)
    {
        if (used + 6 > sizeof(buffer))
        {
            mStream->Write(buffer, used);
            used = 0;
        }
        used += EncodeUtf8(text[i], buffer + used);
    }
    if (used > 0)
        mStream->Write(buffer, used);
}

} // namespace Strata
