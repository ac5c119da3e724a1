#pragma once

#include <string>

namespace Strata
{

class IStream;

namespace Base64
{
// The bytes from the stream's current position to its end, encoded with padding and no line breaks.
// A null stream gives an empty string; reading stops early when the stream yields no more bytes.
std::wstring Encode(IStream* source);

// Writes the decoded bytes to the target one at a time. Characters outside the alphabet (padding,
// white space, anything else) are skipped; the bits of an incomplete final group are dropped.
// Returns false when the target is null or refuses a byte (writing stops there), else true.
bool Decode(const std::wstring& text, IStream* target);
} // namespace Base64

} // namespace Strata
