#pragma once

#include <memory>
#include <string>
#include <vector>

namespace Strata
{

class Account;

// Told around every change of the current account: before, while the old account is still current,
// and after, once the new one is.
class IAccountChangeHandler
{
public:
    virtual void OnBeforeAccountChange() = 0;
    virtual void OnAfterAccountChange() = 0;

protected:
    // Handlers are never deleted through this interface.
    ~IAccountChangeHandler() = default;
};

// Finds the account files ("<number>.act" in the per-user folder), creates accounts and switches the
// current one. There is always a current account: when no file can be created, an account kept in
// memory stands in (nothing is saved, and the log says so). Main thread only.
class AccountManager
{
public:
    // Loads every account file; creates "Player" when there is none; makes the first account current
    // when none is. Becomes the one manager and registers itself for deletion at shut-down.
    AccountManager();
    // Deletes every account and stops being the one manager. Account files are kept.
    ~AccountManager();
    AccountManager(const AccountManager&) = delete;
    AccountManager& operator=(const AccountManager&) = delete;

    // A new account with a fresh file, not current, appended to the list. Null when an account has
    // exactly this name, or when its file could not be created (logged; no account is added).
    Account* NewAccount(const std::wstring& name);
    // True when an account has exactly this name (letter case counts).
    bool IsExistingAccount(const std::wstring& name) const;
    // The first account marked current; null only while the manager is being made.
    Account* GetCurrentAccount() const;
    // Makes the account of this name the only current one, telling the handlers before (when there is
    // a current account) and after. Returns false, changing nothing and telling no handler, when no
    // account has the name.
    bool SetCurrentAccount(const std::wstring& name);

    // Handlers are called in registration order; registering one twice, or null, does nothing. The
    // handler is not owned and must be unregistered before it goes away.
    void RegisterAccountChangeHandler(IAccountChangeHandler* handler);
    void UnregisterAccountChangeHandler(IAccountChangeHandler* handler);

    // The accounts in the order found, new ones last.
    const std::vector<std::unique_ptr<Account>>& GetAccounts() const { return mAccounts; }

private:
    void NotifyHandlers(void (IAccountChangeHandler::*operation)());

    std::vector<std::unique_ptr<Account>> mAccounts;
    std::vector<IAccountChangeHandler*> mHandlers;
};

// The one account manager, made on the first call.
AccountManager* GetAccountManager();

} // namespace Strata
