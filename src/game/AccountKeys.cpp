#include "game/AccountKeys.h"

#include "framework/Account.h"
#include "framework/AccountManager.h"

namespace Yardcrew
{

Strata::Account* GetCurrentGameAccount()
{
    Strata::AccountManager* manager = Strata::GetAccountManager();
    return manager != nullptr ? manager->GetCurrentAccount() : nullptr;
}

Strata::Account* GetCurrentProfileAccount()
{
    Strata::Account* account = GetCurrentGameAccount();
    return account != nullptr && !account->ReadValue(L"AccountID").empty() ? account : nullptr;
}

std::wstring MakeProfileKey(Strata::Account& account, const wchar_t* suffix)
{
    return account.ReadValue(L"AccountID") + suffix;
}

} // namespace Yardcrew
