#include "core/FileSystem.h"
#include "core/AutoStream.h"
#include "core/Random.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "core/Threading.h"

#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cwctype>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace Strata;
using Strata::Testing::MemoryFileSystemPartition;

namespace
{
std::string ReadAll(IStream* stream)
{
    std::string out(stream->GetLength(), '\0');
    out.resize(stream->Read(out.data(), out.size()));
    return out;
}

class FileSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs = new FileSystem();
        first = AddBackEnd(FileSystemPartition_Resources, L"first");
        second = AddBackEnd(FileSystemPartition_Resources, L"second");
    }

    void TearDown() override
    {
        // The file system is an engine singleton: it goes with the others.
        Internal::DeleteAllSingletons();
        EXPECT_EQ(GetFileSystem(), nullptr);
    }

    MemoryFileSystemPartition* AddBackEnd(FileSystemPartition number, const wchar_t* tag)
    {
        auto* backEnd = new MemoryFileSystemPartition(tag);
        backEnd->SetJournal(&journal);
        fs->AddFileSystemPartition(number, backEnd);
        return backEnd;
    }

    std::vector<std::wstring> journal;
    FileSystem* fs = nullptr;
    MemoryFileSystemPartition* first = nullptr;
    MemoryFileSystemPartition* second = nullptr;
};
} // namespace

TEST_F(FileSystemTest, BackEndsAreAskedInTheOrderTheyWereAdded)
{
    first->AddFile(L"both.txt", "from first");
    second->AddFile(L"both.txt", "from second");
    second->AddFile(L"only.txt", "second only");
    EXPECT_EQ(GetFileSystem(), fs);

    const FileAddress both(L"both", L".txt");
    IStream* stream = fs->OpenStream(&both, FileAccess_Read, FileCreation_OpenExisting);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAll(stream), "from first");
    fs->CloseStream(stream);
    EXPECT_EQ(first->GetOpenStreamCount(), 0);

    const FileAddress only(L"only", L".txt");
    stream = fs->OpenStream(&only, FileAccess_Read, FileCreation_OpenExisting);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAll(stream), "second only");
    fs->CloseStream(stream);

    // A back end that cannot open, or that throws, gives way to the next.
    first->SetFailOpen(true);
    stream = fs->OpenStream(&both, FileAccess_Read, FileCreation_OpenExisting);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAll(stream), "from second");
    fs->CloseStream(stream);

    first->SetFailOpen(false);
    first->SetThrowOnOpen(true);
    stream = fs->OpenStream(&both, FileAccess_Read, FileCreation_OpenExisting);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAll(stream), "from second");
    fs->CloseStream(stream);

    fs->DeleteFile(&both);
    EXPECT_FALSE(first->HasFile(L"both.txt"));
    EXPECT_FALSE(second->HasFile(L"both.txt"));
    EXPECT_TRUE(second->HasFile(L"only.txt"));
}

TEST_F(FileSystemTest, OpeningWithoutABackEndGivesNull)
{
    const FileAddress user(FileSystemPartition_User, L"settings", L".xml");
    EXPECT_EQ(fs->OpenStream(&user, FileAccess_Read, FileCreation_OpenAlways), nullptr);
    EXPECT_EQ(fs->OpenStream(nullptr, FileAccess_Read, FileCreation_OpenAlways), nullptr);
    FileAddress probe(user);
    EXPECT_FALSE(fs->FindFile(&probe));
    fs->DeleteFile(&user);
    EXPECT_TRUE(journal.empty());
}

// A back end that throws must not leave the file system locked against other threads.
TEST_F(FileSystemTest, ThrowingBackEndReleasesTheLock)
{
    first->SetThrowOnOpen(true);
    second->SetThrowOnOpen(true);
    const FileAddress address(L"any", L".txt");
    EXPECT_EQ(fs->OpenStream(&address, FileAccess_Read, FileCreation_OpenExisting), nullptr);

    second->AddFile(L"any.txt", "x");
    auto done = std::make_shared<std::promise<bool>>();
    std::future<bool> found = done->get_future();
    std::thread other(
        [this, done]
        {
            FileAddress probe(L"any", L".txt");
            done->set_value(fs->FindFile(&probe));
        });
    if (found.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
    {
        other.detach();
        FAIL() << "the file system stayed locked";
    }
    other.join();
    EXPECT_TRUE(found.get());
}

TEST_F(FileSystemTest, RefusesAddressesThatLeaveThePartition)
{
    first->AddFile(L"secret.txt", "s");
    const wchar_t* badFolders[] = {L"..", L"../up", L"a/../../b", L"a/..", L"/etc"};
    for (const wchar_t* folder : badFolders)
    {
        SCOPED_TRACE(testing::Message() << "folder " << std::wstring(folder).size());
        FileAddress address(FileSystemPartition_Resources, folder, L"secret", L".txt");
        EXPECT_EQ(fs->OpenStream(&address, FileAccess_ReadWrite, FileCreation_OpenAlways), nullptr);
        EXPECT_FALSE(fs->FindFile(&address));
        std::vector<FileAddress> out;
        EXPECT_FALSE(fs->FindFiles(&address, out));
        fs->DeleteFile(&address);
    }
    const FileAddress slashName(L"../secret", L".txt");
    EXPECT_EQ(fs->OpenStream(&slashName, FileAccess_Read, FileCreation_OpenExisting), nullptr);
    const FileAddress slashExtension(L"x", L"./../y");
    EXPECT_EQ(fs->OpenStream(&slashExtension, FileAccess_Read, FileCreation_OpenExisting), nullptr);
    const FileAddress dots(L"..", L"");
    fs->DeleteFile(&dots);
    EXPECT_TRUE(journal.empty()) << "no back end may see a refused address";
    EXPECT_TRUE(first->HasFile(L"secret.txt"));

    // Dots that are not a whole ".." component are ordinary names.
    first->AddFile(L"a..b/.../file.txt", "ok");
    FileAddress dotted(FileSystemPartition_Resources, L"a..b/...", L"file", L".txt");
    EXPECT_TRUE(fs->FindFile(&dotted));
}

TEST_F(FileSystemTest, FindStopsAtTheFirstBackEndThatAnswers)
{
    second->AddFile(L"levels/easy/one.lvl", "1");
    FileAddress address(L"one", L".lvl");
    EXPECT_TRUE(fs->FindFile(&address));
    ASSERT_NE(address.GetFolder(), nullptr);
    EXPECT_STREQ(address.GetFolder(), L"levels/easy");

    first->AddFile(L"a.act", "");
    first->AddFile(L"B.ACT", "");
    first->AddFile(L"c.b.act", "");
    second->AddFile(L"z.act", "");
    journal.clear();
    const FileAddress pattern(FileSystemPartition_Resources, L".", L"*", L".act");
    std::vector<FileAddress> found;
    EXPECT_TRUE(fs->FindFiles(&pattern, found));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_STREQ(found[0].GetName(), L"B");
    EXPECT_STREQ(found[1].GetName(), L"a");
    EXPECT_EQ(journal, std::vector<std::wstring>({L"FindFiles:first"}));
}

TEST_F(FileSystemTest, RenameStaysInOnePartitionAndTakesTheFirstBackEndThatCan)
{
    second->AddFile(L"saves/1.act.tmp", "new");
    second->AddFile(L"saves/1.act", "old");
    const FileAddress temporary(FileSystemPartition_Resources, L"saves", L"1", L".act.tmp");
    const FileAddress target(FileSystemPartition_Resources, L"saves", L"1", L".act");
    journal.clear();
    EXPECT_TRUE(fs->RenameFile(&temporary, &target));
    EXPECT_EQ(journal, std::vector<std::wstring>({L"Rename:first", L"Rename:second"}));
    EXPECT_EQ(second->GetFile(L"saves/1.act"), "new");
    EXPECT_FALSE(second->HasFile(L"saves/1.act.tmp"));

    const FileAddress otherPartition(FileSystemPartition_User, L"saves", L"1", L".act");
    EXPECT_FALSE(fs->RenameFile(&target, &otherPartition));
    const FileAddress unsafe(FileSystemPartition_Resources, L"../saves", L"1", L".act");
    journal.clear();
    EXPECT_FALSE(fs->RenameFile(&target, &unsafe));
    EXPECT_TRUE(journal.empty()) << "no back end sees an unsafe address";
    second->SetFailRename(true);
    EXPECT_FALSE(fs->RenameFile(&target, &temporary));
    EXPECT_EQ(second->GetFile(L"saves/1.act"), "new");
}

TEST_F(FileSystemTest, LocksPartitionsInAscendingNumberAndCleansUp)
{
    AddBackEnd(FileSystemPartition_User, L"user");
    AddBackEnd(FileSystemPartition_Program, L"program");
    fs->Lock();
    EXPECT_EQ(first->GetLockDepth(), 1);
    fs->Unlock();
    EXPECT_EQ(first->GetLockDepth(), 0);
    EXPECT_EQ(journal,
              std::vector<std::wstring>({L"Lock:program", L"Lock:first", L"Lock:second", L"Lock:user",
                                         L"Unlock:program", L"Unlock:first", L"Unlock:second", L"Unlock:user"}));

    journal.clear();
    fs->Cleanup();
    EXPECT_EQ(journal.size(), 4u);
    const FileAddress address(L"any", L".txt");
    EXPECT_EQ(fs->OpenStream(&address, FileAccess_Write, FileCreation_CreateAlways), nullptr);
}

// A thread that held the back ends' locks but not the file system's could deadlock with another thread
// that took the file system's mutex and then waited for a back end.
TEST_F(FileSystemTest, WhileOneThreadHoldsTheLockOtherThreadsWait)
{
    first->AddFile(L"a.txt", "a");
    fs->Lock();
    std::atomic<bool> found{false};
    std::thread other(
        [this, &found]
        {
            FileAddress address(L"a", L".txt");
            found = fs->FindFile(&address);
        });
    FileAddress mine(L"a", L".txt");
    EXPECT_TRUE(fs->FindFile(&mine)) << "the holder goes on using the file system";
    Sleep(20);
    EXPECT_FALSE(found) << "another thread reached a back end while the file system was locked";
    fs->Unlock();
    other.join();
    EXPECT_TRUE(found);
    EXPECT_EQ(first->GetLockDepth(), 0);
}

TEST_F(FileSystemTest, AutoStreamClosesThroughTheFileSystem)
{
    first->AddFile(L"data.bin", "payload");
    const FileAddress address(L"data", L".bin");
    {
        AutoStream stream(&address, FileAccess_Read, FileCreation_OpenExisting);
        ASSERT_TRUE(stream);
        EXPECT_EQ(ReadAll(stream.Get()), "payload");
        EXPECT_EQ(stream->GetName(), L"data.bin");
        EXPECT_EQ(first->GetOpenStreamCount(), 1);
    }
    EXPECT_EQ(first->GetOpenStreamCount(), 0);

    const FileAddress missing(L"missing", L".bin");
    AutoStream none(&missing, FileAccess_Read, FileCreation_OpenExisting);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.Get(), nullptr);
}

TEST(AutoStreamTest, OutlivesOrLacksAFileSystem)
{
    const FileAddress address(L"data", L".bin");
    {
        AutoStream noFileSystem(&address, FileAccess_Read, FileCreation_OpenExisting);
        EXPECT_FALSE(noFileSystem);
    }

    new FileSystem();
    auto* backEnd = new MemoryFileSystemPartition();
    backEnd->AddFile(L"data.bin", "x");
    GetFileSystem()->AddFileSystemPartition(FileSystemPartition_Resources, backEnd);
    AutoStream held(&address, FileAccess_Read, FileCreation_OpenExisting);
    ASSERT_TRUE(held);
    // The stream is deleted by the holder even after the file system has gone.
    Internal::DeleteAllSingletons();
    EXPECT_EQ(GetFileSystem(), nullptr);
}

namespace
{
class UniqueFileTest : public FileSystemTest
{
protected:
    void SetUp() override
    {
        FileSystemTest::SetUp();
        Random::SetSeedOverride(1234);
    }
    void TearDown() override
    {
        Random::Engine_Destroy();
        Random::ClearSeedOverride();
        FileSystemTest::TearDown();
    }

    // The names stream 2 will draw next after a fresh set-up.
    static std::vector<std::wstring> UpcomingNames(int count)
    {
        Random::Engine_Setup();
        std::vector<std::wstring> names;
        for (int i = 0; i < count; ++i)
            names.push_back(std::to_wstring(static_cast<long>(Random::GetNamedStream(2)->GetFloat() * 100000000.0)));
        Random::Engine_Setup();
        return names;
    }
};

// A back end in which every file exists.
class FullPartition : public MemoryFileSystemPartition
{
public:
    bool FindFile(FileAddress*) override { return true; }
};
} // namespace

TEST_F(UniqueFileTest, SkipsNamesThatExist)
{
    const std::vector<std::wstring> names = UpcomingNames(3);
    ASSERT_NE(names[0], names[2]);
    ASSERT_NE(names[1], names[2]);
    first->AddFile(L"accounts/" + names[0] + L".act", "taken");
    second->AddFile(L"accounts/" + names[1] + L".act", "taken");

    FileAddress address(FileSystemPartition_Resources, L"accounts", L"placeholder", L".act");
    fs->GetUniqueFile(&address);
    EXPECT_EQ(address.GetName(), names[2]);
    EXPECT_STREQ(address.GetFolder(), L"accounts");
    EXPECT_STREQ(address.GetExtension(), L".act");
    EXPECT_EQ(address.GetPartition(), FileSystemPartition_Resources);
}

TEST_F(UniqueFileTest, WorksWithoutTheEngineStreams)
{
    Random::Engine_Destroy();
    FileAddress address(FileSystemPartition_Resources, L".", L"x", L".act");
    fs->GetUniqueFile(&address);
    const std::wstring name = address.GetName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 8u);
    for (wchar_t c : name)
        EXPECT_TRUE(c >= L'0' && c <= L'9');
}

TEST_F(UniqueFileTest, GivesUpWhenEveryNameIsTaken)
{
    Random::Engine_Setup();
    fs->AddFileSystemPartition(FileSystemPartition_User, new FullPartition());
    FileAddress address(FileSystemPartition_User, L".", L"keep", L".act");
    EXPECT_THROW(fs->GetUniqueFile(&address), RuntimeError);
    EXPECT_STREQ(address.GetName(), L"keep");

    FileAddress unsafe(FileSystemPartition_Resources, L"../x", L"keep", L".act");
    EXPECT_THROW(fs->GetUniqueFile(&unsafe), RuntimeError);
}
