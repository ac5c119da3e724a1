#include "framework/AccountManager.h"

#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "framework/Account.h"

#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Testing::MemoryFileSystemPartition;

namespace
{

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n";

std::string AccountFile(const std::string& name, bool current)
{
    return kDeclaration + "<account>\r\n<record name=\"Strata::AccountManager::Name\" value=\"" + name +
           "\"/>\r\n<record name=\"Strata::AccountManager::IsCurrent\" value=\"" + (current ? "true" : "false") +
           "\"/>\r\n</account>\r\n";
}

// Records what it is told, and which account was current at that moment.
class RecordingHandler : public IAccountChangeHandler
{
public:
    RecordingHandler(std::vector<std::wstring>& log, std::wstring tag) : mLog(log), mTag(std::move(tag)) {}

    void OnBeforeAccountChange() override { mLog.push_back(mTag + L" before " + Current()); }
    void OnAfterAccountChange() override { mLog.push_back(mTag + L" after " + Current()); }

private:
    static std::wstring Current()
    {
        const Account* account = GetAccountManager()->GetCurrentAccount();
        return account != nullptr ? account->GetName() : L"(none)";
    }

    std::vector<std::wstring>& mLog;
    std::wstring mTag;
};

class AccountManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fileSystem = new FileSystem();
        disk = new MemoryFileSystemPartition(L"user");
        disk->SetJournal(&journal);
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, disk);
    }

    void TearDown() override
    {
        // The manager is an engine singleton: it goes with the others.
        Internal::DeleteAllSingletons();
        EXPECT_EQ(GetFileSystem(), nullptr);
    }

    // The files of the accounts, by key.
    std::vector<std::wstring> AccountFiles() const
    {
        std::vector<std::wstring> keys;
        for (const auto& account : GetAccountManager()->GetAccounts())
            keys.push_back(Testing::MemoryFileKey(account->GetFile()));
        return keys;
    }

    int Renames() const { return static_cast<int>(std::count(journal.begin(), journal.end(), L"Rename:user")); }

    std::vector<std::wstring> journal;
    FileSystem* fileSystem = nullptr;
    MemoryFileSystemPartition* disk = nullptr;
};

} // namespace

TEST_F(AccountManagerTest, AnEmptyFolderGivesOneCurrentPlayer)
{
    AccountManager* manager = GetAccountManager();
    EXPECT_EQ(GetAccountManager(), manager);
    ASSERT_EQ(manager->GetAccounts().size(), 1u);
    Account* player = manager->GetCurrentAccount();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->GetName(), L"Player");
    EXPECT_TRUE(player->IsNew());
    EXPECT_FALSE(player->IsInMemory());

    // One ".act" file named by a number, whose root holds the two bookkeeping records.
    const std::wstring key = AccountFiles().front();
    EXPECT_EQ(disk->GetFileCount(), 1u);
    EXPECT_EQ(key.substr(key.size() - 4), L".act");
    EXPECT_TRUE(std::all_of(key.begin(), key.end() - 4, [](wchar_t c) { return c >= L'0' && c <= L'9'; }));
    EXPECT_EQ(disk->GetFile(key), AccountFile("Player", true));
}

TEST_F(AccountManagerTest, LoadsEveryAccountFileAndNothingElse)
{
    disk->AddFile(L"10.act", AccountFile("Ana", false));
    disk->AddFile(L"20.act", AccountFile("Bo", true));
    // Left-overs of interrupted saves and kept damaged copies are no accounts.
    disk->AddFile(L"20.act.tmp", AccountFile("Ghost", false));
    disk->AddFile(L"30.act.bad", AccountFile("Broken", false));
    disk->AddFile(L"sub/40.act", AccountFile("Elsewhere", false));

    AccountManager* manager = GetAccountManager();
    EXPECT_EQ(AccountFiles(), (std::vector<std::wstring>{L"10.act", L"20.act"}));
    EXPECT_EQ(manager->GetCurrentAccount()->GetName(), L"Bo");
    EXPECT_FALSE(manager->GetAccounts().front()->IsNew());
    EXPECT_TRUE(manager->IsExistingAccount(L"Ana"));
    EXPECT_FALSE(manager->IsExistingAccount(L"ana"));
    EXPECT_FALSE(manager->IsExistingAccount(L"Ghost"));
}

TEST_F(AccountManagerTest, WithNoCurrentAccountTheFirstBecomesCurrent)
{
    disk->AddFile(L"10.act", AccountFile("Ana", false));
    disk->AddFile(L"20.act", AccountFile("Bo", false));
    EXPECT_EQ(GetAccountManager()->GetCurrentAccount()->GetName(), L"Ana");
    EXPECT_EQ(disk->GetFile(L"10.act"), AccountFile("Ana", true));
    EXPECT_EQ(disk->GetFile(L"20.act"), AccountFile("Bo", false));
}

TEST_F(AccountManagerTest, TwoCurrentFilesAreCurrentUntilTheNextSwitch)
{
    disk->AddFile(L"10.act", AccountFile("Ana", true));
    disk->AddFile(L"20.act", AccountFile("Bo", true));
    AccountManager* manager = GetAccountManager();
    EXPECT_TRUE(manager->GetAccounts()[0]->IsCurrent());
    EXPECT_TRUE(manager->GetAccounts()[1]->IsCurrent());
    EXPECT_EQ(manager->GetCurrentAccount()->GetName(), L"Ana");

    EXPECT_TRUE(manager->SetCurrentAccount(L"Ana"));
    EXPECT_FALSE(manager->GetAccounts()[1]->IsCurrent());
    EXPECT_EQ(disk->GetFile(L"20.act"), AccountFile("Bo", false));
    EXPECT_EQ(disk->GetFile(L"10.act"), AccountFile("Ana", true));
}

TEST_F(AccountManagerTest, NewAccountsNeedANameOfTheirOwn)
{
    AccountManager* manager = GetAccountManager();
    const size_t files = disk->GetFileCount();
    EXPECT_EQ(manager->NewAccount(L"Player"), nullptr);
    EXPECT_EQ(disk->GetFileCount(), files);

    // Names compare exactly.
    Account* second = manager->NewAccount(L"player");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(manager->GetAccounts().back().get(), second);
    EXPECT_FALSE(second->IsCurrent());
    EXPECT_EQ(manager->GetCurrentAccount()->GetName(), L"Player");
    EXPECT_EQ(disk->GetFile(Testing::MemoryFileKey(second->GetFile())), AccountFile("player", false));
    EXPECT_NE(Testing::MemoryFileKey(second->GetFile()), AccountFiles().front());
}

TEST_F(AccountManagerTest, SwitchingTellsTheHandlersAroundTheChange)
{
    AccountManager* manager = GetAccountManager();
    manager->NewAccount(L"Ana");
    std::vector<std::wstring> log;
    RecordingHandler first(log, L"1");
    RecordingHandler second(log, L"2");
    manager->RegisterAccountChangeHandler(&first);
    manager->RegisterAccountChangeHandler(&second);
    manager->RegisterAccountChangeHandler(&first); // once is enough
    manager->RegisterAccountChangeHandler(nullptr);

    EXPECT_TRUE(manager->SetCurrentAccount(L"Ana"));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"1 before Player", L"2 before Player", L"1 after Ana", L"2 after Ana"}));
    const std::vector<std::wstring> files = AccountFiles();
    EXPECT_EQ(disk->GetFile(files[0]), AccountFile("Player", false));
    EXPECT_EQ(disk->GetFile(files[1]), AccountFile("Ana", true));

    // The current account's own name rewrites nothing and still tells both.
    log.clear();
    const int renames = Renames();
    EXPECT_TRUE(manager->SetCurrentAccount(L"Ana"));
    EXPECT_EQ(Renames(), renames);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"1 before Ana", L"2 before Ana", L"1 after Ana", L"2 after Ana"}));

    // An unknown name keeps the current account and tells no one.
    log.clear();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(manager->SetCurrentAccount(L"Nobody"));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(manager->GetCurrentAccount()->GetName(), L"Ana");
    EXPECT_TRUE(log.empty());
    EXPECT_NE(message.find("no account 'Nobody'"), std::string::npos);

    manager->UnregisterAccountChangeHandler(&first);
    EXPECT_TRUE(manager->SetCurrentAccount(L"Player"));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"2 before Ana", L"2 after Player"}));
    manager->UnregisterAccountChangeHandler(&second);
}

TEST_F(AccountManagerTest, AHandlerMayUnregisterAnotherWhileCalled)
{
    AccountManager* manager = GetAccountManager();
    manager->NewAccount(L"Ana");
    std::vector<std::wstring> log;
    RecordingHandler victim(log, L"victim");
    struct Remover : IAccountChangeHandler
    {
        IAccountChangeHandler* target = nullptr;
        void OnBeforeAccountChange() override { GetAccountManager()->UnregisterAccountChangeHandler(target); }
        void OnAfterAccountChange() override {}
    } remover;
    remover.target = &victim;
    manager->RegisterAccountChangeHandler(&remover);
    manager->RegisterAccountChangeHandler(&victim);
    manager->SetCurrentAccount(L"Ana");
    EXPECT_TRUE(log.empty());
    manager->UnregisterAccountChangeHandler(&remover);
}

TEST_F(AccountManagerTest, AnUnwritableFolderStillGivesACurrentAccount)
{
    disk->SetFailOpen(true);
    testing::internal::CaptureStderr();
    AccountManager* manager = GetAccountManager();
    const std::string log = testing::internal::GetCapturedStderr();

    Account* account = manager->GetCurrentAccount();
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(account->GetName(), L"Player");
    EXPECT_TRUE(account->IsInMemory());
    EXPECT_EQ(disk->GetFileCount(), 0u);
    EXPECT_NE(log.find("could not create the file of the account 'Player'"), std::string::npos) << log;
    EXPECT_NE(log.find("kept in memory and nothing will be saved"), std::string::npos) << log;

    // The game still keeps its settings for this run.
    account->WriteValue(L"Volume", 0.25f);
    EXPECT_EQ(account->ReadValue(L"Volume", 1.0f), 0.25f);
    EXPECT_EQ(manager->NewAccount(L"Ana"), nullptr);
}

TEST_F(AccountManagerTest, WithoutAFileSystemTheAccountLivesInMemory)
{
    Internal::DeleteAllSingletons();
    testing::internal::CaptureStderr();
    Account* account = GetAccountManager()->GetCurrentAccount();
    testing::internal::GetCapturedStderr();
    ASSERT_NE(account, nullptr);
    EXPECT_TRUE(account->IsInMemory());
    EXPECT_TRUE(account->IsCurrent());
    EXPECT_EQ(account->ReadValue(Account::kIsCurrentKey), L"true");
}
