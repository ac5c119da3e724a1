#pragma once

#include "core/Color.h"
#include "graphics/Image.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Strata
{

class IStream;

// One decoded GIF image: a palette index per pixel.
class C_Image
{
public:
    struct PaletteEntry
    {
        uint8_t reserved = 0;
        uint8_t red = 0;
        uint8_t green = 0;
        uint8_t blue = 0;
    };

    // Allocates the pixels (all index 0) and a palette of 2^bits entries (all black). Returns false,
    // changing nothing, when a side is not within 1..kMaxImageSide or bits is not within 1..8.
    bool Init(int width, int height, int bits);

    int mWidth = 0;
    int mHeight = 0;
    int mBits = 0;
    // mStride × mHeight indices, rows top to bottom.
    std::unique_ptr<uint8_t[]> mPixels;
    std::vector<PaletteEntry> mPalette;
    // Bytes per row: the width raised to the next multiple of 4.
    int mStride = 0;
    int mTransparentIndex = -1;
    int mLeft = 0;
    int mTop = 0;
    int mDelayMilliseconds = 0;
    bool mDisposal = false;
};

// Decodes the first image of a GIF (87a or 89a) and lays it onto the file's logical screen.
//
// Decoding never throws and keeps no state between calls, so several threads may decode at once, each
// with its own set. A failed decode returns null and, when `reason` is given, points it at a short
// static text saying why; the decoder itself writes no log line (its callers name the file).
class C_ImageSet
{
public:
    C_ImageSet() = default;
    C_ImageSet(const C_ImageSet&) = delete;
    C_ImageSet& operator=(const C_ImageSet&) = delete;

    // Reads the stream from its current position. Returns the logical screen as width × height pixels,
    // cleared to 0 (transparent black) and with the first image pasted at its
    // position, clipped to the screen: each index becomes its palette colour with alpha 255, or alpha 0
    // on the transparent index. hasTransparency is true when any pixel may be transparent: the file has
    // a transparent index, or the image does not cover the whole screen.
    // Empty when the stream is null, is not a GIF, holds no image or is damaged; the out-parameters are
    // then unchanged and the set holds no image.
    std::vector<Color32> LoadOpenFileGIF(IStream* stream, int& width, int& height, bool& hasTransparency,
                                         int& imageCount, const char** reason = nullptr);
    // As LoadOpenFileGIF, but one byte per pixel: the grey level (red + green + blue) / 3 of each index's
    // palette colour; 0 outside the image. Transparency plays no part.
    std::vector<uint8_t> LoadOpenFileGIFGrey(IStream* stream, int& width, int& height, int& imageCount,
                                             const char** reason = nullptr);

    // Takes ownership; a null image is ignored.
    void AddImage(std::unique_ptr<C_Image> image);
    int GetImageCount() const { return static_cast<int>(mImages.size()); }
    // Null when the index is out of range.
    const C_Image* GetImage(int index) const;
    int GetScreenWidth() const { return mScreenWidth; }
    int GetScreenHeight() const { return mScreenHeight; }

private:
    // Reads up to and including the first image into the set. False (with the reason) on any failure.
    bool ReadFirstImage(IStream* stream, const char** reason);

    int mScreenWidth = 0;
    int mScreenHeight = 0;
    std::vector<std::unique_ptr<C_Image>> mImages;
};

// Expands GIF LZW data (variable-width codes, least significant bit first) into width × height palette
// indices written row by row at `stride` bytes per row, in the four interlace passes when `interlaced`.
// The code tables live on this call's stack. Succeeds on the end code or once every pixel is written;
// pixels not reached by then keep their values. Fails, with a static reason, when the arguments are out of
// range (minimumCodeSize not within 1..11, a side not within 1..kMaxImageSide, stride below width), when
// the data ends before the image is complete, when a code lies beyond the next free table entry, or
// when the first code after a clear is not a plain index. `data` is read only within dataLength bytes.
bool LZWDecoder(const uint8_t* data, size_t dataLength, uint8_t* pixels, int minimumCodeSize, int stride, int width,
                int height, bool interlaced, const char** reason = nullptr);

} // namespace Strata
