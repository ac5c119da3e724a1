#pragma once

#include <vector>

namespace Strata
{

class FileAddress;
class IStream;

// 0 the program's folder, 1 the game's data (the default), 2 the per-user folder.
enum FileSystemPartition : int
{
    FileSystemPartition_Program = 0,
    FileSystemPartition_Resources = 1,
    FileSystemPartition_User = 2
};

enum FileAccess : int
{
    FileAccess_Read = 1,
    FileAccess_Write = 2,
    FileAccess_ReadWrite = 3
};

enum FileCreation : int
{
    FileCreation_CreateAlways = 0, // create or truncate
    FileCreation_CreateNew = 1,    // create only when absent
    FileCreation_OpenAlways = 2,   // open, or create when absent
    FileCreation_OpenExisting = 3  // open an existing file only
};

// One back end of a partition: a host folder, or an in-memory store in tests.
class IFileSystemPartition
{
public:
    virtual ~IFileSystemPartition() = default;
    // A new stream owned by the caller, or null when the file cannot be opened.
    virtual IStream* OpenStream(const FileAddress* address, FileAccess access, FileCreation creation) = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // True when present. An address without a folder is searched for in every folder, at any depth,
    // and the folder where it was found is written into the address.
    virtual bool FindFile(FileAddress* address) = 0;
    // Appends every file directly in the pattern's folder whose extension matches; true when it found any.
    virtual bool FindFiles(const FileAddress* pattern, std::vector<FileAddress>& out) = 0;
    virtual void DeleteFile(const FileAddress* address) = 0;
    // Moves a file over another in one step, replacing the target: a reader sees the old file or the
    // new one, never a mix. Missing target folders are made. False when it could not be done.
    virtual bool RenameFile(const FileAddress* from, const FileAddress* to) = 0;
};

} // namespace Strata
