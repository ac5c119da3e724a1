#include "core/Checksum.h"

#include "core/Stream.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace Strata;

namespace
{

// Reads its bytes in chunks of at most `chunk` and counts the calls.
class ByteStream : public IStream
{
public:
    explicit ByteStream(std::string bytes, size_t chunk = 1 << 20) : mBytes(std::move(bytes)), mChunk(chunk) {}

    std::wstring GetName() override { return L"bytes"; }
    unsigned long GetCapabilities() override { return StreamCaps_Read; }
    uint32_t GetLength() override { return static_cast<uint32_t>(mBytes.size()); }
    bool IsEOF() override { return mPosition >= mBytes.size(); }
    size_t Read(void* buffer, size_t count) override
    {
        ++mReads;
        mLargestRequest = std::max(mLargestRequest, count);
        const size_t n = std::min({count, mChunk, mBytes.size() - mPosition});
        std::memcpy(buffer, mBytes.data() + mPosition, n);
        mPosition += n;
        return n;
    }
    size_t ReadOptimized(void*&, size_t) override { return 0; }
    size_t Write(const void*, size_t) override { return 0; }
    void Seek(SeekOrigin, long long offset) override { mPosition = static_cast<size_t>(offset); }
    uint32_t Tell() override { return static_cast<uint32_t>(mPosition); }

    std::string mBytes;
    size_t mChunk;
    size_t mPosition = 0;
    int mReads = 0;
    size_t mLargestRequest = 0;
};

// Claims a length, yields its bytes, then yields nothing more while never reporting its end
// (a file that shrank under us, say).
class ShrunkStream : public ByteStream
{
public:
    ShrunkStream(std::string bytes, uint32_t claimedLength) : ByteStream(std::move(bytes)), mClaimed(claimedLength) {}
    uint32_t GetLength() override { return mClaimed; }
    // Admits its end only after many empty reads, so a loop that ignores them fails instead of hanging.
    bool IsEOF() override { return mReads > 50; }

    uint32_t mClaimed;
};

const unsigned char* Bytes(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

unsigned long Checksum(const std::string& text)
{
    return ComputeChecksum(Bytes(text.data()), static_cast<unsigned long>(text.size()));
}

} // namespace

TEST(ChecksumTest, AdlerStartsFromZero)
{
    EXPECT_EQ(ComputeChecksum(Bytes("abc"), 3), 0x024A0126ul);
    EXPECT_EQ(adler32(1, Bytes("abc"), 3), 0x024D0127ul);
    EXPECT_EQ(ComputeChecksum(Bytes(""), 0), 0ul);
    // zlib answers a null buffer with its own start value; ours stays as it was.
    const unsigned char* none = nullptr;
    EXPECT_EQ(ComputeChecksum(none, 0), 0ul);
    EXPECT_EQ(ComputeChecksum(none, 10), 0ul);
    EXPECT_EQ(AppendToChecksum(0x1234ul, nullptr, 5), 0x1234ul);
}

TEST(ChecksumTest, StreamsAreReadInBlocksUpToTheLength)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += static_cast<char>('a' + i % 26);

    ByteStream whole(text);
    EXPECT_EQ(ComputeChecksum(&whole), Checksum(text));
    EXPECT_EQ(whole.mLargestRequest, 1024u);

    ByteStream part(text, 100);
    EXPECT_EQ(ComputeChecksum(&part, 1500), Checksum(text.substr(0, 1500)));
    EXPECT_EQ(part.mPosition, 1500u);

    // From the current position; a length past the end covers what is there.
    ByteStream tail(text);
    tail.mPosition = 2990;
    EXPECT_EQ(ComputeChecksum(&tail, 5000), Checksum(text.substr(2990)));

    EXPECT_EQ(ComputeChecksum(static_cast<IStream*>(nullptr)), 0ul);
    EXPECT_EQ(ComputeChecksum(static_cast<IStream*>(nullptr), 10), 0ul);
    EXPECT_EQ(ComputeChecksum_IgnoreWhitespace(nullptr), 0ul);
}

TEST(ChecksumTest, StreamLoopsEndWhenAReadYieldsNothing)
{
    ShrunkStream shrunk("abc", 100000);
    EXPECT_EQ(ComputeChecksum(&shrunk), Checksum("abc"));
    EXPECT_LE(shrunk.mReads, 2);

    ShrunkStream shrunkText("a b\nc", 100000);
    EXPECT_EQ(ComputeChecksum_IgnoreWhitespace(&shrunkText), Checksum("abc"));
    EXPECT_LE(shrunkText.mReads, 2);
}

TEST(ChecksumTest, WhiteSpaceIsIgnoredOnRequest)
{
    ByteStream spaced("a b\r\nc");
    EXPECT_EQ(ComputeChecksum_IgnoreWhitespace(&spaced), Checksum("abc"));
    ByteStream allKinds(" \t\v\f\r\nx\n");
    EXPECT_EQ(ComputeChecksum_IgnoreWhitespace(&allKinds), Checksum("x"));
    EXPECT_EQ(AppendToChecksum_IgnoreWhitespace(0, Bytes("  \n"), 3), 0ul);

    // Bytes above 127 are never white space, in any locale (0xA0 is a space in Latin-1 locales).
    const std::string high("\xA0\x85z");
    EXPECT_EQ(AppendToChecksum_IgnoreWhitespace(0, Bytes(high.data()), 3), Checksum(high));

    // A block boundary inside a run of text changes nothing.
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += (i % 9 == 0) ? ' ' : static_cast<char>('a' + i % 26);
    std::string stripped;
    for (const char c : text)
        if (c != ' ')
            stripped += c;
    ByteStream chunked(text, 333);
    EXPECT_EQ(ComputeChecksum_IgnoreWhitespace(&chunked), Checksum(stripped));
}

TEST(ChecksumTest, TextFilesByExtension)
{
    EXPECT_TRUE(IsTextFile(L"data/strings.txt"));
    EXPECT_TRUE(IsTextFile(L"data\\manifest.xml"));
    EXPECT_FALSE(IsTextFile(L"data/strings.TXT"));
    EXPECT_FALSE(IsTextFile(L"README"));
    EXPECT_FALSE(IsTextFile(L"notes.txt.bak"));
    EXPECT_FALSE(IsTextFile(L"a.txt/readme"));
    EXPECT_FALSE(IsTextFile(L""));
}
