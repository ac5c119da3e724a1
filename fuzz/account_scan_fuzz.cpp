// Feeds arbitrary bytes to the account manager as up to four profile files ("0.act" .. "3.act", the input
// split at each "\n==\n") in an in-memory per-user folder, and checks its scan: one account per file (or
// "Player" when there is none), the current one is the first marked current, the scan changes no file but
// the one it has to mark current, and switching to each account (damaged, duplicate or nameless alike)
// leaves exactly that one current. A new account of a fresh name is added and can be switched to.

#include "FuzzSupport.h"

#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/Singleton.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

std::vector<std::string> SplitFiles(const uint8_t* data, size_t size)
{
    static const std::string kSeparator = "\n==\n";
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> files;
    size_t start = 0;
    while (files.size() < 3)
    {
        const size_t at = input.find(kSeparator, start);
        if (at == std::string::npos)
            break;
        files.push_back(input.substr(start, at - start));
        start = at + kSeparator.size();
    }
    files.push_back(input.substr(start));
    return files;
}

int CountCurrent(const AccountManager& manager)
{
    const auto& accounts = manager.GetAccounts();
    return static_cast<int>(
        std::count_if(accounts.begin(), accounts.end(), [](const auto& a) { return a->IsCurrent(); }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> inputs = SplitFiles(data, size);
    // What a damaged file makes the accounts log is kept off the terminal: it would slow every run.
    std::string log;
    const Internal::ScopedLogCapture quiet(log);
    auto* disk = new Fuzzing::WritableMemoryPartition();
    for (size_t i = 0; i < inputs.size(); ++i)
        disk->files[std::to_wstring(i) + L".act"] = inputs[i];
    const std::map<std::wstring, std::string> before = disk->files;
    (new FileSystem())->AddFileSystemPartition(FileSystemPartition_User, disk);

    AccountManager* manager = GetAccountManager();
    const auto& accounts = manager->GetAccounts();
    Check(accounts.size() == inputs.size());
    Account* current = manager->GetCurrentAccount();
    Check(current != nullptr);
    const auto firstCurrent =
        std::find_if(accounts.begin(), accounts.end(), [](const auto& a) { return a->IsCurrent(); });
    Check(firstCurrent != accounts.end() && firstCurrent->get() == current);
    // Reading the accounts writes nothing; only the account the scan had to make current may change.
    for (const auto& account : accounts)
    {
        const std::wstring key = std::wstring(account->GetFile().GetName()) + account->GetFile().GetExtension();
        Check(before.count(key) == 1);
        if (account.get() != current)
            Check(disk->files[key] == before.at(key));
    }

    for (size_t i = 0; i < accounts.size(); ++i)
    {
        const std::wstring name = accounts[i]->GetName();
        Check(manager->IsExistingAccount(name));
        Check(manager->SetCurrentAccount(name));
        Check(manager->GetCurrentAccount()->GetName() == name);
        Check(CountCurrent(*manager) == 1);
    }

    // A name no account has: compose one from the names there are.
    std::wstring fresh = L"New";
    while (manager->IsExistingAccount(fresh))
        fresh += L"+";
    const size_t count = accounts.size();
    Account* added = manager->NewAccount(fresh);
    Check(added != nullptr && accounts.size() == count + 1 && !added->IsCurrent());
    Check(manager->NewAccount(fresh) == nullptr);
    Check(manager->SetCurrentAccount(fresh) && manager->GetCurrentAccount() == added);
    Check(CountCurrent(*manager) == 1);

    Internal::DeleteAllSingletons();
    return 0;
}
