#pragma once

#include <string>

namespace Strata
{

class IStream;

// Encodes wide text as UTF-8 onto a stream. A stream that takes fewer bytes than given drops the
// rest; the stream's own error state tells the caller.
class TextWriter
{
public:
    // The stream is not owned and must outlive the writer.
    explicit TextWriter(IStream* stream);
    virtual ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    // A value above 0x7FFFFFFF (a negative wchar_t) writes nothing.
    void Write(wchar_t c);
    void Write(const std::wstring& text);
    // A null text writes nothing.
    void Write(const wchar_t* text);
    // The text (null: none), then carriage return and line feed.
    void WriteLine(const wchar_t* text);

protected:
    IStream* GetStream() const { return mStream; }

    IStream* mStream;

private:
    void WriteCharacters(const wchar_t* text, size_t length);
};

} // namespace Strata
