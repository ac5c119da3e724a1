#include "core/TextReader.h"
#include "core/MemoryStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Strata;

namespace
{
// Every code point the reader returns until the end.
std::vector<int> Decode(IStream& stream)
{
    TextReader reader(&stream);
    std::vector<int> out;
    for (int c = reader.Read(); c != -1; c = reader.Read())
        out.push_back(c);
    return out;
}

std::vector<int> Decode(const std::string& bytes)
{
    MemoryStream stream(L"text");
    stream.Write(bytes.data(), bytes.size());
    stream.Seek(SeekOrigin_Begin, 0);
    return Decode(stream);
}
} // namespace

TEST(TextReaderTest, DecodesValidSequences)
{
    EXPECT_EQ(Decode("a"), std::vector<int>({'a'}));
    EXPECT_EQ(Decode("\xC3\xB1"), std::vector<int>({0xF1}));
    EXPECT_EQ(Decode("\xE2\x82\xAC"), std::vector<int>({0x20AC}));
    EXPECT_EQ(Decode("\xEF\xBF\xBF"), std::vector<int>({0xFFFF}));
    // Four bytes: every character above U+FFFF, up to the last one.
    EXPECT_EQ(Decode("\xF0\x9F\x98\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"),
              std::vector<int>({0x1F600, 0x10000, 0x10FFFF}));
}

TEST(TextReaderTest, ReplacesWhatItCannotAccept)
{
    // Beyond U+10FFFF, surrogates, overlong forms, NUL, a lone continuation byte, bytes no row matches.
    EXPECT_EQ(Decode("\xF4\x90\x80\x80"), std::vector<int>({0xFFFD}));
    EXPECT_EQ(Decode("\xED\xA0\x80\xED\xBF\xBF"), std::vector<int>({0xFFFD, 0xFFFD}));
    EXPECT_EQ(Decode("\xF0\x8F\xBF\xBF"), std::vector<int>({0xFFFD}));
    EXPECT_EQ(Decode(std::string("\xC0\x80", 2)), std::vector<int>({0xFFFD}));
    EXPECT_EQ(Decode("\xE0\x80\xAF"), std::vector<int>({0xFFFD}));
    EXPECT_EQ(Decode(std::string(1, '\0')), std::vector<int>({0xFFFD}));
    EXPECT_EQ(Decode("\x80z"), std::vector<int>({0xFFFD, 'z'}));
    EXPECT_EQ(Decode("\xFF\xFE"), std::vector<int>({0xFFFD, 0xFFFD}));
}

TEST(TextReaderTest, BadContinuationIsReadAgainOnlyWhenTheStreamSeeks)
{
    EXPECT_EQ(Decode("\xE2\x82"
                     "AB"),
              std::vector<int>({0xFFFD, 'A', 'B'}));

    // The borrowed-range stream does not offer seeking, so the byte is lost.
    const std::string bytes = "\xE2\x82"
                              "AB";
    ReadOnlyMemoryStream stream(L"ro", bytes.data(), bytes.size());
    EXPECT_EQ(Decode(stream), std::vector<int>({0xFFFD, 'B'}));
}

TEST(TextReaderTest, SequenceCutByTheEndGivesEndOfText)
{
    EXPECT_EQ(Decode("a\xE2\x82"), std::vector<int>({'a'}));
}

TEST(TextReaderTest, CountsLinesAfterEachLineFeed)
{
    MemoryStream stream(L"lines");
    stream.Write("a\nb", 3);
    stream.Seek(SeekOrigin_Begin, 0);
    TextReader reader(&stream);
    EXPECT_EQ(reader.GetLineNumber(), 1);
    EXPECT_EQ(reader.Read(), 'a');
    EXPECT_EQ(reader.GetLineNumber(), 1);
    EXPECT_EQ(reader.Read(), '\n');
    EXPECT_EQ(reader.GetLineNumber(), 1);
    // Peeking past the line feed does not count the line.
    EXPECT_EQ(reader.Peek(), 'b');
    EXPECT_EQ(reader.GetLineNumber(), 1);
    EXPECT_EQ(reader.Read(), 'b');
    EXPECT_EQ(reader.GetLineNumber(), 2);
    EXPECT_TRUE(reader.IsEOF());
    EXPECT_EQ(reader.Peek(), -1);
    EXPECT_EQ(reader.Read(), -1);
}

TEST(TextReaderTest, PeekNeedsASeekableStream)
{
    MemoryStream seekable(L"s");
    seekable.Write("\xE2\x82\xAC!", 4);
    seekable.Seek(SeekOrigin_Begin, 0);
    TextReader reader(&seekable);
    EXPECT_EQ(reader.Peek(), 0x20AC);
    EXPECT_EQ(reader.Read(), 0x20AC);
    EXPECT_EQ(reader.Read(), '!');

    const char bytes[] = "xy";
    ReadOnlyMemoryStream fixed(L"ro", bytes, 2);
    TextReader fixedReader(&fixed);
    EXPECT_EQ(fixedReader.Peek(), -1);
    EXPECT_EQ(fixedReader.Read(), 'x');
}
