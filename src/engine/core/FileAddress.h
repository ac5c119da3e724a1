#pragma once

#include "core/FileSystemTypes.h"

#include <cstddef>

namespace Strata
{

// Names a file by partition, optional folder, name and extension, without heap storage: the texts
// live one after another in an inline buffer (name, extension, folder, each with its terminator).
// A folder is a relative path with '/' separators: "." or "" is the partition's root.
class FileAddress
{
public:
    static constexpr size_t kBufferLength = 512;

    // Partition 1, all texts null.
    FileAddress();
    // Each throws RuntimeError as Init does.
    FileAddress(FileSystemPartition partition, const wchar_t* folder, const wchar_t* name, const wchar_t* extension);
    FileAddress(FileSystemPartition partition, const wchar_t* name, const wchar_t* extension);
    FileAddress(const wchar_t* name, const wchar_t* extension);
    FileAddress(const FileAddress& other);
    FileAddress& operator=(const FileAddress& other);

    // Throws RuntimeError, leaving the address unchanged, when name or extension is null or the
    // texts with their terminators do not fit the buffer. A null folder means none.
    void Init(FileSystemPartition partition, const wchar_t* folder, const wchar_t* name, const wchar_t* extension);

    FileSystemPartition GetPartition() const { return mPartition; }
    // Null only for a default-constructed address.
    const wchar_t* GetName() const { return mName; }
    // With its dot, e.g. L".xml"; may be L"".
    const wchar_t* GetExtension() const { return mExtension; }
    // Null when there is none.
    const wchar_t* GetFolder() const { return mFolder; }

    // Null removes the folder. Throws RuntimeError, leaving the address unchanged, when the texts
    // would not fit, or when the address has no name yet.
    void SetFolder(const wchar_t* folder);
    // Throws RuntimeError, leaving the address unchanged, when the name is null or the texts would
    // not fit. On a default-constructed address the extension becomes L"".
    void SetName(const wchar_t* name);

private:
    // Packs the texts (copied first, so they may point into this buffer) and sets the pointers.
    void Pack(const wchar_t* folder, const wchar_t* name, const wchar_t* extension);
    void CopyFrom(const FileAddress& other);

    FileSystemPartition mPartition;
    const wchar_t* mName;
    const wchar_t* mExtension;
    const wchar_t* mFolder;
    // Two further texts, unused by the engine, kept through copies.
    const wchar_t* mExtra1;
    const wchar_t* mExtra2;
    wchar_t mBuffer[kBufferLength];
};

} // namespace Strata
