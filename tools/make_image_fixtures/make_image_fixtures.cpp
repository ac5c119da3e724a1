// Writes the small image files that the graphics tests decode, and seeds the GIF fuzz corpus.
//
//   make_image_fixtures <fixtures folder> <gif fuzz corpus folder>
//
// Well-formed GIFs are written by giflib, PNG and JPEG files by stb_image_write, so the engine's decoders
// are checked against other encoders. Files no encoder would write (damaged ones, GIFs without any
// palette, images that overhang the screen) come from a raw writer below. Every pixel value is chosen
// here, and the tests expect exactly these values.

#include <gif_lib.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

struct Rgb
{
    uint8_t r, g, b;
};

std::string gFixtures;
std::string gCorpus;

void Save(const std::string& folder, const std::string& name, const Bytes& bytes)
{
    std::ofstream file(folder + "/" + name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + folder + "/" + name);
    std::printf("%-32s %5zu bytes\n", name.c_str(), bytes.size());
}

void Fixture(const std::string& name, const Bytes& bytes)
{
    Save(gFixtures, name, bytes);
}

// --- giflib ------------------------------------------------------------------------------------

int WriteToVector(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

void Check(int result, const char* what)
{
    if (result != GIF_OK)
        throw std::runtime_error(std::string("giflib failed: ") + what);
}

ColorMapObject* MakeMap(const std::vector<Rgb>& colours)
{
    std::vector<GifColorType> entries;
    for (const Rgb& c : colours)
        entries.push_back({c.r, c.g, c.b});
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(entries.size()), entries.data());
    if (map == nullptr)
        throw std::runtime_error("GifMakeMapObject failed");
    return map;
}

struct Frame
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    std::vector<Rgb> localPalette; // empty: the global one
    int transparentIndex = -1;     // with delay and disposal, written as a graphic control extension
    int delay = 0;
    int disposal = 0;
    bool control = false;
    const char* comment = nullptr;
    std::vector<uint8_t> indices; // width × height, rows top to bottom
};

Bytes EncodeGif(int screenWidth, int screenHeight, const std::vector<Rgb>& globalPalette,
                const std::vector<Frame>& frames)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    if (gif == nullptr)
        throw std::runtime_error("EGifOpen failed");
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = globalPalette.empty() ? nullptr : MakeMap(globalPalette);
    Check(EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, global), "screen");
    for (const Frame& frame : frames)
    {
        if (frame.comment != nullptr)
            Check(EGifPutComment(gif, frame.comment), "comment");
        if (frame.control)
        {
            GraphicsControlBlock block{};
            block.DisposalMode = frame.disposal;
            block.UserInputFlag = false;
            block.DelayTime = frame.delay;
            block.TransparentColor = frame.transparentIndex;
            GifByteType bytes[4];
            const size_t length = EGifGCBToExtension(&block, bytes);
            Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), bytes), "control");
        }
        ColorMapObject* local = frame.localPalette.empty() ? nullptr : MakeMap(frame.localPalette);
        Check(EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, local),
              "image");
        GifFreeMapObject(local);
        // giflib writes lines in the order given: an interlaced image wants its rows pass by pass.
        std::vector<int> order;
        if (frame.interlaced)
        {
            const int starts[4] = {0, 4, 2, 1};
            const int steps[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int row = starts[pass]; row < frame.height; row += steps[pass])
                    order.push_back(row);
        }
        else
        {
            for (int row = 0; row < frame.height; ++row)
                order.push_back(row);
        }
        for (int row : order)
        {
            std::vector<GifPixelType> line(frame.indices.begin() + row * frame.width,
                                           frame.indices.begin() + (row + 1) * frame.width);
            Check(EGifPutLine(gif, line.data(), frame.width), "line");
        }
    }
    GifFreeMapObject(global);
    Check(EGifCloseFile(gif, &error), "close");
    return out;
}

// --- raw GIF writer ----------------------------------------------------------------------------

void Put16(Bytes& out, int value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// Packs codes least significant bit first.
class BitPacker
{
public:
    void Put(uint32_t code, int width)
    {
        mAccumulator |= uint64_t(code) << mBits;
        mBits += width;
        while (mBits >= 8)
        {
            mBytes.push_back(static_cast<uint8_t>(mAccumulator & 0xFF));
            mAccumulator >>= 8;
            mBits -= 8;
        }
    }
    Bytes Finish()
    {
        if (mBits > 0)
            mBytes.push_back(static_cast<uint8_t>(mAccumulator & 0xFF));
        mAccumulator = 0;
        mBits = 0;
        return mBytes;
    }

private:
    Bytes mBytes;
    uint64_t mAccumulator = 0;
    int mBits = 0;
};

// Every index as a plain code, with a clear code before the table would make the codes wider (before
// every index for a code size of 1), then the end code: valid LZW that compresses nothing.
Bytes LiteralCodes(const std::vector<uint8_t>& indices, int minimumCodeSize)
{
    const uint32_t clear = 1u << minimumCodeSize;
    const int width = minimumCodeSize + 1;
    const size_t run = std::max<size_t>(1, clear - 2);
    BitPacker packer;
    for (size_t i = 0; i < indices.size(); ++i)
    {
        if (i % run == 0)
            packer.Put(clear, width);
        packer.Put(indices[i], width);
    }
    packer.Put(clear + 1, width);
    return packer.Finish();
}

void PutSubBlocks(Bytes& out, const Bytes& data)
{
    for (size_t i = 0; i < data.size(); i += 255)
    {
        const size_t length = std::min<size_t>(255, data.size() - i);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(i + length));
    }
    out.push_back(0);
}

void PutPalette(Bytes& out, const std::vector<Rgb>& palette)
{
    for (const Rgb& c : palette)
    {
        out.push_back(c.r);
        out.push_back(c.g);
        out.push_back(c.b);
    }
}

int BitsFor(size_t paletteSize)
{
    int bits = 1;
    while ((size_t(1) << bits) < paletteSize)
        ++bits;
    return bits;
}

struct RawGif
{
    int screenWidth = 0;
    int screenHeight = 0;
    std::vector<Rgb> globalPalette; // empty: none
    int screenBits = 8;             // the screen's colour bits when there is no global palette
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int minimumCodeSize = 8;
    std::vector<uint8_t> indices;
    Bytes lzw; // used instead of the literal codes of `indices` when not empty
};

Bytes WriteRaw(const RawGif& gif)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, gif.screenWidth);
    Put16(out, gif.screenHeight);
    if (gif.globalPalette.empty())
        out.push_back(static_cast<uint8_t>(0x70 | (gif.screenBits - 1)));
    else
        out.push_back(static_cast<uint8_t>(0xF0 | (BitsFor(gif.globalPalette.size()) - 1)));
    out.push_back(0);
    out.push_back(0);
    PutPalette(out, gif.globalPalette);
    out.push_back(0x2C);
    Put16(out, gif.left);
    Put16(out, gif.top);
    Put16(out, gif.width);
    Put16(out, gif.height);
    out.push_back(0);
    out.push_back(static_cast<uint8_t>(gif.minimumCodeSize));
    PutSubBlocks(out, gif.lzw.empty() ? LiteralCodes(gif.indices, gif.minimumCodeSize) : gif.lzw);
    out.push_back(0x3B);
    return out;
}

// --- PNG and JPEG ------------------------------------------------------------------------------

void WriteToBytes(void* context, void* data, int size)
{
    auto* out = static_cast<Bytes*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

Bytes EncodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels)
{
    Bytes out;
    if (!stbi_write_png_to_func(WriteToBytes, &out, width, height, channels, pixels.data(), width * channels))
        throw std::runtime_error("stbi_write_png_to_func failed");
    return out;
}

Bytes EncodeJpeg(int width, int height, const std::vector<uint8_t>& rgb)
{
    Bytes out;
    if (!stbi_write_jpg_to_func(WriteToBytes, &out, width, height, 3, rgb.data(), 100))
        throw std::runtime_error("stbi_write_jpg_to_func failed");
    return out;
}

Bytes Truncated(Bytes bytes, size_t length)
{
    bytes.resize(length);
    return bytes;
}

// --- the fixtures --------------------------------------------------------------------------------

const std::vector<Rgb> kFour = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

Frame FullFrame(int width, int height, std::vector<uint8_t> indices)
{
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.indices = std::move(indices);
    return frame;
}

void WriteGifs()
{
    const Bytes basic = EncodeGif(4, 3, kFour, {FullFrame(4, 3, {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2})});
    Fixture("gif_basic.gif", basic);
    Save(gCorpus, "basic.gif", basic);

    // Eleven rows fill all four interlace passes; each index is (x + y) mod 8.
    {
        std::vector<Rgb> palette;
        for (int i = 0; i < 8; ++i)
            palette.push_back({uint8_t(i * 30), uint8_t(255 - i * 30), uint8_t(i * 10)});
        Frame frame = FullFrame(3, 11, {});
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 3; ++x)
                frame.indices.push_back(uint8_t((x + y) % 8));
        frame.interlaced = true;
        const Bytes bytes = EncodeGif(3, 11, palette, {frame});
        Fixture("gif_interlaced.gif", bytes);
        Save(gCorpus, "interlaced.gif", bytes);
    }
    {
        Frame frame = FullFrame(2, 3, {1, 1, 2, 2, 3, 3});
        frame.interlaced = true;
        Fixture("gif_interlaced3.gif", EncodeGif(2, 3, kFour, {frame}));
    }
    // Transparent index 3, after a comment extension; (x + y) mod 4.
    {
        Frame frame = FullFrame(4, 4, {});
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                frame.indices.push_back(uint8_t((x + y) % 4));
        frame.control = true;
        frame.transparentIndex = 3;
        frame.delay = 7;
        frame.disposal = 2;
        frame.comment = "made for the tests";
        const Bytes bytes = EncodeGif(4, 4, kFour, {frame});
        Fixture("gif_transparent.gif", bytes);
        Fixture("tmask.gif", bytes);
        Save(gCorpus, "transparent.gif", bytes);
    }
    // A local palette over a two-colour global one.
    {
        Frame frame = FullFrame(3, 2, {0, 1, 2, 3, 0, 1});
        frame.localPalette = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 0}};
        const Bytes bytes = EncodeGif(3, 2, {{10, 10, 10}, {20, 20, 20}}, {frame});
        Fixture("gif_local_palette.gif", bytes);
        Save(gCorpus, "local_palette.gif", bytes);
    }
    // Two frames: the first covers part of the screen; the second would cover all of it.
    {
        Frame first = FullFrame(3, 2, {1, 2, 3, 3, 2, 1});
        first.left = 2;
        first.top = 1;
        Frame second = FullFrame(6, 4, std::vector<uint8_t>(24, 2));
        const Bytes bytes = EncodeGif(6, 4, kFour, {first, second});
        Fixture("gif_multiframe.gif", bytes);
        Save(gCorpus, "multiframe.gif", bytes);
    }

    // No palette anywhere: index i is the grey (i, i, i).
    {
        RawGif gif;
        gif.screenWidth = gif.width = 2;
        gif.screenHeight = gif.height = 2;
        gif.indices = {0, 17, 128, 255};
        Fixture("gif_no_palette.gif", WriteRaw(gif));
    }
    // An image that overhangs a 4 × 3 screen at (2, 1): only its top-left 2 × 2 shows.
    {
        RawGif gif;
        gif.screenWidth = 4;
        gif.screenHeight = 3;
        gif.globalPalette = kFour;
        gif.minimumCodeSize = 2;
        gif.left = 2;
        gif.top = 1;
        gif.width = 3;
        gif.height = 3;
        gif.indices = {1, 2, 3, 2, 3, 1, 3, 1, 2};
        const Bytes bytes = WriteRaw(gif);
        Fixture("gif_overhang.gif", bytes);
        Save(gCorpus, "overhang.gif", bytes);
    }
    // The smallest code size the decoder takes, with a clear code before every index.
    {
        RawGif gif;
        gif.screenWidth = gif.width = 4;
        gif.screenHeight = gif.height = 1;
        gif.globalPalette = {{0, 0, 0}, {255, 255, 255}};
        gif.minimumCodeSize = 1;
        gif.indices = {1, 0, 1, 0};
        Fixture("gif_code_size_1.gif", WriteRaw(gif));
    }

    // Damaged files.
    Fixture("bad_truncated.gif", Truncated(basic, basic.size() - 6));
    {
        Bytes bytes = basic;
        bytes[4] = '8';
        Fixture("bad_signature.gif", bytes);
    }
    {
        RawGif gif;
        gif.screenWidth = 4;
        gif.screenHeight = 3;
        gif.globalPalette = kFour;
        gif.minimumCodeSize = 2;
        gif.width = 0;
        gif.height = 3;
        Fixture("bad_zero_width.gif", WriteRaw(gif));
        gif.width = 4;
        gif.indices = std::vector<uint8_t>(12, 1);
        gif.screenWidth = 9000;
        Fixture("bad_huge_screen.gif", WriteRaw(gif));
        gif.screenWidth = 4;
        gif.minimumCodeSize = 0;
        gif.lzw = {0x00, 0x00};
        Fixture("bad_code_size_0.gif", WriteRaw(gif));
        gif.minimumCodeSize = 12;
        Fixture("bad_code_size_12.gif", WriteRaw(gif));
        gif.minimumCodeSize = 2;
        BitPacker packer; // clear, 1, then code 7 while the next free code is 6
        packer.Put(4, 3);
        packer.Put(1, 3);
        packer.Put(7, 3);
        gif.lzw = packer.Finish();
        Fixture("bad_code_beyond.gif", WriteRaw(gif));
    }
    Fixture("bad_no_image.gif", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B});
    Fixture("bad_palette_short.gif", {'G', 'I', 'F', '8', '7', 'a', 2, 0, 2, 0, 0xF7, 0, 0, 1, 2, 3, 4, 5, 6});
}

void WritePngsAndJpegs()
{
    // 3 × 2 RGBA with four different alphas.
    const std::vector<uint8_t> rgba = {255, 0,  0,  255, 0,  255, 0,  128, 0,  0,   255, 0,
                                       10,  20, 30, 40,  50, 60,  70, 80,  90, 100, 110, 255};
    Fixture("png_rgba.png", EncodePng(3, 2, 4, rgba));
    const std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 50, 60, 70, 90, 100, 110};
    Fixture("png_rgb.png", EncodePng(3, 2, 3, rgb));
    Fixture("png_grey.png", EncodePng(3, 2, 1, {0, 51, 102, 153, 204, 255}));
    // A uniform colour survives JPEG coding at full quality.
    std::vector<uint8_t> jpeg;
    for (int i = 0; i < 64; ++i)
        jpeg.insert(jpeg.end(), {200, 100, 50});
    const Bytes jpegBytes = EncodeJpeg(8, 8, jpeg);
    Fixture("jpg_basic.jpg", jpegBytes);

    Fixture("bad_truncated.png", Truncated(EncodePng(3, 2, 4, rgba), 40));
    Fixture("bad_truncated.jpg", Truncated(jpegBytes, jpegBytes.size() / 2));
    Fixture("bad_not_png.png", EncodeGif(4, 3, kFour, {FullFrame(4, 3, std::vector<uint8_t>(12, 1))}));
}

void WriteMasks()
{
    // A GIF mask: grey levels 0, 85 (from pure red), 255 and 120.
    const std::vector<Rgb> maskPalette = {{0, 0, 0}, {255, 0, 0}, {255, 255, 255}, {90, 120, 150}};
    Fixture("masked_mask.gif", EncodeGif(4, 2, maskPalette, {FullFrame(4, 2, {0, 1, 2, 3, 3, 2, 1, 0})}));

    // An RGBA PNG mask, a grey PNG mask for the transparent GIF, and an RGB PNG mask without alpha.
    Fixture("pngmasked_mask.png",
            EncodePng(3, 2, 4, {9, 9, 9, 10, 9, 9, 9, 20, 9, 9, 9, 30, 9, 9, 9, 40, 9, 9, 9, 50, 9, 9, 9, 60}));
    Fixture("tmask_mask.png", EncodePng(4, 4, 1, std::vector<uint8_t>(16, 77)));
    Fixture("rgbmasked_mask.png",
            EncodePng(3, 2, 3, {30, 60, 90, 255, 255, 255, 0, 0, 0, 3, 0, 0, 100, 100, 101, 1, 2, 3}));

    // A JPEG mask of uniform grey.
    std::vector<uint8_t> grey;
    for (int i = 0; i < 64; ++i)
        grey.insert(grey.end(), {100, 100, 100});
    Fixture("jpgmasked_mask.jpg", EncodeJpeg(8, 8, grey));

    // A mask one pixel narrower than its image.
    Fixture("wrongsize.gif", EncodeGif(4, 2, kFour, {FullFrame(4, 2, std::vector<uint8_t>(8, 1))}));
    Fixture("wrongsize_mask.gif", EncodeGif(3, 2, maskPalette, {FullFrame(3, 2, std::vector<uint8_t>(6, 2))}));

    // GIF and PNG forms of one image and of its mask: the GIF forms win.
    Fixture("both.gif", EncodeGif(2, 1, kFour, {FullFrame(2, 1, {1, 3})}));
    Fixture("both.png", EncodePng(2, 1, 3, {1, 2, 3, 4, 5, 6}));
    Fixture("both_mask.gif", EncodeGif(2, 1, maskPalette, {FullFrame(2, 1, {1, 2})}));
    Fixture("both_mask.png", EncodePng(2, 1, 1, {7, 7}));

    // A damaged mask.
    Fixture("badmask.gif", EncodeGif(2, 1, kFour, {FullFrame(2, 1, {1, 2})}));
    Fixture("badmask_mask.png", Truncated(EncodePng(2, 1, 1, {7, 7}), 30));
}

void WriteListFixtures()
{
    // Five frames told apart by their width (frame i is i pixels wide, 2 high) and their red level.
    for (int i = 1; i <= 5; ++i)
    {
        std::vector<uint8_t> pixels;
        for (int p = 0; p < i * 2; ++p)
            pixels.insert(pixels.end(), {static_cast<uint8_t>(40 * i), 0, 0, 255});
        Fixture("list_frame" + std::to_string(i) + ".png", EncodePng(i, 2, 4, pixels));
    }

    // A strip of 4 x 2 panes, each 2 x 2: pane p, pixel (px, py) has red 16 p + px, green 50 py, blue 200
    // and alpha 255 - 10 p.
    std::vector<uint8_t> strip;
    for (int y = 0; y < 4; ++y)
    {
        for (int x = 0; x < 8; ++x)
        {
            const int pane = (y / 2) * 4 + x / 2;
            strip.insert(strip.end(), {static_cast<uint8_t>(16 * pane + x % 2), static_cast<uint8_t>(50 * (y % 2)), 200,
                                       static_cast<uint8_t>(255 - 10 * pane)});
        }
    }
    Fixture("list_strip.png", EncodePng(8, 4, 4, strip));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s <fixtures folder> <gif fuzz corpus folder>\n", argv[0]);
        return 2;
    }
    gFixtures = argv[1];
    gCorpus = argv[2];
    try
    {
        WriteGifs();
        WritePngsAndJpegs();
        WriteMasks();
        WriteListFixtures();
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "make_image_fixtures: %s\n", error.what());
        return 1;
    }
    return 0;
}
