#include "platform/linux/FileSystemPartition.h"

#include "TempFolder.h"
#include "core/FileAddress.h"
#include "core/Stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using HostPartition = Linux::FileSystemPartition;
using namespace Strata;

namespace
{

constexpr FileSystemPartition User = FileSystemPartition_User;

class FileSystemPartitionTest : public ::testing::Test
{
protected:
    std::unique_ptr<IStream> Open(const FileAddress& address, FileAccess access, FileCreation creation)
    {
        return std::unique_ptr<IStream>(mPartition.OpenStream(&address, access, creation));
    }

    std::string ReadAll(const FileAddress& address)
    {
        auto stream = Open(address, FileAccess_Read, FileCreation_OpenExisting);
        if (!stream)
            return "<none>";
        std::string text(stream->GetLength(), '\0');
        text.resize(stream->Read(text.data(), text.size()));
        return text;
    }

    bool Write(const FileAddress& address, const std::string& text)
    {
        auto stream = Open(address, FileAccess_Write, FileCreation_CreateAlways);
        return stream && stream->Write(text.data(), text.size()) == text.size();
    }

    std::vector<std::wstring> Find(const wchar_t* folder, const wchar_t* extension)
    {
        const FileAddress pattern(User, folder, L"*", extension);
        std::vector<FileAddress> found;
        const bool any = mPartition.FindFiles(&pattern, found);
        EXPECT_EQ(any, !found.empty());
        std::vector<std::wstring> names;
        for (const FileAddress& address : found)
        {
            EXPECT_STREQ(address.GetFolder(), folder);
            names.push_back(std::wstring(address.GetName()) + L"|" + address.GetExtension());
        }
        return names;
    }

    TempFolder mFolder;
    HostPartition mPartition{mFolder.Path()};
};

} // namespace

TEST_F(FileSystemPartitionTest, OpensByFolderNameAndExtension)
{
    mFolder.Put("levels/easy/one.xml", "level one");
    mFolder.Put("top.xml", "top");
    EXPECT_EQ(ReadAll(FileAddress(User, L"levels/easy", L"one", L".xml")), "level one");
    EXPECT_EQ(ReadAll(FileAddress(User, L".", L"top", L".xml")), "top");
    EXPECT_EQ(ReadAll(FileAddress(User, L"", L"top", L".xml")), "top");
    EXPECT_EQ(ReadAll(FileAddress(L"top", L".xml")), "top") << "no folder is the root";
    EXPECT_EQ(ReadAll(FileAddress(L"one", L".xml")), "<none>") << "OpenStream does not search";
    EXPECT_EQ(ReadAll(FileAddress(User, L"levels", L"easy", L"")), "<none>") << "a folder is no file";
}

TEST_F(FileSystemPartitionTest, LookupIgnoresLetterCase)
{
    mFolder.Put("Levels/settings.xml", "lower");
    EXPECT_EQ(ReadAll(FileAddress(User, L"LEVELS", L"SETTINGS", L".XML")), "lower");
    mFolder.Put("Levels/Later.Txt", "late"); // after the folder was indexed
    EXPECT_EQ(ReadAll(FileAddress(User, L"levels", L"later", L".txt")), "late");

    // Writing under another spelling overwrites the existing file instead of making a twin.
    EXPECT_TRUE(Write(FileAddress(User, L"levels", L"Settings", L".Xml"), "updated"));
    EXPECT_EQ(mFolder.Get("Levels/settings.xml"), "updated");
    EXPECT_FALSE(mFolder.Exists("Levels/Settings.Xml"));

    // Of two case twins, the exact spelling wins.
    mFolder.Put("Name.txt", "upper");
    mFolder.Put("name.txt", "lower");
    EXPECT_EQ(ReadAll(FileAddress(L"Name", L".txt")), "upper");
    EXPECT_EQ(ReadAll(FileAddress(L"name", L".txt")), "lower");
}

TEST_F(FileSystemPartitionTest, WritingMakesMissingFoldersReadingDoesNot)
{
    EXPECT_TRUE(Write(FileAddress(User, L"Cache/Deep/Er", L"Data", L".Bin"), "payload"));
    EXPECT_EQ(mFolder.Get("Cache/Deep/Er/Data.Bin"), "payload") << "new names keep their spelling";
    EXPECT_TRUE(Write(FileAddress(User, L"CACHE/new", L"x", L".bin"), "x"));
    EXPECT_TRUE(mFolder.Exists("Cache/new/x.bin")) << "an existing folder under another spelling is reused";
    EXPECT_FALSE(mFolder.Exists("CACHE"));

    const FileAddress elsewhere(User, L"nowhere", L"f", L".txt");
    EXPECT_EQ(Open(elsewhere, FileAccess_Read, FileCreation_OpenAlways), nullptr);
    EXPECT_EQ(Open(elsewhere, FileAccess_Write, FileCreation_OpenExisting), nullptr);
    EXPECT_FALSE(mFolder.Exists("nowhere"));

    HostPartition missingRoot(mFolder.Path("user/product"));
    const FileAddress account(L"account", L".act");
    std::unique_ptr<IStream> stream(missingRoot.OpenStream(&account, FileAccess_Write, FileCreation_CreateNew));
    EXPECT_NE(stream, nullptr);
    EXPECT_TRUE(mFolder.Exists("user/product/account.act"));
}

TEST_F(FileSystemPartitionTest, UnsafeAddressesAreRefused)
{
    mFolder.Put("inside/secret.txt", "s");
    const std::vector<FileAddress> unsafe = {
        FileAddress(User, L"..", L"escape", L".txt"),
        FileAddress(User, L"inside/../..", L"escape", L".txt"),
        FileAddress(User, L"a/../inside", L"secret", L".txt"),
        FileAddress(User, L"/tmp", L"escape", L".txt"),
        FileAddress(User, L"inside", L"../escape", L".txt"),
        FileAddress(User, L"inside", L"secret", L".txt/x"),
        FileAddress(User, L"inside", L"..", L""),
    };
    for (const FileAddress& address : unsafe)
    {
        FileAddress copy = address;
        std::vector<FileAddress> found;
        EXPECT_EQ(Open(address, FileAccess_Write, FileCreation_CreateAlways), nullptr) << address.GetName();
        EXPECT_EQ(Open(address, FileAccess_Read, FileCreation_OpenExisting), nullptr) << address.GetName();
        EXPECT_FALSE(mPartition.FindFile(&copy)) << address.GetName();
        // FindFiles ignores the name: only an unsafe folder or extension refuses it.
        const bool nameOnly = std::wstring(address.GetName()) == L"../escape";
        EXPECT_EQ(mPartition.FindFiles(&address, found), nameOnly) << address.GetName();
        mPartition.DeleteFile(&address);
    }
    EXPECT_TRUE(mFolder.Exists("inside/secret.txt"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(mFolder.Path()).parent_path() / "escape.txt"));
    EXPECT_TRUE(Write(FileAddress(User, L"inside/..x", L"a..b", L".txt"), "ok")) << "dots alone are fine";
}

TEST_F(FileSystemPartitionTest, FindFileWithFolderLooksOnlyThere)
{
    mFolder.Put("a/target.png");
    FileAddress here(User, L"a", L"TARGET", L".PNG");
    FileAddress elsewhere(User, L".", L"target", L".png");
    EXPECT_TRUE(mPartition.FindFile(&here));
    EXPECT_FALSE(mPartition.FindFile(&elsewhere));
    EXPECT_STREQ(elsewhere.GetFolder(), L".");
}

TEST_F(FileSystemPartitionTest, FindFileWithoutFolderSearchesEveryDepthInOrder)
{
    mFolder.Put("images/b/deep/c/target.png");
    mFolder.Put("images/b/other.png");
    FileAddress address(L"Target", L".png");
    ASSERT_TRUE(mPartition.FindFile(&address));
    EXPECT_STREQ(address.GetFolder(), L"images/b/deep/c");
    EXPECT_EQ(ReadAll(address), "x") << "the folder written back opens the file";

    mFolder.Put("root.txt");
    FileAddress top(L"root", L".txt");
    ASSERT_TRUE(mPartition.FindFile(&top)) << "a file made after the tree was read is still found";
    EXPECT_STREQ(top.GetFolder(), L".");

    // Each folder before its sub-folders, sub-folders by name, each subtree before the next.
    mFolder.Put("b/dup.txt");
    mFolder.Put("a/z/dup.txt");
    mFolder.Put("c/dup.txt");
    FileAddress dup(L"dup", L".txt");
    ASSERT_TRUE(mPartition.FindFile(&dup));
    EXPECT_STREQ(dup.GetFolder(), L"a/z");

    FileAddress missing(L"missing", L".png");
    EXPECT_FALSE(mPartition.FindFile(&missing));
    EXPECT_EQ(missing.GetFolder(), nullptr);
}

TEST_F(FileSystemPartitionTest, FindFileSurvivesALinkCycle)
{
    mFolder.Put("loop/file.txt");
    // Two links back: without cycle detection the search would branch until the kernel's link limit.
    std::filesystem::create_directory_symlink(mFolder.Path("loop"), mFolder.Path("loop/again"));
    std::filesystem::create_directory_symlink(mFolder.Path("loop"), mFolder.Path("loop/more"));
    FileAddress missing(L"absent", L".txt");
    EXPECT_FALSE(mPartition.FindFile(&missing));
    FileAddress present(L"file", L".txt");
    EXPECT_TRUE(mPartition.FindFile(&present));
    EXPECT_STREQ(present.GetFolder(), L"loop");
}

TEST_F(FileSystemPartitionTest, FindFilesMatchesTheExtensionFromTheFirstDot)
{
    for (const char* name : {"b.act", "a.b.act", "x.ACT", "A.act", ".hidden.tmp", "c.act.bak", "noext", "sub/d.act"})
        mFolder.Put(std::string("accounts/") + name);
    std::filesystem::create_directory(mFolder.Path("accounts/folder.act"));

    EXPECT_EQ(Find(L"Accounts", L".act"), (std::vector<std::wstring>{L"A|.act", L"b|.act", L"x|.ACT"}));
    EXPECT_EQ(Find(L"accounts", L".B.ACT"), (std::vector<std::wstring>{L"a|.b.act"}));
    EXPECT_EQ(Find(L"accounts", L".hidden.tmp"), (std::vector<std::wstring>{L"|.hidden.tmp"}));
    EXPECT_EQ(Find(L"accounts", L""), (std::vector<std::wstring>{L"noext|"}));
    EXPECT_TRUE(Find(L"accounts", L".xml").empty());
    EXPECT_TRUE(Find(L"absent", L".act").empty());

    // Files written meanwhile are listed; the output is appended to.
    EXPECT_TRUE(Write(FileAddress(User, L"accounts", L"new", L".act"), "n"));
    const FileAddress pattern(User, L"accounts", L"*", L".act");
    std::vector<FileAddress> found{FileAddress(L"kept", L".xml")};
    ASSERT_TRUE(mPartition.FindFiles(&pattern, found));
    ASSERT_EQ(found.size(), 5u);
    EXPECT_STREQ(found[0].GetName(), L"kept");
    EXPECT_STREQ(found[3].GetName(), L"new");
    EXPECT_EQ(found[3].GetPartition(), User);
}

TEST_F(FileSystemPartitionTest, DeleteFileRemovesWhateverTheCase)
{
    mFolder.Put("saves/Profile.act");
    const FileAddress address(User, L"SAVES", L"profile", L".ACT");
    mPartition.DeleteFile(&address);
    EXPECT_FALSE(mFolder.Exists("saves/Profile.act"));
    FileAddress gone = address;
    EXPECT_FALSE(mPartition.FindFile(&gone));
    mPartition.DeleteFile(&address); // a missing file is no error
    EXPECT_TRUE(Write(address, "again"));
    EXPECT_TRUE(mFolder.Exists("saves/profile.ACT"));
}

TEST_F(FileSystemPartitionTest, LockIsReentrant)
{
    mFolder.Put("f.txt", "f");
    mPartition.Lock();
    mPartition.Lock();
    FileAddress address(L"f", L".txt");
    EXPECT_TRUE(mPartition.FindFile(&address));
    EXPECT_EQ(ReadAll(address), "f");
    mPartition.Unlock();
    mPartition.Unlock();
}

TEST_F(FileSystemPartitionTest, RenameReplacesTheTargetWhateverItsCase)
{
    mFolder.Put("Saves/1234.ACT", "old");
    const FileAddress temporary(User, L"saves", L"1234", L".act.tmp");
    const FileAddress target(User, L"saves", L"1234", L".act");
    ASSERT_TRUE(Write(temporary, "new"));
    EXPECT_EQ(Find(L"saves", L".act").size(), 1u) << "the temporary file is no account";

    ASSERT_TRUE(mPartition.RenameFile(&temporary, &target));
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(ReadAll(temporary), "<none>");
    EXPECT_TRUE(std::filesystem::exists(mFolder.Path() + "/Saves/1234.ACT")) << "the existing file is replaced";
    EXPECT_EQ(Find(L"saves", L".act").size(), 1u);

    EXPECT_FALSE(mPartition.RenameFile(&temporary, &target)) << "nothing left to move";
    const FileAddress elsewhere(User, L"new/folder", L"moved", L".act");
    EXPECT_TRUE(mPartition.RenameFile(&target, &elsewhere)) << "missing target folders are made";
    EXPECT_EQ(ReadAll(elsewhere), "new");
    const FileAddress escape(User, L"../out", L"x", L".act");
    EXPECT_FALSE(mPartition.RenameFile(&elsewhere, &escape));
    EXPECT_EQ(ReadAll(elsewhere), "new");
}

TEST_F(FileSystemPartitionTest, ASearchSeesFoldersChangedSinceTheTreeWasRead)
{
    mFolder.Put("images/b/deep/c/target.png");
    mFolder.Put("images/b/deep/other.png");
    FileAddress first(L"target", L".png");
    ASSERT_TRUE(mPartition.FindFile(&first));

    mFolder.Put("images/b/deep/late.png");
    FileAddress late(L"late", L".png");
    ASSERT_TRUE(mPartition.FindFile(&late)) << "a file made deep in a folder already read";
    EXPECT_STREQ(late.GetFolder(), L"images/b/deep");

    // What was read below a moved folder's old path is gone with it, and a new folder there is read.
    std::filesystem::rename(mFolder.Path("images/b"), mFolder.Path("images/moved"));
    mFolder.Put("images/b/deep/fresh.png");
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> expected = {
        {L"target", L"images/moved/deep/c"}, {L"late", L"images/moved/deep"}, {L"fresh", L"images/b/deep"}};
    for (const auto& [name, folder] : expected)
    {
        FileAddress address(name, L".png");
        ASSERT_TRUE(mPartition.FindFile(&address)) << name;
        EXPECT_STREQ(address.GetFolder(), folder) << name;
    }

    std::filesystem::remove(mFolder.Path("images/moved/deep/other.png"));
    FileAddress removed(L"other", L".png");
    EXPECT_FALSE(mPartition.FindFile(&removed)) << "a removed file is not reported";
}
