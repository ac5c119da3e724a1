#pragma once

#include <string>

namespace Strata
{

class IStream;

// Adler-32 as in zlib, but started from 0 instead of 1. Results fit in 32 bits.

// Null data or a zero length gives the start value (0, or `checksum` when appending).
unsigned long ComputeChecksum(const unsigned char* data, unsigned long length);
unsigned long AppendToChecksum(unsigned long checksum, const unsigned char* data, unsigned long length);

// Checksums up to `length` bytes from the stream's current position, read in blocks of at most 1,024
// bytes. Stops early when the stream reports its end or a read yields nothing, and then covers the bytes
// read so far. A null stream gives 0.
unsigned long ComputeChecksum(IStream* stream, unsigned long length);
// The same over GetLength() bytes.
unsigned long ComputeChecksum(IStream* stream);

// Skips white-space bytes (space, tab, line feed, vertical tab, form feed, carriage return).
unsigned long AppendToChecksum_IgnoreWhitespace(unsigned long checksum, const unsigned char* data,
                                                unsigned long length);
// Over GetLength() bytes from the current position, from 0, skipping white space; stops early as above.
unsigned long ComputeChecksum_IgnoreWhitespace(IStream* stream);

// True when the extension (from the last '.') is exactly ".txt" or ".xml": such files are checksummed
// without their white space.
bool IsTextFile(const std::wstring& fileName);

} // namespace Strata
