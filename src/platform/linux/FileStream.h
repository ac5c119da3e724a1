#pragma once

#include "core/FileSystemTypes.h"
#include "core/Stream.h"

#include <string>

namespace Linux
{

// A host file as a stream. The writing forms hold an exclusive lock on the file while the stream lives,
// so a second writer of the same file fails to open.
class FileStream final : public Strata::IStream
{
public:
    // Access 1 read-only, 2 write-only, 3 read-write; creation 0 create or truncate, 1 create only when
    // absent, 2 open or create, 3 open an existing file only. New files get mode 0644 (less the umask).
    // Throws RuntimeError "Could not open file <path>" when the access or creation is unknown, the file
    // cannot be opened, is not a regular file, or (for writing) is locked by another writer; nothing
    // is truncated then. Read-only access with creation 0 is refused: it could not take the lock.
    FileStream(const std::string& path, Strata::FileAccess access, Strata::FileCreation creation);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // The file's name without its folders.
    std::wstring GetName() override;
    // The access bits plus seeking; never zero-copy reads.
    unsigned long GetCapabilities() override;
    // The size in bytes; 0xFFFFFFFF for files of 4 GiB and more, 0 when the size cannot be read.
    uint32_t GetLength() override;
    // True at or past the end.
    bool IsEOF() override;
    // Bytes read; fewer at the end, 0 on a stream opened without read access or on a read error.
    size_t Read(void* buffer, size_t count) override;
    // Always throws RuntimeError: this stream has no bytes of its own to point at.
    size_t ReadOptimized(void*& pointer, size_t count) override;
    // Bytes written; fewer when the disk is full or an error occurs, 0 without write access.
    size_t Write(const void* data, size_t count) override;
    // Origins 0 start, 1 current, 2 end; the result is clamped to 0 and above. An unknown origin does
    // nothing.
    void Seek(Strata::SeekOrigin origin, long long offset) override;
    // The position; 0xFFFFFFFF at 4 GiB and beyond.
    uint32_t Tell() override;

private:
    long long Position();

    std::string mPath;
    int mFile = -1;
    bool mWritten = false;
    unsigned long mCapabilities = 0;
};

} // namespace Linux
