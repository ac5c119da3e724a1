#include "core/StreamCopy.h"
#include "core/ErrorStatus.h"
#include "core/FileAddress.h"
#include "core/MemoryStream.h"

#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Testing::MemoryFileSystemPartition;

namespace
{
class RecordingProgress : public IDataTransferProgress
{
public:
    void OnDataTransferInit(uint32_t) override {}
    void OnDataTransferProgress(float fraction, uint32_t bytes) override
    {
        fractions.push_back(fraction);
        steps.push_back(bytes);
        if (abortAfterSteps >= 0 && static_cast<int>(steps.size()) >= abortAfterSteps)
            abort = true;
    }
    void OnDataTransferComplete() override {}
    void OnDataTransferError(int code) override { errors.push_back(code); }
    bool ShouldAbort() override { return abort; }

    std::vector<float> fractions;
    std::vector<uint32_t> steps;
    std::vector<int> errors;
    bool abort = false;
    int abortAfterSteps = -1;
};

// A source that fails with an error status after its first read.
class FailingSource : public MemoryStream, public IErrorStatus
{
public:
    FailingSource() : MemoryStream(L"failing") {}
    size_t Read(void* buffer, size_t count) override
    {
        const size_t n = MemoryStream::Read(buffer, count);
        SetLastError(-5);
        return n;
    }
};

std::unique_ptr<MemoryStream> SourceOf(size_t length)
{
    auto stream = std::make_unique<MemoryStream>(L"source");
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    stream->Write(bytes.data(), bytes.size());
    stream->Seek(SeekOrigin_Begin, 0);
    return stream;
}

IStream* OpenIn(MemoryFileSystemPartition& partition, const wchar_t* name, FileAccess access, FileCreation creation)
{
    const FileAddress address(name, L".bin");
    return partition.OpenStream(&address, access, creation);
}
} // namespace

TEST(StreamCopyTest, ReportsEachRoundOfAThousandAndTwentyFourBytes)
{
    auto source = SourceOf(2500);
    MemoryStream target(L"target");
    RecordingProgress progress;
    EXPECT_EQ(StreamCopy(source.get(), &target, &progress), 2500u);
    EXPECT_EQ(progress.steps, std::vector<uint32_t>({1024, 1024, 452}));
    ASSERT_EQ(progress.fractions.size(), 3u);
    EXPECT_FLOAT_EQ(progress.fractions[0], 0.4096f);
    EXPECT_FLOAT_EQ(progress.fractions[1], 0.8192f);
    EXPECT_FLOAT_EQ(progress.fractions[2], 1.0f);
    EXPECT_TRUE(progress.errors.empty());
    EXPECT_EQ(target.GetLength(), 2500u);
}

TEST(StreamCopyTest, StopsAtTheCountOrWhenAborted)
{
    auto source = SourceOf(2500);
    MemoryStream target(L"target");
    EXPECT_EQ(StreamCopy(source.get(), &target, 1500, nullptr), 1500u);
    EXPECT_EQ(source->Tell(), 1500u);

    auto again = SourceOf(5000);
    RecordingProgress progress;
    progress.abortAfterSteps = 2;
    EXPECT_EQ(StreamCopy(again.get(), &target, &progress), 2048u);
    EXPECT_TRUE(progress.errors.empty());

    EXPECT_EQ(StreamCopy(nullptr, &target, &progress), 0u);
    EXPECT_EQ(StreamCopy(again.get(), nullptr, 10, &progress), 0u);
}

TEST(StreamCopyTest, ShortReadsStillCopyEverything)
{
    MemoryFileSystemPartition partition;
    partition.AddFile(L"in.bin", std::string(700, 'q'));
    partition.SetMaxReadSize(100);
    std::unique_ptr<IStream> source(OpenIn(partition, L"in", FileAccess_Read, FileCreation_OpenExisting));
    MemoryStream target(L"target");
    RecordingProgress progress;
    EXPECT_EQ(StreamCopy(source.get(), &target, &progress), 700u);
    EXPECT_EQ(progress.steps.size(), 7u);
    EXPECT_TRUE(progress.errors.empty());
}

// A source that returns nothing without reaching its end must not spin forever.
TEST(StreamCopyTest, SourceThatMakesNoProgressEndsTheCopyWithAnError)
{
    MemoryFileSystemPartition partition;
    partition.AddFile(L"in.bin", std::string(3000, 'q'));
    partition.ShrinkWhileReading(L"in.bin", 1000, 1000);
    std::unique_ptr<IStream> shrinking(OpenIn(partition, L"in", FileAccess_Read, FileCreation_OpenExisting));
    MemoryStream target(L"target");
    RecordingProgress shrunk;
    // The count was taken before the file shrank: the copy ends where the file now ends.
    EXPECT_EQ(StreamCopy(shrinking.get(), &target, 3000, &shrunk), 1024u);
    EXPECT_TRUE(shrunk.errors.empty());

    partition.SetMaxReadSize(0);
    std::unique_ptr<IStream> stalled(OpenIn(partition, L"in", FileAccess_Read, FileCreation_OpenExisting));
    RecordingProgress progress;
    EXPECT_EQ(StreamCopy(stalled.get(), &target, &progress), 0u);
    EXPECT_EQ(progress.errors, std::vector<int>({kStreamCopyNoProgress}));
    EXPECT_TRUE(progress.steps.empty());
}

TEST(StreamCopyTest, TargetFailuresEndTheCopy)
{
    MemoryFileSystemPartition partition;
    partition.FailWritesAfter(1500, -7);
    std::unique_ptr<IStream> failing(OpenIn(partition, L"out", FileAccess_Write, FileCreation_CreateAlways));
    auto source = SourceOf(4000);
    RecordingProgress progress;
    EXPECT_EQ(StreamCopy(source.get(), failing.get(), &progress), 1500u);
    EXPECT_EQ(progress.steps, std::vector<uint32_t>({1024, 476}));
    EXPECT_EQ(progress.errors, std::vector<int>({-7}));

    // Without an error status of its own, a target that takes nothing is reported as no progress.
    partition.FailWritesAfter(100, 0);
    std::unique_ptr<IStream> full(OpenIn(partition, L"out2", FileAccess_Write, FileCreation_CreateAlways));
    auto again = SourceOf(4000);
    RecordingProgress quiet;
    EXPECT_EQ(StreamCopy(again.get(), full.get(), &quiet), 100u);
    EXPECT_EQ(quiet.errors, std::vector<int>({kStreamCopyNoProgress}));
    EXPECT_EQ(partition.GetFile(L"out2.bin").size(), 100u);
}

TEST(StreamCopyTest, SourceErrorIsPassedOn)
{
    FailingSource source;
    const std::string bytes(3000, 'z');
    source.Write(bytes.data(), bytes.size());
    source.Seek(SeekOrigin_Begin, 0);
    MemoryStream target(L"target");
    RecordingProgress progress;
    EXPECT_EQ(StreamCopy(&source, &target, &progress), 1024u);
    EXPECT_EQ(progress.errors, std::vector<int>({-5}));
}

TEST(StreamCopyTest, PercentCompleteOfNothingIsZero)
{
    struct Query : IDataTransferProgressQuery
    {
        uint32_t GetDataTransferSize() override { return 0; }
        uint32_t GetDataTransferNumBytesCopied() override { return 0; }
    } query;
    EXPECT_EQ(query.GetDataTransferPctComplete(), 0.0f);
}
