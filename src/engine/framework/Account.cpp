#include "framework/Account.h"

#include "core/Base64.h"
#include "core/ErrorStatus.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/Stream.h"
#include "core/StringFormatter.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "core/XMLWriter.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <set>
#include <string_view>
#include <typeinfo>

namespace Strata
{

namespace
{

const wchar_t* const kRootTag = L"account";
const wchar_t* const kRecordTag = L"record";
const wchar_t* const kNameAttribute = L"name";
const wchar_t* const kValueAttribute = L"value";

constexpr size_t kCopyBlock = 64 * 1024;

std::string Narrow(const std::wstring& text)
{
    const std::shared_ptr<unsigned char[]> utf8 = ConvertStringWideToUTF8(text.c_str());
    return utf8 ? std::string(reinterpret_cast<const char*>(utf8.get())) : std::string();
}

std::string TypeName(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && demangled != nullptr) ? demangled : mangled;
    std::free(demangled);
    return name;
}

// A stream opened through the file system, closed through it again.
struct StreamCloser
{
    IFileSystem* fileSystem;
    void operator()(IStream* stream) const { fileSystem->CloseStream(stream); }
};
using FileStreamPtr = std::unique_ptr<IStream, StreamCloser>;

FileStreamPtr Open(IFileSystem* fileSystem, const FileAddress& address, FileAccess access, FileCreation creation)
{
    return FileStreamPtr(fileSystem->OpenStream(&address, access, creation), StreamCloser{fileSystem});
}

bool HasStreamError(IStream* stream)
{
    IErrorStatus* status = dynamic_cast<IErrorStatus*>(stream);
    return status != nullptr && status->HasErrorOccurred();
}

// The same file with a further extension: "<name>.act" gives "<name>.act<suffix>".
FileAddress Sibling(const FileAddress& file, const wchar_t* suffix)
{
    const std::wstring extension = std::wstring(file.GetExtension()) + suffix;
    return FileAddress(file.GetPartition(), file.GetFolder(), file.GetName(), extension.c_str());
}

std::string AddressText(const FileAddress& address)
{
    return Narrow(std::wstring(address.GetName() != nullptr ? address.GetName() : L"") +
                  (address.GetExtension() != nullptr ? address.GetExtension() : L""));
}

struct LoadedFile
{
    enum eStatus
    {
        Missing,    // no such file
        Unreadable, // the file exists but could not be read whole
        Read
    };
    eStatus status = Missing;
    std::string bytes;
    bool cut = false; // longer than the size cap; only the first kMaxFileSize bytes are held
};

LoadedFile LoadFile(IFileSystem* fileSystem, const FileAddress& file)
{
    LoadedFile loaded;
    FileStreamPtr stream = Open(fileSystem, file, FileAccess_Read, FileCreation_OpenExisting);
    if (!stream)
    {
        // FindFile may write a folder into the address it is given.
        FileAddress probe(file);
        loaded.status = fileSystem->FindFile(&probe) ? LoadedFile::Unreadable : LoadedFile::Missing;
        return loaded;
    }
    const size_t expected = stream->GetLength();
    // Read straight into the text: the file is read on every call, so no block is filled and copied.
    // One byte more than the file should hold shows a file that grew meanwhile.
    size_t held = 0;
    size_t room = std::min(expected, Account::kMaxFileSize) + 1;
    while (held <= Account::kMaxFileSize)
    {
        loaded.bytes.resize(std::min(room, Account::kMaxFileSize + 1));
        const size_t wanted = loaded.bytes.size() - held;
        const size_t got = stream->Read(loaded.bytes.data() + held, wanted);
        if (got == 0)
            break;
        held += std::min(got, wanted);
        if (held == loaded.bytes.size())
            room = held + kCopyBlock;
    }
    loaded.bytes.resize(held);
    if (loaded.bytes.size() > Account::kMaxFileSize)
    {
        loaded.bytes.resize(Account::kMaxFileSize);
        loaded.cut = true;
    }
    else if (loaded.bytes.size() < expected || HasStreamError(stream.get()))
    {
        // Short of what the file holds: what was read cannot stand for the file.
        loaded.status = LoadedFile::Unreadable;
        loaded.bytes.clear();
        return loaded;
    }
    loaded.status = LoadedFile::Read;
    return loaded;
}

// XML 1.0's characters: what any conforming reader takes in a document.
bool IsXMLCharacter(uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// The first character of `text` that an XML 1.0 file cannot hold, or none.
std::optional<uint32_t> UnstorableCharacter(std::wstring_view text)
{
    for (const wchar_t c : text)
        if (!IsXMLCharacter(static_cast<uint32_t>(c)))
            return static_cast<uint32_t>(c);
    return std::nullopt;
}

// Null when the bytes are UTF-8 made only of XML characters.
const char* CharacterProblem(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size())
    {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80)
        {
            if (!IsXMLCharacter(lead))
                return "it holds a character XML cannot hold";
            ++i;
            continue;
        }
        const size_t length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || i + length > bytes.size())
            return "it is not valid UTF-8";
        uint32_t c = lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k)
        {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return "it is not valid UTF-8";
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[length])
            return "it is not valid UTF-8";
        if (!IsXMLCharacter(c))
            return "it holds a character XML cannot hold";
        i += length;
    }
    return nullptr;
}

// The position after the reference that starts at `amp`, or npos when it is not one XML defines without a
// document type: our reader would read an unknown name as other text.
size_t ReferenceEnd(std::string_view bytes, size_t amp)
{
    const size_t semicolon = bytes.find(';', amp + 1);
    if (semicolon == std::string_view::npos)
        return std::string_view::npos;
    const std::string_view body = bytes.substr(amp + 1, semicolon - amp - 1);
    if (body == "lt" || body == "gt" || body == "amp" || body == "quot" || body == "apos")
        return semicolon + 1;
    if (body.size() < 2 || body[0] != '#')
        return std::string_view::npos;
    const bool hex = body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty())
        return std::string_view::npos;
    uint32_t value = 0;
    for (const char d : digits)
    {
        const int digit = d >= '0' && d <= '9'          ? d - '0'
                          : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                          : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                        : -1;
        if (digit < 0)
            return std::string_view::npos;
        value = value * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        if (value > 0x10FFFF)
            return std::string_view::npos;
    }
    return IsXMLCharacter(value) ? semicolon + 1 : std::string_view::npos;
}

// The position after the tag that starts at `open` ('<'), or npos when it does not end. A quoted value
// may hold '>'; a '<' or a broken reference anywhere in the tag is reported through `problem`.
size_t TagEnd(std::string_view bytes, size_t open, const char** problem)
{
    char quote = 0;
    for (size_t i = open + 1; i < bytes.size(); ++i)
    {
        const char c = bytes[i];
        if (c == '<')
        {
            *problem = quote != 0 ? "a value holds a raw '<'" : "a tag holds a raw '<'";
            return std::string_view::npos;
        }
        if (c == '&')
        {
            const size_t end = ReferenceEnd(bytes, i);
            if (end == std::string_view::npos)
            {
                *problem = "it holds an unknown or broken reference";
                return std::string_view::npos;
            }
            i = end - 1;
        }
        else if (quote != 0)
        {
            if (c == quote)
                quote = 0;
        }
        else if (c == '"' || c == '\'')
        {
            quote = c;
        }
        else if (c == '>')
        {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// What makes the bytes something other than well-formed XML that our reader reads as any XML reader would,
// or null. Damage a lenient reader would take as a changed value (a NUL, a raw '<' in a value, bad UTF-8,
// an unknown entity, a document type that could define one) must count as damage. `cleaned` receives the
// bytes without a byte-order mark, comments and CDATA sections, which a person may add and our reader does
// not take, when there is no problem and `changed` says there were any.
const char* MarkupProblem(std::string_view bytes, std::string& cleaned, bool& changed)
{
    size_t i = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    if (const char* problem = CharacterProblem(bytes.substr(i)))
        return problem;
    cleaned.clear();
    // Most files hold nothing to leave out: no copy is made for them.
    changed = i != 0;
    size_t copied = i;
    const auto skip = [&](size_t from, size_t to)
    {
        changed = true;
        cleaned.append(bytes.substr(copied, from - copied));
        copied = to;
    };
    while (i < bytes.size())
    {
        const std::string_view rest = bytes.substr(i);
        if (rest[0] == '&')
        {
            i = ReferenceEnd(bytes, i);
            if (i == std::string_view::npos)
                return "it holds an unknown or broken reference";
        }
        else if (rest[0] != '<')
        {
            ++i;
        }
        else if (rest.starts_with("<!--"))
        {
            const size_t end = bytes.find("--", i + 4);
            if (end == std::string_view::npos || bytes.substr(end, 3) != "-->")
                return "a comment is broken";
            skip(i, end + 3);
            i = end + 3;
        }
        else if (rest.starts_with("<![CDATA["))
        {
            const size_t end = bytes.find("]]>", i + 9);
            if (end == std::string_view::npos)
                return "a CDATA section is not closed";
            skip(i, end + 3);
            i = end + 3;
        }
        else if (rest.starts_with("<!"))
        {
            return "it has a document type declaration";
        }
        else if (rest.starts_with("<?"))
        {
            const size_t end = bytes.find("?>", i + 2);
            if (end == std::string_view::npos)
                return "a processing instruction is not closed";
            i = end + 2;
        }
        else
        {
            const char* problem = nullptr;
            i = TagEnd(bytes, i, &problem);
            if (problem != nullptr)
                return problem;
            if (i == std::string_view::npos)
                break; // a cut tag: the reader reports it
        }
    }
    if (changed)
        cleaned.append(bytes.substr(copied));
    return nullptr;
}

bool IsRecord(const XMLElement& element)
{
    return element.IsStartElement() && element.GetName() == kRecordTag;
}

// A record as the account writes it: exactly a name and a value. Any other attribute means the tag was
// damaged, so neither of its values can be trusted.
bool IsSoundRecord(const XMLElement& element)
{
    const IAttributeContainer::AttributeMap& attributes = element.GetAttributes();
    return IsRecord(element) && attributes.size() == 2 && attributes.count(kNameAttribute) != 0 &&
           attributes.count(kValueAttribute) != 0;
}

bool IsWhiteSpace(const std::wstring& text)
{
    return std::all_of(
        text.begin(), text.end(), [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; });
}

// A repeated attribute is damage here, not a value to pick.
std::unique_ptr<IXMLReader> CreateStrictReader(IStream* stream)
{
    sXMLReaderOptions options;
    options.rejectRepeatedAttributes = true;
    return CreateXMLReader(stream, options);
}

struct ParsedRecords
{
    std::vector<XMLElement> records;
    bool damaged = false;
    std::string problem; // why it is damaged
    bool parseFailed = false;
    std::string errorType;
    std::string errorMessage;
};

// The start tag of every sound record in the document, in order. Throws when the document fails to parse,
// leaving the records before the fault in `parsed`. Anything the account does not write itself (text,
// other elements, nested or unclosed records, attributes other than a name and a value) marks the file as
// damaged.
void ReadDocument(const std::string& bytes, ParsedRecords& parsed)
{
    ReadOnlyMemoryStream stream(L"account", bytes.data(), bytes.size());
    std::unique_ptr<IXMLReader> reader = CreateStrictReader(&stream);
    std::vector<std::wstring> open;
    bool rootSeen = false;
    bool rootIsAccount = false;
    bool rootClosed = false;
    const auto markDamaged = [&parsed](const char* problem)
    {
        if (!parsed.damaged)
        {
            parsed.damaged = true;
            parsed.problem = problem;
        }
    };
    while (!reader->IsEOF())
    {
        const XMLElement* element = reader->ReadElement();
        if (element == nullptr)
            break;
        if (element->IsStartElement())
        {
            if (!rootSeen)
            {
                rootSeen = true;
                rootIsAccount = element->GetName() == kRootTag;
            }
            else if (open.empty())
            {
                markDamaged("there is more than one root element");
            }
            else if (open.size() > 1)
            {
                markDamaged("an element is nested in a record");
            }
            else if (!IsRecord(*element))
            {
                markDamaged("it holds an element that is not a record");
            }
            if (IsSoundRecord(*element))
                parsed.records.push_back(*element);
            else if (IsRecord(*element) && !element->HasAttribute(kValueAttribute))
                markDamaged("a record has no value");
            else if (IsRecord(*element) && !element->HasAttribute(kNameAttribute))
                markDamaged("a record has no name");
            else if (IsRecord(*element))
                markDamaged("a record has an attribute other than a name and a value");
            open.push_back(element->GetName());
        }
        else if (element->IsEndElement())
        {
            if (open.empty() || open.back() != element->GetName())
                markDamaged("an end tag does not match its start tag");
            if (!open.empty())
            {
                open.pop_back();
                if (open.empty() && rootIsAccount && element->GetName() == kRootTag)
                    rootClosed = true;
            }
        }
        else if (!IsWhiteSpace(element->GetName()))
        {
            markDamaged("it holds text");
        }
    }
    if (parsed.damaged)
        return;
    if (!rootSeen)
    {
        parsed.damaged = true;
        parsed.problem = "no root element";
    }
    else if (!rootIsAccount)
    {
        parsed.damaged = true;
        parsed.problem = "the root element is not 'account'";
    }
    else if (!rootClosed)
    {
        parsed.damaged = true;
        parsed.problem = "the root element is not closed";
    }
}

// In a damaged file: every sound "<record" tag that parses on its own, wherever it stands, is added unless
// an equal record is already there, so that the records after the fault (or hidden by it) are kept too.
void RecoverRecords(const std::string& bytes, std::vector<XMLElement>& records)
{
    static const std::string kTag = "<record";
    std::set<IAttributeContainer::AttributeMap> known;
    for (const XMLElement& record : records)
        known.insert(record.GetAttributes());
    size_t position = bytes.find(kTag);
    while (position != std::string::npos)
    {
        const size_t next = bytes.find(kTag, position + 1);
        const size_t end = next == std::string::npos ? bytes.size() : next;
        const size_t after = position + kTag.size();
        const char follower = after < bytes.size() ? bytes[after] : '\0';
        const char* problem = nullptr;
        const size_t tagEnd = TagEnd(bytes, position, &problem);
        // A record whose own tag is damaged is left out, not read as a changed value.
        const bool sound = tagEnd != std::string::npos && tagEnd <= end &&
                           CharacterProblem(std::string_view(bytes).substr(position, tagEnd - position)) == nullptr;
        if (std::strchr(" \t\r\n/>", follower) != nullptr && follower != '\0' && sound)
        {
            try
            {
                ReadOnlyMemoryStream chunk(L"account", bytes.data() + position, tagEnd - position);
                std::unique_ptr<IXMLReader> reader = CreateStrictReader(&chunk);
                if (!reader->IsEOF())
                {
                    const XMLElement* element = reader->ReadElement();
                    if (element != nullptr && IsSoundRecord(*element) && known.insert(element->GetAttributes()).second)
                        records.push_back(*element);
                }
            }
            catch (const std::exception&)
            {
                // This tag is damaged itself; the others still count.
            }
        }
        position = next;
    }
}

ParsedRecords ParseRecords(const LoadedFile& file)
{
    ParsedRecords parsed;
    std::string cleaned;
    bool changed = false;
    const char* problem = MarkupProblem(file.bytes, cleaned, changed);
    const std::string& text = problem == nullptr && changed ? cleaned : file.bytes;
    try
    {
        ReadDocument(text, parsed);
    }
    catch (const std::exception& error)
    {
        parsed.parseFailed = true;
        parsed.damaged = true;
        parsed.problem = "it does not parse";
        parsed.errorType = TypeName(error);
        parsed.errorMessage = error.what();
    }
    if (problem != nullptr)
    {
        // What our reader took from such a file may be a changed value: only sound tags count.
        parsed.records.clear();
        if (!parsed.damaged)
            parsed.problem = problem;
        parsed.damaged = true;
    }
    if (parsed.damaged)
    {
        // A damaged tag can swallow the one after it, wherever the damage shows.
        RecoverRecords(text, parsed.records);
    }
    if (file.cut)
    {
        parsed.damaged = true;
        parsed.problem = "it is larger than an account file can be";
    }
    return parsed;
}

const XMLElement* FindIn(const std::vector<XMLElement>& records, const std::wstring& key)
{
    for (const XMLElement& record : records)
        if (record.GetAttribute(kNameAttribute) == key)
            return &record;
    return nullptr;
}

XMLElement MakeRecord(const std::wstring& key, const std::wstring& value)
{
    return XMLElement(XMLElement::ElementType_Start, kRecordTag, {{kNameAttribute, key}, {kValueAttribute, value}});
}

std::string Serialize(const std::vector<XMLElement>& records)
{
    MemoryStream out(L"Temporary");
    {
        XMLWriter writer(&out);
        writer.WriteStartElement(kRootTag);
        for (const XMLElement& record : records)
        {
            // Only a name and a value, whatever else a record read from a damaged file held.
            writer.WriteStartElement(kRecordTag);
            writer.WriteAttribute(kNameAttribute, record.GetAttribute(kNameAttribute).c_str());
            writer.WriteAttribute(kValueAttribute, record.GetAttribute(kValueAttribute).c_str());
            writer.WriteEndElement();
        }
        writer.WriteEndElement();
    }
    std::string bytes(out.GetLength(), '\0');
    out.Seek(SeekOrigin_Begin, 0);
    bytes.resize(out.Read(bytes.data(), bytes.size()));
    return bytes;
}

// Writes the whole file; false when it could not be opened or did not take every byte.
bool WriteWhole(IFileSystem* fileSystem, const FileAddress& address, const std::string& bytes)
{
    FileStreamPtr stream = Open(fileSystem, address, FileAccess_Write, FileCreation_CreateAlways);
    if (!stream)
        return false;
    size_t written = 0;
    while (written < bytes.size())
    {
        const size_t count = stream->Write(bytes.data() + written, bytes.size() - written);
        if (count == 0)
            break;
        written += std::min(count, bytes.size() - written);
    }
    return written == bytes.size() && !HasStreamError(stream.get());
}

// Copies a file byte for byte; false when any of it could not be read or written.
bool CopyFile(IFileSystem* fileSystem, const FileAddress& from, const FileAddress& to)
{
    FileStreamPtr source = Open(fileSystem, from, FileAccess_Read, FileCreation_OpenExisting);
    if (!source)
        return false;
    FileStreamPtr target = Open(fileSystem, to, FileAccess_Write, FileCreation_CreateAlways);
    if (!target)
        return false;
    const size_t expected = source->GetLength();
    std::vector<char> block(kCopyBlock);
    size_t total = 0;
    while (true)
    {
        const size_t got = std::min(source->Read(block.data(), block.size()), block.size());
        if (got == 0)
            break;
        size_t written = 0;
        while (written < got)
        {
            const size_t count = target->Write(block.data() + written, got - written);
            if (count == 0)
                return false;
            written += std::min(count, got - written);
        }
        total += got;
    }
    return total >= expected && !HasStreamError(source.get()) && !HasStreamError(target.get());
}

// The new content reaches the disk under "<name>.tmp" and then replaces the file in one step, so the
// file is always either the old one or the new one.
bool ReplaceFile(IFileSystem* fileSystem, const FileAddress& file, const std::string& bytes)
{
    const FileAddress temporary = Sibling(file, L".tmp");
    if (!WriteWhole(fileSystem, temporary, bytes) || !fileSystem->RenameFile(&temporary, &file))
    {
        fileSystem->DeleteFile(&temporary);
        return false;
    }
    return true;
}

void ApplyChange(std::vector<XMLElement>& records, const std::wstring& key, const std::optional<std::wstring>& value)
{
    if (!value)
    {
        std::erase_if(records, [&key](const XMLElement& record) { return record.GetAttribute(kNameAttribute) == key; });
        return;
    }
    bool found = false;
    for (XMLElement& record : records)
    {
        if (record.GetAttribute(kNameAttribute) == key)
        {
            // Other attributes of the old record go: a record holds exactly a name and a value.
            record = MakeRecord(key, *value);
            found = true;
        }
    }
    if (!found)
        records.push_back(MakeRecord(key, *value));
}

std::wstring FormatInt(int value)
{
    return StringFormatter(L"%1:d%").Arg(value).c_str();
}

std::wstring FormatFloat(float value)
{
    return StringFormatter(L"%1%").Arg(value).c_str();
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// AccountStream

AccountStream::AccountStream(Account* account, const std::wstring& key)
    : MemoryStream(L"Account Value " + key), mAccount(account), mKey(key)
{
    if (mAccount != nullptr)
        Base64::Decode(mAccount->ReadValue(mKey), this);
    Seek(SeekOrigin_Begin, 0);
}

AccountStream::~AccountStream()
{
    try
    {
        if (mAccount != nullptr)
        {
            Seek(SeekOrigin_Begin, 0);
            mAccount->WriteValue(mKey.c_str(), Base64::Encode(this));
        }
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("Strata::AccountStream: could not store the value '%s': %s\n", Narrow(mKey).c_str(),
                           error.what());
    }
    catch (...)
    {
        Internal::LogWrite("Strata::AccountStream: could not store the value '%s'.\n", Narrow(mKey).c_str());
    }
}

// ---------------------------------------------------------------------------------------------------
// Account

Account::Account(const FileAddress& file, const std::wstring& name) : mFile(file), mName(name), mIsNew(true)
{
    Apply({{kNameKey, name}, {kIsCurrentKey, std::wstring(L"false")}}, "Account");
}

Account::Account(const FileAddress& file) : mFile(file)
{
    const std::optional<std::vector<XMLElement>> records = LoadRecords("Account");
    if (records)
    {
        const XMLElement* name = FindIn(*records, kNameKey);
        const XMLElement* current = FindIn(*records, kIsCurrentKey);
        mName = name != nullptr ? name->GetAttribute(kValueAttribute) : std::wstring();
        mIsCurrent = current != nullptr ? current->GetAttribute(kValueAttribute, false) : false;
    }
}

Account::Account(const std::wstring& name, bool inMemory) : mName(name), mIsNew(true), mInMemory(inMemory)
{
    mMemoryRecords.push_back(MakeRecord(kNameKey, name));
    mMemoryRecords.push_back(MakeRecord(kIsCurrentKey, L"false"));
}

Account* Account::CreateInMemory(const std::wstring& name)
{
    return new Account(name, true);
}

std::string Account::NarrowName() const
{
    return Narrow(mName);
}

std::optional<std::vector<XMLElement>> Account::LoadRecords(const char* operation)
{
    try
    {
        if (mInMemory)
            return mMemoryRecords;
        FileSystem* fileSystem = GetFileSystem();
        if (fileSystem == nullptr)
            return std::nullopt;
        const LoadedFile loaded = LoadFile(fileSystem, mFile);
        if (loaded.status != LoadedFile::Read)
            return std::nullopt;
        ParsedRecords parsed = ParseRecords(loaded);
        if (parsed.parseFailed)
            LogParseFailure(operation, parsed.errorType, parsed.errorMessage);
        return std::move(parsed.records);
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("Strata::Account::%s: could not read the account '%s': %s\n", operation,
                           NarrowName().c_str(), error.what());
        return std::nullopt;
    }
}

std::optional<XMLElement> Account::FindRecord(const std::wstring& key, const char* operation)
{
    const std::optional<std::vector<XMLElement>> records = LoadRecords(operation);
    const XMLElement* record = records ? FindIn(*records, key) : nullptr;
    return record != nullptr ? std::optional<XMLElement>(*record) : std::nullopt;
}

void Account::LogParseFailure(const char* operation, const std::string& type, const std::string& message) const
{
    // While an account is being loaded its name is not known yet: its file stands in.
    Internal::LogWrite("Strata::Account::%s: There is an error in the XML data for the account '%s'.\n", operation,
                       mName.empty() ? AddressText(mFile).c_str() : NarrowName().c_str());
    Internal::LogWrite("%s\n", type.c_str());
    Internal::LogWrite("\tMessage:\t%s\n", message.c_str());
}

bool Account::Apply(const std::vector<Change>& changes, const char* operation)
{
    // Refused here, so that the file written is always one any XML reader takes.
    for (const Change& change : changes)
    {
        std::optional<uint32_t> bad = UnstorableCharacter(change.key);
        if (!bad && change.value)
            bad = UnstorableCharacter(*change.value);
        if (bad)
        {
            Internal::LogWrite("Strata::Account::%s: '%s' of the account '%s' holds U+%04X, which an account file "
                               "cannot hold; the change is not saved.\n",
                               operation, Narrow(change.key).c_str(), NarrowName().c_str(), *bad);
            return false;
        }
    }
    try
    {
        if (mInMemory)
        {
            for (const Change& change : changes)
                ApplyChange(mMemoryRecords, change.key, change.value);
            return true;
        }
        FileSystem* fileSystem = GetFileSystem();
        if (fileSystem == nullptr)
        {
            Internal::LogWrite("Strata::Account::%s: there is no file system; the account '%s' is not saved.\n",
                               operation, NarrowName().c_str());
            return false;
        }

        const LoadedFile loaded = LoadFile(fileSystem, mFile);
        if (loaded.status == LoadedFile::Unreadable)
        {
            // Replacing a file that could not be read would throw away everything in it.
            Internal::LogWrite("Strata::Account::%s: could not read the file '%s' of the account '%s'; the change "
                               "is not saved.\n",
                               operation, AddressText(mFile).c_str(), NarrowName().c_str());
            return false;
        }

        std::vector<XMLElement> records;
        bool rebuilt = loaded.status == LoadedFile::Missing;
        if (loaded.status == LoadedFile::Read)
        {
            ParsedRecords parsed = ParseRecords(loaded);
            if (parsed.parseFailed)
                LogParseFailure(operation, parsed.errorType, parsed.errorMessage);
            if (parsed.damaged)
            {
                // The copy goes in whole or not at all, so an earlier copy is never cut short.
                const FileAddress bad = Sibling(mFile, L".bad");
                const FileAddress badTemporary = Sibling(mFile, L".bad.tmp");
                if (!CopyFile(fileSystem, mFile, badTemporary) || !fileSystem->RenameFile(&badTemporary, &bad))
                {
                    fileSystem->DeleteFile(&badTemporary);
                    Internal::LogWrite("Strata::Account::%s: the file '%s' of the account '%s' is damaged (%s) and "
                                       "no copy of it could be kept; the change is not saved.\n",
                                       operation, AddressText(mFile).c_str(), NarrowName().c_str(),
                                       parsed.problem.c_str());
                    return false;
                }
                Internal::LogWrite("Strata::Account::%s: the file '%s' of the account '%s' is damaged (%s); kept "
                                   "it as '%s' and rebuilt it from %zu readable records.\n",
                                   operation, AddressText(mFile).c_str(), NarrowName().c_str(), parsed.problem.c_str(),
                                   AddressText(bad).c_str(), parsed.records.size());
                rebuilt = true;
            }
            records = std::move(parsed.records);
        }

        if (rebuilt)
        {
            // A rebuilt file still names its account, so that it is found under its name next time.
            if (FindIn(records, kNameKey) == nullptr)
                records.insert(records.begin(), MakeRecord(kNameKey, mName));
            if (FindIn(records, kIsCurrentKey) == nullptr)
            {
                const auto name = std::find_if(records.begin(), records.end(),
                                               [](const XMLElement& record)
                                               { return record.GetAttribute(kNameAttribute) == kNameKey; });
                records.insert(name + 1, MakeRecord(kIsCurrentKey, mIsCurrent ? L"true" : L"false"));
            }
        }
        for (const Change& change : changes)
            ApplyChange(records, change.key, change.value);

        const std::string bytes = Serialize(records);
        if (bytes.size() > kMaxFileSize)
        {
            Internal::LogWrite("Strata::Account::%s: the account '%s' would grow past %zu bytes; the change is not "
                               "saved.\n",
                               operation, NarrowName().c_str(), kMaxFileSize);
            return false;
        }
        if (!ReplaceFile(fileSystem, mFile, bytes))
        {
            Internal::LogWrite("Strata::Account::%s: could not save the file '%s' of the account '%s'; the change "
                               "is lost.\n",
                               operation, AddressText(mFile).c_str(), NarrowName().c_str());
            return false;
        }
        return true;
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("Strata::Account::%s: could not save the account '%s': %s\n", operation,
                           NarrowName().c_str(), error.what());
        return false;
    }
}

std::wstring Account::ReadValue(const std::wstring& key)
{
    const std::optional<XMLElement> record = FindRecord(key, "ReadValue");
    return record ? record->GetAttribute(kValueAttribute) : std::wstring();
}

bool Account::ReadValue(const std::wstring& key, const bool& defaultValue)
{
    const std::optional<XMLElement> record = FindRecord(key, "ReadValue");
    return record ? record->GetAttribute(kValueAttribute, defaultValue) : defaultValue;
}

int Account::ReadValue(const std::wstring& key, const int& defaultValue)
{
    const std::optional<XMLElement> record = FindRecord(key, "ReadValue");
    return record ? record->GetAttribute(kValueAttribute, defaultValue) : defaultValue;
}

float Account::ReadValue(const std::wstring& key, const float& defaultValue)
{
    const std::optional<XMLElement> record = FindRecord(key, "ReadValue");
    return record ? record->GetAttribute(kValueAttribute, defaultValue) : defaultValue;
}

bool Account::WriteValue(const wchar_t* key, const std::wstring& value)
{
    if (key == nullptr)
        return false;
    if (UnstorableCharacter(key) || UnstorableCharacter(value))
        return Apply({{key, value}}, "WriteValue"); // refused and logged; the old value stays
    const bool saved = Apply({{key, value}}, "WriteValue");
    // The account in memory follows even when the file could not: a switch of account still happens.
    if (std::wcscmp(key, kNameKey) == 0)
        mName = value;
    else if (std::wcscmp(key, kIsCurrentKey) == 0)
        mIsCurrent = value == L"true";
    return saved;
}

bool Account::WriteValue(const wchar_t* key, const wchar_t* value)
{
    return WriteValue(key, std::wstring(value != nullptr ? value : L""));
}

bool Account::WriteValue(const wchar_t* key, int value)
{
    return WriteValue(key, FormatInt(value));
}

bool Account::WriteValue(const wchar_t* key, float value)
{
    return WriteValue(key, FormatFloat(value));
}

bool Account::WriteValue(const wchar_t* key, bool value)
{
    return WriteValue(key, std::wstring(value ? L"true" : L"false"));
}

bool Account::DeleteValue(const wchar_t* key)
{
    if (key == nullptr)
        return false;
    return Apply({{key, std::nullopt}}, "DeleteValue");
}

AccountStream* Account::OpenValueStream(const wchar_t* key)
{
    if (key == nullptr)
        return nullptr;
    return new AccountStream(this, key);
}

unsigned long Account::ReadBinary(const wchar_t* key, void* buffer, unsigned long size)
{
    if (key == nullptr || buffer == nullptr || size == 0)
        return 0;
    MemoryStream decoded(L"Account Value " + std::wstring(key));
    Base64::Decode(ReadValue(key), &decoded);
    decoded.Seek(SeekOrigin_Begin, 0);
    return static_cast<unsigned long>(decoded.Read(buffer, size));
}

unsigned long Account::WriteBinary(const wchar_t* key, const void* data, unsigned long size)
{
    if (key == nullptr || (data == nullptr && size != 0))
        return 0;
    ReadOnlyMemoryStream source(L"Account Value " + std::wstring(key), data, size);
    if (source.GetLength() != size)
        return 0;
    return WriteValue(key, Base64::Encode(&source)) ? size : 0;
}

} // namespace Strata
