// Feeds arbitrary bytes to the file source as the resource table of contents; the target appends the
// closing checksum, or every input would stop there. A table that is accepted is looked up by the names
// of its own entries and by a few fixed ones, and the files it lists are verified against it.

#include "FuzzSupport.h"

#include "core/Checksum.h"
#include "core/FileAddress.h"
#include "core/FilePath.h"
#include "core/FileSystem.h"
#include "core/RuntimeError.h"
#include "framework/DefaultFileSource.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

uint32_t ReadLittleEndian(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void Probe(const FileSource& source, const FileAddress& address)
{
    TOCEntry entry;
    if (source.GetTOCEntry(address, &entry))
        Check(entry.name.size() < (1u << 20));
    source.GetFileStatus(address);
    if (IStream* stream = source.OpenFileStream(address))
        GetFileSystem()->CloseStream(stream);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fuzzing::MemoryFiles files;
    static const bool mounted = []
    {
        static FileSystem fileSystem;
        fileSystem.AddFileSystemPartition(FileSystemPartition_Resources,
                                          std::make_unique<Fuzzing::MemoryPartition>(files).release());
        fileSystem.AddFileSystemPartition(FileSystemPartition_User,
                                          std::make_unique<Fuzzing::MemoryPartition>(files).release());
        return true;
    }();
    (void)mounted;

    std::string table(reinterpret_cast<const char*>(data), size);
    const uint32_t checksum = static_cast<uint32_t>(
        ComputeChecksum(reinterpret_cast<const unsigned char*>(table.data()), static_cast<unsigned long>(size)));
    for (int shift = 0; shift < 32; shift += 8)
        table.push_back(static_cast<char>((checksum >> shift) & 0xFF));
    files.Clear();
    files.Set(L"resources.toc", table);
    files.Set(L"logo.png", "not really a picture");
    files.Set(L"title.xml", "<title>\n  hello\n</title>\n");

    FileSource source;
    try
    {
        source.InitializeStreaming(L"http://127.0.0.1:9/base/");
    }
    catch (const std::exception&)
    {
        Check(!source.IsStreamingInitialized());
        return 0;
    }
    for (const wchar_t* name : {L"logo.png", L"title.xml", L"missing.gif"})
    {
        const std::wstring file = name;
        Probe(source, FileAddress(Platform::GetFileName(file).c_str(), Platform::GetFileExtension(file).c_str()));
    }
    // The table's own names, as far as the bytes hold them.
    if (size >= 4)
    {
        const uint32_t count = ReadLittleEndian(data);
        for (uint32_t i = 0; i < count && i < 32 && 4 + (i + 1) * 20 <= size; ++i)
        {
            const uint32_t offset = ReadLittleEndian(data + 4 + i * 20 + 12);
            if (offset >= size)
                continue;
            const void* end = std::memchr(data + offset, 0, size - offset);
            if (end == nullptr)
                continue;
            const std::wstring name(data + offset, static_cast<const uint8_t*>(end));
            try
            {
                Probe(source,
                      FileAddress(Platform::GetFileName(name).c_str(), Platform::GetFileExtension(name).c_str()));
            }
            catch (const RuntimeError&)
            {
                // A name that makes no address.
            }
        }
    }
    source.Cleanup();
    return 0;
}
