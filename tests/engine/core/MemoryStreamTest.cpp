#include "core/MemoryStream.h"
#include "core/RuntimeError.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace Strata;

namespace
{
std::string ReadAll(IStream& stream)
{
    stream.Seek(SeekOrigin_Begin, 0);
    std::string out(stream.GetLength(), '\0');
    EXPECT_EQ(stream.Read(out.data(), out.size()), out.size());
    return out;
}
} // namespace

TEST(MemoryStreamTest, OverwritesAndGrowsFromTheCursor)
{
    MemoryStream stream(L"buffer");
    EXPECT_EQ(stream.GetName(), L"buffer");
    EXPECT_EQ(stream.GetCapabilities(), 15u);
    EXPECT_TRUE(stream.IsEOF());
    EXPECT_EQ(stream.Write("", 0), 0u);
    EXPECT_EQ(stream.GetLength(), 0u);

    EXPECT_EQ(stream.Write("abc", 3), 3u);
    stream.Seek(SeekOrigin_Begin, 1);
    EXPECT_EQ(stream.Write("XYZ", 3), 3u);
    EXPECT_EQ(stream.GetLength(), 4u);
    EXPECT_EQ(stream.Tell(), 4u);
    EXPECT_TRUE(stream.IsEOF());
    EXPECT_EQ(ReadAll(stream), "aXYZ");
}

TEST(MemoryStreamTest, SeekClampsEvenForExtremeOffsets)
{
    MemoryStream empty(L"empty");
    empty.Seek(SeekOrigin_End, 5);
    EXPECT_EQ(empty.Tell(), 0u);

    MemoryStream stream(L"s");
    stream.Write("abcd", 4);
    stream.Seek(SeekOrigin_Begin, -5);
    EXPECT_EQ(stream.Tell(), 0u);
    stream.Seek(SeekOrigin_End, 10);
    EXPECT_EQ(stream.Tell(), 4u);
    stream.Seek(SeekOrigin_Current, -1);
    EXPECT_EQ(stream.Tell(), 3u);
    stream.Seek(static_cast<SeekOrigin>(7), 0);
    EXPECT_EQ(stream.Tell(), 3u);

    // Offsets whose sum with the position would overflow a long long.
    stream.Seek(SeekOrigin_Current, LLONG_MAX);
    EXPECT_EQ(stream.Tell(), 4u);
    stream.Seek(SeekOrigin_End, LLONG_MIN);
    EXPECT_EQ(stream.Tell(), 0u);
    stream.Seek(SeekOrigin_Current, LLONG_MIN);
    EXPECT_EQ(stream.Tell(), 0u);
    stream.Seek(SeekOrigin_End, LLONG_MAX);
    EXPECT_EQ(stream.Tell(), 4u);
}

TEST(MemoryStreamTest, ReadOptimizedPointsIntoTheStream)
{
    MemoryStream stream(L"s");
    stream.Write("0123456789", 10);
    stream.Seek(SeekOrigin_Begin, 4);
    void* pointer = nullptr;
    EXPECT_EQ(stream.ReadOptimized(pointer, 100), 6u);
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(*static_cast<char*>(pointer), '4');
    EXPECT_EQ(stream.Tell(), 10u);
    EXPECT_EQ(stream.ReadOptimized(pointer, 100), 0u);
    EXPECT_EQ(pointer, nullptr);
}

// The cursor must survive the vector moving its bytes when it grows.
TEST(MemoryStreamTest, CursorSurvivesReallocation)
{
    MemoryStream stream(L"s");
    stream.Write("ab", 2);
    stream.Seek(SeekOrigin_Begin, 1);
    const std::string big(100000, 'x');
    EXPECT_EQ(stream.Write(big.data(), big.size()), big.size());
    EXPECT_EQ(stream.Tell(), 100001u);
    stream.Seek(SeekOrigin_Begin, 0);
    char first[2] = {};
    stream.Read(first, 2);
    EXPECT_EQ(std::string(first, 2), "ax");

    // Writing the stream's own bytes past its end copies them before the storage moves.
    stream.Seek(SeekOrigin_Begin, 0);
    void* own = nullptr;
    ASSERT_EQ(stream.ReadOptimized(own, 50000), 50000u);
    stream.Seek(SeekOrigin_End, 0);
    EXPECT_EQ(stream.Write(own, 50000), 50000u);
    EXPECT_EQ(stream.GetLength(), 150001u);
    stream.Seek(SeekOrigin_Begin, 100001);
    char copied[3] = {};
    stream.Read(copied, 3);
    EXPECT_EQ(std::string(copied, 3), "axx");
}

TEST(ReadOnlyMemoryStreamTest, ReadsTheBorrowedRangeAndRefusesWrites)
{
    const char data[] = "0123456789";
    ReadOnlyMemoryStream stream(L"ro", data, 10);
    EXPECT_EQ(stream.GetCapabilities(), 9u);
    EXPECT_EQ(stream.GetLength(), 10u);

    stream.Seek(SeekOrigin_Begin, 4);
    void* pointer = nullptr;
    EXPECT_EQ(stream.ReadOptimized(pointer, 100), 6u);
    EXPECT_EQ(pointer, data + 4);
    EXPECT_TRUE(stream.IsEOF());

    stream.Seek(SeekOrigin_Current, LLONG_MIN);
    EXPECT_EQ(stream.Tell(), 0u);
    stream.Seek(SeekOrigin_End, -2);
    char tail[4] = {};
    EXPECT_EQ(stream.Read(tail, 4), 2u);
    EXPECT_EQ(std::string(tail, 2), "89");

    try
    {
        stream.Write("x", 1);
        FAIL() << "Write must throw";
    }
    catch (const RuntimeError& error)
    {
        EXPECT_STREQ(error.what(), "ReadOnlyMemoryStream::Write is not implemented.");
    }

    ReadOnlyMemoryStream none(L"none", nullptr, 99);
    EXPECT_EQ(none.GetLength(), 0u);
    EXPECT_TRUE(none.IsEOF());
}
