#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Strata
{

enum eStreamCapabilities : unsigned long
{
    StreamCaps_Read = 1,
    StreamCaps_Write = 2,
    StreamCaps_Seek = 4,
    StreamCaps_ReadOptimized = 8 // zero-copy reads through ReadOptimized
};

enum SeekOrigin
{
    SeekOrigin_Begin = 0,
    SeekOrigin_Current = 1,
    SeekOrigin_End = 2
};

// The engine's byte stream: files, HTTP bodies, memory buffers.
class IStream
{
public:
    virtual ~IStream() = default;
    virtual std::wstring GetName() = 0;
    virtual unsigned long GetCapabilities() = 0;
    virtual uint32_t GetLength() = 0;
    virtual bool IsEOF() = 0;
    // Returns the bytes read; fewer than asked at the end, 0 when nothing more can be read.
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Points `pointer` at the stream's own bytes and advances; returns the count available.
    virtual size_t ReadOptimized(void*& pointer, size_t count) = 0;
    // Returns the bytes written.
    virtual size_t Write(const void* data, size_t count) = 0;
    virtual void Seek(SeekOrigin origin, long long offset) = 0;
    virtual uint32_t Tell() = 0;
};

} // namespace Strata
