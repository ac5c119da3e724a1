#pragma once

#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace Strata::Testing
{

// The game's data partition in memory, read through the engine's default file source; every stream a
// test opens must be closed by its end.
class MemoryDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fileSystem = new FileSystem();
        data = new MemoryFileSystemPartition(L"data");
        fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, data);
        source.reset(CreateDefaultFileSource());
        RegisterSingleton(source.get());
    }

    void TearDown() override
    {
        element.reset();
        source.reset();
        EXPECT_EQ(data->GetOpenStreamCount(), 0);
        Internal::DeleteAllSingletons();
    }

    // A reader positioned before the manifest element a resource factory is handed.
    void MakeElement(const std::string& xml)
    {
        elementStream = std::make_unique<MemoryStream>(L"element");
        elementStream->Write(xml.data(), xml.size());
        elementStream->Seek(SeekOrigin_Begin, 0);
        element = CreateXMLReader(elementStream.get());
    }

    FileSystem* fileSystem = nullptr;
    MemoryFileSystemPartition* data = nullptr;
    std::unique_ptr<IFileSource> source;
    std::unique_ptr<MemoryStream> elementStream;
    std::unique_ptr<IXMLReader> element;
};

} // namespace Strata::Testing
