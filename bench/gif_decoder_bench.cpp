// Our GIF decoder against giflib on the same 800 × 600 images, generated and encoded at start-up:
// photo-like noise over a gradient, flat art (also interlaced) and pure noise. Both sides go from the
// file in memory to 32-bit pixels (giflib: DGifSlurp, then the palette lookup our decoder also does).
// Throughput is in pixels per second.

#include "core/MemoryStream.h"
#include "graphics/GifDecoder.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#if STRATA_BENCH_GIFLIB
#include <gif_lib.h>
#endif

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct TestImage
{
    std::string name;
    std::vector<uint8_t> file;
};

class BitWriter
{
public:
    void Put(uint32_t code, int width)
    {
        mAccumulator |= uint64_t(code) << mBits;
        mBits += width;
        while (mBits >= 8)
        {
            mBytes.push_back(static_cast<uint8_t>(mAccumulator));
            mAccumulator >>= 8;
            mBits -= 8;
        }
    }
    std::vector<uint8_t> Finish()
    {
        if (mBits > 0)
            mBytes.push_back(static_cast<uint8_t>(mAccumulator));
        return mBytes;
    }

private:
    std::vector<uint8_t> mBytes;
    uint64_t mAccumulator = 0;
    int mBits = 0;
};

// A plain GIF LZW encoder: a clear code whenever the table is full.
std::vector<uint8_t> EncodeLzw(const std::vector<uint8_t>& indices, int minimumCodeSize)
{
    const uint32_t clear = 1u << minimumCodeSize;
    std::vector<uint16_t> child(size_t(4096) * 256, 0);
    BitWriter bits;
    int width = minimumCodeSize + 1;
    uint32_t next = clear + 2;
    bits.Put(clear, width);
    uint32_t prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i)
    {
        const uint8_t c = indices[i];
        uint16_t& slot = child[size_t(prefix) * 256 + c];
        if (slot != 0)
        {
            prefix = slot;
            continue;
        }
        bits.Put(prefix, width);
        if (next < 4096)
        {
            slot = static_cast<uint16_t>(next++);
            if (next > (1u << width) && width < 12)
                ++width;
        }
        else
        {
            bits.Put(clear, width);
            std::fill(child.begin(), child.end(), 0);
            width = minimumCodeSize + 1;
            next = clear + 2;
        }
        prefix = c;
    }
    bits.Put(prefix, width);
    if (next < 4096 && ++next > (1u << width) && width < 12)
        ++width;
    bits.Put(clear + 1, width);
    return bits.Finish();
}

void Put16(std::vector<uint8_t>& out, int value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

std::vector<uint8_t> MakeGif(const std::vector<uint8_t>& indices, bool interlaced)
{
    std::vector<uint8_t> rows = indices;
    if (interlaced)
    {
        rows.clear();
        const int starts[4] = {0, 4, 2, 1};
        const int steps[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = starts[pass]; y < kHeight; y += steps[pass])
                rows.insert(rows.end(), indices.begin() + y * kWidth, indices.begin() + (y + 1) * kWidth);
    }
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, kWidth);
    Put16(out, kHeight);
    out.insert(out.end(), {0xF7, 0, 0});
    for (int i = 0; i < 256; ++i)
        out.insert(out.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, kWidth);
    Put16(out, kHeight);
    out.push_back(interlaced ? 0x40 : 0);
    out.push_back(8);
    const std::vector<uint8_t> data = EncodeLzw(rows, 8);
    for (size_t i = 0; i < data.size(); i += 255)
    {
        const size_t length = std::min<size_t>(255, data.size() - i);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), data.begin() + long(i), data.begin() + long(i + length));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

const std::vector<TestImage>& Images()
{
    static const std::vector<TestImage> images = []
    {
        uint32_t state = 0x12345678u;
        auto random = [&state]
        {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            return state;
        };
        std::vector<uint8_t> photo, flat, noise;
        for (int y = 0; y < kHeight; ++y)
        {
            for (int x = 0; x < kWidth; ++x)
            {
                photo.push_back(static_cast<uint8_t>((x + y) / 6 + random() % 6));
                const int dx = x - 400, dy = y - 300;
                const int shape = (dx * dx + dy * dy < 150 * 150) ? 1 : ((x / 100 + y / 75) % 2 == 0 ? 2 : 3);
                flat.push_back(static_cast<uint8_t>(shape * 16 + (y > 500 ? 1 : 0)));
                noise.push_back(static_cast<uint8_t>(random()));
            }
        }
        return std::vector<TestImage>{{"photo", MakeGif(photo, false)},
                                      {"flat", MakeGif(flat, false)},
                                      {"flat_interlaced", MakeGif(flat, true)},
                                      {"noise", MakeGif(noise, false)}};
    }();
    return images;
}

std::vector<Strata::Color32> DecodeStrata(const TestImage& image)
{
    Strata::ReadOnlyMemoryStream stream(L"bench.gif", image.file.data(), image.file.size());
    Strata::C_ImageSet set;
    int width = 0, height = 0, count = 0;
    bool transparency = false;
    return set.LoadOpenFileGIF(&stream, width, height, transparency, count);
}

#if STRATA_BENCH_GIFLIB
struct MemoryReader
{
    const uint8_t* data;
    size_t length;
    size_t position;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min<size_t>(size_t(count), reader->length - reader->position);
    std::memcpy(buffer, reader->data + reader->position, n);
    reader->position += n;
    return static_cast<int>(n);
}

// The screen in 32-bit pixels, as our decoder gives it; empty on failure.
std::vector<Strata::Color32> DecodeGiflib(const TestImage& image)
{
    MemoryReader reader{image.file.data(), image.file.size(), 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (gif == nullptr)
        return {};
    std::vector<Strata::Color32> out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0 && gif->SColorMap != nullptr)
    {
        const SavedImage& saved = gif->SavedImages[0];
        Strata::Color32 table[256];
        const ColorMapObject* map = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
        for (int i = 0; i < 256; ++i)
        {
            const GifColorType& c = map->Colors[i % map->ColorCount];
            table[i] = Strata::Color32(c.Red, c.Green, c.Blue, 255);
        }
        out.resize(size_t(gif->SWidth) * size_t(gif->SHeight));
        const size_t count = size_t(saved.ImageDesc.Width) * size_t(saved.ImageDesc.Height);
        for (size_t i = 0; i < count && i < out.size(); ++i)
            out[i] = table[saved.RasterBits[i]];
    }
    DGifCloseFile(gif, &error);
    return out;
}
#endif

void RegisterAll()
{
    for (const TestImage& image : Images())
    {
        benchmark::RegisterBenchmark(("Strata/" + image.name).c_str(),
                                     [&image](benchmark::State& state)
                                     {
                                         for (auto _ : state)
                                         {
                                             auto pixels = DecodeStrata(image);
                                             if (pixels.empty())
                                                 state.SkipWithError("decode failed");
                                             benchmark::DoNotOptimize(pixels.data());
                                         }
                                         state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
                                     })
            ->Unit(benchmark::kMicrosecond);
#if STRATA_BENCH_GIFLIB
        benchmark::RegisterBenchmark(("Giflib/" + image.name).c_str(),
                                     [&image](benchmark::State& state)
                                     {
                                         for (auto _ : state)
                                         {
                                             auto pixels = DecodeGiflib(image);
                                             if (pixels.empty())
                                                 state.SkipWithError("decode failed");
                                             benchmark::DoNotOptimize(pixels.data());
                                         }
                                         state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
                                     })
            ->Unit(benchmark::kMicrosecond);
#endif
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;

    for (const TestImage& image : Images())
    {
        if (DecodeStrata(image).empty())
            std::printf("warning: our decoder failed on %s\n", image.name.c_str());
#if STRATA_BENCH_GIFLIB
        else if (DecodeStrata(image) != DecodeGiflib(image))
            std::printf("warning: our decoder and giflib disagree on %s\n", image.name.c_str());
#endif
    }

    RegisterAll();
    ResultReporter reporter;
    RunBenchmarks(reporter);

    constexpr double kFramePixels = double(kWidth) * kHeight;
    std::printf("GIF %dx%d, %s. Strata GIF decoder:", kWidth, kHeight, ClockName(eClock::CPU));
    const char* separator = " ";
    for (const TestImage& image : Images())
    {
        const double ours = reporter.Rate("Strata/" + image.name, kFramePixels, eClock::CPU);
        std::printf("%s%s (%zu KB) %.0f Mpixel/s", separator, image.name.c_str(), image.file.size() / 1024, ours / 1e6);
#if STRATA_BENCH_GIFLIB
        const double giflib = reporter.Rate("Giflib/" + image.name, kFramePixels, eClock::CPU);
        if (giflib > 0.0)
            std::printf(", %.2fx giflib", ours / giflib);
#endif
        separator = "; ";
    }
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("Strata/" + Images().front().name));
    return 0;
}
