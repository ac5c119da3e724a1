#include "graphics/GifDecoder.h"

#include "core/MemoryStream.h"

#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace Strata;
using ImageFixtures::ChunkedStream;

namespace
{

const Color32 kBlack(0, 0, 0, 255);
const Color32 kRed(255, 0, 0, 255);
const Color32 kGreen(0, 255, 0, 255);
const Color32 kBlue(0, 0, 255, 255);
const Color32 kFour[4] = {kBlack, kRed, kGreen, kBlue};

struct Colour
{
    std::vector<Color32> pixels;
    int width = -1;
    int height = -1;
    bool hasTransparency = false;
    int imageCount = -1;
    const char* reason = nullptr;
};

Colour DecodeBytes(const std::string& bytes)
{
    ReadOnlyMemoryStream stream(L"test.gif", bytes.data(), bytes.size());
    C_ImageSet set;
    Colour out;
    out.pixels = set.LoadOpenFileGIF(&stream, out.width, out.height, out.hasTransparency, out.imageCount, &out.reason);
    return out;
}

Colour Decode(const std::string& fixture)
{
    return DecodeBytes(ImageFixtures::Read(fixture));
}

std::vector<Color32> Expand(const std::vector<int>& indices, const Color32* palette)
{
    std::vector<Color32> out;
    for (int index : indices)
        out.push_back(palette[index]);
    return out;
}

// Packs LZW codes at the widths a GIF decoder reads them: the width grows as the table fills.
class CodePacker
{
public:
    explicit CodePacker(int minimumCodeSize) : mMinimumCodeSize(minimumCodeSize) { Reset(); }

    void Clear()
    {
        Put(1u << mMinimumCodeSize);
        Reset();
    }
    void End() { Put((1u << mMinimumCodeSize) + 1); }
    // A data code; every one after the first since a clear adds a table entry.
    void Code(uint32_t code)
    {
        Put(code);
        if (mHavePrevious && mNext < 4096)
        {
            ++mNext;
            if (mNext >= (1u << mWidth) && mWidth < 12)
                ++mWidth;
        }
        mHavePrevious = true;
    }
    uint32_t NextCode() const { return mNext; }
    // Exactly the bytes written, on the heap, so reading past them is caught.
    std::vector<uint8_t> Bytes()
    {
        std::vector<uint8_t> out = mBytes;
        if (mBits > 0)
            out.push_back(static_cast<uint8_t>(mAccumulator));
        return out;
    }

private:
    void Reset()
    {
        mWidth = mMinimumCodeSize + 1;
        mNext = (1u << mMinimumCodeSize) + 2;
        mHavePrevious = false;
    }
    void Put(uint32_t code)
    {
        mAccumulator |= uint64_t(code) << mBits;
        mBits += mWidth;
        while (mBits >= 8)
        {
            mBytes.push_back(static_cast<uint8_t>(mAccumulator));
            mAccumulator >>= 8;
            mBits -= 8;
        }
    }

    int mMinimumCodeSize;
    int mWidth = 0;
    uint32_t mNext = 0;
    bool mHavePrevious = false;
    std::vector<uint8_t> mBytes;
    uint64_t mAccumulator = 0;
    int mBits = 0;
};

} // namespace

TEST(GifDecoderFiles, PlainInterlacedAndLocalPaletteImagesGiveTheirExactPixels)
{
    const Colour basic = Decode("gif_basic.gif");
    EXPECT_EQ(basic.width, 4);
    EXPECT_EQ(basic.height, 3);
    EXPECT_FALSE(basic.hasTransparency);
    EXPECT_EQ(basic.imageCount, 1);
    EXPECT_EQ(basic.pixels, Expand({0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2}, kFour));

    // Eleven rows fill all four interlace passes; each index is (x + y) mod 8.
    Color32 ramp[8];
    for (int i = 0; i < 8; ++i)
        ramp[i] = Color32(uint8_t(i * 30), uint8_t(255 - i * 30), uint8_t(i * 10), 255);
    const Colour interlaced = Decode("gif_interlaced.gif");
    ASSERT_EQ(interlaced.pixels.size(), 33u);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(interlaced.pixels[size_t(y * 3 + x)], ramp[(x + y) % 8]) << x << "," << y;

    // Three rows arrive as rows 0, 2, 1.
    EXPECT_EQ(Decode("gif_interlaced3.gif").pixels, Expand({1, 1, 2, 2, 3, 3}, kFour));

    const Color32 local[4] = {{200, 0, 0, 255}, {0, 200, 0, 255}, {0, 0, 200, 255}, {200, 200, 0, 255}};
    EXPECT_EQ(Decode("gif_local_palette.gif").pixels, Expand({0, 1, 2, 3, 0, 1}, local));

    // No palette at all: index i is the grey (i, i, i).
    EXPECT_EQ(Decode("gif_no_palette.gif").pixels,
              (std::vector<Color32>{{0, 0, 0, 255}, {17, 17, 17, 255}, {128, 128, 128, 255}, {255, 255, 255, 255}}));

    const Color32 blackWhite[2] = {kBlack, {255, 255, 255, 255}};
    EXPECT_EQ(Decode("gif_code_size_1.gif").pixels, Expand({1, 0, 1, 0}, blackWhite));
}

TEST(GifDecoderFiles, TransparentIndexClearsOnlyItsAlphaAndKeepsTheColour)
{
    const std::string bytes = ImageFixtures::Read("gif_transparent.gif");
    ReadOnlyMemoryStream stream(L"t.gif", bytes.data(), bytes.size());
    C_ImageSet set;
    int width = 0, height = 0, count = 0;
    bool transparency = false;
    const std::vector<Color32> pixels = set.LoadOpenFileGIF(&stream, width, height, transparency, count);
    ASSERT_EQ(pixels.size(), 16u);
    EXPECT_TRUE(transparency);
    for (int y = 0; y < 4; ++y)
    {
        for (int x = 0; x < 4; ++x)
        {
            const int index = (x + y) % 4;
            const Color32 expected = index == 3 ? Color32(0, 0, 255, 0) : kFour[index];
            EXPECT_EQ(pixels[size_t(y * 4 + x)], expected) << x << "," << y;
        }
    }
    // The graphic control extension came after a comment extension.
    const C_Image* image = set.GetImage(0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->mTransparentIndex, 3);
    EXPECT_EQ(image->mDelayMilliseconds, 70);
    EXPECT_TRUE(image->mDisposal);
    EXPECT_EQ(image->mStride, 4);
    EXPECT_EQ(set.GetImage(1), nullptr);

    // Grey mode ignores transparency.
    ReadOnlyMemoryStream again(L"t.gif", bytes.data(), bytes.size());
    const std::vector<uint8_t> grey = set.LoadOpenFileGIFGrey(&again, width, height, count);
    ASSERT_EQ(grey.size(), 16u);
    EXPECT_EQ(grey[3], 85); // index 3 is pure blue
}

TEST(GifDecoderFiles, FirstFrameIsPastedClippedOntoAClearedScreen)
{
    // The first of two frames covers 3 × 2 of a 6 × 4 screen at (2, 1); the second is never read.
    const Colour frames = Decode("gif_multiframe.gif");
    EXPECT_EQ(frames.width, 6);
    EXPECT_EQ(frames.height, 4);
    EXPECT_EQ(frames.imageCount, 1);
    EXPECT_TRUE(frames.hasTransparency); // the uncovered screen is transparent
    std::vector<Color32> expected(24);
    const int first[6] = {1, 2, 3, 3, 2, 1};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            expected[size_t((1 + y) * 6 + 2 + x)] = kFour[first[y * 3 + x]];
    EXPECT_EQ(frames.pixels, expected);

    // A 3 × 3 image at (2, 1) overhangs a 4 × 3 screen: only its top-left 2 × 2 shows.
    const Colour overhang = Decode("gif_overhang.gif");
    EXPECT_EQ(overhang.width, 4);
    EXPECT_EQ(overhang.height, 3);
    std::vector<Color32> clipped(12);
    clipped[6] = kRed;
    clipped[7] = kGreen;
    clipped[10] = kGreen;
    clipped[11] = kBlue;
    EXPECT_EQ(overhang.pixels, clipped);
}

TEST(GifDecoderFiles, DamagedFilesGiveNothingWithAReasonAndWriteNoLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"bad_truncated.gif", "cut short"},   {"bad_signature.gif", "not a GIF"},
        {"bad_zero_width.gif", "image size"}, {"bad_huge_screen.gif", "screen size"},
        {"bad_code_size_0.gif", "code size"}, {"bad_code_size_12.gif", "code size"},
        {"bad_code_beyond.gif", "beyond"},    {"bad_no_image.gif", "no image"},
        {"bad_palette_short.gif", "palette"}};
    for (const auto& [name, why] : cases)
    {
        SCOPED_TRACE(name);
        Colour result;
        const auto lines = ImageFixtures::LogLines([&] { result = Decode(name); });
        EXPECT_TRUE(result.pixels.empty());
        ASSERT_NE(result.reason, nullptr);
        EXPECT_NE(std::string(result.reason).find(why), std::string::npos) << result.reason;
        EXPECT_EQ(result.width, -1); // out-parameters untouched
        EXPECT_EQ(result.imageCount, -1);
        EXPECT_TRUE(lines.empty());
    }

    // Every prefix of a good file fails cleanly, as does a null stream.
    const std::string good = ImageFixtures::Read("gif_transparent.gif");
    for (size_t length = 0; length + 1 < good.size(); ++length)
        EXPECT_TRUE(DecodeBytes(good.substr(0, length)).pixels.empty()) << length;
    C_ImageSet set;
    int width = 0, height = 0, count = 0;
    bool transparency = false;
    EXPECT_TRUE(set.LoadOpenFileGIF(nullptr, width, height, transparency, count).empty());
    EXPECT_EQ(set.GetImageCount(), 0);
}

TEST(GifDecoderFiles, ShortReadsAreFollowedAndAStalledStreamEndsTheDecode)
{
    const std::string bytes = ImageFixtures::Read("gif_interlaced.gif");
    const std::vector<Color32> whole = DecodeBytes(bytes).pixels;
    ASSERT_FALSE(whole.empty());

    ChunkedStream trickle(bytes, 1);
    C_ImageSet set;
    int width = 0, height = 0, count = 0;
    bool transparency = false;
    EXPECT_EQ(set.LoadOpenFileGIF(&trickle, width, height, transparency, count), whole);

    ChunkedStream stalled(bytes, 7, bytes.size() / 2);
    const char* reason = nullptr;
    EXPECT_TRUE(set.LoadOpenFileGIF(&stalled, width, height, transparency, count, &reason).empty());
    EXPECT_NE(reason, nullptr);
    EXPECT_LT(stalled.GetReadCount(), 20);
}

TEST(GifDecoderFiles, TwoThreadsDecodeAtOnceWithoutDisturbingEachOther)
{
    const std::vector<Color32> interlaced = Decode("gif_interlaced.gif").pixels;
    const std::vector<Color32> transparent = Decode("gif_transparent.gif").pixels;
    std::atomic<int> mismatches{0};
    auto run = [&](const char* name, const std::vector<Color32>& expected)
    {
        const std::string bytes = ImageFixtures::Read(name);
        for (int i = 0; i < 200; ++i)
            if (DecodeBytes(bytes).pixels != expected)
                ++mismatches;
    };
    std::thread first(run, "gif_interlaced.gif", std::cref(interlaced));
    std::thread second(run, "gif_transparent.gif", std::cref(transparent));
    first.join();
    second.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST(LZWDecoder, LongStringsFillTheTableWhichThenStopsGrowingUntilAClear)
{
    // A run of index 3 coded as ever longer strings (each code the one not yet in the table) up to the
    // last entry, 4095. With the table full, codes stay 12 bits wide and no entry is added: a plain
    // index and entry 4095 again decode as before. A clear then brings back 3-bit codes.
    CodePacker packer(2);
    packer.Clear();
    packer.Code(3);
    size_t expectedLength = 1;
    while (packer.NextCode() < 4096)
    {
        expectedLength += packer.NextCode() - 4;
        packer.Code(packer.NextCode());
    }
    const size_t markerAt = expectedLength;
    packer.Code(1);
    packer.Code(4095);
    packer.Clear();
    packer.Code(2);
    packer.End();
    const size_t total = markerAt + 1 + 4091 + 1;
    ASSERT_EQ(markerAt, 4091u * 4092u / 2u);

    const int width = 4096;
    const int height = static_cast<int>((total + width - 1) / width);
    std::vector<uint8_t> pixels(size_t(width) * size_t(height), 0xEE);
    const std::vector<uint8_t> data = packer.Bytes();
    const char* reason = nullptr;
    ASSERT_TRUE(LZWDecoder(data.data(), data.size(), pixels.data(), 2, width, width, height, false, &reason)) << reason;
    EXPECT_EQ(pixels[markerAt], 1);
    EXPECT_EQ(pixels[total - 1], 2);
    EXPECT_EQ(size_t(std::count(pixels.begin(), pixels.begin() + long(total), 3)), total - 2);
    // The end code came early: the pixels after it keep their values.
    EXPECT_TRUE(std::all_of(pixels.begin() + long(total), pixels.end(), [](uint8_t p) { return p == 0xEE; }));
}

TEST(LZWDecoder, BadStreamsFailWithoutReadingPastTheData)
{
    std::vector<uint8_t> pixels(16, 0);
    const char* reason = nullptr;

    // The first code after a clear names the next free entry: nothing to build it from.
    CodePacker noPrevious(2);
    noPrevious.Clear();
    noPrevious.Code(6);
    std::vector<uint8_t> data = noPrevious.Bytes();
    EXPECT_FALSE(LZWDecoder(data.data(), data.size(), pixels.data(), 2, 4, 4, 4, false, &reason));

    // A code beyond the next free entry.
    CodePacker beyond(3);
    beyond.Clear();
    beyond.Code(1);
    beyond.Code(5);
    beyond.Code(12); // the next free entry is 11
    data = beyond.Bytes();
    reason = nullptr;
    EXPECT_FALSE(LZWDecoder(data.data(), data.size(), pixels.data(), 3, 4, 4, 4, false, &reason));
    EXPECT_NE(reason, nullptr);

    // Data that ends before the image is complete; the buffer is exactly the data, so any read past it
    // is caught by the address sanitizer.
    CodePacker shortData(2);
    shortData.Clear();
    for (int i = 0; i < 5; ++i)
        shortData.Code(1);
    const std::vector<uint8_t> bytes = shortData.Bytes();
    auto exact = std::make_unique<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    EXPECT_FALSE(LZWDecoder(exact.get(), bytes.size(), pixels.data(), 2, 4, 4, 4, false));
    EXPECT_FALSE(LZWDecoder(nullptr, 0, pixels.data(), 2, 4, 4, 4, false));

    // Arguments out of range.
    EXPECT_FALSE(LZWDecoder(exact.get(), bytes.size(), pixels.data(), 0, 4, 4, 4, false));
    EXPECT_FALSE(LZWDecoder(exact.get(), bytes.size(), pixels.data(), 12, 4, 4, 4, false));
    EXPECT_FALSE(LZWDecoder(exact.get(), bytes.size(), pixels.data(), 2, 3, 4, 4, false)); // stride < width
    EXPECT_FALSE(LZWDecoder(exact.get(), bytes.size(), pixels.data(), 2, 9000, 9000, 1, false));
    EXPECT_FALSE(LZWDecoder(exact.get(), bytes.size(), nullptr, 2, 4, 4, 4, false));
}

TEST(LZWDecoder, RowsGoToTheirStrideAndInterlacePassesLeavePaddingAlone)
{
    // 3 × 5, index = row number, with a 4-byte stride: the padding column keeps its value.
    CodePacker packer(2);
    packer.Clear();
    // Interlaced data order is rows 0, 4, 2, 1, 3.
    for (int row : {0, 4, 2, 1, 3})
    {
        for (int x = 0; x < 3; ++x)
        {
            if (packer.NextCode() >= 7)
                packer.Clear();
            packer.Code(uint32_t(row % 4));
        }
    }
    packer.End();
    const std::vector<uint8_t> data = packer.Bytes();
    std::vector<uint8_t> pixels(20, 0xEE);
    ASSERT_TRUE(LZWDecoder(data.data(), data.size(), pixels.data(), 2, 4, 3, 5, true));
    for (int y = 0; y < 5; ++y)
    {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(pixels[size_t(y * 4 + x)], y % 4) << x << "," << y;
        EXPECT_EQ(pixels[size_t(y * 4 + 3)], 0xEE) << y;
    }
}
