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

std::wstring MakeProfileKey(Strata::Account& account, const wchar_t* suffix)
{
    return account.ReadValue(L"AccountID") + suffix;
}

} // namespace Yardcrew
