#include "framework/FileSource.h"

#include "core/AutoStream.h"
#include "core/CaselessStringHasher.h"
#include "core/Checksum.h"
#include "core/FilePath.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/Stream.h"
#include "core/WideString.h"
#include "framework/DownloadManager.h"
#include "framework/FileTransfer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>

namespace Strata
{

namespace
{
constinit std::atomic<IFileSource*> gFileSource{nullptr};

constexpr size_t kEntryOffset = 4;
constexpr size_t kEntrySize = 20;
// The count and the closing checksum.
constexpr size_t kSmallestTOC = 8;
// Far beyond any real table; keeps a damaged length from asking for gigabytes.
constexpr uint32_t kLargestTOC = 64u * 1024u * 1024u;

uint32_t ReadLittleEndian(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

std::wstring NameAndExtension(const FileAddress& address)
{
    std::wstring text = address.GetName() != nullptr ? address.GetName() : L"";
    if (address.GetExtension() != nullptr)
        text += address.GetExtension();
    return text;
}

[[noreturn]] void ThrowMalformed()
{
    STRATA_THROW(RuntimeError, std::string("Resource TOC is malformed!"));
}

// Every entry and every name must lie in the bytes before the closing checksum, and every name must
// end there: lookups then read the table without further checks.
bool IsWellFormed(const uint8_t* table, size_t length)
{
    const size_t body = length - 4;
    const uint64_t count = ReadLittleEndian(table);
    if (kEntryOffset + count * kEntrySize > body)
        return false;
    for (uint64_t i = 0; i < count; ++i)
    {
        const uint8_t* entry = table + kEntryOffset + i * kEntrySize;
        const size_t nameOffset = ReadLittleEndian(entry + 12);
        if (nameOffset >= body || std::memchr(table + nameOffset, 0, body - nameOffset) == nullptr)
            return false;
    }
    return true;
}
} // namespace

IFileSource* GetFileSource()
{
    return gFileSource.load();
}

void RegisterSingleton(IFileSource* fileSource)
{
    gFileSource.store(fileSource);
}

bool IsFileSourceRegistered()
{
    return gFileSource.load() != nullptr;
}

IStreamable* GetStreamableFileSource()
{
    return dynamic_cast<IStreamable*>(gFileSource.load());
}

IFileSource* CreateDefaultFileSource()
{
    return new FileSource();
}

namespace Internal
{
void ClearFileSourceSlot(IFileSource* fileSource)
{
    IFileSource* expected = fileSource;
    gFileSource.compare_exchange_strong(expected, nullptr);
}
} // namespace Internal

FileSource::FileSource() = default;

FileSource::~FileSource()
{
    Internal::ClearFileSourceSlot(this);
}

void FileSource::InitTOC()
{
    // Loaded once: the loader thread may be reading it.
    if (mTOCLoaded.load(std::memory_order_acquire))
        return;
    IFileSystem* fileSystem = GetFileSystem();
    if (fileSystem == nullptr)
        return;
    FileAddress address(FileSystemPartition_Resources, nullptr, L"resources", L".toc");
    if (!fileSystem->FindFile(&address))
        return;
    AutoStream stream(&address, FileAccess_Read, FileCreation_OpenExisting);
    if (!stream)
        return;
    const uint32_t length = stream->GetLength();
    if (length < kSmallestTOC || length > kLargestTOC)
        ThrowMalformed();
    std::unique_ptr<uint8_t[]> table(new uint8_t[length]);
    size_t filled = 0;
    while (filled < length)
    {
        const size_t read = stream->Read(table.get() + filled, length - filled);
        if (read == 0 || read > length - filled)
            break;
        filled += read;
    }
    if (filled != length)
    {
        // The file shrank or could not be read to its end.
        ThrowMalformed();
    }
    const uint32_t stored = ReadLittleEndian(table.get() + length - 4);
    if (static_cast<uint32_t>(ComputeChecksum(table.get(), length - 4)) != stored)
        STRATA_THROW(RuntimeError, std::string("Resource TOC checksum is invalid!"));
    if (!IsWellFormed(table.get(), length))
        ThrowMalformed();
    mTOCLength = length;
    mTOC = std::move(table);
    mTOCAddress = address;
    mTOCLoaded.store(true, std::memory_order_release);
}

TOCEntry FileSource::ReadEntry(uint32_t index) const
{
    const uint8_t* table = mTOC.get();
    const uint8_t* record = table + kEntryOffset + static_cast<size_t>(index) * kEntrySize;
    TOCEntry entry;
    entry.nameHash = ReadLittleEndian(record);
    entry.checksum = ReadLittleEndian(record + 4);
    entry.size = ReadLittleEndian(record + 8);
    // The name's offset and terminator were checked when the table was loaded.
    for (const uint8_t* name = table + ReadLittleEndian(record + 12); *name != 0; ++name)
        entry.name.push_back(static_cast<wchar_t>(*name));
    return entry;
}

bool FileSource::GetTOCEntry(const FileAddress& address, TOCEntry* out) const
{
    if (out == nullptr || !mTOCLoaded.load(std::memory_order_acquire) || address.GetName() == nullptr)
        return false;
    const uint32_t hash = cCaselessStringHasher::ComputeHash(NameAndExtension(address).c_str());
    const uint32_t count = ReadLittleEndian(mTOC.get());
    for (uint32_t i = 0; i < count; ++i)
    {
        if (ReadLittleEndian(mTOC.get() + kEntryOffset + static_cast<size_t>(i) * kEntrySize) == hash)
        {
            *out = ReadEntry(i);
            return true;
        }
    }
    return false;
}

bool MatchesListing(IStream* stream, const std::wstring& name, uint32_t size, uint32_t checksum)
{
    if (stream == nullptr)
        return false;
    if (IsTextFile(name))
        return static_cast<uint32_t>(ComputeChecksum_IgnoreWhitespace(stream)) == checksum;
    if (stream->GetLength() != size)
        return false;
    return static_cast<uint32_t>(ComputeChecksum(stream, size)) == checksum;
}

bool FileSource::VerifyFile(const FileAddress& address, IStream* stream) const
{
    TOCEntry entry;
    if (stream == nullptr || !GetTOCEntry(address, &entry))
        return false;
    return MatchesListing(stream, entry.name, entry.size, entry.checksum);
}

bool FileSource::GetCacheAddress(const TOCEntry& entry, FileAddress* out)
{
    const std::wstring name = ConvertToForwardSlashes(entry.name);
    const size_t slash = name.find(L'/');
    if (out == nullptr || slash == std::wstring::npos || slash == 0 || name.find(L"../") != std::wstring::npos ||
        name.find(L"/..") != std::wstring::npos)
        return false;
    try
    {
        const std::wstring folder = Platform::GetFilePath(name);
        const std::wstring fileName = Platform::GetFileName(name);
        const std::wstring extension = Platform::GetFileExtension(name);
        *out = FileAddress(FileSystemPartition_User, folder.c_str(), fileName.c_str(), extension.c_str());
        return true;
    }
    catch (const RuntimeError&)
    {
        // Too long for an address: such a file cannot be cached.
        return false;
    }
}

bool FileSource::LocateFile(const FileAddress& address, bool streaming, FileAddress* found) const
{
    IFileSystem* fileSystem = GetFileSystem();
    if (fileSystem == nullptr || address.GetName() == nullptr)
        return false;
    const wchar_t* extension = address.GetExtension() != nullptr ? address.GetExtension() : L"";
    // The cache holds each download at its listed path. A stale copy of the same name elsewhere in
    // the cache would fail verification every time and be fetched again on every request.
    TOCEntry entry;
    FileAddress cached;
    if (streaming && GetTOCEntry(address, &entry) && GetCacheAddress(entry, &cached) && fileSystem->FindFile(&cached))
    {
        *found = cached;
        return true;
    }
    // Without a folder the partition searches every folder by name and extension and fills it in.
    FileAddress bundled(FileSystemPartition_Resources, nullptr, address.GetName(), extension);
    if (fileSystem->FindFile(&bundled))
    {
        *found = bundled;
        return true;
    }
    return false;
}

bool FileSource::IsFileIntact(const FileAddress& address, const FileAddress& found) const
{
    AutoStream stream(&found, FileAccess_Read, FileCreation_OpenExisting);
    return stream && VerifyFile(address, stream.Get());
}

IStream* FileSource::OpenFileStream(const FileAddress& address) const
{
    const bool streaming = mStreaming.load();
    FileAddress found;
    if (!LocateFile(address, streaming, &found))
        return nullptr;
    if (streaming && !IsFileIntact(address, found))
        return nullptr;
    IFileSystem* fileSystem = GetFileSystem();
    return fileSystem != nullptr ? fileSystem->OpenStream(&found, FileAccess_Read, FileCreation_OpenExisting) : nullptr;
}

int FileSource::GetFileStatus(const FileAddress& address) const
{
    const bool streaming = mStreaming.load();
    TOCEntry entry;
    if (streaming && !GetTOCEntry(address, &entry))
        return 2;
    FileAddress found;
    if (!LocateFile(address, streaming, &found))
        return streaming ? 1 : 2;
    if (!streaming)
        return 0;
    return IsFileIntact(address, found) ? 0 : 1;
}

boost::intrusive_ptr<IFileTransfer> FileSource::Acquire(const FileAddress& address, int priority)
{
    if (GetFileStatus(address) != 1)
        return nullptr;
    TOCEntry entry;
    if (!GetTOCEntry(address, &entry))
        return nullptr;
    const std::wstring name = ConvertToForwardSlashes(entry.name);
    FileAddress cache;
    if (!GetCacheAddress(entry, &cache))
    {
        // The name must stay below the cache's root, and its first folder is dropped from the URL.
        Internal::LogWrite("FileSource: the listed name '%s' is no path below a folder; it cannot be fetched.\n",
                           TruncateStringWideToASCII(name.c_str()).c_str());
        return nullptr;
    }
    // The first component names the resource root on this side; the server's tree starts below it.
    const std::wstring path = name.substr(name.find(L'/'));
    try
    {
        const int size = entry.size > 0x7FFFFFFFu ? -1 : static_cast<int>(entry.size);
        return GetDownloadManager()->Download(path, cache, priority, size, entry.checksum);
    }
    catch (const RuntimeError& error)
    {
        Internal::LogWrite("FileSource: cannot fetch '%s': %s\n", TruncateStringWideToASCII(name.c_str()).c_str(),
                           error.what());
        return nullptr;
    }
}

bool FileSource::IsStreamingInitialized() const
{
    return mStreaming.load();
}

void FileSource::RemoveLeftoverPartFiles() const
{
    IFileSystem* fileSystem = GetFileSystem();
    if (fileSystem == nullptr || !mTOCLoaded.load(std::memory_order_acquire))
        return;
    // Only listed files are ever downloaded, so only their part files can be left over.
    const uint32_t count = ReadLittleEndian(mTOC.get());
    for (uint32_t i = 0; i < count; ++i)
    {
        FileAddress cache;
        if (GetCacheAddress(ReadEntry(i), &cache))
        {
            try
            {
                const FileAddress part = DownloadManager::PartAddressOf(cache);
                fileSystem->DeleteFile(&part);
            }
            catch (const RuntimeError&)
            {
                // An extension too long for an address: no part file can exist under it.
            }
        }
    }
}

void FileSource::InitializeStreaming(const std::wstring& baseURL)
{
    InitTOC();
    // Before any download of this run can have started: a part file now is a killed game's.
    if (!mPartFilesSwept && mTOCLoaded.load(std::memory_order_acquire))
    {
        mPartFilesSwept = true;
        RemoveLeftoverPartFiles();
    }
    GetDownloadManager()->SetBaseURL(baseURL);
    mStreaming.store(true);
}

void FileSource::Cleanup()
{
    mStreaming.store(false);
}

} // namespace Strata
