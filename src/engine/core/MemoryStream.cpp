#include "core/MemoryStream.h"

#include "core/RuntimeError.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

namespace Strata
{

namespace
{
constexpr size_t kMaxStreamLength = std::numeric_limits<uint32_t>::max();

// The position reached from `base` by `offset`, clamped into [0, length] without overflow.
size_t ClampedStreamPosition(size_t base, long long offset, size_t length)
{
    base = std::min(base, length);
    if (offset < 0)
    {
        // Negate in unsigned arithmetic so that the smallest long long does not overflow.
        const unsigned long long back = 0ULL - static_cast<unsigned long long>(offset);
        return back >= base ? 0 : base - static_cast<size_t>(back);
    }
    const unsigned long long forward = static_cast<unsigned long long>(offset);
    return forward >= length - base ? length : base + static_cast<size_t>(forward);
}

size_t SeekTarget(SeekOrigin origin, long long offset, size_t position, size_t length)
{
    switch (origin)
    {
    case SeekOrigin_Begin:
        return ClampedStreamPosition(0, offset, length);
    case SeekOrigin_Current:
        return ClampedStreamPosition(position, offset, length);
    case SeekOrigin_End:
        return ClampedStreamPosition(length, offset, length);
    }
    return std::min(position, length);
}
} // namespace

// ---- MemoryStream ----

MemoryStream::MemoryStream(const std::wstring& name) : mName(name)
{
}

MemoryStream::~MemoryStream() = default;

std::wstring MemoryStream::GetName()
{
    return mName;
}

unsigned long MemoryStream::GetCapabilities()
{
    return StreamCaps_Read | StreamCaps_Write | StreamCaps_Seek | StreamCaps_ReadOptimized;
}

uint32_t MemoryStream::GetLength()
{
    return static_cast<uint32_t>(mData.size());
}

bool MemoryStream::IsEOF()
{
    return mPosition >= mData.size();
}

size_t MemoryStream::Read(void* buffer, size_t count)
{
    if (buffer == nullptr || mPosition >= mData.size())
        return 0;
    const size_t n = std::min(count, mData.size() - mPosition);
    if (n > 0)
    {
        std::memcpy(buffer, mData.data() + mPosition, n);
        mPosition += n;
    }
    return n;
}

size_t MemoryStream::ReadOptimized(void*& pointer, size_t count)
{
    const size_t available = mPosition < mData.size() ? mData.size() - mPosition : 0;
    const size_t n = std::min(count, available);
    if (n == 0)
    {
        pointer = nullptr;
        return 0;
    }
    pointer = mData.data() + mPosition;
    mPosition += n;
    return n;
}

size_t MemoryStream::Write(const void* data, size_t count)
{
    if (count == 0 || data == nullptr || mPosition >= kMaxStreamLength)
        return 0;
    const size_t n = std::min(count, kMaxStreamLength - mPosition);
    if (mPosition + n > mData.size())
    {
        // The source may be our own bytes (from ReadOptimized): copy them before growing moves them.
        const uint8_t* source = static_cast<const uint8_t*>(data);
        const std::less<const uint8_t*> before;
        if (!mData.empty() && !before(source, mData.data()) && before(source, mData.data() + mData.size()))
        {
            std::vector<uint8_t> copy(source, source + n);
            mData.resize(mPosition + n, 0);
            std::memcpy(mData.data() + mPosition, copy.data(), n);
            mPosition += n;
            return n;
        }
        mData.resize(mPosition + n, 0);
    }
    std::memmove(mData.data() + mPosition, data, n);
    mPosition += n;
    return n;
}

void MemoryStream::Seek(SeekOrigin origin, long long offset)
{
    if (mData.empty())
        return;
    mPosition = SeekTarget(origin, offset, mPosition, mData.size());
}

uint32_t MemoryStream::Tell()
{
    return static_cast<uint32_t>(mPosition);
}

// ---- ReadOnlyMemoryStream ----

ReadOnlyMemoryStream::ReadOnlyMemoryStream(const std::wstring& name, const void* data, size_t length)
    : mName(name), mData(static_cast<const uint8_t*>(data)),
      mLength(data == nullptr ? 0 : std::min(length, kMaxStreamLength))
{
}

ReadOnlyMemoryStream::~ReadOnlyMemoryStream() = default;

std::wstring ReadOnlyMemoryStream::GetName()
{
    return mName;
}

unsigned long ReadOnlyMemoryStream::GetCapabilities()
{
    return StreamCaps_Read | StreamCaps_ReadOptimized;
}

uint32_t ReadOnlyMemoryStream::GetLength()
{
    return static_cast<uint32_t>(mLength);
}

bool ReadOnlyMemoryStream::IsEOF()
{
    return mPosition >= mLength;
}

size_t ReadOnlyMemoryStream::Read(void* buffer, size_t count)
{
    if (buffer == nullptr || mPosition >= mLength)
        return 0;
    const size_t n = std::min(count, mLength - mPosition);
    if (n > 0)
    {
        std::memcpy(buffer, mData + mPosition, n);
        mPosition += n;
    }
    return n;
}

size_t ReadOnlyMemoryStream::ReadOptimized(void*& pointer, size_t count)
{
    const size_t available = mPosition < mLength ? mLength - mPosition : 0;
    const size_t n = std::min(count, available);
    if (n == 0)
    {
        pointer = nullptr;
        return 0;
    }
    pointer = const_cast<uint8_t*>(mData + mPosition);
    mPosition += n;
    return n;
}

size_t ReadOnlyMemoryStream::Write(const void*, size_t)
{
    STRATA_THROW(RuntimeError, std::string("ReadOnlyMemoryStream::Write is not implemented."));
}

void ReadOnlyMemoryStream::Seek(SeekOrigin origin, long long offset)
{
    mPosition = SeekTarget(origin, offset, mPosition, mLength);
}

uint32_t ReadOnlyMemoryStream::Tell()
{
    return static_cast<uint32_t>(mPosition);
}

} // namespace Strata
