#pragma once

#include "core/FileAddress.h"
#include "core/MemoryStream.h"
#include "core/XMLElement.h"

#include <optional>
#include <string>
#include <vector>

namespace Strata
{

class Account;

// One binary value of an account as a memory stream: filled from the value's Base64 text when made,
// written back as Base64 when destroyed, changed or not. The account must outlive the stream.
class AccountStream : public MemoryStream
{
public:
    // Decodes the key's value (none: an empty stream) and rewinds.
    AccountStream(Account* account, const std::wstring& key);
    // Stores the whole content as the key's value. Never throws: a value that cannot be saved is
    // lost and logged, as with Account::WriteValue.
    ~AccountStream() override;

    Account* GetAccount() const { return mAccount; }
    const std::wstring& GetKey() const { return mKey; }

private:
    Account* mAccount;
    std::wstring mKey;
};

// One player's named settings, kept in a small XML file in the per-user partition and rewritten on
// every change. Main thread only; every call opens, parses and, when it changes something, rewrites
// the whole file.
//
// A rewrite never leaves a half file: the new content goes to "<name>.act.tmp", which reaches the disk
// before it is renamed over the file. The file is always XML 1.0 that any reader takes: values holding a
// character XML cannot hold are refused when set. A file that parses only in part, has no "account" root,
// or holds what a lenient reader would take as a changed value (a NUL, a raw '<' in a value, bad UTF-8, an
// unknown entity, a document type) is damaged: it is copied to "<name>.act.bad" (one log line) and rebuilt
// from every record whose own tag is sound, plus the change. A byte-order mark, comments and CDATA sections
// are read, not called damage. A file that exists but cannot be read whole is never replaced: the change is
// lost and logged. No operation throws into the game.
class Account
{
public:
    static constexpr const wchar_t* kNameKey = L"Strata::AccountManager::Name";
    static constexpr const wchar_t* kIsCurrentKey = L"Strata::AccountManager::IsCurrent";
    // Files are read up to this size; writes that would make a larger file are refused.
    static constexpr size_t kMaxFileSize = 4u << 20;

    // A new account: not current; records its name and that it is not current at once, creating the
    // file when it does not exist. When that cannot be saved the account still lives, the file is
    // missing or unchanged, and the failure is logged.
    Account(const FileAddress& file, const std::wstring& name);
    // An existing account: its name and flag come from its bookkeeping records (empty and false when
    // missing or unreadable).
    explicit Account(const FileAddress& file);
    // An account with no file: values live in memory for this run and nothing is saved. Caller owns it.
    static Account* CreateInMemory(const std::wstring& name);

    Account(const Account&) = delete;
    Account& operator=(const Account&) = delete;

    const std::wstring& GetName() const { return mName; }
    bool IsCurrent() const { return mIsCurrent; }
    // True for an account created in this run, false for one loaded from disk.
    bool IsNew() const { return mIsNew; }
    // True when the account has no file (see CreateInMemory).
    bool IsInMemory() const { return mInMemory; }
    const FileAddress& GetFile() const { return mFile; }

    // The value text of the first record with exactly this key; empty when the record, the file or
    // the key is missing, or the file cannot be read.
    std::wstring ReadValue(const std::wstring& key);
    // The typed value ("true"/"false" for booleans, decimal otherwise), or the default when the record
    // or its value is missing or the file cannot be read.
    bool ReadValue(const std::wstring& key, const bool& defaultValue);
    int ReadValue(const std::wstring& key, const int& defaultValue);
    float ReadValue(const std::wstring& key, const float& defaultValue);

    // Stores the value under the key, in the place of every record with that key, else at the end.
    // Returns false, logging why, when the change could not be saved (the file is then unchanged), or when
    // the key or value holds a character XML 1.0 cannot hold (the old value stays, in memory too); a null
    // key stores nothing and returns false.
    bool WriteValue(const wchar_t* key, const std::wstring& value);
    bool WriteValue(const wchar_t* key, const wchar_t* value);
    // Integers in decimal; floats with six decimals; booleans "true" or "false".
    bool WriteValue(const wchar_t* key, int value);
    bool WriteValue(const wchar_t* key, float value);
    bool WriteValue(const wchar_t* key, bool value);
    // A key holding a NUL is refused like any other character XML cannot hold: cut at the NUL, it would
    // overwrite a shorter key's value.
    template <typename T>
    bool WriteValue(const std::wstring& key, const T& value)
    {
        if (key.find(L'\0') != std::wstring::npos)
            return Apply({{key, std::wstring()}}, "WriteValue"); // refused and logged
        return WriteValue(key.c_str(), value);
    }

    // Removes every record with the key. Returns false, logging why, when that could not be saved;
    // a null key does nothing and returns false.
    bool DeleteValue(const wchar_t* key);

    // A new stream over the key's binary value (the caller deletes it, which stores it back);
    // null for a null key.
    AccountStream* OpenValueStream(const wchar_t* key);
    // Decodes the key's Base64 value and copies up to `size` bytes of it into `buffer`; returns the
    // count copied (0 when the value is missing, the key or buffer null). Never rewrites the file.
    unsigned long ReadBinary(const wchar_t* key, void* buffer, unsigned long size);
    // Stores the bytes as the key's Base64 value. Returns `size`, or 0 when they could not be saved
    // (or the key is null, or `data` is null with a non-zero size).
    unsigned long WriteBinary(const wchar_t* key, const void* data, unsigned long size);

private:
    // A value to store under a key, or none to remove the key.
    struct Change
    {
        std::wstring key;
        std::optional<std::wstring> value;
    };

    Account(const std::wstring& name, bool inMemory);

    // Every record of the account; none when the file is missing or cannot be read. Never throws.
    std::optional<std::vector<XMLElement>> LoadRecords(const char* operation);
    // The start element of the first record with the key, or none.
    std::optional<XMLElement> FindRecord(const std::wstring& key, const char* operation);
    // Reads the records (tolerantly), applies the changes and saves the result.
    bool Apply(const std::vector<Change>& changes, const char* operation);
    std::string NarrowName() const;
    void LogParseFailure(const char* operation, const std::string& type, const std::string& message) const;

    FileAddress mFile;
    std::wstring mName;
    bool mIsCurrent = false;
    bool mIsNew = false;
    bool mInMemory = false;
    // The records of an account that has no file.
    std::vector<XMLElement> mMemoryRecords;
};

} // namespace Strata
