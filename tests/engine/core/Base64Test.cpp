#include "core/Base64.h"

#include "core/Stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

// Reads its bytes in chunks of at most `chunk`; takes writes until `writeLimit` bytes.
class ByteStream : public IStream
{
public:
    explicit ByteStream(std::string bytes = {}, size_t chunk = 1 << 20) : mBytes(std::move(bytes)), mChunk(chunk) {}

    std::wstring GetName() override { return L"bytes"; }
    unsigned long GetCapabilities() override { return StreamCaps_Read | StreamCaps_Write; }
    uint32_t GetLength() override { return static_cast<uint32_t>(mBytes.size()); }
    bool IsEOF() override { return mPosition >= mBytes.size(); }
    size_t Read(void* buffer, size_t count) override
    {
        const size_t n = std::min({count, mChunk, mBytes.size() - mPosition});
        std::memcpy(buffer, mBytes.data() + mPosition, n);
        mPosition += n;
        return n;
    }
    size_t ReadOptimized(void*&, size_t) override { return 0; }
    size_t Write(const void* data, size_t count) override
    {
        const size_t n = std::min(count, mWriteLimit - std::min(mWriteLimit, mWritten.size()));
        mWritten.append(static_cast<const char*>(data), n);
        ++mWriteCalls;
        return n;
    }
    void Seek(SeekOrigin, long long offset) override { mPosition = static_cast<size_t>(offset); }
    uint32_t Tell() override { return static_cast<uint32_t>(mPosition); }

    std::string mBytes;
    size_t mChunk;
    size_t mPosition = 0;
    std::string mWritten;
    size_t mWriteLimit = static_cast<size_t>(-1);
    int mWriteCalls = 0;
};

// Never gives a byte yet never admits to being at its end.
class StalledStream : public ByteStream
{
public:
    bool IsEOF() override { return false; }
    size_t Read(void*, size_t) override { return 0; }
};

std::wstring EncodeBytes(const std::string& bytes, size_t chunk = 1 << 20)
{
    ByteStream source(bytes, chunk);
    return Base64::Encode(&source);
}

std::string DecodeText(const std::wstring& text)
{
    ByteStream target;
    EXPECT_TRUE(Base64::Decode(text, &target));
    return target.mWritten;
}

} // namespace

TEST(Base64Test, EncodesWithPadding)
{
    EXPECT_EQ(EncodeBytes("abc"), L"YWJj");
    EXPECT_EQ(EncodeBytes("ab"), L"YWI=");
    EXPECT_EQ(EncodeBytes("a"), L"YQ==");
    EXPECT_EQ(EncodeBytes(""), L"");
    EXPECT_EQ(EncodeBytes(std::string("\xFB\xFF\x00", 3)), L"+/8A");
    EXPECT_EQ(Base64::Encode(nullptr), L"");
}

TEST(Base64Test, EncodesFromTheCurrentPositionWhateverTheReadSizes)
{
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += static_cast<char>(i * 7 + 3);
    const std::wstring whole = EncodeBytes(bytes);
    EXPECT_EQ(whole.size(), (bytes.size() + 2) / 3 * 4);
    EXPECT_EQ(whole.find(L'\n'), std::wstring::npos);
    // Groups that straddle two reads encode the same.
    EXPECT_EQ(EncodeBytes(bytes, 1), whole);
    EXPECT_EQ(EncodeBytes(bytes, 1000), whole);

    ByteStream source("xxabc");
    source.mPosition = 2;
    EXPECT_EQ(Base64::Encode(&source), L"YWJj");
}

TEST(Base64Test, EncodeEndsWhenTheSourceStalls)
{
    StalledStream stalled;
    EXPECT_EQ(Base64::Encode(&stalled), L"");
}

TEST(Base64Test, DecodeSkipsForeignCharactersAndDropsPartialGroups)
{
    EXPECT_EQ(DecodeText(L"YWJj"), "abc");
    EXPECT_EQ(DecodeText(L"YW Jj\n"), "abc");
    EXPECT_EQ(DecodeText(L"YWJj=="), "abc");
    EXPECT_EQ(DecodeText(L"YQ"), "a");
    EXPECT_EQ(DecodeText(L"YQ=="), "a");
    EXPECT_EQ(DecodeText(L"Y"), "");
    EXPECT_EQ(DecodeText(L"Y\u00e9W-J*j"), "abc");
    EXPECT_EQ(DecodeText(L""), "");
}

TEST(Base64Test, RoundTripsEveryByteValue)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    for (size_t length = 0; length <= 4; ++length)
        EXPECT_EQ(DecodeText(EncodeBytes(bytes.substr(0, length))), bytes.substr(0, length));
    EXPECT_EQ(DecodeText(EncodeBytes(bytes)), bytes);
}

TEST(Base64Test, DecodeWritesOneByteAtATimeAndStopsWhenRefused)
{
    ByteStream target;
    EXPECT_TRUE(Base64::Decode(L"YWJjZGVm", &target));
    EXPECT_EQ(target.mWriteCalls, 6);

    ByteStream full;
    full.mWriteLimit = 2;
    EXPECT_FALSE(Base64::Decode(L"YWJjZGVm", &full));
    EXPECT_EQ(full.mWritten, "ab");
    EXPECT_EQ(full.mWriteCalls, 3);

    EXPECT_FALSE(Base64::Decode(L"YWJj", nullptr));
}
