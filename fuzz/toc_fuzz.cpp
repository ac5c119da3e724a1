// Feeds arbitrary bytes to the file source as the resource table of contents; the target appends the
// closing checksum, and writes the hash of each even entry's own name into it, or every input would stop
// there. A table that is accepted is looked up by the names of its own entries and by a few fixed ones,
// and the files it lists are verified against it. Looked up by its own name, an entry is found: the
// first entry of that hash, with that entry's size, checksum and name.

#include "FuzzSupport.h"

#include "core/CaselessStringHasher.h"
#include "core/Checksum.h"
#include "core/FileAddress.h"
#include "core/FilePath.h"
#include "core/FileSystem.h"
#include "core/RuntimeError.h"
#include "framework/FileSource.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
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

void WriteLittleEndian(char* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The name entry `i` of the table points at, when the table holds the entry and a whole name.
std::optional<std::wstring> NameOf(const std::string& table, uint32_t i)
{
    if (4 + (static_cast<size_t>(i) + 1) * 20 > table.size())
        return std::nullopt;
    const uint32_t offset = ReadLittleEndian(reinterpret_cast<const uint8_t*>(table.data()) + 4 + i * 20 + 12);
    if (offset >= table.size())
        return std::nullopt;
    const size_t end = table.find('\0', offset);
    if (end == std::string::npos)
        return std::nullopt;
    std::wstring name;
    for (size_t k = offset; k < end; ++k)
        name += static_cast<wchar_t>(static_cast<uint8_t>(table[k]));
    return name;
}

std::optional<FileAddress> AddressOf(const std::wstring& name)
{
    try
    {
        return FileAddress(Platform::GetFileName(name).c_str(), Platform::GetFileExtension(name).c_str());
    }
    catch (const RuntimeError&)
    {
        return std::nullopt; // a name that makes no address
    }
}

uint32_t HashOf(const FileAddress& address)
{
    std::wstring key = address.GetName() != nullptr ? address.GetName() : L"";
    if (address.GetExtension() != nullptr)
        key += address.GetExtension();
    return cCaselessStringHasher::ComputeHash(key.c_str());
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
    const uint32_t count = size >= 4 ? ReadLittleEndian(data) : 0;
    for (uint32_t i = 0; i < count && i < 32; i += 2)
        if (const std::optional<std::wstring> name = NameOf(table, i))
            if (const std::optional<FileAddress> address = AddressOf(*name))
                WriteLittleEndian(table.data() + 4 + i * 20, HashOf(*address));
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
    const auto* bytes = reinterpret_cast<const uint8_t*>(table.data());
    for (uint32_t i = 0; i < count && i < 32; ++i)
    {
        const std::optional<std::wstring> name = NameOf(table, i);
        const std::optional<FileAddress> address = name ? AddressOf(*name) : std::nullopt;
        if (!address)
            continue;
        Probe(source, *address);
        const uint32_t hash = HashOf(*address);
        if (ReadLittleEndian(bytes + 4 + i * 20) != hash)
            continue;
        uint32_t first = 0;
        while (ReadLittleEndian(bytes + 4 + first * 20) != hash)
            ++first;
        TOCEntry entry;
        Check(source.GetTOCEntry(*address, &entry));
        Check(entry.nameHash == hash);
        Check(entry.checksum == ReadLittleEndian(bytes + 4 + first * 20 + 4));
        Check(entry.size == ReadLittleEndian(bytes + 4 + first * 20 + 8));
        if (const std::optional<std::wstring> firstName = NameOf(table, first))
            Check(entry.name == *firstName);
    }
    source.Cleanup();
    return 0;
}
