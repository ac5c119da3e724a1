#include "framework/FileSource.h"

#include "core/AutoStream.h"
#include "core/CaselessStringHasher.h"
#include "core/Checksum.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "core/Threading.h"
#include "framework/DownloadManager.h"
#include "framework/FileTransfer.h"

#include "support/FakeNetworkPlatform.h"
#include "support/MemoryFileSystemPartition.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace Strata;
using Strata::Testing::FakeNetworkPlatform;
using Strata::Testing::MemoryFileSystemPartition;
using Strata::Testing::WaitUntil;

namespace
{
void PutWord(std::string& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void AppendWord(std::string& bytes, uint32_t value)
{
    bytes.append(4, '\0');
    PutWord(bytes, bytes.size() - 4, value);
}

std::string WithChecksum(std::string body)
{
    AppendWord(body, static_cast<uint32_t>(ComputeChecksum(reinterpret_cast<const unsigned char*>(body.data()),
                                                           static_cast<unsigned long>(body.size()))));
    return body;
}

uint32_t HashOfPath(const std::string& path)
{
    const std::string file = path.substr(path.find_last_of("/\\") + 1);
    return cCaselessStringHasher::ComputeHash(std::wstring(file.begin(), file.end()).c_str());
}

struct Listed
{
    std::string path; // as written in the table
    std::string content;
};

// A table listing the files as the build tools would: text files by their checksum without white space.
std::string BuildTOC(const std::vector<Listed>& files)
{
    std::string bytes;
    AppendWord(bytes, static_cast<uint32_t>(files.size()));
    std::string names;
    const size_t namesStart = 4 + 20 * files.size();
    for (const Listed& file : files)
    {
        const auto* data = reinterpret_cast<const unsigned char*>(file.content.data());
        const unsigned long length = static_cast<unsigned long>(file.content.size());
        const std::wstring widePath(file.path.begin(), file.path.end());
        const unsigned long checksum =
            IsTextFile(widePath) ? AppendToChecksum_IgnoreWhitespace(0, data, length) : ComputeChecksum(data, length);
        AppendWord(bytes, HashOfPath(file.path));
        AppendWord(bytes, static_cast<uint32_t>(checksum));
        AppendWord(bytes, static_cast<uint32_t>(length));
        AppendWord(bytes, static_cast<uint32_t>(namesStart + names.size()));
        AppendWord(bytes, 0);
        names += file.path;
        names += '\0';
    }
    return WithChecksum(bytes + names);
}

std::string ReadAll(IStream* stream)
{
    std::string out(stream->GetLength(), '\0');
    out.resize(stream->Read(out.data(), out.size()));
    return out;
}

class FileSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* fileSystem = new FileSystem();
        bundle = new MemoryFileSystemPartition(L"bundle");
        cache = new MemoryFileSystemPartition(L"cache");
        fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, bundle);
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, cache);
    }

    void TearDown() override
    {
        if (IsDownloadManagerRegistered())
            GetDownloadManager()->Cleanup();
        Internal::DeleteAllSingletons();
    }

    void StartStreaming(const std::vector<Listed>& files)
    {
        bundle->AddFile(L"Data/resources.toc", BuildTOC(files));
        source.InitializeStreaming(L"http://127.0.0.1:1/res/");
        ASSERT_TRUE(source.IsStreamingInitialized());
    }

    std::string Open(const wchar_t* name, const wchar_t* extension)
    {
        IStream* stream = source.OpenFileStream(FileAddress(name, extension));
        if (stream == nullptr)
            return "<null>";
        std::string text = ReadAll(stream);
        GetFileSystem()->CloseStream(stream);
        return text;
    }

    int Status(const wchar_t* name, const wchar_t* extension)
    {
        return source.GetFileStatus(FileAddress(name, extension));
    }

    MemoryFileSystemPartition* bundle = nullptr;
    MemoryFileSystemPartition* cache = nullptr;
    FileSource source;
};

TEST_F(FileSourceTest, RegistryHoldsOneSourceAndForgetsItWhenItIsDestroyed)
{
    std::unique_ptr<IFileSource> made(CreateDefaultFileSource());
    EXPECT_FALSE(IsFileSourceRegistered());
    EXPECT_EQ(GetStreamableFileSource(), nullptr);

    RegisterSingleton(made.get());
    EXPECT_EQ(GetFileSource(), made.get());
    EXPECT_NE(GetStreamableFileSource(), nullptr);

    // Destroying another file source leaves the slot alone.
    delete CreateDefaultFileSource();
    EXPECT_EQ(GetFileSource(), made.get());

    made.reset();
    EXPECT_FALSE(IsFileSourceRegistered());

    struct PlainSource : IFileSource
    {
        IStream* OpenFileStream(const FileAddress&) const override { return nullptr; }
    } plain;
    RegisterSingleton(&plain);
    EXPECT_EQ(GetStreamableFileSource(), nullptr) << "a source that cannot stream is not streamable";
    RegisterSingleton(static_cast<IFileSource*>(nullptr));
}

TEST_F(FileSourceTest, WithoutStreamingFilesComeFromTheBundleByNameAlone)
{
    bundle->AddFile(L"Art/Title.png", "bundled");
    cache->AddFile(L"Art/Title.png", "cached");
    cache->AddFile(L"Art/Only.png", "cached");

    // The folder the caller gives is ignored: the file is found wherever it lies.
    EXPECT_EQ(Open(L"Title", L".png"), "bundled");
    IStream* stream = source.OpenFileStream(FileAddress(FileSystemPartition_User, L"Elsewhere", L"Title", L".png"));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAll(stream), "bundled");
    GetFileSystem()->CloseStream(stream);

    EXPECT_EQ(Status(L"Title", L".png"), 0);
    EXPECT_EQ(Status(L"Only", L".png"), 2) << "the cache is not used without streaming";
    EXPECT_EQ(Open(L"Only", L".png"), "<null>");
    EXPECT_EQ(source.Acquire(FileAddress(L"Only", L".png"), 100), nullptr);
    EXPECT_EQ(source.OpenFileStream(FileAddress()), nullptr);
    EXPECT_FALSE(IsDownloadManagerRegistered()) << "nothing was fetched";
}

TEST_F(FileSourceTest, SmallestTableLoadsAndListsNothing)
{
    bundle->AddFile(L"resources.toc", std::string(8, '\0'));
    bundle->AddFile(L"Art/Title.png", "bundled");
    source.InitializeStreaming(L"http://127.0.0.1:1");
    EXPECT_TRUE(source.IsStreamingInitialized());

    TOCEntry entry;
    EXPECT_FALSE(source.GetTOCEntry(FileAddress(L"Title", L".png"), &entry));
    EXPECT_EQ(Status(L"Title", L".png"), 2);
    EXPECT_EQ(Open(L"Title", L".png"), "<null>") << "unlisted files are not opened while streaming";

    source.Cleanup();
    EXPECT_FALSE(source.IsStreamingInitialized());
    EXPECT_EQ(Open(L"Title", L".png"), "bundled");
}

TEST_F(FileSourceTest, MissingTableStillSwitchesStreamingOnWithNothingListed)
{
    bundle->AddFile(L"Art/Title.png", "bundled");
    source.InitializeStreaming(L"http://127.0.0.1:1");
    EXPECT_TRUE(source.IsStreamingInitialized());
    EXPECT_EQ(Status(L"Title", L".png"), 2);
    EXPECT_EQ(Open(L"Title", L".png"), "<null>");
}

TEST_F(FileSourceTest, EntriesMatchByCaselessNameAndExtensionFirstEntryWinning)
{
    StartStreaming({{"Data/Images/Title.png", "first"}, {"Data/Other/title.PNG", "second one"}});

    TOCEntry entry;
    ASSERT_TRUE(
        source.GetTOCEntry(FileAddress(FileSystemPartition_User, L"Ignored/Folder", L"TITLE", L".png"), &entry));
    EXPECT_EQ(entry.name, L"Data/Images/Title.png");
    EXPECT_EQ(entry.size, 5u);
    EXPECT_EQ(entry.nameHash, cCaselessStringHasher::ComputeHash(L"title.png"));

    // Both spellings hash alike, so the second entry is never reached.
    ASSERT_TRUE(source.GetTOCEntry(FileAddress(L"title", L".PNG"), &entry));
    EXPECT_EQ(entry.name, L"Data/Images/Title.png");

    EXPECT_FALSE(source.GetTOCEntry(FileAddress(L"Title", L".gif"), &entry));
    EXPECT_FALSE(source.GetTOCEntry(FileAddress(L"Title", L".png"), nullptr));
}

TEST_F(FileSourceTest, VerificationIgnoresWhiteSpaceOnlyInLowerCaseTextFiles)
{
    StartStreaming({{"Data/Layout.xml", "<a>\n  <b/>\n</a>\n"},
                    {"Data/Notes.txt", "one two"},
                    {"Data/Shouting.XML", "<a> <b/> </a>"},
                    {"Data/Image.png", "PNGDATA"}});
    auto verify = [this](const wchar_t* name, const wchar_t* extension, const std::string& bytes)
    {
        ReadOnlyMemoryStream stream(L"probe", bytes.data(), bytes.size());
        return source.VerifyFile(FileAddress(name, extension), &stream);
    };

    EXPECT_TRUE(verify(L"Layout", L".xml", "<a><b/></a>"));
    EXPECT_TRUE(verify(L"Layout", L".xml", "<a>\r\n\t<b/>\r\n</a>\r\n\r\n"));
    EXPECT_FALSE(verify(L"Layout", L".xml", "<a><c/></a>"));
    EXPECT_TRUE(verify(L"Notes", L".txt", "onetwo"));

    // Upper case is no text extension: size and checksum both count.
    EXPECT_TRUE(verify(L"Shouting", L".XML", "<a> <b/> </a>"));
    EXPECT_FALSE(verify(L"Shouting", L".XML", "<a><b/></a>"));

    EXPECT_TRUE(verify(L"Image", L".png", "PNGDATA"));
    EXPECT_FALSE(verify(L"Image", L".png", "PNGDATA "));
    EXPECT_FALSE(verify(L"Image", L".png", "PNGDATB"));
    EXPECT_FALSE(verify(L"Unlisted", L".png", "PNGDATA"));
    EXPECT_FALSE(source.VerifyFile(FileAddress(L"Image", L".png"), nullptr));
}

TEST_F(FileSourceTest, StreamingStatusPrefersTheCacheAndFetchesWhatIsMissingOrDamaged)
{
    StartStreaming({{"Data/Good.png", "good"},
                    {"Data/Bundled.png", "bundled"},
                    {"Data/Damaged.png", "right"},
                    {"Data/Missing.png", "missing"}});
    cache->AddFile(L"Data/Good.png", "good");
    bundle->AddFile(L"Data/Bundled.png", "bundled");
    cache->AddFile(L"Data/Damaged.png", "wrong");
    bundle->AddFile(L"Data/Damaged.png", "right");
    bundle->AddFile(L"Data/Unlisted.png", "x");

    EXPECT_EQ(Status(L"Good", L".png"), 0);
    EXPECT_EQ(Status(L"Bundled", L".png"), 0);
    EXPECT_EQ(Status(L"Damaged", L".png"), 1) << "the cached copy is the one that counts";
    EXPECT_EQ(Status(L"Missing", L".png"), 1);
    EXPECT_EQ(Status(L"Unlisted", L".png"), 2);

    EXPECT_EQ(Open(L"Good", L".png"), "good");
    EXPECT_EQ(Open(L"Bundled", L".png"), "bundled");
    EXPECT_EQ(Open(L"Damaged", L".png"), "<null>");
    EXPECT_EQ(Open(L"Unlisted", L".png"), "<null>");

    EXPECT_EQ(source.Acquire(FileAddress(L"Good", L".png"), 100), nullptr);
    EXPECT_EQ(source.Acquire(FileAddress(L"Unlisted", L".png"), 100), nullptr);
    const boost::intrusive_ptr<IFileTransfer> transfer = source.Acquire(FileAddress(L"Missing", L".png"), 100);
    ASSERT_NE(transfer, nullptr);
    EXPECT_EQ(transfer->GetDataTransferSize(), 7u) << "the listed size serves until the download starts";
    EXPECT_EQ(cache->GetOpenStreamCount(), 0);
    EXPECT_EQ(bundle->GetOpenStreamCount(), 0);
}

TEST_F(FileSourceTest, AcquireFetchesBelowTheFirstFolderIntoTheListedFolder)
{
    FakeNetworkPlatform network;
    FakeNetworkPlatform::Response title;
    title.body = "title image";
    network.Script(L"http://127.0.0.1:1/res/Images/Title.png", title);
    FakeNetworkPlatform::Response icon;
    icon.body = "icon";
    network.Script(L"http://127.0.0.1:1/res/Icon.png", icon);
    StartStreaming({{"Data/Images/Title.png", "title image"},
                    {"Images\\Icon.png", "icon"},
                    {"Flat.png", "flat"},
                    {"Data/../../Escape.png", "outside"}});

    const auto title_transfer = source.Acquire(FileAddress(L"Title", L".png"), 100);
    const auto icon_transfer = source.Acquire(FileAddress(L"Icon", L".png"), 100);
    ASSERT_NE(title_transfer, nullptr);
    ASSERT_NE(icon_transfer, nullptr);
    EXPECT_EQ(source.Acquire(FileAddress(L"Flat", L".png"), 100), nullptr) << "a name without a folder";
    EXPECT_EQ(source.Acquire(FileAddress(L"Escape", L".png"), 100), nullptr) << "a name leaving the cache";
    ASSERT_TRUE(WaitUntil([&] { return title_transfer->GetDataTransferPctComplete() >= 1.0f; }));
    ASSERT_TRUE(WaitUntil([&] { return icon_transfer->GetDataTransferPctComplete() >= 1.0f; }));

    EXPECT_EQ(cache->GetFile(L"Data/Images/Title.png"), "title image");
    EXPECT_EQ(cache->GetFile(L"Images/Icon.png"), "icon");
    EXPECT_EQ(Status(L"Title", L".png"), 0);
    EXPECT_EQ(Open(L"Title", L".png"), "title image");
    EXPECT_EQ(source.Acquire(FileAddress(L"Title", L".png"), 100), nullptr) << "present files need no transfer";
}

TEST_F(FileSourceTest, CacheCountsOnlyAtTheListedPath)
{
    FakeNetworkPlatform network;
    FakeNetworkPlatform::Response title;
    title.body = "title image";
    network.Script(L"http://127.0.0.1:1/res/Images/title.png", title);
    // Stale copies of the same name elsewhere in the cache: the root and a folder that sorts first.
    cache->AddFile(L"title.png", "stale");
    cache->AddFile(L"Aaa/title.png", "stale");
    StartStreaming({{"Data/Images/title.png", "title image"}});

    EXPECT_EQ(Status(L"title", L".png"), 1);
    EXPECT_EQ(Open(L"title", L".png"), "<null>");
    const boost::intrusive_ptr<IFileTransfer> transfer = source.Acquire(FileAddress(L"title", L".png"), 100);
    ASSERT_NE(transfer, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return transfer->GetDataTransferPctComplete() >= 1.0f; }));
    EXPECT_EQ(Status(L"title", L".png"), 0);
    EXPECT_EQ(Open(L"title", L".png"), "title image");
    EXPECT_EQ(source.Acquire(FileAddress(L"title", L".png"), 100), nullptr) << "the download is found and kept";
    EXPECT_EQ(network.GetRequestCount(L"http://127.0.0.1:1/res/Images/title.png"), 1);
    EXPECT_EQ(cache->GetFile(L"title.png"), "stale") << "other files are left alone";
}

TEST_F(FileSourceTest, BadClosingChecksumIsRejectedAndStreamingStaysOff)
{
    std::string table = BuildTOC({{"Data/a.png", "a"}});
    table.back() ^= 0x01;
    bundle->AddFile(L"resources.toc", table);
    try
    {
        source.InitializeStreaming(L"http://127.0.0.1:1");
        FAIL() << "no error";
    }
    catch (const RuntimeError& error)
    {
        EXPECT_STREQ(error.what(), "Resource TOC checksum is invalid!");
    }
    EXPECT_FALSE(source.IsStreamingInitialized());
    TOCEntry entry;
    EXPECT_FALSE(source.GetTOCEntry(FileAddress(L"a", L".png"), &entry)) << "a rejected table is not kept";
    EXPECT_FALSE(IsDownloadManagerRegistered()) << "the base URL is not handed on";
}

TEST_F(FileSourceTest, MalformedTablesAreRejectedWhateverTheirChecksum)
{
    std::string oneEntry = BuildTOC({{"Data/a.png", "a"}});
    auto entryWithNameAt = [](uint32_t offset, const std::string& names)
    {
        std::string body;
        AppendWord(body, 1);
        AppendWord(body, HashOfPath("Data/a.png"));
        AppendWord(body, 0);
        AppendWord(body, 1);
        AppendWord(body, offset);
        AppendWord(body, 0);
        return WithChecksum(body + names);
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"shorter than a count and a checksum", std::string(4, '\0')},
        {"seven bytes", std::string(7, '\0')},
        {"count past the end", WithChecksum(std::string("\x01\0\0\0", 4))},
        {"count that would overflow", WithChecksum(std::string("\xFF\xFF\xFF\xFF", 4) + std::string(40, '\0'))},
        {"name offset past the end", entryWithNameAt(1000, std::string("Data/a.png\0", 11))},
        {"name offset inside the checksum", entryWithNameAt(24 + 11, std::string("Data/a.png\0", 11))},
        {"name without terminator", entryWithNameAt(24, "Data/a.png")},
    };
    for (const auto& [what, table] : cases)
    {
        SCOPED_TRACE(what);
        FileSource fresh;
        bundle->AddFile(L"resources.toc", table);
        try
        {
            fresh.InitializeStreaming(L"http://127.0.0.1:1");
            ADD_FAILURE() << "no error";
        }
        catch (const RuntimeError& error)
        {
            EXPECT_STREQ(error.what(), "Resource TOC is malformed!");
        }
        EXPECT_FALSE(fresh.IsStreamingInitialized());
        TOCEntry entry;
        EXPECT_FALSE(fresh.GetTOCEntry(FileAddress(L"a", L".png"), &entry));
    }
    EXPECT_FALSE(IsDownloadManagerRegistered());

    // The same builder's well-formed table is accepted.
    bundle->AddFile(L"resources.toc", oneEntry);
    EXPECT_NO_THROW(source.InitializeStreaming(L"http://127.0.0.1:1"));
    EXPECT_TRUE(source.IsStreamingInitialized());
}

TEST_F(FileSourceTest, TableThatShrinksWhileReadIsRejected)
{
    bundle->AddFile(L"resources.toc", BuildTOC({{"Data/a.png", "a"}, {"Data/b.png", "b"}}));
    bundle->SetMaxReadSize(16);
    bundle->ShrinkWhileReading(L"resources.toc", 16, 20);
    EXPECT_THROW(source.InitializeStreaming(L"http://127.0.0.1:1"), RuntimeError);
    EXPECT_FALSE(source.IsStreamingInitialized());
}

} // namespace
