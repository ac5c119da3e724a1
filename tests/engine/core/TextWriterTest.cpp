#include "core/TextWriter.h"
#include "core/MemoryStream.h"
#include "core/TextReader.h"

#include <gtest/gtest.h>

#include <string>

using namespace Strata;

namespace
{
std::string Bytes(MemoryStream& stream)
{
    stream.Seek(SeekOrigin_Begin, 0);
    std::string out(stream.GetLength(), '\0');
    stream.Read(out.data(), out.size());
    return out;
}
} // namespace

TEST(TextWriterTest, WriteLineEndsWithCarriageReturnAndLineFeed)
{
    MemoryStream stream(L"out");
    TextWriter writer(&stream);
    writer.WriteLine(L"x");
    EXPECT_EQ(Bytes(stream), "x\r\n");

    MemoryStream empty(L"out");
    TextWriter emptyWriter(&empty);
    emptyWriter.WriteLine(nullptr);
    emptyWriter.Write(static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(Bytes(empty), "\r\n");
}

TEST(TextWriterTest, EncodesEverySequenceLength)
{
    MemoryStream stream(L"out");
    TextWriter writer(&stream);
    writer.Write(L'\u00F1');
    writer.Write(L'\u20AC');
    writer.Write(static_cast<wchar_t>(0x10000));
    writer.Write(static_cast<wchar_t>(0x7FFFFFFF));
    // Negative wide characters lie above 0x7FFFFFFF and write nothing.
    writer.Write(static_cast<wchar_t>(-1));
    EXPECT_EQ(Bytes(stream), "\xC3\xB1"
                             "\xE2\x82\xAC"
                             "\xF0\x90\x80\x80"
                             "\xFD\xBF\xBF\xBF\xBF\xBF");
}

TEST(TextWriterTest, LongTextRoundTripsThroughTheReader)
{
    // Long enough to cross the writer's internal blocks with multi-byte characters.
    std::wstring text;
    for (int i = 0; i < 1500; ++i)
        text += (i % 3 == 0) ? L'\u20AC' : (i % 3 == 1 ? L'a' : L'\u00E9');
    MemoryStream stream(L"out");
    TextWriter writer(&stream);
    writer.Write(text);
    EXPECT_EQ(stream.GetLength(), 500u * (3 + 1 + 2));

    stream.Seek(SeekOrigin_Begin, 0);
    TextReader reader(&stream);
    std::wstring back;
    for (int c = reader.Read(); c != -1; c = reader.Read())
        back += static_cast<wchar_t>(c);
    EXPECT_EQ(back, text);
}
