#include "platform/linux/FileSystemPartition.h"

#include "TempFolder.h"
#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "core/WideString.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n";

// The names of the files directly in a host folder.
std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class AccountFileTest : public ::testing::Test
{
protected:
    void TearDown() override { Internal::DeleteAllSingletons(); }

    // A fresh file system whose per-user partition is the host folder.
    void Mount(const std::string& root)
    {
        auto* fileSystem = new FileSystem();
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, new Linux::FileSystemPartition(root));
    }

    TempFolder mFolder;
};

} // namespace

TEST_F(AccountFileTest, AccountsLiveInFilesOnDiskAcrossRuns)
{
    const std::string root = mFolder.Path("user");
    Mount(root);
    Account* player = GetAccountManager()->GetCurrentAccount();
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->IsInMemory());
    EXPECT_TRUE(player->WriteValue(L"Level", 3));
    EXPECT_EQ(player->WriteBinary(L"Stickers", "\x01\x02\xff", 3), 3u);
    ASSERT_NE(GetAccountManager()->NewAccount(L"Ana"), nullptr);

    // Two files, nothing left over from the saves, in the engine's exact format.
    const std::vector<std::string> files = FilesIn(root);
    ASSERT_EQ(files.size(), 2u);
    const std::string playerFile = TruncateStringWideToASCII(player->GetFile().GetName()) + ".act";
    EXPECT_EQ(mFolder.Get("user/" + playerFile),
              kDeclaration + "<account>\r\n<record name=\"Strata::AccountManager::Name\" value=\"Player\"/>\r\n"
                             "<record name=\"Strata::AccountManager::IsCurrent\" value=\"true\"/>\r\n"
                             "<record name=\"Level\" value=\"3\"/>\r\n<record name=\"Stickers\" value=\"AQL/\"/>\r\n"
                             "</account>\r\n");

    // The next run finds both, with the same one current.
    Internal::DeleteAllSingletons();
    Mount(root);
    AccountManager* manager = GetAccountManager();
    EXPECT_EQ(manager->GetAccounts().size(), 2u);
    EXPECT_TRUE(manager->IsExistingAccount(L"Ana"));
    EXPECT_EQ(manager->GetCurrentAccount()->GetName(), L"Player");
    EXPECT_EQ(manager->GetCurrentAccount()->ReadValue(L"Level", 0), 3);
}

TEST_F(AccountFileTest, ADamagedFileOnDiskIsKeptBesideItsRebuild)
{
    const std::string damaged = kDeclaration +
                                "<account>\r\n<record name=\"Strata::AccountManager::Name\" value=\"Ana\"/>\r\n"
                                "<record name=\"Level\" value=\"7\"/>\r\n<record name=\"Le";
    mFolder.Put("user/1.act", damaged);
    Mount(mFolder.Path("user"));
    testing::internal::CaptureStderr();
    Account* ana = GetAccountManager()->GetCurrentAccount();
    ASSERT_NE(ana, nullptr);
    EXPECT_EQ(ana->GetName(), L"Ana");
    EXPECT_EQ(ana->ReadValue(L"Level", 0), 7);
    testing::internal::GetCapturedStderr();

    EXPECT_EQ(mFolder.Get("user/1.act.bad"), damaged);
    EXPECT_EQ(FilesIn(mFolder.Path("user")), (std::vector<std::string>{"1.act", "1.act.bad"}));
    Internal::DeleteAllSingletons();
    Mount(mFolder.Path("user"));
    EXPECT_EQ(GetAccountManager()->GetAccounts().size(), 1u);
    EXPECT_EQ(GetAccountManager()->GetCurrentAccount()->ReadValue(L"Level", 0), 7);
}

TEST_F(AccountFileTest, AFolderNoOneCanCreateGivesAnAccountInMemory)
{
    // Not even root can make a folder below a regular file.
    mFolder.Put("blocker", "a file, not a folder");
    Mount(mFolder.Path("blocker/user"));
    testing::internal::CaptureStderr();
    Account* account = GetAccountManager()->GetCurrentAccount();
    const std::string log = testing::internal::GetCapturedStderr();
    ASSERT_NE(account, nullptr);
    EXPECT_TRUE(account->IsInMemory());
    EXPECT_EQ(account->GetName(), L"Player");
    EXPECT_NE(log.find("kept in memory and nothing will be saved"), std::string::npos) << log;
    EXPECT_EQ(mFolder.Get("blocker"), "a file, not a folder");
}

TEST_F(AccountFileTest, AReadOnlyFolderGivesAnAccountInMemory)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const std::string root = mFolder.Path("user");
    std::filesystem::create_directory(root);
    ::chmod(root.c_str(), 0500);
    Mount(root);
    testing::internal::CaptureStderr();
    Account* account = GetAccountManager()->GetCurrentAccount();
    const std::string log = testing::internal::GetCapturedStderr();
    ::chmod(root.c_str(), 0700);
    ASSERT_NE(account, nullptr);
    EXPECT_TRUE(account->IsInMemory());
    EXPECT_NE(log.find("kept in memory and nothing will be saved"), std::string::npos) << log;
    EXPECT_TRUE(FilesIn(root).empty());
}
