#pragma once

#include "core/FileSystemTypes.h"

namespace Strata
{

class FileAddress;
class IFileSystem;
class IStream;

// Opens a stream through the file system and closes it through the file system when it goes away.
class AutoStream
{
public:
    // Holds no stream when the file cannot be opened or there is no file system.
    AutoStream(const FileAddress* address, FileAccess access, FileCreation creation);
    ~AutoStream();
    AutoStream(const AutoStream&) = delete;
    AutoStream& operator=(const AutoStream&) = delete;

    // Null when no stream is held.
    IStream* Get() const { return mStream; }
    // Only valid when a stream is held.
    IStream* operator->() const { return mStream; }
    explicit operator bool() const { return mStream != nullptr; }

private:
    IFileSystem* mFileSystem;
    IStream* mStream;
};

} // namespace Strata
