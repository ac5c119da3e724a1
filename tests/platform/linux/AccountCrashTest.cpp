#include "platform/linux/FileSystemPartition.h"

#include "TempFolder.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/XMLReader.h"
#include "framework/Account.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>

using namespace Strata;

namespace
{

constexpr int kKeys = 6;
constexpr int kKills = 30;

std::wstring Key(int i)
{
    return L"Key" + std::to_wstring(i);
}

// The two values each key alternates between: of different lengths, so that a file mixing old and
// new bytes could not pass for either.
std::wstring Value(int i, bool second)
{
    return second ? std::wstring(static_cast<size_t>(150 + i), L'b') : L"a" + std::to_wstring(i);
}

// Rewrites every key with its other value, for ever, reporting each finished rewrite on `progress`.
[[noreturn]] void RewriteForever(const FileAddress& file, int progress)
{
    Account account(file);
    for (unsigned round = 1;; ++round)
    {
        for (int i = 0; i < kKeys; ++i)
        {
            account.WriteValue(Key(i).c_str(), Value(i, round % 2 == 1));
            if (::write(progress, "x", 1) != 1)
                ::_exit(1);
        }
    }
}

// The records of a file that must parse as a whole under an "account" root; `problem` says what is wrong.
std::map<std::wstring, std::wstring> ReadRecords(const std::string& bytes, std::string& problem)
{
    std::map<std::wstring, std::wstring> records;
    ReadOnlyMemoryStream stream(L"account", bytes.data(), bytes.size());
    try
    {
        std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);
        bool rootSeen = false;
        bool rootClosed = false;
        while (!reader->IsEOF())
        {
            const XMLElement* element = reader->ReadElement();
            if (element->IsStartElement() && !rootSeen)
                rootSeen = element->GetName() == L"account";
            else if (element->IsStartElement() && element->GetName() == L"record")
                records[element->GetAttribute(L"name")] = element->GetAttribute(L"value");
            else if (element->IsEndElement() && element->GetName() == L"account")
                rootClosed = true;
        }
        if (!rootSeen || !rootClosed)
            problem = "no whole account root";
    }
    catch (const XMLError& error)
    {
        problem = error.what();
    }
    return records;
}

} // namespace

// A writer killed at any moment leaves the old file or the new one: every key keeps one of its values.
TEST(AccountCrashTest, AKilledWriterLeavesTheOldOrTheNewValueOfEveryKey)
{
    TempFolder folder;
    new FileSystem();
    GetFileSystem()->AddFileSystemPartition(FileSystemPartition_User, new Linux::FileSystemPartition(folder.Path()));
    const FileAddress file(FileSystemPartition_User, L".", L"1", L".act");
    {
        Account account(file, L"Player");
        for (int i = 0; i < kKeys; ++i)
            ASSERT_TRUE(account.WriteValue(Key(i).c_str(), Value(i, false)));
    }

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delay(1, 20);
    const auto started = std::chrono::steady_clock::now();
    int changedSince = 0;
    std::string previous = folder.Get("1.act");
    for (int kill = 0; kill < kKills; ++kill)
    {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            ::close(progress[0]);
            RewriteForever(file, progress[1]);
        }
        ::close(progress[1]);
        // Once the child has finished one rewrite it is surely in its loop; then it dies at a random moment.
        pollfd ready{progress[0], POLLIN, 0};
        const int polled = ::poll(&ready, 1, 10000);
        std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(progress[0]);
        ASSERT_EQ(polled, 1) << "the writer never finished a rewrite";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const std::string bytes = folder.Get("1.act");
        std::string problem;
        const std::map<std::wstring, std::wstring> records = ReadRecords(bytes, problem);
        ASSERT_EQ(problem, "") << "after kill " << kill << ":\n" << bytes;
        EXPECT_EQ(records.at(Account::kNameKey), L"Player");
        EXPECT_EQ(records.at(Account::kIsCurrentKey), L"false");
        for (int i = 0; i < kKeys; ++i)
        {
            ASSERT_EQ(records.count(Key(i)), 1u) << "after kill " << kill;
            const std::wstring& value = records.at(Key(i));
            EXPECT_TRUE(value == Value(i, false) || value == Value(i, true)) << "after kill " << kill;
        }
        EXPECT_FALSE(folder.Exists("1.act.bad"));
        changedSince += bytes != previous ? 1 : 0;
        previous = bytes;
    }
    // The kills did land among the rewrites.
    EXPECT_GT(changedSince, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60));
    Internal::DeleteAllSingletons();
}
