#include "core/FileSystem.h"

#include "core/Log.h"
#include "core/Random.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "core/Threading.h"
#include "core/WideString.h"

#include <atomic>
#include <cwchar>
#include <exception>
#include <random>
#include <string>

namespace Strata
{

namespace
{
std::atomic<FileSystem*> gFileSystem{nullptr};

// Enough draws that a folder would have to hold nearly all 100,000,000 names to exhaust them.
constexpr int kMaxUniqueFileAttempts = 100000;

bool ContainsSlash(const wchar_t* text)
{
    return text != nullptr && std::wcschr(text, L'/') != nullptr;
}

// A folder is a relative path: no leading '/', and no ".." component anywhere.
bool IsSafeFolder(const wchar_t* folder)
{
    if (folder == nullptr)
        return true;
    if (folder[0] == L'/')
        return false;
    const wchar_t* component = folder;
    while (true)
    {
        const wchar_t* end = std::wcschr(component, L'/');
        const size_t length = end != nullptr ? static_cast<size_t>(end - component) : std::wcslen(component);
        if (length == 2 && component[0] == L'.' && component[1] == L'.')
            return false;
        if (end == nullptr)
            return true;
        component = end + 1;
    }
}

bool IsSafeAddress(const FileAddress* address)
{
    if (address == nullptr || address->GetName() == nullptr || address->GetExtension() == nullptr)
        return false;
    const wchar_t* name = address->GetName();
    const wchar_t* extension = address->GetExtension();
    if (ContainsSlash(name) || ContainsSlash(extension) || !IsSafeFolder(address->GetFolder()))
        return false;
    // "." or ".." as a whole file name would name a folder rather than a file in it.
    if (extension[0] == L'\0' && (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0))
        return false;
    return true;
}

void LogRefused(const char* operation, const FileAddress* address)
{
    if (address == nullptr || address->GetName() == nullptr)
    {
        Internal::LogWrite("FileSystem::%s: refused an address without a name.\n", operation);
        return;
    }
    const std::string folder =
        address->GetFolder() != nullptr ? TruncateStringWideToASCII(address->GetFolder()) + "/" : std::string();
    const std::string name = TruncateStringWideToASCII(address->GetName());
    const std::string extension =
        address->GetExtension() != nullptr ? TruncateStringWideToASCII(address->GetExtension()) : std::string();
    Internal::LogWrite("FileSystem::%s: refused the unsafe address '%s%s%s'.\n", operation, folder.c_str(),
                       name.c_str(), extension.c_str());
}
} // namespace

FileSystem* GetFileSystem()
{
    return gFileSystem.load();
}

FileSystem::FileSystem() : mMutex(CreateMutex())
{
    // The mutex comes first: a constructor that throws must leave no registration behind.
    gFileSystem.store(this);
    AutoDeleteSingleton(this);
}

FileSystem::~FileSystem()
{
    Cleanup();
    delete mMutex;
    FileSystem* self = this;
    gFileSystem.compare_exchange_strong(self, nullptr);
}

void FileSystem::Setup()
{
}

void FileSystem::Cleanup()
{
    ScopedLock lock(mMutex);
    for (auto& [number, backEnds] : mPartitions)
        for (IFileSystemPartition* backEnd : backEnds)
            delete backEnd;
    mPartitions.clear();
}

void FileSystem::AddFileSystemPartition(FileSystemPartition number, IFileSystemPartition* partition)
{
    if (partition == nullptr)
        return;
    ScopedLock lock(mMutex);
    mPartitions[number].push_back(partition);
}

IStream* FileSystem::OpenStream(const FileAddress* address, FileAccess access, FileCreation creation)
{
    if (!IsSafeAddress(address))
    {
        LogRefused("OpenStream", address);
        return nullptr;
    }
    ScopedLock lock(mMutex);
    const auto found = mPartitions.find(address->GetPartition());
    if (found == mPartitions.end())
        return nullptr;
    for (IFileSystemPartition* backEnd : found->second)
    {
        try
        {
            if (IStream* stream = backEnd->OpenStream(address, access, creation))
                return stream;
        }
        catch (const std::exception& error)
        {
            Internal::LogWrite("FileSystem::OpenStream: %s\n", error.what());
        }
    }
    return nullptr;
}

void FileSystem::CloseStream(IStream* stream)
{
    delete stream;
}

// The file system's own mutex is held from Lock to Unlock (it is re-entrant, so the holder may go on
// using the file system). Were it let go in between, another thread could take it and then wait for a
// back end this thread holds, while this thread waits for it: every thread takes the mutex first.
void FileSystem::Lock()
{
    mMutex->Lock();
    for (auto& [number, backEnds] : mPartitions)
        for (IFileSystemPartition* backEnd : backEnds)
            backEnd->Lock();
}

void FileSystem::Unlock()
{
    for (auto& [number, backEnds] : mPartitions)
        for (IFileSystemPartition* backEnd : backEnds)
            backEnd->Unlock();
    mMutex->Unlock();
}

bool FileSystem::FindFile(FileAddress* address)
{
    if (!IsSafeAddress(address))
    {
        LogRefused("FindFile", address);
        return false;
    }
    ScopedLock lock(mMutex);
    const auto found = mPartitions.find(address->GetPartition());
    if (found == mPartitions.end())
        return false;
    for (IFileSystemPartition* backEnd : found->second)
        if (backEnd->FindFile(address))
            return true;
    return false;
}

bool FileSystem::FindFiles(const FileAddress* pattern, std::vector<FileAddress>& out)
{
    if (!IsSafeAddress(pattern))
    {
        LogRefused("FindFiles", pattern);
        return false;
    }
    ScopedLock lock(mMutex);
    const auto found = mPartitions.find(pattern->GetPartition());
    if (found == mPartitions.end())
        return false;
    for (IFileSystemPartition* backEnd : found->second)
        if (backEnd->FindFiles(pattern, out))
            return true;
    return false;
}

void FileSystem::DeleteFile(const FileAddress* address)
{
    if (!IsSafeAddress(address))
    {
        LogRefused("DeleteFile", address);
        return;
    }
    ScopedLock lock(mMutex);
    const auto found = mPartitions.find(address->GetPartition());
    if (found == mPartitions.end())
        return;
    for (IFileSystemPartition* backEnd : found->second)
        backEnd->DeleteFile(address);
}

bool FileSystem::RenameFile(const FileAddress* from, const FileAddress* to)
{
    if (!IsSafeAddress(from) || !IsSafeAddress(to))
    {
        LogRefused("RenameFile", IsSafeAddress(from) ? to : from);
        return false;
    }
    if (from->GetPartition() != to->GetPartition())
        return false;
    ScopedLock lock(mMutex);
    const auto found = mPartitions.find(from->GetPartition());
    if (found == mPartitions.end())
        return false;
    for (IFileSystemPartition* backEnd : found->second)
        if (backEnd->RenameFile(from, to))
            return true;
    return false;
}

void FileSystem::GetUniqueFile(FileAddress* address)
{
    if (!IsSafeAddress(address))
        STRATA_THROW(RuntimeError, std::string("FileSystem::GetUniqueFile needs a valid address."));
    ScopedLock lock(mMutex);
    IRandomNumberStream* random = Random::GetNamedStream(2);
    if (random == nullptr)
    {
        if (!mFallbackRandom)
            mFallbackRandom.reset(Random::CreateNewStream(std::random_device{}()));
        random = mFallbackRandom.get();
    }
    for (int attempt = 0; attempt < kMaxUniqueFileAttempts; ++attempt)
    {
        // In double, so that a float just below 1 cannot round up to 100,000,000.
        const double scaled = static_cast<double>(random->GetFloat()) * 100000000.0;
        long number = scaled > 0.0 ? static_cast<long>(scaled) : 0;
        if (number > 99999999)
            number = 99999999;
        const std::wstring name = std::to_wstring(number);
        // FindFile may write a found folder into the address it is given, so ask on a copy.
        FileAddress candidate(*address);
        candidate.SetName(name.c_str());
        FileAddress probe(candidate);
        if (!FindFile(&probe))
        {
            *address = candidate;
            return;
        }
    }
    STRATA_THROW(RuntimeError, std::string("FileSystem::GetUniqueFile found no free name."));
}

} // namespace Strata
