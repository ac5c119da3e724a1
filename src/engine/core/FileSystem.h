#pragma once

#include "core/FileAddress.h"
#include "core/FileSystemTypes.h"

#include <map>
#include <memory>
#include <vector>

namespace Strata
{

class IMutex;
class IRandomNumberStream;
class IStream;

class IFileSystem
{
public:
    virtual ~IFileSystem() = default;
    virtual void Setup() = 0;
    virtual void Cleanup() = 0;
    virtual IStream* OpenStream(const FileAddress* address, FileAccess access, FileCreation creation) = 0;
    virtual void CloseStream(IStream* stream) = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual bool FindFile(FileAddress* address) = 0;
    virtual bool FindFiles(const FileAddress* pattern, std::vector<FileAddress>& out) = 0;
    virtual void DeleteFile(const FileAddress* address) = 0;
    // Both addresses must lie in one partition; the first back end that can do it does it.
    virtual bool RenameFile(const FileAddress* from, const FileAddress* to) = 0;
};

// Maps each partition number to the back ends mounted on it, asked in the order they were added.
// One mutex serialises the lists and every call into the back ends.
//
// Addresses that could leave a partition's root are refused before any back end sees them: a null
// address or name, a folder with a ".." component or a leading '/', a name or extension holding a
// '/', or a name of "." or ".." with no extension. A refused address opens nothing, finds nothing
// and deletes nothing.
class FileSystem : public IFileSystem
{
public:
    // Becomes the one file system and registers itself for deletion with the engine's singletons.
    // Throws RuntimeError when its mutex cannot be made.
    FileSystem();
    // Deletes any back ends still mounted and stops being the one file system.
    ~FileSystem() override;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;

    // Does nothing.
    void Setup() override;
    // Deletes every back end of every partition.
    void Cleanup() override;

    // Takes ownership of `partition` (null is ignored) and appends it to the number's list.
    void AddFileSystemPartition(FileSystemPartition number, IFileSystemPartition* partition);

    // The first stream that a back end of the address's partition opens, owned by the caller and
    // released with CloseStream. Null when none opens it, the partition has no back end or the
    // address is refused; a back end that throws counts as one that cannot open the file.
    IStream* OpenStream(const FileAddress* address, FileAccess access, FileCreation creation) override;
    // Deletes the stream; null is ignored.
    void CloseStream(IStream* stream) override;

    // Lock or unlock every back end of every partition, partitions in ascending number. The file
    // system's own mutex is held from Lock to the matching Unlock, which must come from the same thread:
    // meanwhile the holder may go on using the file system and every other thread's call waits.
    void Lock() override;
    void Unlock() override;

    // True as soon as one back end finds the file; a back end may write the found folder into the
    // address. False for a refused address.
    bool FindFile(FileAddress* address) override;
    // Asks the back ends in order and stops at the first that finds any. False for a refused pattern.
    bool FindFiles(const FileAddress* pattern, std::vector<FileAddress>& out) override;
    // Asks every back end of the partition to delete the file; nothing is reported.
    void DeleteFile(const FileAddress* address) override;
    bool RenameFile(const FileAddress* from, const FileAddress* to) override;

    // Replaces the address's name with a decimal number (below 100,000,000) drawn from random
    // stream 2 that FindFile does not report as existing; partition, folder and extension are kept.
    // Throws RuntimeError, leaving the address unchanged, when the address has no name or is
    // refused, or when no free name turns up after many draws.
    void GetUniqueFile(FileAddress* address);

private:
    IMutex* mMutex;
    std::map<FileSystemPartition, std::vector<IFileSystemPartition*>> mPartitions;
    // Used only when the engine's random stream 2 does not exist.
    std::unique_ptr<IRandomNumberStream> mFallbackRandom;
};

// The one file system, or null before it is made or after it is destroyed.
FileSystem* GetFileSystem();

} // namespace Strata
