#pragma once

#include <cstddef>
#include <cstdint>

namespace Strata
{

class IStream;

// What a transfer can tell about its progress.
class IDataTransferProgressQuery
{
public:
    virtual ~IDataTransferProgressQuery() = default;
    virtual uint32_t GetDataTransferSize() = 0;
    virtual uint32_t GetDataTransferNumBytesCopied() = 0;
    // The fraction done, 0 to 1 (not a percentage); 0 when the size is 0.
    virtual float GetDataTransferPctComplete();
};

// The receiver that StreamCopy reports to.
class IDataTransferProgress
{
public:
    virtual ~IDataTransferProgress() = default;
    virtual void OnDataTransferInit(uint32_t length) = 0;
    virtual void OnDataTransferProgress(float fraction, uint32_t bytes) = 0;
    virtual void OnDataTransferComplete() = 0;
    virtual void OnDataTransferError(int code) = 0;
    virtual bool ShouldAbort() = 0;
};

// The error code reported when a copy stops because a stream made no progress without reporting
// an error of its own.
inline constexpr int kStreamCopyNoProgress = -1;

// Copies up to `count` bytes in 1,024-byte rounds and returns the bytes copied. It stops early at
// the end of the source, when `progress` asks to abort, or on a failure: a stream that reports an
// error (its last error goes to `progress`), or a round that reads 0 bytes before the end of the
// source or writes 0 bytes (kStreamCopyNoProgress goes to `progress`). Null streams copy nothing.
unsigned long StreamCopy(IStream* source, IStream* target, unsigned long count, IDataTransferProgress* progress);
// Reads into `buffer` until `count` bytes have come or a read gives none (the end, or a failure); returns
// the bytes read. For a whole file read at once, whose stream may hand it over in several pieces.
size_t StreamReadFully(IStream& stream, void* buffer, size_t count);
// Copies source->GetLength() bytes.
unsigned long StreamCopy(IStream* source, IStream* target, IDataTransferProgress* progress);

} // namespace Strata
