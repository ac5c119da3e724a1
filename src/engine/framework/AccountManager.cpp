#include "framework/AccountManager.h"

#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/Singleton.h"
#include "core/WideString.h"
#include "framework/Account.h"

#include <algorithm>
#include <exception>

namespace Strata
{

namespace
{

AccountManager* gAccountManager = nullptr;

const wchar_t* const kAccountExtension = L".act";
const wchar_t* const kDefaultAccountName = L"Player";

std::string Narrow(const std::wstring& text)
{
    const std::shared_ptr<unsigned char[]> utf8 = ConvertStringWideToUTF8(text.c_str());
    return utf8 ? std::string(reinterpret_cast<const char*>(utf8.get())) : std::string();
}

} // namespace

AccountManager* GetAccountManager()
{
    if (gAccountManager == nullptr)
        new AccountManager();
    return gAccountManager;
}

AccountManager::AccountManager()
{
    if (FileSystem* fileSystem = GetFileSystem())
    {
        std::vector<FileAddress> files;
        const FileAddress pattern(FileSystemPartition_User, L".", L"*", kAccountExtension);
        fileSystem->FindFiles(&pattern, files);
        for (const FileAddress& file : files)
            mAccounts.push_back(std::make_unique<Account>(file));
    }
    if (mAccounts.empty() && NewAccount(kDefaultAccountName) == nullptr)
    {
        Internal::LogWrite("Strata::AccountManager: no account file could be made; the account '%s' is kept in "
                           "memory and nothing will be saved.\n",
                           Narrow(kDefaultAccountName).c_str());
        mAccounts.emplace_back(Account::CreateInMemory(kDefaultAccountName));
    }
    if (GetCurrentAccount() == nullptr)
        SetCurrentAccount(mAccounts.front()->GetName());
    gAccountManager = this;
    AutoDeleteSingleton(this);
}

AccountManager::~AccountManager()
{
    mAccounts.clear();
    if (gAccountManager == this)
        gAccountManager = nullptr;
}

Account* AccountManager::NewAccount(const std::wstring& name)
{
    if (IsExistingAccount(name))
        return nullptr;
    FileSystem* fileSystem = GetFileSystem();
    if (fileSystem == nullptr)
    {
        Internal::LogWrite("Strata::AccountManager::NewAccount: there is no file system for the account '%s'.\n",
                           Narrow(name).c_str());
        return nullptr;
    }
    try
    {
        FileAddress file(FileSystemPartition_User, L".", L"0", kAccountExtension);
        fileSystem->GetUniqueFile(&file);
        // The account writes its file, root and bookkeeping records together, when it is made.
        auto account = std::make_unique<Account>(file, name);
        FileAddress probe(file);
        if (!fileSystem->FindFile(&probe))
        {
            Internal::LogWrite("Strata::AccountManager::NewAccount: could not create the file of the account "
                               "'%s'.\n",
                               Narrow(name).c_str());
            return nullptr;
        }
        mAccounts.push_back(std::move(account));
        return mAccounts.back().get();
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("Strata::AccountManager::NewAccount: could not create the account '%s': %s\n",
                           Narrow(name).c_str(), error.what());
        return nullptr;
    }
}

bool AccountManager::IsExistingAccount(const std::wstring& name) const
{
    return std::any_of(
        mAccounts.begin(), mAccounts.end(),
        [&name](const std::unique_ptr<Account>& account) { return account->GetName() == name; });
}

Account* AccountManager::GetCurrentAccount() const
{
    for (const std::unique_ptr<Account>& account : mAccounts)
        if (account->IsCurrent())
            return account.get();
    return nullptr;
}

bool AccountManager::SetCurrentAccount(const std::wstring& name)
{
    // When the current account has the name it stays current; otherwise the first with the name takes over.
    Account* target = GetCurrentAccount();
    if (target == nullptr || target->GetName() != name)
    {
        target = nullptr;
        for (const std::unique_ptr<Account>& account : mAccounts)
        {
            if (account->GetName() == name)
            {
                target = account.get();
                break;
            }
        }
    }
    if (target == nullptr)
    {
        Internal::LogWrite("Strata::AccountManager::SetCurrentAccount: there is no account '%s'; the current "
                           "account stays.\n",
                           Narrow(name).c_str());
        return false;
    }

    if (GetCurrentAccount() != nullptr)
        NotifyHandlers(&IAccountChangeHandler::OnBeforeAccountChange);
    for (const std::unique_ptr<Account>& account : mAccounts)
    {
        if (account.get() == target)
        {
            if (!account->IsCurrent())
                account->WriteValue(Account::kIsCurrentKey, true);
        }
        else if (account->IsCurrent())
        {
            account->WriteValue(Account::kIsCurrentKey, false);
        }
    }
    NotifyHandlers(&IAccountChangeHandler::OnAfterAccountChange);
    return true;
}

void AccountManager::NotifyHandlers(void (IAccountChangeHandler::*operation)())
{
    // A handler may register or unregister handlers while it is called: one unregistered meanwhile is
    // not called any more, one registered meanwhile is called from the next change on.
    const std::vector<IAccountChangeHandler*> handlers = mHandlers;
    for (IAccountChangeHandler* handler : handlers)
        if (std::find(mHandlers.begin(), mHandlers.end(), handler) != mHandlers.end())
            (handler->*operation)();
}

void AccountManager::RegisterAccountChangeHandler(IAccountChangeHandler* handler)
{
    if (handler != nullptr && std::find(mHandlers.begin(), mHandlers.end(), handler) == mHandlers.end())
        mHandlers.push_back(handler);
}

void AccountManager::UnregisterAccountChangeHandler(IAccountChangeHandler* handler)
{
    std::erase(mHandlers, handler);
}

} // namespace Strata
