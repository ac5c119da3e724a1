#include "graphics/GifDecoder.h"

#include "core/Color.h"
#include "core/Stream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace Strata
{

namespace
{

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;
// Room after the expanded indices so that short strings can be copied in whole 8-byte words.
constexpr size_t kCopySlack = 16;

bool Fail(const char** reason, const char* why)
{
    if (reason != nullptr)
        *reason = why;
    return false;
}

bool IsSideInRange(int side)
{
    return side >= 1 && side <= kMaxImageSide;
}

uint16_t ReadLE16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// Buffered reads from an IStream. A read that returns nothing (or claims more than asked) ends the
// stream for good, so every loop over it stops when the stream makes no progress.
class StreamReader
{
public:
    explicit StreamReader(IStream* stream) : mStream(stream) {}

    bool ReadByte(uint8_t& byte)
    {
        if (mPosition == mEnd && !Fill())
            return false;
        byte = mBuffer[mPosition++];
        return true;
    }

    // False when the stream ends before `count` bytes; what was read is then lost.
    bool Read(void* target, size_t count)
    {
        auto* out = static_cast<uint8_t*>(target);
        while (count > 0)
        {
            if (mPosition == mEnd && !Fill())
                return false;
            const size_t chunk = std::min(count, mEnd - mPosition);
            std::memcpy(out, mBuffer + mPosition, chunk);
            mPosition += chunk;
            out += chunk;
            count -= chunk;
        }
        return true;
    }

    bool Skip(size_t count)
    {
        while (count > 0)
        {
            if (mPosition == mEnd && !Fill())
                return false;
            const size_t chunk = std::min(count, mEnd - mPosition);
            mPosition += chunk;
            count -= chunk;
        }
        return true;
    }

private:
    bool Fill()
    {
        if (mEnded)
            return false;
        const size_t got = mStream->Read(mBuffer, sizeof(mBuffer));
        if (got == 0 || got > sizeof(mBuffer))
        {
            mEnded = true;
            return false;
        }
        mPosition = 0;
        mEnd = got;
        return true;
    }

    IStream* mStream;
    uint8_t mBuffer[4096];
    size_t mPosition = 0;
    size_t mEnd = 0;
    bool mEnded = false;
};

// Skips data sub-blocks up to and including the zero-length block that ends them.
bool SkipSubBlocks(StreamReader& in)
{
    for (;;)
    {
        uint8_t length = 0;
        if (!in.ReadByte(length))
            return false;
        if (length == 0)
            return true;
        if (!in.Skip(length))
            return false;
    }
}

bool ReadPalette(StreamReader& in, int bits, std::vector<C_Image::PaletteEntry>& palette)
{
    const size_t count = size_t(1) << bits;
    uint8_t rgb[3 * 256];
    if (!in.Read(rgb, 3 * count))
        return false;
    palette.resize(count);
    for (size_t i = 0; i < count; ++i)
        palette[i] = {0, rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
    return true;
}

uint32_t LoadCodeWord(const uint8_t* data, size_t dataLength, size_t byte)
{
    if (byte + 4 <= dataLength)
    {
        if constexpr (std::endian::native == std::endian::little)
        {
            uint32_t word;
            std::memcpy(&word, data + byte, 4);
            return word;
        }
    }
    uint32_t word = 0;
    for (size_t i = 0; i < 4 && byte + i < dataLength; ++i)
        word |= uint32_t(data[byte + i]) << (8 * i);
    return word;
}

// Expands the codes into `out` in stream order. `out` holds total + kCopySlack bytes; bytes past what
// is reported in `written` are scratch. Every string is copied from where it was last written, so no
// prefix chain is ever walked and each string's length is known and bounded by the table.
bool ExpandCodes(const uint8_t* data, size_t dataLength, uint8_t* out, size_t total, int minimumCodeSize,
                 size_t& written, const char** reason)
{
    uint32_t offsets[kMaxCodes];
    uint16_t lengths[kMaxCodes];

    const uint32_t clearCode = 1u << minimumCodeSize;
    const uint32_t endCode = clearCode + 1;
    uint32_t nextCode = clearCode + 2;
    int codeWidth = minimumCodeSize + 1;
    uint32_t widthLimit = 1u << codeWidth;
    uint32_t codeMask = widthLimit - 1;

    const uint64_t bitEnd = uint64_t(dataLength) * 8;
    uint64_t bitPosition = 0;
    bool havePrevious = false;
    size_t previousPosition = 0;
    uint32_t previousLength = 0;
    size_t position = 0;

    while (position < total)
    {
        if (bitPosition + uint64_t(codeWidth) > bitEnd)
        {
            written = position;
            return Fail(reason, "the image data ends before the image is complete");
        }
        const uint32_t code =
            (LoadCodeWord(data, dataLength, size_t(bitPosition >> 3)) >> (bitPosition & 7)) & codeMask;
        bitPosition += uint64_t(codeWidth);

        if (code == clearCode)
        {
            nextCode = clearCode + 2;
            codeWidth = minimumCodeSize + 1;
            widthLimit = 1u << codeWidth;
            codeMask = widthLimit - 1;
            havePrevious = false;
            continue;
        }
        if (code == endCode)
            break;

        uint32_t length;
        if (code < clearCode)
        {
            out[position] = static_cast<uint8_t>(code);
            length = 1;
        }
        else if (code < nextCode)
        {
            // A table entry always lies wholly before the current position.
            length = lengths[code];
            const uint8_t* source = out + offsets[code];
            if (length <= kCopySlack)
            {
                uint64_t low, high;
                std::memcpy(&low, source, 8);
                std::memcpy(&high, source + 8, 8);
                std::memcpy(out + position, &low, 8);
                std::memcpy(out + position + 8, &high, 8);
            }
            else
            {
                std::memcpy(out + position, source, std::min<size_t>(length, total - position));
            }
        }
        else if (code == nextCode && havePrevious)
        {
            // The string not yet in the table: the previous one (which ends right here) plus its own
            // first index.
            length = previousLength + 1;
            const size_t count = std::min<size_t>(length, total - position);
            const uint8_t* source = out + previousPosition;
            std::memcpy(out + position, source, std::min<size_t>(previousLength, count));
            if (count == length)
                out[position + previousLength] = source[0];
        }
        else
        {
            written = position;
            return Fail(reason, "an LZW code lies beyond the code table");
        }

        if (havePrevious && nextCode < uint32_t(kMaxCodes))
        {
            offsets[nextCode] = static_cast<uint32_t>(previousPosition);
            lengths[nextCode] = static_cast<uint16_t>(previousLength + 1);
            ++nextCode;
            if (nextCode >= widthLimit && codeWidth < kMaxCodeWidth)
            {
                ++codeWidth;
                widthLimit <<= 1;
                codeMask = widthLimit - 1;
            }
        }
        havePrevious = true;
        previousPosition = position;
        previousLength = length;
        position += length;
    }
    written = std::min(position, total);
    return true;
}

// The destination row of the n-th row in the data.
class RowOrder
{
public:
    RowOrder(int height, bool interlaced) : mHeight(height), mInterlaced(interlaced) {}

    int Next()
    {
        if (!mInterlaced)
            return mRow++;
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        while (mPass < 4)
        {
            const int row = kStart[mPass] + mIndex * kStep[mPass];
            if (row < mHeight)
            {
                ++mIndex;
                return row;
            }
            ++mPass;
            mIndex = 0;
        }
        return mHeight;
    }

private:
    int mHeight;
    bool mInterlaced;
    int mRow = 0;
    int mPass = 0;
    int mIndex = 0;
};

// Pastes the image's indices onto a screen-sized buffer through a 256-entry table, clipped to the screen.
template <class T>
void PasteImage(const C_Image& image, int screenWidth, int screenHeight, const T* table, T* screen)
{
    if (image.mLeft >= screenWidth || image.mTop >= screenHeight)
        return;
    const int columns = std::min(image.mWidth, screenWidth - image.mLeft);
    const int rows = std::min(image.mHeight, screenHeight - image.mTop);
    for (int y = 0; y < rows; ++y)
    {
        const uint8_t* source = image.mPixels.get() + size_t(y) * size_t(image.mStride);
        T* target = screen + (size_t(image.mTop) + size_t(y)) * size_t(screenWidth) + size_t(image.mLeft);
        for (int x = 0; x < columns; ++x)
            target[x] = table[source[x]];
    }
}

bool CoversScreen(const C_Image& image, int screenWidth, int screenHeight)
{
    return image.mLeft == 0 && image.mTop == 0 && image.mWidth >= screenWidth && image.mHeight >= screenHeight;
}

} // namespace

bool C_Image::Init(int width, int height, int bits)
{
    if (!IsSideInRange(width) || !IsSideInRange(height) || bits < 1 || bits > 8)
        return false;
    const int stride = (width + 3) & ~3;
    auto pixels = std::make_unique<uint8_t[]>(size_t(stride) * size_t(height));
    mPalette.assign(size_t(1) << bits, PaletteEntry{});
    mPixels = std::move(pixels);
    mWidth = width;
    mHeight = height;
    mBits = bits;
    mStride = stride;
    return true;
}

void C_ImageSet::AddImage(std::unique_ptr<C_Image> image)
{
    if (image)
        mImages.push_back(std::move(image));
}

const C_Image* C_ImageSet::GetImage(int index) const
{
    if (index < 0 || index >= GetImageCount())
        return nullptr;
    return mImages[size_t(index)].get();
}

bool C_ImageSet::ReadFirstImage(IStream* stream, const char** reason)
{
    mImages.clear();
    mScreenWidth = 0;
    mScreenHeight = 0;
    if (stream == nullptr)
        return Fail(reason, "there is no stream");

    StreamReader in(stream);
    uint8_t header[13];
    if (!in.Read(header, 6))
        return Fail(reason, "the file is shorter than a GIF signature");
    if (std::memcmp(header, "GIF87a", 6) != 0 && std::memcmp(header, "GIF89a", 6) != 0)
        return Fail(reason, "the file is not a GIF");
    if (!in.Read(header + 6, 7))
        return Fail(reason, "the screen descriptor is cut short");
    const int screenWidth = ReadLE16(header + 6);
    const int screenHeight = ReadLE16(header + 8);
    const uint8_t screenFlags = header[10];
    if (!IsSideInRange(screenWidth) || !IsSideInRange(screenHeight))
        return Fail(reason, "the screen size is 0 or too large");

    const int globalBits = (screenFlags & 7) + 1;
    std::vector<C_Image::PaletteEntry> globalPalette;
    if (screenFlags & 0x80)
    {
        if (!ReadPalette(in, globalBits, globalPalette))
            return Fail(reason, "the global palette is cut short");
    }
    else
    {
        globalPalette.resize(size_t(1) << globalBits);
        for (size_t i = 0; i < globalPalette.size(); ++i)
        {
            const auto grey = static_cast<uint8_t>(i);
            globalPalette[i] = {0, grey, grey, grey};
        }
    }

    bool haveControl = false;
    uint8_t controlFlags = 0;
    int controlDelay = 0;
    int controlTransparent = 0;
    for (;;)
    {
        uint8_t introducer = 0;
        if (!in.ReadByte(introducer) || introducer == 0x3B)
            return Fail(reason, "the file holds no image");
        if (introducer == 0x2C)
            break;
        if (introducer != 0x21)
            continue; // stray bytes between blocks are skipped
        uint8_t label = 0;
        if (!in.ReadByte(label))
            return Fail(reason, "an extension is cut short");
        if (label == 0xF9)
        {
            uint8_t size = 0;
            uint8_t body[255];
            if (!in.ReadByte(size) || !in.Read(body, size))
                return Fail(reason, "a graphic control extension is cut short");
            if (size >= 4)
            {
                haveControl = true;
                controlFlags = body[0];
                controlDelay = ReadLE16(body + 1);
                controlTransparent = body[3];
            }
        }
        if (!SkipSubBlocks(in))
            return Fail(reason, "an extension is cut short");
    }

    uint8_t descriptor[9];
    if (!in.Read(descriptor, sizeof(descriptor)))
        return Fail(reason, "the image descriptor is cut short");
    const int left = ReadLE16(descriptor);
    const int top = ReadLE16(descriptor + 2);
    const int width = ReadLE16(descriptor + 4);
    const int height = ReadLE16(descriptor + 6);
    const uint8_t imageFlags = descriptor[8];
    if (!IsSideInRange(width) || !IsSideInRange(height))
        return Fail(reason, "the image size is 0 or too large");

    auto image = std::make_unique<C_Image>();
    if (imageFlags & 0x80)
    {
        const int bits = (imageFlags & 7) + 1;
        if (!image->Init(width, height, bits) || !ReadPalette(in, bits, image->mPalette))
            return Fail(reason, "the local palette is cut short");
    }
    else
    {
        if (!image->Init(width, height, globalBits))
            return Fail(reason, "the image size is 0 or too large");
        image->mPalette = globalPalette;
    }
    image->mLeft = left;
    image->mTop = top;
    if (haveControl)
    {
        image->mTransparentIndex = (controlFlags & 1) ? controlTransparent : -1;
        image->mDelayMilliseconds = controlDelay * 10;
        image->mDisposal = ((controlFlags >> 2) & 7) != 0;
    }

    uint8_t minimumCodeSize = 0;
    if (!in.ReadByte(minimumCodeSize))
        return Fail(reason, "the image data is cut short");
    std::vector<uint8_t> data;
    for (;;)
    {
        uint8_t length = 0;
        if (!in.ReadByte(length))
            return Fail(reason, "the image data is cut short");
        if (length == 0)
            break;
        const size_t start = data.size();
        data.resize(start + length);
        if (!in.Read(data.data() + start, length))
            return Fail(reason, "the image data is cut short");
    }

    if (!LZWDecoder(data.data(), data.size(), image->mPixels.get(), minimumCodeSize, image->mStride, width, height,
                    (imageFlags & 0x40) != 0, reason))
        return false;

    mScreenWidth = screenWidth;
    mScreenHeight = screenHeight;
    AddImage(std::move(image));
    return true;
}

std::vector<Color32> C_ImageSet::LoadOpenFileGIF(IStream* stream, int& width, int& height, bool& hasTransparency,
                                                 int& imageCount, const char** reason)
{
    try
    {
        if (!ReadFirstImage(stream, reason))
            return {};
        const C_Image& image = *mImages.front();
        const size_t paletteMask = image.mPalette.size() - 1;
        Color32 table[256];
        for (size_t i = 0; i < 256; ++i)
        {
            const C_Image::PaletteEntry& entry = image.mPalette[i & paletteMask];
            const bool transparent = int(i & paletteMask) == image.mTransparentIndex;
            table[i] = Color32(entry.red, entry.green, entry.blue, transparent ? 0 : 255);
        }
        std::vector<Color32> screen(size_t(mScreenWidth) * size_t(mScreenHeight));
        PasteImage(image, mScreenWidth, mScreenHeight, table, screen.data());

        width = mScreenWidth;
        height = mScreenHeight;
        hasTransparency = image.mTransparentIndex != -1 || !CoversScreen(image, mScreenWidth, mScreenHeight);
        imageCount = GetImageCount();
        return screen;
    }
    catch (const std::bad_alloc&)
    {
        mImages.clear();
        Fail(reason, "there is not enough memory");
        return {};
    }
}

std::vector<uint8_t> C_ImageSet::LoadOpenFileGIFGrey(IStream* stream, int& width, int& height, int& imageCount,
                                                     const char** reason)
{
    try
    {
        if (!ReadFirstImage(stream, reason))
            return {};
        const C_Image& image = *mImages.front();
        const size_t paletteMask = image.mPalette.size() - 1;
        uint8_t table[256];
        for (size_t i = 0; i < 256; ++i)
        {
            const C_Image::PaletteEntry& entry = image.mPalette[i & paletteMask];
            table[i] = static_cast<uint8_t>((entry.red + entry.green + entry.blue) / 3);
        }
        std::vector<uint8_t> screen(size_t(mScreenWidth) * size_t(mScreenHeight));
        PasteImage(image, mScreenWidth, mScreenHeight, table, screen.data());

        width = mScreenWidth;
        height = mScreenHeight;
        imageCount = GetImageCount();
        return screen;
    }
    catch (const std::bad_alloc&)
    {
        mImages.clear();
        Fail(reason, "there is not enough memory");
        return {};
    }
}

bool LZWDecoder(const uint8_t* data, size_t dataLength, uint8_t* pixels, int minimumCodeSize, int stride, int width,
                int height, bool interlaced, const char** reason)
{
    if (pixels == nullptr || (data == nullptr && dataLength > 0))
        return Fail(reason, "there is no buffer");
    if (minimumCodeSize < 1 || minimumCodeSize > 11)
        return Fail(reason, "the LZW minimum code size is out of range");
    if (!IsSideInRange(width) || !IsSideInRange(height) || stride < width)
        return Fail(reason, "the image size is 0 or too large");

    const size_t total = size_t(width) * size_t(height);
    std::unique_ptr<uint8_t[]> linear;
    try
    {
        linear = std::make_unique<uint8_t[]>(total + kCopySlack);
    }
    catch (const std::bad_alloc&)
    {
        return Fail(reason, "there is not enough memory");
    }

    size_t written = 0;
    const bool expanded = ExpandCodes(data, dataLength, linear.get(), total, minimumCodeSize, written, reason);
    if (!expanded)
        return false;

    RowOrder order(height, interlaced);
    const uint8_t* source = linear.get();
    for (size_t done = 0; done < written; done += size_t(width), source += width)
    {
        const int row = order.Next();
        std::memcpy(pixels + size_t(row) * size_t(stride), source, std::min<size_t>(size_t(width), written - done));
    }
    return true;
}

} // namespace Strata
