#include "framework/FileSystemLock.h"

#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/Stream.h"
#include "framework/FileSource.h"

namespace Strata
{

FileSystemLock::FileSystemLock(bool lock) : mFileSystem(lock ? GetFileSystem() : nullptr)
{
    if (mFileSystem != nullptr)
        mFileSystem->Lock();
}

FileSystemLock::~FileSystemLock()
{
    if (mFileSystem != nullptr)
        mFileSystem->Unlock();
}

ResourceFileStream::ResourceFileStream(const std::wstring& name, const wchar_t* extension)
{
    IFileSource* source = GetFileSource();
    if (source == nullptr)
        return;
    try
    {
        const FileAddress address(name.c_str(), extension);
        mStream = source->OpenFileStream(address);
    }
    catch (const RuntimeError& e)
    {
        // A name too long for a file address names no file.
        Internal::LogWrite("Could not open resource file %ls%ls: %s\n", name.c_str(), extension, e.what());
        mStream = nullptr;
    }
}

ResourceFileStream::~ResourceFileStream()
{
    if (mStream == nullptr)
        return;
    // Streams are handed back through the file system that opened them; without one, nobody else
    // owns the stream.
    if (IFileSystem* fileSystem = GetFileSystem())
        fileSystem->CloseStream(mStream);
    else
        delete mStream;
}

} // namespace Strata
