#pragma once

#include "core/Stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{

// A growable in-memory stream that can be read, written and sought.
// Its length is capped at the 32-bit range of IStream::GetLength.
class MemoryStream : public IStream
{
public:
    explicit MemoryStream(const std::wstring& name);
    ~MemoryStream() override;

    std::wstring GetName() override;
    unsigned long GetCapabilities() override;
    uint32_t GetLength() override;
    bool IsEOF() override;
    // Copies at most the bytes left after the cursor; 0 at the end or when `buffer` is null.
    size_t Read(void* buffer, size_t count) override;
    // Points `pointer` at the cursor (null when 0 bytes are available) and advances. The pointer is
    // valid until the next Write, which may move the bytes.
    size_t ReadOptimized(void*& pointer, size_t count) override;
    // Grows the stream (new bytes zero) as needed. Returns the bytes written: fewer than `count` only
    // when the stream would pass 4 GiB, 0 when `data` is null.
    size_t Write(const void* data, size_t count) override;
    // The cursor is clamped into [0, length]; an unknown origin leaves it in place.
    void Seek(SeekOrigin origin, long long offset) override;
    uint32_t Tell() override;

private:
    std::wstring mName;
    std::vector<uint8_t> mData;
    // Kept as an offset so that growing the vector never leaves it dangling.
    size_t mPosition = 0;
};

// Reads a byte range it does not own; the range must outlive the stream.
class ReadOnlyMemoryStream : public IStream
{
public:
    // A null `data` is taken as an empty range. Lengths past 4 GiB are cut to that.
    ReadOnlyMemoryStream(const std::wstring& name, const void* data, size_t length);
    ~ReadOnlyMemoryStream() override;

    std::wstring GetName() override;
    unsigned long GetCapabilities() override;
    uint32_t GetLength() override;
    bool IsEOF() override;
    size_t Read(void* buffer, size_t count) override;
    // Points `pointer` into the borrowed range (null when 0 bytes are available) and advances.
    size_t ReadOptimized(void*& pointer, size_t count) override;
    // Always throws RuntimeError: the range cannot be written.
    size_t Write(const void* data, size_t count) override;
    void Seek(SeekOrigin origin, long long offset) override;
    uint32_t Tell() override;

private:
    std::wstring mName;
    const uint8_t* mData;
    size_t mLength;
    size_t mPosition = 0;
};

} // namespace Strata
