#include "framework/DownloadManager.h"

#include "core/Checksum.h"
#include "core/ErrorStatus.h"
#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "framework/NetworkPlatform.h"

#include "support/FakeNetworkPlatform.h"
#include "support/MemoryFileSystemPartition.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace Strata;
using Strata::Testing::FakeNetworkPlatform;
using Strata::Testing::MemoryFileSystemPartition;
using Strata::Testing::StreamGate;
using Strata::Testing::WaitUntil;
using Transfer = boost::intrusive_ptr<IFileTransfer>;
using Response = FakeNetworkPlatform::Response;

namespace
{
// The memory partition is meant for one thread at a time; the download threads open and close cache
// files at once, so every call into it (stream deletion included) goes through one lock here.
class SerialStream final : public IStream, public IErrorStatus
{
public:
    SerialStream(IStream* inner, std::shared_ptr<std::recursive_mutex> mutex) : mInner(inner), mMutex(std::move(mutex))
    {
    }
    ~SerialStream() override
    {
        std::lock_guard<std::recursive_mutex> lock(*mMutex);
        delete mInner;
    }
    std::wstring GetName() override { return mInner->GetName(); }
    unsigned long GetCapabilities() override { return mInner->GetCapabilities(); }
    uint32_t GetLength() override { return mInner->GetLength(); }
    bool IsEOF() override { return mInner->IsEOF(); }
    size_t Read(void* buffer, size_t count) override { return mInner->Read(buffer, count); }
    size_t ReadOptimized(void*& pointer, size_t count) override { return mInner->ReadOptimized(pointer, count); }
    size_t Write(const void* data, size_t count) override { return mInner->Write(data, count); }
    void Seek(SeekOrigin origin, long long offset) override { mInner->Seek(origin, offset); }
    uint32_t Tell() override { return mInner->Tell(); }
    int GetLastError() override
    {
        IErrorStatus* status = dynamic_cast<IErrorStatus*>(mInner);
        return status != nullptr ? status->GetLastError() : 0;
    }

private:
    IStream* mInner;
    std::shared_ptr<std::recursive_mutex> mMutex;
};

class SerialPartition final : public IFileSystemPartition
{
public:
    SerialPartition(MemoryFileSystemPartition* inner, std::shared_ptr<std::recursive_mutex> mutex)
        : mInner(inner), mMutex(std::move(mutex))
    {
    }
    ~SerialPartition() override
    {
        std::lock_guard<std::recursive_mutex> lock(*mMutex);
        delete mInner;
    }
    IStream* OpenStream(const FileAddress* address, FileAccess access, FileCreation creation) override
    {
        std::lock_guard<std::recursive_mutex> lock(*mMutex);
        IStream* stream = mInner->OpenStream(address, access, creation);
        return stream != nullptr ? new SerialStream(stream, mMutex) : nullptr;
    }
    void Lock() override { mInner->Lock(); }
    void Unlock() override { mInner->Unlock(); }
    bool FindFile(FileAddress* address) override
    {
        return Locked([&] { return mInner->FindFile(address); });
    }
    bool FindFiles(const FileAddress* pattern, std::vector<FileAddress>& out) override
    {
        return Locked([&] { return mInner->FindFiles(pattern, out); });
    }
    void DeleteFile(const FileAddress* address) override
    {
        Locked(
            [&]
            {
                mInner->DeleteFile(address);
                return true;
            });
    }
    bool RenameFile(const FileAddress* from, const FileAddress* to) override
    {
        return Locked([&] { return mInner->RenameFile(from, to); });
    }

private:
    template <class F>
    bool Locked(F f)
    {
        std::lock_guard<std::recursive_mutex> lock(*mMutex);
        return f();
    }
    MemoryFileSystemPartition* mInner;
    std::shared_ptr<std::recursive_mutex> mMutex;
};

bool IsDone(const Transfer& transfer)
{
    return transfer->GetDataTransferPctComplete() >= 1.0f || transfer->HasErrorOccurred();
}

Response Body(std::string text)
{
    Response response;
    response.body = std::move(text);
    return response;
}

Response Gated(std::string text, std::shared_ptr<StreamGate> gate, size_t at)
{
    Response response = Body(std::move(text));
    response.gate = std::move(gate);
    response.gateAt = at;
    return response;
}

Response Status(int status)
{
    Response response = Body("<html>error page</html>");
    response.status = status;
    return response;
}

class DownloadManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* fileSystem = new FileSystem();
        memory = new MemoryFileSystemPartition(L"cache");
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, new SerialPartition(memory, mutex));
        manager = static_cast<DownloadManager*>(GetDownloadManager());
        manager->SetRetryPolicy({3, 1});
        manager->SetBaseURL(L"http://test/base");
    }

    void TearDown() override
    {
        for (const auto& gate : gates)
            gate->Release();
        manager->Cleanup();
        Internal::DeleteAllSingletons();
        EXPECT_FALSE(IsDownloadManagerRegistered());
        EXPECT_EQ(network.GetOpenStreamCount(), 0);
    }

    std::shared_ptr<StreamGate> NewGate()
    {
        gates.push_back(std::make_shared<StreamGate>());
        return gates.back();
    }

    static std::wstring URL(const std::wstring& file) { return L"http://test/base/" + file; }

    // Downloads "<file>" into the cache folder "Cache".
    Transfer Fetch(const std::wstring& name, const std::wstring& extension, int priority = 100, int size = -1)
    {
        return manager->Download(L"/" + name + extension,
                                 FileAddress(FileSystemPartition_User, L"Cache", name.c_str(), extension.c_str()),
                                 priority, size);
    }

    std::string CacheFile(const std::wstring& path)
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex);
        return memory->HasFile(path) ? memory->GetFile(path) : "<none>";
    }

    FakeNetworkPlatform network;
    std::shared_ptr<std::recursive_mutex> mutex = std::make_shared<std::recursive_mutex>();
    MemoryFileSystemPartition* memory = nullptr;
    DownloadManager* manager = nullptr;
    std::vector<std::shared_ptr<StreamGate>> gates;
};

TEST_F(DownloadManagerTest, BaseURLAndPathAreJoinedWithOneSlash)
{
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"http://test/a/", L"http://test/a/x.png"},
        {L"http://test/a//", L"http://test/a//x.png"},
        {L"http:\\\\test\\a", L"http://test/a/x.png"},
    };
    for (const auto& [base, expected] : cases)
    {
        manager->SetBaseURL(base);
        const Transfer transfer = Fetch(L"x", L".png");
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
        EXPECT_EQ(network.GetRequests().back(), expected);
    }
    manager->SetBaseURL(L"http://test/a");
    const Transfer transfer =
        manager->Download(L"\\\\sub\\y.png", FileAddress(FileSystemPartition_User, L"Cache", L"y", L".png"), 1, -1);
    ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
    EXPECT_EQ(network.GetRequests().back(), L"http://test/a/sub/y.png");

    EXPECT_EQ(DownloadManager::FileTransfer::MakeID(L"http://h/a/Title.PNG"), Label("/title.png"));
    EXPECT_EQ(DownloadManager::FileTransfer::MakeID(L"plain"), Label("plain"));
    EXPECT_EQ(transfer->GetID(), Label("/y.png"));
}

TEST_F(DownloadManagerTest, AskingTwiceSharesOneTransferAndCanOnlyRaiseItsUrgency)
{
    const auto gate = NewGate();
    network.Script(URL(L"a.png"), Gated("aaaa", gate, 0));
    const Transfer first = Fetch(L"a", L".png", 100);
    const Transfer again =
        manager->Download(L"elsewhere/A.png", FileAddress(FileSystemPartition_User, L"Cache", L"a", L".png"), 50, -1);
    EXPECT_EQ(first, again) << "one identifier: the file's name and extension";
    auto* transfer = static_cast<DownloadManager::FileTransfer*>(first.get());
    EXPECT_EQ(transfer->GetPriority(), 50);
    EXPECT_EQ(Fetch(L"a", L".png", 70), first);
    EXPECT_EQ(transfer->GetPriority(), 50);
    EXPECT_EQ(manager->GetPendingCount(), 1u);

    gate->Release();
    ASSERT_TRUE(WaitUntil([&] { return IsDone(first); }));
    EXPECT_FALSE(first->HasErrorOccurred());
    EXPECT_EQ(network.GetRequestCount(URL(L"a.png")), 1);
    EXPECT_EQ(manager->GetPendingCount(), 0u);
}

TEST_F(DownloadManagerTest, ThreeRunAtOnceAndTheFourthStartsWhenOneEnds)
{
    std::vector<std::shared_ptr<StreamGate>> held;
    std::vector<Transfer> transfers;
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"})
    {
        held.push_back(NewGate());
        network.Script(URL(std::wstring(name) + L".png"),
                       Gated(std::string("body of ") + char(name[0]), held.back(), 0));
        transfers.push_back(Fetch(name, L".png", 5));
    }
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(held[i]->WaitUntilReached(10000)) << i;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(network.GetRequestCount(URL(L"d.png")), 0) << "equal priorities run in order of arrival";

    held[1]->Release();
    ASSERT_TRUE(WaitUntil([&] { return IsDone(transfers[1]); }));
    ASSERT_TRUE(held[3]->WaitUntilReached(10000));
    for (const auto& gate : held)
        gate->Release();
    for (size_t i = 0; i < transfers.size(); ++i)
    {
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfers[i]); }));
        EXPECT_FALSE(transfers[i]->HasErrorOccurred());
    }
    EXPECT_EQ(CacheFile(L"Cache/d.png"), "body of d");
}

TEST_F(DownloadManagerTest, UrgentTransferInterruptsRunningOnesWhichStartOverLater)
{
    const auto gate = NewGate();
    std::vector<Transfer> slow;
    for (const wchar_t* name : {L"a", L"b", L"c"})
    {
        network.Script(URL(std::wstring(name) + L".png"), Gated("0123456789", gate, 4));
        slow.push_back(Fetch(name, L".png", 5));
    }
    ASSERT_TRUE(WaitUntil([&] { return network.GetRequests().size() == 3; }));
    ASSERT_TRUE(gate->WaitUntilReached(10000));

    network.Script(URL(L"urgent.png"), Body("now"));
    const Transfer urgent = Fetch(L"urgent", L".png", 0);
    ASSERT_TRUE(WaitUntil([&] { return IsDone(urgent); }));
    EXPECT_FALSE(urgent->HasErrorOccurred());
    EXPECT_EQ(CacheFile(L"Cache/urgent.png"), "now");

    // Each interrupted transfer waited, without failing, and then asked again from the start.
    ASSERT_TRUE(WaitUntil([&] { return network.GetRequests().size() == 7; }));
    for (const wchar_t* name : {L"a", L"b", L"c"})
        EXPECT_EQ(network.GetRequestCount(URL(std::wstring(name) + L".png")), 2);
    gate->Release();
    for (const Transfer& transfer : slow)
    {
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
        EXPECT_FALSE(transfer->HasErrorOccurred());
    }
    EXPECT_EQ(CacheFile(L"Cache/b.png"), "0123456789");
    EXPECT_EQ(CacheFile(L"Cache/b.png.part"), "<none>");
}

TEST_F(DownloadManagerTest, BodyIsWrittenBesideTheFileAndRenamedOnlyWhenWhole)
{
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex);
        memory->AddFile(L"Cache/a.png", "old copy");
    }
    const auto gate = NewGate();
    network.Script(URL(L"a.png"), Gated("new content", gate, 11));
    const Transfer transfer = Fetch(L"a", L".png", 1, -1);
    // A download thread may already have started it: until then nothing tells the size.
    const uint32_t before = transfer->GetDataTransferSize();
    EXPECT_TRUE(before == 0u || before == 11u) << before;
    ASSERT_TRUE(gate->WaitUntilReached(10000));
    EXPECT_EQ(transfer->GetDataTransferSize(), 11u) << "then the announced length";

    // Every byte has arrived, but the file is not in place yet: the transfer is not done.
    EXPECT_EQ(CacheFile(L"Cache/a.png.part"), "new content");
    EXPECT_EQ(CacheFile(L"Cache/a.png"), "old copy");
    EXPECT_LT(transfer->GetDataTransferPctComplete(), 1.0f);
    EXPECT_LT(transfer->GetDataTransferNumBytesCopied(), transfer->GetDataTransferSize());

    gate->Release();
    ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
    EXPECT_FALSE(transfer->HasErrorOccurred());
    EXPECT_EQ(transfer->GetDataTransferPctComplete(), 1.0f);
    EXPECT_EQ(transfer->GetDataTransferNumBytesCopied(), 11u);
    EXPECT_EQ(CacheFile(L"Cache/a.png"), "new content");
    EXPECT_EQ(CacheFile(L"Cache/a.png.part"), "<none>");
}

TEST_F(DownloadManagerTest, AbortCountsOnlyBeforeTheLastByte)
{
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex);
        memory->AddFile(L"Cache/late.png", "old");
        memory->AddFile(L"Cache/early.png", "old");
    }
    const auto end = NewGate();
    network.Script(URL(L"late.png"), Gated("complete", end, 8));
    const Transfer late = Fetch(L"late", L".png");
    ASSERT_TRUE(end->WaitUntilReached(10000));
    late->Abort();
    ASSERT_TRUE(WaitUntil([&] { return IsDone(late); }));
    EXPECT_FALSE(late->HasErrorOccurred()) << "the whole body had arrived";
    EXPECT_EQ(CacheFile(L"Cache/late.png"), "complete");

    const auto middle = NewGate();
    network.Script(URL(L"early.png"), Gated("complete", middle, 3));
    const Transfer early = Fetch(L"early", L".png");
    ASSERT_TRUE(middle->WaitUntilReached(10000));
    early->Abort();
    ASSERT_TRUE(WaitUntil([&] { return IsDone(early); }));
    EXPECT_EQ(early->GetLastError(), DownloadError_Aborted);
    EXPECT_LT(early->GetDataTransferPctComplete(), 1.0f);
    EXPECT_EQ(CacheFile(L"Cache/early.png"), "old") << "a good copy is never shadowed";
    EXPECT_EQ(CacheFile(L"Cache/early.png.part"), "<none>");
    EXPECT_EQ(network.GetRequestCount(URL(L"early.png")), 1) << "an abort is not retried";
}

// Without a listed size or an announced length only the stream tells where the body ends, and a
// stopped stream reads as ended: a body stopped part way, by an abort or by an urgent transfer taking
// its thread, never becomes the file.
TEST_F(DownloadManagerTest, ABodyOfNoKnownSizeStoppedPartWayIsNeverTakenAsWhole)
{
    const auto cutBody = [](std::shared_ptr<StreamGate> gate)
    {
        Response response = Gated("0123456789", std::move(gate), 4);
        response.sendLength = false;
        response.abortReadsAsEnd = true;
        return response;
    };
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex);
        memory->AddFile(L"Cache/cut.png", "old copy");
    }
    const auto middle = NewGate();
    network.Script(URL(L"cut.png"), cutBody(middle));
    const Transfer aborted = Fetch(L"cut", L".png");
    ASSERT_TRUE(middle->WaitUntilReached(10000));
    aborted->Abort();
    ASSERT_TRUE(WaitUntil([&] { return IsDone(aborted); }));
    EXPECT_EQ(aborted->GetLastError(), DownloadError_Aborted);
    EXPECT_EQ(CacheFile(L"Cache/cut.png"), "old copy");
    EXPECT_EQ(CacheFile(L"Cache/cut.png.part"), "<none>");

    // Interrupted ones ask again from the start, and only the whole body is kept.
    const auto held = NewGate();
    Response whole = Body("0123456789");
    whole.sendLength = false;
    std::vector<Transfer> slow;
    for (const wchar_t* name : {L"a", L"b", L"c"})
    {
        network.Script(URL(std::wstring(name) + L".png"), std::vector<Response>{cutBody(held), whole});
        slow.push_back(Fetch(name, L".png", 5));
    }
    ASSERT_TRUE(WaitUntil([&] { return network.GetRequests().size() == 4; }));
    ASSERT_TRUE(held->WaitUntilReached(10000));
    network.Script(URL(L"urgent.png"), Body("now"));
    const Transfer urgent = Fetch(L"urgent", L".png", 0);
    ASSERT_TRUE(WaitUntil([&] { return IsDone(urgent); }));
    for (size_t i = 0; i < slow.size(); ++i)
    {
        const std::wstring file = std::wstring(1, L"abc"[i]) + L".png";
        SCOPED_TRACE(std::string(file.begin(), file.end()));
        ASSERT_TRUE(WaitUntil([&] { return IsDone(slow[i]); }));
        EXPECT_FALSE(slow[i]->HasErrorOccurred());
        EXPECT_EQ(CacheFile(L"Cache/" + file), "0123456789");
        EXPECT_EQ(network.GetRequestCount(URL(file)), 2);
    }
}

TEST_F(DownloadManagerTest, FailedAttemptsAreRetriedAFewTimesThenReported)
{
    network.Script(URL(L"flaky.png"), std::vector<Response>{Status(503), Status(500), Body("third time")});
    const Transfer flaky = Fetch(L"flaky", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(flaky); }));
    EXPECT_FALSE(flaky->HasErrorOccurred());
    EXPECT_EQ(network.GetRequestCount(URL(L"flaky.png")), 3);
    EXPECT_EQ(CacheFile(L"Cache/flaky.png"), "third time");

    network.Script(URL(L"down.png"), Status(500));
    const Transfer down = Fetch(L"down", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(down); }));
    EXPECT_EQ(down->GetLastError(), DownloadError_NoHTTPStream);
    EXPECT_EQ(network.GetRequestCount(URL(L"down.png")), 3);

    // A 4xx answer will not change: one request. Its error page never becomes the file.
    network.Script(URL(L"gone.png"), Status(404));
    const Transfer gone = Fetch(L"gone", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(gone); }));
    EXPECT_EQ(gone->GetLastError(), DownloadError_NoHTTPStream);
    EXPECT_EQ(network.GetRequestCount(URL(L"gone.png")), 1);
    EXPECT_EQ(CacheFile(L"Cache/gone.png"), "<none>");
    EXPECT_EQ(CacheFile(L"Cache/down.png"), "<none>");
}

TEST_F(DownloadManagerTest, RetriesPauseLongerEachTimeAndHideTheirFailures)
{
    manager->SetRetryPolicy({3, 40});
    const auto gate = NewGate();
    network.Script(URL(L"slow.png"), std::vector<Response>{Status(500), Status(500), Gated("ok", gate, 0)});
    const auto start = std::chrono::steady_clock::now();
    const Transfer transfer = Fetch(L"slow", L".png");
    ASSERT_TRUE(gate->WaitUntilReached(10000));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40 + 80));
    EXPECT_FALSE(transfer->HasErrorOccurred()) << "an attempt that will be retried is no failure yet";
    gate->Release();
    ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
    EXPECT_FALSE(transfer->HasErrorOccurred());
}

TEST_F(DownloadManagerTest, BodiesOfTheWrongLengthNeverReachTheCache)
{
    Response shortBody = Body("123456");
    shortBody.announcedLength = 10;
    network.Script(URL(L"short.png"), shortBody);
    Response brokenOff = Body("1234");
    brokenOff.errorAtEnd = HTTPError_Truncated;
    network.Script(URL(L"broken.png"), brokenOff);

    const Transfer shortTransfer = Fetch(L"short", L".png");
    const Transfer broken = Fetch(L"broken", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(shortTransfer) && IsDone(broken); }));
    EXPECT_EQ(shortTransfer->GetLastError(), DownloadError_SizeMismatch);
    EXPECT_EQ(broken->GetLastError(), HTTPError_Truncated);
    EXPECT_EQ(network.GetRequestCount(URL(L"short.png")), 3);
    EXPECT_EQ(CacheFile(L"Cache/short.png"), "<none>");
    EXPECT_EQ(CacheFile(L"Cache/short.png.part"), "<none>");
    EXPECT_EQ(CacheFile(L"Cache/broken.png"), "<none>");

    // A length announced other than the listed size is refused before a byte of the body is read (the
    // gate holds the first read), whichever way it differs.
    const auto unread = NewGate();
    network.Script(URL(L"longer.png"), Gated("1234567890", unread, 0));
    network.Script(URL(L"shorter.png"), Gated("12", unread, 0));
    const Transfer longer = Fetch(L"longer", L".png", 100, 5);
    const Transfer shorter = Fetch(L"shorter", L".png", 100, 5);
    ASSERT_TRUE(WaitUntil([&] { return (IsDone(longer) && IsDone(shorter)) || unread->IsReached(); }));
    EXPECT_FALSE(unread->IsReached()) << "a body announced at another length than listed was read";
    for (const Transfer& transfer : {longer, shorter})
        EXPECT_EQ(transfer->GetLastError(), DownloadError_SizeMismatch);
    EXPECT_EQ(network.GetRequestCount(URL(L"longer.png")), 3);
    EXPECT_EQ(CacheFile(L"Cache/longer.png.part"), "<none>");
}

TEST_F(DownloadManagerTest, BodiesAreHeldAgainstTheListedSizeAndChecksumBeforeTheyReplaceAnything)
{
    // How the answer tells its end: by its length, or by the connection's end, at once or late.
    enum eEnd
    {
        kLength,
        kClose,
        kLate
    };
    struct Case
    {
        const wchar_t* name;
        const wchar_t* extension;
        std::string body;
        eEnd end;
        int listedSize;
        std::optional<std::string> listedContent; // gives the listed checksum
        int error;
    };
    const std::vector<Case> cases = {
        {L"right", L".png", "12345", kClose, 5, std::nullopt, 0},
        // Read one byte past the listed size, a body that size whose connection ends late is whole.
        {L"late", L".png", "12345", kLate, 5, std::nullopt, 0},
        {L"later", L".png", "123456", kLate, 5, std::nullopt, DownloadError_SizeMismatch},
        {L"long", L".png", "12345", kClose, 8, std::nullopt, DownloadError_SizeMismatch},
        {L"announced", L".png", "new content", kLength, 5, std::nullopt, DownloadError_SizeMismatch},
        {L"empty", L".png", "", kLate, 0, std::nullopt, 0},
        {L"good", L".png", "12345", kLength, 5, "12345", 0},
        {L"damaged", L".png", "12346", kLength, 5, "12345", DownloadError_ChecksumMismatch},
        // Text files are checked without their white space, so only their listed size shows a cut where
        // nothing but white space went missing, whether or not a length was announced.
        {L"layout", L".xml", "<a> </a>", kLength, 100, std::nullopt, DownloadError_SizeMismatch},
        {L"spaced", L".xml", "<a>\r\n  <b/>\r\n</a>", kLength, 11, "<a><b/></a>", DownloadError_SizeMismatch},
        {L"kept", L".xml", "<a>\n  <b/>\n</a>", kLength, 15, "<a><b/></a>", 0},
        {L"lying", L".txt", "speed 3\nlives 5", kLength, 16, "speed 3\nlives 5\n", DownloadError_SizeMismatch},
        {L"tuning", L".txt", "speed 3\nlives 5", kClose, 16, "speed 3\nlives 5\n", DownloadError_SizeMismatch},
        {L"whole", L".txt", "speed 3\nlives 5\n", kLate, 16, "speed 3\nlives 5\n", 0},
        {L"cut", L".xml", "<a><b/>", kClose, 11, "<a><b/></a>", DownloadError_SizeMismatch},
        {L"other", L".txt", "one tw.", kLength, 7, "one two", DownloadError_ChecksumMismatch},
        {L"Loud", L".XML", "<a> </a>", kClose, 7, "<a></a>", DownloadError_SizeMismatch},
    };
    std::vector<Transfer> transfers;
    for (const Case& c : cases)
    {
        const std::wstring file = std::wstring(c.name) + c.extension;
        {
            std::lock_guard<std::recursive_mutex> lock(*mutex);
            memory->AddFile(L"Cache/" + file, "old copy");
        }
        Response response = Body(c.body);
        response.sendLength = c.end == kLength;
        response.endsLate = c.end == kLate;
        response.chunkSize = 3;
        network.Script(URL(file), response);
        std::optional<uint32_t> checksum;
        if (c.listedContent)
        {
            const auto* bytes = reinterpret_cast<const unsigned char*>(c.listedContent->data());
            const auto length = static_cast<unsigned long>(c.listedContent->size());
            checksum = static_cast<uint32_t>(IsTextFile(file) ? AppendToChecksum_IgnoreWhitespace(0, bytes, length)
                                                              : ComputeChecksum(bytes, length));
        }
        transfers.push_back(manager->Download(L"/" + file,
                                              FileAddress(FileSystemPartition_User, L"Cache", c.name, c.extension), 1,
                                              c.listedSize, checksum));
    }
    for (size_t i = 0; i < cases.size(); ++i)
    {
        const Case& c = cases[i];
        const std::wstring file = std::wstring(c.name) + c.extension;
        SCOPED_TRACE(std::string(file.begin(), file.end()));
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfers[i]); }));
        EXPECT_EQ(transfers[i]->GetLastError(), c.error);
        EXPECT_EQ(CacheFile(L"Cache/" + file), c.error == 0 ? c.body : "old copy");
        EXPECT_EQ(CacheFile(L"Cache/" + file + L".part"), "<none>");
        if (c.error == 0)
        {
            EXPECT_EQ(transfers[i]->GetDataTransferPctComplete(), 1.0f) << "an empty file completes too";
            EXPECT_EQ(transfers[i]->GetDataTransferSize(), c.body.size()) << "the size becomes what was written";
            EXPECT_EQ(network.GetRequestCount(URL(file)), 1);
        }
        else
        {
            EXPECT_EQ(network.GetRequestCount(URL(file)), 3) << "a damaged body is worth asking for again";
        }
    }
}

TEST_F(DownloadManagerTest, PartFileLeftByAKilledRunGoesWhenItsTransferStartsAgainWhateverTheOutcome)
{
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex);
        memory->AddFile(L"Cache/gone.png.part", "half of an earlier run");
    }
    network.Script(URL(L"gone.png"), Status(404));
    const Transfer transfer = Fetch(L"gone", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
    EXPECT_EQ(transfer->GetLastError(), DownloadError_NoHTTPStream);
    EXPECT_EQ(CacheFile(L"Cache/gone.png.part"), "<none>");
}

TEST_F(DownloadManagerTest, CacheFileFailuresAreReportedAndLeaveNothingBehind)
{
    network.Script(URL(L"a.png"), Body("aaa"));
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex);
        memory->SetFailOpen(true);
    }
    const Transfer unwritable = Fetch(L"a", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(unwritable); }));
    EXPECT_EQ(unwritable->GetLastError(), DownloadError_NoCacheFile);

    {
        std::lock_guard<std::recursive_mutex> lock(*mutex);
        memory->SetFailOpen(false);
        memory->SetFailRename(true);
    }
    const Transfer unrenamed = Fetch(L"a", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(unrenamed); }));
    EXPECT_EQ(unrenamed->GetLastError(), DownloadError_NoCacheFile);
    EXPECT_EQ(CacheFile(L"Cache/a.png.part"), "<none>");
    EXPECT_EQ(CacheFile(L"Cache/a.png"), "<none>");

    {
        std::lock_guard<std::recursive_mutex> lock(*mutex);
        memory->SetFailRename(false);
        memory->FailWritesAfter(2, -77);
    }
    const Transfer failedWrite = Fetch(L"a", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(failedWrite); }));
    EXPECT_EQ(failedWrite->GetLastError(), -77);
    EXPECT_EQ(CacheFile(L"Cache/a.png"), "<none>");
}

TEST_F(DownloadManagerTest, ThreadsSurviveFailuresOfTheNetworkPlatform)
{
    Response throws;
    throws.throwOnOpen = true;
    network.Script(URL(L"throws.png"), throws);
    Response refuses;
    refuses.failOpen = true;
    network.Script(URL(L"refused.png"), refuses);

    const Transfer thrown = Fetch(L"throws", L".png");
    const Transfer refused = Fetch(L"refused", L".png");
    ASSERT_TRUE(WaitUntil([&] { return IsDone(thrown) && IsDone(refused); }));
    EXPECT_EQ(thrown->GetLastError(), DownloadError_Unexpected);
    EXPECT_EQ(refused->GetLastError(), DownloadError_NoHTTPStream);
    EXPECT_EQ(network.GetRequestCount(URL(L"refused.png")), 1) << "a request that cannot be made is not retried";

    std::vector<Transfer> later;
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"})
    {
        network.Script(URL(std::wstring(name) + L".png"), Body("fine"));
        later.push_back(Fetch(name, L".png"));
    }
    for (const Transfer& transfer : later)
    {
        ASSERT_TRUE(WaitUntil([&] { return IsDone(transfer); }));
        EXPECT_FALSE(transfer->HasErrorOccurred());
    }
}

TEST_F(DownloadManagerTest, CleanupWithIdleThreadsReturnsAndLaterDownloadsFail)
{
    const auto start = std::chrono::steady_clock::now();
    manager->Cleanup();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(manager->AreThreadsFinished());

    const Transfer refused = Fetch(L"a", L".png");
    EXPECT_EQ(refused->GetLastError(), DownloadError_Aborted);
    EXPECT_EQ(manager->GetPendingCount(), 0u);
}

TEST_F(DownloadManagerTest, CleanupStopsRunningTransfersAndFailsWaitingOnes)
{
    std::vector<Transfer> transfers;
    const auto gate = NewGate();
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"})
    {
        network.Script(URL(std::wstring(name) + L".png"), Gated("0123456789", gate, 5));
        transfers.push_back(Fetch(name, L".png", 5));
    }
    ASSERT_TRUE(WaitUntil([&] { return network.GetRequests().size() == 3; }));
    ASSERT_TRUE(gate->WaitUntilReached(10000));

    const auto start = std::chrono::steady_clock::now();
    manager->Cleanup();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << "held reads were cut short";
    for (const Transfer& transfer : transfers)
        EXPECT_EQ(transfer->GetLastError(), DownloadError_Aborted);
    std::lock_guard<std::recursive_mutex> lock(*mutex);
    EXPECT_EQ(memory->GetFileCount(), 0u) << "no part file is left";
}

} // namespace
