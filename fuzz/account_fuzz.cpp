// Feeds arbitrary bytes to an account as its file, through an in-memory partition, and checks what a
// damaged file must never cost: reads never write, a written value reads back, the rewritten file parses
// whole, and every record readable before the fault is still there afterwards.

#include "FuzzSupport.h"

#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "core/XMLWriter.h"
#include "framework/Account.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

Fuzzing::WritableMemoryPartition* gDisk = nullptr;

using Record = std::pair<std::wstring, std::wstring>;

// The records an independent reader gets, up to a fault; `whole` tells whether the document parsed to its
// end under one closed "account" root.
std::vector<Record> ReadRecords(const std::string& bytes, bool& whole)
{
    std::vector<Record> records;
    whole = false;
    ReadOnlyMemoryStream stream(L"check", bytes.data(), bytes.size());
    try
    {
        sXMLReaderOptions strict;
        strict.rejectRepeatedAttributes = true;
        std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream, strict);
        int depth = 0;
        bool rootIsAccount = false;
        bool rootClosed = false;
        bool rootSeen = false;
        while (!reader->IsEOF())
        {
            const XMLElement* element = reader->ReadElement();
            if (element->IsStartElement())
            {
                if (!rootSeen)
                {
                    rootSeen = true;
                    rootIsAccount = element->GetName() == L"account";
                }
                // Only a record of exactly a name and a value is sound.
                if (element->GetName() == L"record" && element->GetAttributes().size() == 2 &&
                    element->HasAttribute(L"name") && element->HasAttribute(L"value"))
                    records.emplace_back(element->GetAttribute(L"name"), element->GetAttribute(L"value"));
                ++depth;
            }
            else if (element->IsEndElement() && depth > 0 && --depth == 0 && rootIsAccount &&
                     element->GetName() == L"account")
            {
                rootClosed = true; // what follows the root does not undo it
            }
        }
        whole = rootIsAccount && rootClosed;
    }
    catch (const XMLError&)
    {
    }
    return records;
}

// Text an account stores: XML 1.0's characters only.
bool Representable(const std::wstring& text)
{
    return std::all_of(
        text.begin(), text.end(),
        [](wchar_t c)
        {
            return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
                   (c >= 0x10000 && c <= 0x10FFFF);
        });
}

// Whether the file holds the record's tag exactly as the account writes it: damage elsewhere in the file
// must not cost such a record. A tag that differs may itself be the damage.
bool HoldsSoundTag(const std::string& bytes, const Record& record)
{
    const auto utf8 = [](const std::wstring& text)
    {
        const std::shared_ptr<unsigned char[]> converted =
            ConvertStringWideToUTF8(EscapeXML(text, XMLEscape_Attribute).c_str());
        return converted ? std::string(reinterpret_cast<const char*>(converted.get())) : std::string();
    };
    const std::string tag = "<record name=\"" + utf8(record.first) + "\" value=\"" + utf8(record.second) + "\"";
    for (size_t at = bytes.find(tag); at != std::string::npos; at = bytes.find(tag, at + 1))
    {
        const size_t end = at + tag.size();
        if (end < bytes.size() && (bytes[end] == '/' || bytes[end] == '>'))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool mounted = []
    {
        gDisk = new Fuzzing::WritableMemoryPartition();
        (new FileSystem())->AddFileSystemPartition(FileSystemPartition_User, gDisk);
        return true;
    }();
    (void)mounted;
    std::map<std::wstring, std::string>& gFiles = gDisk->files;

    const std::string original(reinterpret_cast<const char*>(data), size);
    gFiles.clear();
    gFiles[L"1.act"] = original;
    const FileAddress file(FileSystemPartition_User, L".", L"1", L".act");

    bool whole = false;
    const std::vector<Record> before = ReadRecords(original, whole);
    // Write over an existing key when there is one, to replace a record in place.
    std::wstring key = L"fuzz";
    if (!before.empty() && Representable(before.front().first))
        key = before.front().first;

    Account account(file);
    // Every read goes the same way through the file: one of each kind is enough.
    account.ReadValue(key, 0);
    char buffer[64];
    account.ReadBinary(key.c_str(), buffer, sizeof(buffer));
    Check(gFiles[L"1.act"] == original); // reading never writes

    Check(account.WriteValue(key.c_str(), std::wstring(L"written")));
    Check(account.ReadValue(key) == L"written");
    bool rewrittenWhole = false;
    const std::vector<Record> after = ReadRecords(gFiles[L"1.act"], rewrittenWhole);
    Check(rewrittenWhole);
    Check(gFiles.count(L"1.act.tmp") == 0);
    for (const Record& record : before)
        if (record.first != key && Representable(record.first) && Representable(record.second) &&
            HoldsSoundTag(original, record))
            Check(std::find(after.begin(), after.end(), record) != after.end());
    if (!whole)
        Check(gFiles.count(L"1.act.bad") == 1 && gFiles[L"1.act.bad"] == original);

    Check(account.DeleteValue(key.c_str()));
    Check(account.ReadValue(key, 5) == 5);
    const unsigned long length = static_cast<unsigned long>(std::min<size_t>(size, sizeof(buffer)));
    Check(account.WriteBinary(L"blob", data, length) == length);
    Check(account.ReadBinary(L"blob", buffer, sizeof(buffer)) == length);
    Check(length == 0 || std::memcmp(buffer, data, length) == 0);
    delete account.OpenValueStream(L"blob");
    Check(account.ReadBinary(L"blob", buffer, sizeof(buffer)) == length);
    return 0;
}
