#pragma once

#include <boost/intrusive_ptr.hpp>

#include <string>

namespace Strata
{

class FileAddress;
class IStream;
class IFileTransfer;

// Where every resource file is opened: the game's data, or the per-user download cache when streaming.
class IFileSource
{
public:
    // A stream opened for reading, owned by the caller and closed through the file system
    // (CloseStream or an AutoStream); null when the file cannot be had.
    virtual IStream* OpenFileStream(const FileAddress& address) const = 0;
    virtual void Cleanup() {}
    virtual ~IFileSource() = default;
};

// A file source that can fetch files it lacks over HTTP.
class IStreamable
{
public:
    // 0 present, 1 listed but must be fetched, 2 cannot be had.
    virtual int GetFileStatus(const FileAddress& address) const = 0;
    // The transfer that brings the file into the cache; null when none is needed or possible.
    virtual boost::intrusive_ptr<IFileTransfer> Acquire(const FileAddress& address, int priority) = 0;
    virtual bool IsStreamingInitialized() const = 0;
    virtual void InitializeStreaming(const std::wstring& baseURL) = 0;
    virtual ~IStreamable() = default;
};

// The registry slot. A file source's destructor clears the slot when it holds that file source.
IFileSource* GetFileSource(); // null when none is registered
void RegisterSingleton(IFileSource* fileSource);
bool IsFileSourceRegistered();
// The registered file source viewed as streamable; null when there is none or it cannot stream.
IStreamable* GetStreamableFileSource();
// A new default file source (not registered by this call).
IFileSource* CreateDefaultFileSource();

} // namespace Strata
