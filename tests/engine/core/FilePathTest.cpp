#include "core/FilePath.h"

#include <gtest/gtest.h>

using namespace Strata::Platform;

TEST(FilePath, SplitsAnOrdinaryPath)
{
    const std::wstring path = L"data/levels/easy.level.xml";
    EXPECT_EQ(GetFilePath(path), L"data/levels");
    EXPECT_EQ(GetFileName(path), L"easy.level");
    EXPECT_EQ(GetFileExtension(path), L".xml");
}

TEST(FilePath, BackslashesCountAsSlashes)
{
    const std::wstring path = L"C:\\Games\\yard\\crew.png";
    EXPECT_EQ(GetFilePath(path), L"C:/Games/yard");
    EXPECT_EQ(GetFileName(path), L"crew");
    EXPECT_EQ(GetFileExtension(path), L".png");
    EXPECT_EQ(GetFilePath(L"a\\b/c"), L"a/b");
}

TEST(FilePath, WithoutSlashOrDot)
{
    EXPECT_EQ(GetFilePath(L"readme.txt"), L"readme.txt") << "no '/' gives the whole text";
    EXPECT_EQ(GetFileName(L"readme"), L"readme");
    EXPECT_EQ(GetFileExtension(L"readme"), L"");
    EXPECT_EQ(GetFilePath(L""), L"");
    EXPECT_EQ(GetFileName(L""), L"");
    EXPECT_EQ(GetFileExtension(L""), L"");
}

TEST(FilePath, EdgesOfSlashesAndDots)
{
    EXPECT_EQ(GetFilePath(L"/file"), L"");
    EXPECT_EQ(GetFilePath(L"folder/"), L"folder");
    EXPECT_EQ(GetFileName(L"folder/"), L"");
    EXPECT_EQ(GetFileName(L".hidden"), L"");
    EXPECT_EQ(GetFileExtension(L".hidden"), L".hidden");
    EXPECT_EQ(GetFileName(L"name."), L"name");
    EXPECT_EQ(GetFileExtension(L"name."), L".");
}

TEST(FilePath, ADotInAFolderIsNoExtension)
{
    // The last '.' before the last '/' must not cut the name or make a folder part of the extension.
    EXPECT_EQ(GetFileName(L"my.folder/file"), L"file");
    EXPECT_EQ(GetFileExtension(L"my.folder/file"), L"");
    EXPECT_EQ(GetFileName(L"v1.2\\notes"), L"notes");
    EXPECT_EQ(GetFileExtension(L"v1.2\\notes"), L"");
}
