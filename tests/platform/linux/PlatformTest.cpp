#include "platform/linux/LinuxPlatform.h"

#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "core/WideString.h"
#include "framework/Application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using Linux::Platform;

namespace
{

class NamedApplication : public Strata::BaseApplication
{
public:
    NamedApplication(const wchar_t* company, const wchar_t* product)
    {
        mDescriptor.companyName = company;
        mDescriptor.productName = product;
    }
    const Strata::sApplicationDescriptor& GetDescriptor() const override { return mDescriptor; }

private:
    Strata::sApplicationDescriptor mDescriptor;
};

std::string ReadAll(const Strata::FileAddress& address)
{
    Strata::IStream* stream =
        Strata::GetFileSystem()->OpenStream(&address, Strata::FileAccess_Read, Strata::FileCreation_OpenExisting);
    if (stream == nullptr)
        return "<missing>";
    std::string text(static_cast<size_t>(stream->GetLength()), '\0');
    const size_t read = stream->Read(text.data(), text.size());
    text.resize(read);
    Strata::GetFileSystem()->CloseStream(stream);
    return text;
}

TEST(PlatformTest, FolderNamesCannotLeaveTheirParent)
{
    EXPECT_EQ(Platform::MakeFolderName(L"Strata"), "Strata");
    EXPECT_EQ(Platform::MakeFolderName(L"../../etc"), ".._.._etc");
    EXPECT_EQ(Platform::MakeFolderName(L".."), "_");
    EXPECT_EQ(Platform::MakeFolderName(L"."), "_");
    EXPECT_EQ(Platform::MakeFolderName(L""), "_");
    EXPECT_EQ(Platform::MakeFolderName(L"/abs"), "_abs");
    EXPECT_EQ(Platform::MakeFolderName(L"a\\b\nc"), "a_b_c");
    EXPECT_EQ(Platform::MakeFolderName(L"Men\u00e1gerie"), "Men\xc3\xa1gerie") << "UTF-8 on the host";
}

TEST(PlatformTest, UserFolderFollowsXdgDataHomeElseTheHomeFolder)
{
    ScopedEnvironment xdg("XDG_DATA_HOME", "/xdg/data");
    ScopedEnvironment home("HOME", "/home/player");
    EXPECT_EQ(Platform::FindUserFolder(L"Strata", L"Menagerie"), "/xdg/data/Strata/Menagerie");
    xdg.Set("relative/data"); // not absolute: ignored
    EXPECT_EQ(Platform::FindUserFolder(L"Strata", L"Menagerie"), "/home/player/.local/share/Strata/Menagerie");
    xdg.Set(nullptr);
    EXPECT_EQ(Platform::FindUserFolder(L"..", L"x/y"), "/home/player/.local/share/_/x_y");
}

TEST(PlatformTest, DataFolderIsFoundFromTheEnvironmentTheInstallAParentTheSourceOrTheWorkingFolder)
{
    TempFolder root;
    ScopedEnvironment data("STRATA_DATA_DIR", nullptr);
    const std::string program = root.Path("a/b/c/d/bin");
    std::filesystem::create_directories(program);
    const auto candidates = Platform::ListDataFolderCandidates(program, root.Path("src/data"), root.Path("cwd"));
    const auto find = [&]()
    {
        for (const std::string& folder : candidates)
            if (Platform::HoldsGameData(folder))
                return folder;
        return std::string();
    };
    EXPECT_EQ(find(), "") << "nothing within reach";

    // Each step puts the game's data in a nearer place, or a folder that is no game's data.
    const std::pair<const char*, const char*> steps[] = {
        {"data/Loading.xml", ""},                                                     // five levels up: out of reach
        {"cwd/data/Loading.xml", "cwd/data"},                                         // the working folder, last
        {"src/data/Loading.xml", "src/data"},                                         // the source tree built from
        {"a/data/Loading.xml", "a/data"},                                             // four levels up
        {"a/b/c/d/bin/data/readme.txt", "a/data"},                                    // "data", but not the game's
        {"a/b/c/d/bin/data/Loading.xml", "a/b/c/d/bin/data"},                         // beside the program
        {"a/b/c/d/share/menagerie/data/Loading.xml", "a/b/c/d/share/menagerie/data"}, // installed
    };
    for (const auto& [file, expected] : steps)
    {
        root.Put(file);
        EXPECT_EQ(find(), expected[0] != '\0' ? root.Path(expected) : std::string()) << file;
    }
    const std::string last = root.Path("cwd/data");
    EXPECT_EQ(candidates.back(), last);
    EXPECT_EQ(candidates.size(), 8u) << "installed, five levels, the source, the working folder";

    data.Set("/somewhere/else");
    EXPECT_EQ(Platform::FindDataFolder(program), "/somewhere/else") << "the environment overrides";
    EXPECT_FALSE(Platform::HoldsGameData("/somewhere/else")) << "which the program then reports";
    data.Set("");
    EXPECT_EQ(Platform::FindDataFolder(program), root.Path("a/b/c/d/share/menagerie/data")) << "empty is unset";
}

class PlatformSetupTest : public ::testing::Test
{
protected:
    void TearDown() override { Strata::Internal::DeleteAllSingletons(); }

    TempFolder mRoot;
};

TEST_F(PlatformSetupTest, MountsTheProgramTheDataAndAFreshUserFolder)
{
    mRoot.Put("data/Manifests/Main.xml", "<main/>");
    ScopedEnvironment data("STRATA_DATA_DIR", mRoot.Path("data").c_str());
    ScopedEnvironment xdg("XDG_DATA_HOME", mRoot.Path("xdg").c_str());
    NamedApplication application(L"Acme/..", L"..");

    Platform platform;
    platform.Setup();
    ASSERT_NE(Strata::GetFileSystem(), nullptr);
    EXPECT_EQ(platform.GetUserFolder(), mRoot.Path("xdg/Acme_../_"));
    EXPECT_TRUE(std::filesystem::is_directory(platform.GetUserFolder())) << "made when missing";

    // Partition 1 finds the data file by name alone, whatever its letter case.
    Strata::FileAddress manifest(Strata::FileSystemPartition_Resources, L"main", L".XML");
    ASSERT_TRUE(Strata::GetFileSystem()->FindFile(&manifest));
    EXPECT_EQ(ReadAll(manifest), "<main/>");

    // Partition 2 writes into the user folder.
    const Strata::FileAddress saved(Strata::FileSystemPartition_User, L".", L"1", L".act");
    Strata::IStream* out =
        Strata::GetFileSystem()->OpenStream(&saved, Strata::FileAccess_Write, Strata::FileCreation_CreateAlways);
    ASSERT_NE(out, nullptr);
    out->Write("abc", 3);
    Strata::GetFileSystem()->CloseStream(out);
    EXPECT_EQ(mRoot.Get("xdg/Acme_../_/1.act"), "abc");

    // Partition 0 is the running program's folder.
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof(self) - 1), 0);
    const std::filesystem::path program(self);
    EXPECT_EQ(platform.GetProgramFolder(), program.parent_path().string());
    const std::wstring name = Strata::ConvertStringASCIIToWide(program.filename().c_str());
    Strata::FileAddress executable(Strata::FileSystemPartition_Program, L".", name.c_str(), L"");
    EXPECT_TRUE(Strata::GetFileSystem()->FindFile(&executable));
}

TEST_F(PlatformSetupTest, WithoutAnApplicationNothingIsMounted)
{
    ScopedEnvironment xdg("XDG_DATA_HOME", mRoot.Path("xdg").c_str());
    ASSERT_EQ(Strata::GetApplication(), nullptr);
    Platform platform;
    EXPECT_THROW(platform.Setup(), Strata::RuntimeError);
    EXPECT_EQ(Strata::GetFileSystem(), nullptr);
    EXPECT_EQ(platform.GetUserFolder(), "");
    EXPECT_FALSE(mRoot.Exists("xdg"));
}

} // namespace
