#include "core/FileAddress.h"
#include "core/RuntimeError.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

using namespace Strata;

namespace
{
// True when the text lives inside the address object itself.
bool PointsInto(const FileAddress& address, const wchar_t* text)
{
    const char* begin = reinterpret_cast<const char*>(&address);
    const char* at = reinterpret_cast<const char*>(text);
    return at >= begin && at < begin + sizeof(FileAddress);
}
} // namespace

TEST(FileAddressTest, DefaultsAndShortForms)
{
    const FileAddress empty;
    EXPECT_EQ(empty.GetPartition(), FileSystemPartition_Resources);
    EXPECT_EQ(empty.GetName(), nullptr);
    EXPECT_EQ(empty.GetExtension(), nullptr);
    EXPECT_EQ(empty.GetFolder(), nullptr);

    const FileAddress settings(L"settings", L"xml");
    EXPECT_EQ(settings.GetPartition(), FileSystemPartition_Resources);
    EXPECT_EQ(settings.GetFolder(), nullptr);
    EXPECT_STREQ(settings.GetName(), L"settings");
    EXPECT_STREQ(settings.GetExtension(), L"xml");
}

TEST(FileAddressTest, CopiesPointIntoTheirOwnBuffer)
{
    const FileAddress original(FileSystemPartition_User, L".", L"settings", L".xml");
    const FileAddress copy(original);
    EXPECT_EQ(copy.GetPartition(), original.GetPartition());
    EXPECT_STREQ(copy.GetName(), L"settings");
    EXPECT_STREQ(copy.GetExtension(), L".xml");
    EXPECT_STREQ(copy.GetFolder(), L".");
    EXPECT_TRUE(PointsInto(copy, copy.GetName()));
    EXPECT_TRUE(PointsInto(copy, copy.GetExtension()));
    EXPECT_TRUE(PointsInto(copy, copy.GetFolder()));

    FileAddress assigned(L"other", L".bin");
    assigned = original;
    EXPECT_STREQ(assigned.GetFolder(), L".");
    EXPECT_TRUE(PointsInto(assigned, assigned.GetName()));
    assigned = assigned;
    EXPECT_STREQ(assigned.GetName(), L"settings");
}

TEST(FileAddressTest, RefusesMissingTextsWithoutChangingTheAddress)
{
    FileAddress address(FileSystemPartition_User, L"dir", L"name", L".ext");
    EXPECT_THROW(address.Init(FileSystemPartition_Program, nullptr, nullptr, L".ext"), RuntimeError);
    EXPECT_THROW(address.Init(FileSystemPartition_Program, nullptr, L"n", nullptr), RuntimeError);
    EXPECT_THROW(address.SetName(nullptr), RuntimeError);
    EXPECT_THROW(FileAddress(nullptr, L".x"), RuntimeError);
    EXPECT_EQ(address.GetPartition(), FileSystemPartition_User);
    EXPECT_STREQ(address.GetName(), L"name");
    EXPECT_STREQ(address.GetFolder(), L"dir");

    FileAddress empty;
    EXPECT_THROW(empty.SetFolder(L"dir"), RuntimeError);
}

TEST(FileAddressTest, TextsThatDoNotFitThrowInsteadOfOverflowing)
{
    // Name, extension and folder with their three terminators fill the buffer exactly.
    const std::wstring name(500, L'n');
    const std::wstring folder(FileAddress::kBufferLength - 500 - 4 - 3, L'f');
    FileAddress full(FileSystemPartition_User, folder.c_str(), name.c_str(), L".ext");
    EXPECT_EQ(std::wcslen(full.GetFolder()), folder.size());

    const std::wstring tooLong = folder + L"f";
    EXPECT_THROW(FileAddress(FileSystemPartition_User, tooLong.c_str(), name.c_str(), L".ext"), RuntimeError);
    EXPECT_THROW(FileAddress(std::wstring(600, L'x').c_str(), L""), RuntimeError);

    EXPECT_THROW(full.SetFolder(tooLong.c_str()), RuntimeError);
    EXPECT_THROW(full.SetName((name + L"n").c_str()), RuntimeError);
    EXPECT_EQ(std::wcslen(full.GetName()), 500u);
    EXPECT_EQ(std::wcslen(full.GetFolder()), folder.size());
}

TEST(FileAddressTest, SetFolderAndSetNameRepack)
{
    FileAddress address(FileSystemPartition_User, L"a", L".act");
    address.SetFolder(L"accounts/old");
    EXPECT_STREQ(address.GetFolder(), L"accounts/old");
    EXPECT_STREQ(address.GetName(), L"a");

    address.SetName(L"a much longer name");
    EXPECT_STREQ(address.GetName(), L"a much longer name");
    EXPECT_STREQ(address.GetExtension(), L".act");
    EXPECT_STREQ(address.GetFolder(), L"accounts/old");
    EXPECT_EQ(address.GetPartition(), FileSystemPartition_User);

    // Texts already inside the address may be passed back to it.
    address.SetFolder(address.GetName());
    EXPECT_STREQ(address.GetFolder(), L"a much longer name");
    address.SetName(address.GetExtension());
    EXPECT_STREQ(address.GetName(), L".act");
    EXPECT_STREQ(address.GetFolder(), L"a much longer name");

    address.SetFolder(nullptr);
    EXPECT_EQ(address.GetFolder(), nullptr);
    EXPECT_STREQ(address.GetName(), L".act");
}
