#include "support/MemoryFileSystemPartition.h"

#include "core/ErrorStatus.h"
#include "core/FileAddress.h"
#include "core/RuntimeError.h"
#include "core/Stream.h"
#include "core/WideString.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <optional>

namespace Strata::Testing
{

namespace
{
struct File
{
    std::vector<uint8_t> bytes;
    std::optional<size_t> shrinkAfter;
    size_t shrinkTo = 0;
};

std::wstring NormalisedFolder(const wchar_t* folder)
{
    if (folder == nullptr || std::wcscmp(folder, L".") == 0)
        return std::wstring();
    return folder;
}

bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() &&
           std::equal(
               a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return AsciiToUpper(x) == AsciiToUpper(y); });
}

void SplitKey(const std::wstring& key, std::wstring& folder, std::wstring& file)
{
    const size_t slash = key.rfind(L'/');
    folder = slash == std::wstring::npos ? std::wstring() : key.substr(0, slash);
    file = slash == std::wstring::npos ? key : key.substr(slash + 1);
}
} // namespace

struct MemoryFileSystemPartition::State
{
    std::wstring tag;
    std::map<std::wstring, std::shared_ptr<File>> files;
    bool failOpen = false;
    bool throwOnOpen = false;
    bool failRename = false;
    size_t maxRead = std::numeric_limits<size_t>::max();
    std::optional<size_t> writeLimit;
    int writeError = 0;
    std::vector<std::wstring>* journal = nullptr;
    std::atomic<int> openStreams{0}; // streams close on any thread
    std::atomic<int> lockDepth{0};
    std::recursive_mutex mutex;
};

namespace
{
class MemoryFileStream : public IStream, public IErrorStatus
{
public:
    MemoryFileStream(std::shared_ptr<MemoryFileSystemPartition::State> state, std::shared_ptr<File> file,
                     std::wstring name, FileAccess access)
        : mState(std::move(state)), mFile(std::move(file)), mName(std::move(name)), mAccess(access),
          mMaxRead(mState->maxRead), mWriteBudget(mState->writeLimit), mWriteError(mState->writeError)
    {
        ++mState->openStreams;
    }

    ~MemoryFileStream() override { --mState->openStreams; }

    std::wstring GetName() override { return mName; }

    unsigned long GetCapabilities() override { return static_cast<unsigned long>(mAccess) | StreamCaps_Seek; }

    uint32_t GetLength() override { return static_cast<uint32_t>(mFile->bytes.size()); }

    bool IsEOF() override { return mPosition >= mFile->bytes.size(); }

    size_t Read(void* buffer, size_t count) override
    {
        if ((mAccess & FileAccess_Read) == 0 || buffer == nullptr || mPosition >= mFile->bytes.size())
            return 0;
        const size_t n = std::min({count, mMaxRead, mFile->bytes.size() - mPosition});
        if (n > 0)
            std::memcpy(buffer, mFile->bytes.data() + mPosition, n);
        mPosition += n;
        mBytesRead += n;
        if (mFile->shrinkAfter && mBytesRead >= *mFile->shrinkAfter)
        {
            mFile->shrinkAfter.reset();
            if (mFile->shrinkTo < mFile->bytes.size())
                mFile->bytes.resize(mFile->shrinkTo);
        }
        return n;
    }

    size_t ReadOptimized(void*&, size_t) override
    {
        STRATA_THROW(RuntimeError, std::string("MemoryFileStream does not implement ReadOptimized."));
    }

    size_t Write(const void* data, size_t count) override
    {
        if ((mAccess & FileAccess_Write) == 0 || data == nullptr || count == 0)
            return 0;
        size_t n = count;
        if (mWriteBudget)
        {
            n = std::min(n, *mWriteBudget);
            *mWriteBudget -= n;
            if (n < count && mWriteError != 0)
                SetLastError(mWriteError);
        }
        if (n == 0)
            return 0;
        std::vector<uint8_t>& bytes = mFile->bytes;
        if (mPosition > bytes.size())
            mPosition = bytes.size();
        if (mPosition + n > bytes.size())
            bytes.resize(mPosition + n);
        std::memcpy(bytes.data() + mPosition, data, n);
        mPosition += n;
        return n;
    }

    void Seek(SeekOrigin origin, long long offset) override
    {
        const long long length = static_cast<long long>(mFile->bytes.size());
        long long base = 0;
        switch (origin)
        {
        case SeekOrigin_Begin:
            base = 0;
            break;
        case SeekOrigin_Current:
            base = static_cast<long long>(std::min(mPosition, mFile->bytes.size()));
            break;
        case SeekOrigin_End:
            base = length;
            break;
        default:
            return;
        }
        const long long target = offset < -base ? 0 : (offset > length - base ? length : base + offset);
        mPosition = static_cast<size_t>(target);
    }

    uint32_t Tell() override { return static_cast<uint32_t>(std::min(mPosition, mFile->bytes.size())); }

private:
    std::shared_ptr<MemoryFileSystemPartition::State> mState;
    std::shared_ptr<File> mFile;
    std::wstring mName;
    FileAccess mAccess;
    size_t mMaxRead;
    std::optional<size_t> mWriteBudget;
    int mWriteError;
    size_t mPosition = 0;
    size_t mBytesRead = 0;
};
} // namespace

std::wstring MemoryFileKey(const FileAddress& address)
{
    const std::wstring folder = NormalisedFolder(address.GetFolder());
    std::wstring file = std::wstring(address.GetName() != nullptr ? address.GetName() : L"") +
                        (address.GetExtension() != nullptr ? address.GetExtension() : L"");
    return folder.empty() ? file : folder + L"/" + file;
}

MemoryFileSystemPartition::MemoryFileSystemPartition(std::wstring tag) : mState(std::make_shared<State>())
{
    mState->tag = std::move(tag);
}

MemoryFileSystemPartition::~MemoryFileSystemPartition()
{
    Record(L"Destroy");
}

void MemoryFileSystemPartition::Record(const wchar_t* event) const
{
    if (mState->journal != nullptr)
        mState->journal->push_back(std::wstring(event) + L":" + mState->tag);
}

void MemoryFileSystemPartition::AddFile(const std::wstring& path, const std::string& bytes)
{
    auto file = std::make_shared<File>();
    file->bytes.assign(bytes.begin(), bytes.end());
    mState->files[path] = std::move(file);
}

bool MemoryFileSystemPartition::HasFile(const std::wstring& path) const
{
    return mState->files.count(path) != 0;
}

std::string MemoryFileSystemPartition::GetFile(const std::wstring& path) const
{
    const auto found = mState->files.find(path);
    if (found == mState->files.end())
        return std::string();
    return std::string(found->second->bytes.begin(), found->second->bytes.end());
}

size_t MemoryFileSystemPartition::GetFileCount() const
{
    return mState->files.size();
}

void MemoryFileSystemPartition::SetFailOpen(bool fail)
{
    mState->failOpen = fail;
}

void MemoryFileSystemPartition::SetThrowOnOpen(bool doThrow)
{
    mState->throwOnOpen = doThrow;
}

void MemoryFileSystemPartition::SetMaxReadSize(size_t maxBytes)
{
    mState->maxRead = maxBytes;
}

void MemoryFileSystemPartition::FailWritesAfter(size_t bytes, int errorCode)
{
    mState->writeLimit = bytes;
    mState->writeError = errorCode;
}

void MemoryFileSystemPartition::ShrinkWhileReading(const std::wstring& path, size_t afterBytes, size_t newLength)
{
    const auto found = mState->files.find(path);
    if (found != mState->files.end())
    {
        found->second->shrinkAfter = afterBytes;
        found->second->shrinkTo = newLength;
    }
}

void MemoryFileSystemPartition::SetJournal(std::vector<std::wstring>* journal)
{
    mState->journal = journal;
}

int MemoryFileSystemPartition::GetOpenStreamCount() const
{
    return mState->openStreams;
}

int MemoryFileSystemPartition::GetLockDepth() const
{
    return mState->lockDepth;
}

IStream* MemoryFileSystemPartition::OpenStream(const FileAddress* address, FileAccess access, FileCreation creation)
{
    Record(L"Open");
    if (mState->throwOnOpen)
        STRATA_THROW(RuntimeError, std::string("MemoryFileSystemPartition: injected open failure."));
    if (mState->failOpen || address == nullptr || address->GetName() == nullptr)
        return nullptr;
    const std::wstring key = MemoryFileKey(*address);
    auto found = mState->files.find(key);
    const bool exists = found != mState->files.end();
    std::shared_ptr<File> file;
    switch (creation)
    {
    case FileCreation_CreateAlways:
        file = exists ? found->second : std::make_shared<File>();
        file->bytes.clear();
        break;
    case FileCreation_CreateNew:
        if (exists)
            return nullptr;
        file = std::make_shared<File>();
        break;
    case FileCreation_OpenAlways:
        file = exists ? found->second : std::make_shared<File>();
        break;
    case FileCreation_OpenExisting:
        if (!exists)
            return nullptr;
        file = found->second;
        break;
    default:
        return nullptr;
    }
    mState->files[key] = file;
    return new MemoryFileStream(
        mState, file, std::wstring(address->GetName()) + (address->GetExtension() ? address->GetExtension() : L""),
        access);
}

void MemoryFileSystemPartition::Lock()
{
    Record(L"Lock");
    mState->mutex.lock();
    ++mState->lockDepth;
}

void MemoryFileSystemPartition::Unlock()
{
    Record(L"Unlock");
    --mState->lockDepth;
    mState->mutex.unlock();
}

bool MemoryFileSystemPartition::FindFile(FileAddress* address)
{
    Record(L"Find");
    if (address == nullptr || address->GetName() == nullptr)
        return false;
    if (address->GetFolder() != nullptr)
        return HasFile(MemoryFileKey(*address));
    const std::wstring wanted = std::wstring(address->GetName()) + address->GetExtension();
    for (const auto& [key, file] : mState->files)
    {
        std::wstring folder;
        std::wstring name;
        SplitKey(key, folder, name);
        if (name == wanted)
        {
            address->SetFolder(folder.empty() ? L"." : folder.c_str());
            return true;
        }
    }
    return false;
}

bool MemoryFileSystemPartition::FindFiles(const FileAddress* pattern, std::vector<FileAddress>& out)
{
    Record(L"FindFiles");
    if (pattern == nullptr || pattern->GetExtension() == nullptr)
        return false;
    const std::wstring wantedFolder = NormalisedFolder(pattern->GetFolder());
    bool any = false;
    for (const auto& [key, file] : mState->files)
    {
        std::wstring folder;
        std::wstring name;
        SplitKey(key, folder, name);
        const size_t dot = name.find(L'.');
        if (folder != wantedFolder || dot == std::wstring::npos ||
            !EqualsIgnoringAsciiCase(name.substr(dot), pattern->GetExtension()))
            continue;
        const std::wstring stem = name.substr(0, dot);
        const std::wstring extension = name.substr(dot);
        out.emplace_back(pattern->GetPartition(), folder.empty() ? L"." : folder.c_str(), stem.c_str(),
                         extension.c_str());
        any = true;
    }
    return any;
}

void MemoryFileSystemPartition::DeleteFile(const FileAddress* address)
{
    Record(L"Delete");
    if (address != nullptr && address->GetName() != nullptr)
        mState->files.erase(MemoryFileKey(*address));
}

bool MemoryFileSystemPartition::RenameFile(const FileAddress* from, const FileAddress* to)
{
    Record(L"Rename");
    if (from == nullptr || to == nullptr || from->GetName() == nullptr || to->GetName() == nullptr ||
        mState->failRename)
        return false;
    auto found = mState->files.find(MemoryFileKey(*from));
    if (found == mState->files.end())
        return false;
    std::shared_ptr<File> file = found->second;
    mState->files.erase(found);
    mState->files[MemoryFileKey(*to)] = std::move(file);
    return true;
}

void MemoryFileSystemPartition::SetFailRename(bool fail)
{
    mState->failRename = fail;
}

} // namespace Strata::Testing
