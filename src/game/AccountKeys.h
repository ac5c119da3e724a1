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
// The current account once a profile has been chosen in it (its "AccountID" is set), else null: nothing
// of a profile is read or written before then, so no value is ever stored without its profile's prefix.
Strata::Account* GetCurrentProfileAccount();
// The account's own "AccountID" text followed by `suffix`: the key of a per-profile game value.
std::wstring MakeProfileKey(Strata::Account& account, const wchar_t* suffix);

} // namespace Yardcrew
