#include "framework/Account.h"

#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/WideString.h"
#include "core/XMLReader.h"

#include "support/MemoryFileSystemPartition.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace Strata;
using Strata::Testing::MemoryFileSystemPartition;

namespace
{

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n";
const std::wstring kPath = L"1.act";
const std::wstring kTemporaryPath = L"1.act.tmp";
const std::wstring kBadPath = L"1.act.bad";

using Records = std::vector<std::pair<std::string, std::string>>;

std::string RecordLine(const std::string& name, const std::string& value)
{
    return "<record name=\"" + name + "\" value=\"" + value + "\"/>\r\n";
}

// An account file as the engine writes it.
std::string Document(const Records& records)
{
    if (records.empty())
        return kDeclaration + "<account/>\r\n";
    std::string text = kDeclaration + "<account>\r\n";
    for (const auto& [name, value] : records)
        text += RecordLine(name, value);
    return text + "</account>\r\n";
}

// The records of a file, read independently of the account code. A file that does not parse as a
// whole, or holds a record that is not exactly a name and a value, fails the test.
Records ParseFile(const std::string& bytes)
{
    Records records;
    ReadOnlyMemoryStream stream(L"check", bytes.data(), bytes.size());
    sXMLReaderOptions strict;
    strict.rejectRepeatedAttributes = true;
    std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream, strict);
    bool rootSeen = false;
    try
    {
        while (!reader->IsEOF())
        {
            const XMLElement* element = reader->ReadElement();
            if (element->IsStartElement() && !rootSeen)
            {
                rootSeen = true;
                EXPECT_EQ(element->GetName(), L"account");
            }
            else if (element->IsStartElement())
            {
                EXPECT_EQ(element->GetName(), L"record");
                EXPECT_EQ(element->GetAttributes().size(), 2u);
                records.emplace_back(TruncateStringWideToASCII(element->GetAttribute(L"name").c_str()),
                                     TruncateStringWideToASCII(element->GetAttribute(L"value").c_str()));
            }
        }
    }
    catch (const XMLError& error)
    {
        ADD_FAILURE() << "the file does not parse: " << error.what();
    }
    EXPECT_TRUE(rootSeen);
    return records;
}

// The value of every record as libexpat reads the file, or a failure when it refuses the file: the account
// files must be XML that any reader takes, not only ours.
std::vector<std::pair<std::string, std::string>> ReadWithExpat(const std::string& bytes)
{
    std::vector<std::pair<std::string, std::string>> records;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &records);
    XML_SetStartElementHandler(parser,
                               [](void* data, const XML_Char* name, const XML_Char** attributes)
                               {
                                   if (std::string(name) != "record")
                                       return;
                                   std::pair<std::string, std::string> record;
                                   for (int i = 0; attributes[i] != nullptr; i += 2)
                                       (std::string(attributes[i]) == "name" ? record.first : record.second) =
                                           attributes[i + 1];
                                   static_cast<decltype(records)*>(data)->push_back(record);
                               });
    const bool parsed = XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) == XML_STATUS_OK;
    EXPECT_TRUE(parsed) << XML_ErrorString(XML_GetErrorCode(parser)) << " at line " << XML_GetCurrentLineNumber(parser);
    XML_ParserFree(parser);
    return records;
}

std::string Utf8(const std::wstring& text)
{
    const std::shared_ptr<unsigned char[]> utf8 = ConvertStringWideToUTF8(text.c_str());
    return reinterpret_cast<const char*>(utf8.get());
}

class AccountTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fileSystem = new FileSystem();
        disk = new MemoryFileSystemPartition(L"user");
        disk->SetJournal(&journal);
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, disk);
    }

    void TearDown() override { Internal::DeleteAllSingletons(); }

    std::string File() const { return disk->GetFile(kPath); }
    int Renames() const { return static_cast<int>(std::count(journal.begin(), journal.end(), L"Rename:user")); }

    std::vector<std::wstring> journal;
    FileSystem* fileSystem = nullptr;
    MemoryFileSystemPartition* disk = nullptr;
    const FileAddress address{FileSystemPartition_User, L".", L"1", L".act"};
};

const Records kPlayer = {{"Strata::AccountManager::Name", "Player"}, {"Strata::AccountManager::IsCurrent", "false"}};

Records With(Records records, const Records& more)
{
    records.insert(records.end(), more.begin(), more.end());
    return records;
}

} // namespace

TEST_F(AccountTest, NewAccountWritesItsBookkeepingInTheFileFormat)
{
    // The manager's way: the file already holds an empty root.
    disk->AddFile(kPath, Document({}));
    Account created(address, L"Player");
    EXPECT_EQ(File(), Document(kPlayer));
    EXPECT_TRUE(created.IsNew());
    EXPECT_FALSE(created.IsCurrent());

    Account loaded(address);
    EXPECT_EQ(loaded.GetName(), L"Player");
    EXPECT_FALSE(loaded.IsCurrent());
    EXPECT_FALSE(loaded.IsNew());

    // Without a file the account makes one, never leaving its temporary file behind.
    const FileAddress other(FileSystemPartition_User, L".", L"2", L".act");
    Account fresh(other, L"Ana & \"Bo\" <3>");
    EXPECT_EQ(Account(other).GetName(), L"Ana & \"Bo\" <3>");
    EXPECT_FALSE(disk->HasFile(L"2.act.tmp"));
}

TEST_F(AccountTest, ValuesOfEveryKindRoundTrip)
{
    Account account(address, L"Player");
    account.WriteValue(L"Volume", 0.5f);
    account.WriteValue(L"Negative", -3.25f);
    account.WriteValue(L"Big", 1234.5f);
    account.WriteValue(L"Level", 42);
    account.WriteValue(L"Lowest", INT_MIN);
    account.WriteValue(L"Highest", INT_MAX);
    account.WriteValue(L"Sound", false);
    account.WriteValue(L"Music", true);
    const std::wstring awkward = L"a<b & \"c\" 'd' >\n\ttab \u00e9\u20ac\U0001F600";
    account.WriteValue(L"Text", awkward);
    account.WriteValue(L"Literal", L"plain text");
    account.WriteValue(std::wstring(L"FromTemplate"), 7);

    EXPECT_EQ(account.ReadValue(L"Volume", 1.0f), 0.5f);
    EXPECT_EQ(account.ReadValue(L"Negative", 0.0f), -3.25f);
    EXPECT_EQ(account.ReadValue(L"Big", 0.0f), 1234.5f);
    EXPECT_EQ(account.ReadValue(L"Level", 0), 42);
    EXPECT_EQ(account.ReadValue(L"Lowest", 0), INT_MIN);
    EXPECT_EQ(account.ReadValue(L"Highest", 0), INT_MAX);
    EXPECT_FALSE(account.ReadValue(L"Sound", true));
    EXPECT_TRUE(account.ReadValue(L"Music", false));
    EXPECT_EQ(account.ReadValue(L"Text"), awkward);
    // Characters above U+FFFF survive in keys, values and the account's name, through later saves too.
    account.WriteValue(L"\U0001F98A", L"\U0001F98A");
    account.WriteValue(L"Strata::AccountManager::Name", L"Ana \U0001F600");
    account.WriteValue(L"After", 1);
    EXPECT_EQ(account.ReadValue(L"Text"), awkward);
    EXPECT_EQ(account.ReadValue(L"\U0001F98A"), L"\U0001F98A");
    EXPECT_EQ(Account(address).GetName(), L"Ana \U0001F600");
    // A text value given as a literal is text, not a pointer taken as a boolean.
    EXPECT_EQ(account.ReadValue(L"Literal"), L"plain text");
    EXPECT_EQ(account.ReadValue(L"FromTemplate", 0), 7);

    EXPECT_EQ(account.ReadValue(L"Missing", 7), 7);
    EXPECT_EQ(account.ReadValue(L"Missing", 2.5f), 2.5f);
    EXPECT_TRUE(account.ReadValue(L"Missing", true));
    EXPECT_EQ(account.ReadValue(L"Missing"), L"");

    // The stored texts keep the file format others read: decimal integers, six decimals, words.
    const std::string file = File();
    EXPECT_NE(file.find(RecordLine("Volume", "0.500000")), std::string::npos);
    EXPECT_NE(file.find(RecordLine("Highest", "2147483647")), std::string::npos);
    EXPECT_NE(file.find(RecordLine("Sound", "false")), std::string::npos);
}

TEST_F(AccountTest, RewritesKeepOneRecordPerKeyInItsPlace)
{
    Account account(address, L"Player");
    account.WriteValue(L"a", 1);
    account.WriteValue(L"b", 2);
    account.WriteValue(L"a", 3);
    EXPECT_EQ(ParseFile(File()), With(kPlayer, {{"a", "3"}, {"b", "2"}}));

    // Duplicates are all replaced.
    disk->AddFile(kPath, Document({{"k", "1"}, {"m", "2"}, {"k", "3"}}));
    account.WriteValue(L"k", 9);
    EXPECT_EQ(File(), Document({{"k", "9"}, {"m", "2"}, {"k", "9"}}));
}

TEST_F(AccountTest, DeleteRemovesEveryRecordOfTheKeyAndNothingElse)
{
    disk->AddFile(kPath, Document(With(kPlayer, {{"a", "1"}, {"gone", "x"}, {"b", "2"}, {"gone", "y"}})));
    Account account(address);
    EXPECT_TRUE(account.DeleteValue(L"gone"));
    EXPECT_EQ(File(), Document(With(kPlayer, {{"a", "1"}, {"b", "2"}})));
    EXPECT_EQ(account.ReadValue(L"gone", 5), 5);
    EXPECT_TRUE(account.DeleteValue(L"never there"));
    EXPECT_EQ(File(), Document(With(kPlayer, {{"a", "1"}, {"b", "2"}})));
    EXPECT_FALSE(account.DeleteValue(nullptr));
}

TEST_F(AccountTest, BinaryValuesAreBase64)
{
    Account account(address, L"Player");
    EXPECT_EQ(account.WriteBinary(L"blob", "abc", 3), 3u);
    EXPECT_EQ(account.ReadValue(L"blob"), L"YWJj");

    const int renames = Renames();
    const std::string before = File();
    char buffer[10] = {};
    EXPECT_EQ(account.ReadBinary(L"blob", buffer, sizeof(buffer)), 3u);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_EQ(account.ReadBinary(L"blob", buffer, 2), 2u);
    EXPECT_EQ(account.ReadBinary(L"missing", buffer, sizeof(buffer)), 0u);
    // Reading never writes.
    EXPECT_EQ(Renames(), renames);
    EXPECT_EQ(File(), before);

    EXPECT_EQ(account.WriteBinary(L"empty", nullptr, 0), 0u);
    EXPECT_EQ(account.ReadValue(L"empty"), L"");
    EXPECT_EQ(account.WriteBinary(L"bad", nullptr, 4), 0u);
    EXPECT_EQ(account.ReadValue(L"bad", 1), 1);
}

TEST_F(AccountTest, ValueStreamsDecodeOnOpenAndStoreOnDelete)
{
    Account account(address, L"Player");
    account.WriteBinary(L"blob", "abc", 3);

    std::unique_ptr<AccountStream> stream(account.OpenValueStream(L"blob"));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->GetName(), L"Account Value blob");
    EXPECT_EQ(stream->GetLength(), 3u);
    EXPECT_EQ(stream->Tell(), 0u);
    stream->Seek(SeekOrigin_End, 0);
    stream->Write("de", 2);
    stream.reset();
    EXPECT_EQ(account.ReadValue(L"blob"), L"YWJjZGU=");

    // An untouched stream still writes its value back, creating the record.
    delete account.OpenValueStream(L"fresh");
    EXPECT_EQ(ParseFile(File()).back(), std::make_pair(std::string("fresh"), std::string("")));
    EXPECT_EQ(account.OpenValueStream(nullptr), nullptr);
}

// --- faults of the disk: the previous content survives every one of them -------------------------

TEST_F(AccountTest, AFileThatCannotBeOpenedIsNeverReplaced)
{
    const std::string original = Document(With(kPlayer, {{"Level", "4"}}));
    disk->AddFile(kPath, original);
    Account account(address);

    testing::internal::CaptureStderr();
    disk->SetFailOpen(true);
    EXPECT_EQ(account.ReadValue(L"Level", 0), 0);
    EXPECT_FALSE(account.WriteValue(L"Level", 5));
    EXPECT_FALSE(account.DeleteValue(L"Level"));
    EXPECT_EQ(account.WriteBinary(L"blob", "abc", 3), 0u);
    delete account.OpenValueStream(L"blob");
    disk->SetFailOpen(false);
    disk->SetThrowOnOpen(true);
    EXPECT_FALSE(account.WriteValue(L"Level", 5));
    disk->SetThrowOnOpen(false);
    const std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(File(), original);
    EXPECT_FALSE(disk->HasFile(kBadPath));
    EXPECT_NE(log.find("could not read the file '1.act' of the account 'Player'"), std::string::npos) << log;
    EXPECT_EQ(account.ReadValue(L"Level", 0), 4);
}

TEST_F(AccountTest, ShortReadsAreReadWholeAndEmptyReadsReplaceNothing)
{
    const std::string original = Document(With(kPlayer, {{"Level", "4"}}));
    disk->AddFile(kPath, original);
    Account account(address);

    disk->SetMaxReadSize(3);
    EXPECT_EQ(account.ReadValue(L"Level", 0), 4);
    EXPECT_TRUE(account.WriteValue(L"Stars", 2));
    EXPECT_EQ(File(), Document(With(kPlayer, {{"Level", "4"}, {"Stars", "2"}})));

    testing::internal::CaptureStderr();
    disk->SetMaxReadSize(0);
    const std::string before = File();
    EXPECT_FALSE(account.WriteValue(L"Stars", 3));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(File(), before);
}

TEST_F(AccountTest, AFullDiskAtAnyByteLeavesThePreviousFile)
{
    const std::string original = Document(With(kPlayer, {{"Level", "4"}, {"Name", "Ana"}}));
    const size_t newSize = Document(With(kPlayer, {{"Level", "5"}, {"Name", "Ana"}})).size();
    const size_t deletedSize = Document(With(kPlayer, {{"Level", "4"}})).size();
    testing::internal::CaptureStderr();
    for (size_t limit = 0; limit < newSize; limit += 7)
    {
        for (int errorCode : {0, -5})
        {
            disk->AddFile(kPath, original);
            Account account(address);
            disk->FailWritesAfter(limit, errorCode);
            EXPECT_FALSE(account.WriteValue(L"Level", 5)) << limit;
            if (limit < deletedSize)
                EXPECT_FALSE(account.DeleteValue(L"Name")) << limit;
            disk->FailWritesAfter(SIZE_MAX);
            EXPECT_EQ(File(), original) << limit;
            EXPECT_FALSE(disk->HasFile(kTemporaryPath)) << limit;
        }
    }
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("could not save the file '1.act' of the account 'Player'; the change is lost."),
              std::string::npos);

    // With exactly enough room the change goes through.
    disk->FailWritesAfter(newSize);
    Account account(address);
    EXPECT_TRUE(account.WriteValue(L"Level", 5));
    EXPECT_EQ(account.ReadValue(L"Level", 0), 5);
}

TEST_F(AccountTest, AFailedRenameLeavesThePreviousFile)
{
    const std::string original = Document(With(kPlayer, {{"Level", "4"}}));
    disk->AddFile(kPath, original);
    Account account(address);
    disk->SetFailRename(true);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(account.WriteValue(L"Level", 5));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(File(), original);
    EXPECT_FALSE(disk->HasFile(kTemporaryPath));
    disk->SetFailRename(false);
    EXPECT_TRUE(account.WriteValue(L"Level", 5));
    EXPECT_EQ(account.ReadValue(L"Level", 0), 5);
}

TEST_F(AccountTest, WritesThatWouldMakeTheFileTooLargeAreRefused)
{
    Account account(address, L"Player");
    const std::string before = File();
    const std::string big(Account::kMaxFileSize, 'x');
    testing::internal::CaptureStderr();
    EXPECT_EQ(account.WriteBinary(L"blob", big.data(), static_cast<unsigned long>(big.size())), 0u);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(File(), before);
}

// --- damaged files: the game goes on, a copy is kept, every readable record survives -------------

TEST_F(AccountTest, EveryTruncationKeepsTheCompleteRecordsAndTheNewValue)
{
    const Records records = With(kPlayer, {{"a", "1"}, {"b", "two"}, {"c", "3"}});
    const std::string whole = Document(records);
    testing::internal::CaptureStderr();
    for (size_t length = 0; length < whole.size(); ++length)
    {
        const std::string cut = whole.substr(0, length);
        disk->AddFile(kPath, cut);
        disk->AddFile(kBadPath, "");
        Account account(address);
        ASSERT_TRUE(account.WriteValue(L"new", 7)) << length;

        // Which records the cut left whole.
        Records expected;
        size_t end = 0;
        for (const auto& record : records)
        {
            const std::string line = RecordLine(record.first, record.second);
            end = whole.find(line, end) + line.size() - 2; // up to its "/>"
            if (end <= length)
                expected.push_back(record);
        }
        const Records now = ParseFile(File());
        EXPECT_EQ(account.ReadValue(L"new", 0), 7) << length;
        for (const auto& record : expected)
            EXPECT_NE(std::find(now.begin(), now.end(), record), now.end()) << length << " " << record.first;
        // The bookkeeping is always there, so the account keeps its name.
        EXPECT_EQ(now.front().first, "Strata::AccountManager::Name") << length;
        if (length < whole.size() - 2) // short of the root's end tag
            EXPECT_EQ(disk->GetFile(kBadPath), cut) << length;
        EXPECT_FALSE(disk->HasFile(kTemporaryPath));
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(AccountTest, RecordsAfterAFaultAreKept)
{
    // The second record's quote is gone: the parse fails there, yet what follows still counts.
    std::string text = Document(With(kPlayer, {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}));
    const size_t fault = text.find("name=\"b\"") + 5;
    text[fault] = '#';
    disk->AddFile(kPath, text);
    testing::internal::CaptureStderr();
    Account account(address);
    EXPECT_EQ(account.GetName(), L"Player");
    EXPECT_EQ(account.ReadValue(L"d", 0), 4);
    EXPECT_TRUE(account.WriteValue(L"e", 5));
    const std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(ParseFile(File()), With(kPlayer, {{"a", "1"}, {"c", "3"}, {"d", "4"}, {"e", "5"}}));
    EXPECT_EQ(disk->GetFile(kBadPath), text);
    EXPECT_NE(log.find("Strata::Account::ReadValue: There is an error in the XML data for the account 'Player'.\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("\tMessage:\t"), std::string::npos);
    EXPECT_NE(log.find("is damaged (it does not parse); kept it as '1.act.bad'"), std::string::npos) << log;
}

TEST_F(AccountTest, ADamagedRecordCostsNoOtherRecordAndLeavesACopy)
{
    struct Case
    {
        const char* what;
        std::string damaged; // stands between the bookkeeping and the record "Stars"
    };
    const std::vector<Case> cases = {
        {"stray quote", "<record name=\"Level\" value=\"1\"2\"/>\r\n"},
        {"repeated attribute", "<record name=\"Level\" name=\"Stars\" value=\"7\"/>\r\n"},
        {"unknown attribute", "<record name=\"Level\" value=\"7\" x=\"1\"/>\r\n"},
        {"no name", "<record nam\xEF\xBF\xBD=\"Level\" value=\"7\"/>\r\n"},
        {"tag cut by <", "<rec<rd name=\"Level\" value=\"7\"/>\r\n"},
        {"tag turned into text", "\"record name=\"Level\" value=\"7\"/>\r\n"},
        {"nested record", "<record name=\"Level\" value=\"7\">\r\n<record name=\"x\" value=\"1\"/></record>\r\n"},
        {"other element", "<level name=\"Level\" value=\"7\"/>\r\n"},
        {"end tag of another element", "<record name=\"Level\" value=\"7\"></level>\r\n"},
        {"no value", "<record name=\"Level\"/>\r\n"},
        // Damage a lenient reader would take as a changed value.
        {"NUL in a value", std::string("<record name=\"Level\" value=\"4\0\"/>\r\n", 33)},
        {"raw < in a value", "<record name=\"Level\" value=\"4<0\"/>\r\n"},
        {"raw control character", "<record name=\"Level\" value=\"4\x01\"/>\r\n"},
        {"bad UTF-8 byte", "<record name=\"Level\" value=\"4\xFF\"/>\r\n"},
        {"overlong UTF-8", "<record name=\"Level\" value=\"4\xC0\xAF\"/>\r\n"},
        {"UTF-8 cut short", "<record name=\"Level\" value=\"4\xE2\x82\"/>\r\n"},
        {"U+FFFF as UTF-8", "<record name=\"Level\" value=\"4\xEF\xBF\xBF\"/>\r\n"},
        {"unknown entity", "<record name=\"Level\" value=\"4&nosuch;\"/>\r\n"},
        {"reference to U+0001", "<record name=\"Level\" value=\"4&#1;\"/>\r\n"},
        {"reference with no end", "<record name=\"Level\" value=\"4&amp\"/>\r\n"},
    };
    testing::internal::CaptureStderr();
    for (const Case& c : cases)
    {
        std::string text = Document(With(kPlayer, {{"Stars", "40"}}));
        text.insert(text.find("<record name=\"Stars\""), c.damaged);
        disk->AddFile(kPath, text);
        disk->AddFile(kBadPath, "");
        Account account(address);
        EXPECT_EQ(account.ReadValue(L"Stars", 0), 40) << c.what;
        EXPECT_NE(account.ReadValue(L"Level", 0), 40) << c.what;
        EXPECT_TRUE(account.WriteValue(L"Sound", true)) << c.what;

        const Records now = ParseFile(File());
        EXPECT_NE(std::find(now.begin(), now.end(), std::make_pair(std::string("Stars"), std::string("40"))), now.end())
            << c.what;
        EXPECT_EQ(std::count_if(now.begin(), now.end(), [](const auto& record) { return record.first == "Stars"; }), 1)
            << c.what;
        EXPECT_EQ(disk->GetFile(kBadPath), text) << c.what;
        EXPECT_EQ(account.GetName(), L"Player") << c.what;
    }
    const std::string log = testing::internal::GetCapturedStderr();
    for (const char* problem : {"a record has an attribute other than a name and a value", "a record has no value",
                                "it holds a character XML cannot hold", "it is not valid UTF-8",
                                "a value holds a raw '<'", "it holds an unknown or broken reference"})
        EXPECT_NE(log.find(std::string("is damaged (") + problem + ")"), std::string::npos) << problem << "\n" << log;
}

TEST_F(AccountTest, WellFormedFilesAPersonCouldWriteAreReadAndADocumentTypeIsDamage)
{
    struct Case
    {
        const char* what;
        std::string text;
        bool damaged;
        int level = 4; // what is read of the record "Level"
    };
    const std::string records = RecordLine("Level", "4") + RecordLine("Stars", "40");
    const std::vector<Case> cases = {
        {"byte-order mark", "\xEF\xBB\xBF" + Document(With(kPlayer, {{"Level", "4"}, {"Stars", "40"}})), false},
        {"comments",
         kDeclaration + "<!-- saved by hand -->\r\n<account>\r\n<!-- <record name=\"Level\" value=\"9\"/> -->" +
             records + "</account><!-- end -->\r\n",
         false},
        {"CDATA section", kDeclaration + "<account><![CDATA[ notes: <record> & more ]]>" + records + "</account>",
         false},
        {"references",
         kDeclaration + "<account>" + RecordLine("Level", "&#52;") + RecordLine("Stars", "&#x34;0") + "</account>",
         false},
        {"entity from a document type",
         kDeclaration + "<!DOCTYPE account [<!ENTITY four \"4\">]>\r\n<account>" + RecordLine("Level", "&four;") +
             RecordLine("Stars", "40") + "</account>",
         true, 0},
        {"comment holding --", kDeclaration + "<account><!-- a -- b -->" + records + "</account>", true},
    };
    testing::internal::CaptureStderr();
    for (const Case& c : cases)
    {
        disk->AddFile(kPath, c.text);
        disk->AddFile(kBadPath, "");
        Account account(address);
        EXPECT_EQ(account.ReadValue(L"Stars", 0), 40) << c.what;
        EXPECT_EQ(account.ReadValue(L"Level", 0), c.level) << c.what;
        EXPECT_TRUE(account.WriteValue(L"Sound", true)) << c.what;
        EXPECT_EQ(disk->GetFile(kBadPath), c.damaged ? c.text : "") << c.what;
        ReadWithExpat(File());
    }
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("is damaged (a comment is broken)"), std::string::npos) << log;
}

TEST_F(AccountTest, ValuesXMLCannotHoldAreRefusedAndEveryFileWrittenIsXML)
{
    Account account(address, L"Player");
    // Everything XML 1.0 can hold is stored as it is and read back the same by another reader.
    const std::wstring storable = L"tab\t line\n cr\r amp& lt< gt> quot\" apos' \u00e9\ud7ff\ue000\ufffd\U0010FFFF";
    ASSERT_TRUE(account.WriteValue(L"Text", storable));
    ASSERT_TRUE(account.WriteValue(L"Key with \u00e9", 3));
    EXPECT_EQ(account.ReadValue(L"Text"), storable);
    auto read = ReadWithExpat(File());
    EXPECT_NE(std::find(read.begin(), read.end(), std::make_pair(std::string("Text"), Utf8(storable))), read.end());

    struct Case
    {
        const char* what;
        std::wstring key;
        std::wstring value;
    };
    const std::vector<Case> refused = {
        {"U+0001", L"Text",
         L"a\x01"
         L"b"},
        {"NUL", L"Text", std::wstring(L"a\0b", 3)},
        {"U+001F", L"Text", L"a\x1F"},
        {"U+FFFE", L"Text", L"a\xFFFE"},
        {"U+FFFF", L"Text", L"\xFFFF"},
        {"a lone surrogate", L"Text", std::wstring(1, static_cast<wchar_t>(0xD800))},
        {"beyond U+10FFFF", L"Text", std::wstring(1, static_cast<wchar_t>(0x110000))},
        {"a control character in the key", L"Te\x02xt", L"fine"},
        {"the account's name", Account::kNameKey, L"Ana\x07"},
        // Cut at its NUL, the key would name another record.
        {"a NUL in the key", std::wstring(L"Text\0Other", 10), L"fine"},
        {"a NUL ending the key", std::wstring(L"Text\0", 5), L"fine"},
    };
    testing::internal::CaptureStderr();
    for (const Case& c : refused)
    {
        const std::string before = File();
        EXPECT_FALSE(account.WriteValue(c.key, c.value)) << c.what;
        EXPECT_EQ(File(), before) << c.what;
    }
    // The typed forms refuse it too.
    for (const std::wstring& key : {std::wstring(L"Text\0", 5), std::wstring(L"\0Text", 5)})
    {
        const std::string before = File();
        EXPECT_FALSE(account.WriteValue(key, 7));
        EXPECT_FALSE(account.WriteValue(key, true));
        EXPECT_FALSE(account.WriteValue(key, 0.5f));
        EXPECT_FALSE(account.WriteValue(key, L"fine"));
        EXPECT_EQ(File(), before);
    }
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(account.ReadValue(L"Text"), storable);
    EXPECT_EQ(account.GetName(), L"Player");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), static_cast<long>(refused.size() + 8)) << log;
    EXPECT_NE(log.find("holds U+0001, which an account file cannot hold; the change is not saved."), std::string::npos)
        << log;
    read = ReadWithExpat(File());
    EXPECT_EQ(read.size(), 4u);
}

TEST_F(AccountTest, AnyOneDamagedByteKeepsEveryUntouchedRecord)
{
    const Records records = With(kPlayer, {{"Level", "1"}, {"Stars", "40"}, {"Name", "Ana"}});
    const std::string original = Document(records);
    testing::internal::CaptureStderr();
    for (size_t position = 0; position < original.size(); ++position)
    {
        for (const char replacement : {'<', '"', '\0'})
        {
            std::string text = original;
            text[position] = replacement;
            disk->AddFile(kPath, text);
            disk->AddFile(kBadPath, "");
            Account account(address);
            ASSERT_TRUE(account.WriteValue(L"Sound", true)) << position;
            const Records now = ParseFile(File());
            for (const auto& record : records)
            {
                const std::string line = RecordLine(record.first, record.second);
                const size_t start = original.find(line);
                const bool touched = position >= start && position < start + line.size();
                const bool kept = std::find(now.begin(), now.end(), record) != now.end();
                EXPECT_TRUE(touched || kept) << position << " " << replacement << " " << record.first;
                if (!touched)
                {
                    // Nothing else took over the record's key.
                    EXPECT_EQ(std::count_if(now.begin(), now.end(),
                                            [&record](const auto& other) { return other.first == record.first; }),
                              1)
                        << position << " " << replacement << " " << record.first;
                }
            }
            // A record that is gone, not merely changed, was found damaged.
            if (now.size() < records.size() + 1)
                EXPECT_EQ(disk->GetFile(kBadPath), text) << position << " " << replacement;
        }
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(AccountTest, FilesWithoutTheRightRootAreRebuilt)
{
    struct Case
    {
        const char* what;
        std::string text;
        Records kept;
    };
    const std::vector<Case> cases = {
        {"empty", "", {}},
        {"declaration only", kDeclaration, {}},
        {"wrong root", kDeclaration + "<profile>" + RecordLine("a", "1") + "</profile>", {{"a", "1"}}},
        {"record as root", RecordLine("a", "1"), {{"a", "1"}}},
        {"unclosed root", kDeclaration + "<account>\r\n" + RecordLine("a", "1"), {{"a", "1"}}},
        {"text only", "hello", {}},
    };
    testing::internal::CaptureStderr();
    for (const Case& c : cases)
    {
        disk->AddFile(kPath, c.text);
        Account account(address);
        EXPECT_TRUE(account.WriteValue(L"new", 1)) << c.what;
        const Records now = ParseFile(File());
        for (const auto& record : c.kept)
            EXPECT_NE(std::find(now.begin(), now.end(), record), now.end()) << c.what;
        EXPECT_EQ(now.back(), std::make_pair(std::string("new"), std::string("1"))) << c.what;
        EXPECT_EQ(disk->GetFile(kBadPath), c.text) << c.what;
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(AccountTest, BinaryGarbageNeverStopsTheGame)
{
    std::mt19937 random(1234);
    testing::internal::CaptureStderr();
    for (int round = 0; round < 40; ++round)
    {
        std::string garbage(static_cast<size_t>(random() % 600), '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        // Some rounds hide a record in the garbage.
        const bool hidden = round % 2 == 0;
        const std::string text = hidden ? garbage + RecordLine("kept", "yes") + garbage : garbage;
        disk->AddFile(kPath, text);
        Account account(address);
        EXPECT_NO_THROW(account.ReadValue(L"x"));
        EXPECT_TRUE(account.DeleteValue(L"x")) << round;
        EXPECT_EQ(account.WriteBinary(L"blob", "abc", 3), 3u) << round;
        delete account.OpenValueStream(L"blob");
        char buffer[4] = {};
        EXPECT_EQ(account.ReadBinary(L"blob", buffer, 4), 3u) << round;
        if (hidden)
            EXPECT_EQ(account.ReadValue(L"kept"), L"yes") << round;
        ParseFile(File());
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(AccountTest, AHugeFileIsCutAtTheCapAndCopiedWhole)
{
    // Records, then more junk than an account file may hold, then a record past the cap.
    std::string text = kDeclaration + "<account>\r\n" + RecordLine("early", "1") + "<!--";
    text.append(Account::kMaxFileSize, 'j');
    text += "-->" + RecordLine("late", "2") + "</account>\r\n";
    disk->AddFile(kPath, text);
    Account account(address);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(account.WriteValue(L"new", 1));
    const std::string log = testing::internal::GetCapturedStderr();
    const Records now = ParseFile(File());
    EXPECT_NE(std::find(now.begin(), now.end(), std::make_pair(std::string("early"), std::string("1"))), now.end());
    EXPECT_EQ(account.ReadValue(L"new", 0), 1);
    EXPECT_EQ(disk->GetFile(kBadPath).size(), text.size());
    EXPECT_NE(log.find("larger than an account file can be"), std::string::npos) << log;
}

TEST_F(AccountTest, ADamagedFileIsNotReplacedWhenNoCopyCanBeKept)
{
    const std::string damaged = kDeclaration + "<account>\r\n" + RecordLine("a", "1") + "<record name=";
    disk->AddFile(kPath, damaged);
    disk->AddFile(kBadPath, "an earlier copy");
    Account account(address);
    disk->FailWritesAfter(10);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(account.WriteValue(L"b", 2));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(File(), damaged);
    EXPECT_EQ(disk->GetFile(kBadPath), "an earlier copy");
    EXPECT_FALSE(disk->HasFile(L"1.act.bad.tmp"));
    EXPECT_NE(log.find("no copy of it could be kept"), std::string::npos) << log;
}

TEST_F(AccountTest, ManyRecordsAfterAnEarlyFaultAreAllKept)
{
    // A fault before thousands of records: recovering them stays linear, and none is lost.
    std::string text = kDeclaration + "<account>\r\n<record name=broken/>\r\n";
    Records records;
    for (int i = 0; i < 20000; ++i)
    {
        records.emplace_back("k" + std::to_string(i), std::to_string(i));
        text += RecordLine(records.back().first, records.back().second);
    }
    text += "</account>\r\n";
    disk->AddFile(kPath, text);
    testing::internal::CaptureStderr();
    Account account(address);
    EXPECT_TRUE(account.WriteValue(L"k19999", 1));
    testing::internal::GetCapturedStderr();
    records.back().second = "1";
    const Records now = ParseFile(File());
    ASSERT_EQ(now.size(), records.size() + 2);
    EXPECT_TRUE(std::equal(records.begin(), records.end(), now.begin() + 2));
}
