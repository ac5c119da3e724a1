#include "platform/linux/FileStream.h"

#include "core/RuntimeError.h"
#include "core/WideString.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Linux
{

namespace
{

constexpr mode_t NewFileMode = 0644;

uint32_t Clamp32(long long value)
{
    if (value < 0)
        return 0;
    if (value > static_cast<long long>(UINT32_MAX))
        return UINT32_MAX;
    return static_cast<uint32_t>(value);
}

// One call moves at most this much, so the byte count always fits ssize_t.
constexpr size_t MaxChunk = size_t(1) << 30;

} // namespace

FileStream::FileStream(const std::string& path, Strata::FileAccess access, Strata::FileCreation creation) : mPath(path)
{
    int flags = O_CLOEXEC;
    switch (access)
    {
    case Strata::FileAccess_Read:
        flags |= O_RDONLY;
        break;
    case Strata::FileAccess_Write:
        flags |= O_WRONLY;
        break;
    case Strata::FileAccess_ReadWrite:
        flags |= O_RDWR;
        break;
    default:
        STRATA_THROW(Strata::RuntimeError, "Could not open file " + path);
    }
    bool truncate = false;
    switch (creation)
    {
    case Strata::FileCreation_CreateAlways:
        flags |= O_CREAT;
        truncate = true;
        break;
    case Strata::FileCreation_CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    case Strata::FileCreation_OpenAlways:
        flags |= O_CREAT;
        break;
    case Strata::FileCreation_OpenExisting:
        break;
    default:
        STRATA_THROW(Strata::RuntimeError, "Could not open file " + path);
    }
    const bool writing = (access & Strata::FileAccess_Write) != 0;
    // A read-only stream cannot truncate under a writer's lock; such an open is refused before it
    // touches the host.
    if (truncate && !writing)
        STRATA_THROW(Strata::RuntimeError, "Could not open file " + path);

    // Never O_TRUNC at open: truncating before the lock is taken would destroy another writer's file.
    do
    {
        mFile = ::open(path.c_str(), flags, NewFileMode);
    } while (mFile < 0 && errno == EINTR);
    if (mFile < 0)
        STRATA_THROW(Strata::RuntimeError, "Could not open file " + path);

    bool usable = true;
    struct stat info = {};
    if (::fstat(mFile, &info) != 0 || !S_ISREG(info.st_mode))
        usable = false;
    if (usable && writing)
    {
        int locked;
        do
        {
            locked = ::flock(mFile, LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        usable = locked == 0;
    }
    if (usable && truncate && ::ftruncate(mFile, 0) != 0)
        usable = false;
    if (!usable)
    {
        ::close(mFile);
        mFile = -1;
        STRATA_THROW(Strata::RuntimeError, "Could not open file " + path);
    }
    mCapabilities = static_cast<unsigned long>(access) | Strata::StreamCaps_Seek;
}

FileStream::~FileStream()
{
    // A written file reaches the disk before it is closed, so a file renamed into place afterwards is
    // whole even if the machine stops. Closing releases the lock.
    if (mFile >= 0)
    {
        if (mWritten)
            ::fsync(mFile);
        ::close(mFile);
    }
}

std::wstring FileStream::GetName()
{
    const size_t slash = mPath.rfind('/');
    const std::string name = slash == std::string::npos ? mPath : mPath.substr(slash + 1);
    return Strata::ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(name.c_str()));
}

unsigned long FileStream::GetCapabilities()
{
    return mCapabilities;
}

uint32_t FileStream::GetLength()
{
    struct stat info = {};
    if (::fstat(mFile, &info) != 0)
        return 0;
    return Clamp32(static_cast<long long>(info.st_size));
}

bool FileStream::IsEOF()
{
    struct stat info = {};
    if (::fstat(mFile, &info) != 0)
        return true;
    // At or past: a seek beyond the end must not leave a reader waiting for bytes that never come.
    return Position() >= static_cast<long long>(info.st_size);
}

size_t FileStream::Read(void* buffer, size_t count)
{
    if ((mCapabilities & Strata::StreamCaps_Read) == 0 || buffer == nullptr)
        return 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < count)
    {
        const size_t chunk = count - done < MaxChunk ? count - done : MaxChunk;
        const ssize_t got = ::read(mFile, bytes + done, chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}

size_t FileStream::ReadOptimized(void*&, size_t)
{
    STRATA_THROW(Strata::RuntimeError, "Linux::FileStream does not implement ReadOptimized.");
}

size_t FileStream::Write(const void* data, size_t count)
{
    if ((mCapabilities & Strata::StreamCaps_Write) == 0 || data == nullptr)
        return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    size_t done = 0;
    while (done < count)
    {
        const size_t chunk = count - done < MaxChunk ? count - done : MaxChunk;
        const ssize_t put = ::write(mFile, bytes + done, chunk);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        mWritten = true;
        done += static_cast<size_t>(put);
    }
    return done;
}

void FileStream::Seek(Strata::SeekOrigin origin, long long offset)
{
    long long base;
    switch (origin)
    {
    case Strata::SeekOrigin_Begin:
        base = 0;
        break;
    case Strata::SeekOrigin_Current:
        base = Position();
        break;
    case Strata::SeekOrigin_End:
    {
        struct stat info = {};
        if (::fstat(mFile, &info) != 0)
            return;
        base = static_cast<long long>(info.st_size);
        break;
    }
    default:
        return;
    }
    long long target;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset < 0 ? 0 : LLONG_MAX;
    if (target < 0)
        target = 0;
    // A target the host refuses (beyond its largest file) leaves the position where it was.
    ::lseek(mFile, static_cast<off_t>(target), SEEK_SET);
}

uint32_t FileStream::Tell()
{
    return Clamp32(Position());
}

long long FileStream::Position()
{
    const off_t position = ::lseek(mFile, 0, SEEK_CUR);
    return position < 0 ? 0 : static_cast<long long>(position);
}

} // namespace Linux
