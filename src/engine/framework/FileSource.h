#pragma once

#include "core/FileAddress.h"

#include <boost/intrusive_ptr.hpp>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace Strata
{

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

// One file listed in the resource table of contents.
struct TOCEntry
{
    uint32_t nameHash = 0;
    uint32_t checksum = 0;
    uint32_t size = 0;
    // The path below the resource root, each byte of the table one character.
    std::wstring name;
};

// True when the stream, read from its current position, is the listed file: a text file (`name`
// ending in ".txt" or ".xml") by its checksum without white space, any other by size and checksum.
// False for a null stream.
bool MatchesListing(IStream* stream, const std::wstring& name, uint32_t size, uint32_t checksum);

// The engine's file source. Without streaming it opens files from the game's data (partition 1).
// With streaming on, a file must be listed in "resources.toc" and pass verification against the
// table; the per-user partition (2) is looked at first, at the listed path only (a copy of the same
// name in another folder of the cache is never opened), and a file missing or damaged there can be
// fetched over HTTP with Acquire.
//
// The table of contents is loaded once, by the first InitializeStreaming that finds and accepts it,
// and is read-only from then on, so lookups from the loader thread need no lock.
class FileSource : public IFileSource, public IStreamable
{
public:
    FileSource();
    // Clears the registry slot when this is the registered file source.
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // Null when the file is found nowhere, when streaming is on and the file fails verification (or
    // is not listed), or when there is no file system.
    IStream* OpenFileStream(const FileAddress& address) const override;
    // Switches streaming off; the table stays loaded.
    void Cleanup() override;

    // 0 present, 1 listed but must be fetched, 2 cannot be had. Never throws for missing files.
    int GetFileStatus(const FileAddress& address) const override;
    // The transfer of a file whose status is 1; null for any other status, when the table's name for
    // the file has no '/' or does not make a valid cache address, or when no transfer can be made
    // (each of these is logged).
    boost::intrusive_ptr<IFileTransfer> Acquire(const FileAddress& address, int priority) override;
    bool IsStreamingInitialized() const override;
    // Loads the table of contents (a missing one is no error), hands the base URL to the download
    // manager and switches streaming on, in that order. The first call that loads the table also
    // deletes the part files that a killed download left at the listed paths in the cache. Throws
    // RuntimeError "Resource TOC checksum is invalid!" or "Resource TOC is malformed!" for a table it
    // cannot accept; streaming then stays off and no table is kept.
    void InitializeStreaming(const std::wstring& baseURL) override;

    // The first entry whose hash equals that of the address's name and extension (its folder is not
    // used). False when no table is loaded, `out` is null or nothing matches.
    bool GetTOCEntry(const FileAddress& address, TOCEntry* out) const;
    // Checks the stream, read from its current position, against the address's entry: text files
    // (".txt", ".xml") by their checksum without white space, others by size and checksum.
    // False when there is no entry or no stream.
    bool VerifyFile(const FileAddress& address, IStream* stream) const;

    // Where the entry's file lies in the cache (partition 2): the folder, name and extension of the
    // listed name. False when the name has no folder or could leave the cache's root.
    static bool GetCacheAddress(const TOCEntry& entry, FileAddress* out);

private:
    void InitTOC();
    // Entry `index` of the loaded table (the index must be below its count).
    TOCEntry ReadEntry(uint32_t index) const;
    void RemoveLeftoverPartFiles() const;
    // The address of the file with the folder where it lies: when streaming, the listed path in
    // partition 2 first; then the name anywhere in partition 1. False when it is found in neither.
    bool LocateFile(const FileAddress& address, bool streaming, FileAddress* found) const;
    // Opens the found file, verifies it and closes it.
    bool IsFileIntact(const FileAddress& address, const FileAddress& found) const;

    std::atomic<bool> mStreaming{false};
    // Set (after the buffer is filled) only for a table that passed every check.
    std::atomic<bool> mTOCLoaded{false};
    uint32_t mTOCLength = 0;
    std::unique_ptr<uint8_t[]> mTOC;
    FileAddress mTOCAddress;
    bool mPartFilesSwept = false;
};

namespace Internal
{
// Empties the registry slot when it holds `fileSource`.
void ClearFileSourceSlot(IFileSource* fileSource);
} // namespace Internal

} // namespace Strata
