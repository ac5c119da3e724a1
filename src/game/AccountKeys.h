#pragma once

#include <string>

namespace Strata
{
class Account;
}

namespace Yardcrew
{

// The current account, or null when there is none.
Strata::Account* GetCurrentGameAccount();
// The account's own "AccountID" text followed by `suffix`: the key of a per-profile game value.
std::wstring MakeProfileKey(Strata::Account& account, const wchar_t* suffix);

} // namespace Yardcrew
