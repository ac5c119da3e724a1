#pragma once

#include "core/FileSystemTypes.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Strata::Testing
{

// An in-memory file-system back end for tests, with fault injection.
//
// Files are keyed by "<folder>/<name><extension>", where a null, empty or "." folder is the root
// (key "<name><extension>"). Names match exactly; extensions in FindFiles ignore ASCII case, taken
// from the first '.' of the file name. Streams share the file's bytes, so a write is seen by later
// readers and by the test, and a stream stays valid after the partition is deleted.
// Not thread-safe beyond Lock/Unlock: tests drive it from one thread at a time.
class MemoryFileSystemPartition : public IFileSystemPartition
{
public:
    // `tag` names the back end in the journal.
    explicit MemoryFileSystemPartition(std::wstring tag = L"memory");
    ~MemoryFileSystemPartition() override;

    // --- contents ---
    void AddFile(const std::wstring& path, const std::string& bytes);
    bool HasFile(const std::wstring& path) const;
    // The bytes of the file; empty when it does not exist.
    std::string GetFile(const std::wstring& path) const;
    size_t GetFileCount() const;

    // --- faults ---
    // Every open fails (returns null).
    void SetFailOpen(bool fail);
    // Every open throws a RuntimeError.
    void SetThrowOnOpen(bool doThrow);
    // Each Read of a stream opened later returns at most `maxBytes` (0: reads return nothing while
    // the stream is not at its end).
    void SetMaxReadSize(size_t maxBytes);
    // Streams opened later accept `bytes` bytes in all, then write nothing; with a non-zero
    // `errorCode` the stream then also reports that error through IErrorStatus.
    void FailWritesAfter(size_t bytes, int errorCode = 0);
    // Once a stream has read `afterBytes` bytes of the file, the file is cut to `newLength` bytes.
    void ShrinkWhileReading(const std::wstring& path, size_t afterBytes, size_t newLength);

    // --- observation ---
    // Events ("Open:<tag>", "Lock:<tag>", "Unlock:<tag>", "Find:<tag>", "FindFiles:<tag>",
    // "Delete:<tag>", "Rename:<tag>", "Destroy:<tag>") are appended to the journal when one is set. The journal must
    // outlive the partition.
    void SetJournal(std::vector<std::wstring>* journal);
    // Streams opened by this partition and not yet deleted.
    int GetOpenStreamCount() const;
    int GetLockDepth() const;

    // --- IFileSystemPartition ---
    IStream* OpenStream(const FileAddress* address, FileAccess access, FileCreation creation) override;
    void Lock() override;
    void Unlock() override;
    bool FindFile(FileAddress* address) override;
    bool FindFiles(const FileAddress* pattern, std::vector<FileAddress>& out) override;
    void DeleteFile(const FileAddress* address) override;
    bool RenameFile(const FileAddress* from, const FileAddress* to) override;
    // Every rename fails.
    void SetFailRename(bool fail);

    struct State;

private:
    void Record(const wchar_t* event) const;

    std::shared_ptr<State> mState;
};

// The key a file of this address is stored under.
std::wstring MemoryFileKey(const FileAddress& address);

} // namespace Strata::Testing
