#pragma once

#include <string>

namespace Strata
{

class IFileSystem;
class IStream;

// Holds the file system's lock (Lock now, Unlock when destroyed) so a series of file accesses is not
// interleaved with another thread's. Does nothing when `lock` is false or there is no file system.
class FileSystemLock
{
public:
    explicit FileSystemLock(bool lock = true);
    ~FileSystemLock();
    FileSystemLock(const FileSystemLock&) = delete;
    FileSystemLock& operator=(const FileSystemLock&) = delete;

private:
    IFileSystem* mFileSystem;
};

// A resource file opened through the registered file source and handed back through the file system
// when it goes away.
class ResourceFileStream
{
public:
    // Holds no stream when there is no file source, the file cannot be had, or the name does not make
    // a valid file address.
    ResourceFileStream(const std::wstring& name, const wchar_t* extension);
    ~ResourceFileStream();
    ResourceFileStream(const ResourceFileStream&) = delete;
    ResourceFileStream& operator=(const ResourceFileStream&) = delete;

    // Null when no stream is held.
    IStream* Get() const { return mStream; }

private:
    IStream* mStream = nullptr;
};

} // namespace Strata
