// stb_image is compiled here and nowhere else: PNG and JPEG only, from memory, with our size cap.

#include "graphics/Image.h"
#include "graphics/ImageFiles.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS 8192
// Zeroed memory: a JPEG whose scan names a Huffman table no segment defined would otherwise decode
// with whatever an earlier allocation left there, and index out of the table's arrays.
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

static_assert(STBI_MAX_DIMENSIONS == Strata::kMaxImageSide, "stb_image must refuse what the engine refuses");

namespace Strata::Internal
{

namespace
{

bool HasSignature(StbFormat format, const uint8_t* data, size_t length)
{
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    static constexpr uint8_t kJpeg[2] = {0xFF, 0xD8};
    if (format == StbFormat::Png)
        return length >= sizeof(kPng) && std::memcmp(data, kPng, sizeof(kPng)) == 0;
    return length >= sizeof(kJpeg) && std::memcmp(data, kJpeg, sizeof(kJpeg)) == 0;
}

// stb_image builds a Huffman table from its sixteen code counts without checking that they stay within
// the 256 symbols its arrays hold, and writes past them when they do not. Every table of every "define
// Huffman table" segment is checked here first: segments are followed by their lengths, and bytes
// between segments (entropy-coded data) are passed over up to the next marker. Linear in the file.
bool HuffmanTablesFit(const uint8_t* data, size_t length)
{
    constexpr size_t kLargestTable = 256;
    size_t p = 2; // after the start-of-image marker
    while (p + 4 <= length)
    {
        const uint8_t marker = data[p + 1];
        if (data[p] != 0xFF || marker == 0xFF)
        {
            ++p; // entropy-coded data, or a fill byte before a marker
            continue;
        }
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
        {
            p += 2; // a stuffed byte, or a marker without a length
            continue;
        }
        if (marker == 0xD9)
            return true; // end of image
        const size_t segmentLength = (size_t(data[p + 2]) << 8) | data[p + 3];
        if (marker == 0xC4)
        {
            // As stb reads them: tables follow one another while the segment's length lasts, each read
            // whole even where it runs past the segment; bytes past the file read as 0.
            long long remaining = static_cast<long long>(segmentLength) - 2;
            size_t table = p + 4;
            while (remaining > 0 && table < length)
            {
                size_t symbols = 0;
                for (size_t i = 1; i <= 16 && table + i < length; ++i)
                    symbols += data[table + i];
                if (symbols > kLargestTable)
                    return false;
                table += 17 + symbols;
                remaining -= static_cast<long long>(17 + symbols);
            }
        }
        p += 2 + segmentLength;
    }
    return true;
}

uint32_t ReadBigEndian(const uint8_t* bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
}

constexpr size_t kPngSignature = 8;
constexpr size_t kChunkHeader = 8; // length and type
constexpr size_t kChunkChecksum = 4;

// Where the PNG chunk whose header is at `p` ends: after its data and checksum, or at the end of the file
// for one that claims more than is left. stb reads a chunk whose header is whole, and zeros past the end.
size_t ChunkEnd(const uint8_t* data, size_t length, size_t p)
{
    const size_t chunkLength = ReadBigEndian(data + p);
    const size_t left = length - p - kChunkHeader;
    return chunkLength >= left ? length : std::min(length, p + kChunkHeader + chunkLength + kChunkChecksum);
}

bool IsChunk(const uint8_t* data, size_t p, const char* type)
{
    return std::memcmp(data + p + 4, type, 4) == 0;
}

// stb_image copies an image data chunk into a buffer it allocates only for a chunk that holds data, so an
// empty first data chunk has it copy nothing into a null pointer, which the compiler may take as proof
// that the pointer is set. Empty data chunks carry nothing (and stb reads no checksums): a PNG that has
// any is decoded from a copy without them. False when there are none.
bool DropEmptyDataChunks(const uint8_t* data, size_t length, std::vector<uint8_t>& copy)
{
    const auto isEmptyData = [data](size_t p) { return ReadBigEndian(data + p) == 0 && IsChunk(data, p, "IDAT"); };
    size_t p = kPngSignature;
    while (p + kChunkHeader <= length && !isEmptyData(p))
        p = ChunkEnd(data, length, p);
    if (p + kChunkHeader > length)
        return false;
    copy.assign(data, data + p);
    while (p + kChunkHeader <= length)
    {
        const size_t next = ChunkEnd(data, length, p);
        if (!isEmptyData(p))
            copy.insert(copy.end(), data + p, data + next);
        p = next;
    }
    copy.insert(copy.end(), data + p, data + length);
    return true;
}

// stb_image grows its buffer to hold an image data chunk before it reads the chunk, so a length that
// runs past the end of the file (up to 4 GB) costs that much memory before the read fails. Such a
// chunk, up to the end-of-image chunk where stb stops, is refused here.
bool DataChunksFit(const uint8_t* data, size_t length)
{
    for (size_t p = kPngSignature; p + kChunkHeader <= length; p = ChunkEnd(data, length, p))
    {
        if (IsChunk(data, p, "IEND"))
            return true;
        if (ReadBigEndian(data + p) > length - p - kChunkHeader)
            return !IsChunk(data, p, "IDAT"); // stb reads no further than a chunk cut by the end
    }
    return true;
}

} // namespace

std::vector<Color32> DecodeStbImage(StbFormat format, const uint8_t* data, size_t length, int& width, int& height,
                                    int& channels, const char** reason)
{
    auto fail = [reason](const char* why)
    {
        if (reason != nullptr)
            *reason = why;
        return std::vector<Color32>();
    };
    if (data == nullptr || !HasSignature(format, data, length))
        return fail(format == StbFormat::Png ? "the file is not a PNG" : "the file is not a JPEG");
    if (length > size_t(INT_MAX))
        return fail("the file is too large");
    // stb decides the format by the signature; a JPEG signature is what makes it read Huffman tables.
    if (HasSignature(StbFormat::Jpeg, data, length) && !HuffmanTablesFit(data, length))
        return fail("the JPEG data is damaged");
    if (HasSignature(StbFormat::Png, data, length) && !DataChunksFit(data, length))
        return fail("the PNG data is damaged");
    std::vector<uint8_t> withoutEmptyChunks;
    if (HasSignature(StbFormat::Png, data, length) && DropEmptyDataChunks(data, length, withoutEmptyChunks))
    {
        data = withoutEmptyChunks.data();
        length = withoutEmptyChunks.size();
    }

    int decodedWidth = 0;
    int decodedHeight = 0;
    int fileChannels = 0;
    stbi_uc* rgba =
        stbi_load_from_memory(data, static_cast<int>(length), &decodedWidth, &decodedHeight, &fileChannels, 4);
    if (rgba == nullptr)
        return fail(format == StbFormat::Png ? "the PNG data is damaged" : "the JPEG data is damaged");
    if (decodedWidth < 1 || decodedWidth > kMaxImageSide || decodedHeight < 1 || decodedHeight > kMaxImageSide)
    {
        stbi_image_free(rgba);
        return fail("the image size is 0 or too large");
    }

    std::vector<Color32> pixels;
    try
    {
        const size_t count = size_t(decodedWidth) * size_t(decodedHeight);
        pixels.resize(count);
        for (size_t i = 0; i < count; ++i)
        {
            const stbi_uc* p = rgba + 4 * i;
            pixels[i] = Color32(p[0], p[1], p[2], p[3]);
        }
    }
    catch (const std::bad_alloc&)
    {
        stbi_image_free(rgba);
        return fail("there is not enough memory");
    }
    stbi_image_free(rgba);
    width = decodedWidth;
    height = decodedHeight;
    channels = fileChannels;
    return pixels;
}

} // namespace Strata::Internal
