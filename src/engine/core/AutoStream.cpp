#include "core/AutoStream.h"

#include "core/FileSystem.h"
#include "core/Stream.h"

namespace Strata
{

AutoStream::AutoStream(const FileAddress* address, FileAccess access, FileCreation creation)
    : mFileSystem(GetFileSystem()), mStream(nullptr)
{
    if (mFileSystem != nullptr)
        mStream = mFileSystem->OpenStream(address, access, creation);
}

AutoStream::~AutoStream()
{
    if (mStream == nullptr)
        return;
    // A file system torn down while the stream was held can no longer close it: delete it here.
    if (mFileSystem != nullptr && mFileSystem == GetFileSystem())
        mFileSystem->CloseStream(mStream);
    else
        delete mStream;
}

} // namespace Strata
