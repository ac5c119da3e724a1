#include "platform/linux/FileStream.h"

#include "TempFolder.h"
#include "core/RuntimeError.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <sys/stat.h>
#include <vector>

using Linux::FileStream;
using namespace Strata;

namespace
{

class FileStreamTest : public ::testing::Test
{
protected:
    std::unique_ptr<FileStream> Open(const std::string& name, FileAccess access, FileCreation creation)
    {
        return std::make_unique<FileStream>(mFolder.Path(name), access, creation);
    }

    static std::string ReadAll(IStream& stream)
    {
        std::string text(stream.GetLength(), '\0');
        text.resize(stream.Read(text.data(), text.size()));
        return text;
    }

    TempFolder mFolder;
};

} // namespace

TEST_F(FileStreamTest, CreationModes)
{
    Open("a.txt", FileAccess_Write, FileCreation_CreateAlways)->Write("hello", 5);
    Open("a.txt", FileAccess_Write, FileCreation_OpenAlways)->Write("J", 1);
    EXPECT_EQ(mFolder.Get("a.txt"), "Jello") << "open-or-create keeps the content";
    EXPECT_EQ(Open("a.txt", FileAccess_ReadWrite, FileCreation_CreateAlways)->GetLength(), 0u) << "truncated";

    EXPECT_THROW(Open("a.txt", FileAccess_Write, FileCreation_CreateNew), RuntimeError);
    Open("b.txt", FileAccess_Write, FileCreation_CreateNew);
    Open("c.txt", FileAccess_ReadWrite, FileCreation_OpenAlways);
    EXPECT_TRUE(mFolder.Exists("b.txt") && mFolder.Exists("c.txt"));
    try
    {
        Open("missing.txt", FileAccess_Read, FileCreation_OpenExisting);
        FAIL() << "no exception";
    }
    catch (const RuntimeError& e)
    {
        EXPECT_EQ(std::string(e.what()), "Could not open file " + mFolder.Path("missing.txt"));
    }
    EXPECT_FALSE(mFolder.Exists("missing.txt"));
}

TEST_F(FileStreamTest, CapabilitiesAndAccessDirection)
{
    mFolder.Put("d.txt", "data");
    auto reader = Open("d.txt", FileAccess_Read, FileCreation_OpenExisting);
    EXPECT_EQ(reader->GetCapabilities(), 1u | 4u);
    EXPECT_EQ(reader->Write("zz", 2), 0u);
    auto writer = Open("e.txt", FileAccess_Write, FileCreation_CreateAlways);
    EXPECT_EQ(writer->GetCapabilities(), 2u | 4u);
    writer->Write("abc", 3);
    writer->Seek(SeekOrigin_Begin, 0);
    char buffer[4];
    EXPECT_EQ(writer->Read(buffer, sizeof(buffer)), 0u);
    EXPECT_EQ(Open("d.txt", FileAccess_ReadWrite, FileCreation_OpenExisting)->GetCapabilities(), 1u | 2u | 4u);
    EXPECT_EQ(mFolder.Get("d.txt"), "data");
}

TEST_F(FileStreamTest, RefusesUnknownModesFoldersAndReadOnlyTruncation)
{
    mFolder.Put("g.txt", "precious");
    EXPECT_THROW(Open("g.txt", static_cast<FileAccess>(0), FileCreation_OpenExisting), RuntimeError);
    EXPECT_THROW(Open("g.txt", static_cast<FileAccess>(4), FileCreation_OpenExisting), RuntimeError);
    EXPECT_THROW(Open("g.txt", FileAccess_Read, static_cast<FileCreation>(7)), RuntimeError);
    EXPECT_THROW(Open("g.txt", FileAccess_Read, FileCreation_CreateAlways), RuntimeError);
    EXPECT_EQ(mFolder.Get("g.txt"), "precious");
    EXPECT_THROW(Open("new.txt", FileAccess_Read, FileCreation_CreateAlways), RuntimeError);
    EXPECT_FALSE(mFolder.Exists("new.txt"));
    std::filesystem::create_directory(mFolder.Path("dir"));
    EXPECT_THROW(Open("dir", FileAccess_Read, FileCreation_OpenExisting), RuntimeError);
}

TEST_F(FileStreamTest, WritersHoldAnExclusiveLock)
{
    mFolder.Put("lock.txt", "first writer's data");
    auto writer = Open("lock.txt", FileAccess_Write, FileCreation_OpenExisting);
    EXPECT_THROW(Open("lock.txt", FileAccess_ReadWrite, FileCreation_OpenAlways), RuntimeError);
    // A failed truncating open must not have truncated the locked file.
    EXPECT_THROW(Open("lock.txt", FileAccess_Write, FileCreation_CreateAlways), RuntimeError);
    EXPECT_EQ(ReadAll(*Open("lock.txt", FileAccess_Read, FileCreation_OpenExisting)), "first writer's data")
        << "readers take no lock";
    writer.reset();
    EXPECT_NO_THROW(Open("lock.txt", FileAccess_Write, FileCreation_OpenExisting)) << "closing releases the lock";
}

TEST_F(FileStreamTest, NewFilesAreReadableByAll)
{
    const mode_t previous = ::umask(022);
    Open("perm.txt", FileAccess_Write, FileCreation_CreateAlways);
    ::umask(previous);
    struct stat info = {};
    ASSERT_EQ(::stat(mFolder.Path("perm.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(FileStreamTest, ReadSeekTellAndEnd)
{
    mFolder.Put("s.bin", "0123456789");
    auto stream = Open("s.bin", FileAccess_Read, FileCreation_OpenExisting);
    EXPECT_EQ(stream->GetName(), L"s.bin");
    EXPECT_EQ(stream->GetLength(), 10u);
    char buffer[16] = {};
    EXPECT_EQ(stream->Read(buffer, 4), 4u);
    stream->Seek(SeekOrigin_Current, 2);
    EXPECT_EQ(stream->Tell(), 6u);
    EXPECT_FALSE(stream->IsEOF());
    EXPECT_EQ(stream->Read(buffer, sizeof(buffer)), 4u) << "fewer at the end";
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_TRUE(stream->IsEOF());

    stream->Seek(SeekOrigin_End, -3);
    EXPECT_EQ(stream->Tell(), 7u);
    stream->Seek(SeekOrigin_Current, -100);
    EXPECT_EQ(stream->Tell(), 0u) << "clamped at the start";
    stream->Seek(static_cast<SeekOrigin>(9), 5);
    EXPECT_EQ(stream->Tell(), 0u) << "an unknown origin does nothing";
    stream->Seek(SeekOrigin_Current, LLONG_MAX);
    stream->Seek(SeekOrigin_Current, LLONG_MAX); // must not overflow
    // A reader looping "while not at end" must stop after a seek beyond the last byte.
    stream->Seek(SeekOrigin_Begin, 20);
    EXPECT_TRUE(stream->IsEOF());
    EXPECT_EQ(stream->Read(buffer, 1), 0u);
}

TEST_F(FileStreamTest, LargeTransfersArriveWhole)
{
    std::vector<unsigned char> data(3 * 1024 * 1024 + 17);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i * 31 + 7);
    EXPECT_EQ(Open("big.bin", FileAccess_Write, FileCreation_CreateAlways)->Write(data.data(), data.size()),
              data.size());
    auto reader = Open("big.bin", FileAccess_Read, FileCreation_OpenExisting);
    std::vector<unsigned char> back(data.size());
    EXPECT_EQ(reader->Read(back.data(), back.size()), data.size());
    EXPECT_EQ(back, data);
}

TEST_F(FileStreamTest, ReadOptimizedThrows)
{
    mFolder.Put("o.bin", "abc");
    auto stream = Open("o.bin", FileAccess_Read, FileCreation_OpenExisting);
    EXPECT_EQ(stream->GetCapabilities() & StreamCaps_ReadOptimized, 0u);
    void* pointer = nullptr;
    try
    {
        stream->ReadOptimized(pointer, 1);
        FAIL() << "no exception";
    }
    catch (const RuntimeError& e)
    {
        EXPECT_STREQ(e.what(), "Linux::FileStream does not implement ReadOptimized.");
    }
}
