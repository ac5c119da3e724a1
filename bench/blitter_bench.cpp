// Our software blitter's alpha blend of a full 800 x 600 frame against pixman's OVER operator on the
// same pixels, and the two outputs compared. The rules differ: ours copies a source pixel of alpha 240
// or more, keeps the target under 16 and blends the rest by (alpha + 1) / 256 (a shift by 8), where
// pixman blends every pixel exactly (a division by 255); the comparison says how far apart that puts
// them in each band of alpha.
#include "graphics/AlphaBlendRow.h"
#include "graphics/DrawState.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#if STRATA_BENCH_PIXMAN
#include <pixman.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr size_t kPixels = static_cast<size_t>(kWidth) * kHeight;

// A frame of noise: every colour and alpha value, so that every pixel takes the blending path.
const std::vector<Strata::Color32>& SourcePixels()
{
    static const std::vector<Strata::Color32> pixels = []
    {
        std::mt19937 random(20240601u);
        std::vector<Strata::Color32> result(kPixels);
        for (Strata::Color32& pixel : result)
        {
            const uint32_t bits = random();
            pixel = Strata::Color32(uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24));
        }
        return result;
    }();
    return pixels;
}

const std::vector<Strata::Color32>& BackgroundPixels()
{
    static const std::vector<Strata::Color32> pixels(kPixels, Strata::Color32(40, 90, 160, 255));
    return pixels;
}

// The noise frame as our blitter's image, and a target holding the background.
struct sStrataBlit
{
    Strata::Image source{std::vector<Strata::Color32>(SourcePixels()), kWidth, kHeight, true, false};
    std::vector<Strata::Color32> target = BackgroundPixels();

    // Blends the frame over the target once; 0 when it drew.
    int Blit()
    {
        Strata::Graphics::BLIT_TARGET blitTarget;
        blitTarget.pixels = target.data();
        blitTarget.width = kWidth;
        blitTarget.height = kHeight;
        return Strata::Graphics::BlitImage(&source, 0, 0, &blitTarget, Strata::Graphics::sDrawState::GetDefaults());
    }
};

void BM_StrataAlphaBlend(benchmark::State& state)
{
    sStrataBlit blit;
    for (auto _ : state)
    {
        if (blit.Blit() != 0)
        {
            state.SkipWithError("the blit drew nothing");
            break;
        }
        benchmark::DoNotOptimize(blit.target.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPixels));
}
BENCHMARK(BM_StrataAlphaBlend)->Unit(benchmark::kMillisecond);

// Each way of drawing the blend rows this processor can run, over the same frame, so that a machine
// without AVX2 can see what its SSE2 rows give.
void RegisterRowVariants()
{
    for (const Strata::Internal::AlphaRowVariant& variant : Strata::Internal::GetAlphaRowVariants())
        benchmark::RegisterBenchmark((std::string("BM_AlphaRows/") + variant.name).c_str(),
                                     [row = variant.row](benchmark::State& state)
                                     {
                                         std::vector<Strata::Color32> target = BackgroundPixels();
                                         const Strata::Color32* source = SourcePixels().data();
                                         for (auto _ : state)
                                         {
                                             for (int y = 0; y < kHeight; ++y)
                                                 row(target.data() + static_cast<size_t>(y) * kWidth,
                                                     source + static_cast<size_t>(y) * kWidth, kWidth);
                                             benchmark::DoNotOptimize(target.data());
                                             benchmark::ClobberMemory();
                                         }
                                     })
            ->Unit(benchmark::kMillisecond);
}

#if STRATA_BENCH_PIXMAN
// pixman works on premultiplied a8r8g8b8 words, which are our bytes blue, green, red, alpha on a
// little-endian machine. Premultiplied with rounding, as a renderer that premultiplies its images would.
struct sPixmanFrames
{
    std::vector<uint32_t> source = std::vector<uint32_t>(kPixels);
    std::vector<uint32_t> target = std::vector<uint32_t>(kPixels);

    sPixmanFrames()
    {
        for (size_t i = 0; i < kPixels; ++i)
        {
            const Strata::Color32 p = SourcePixels()[i];
            const auto premultiply = [&p](uint8_t channel) { return uint32_t((channel * p.a + 127) / 255); };
            source[i] = (uint32_t(p.a) << 24) | (premultiply(p.r) << 16) | (premultiply(p.g) << 8) | premultiply(p.b);
            const Strata::Color32 d = BackgroundPixels()[i];
            target[i] = (uint32_t(d.a) << 24) | (uint32_t(d.r) << 16) | (uint32_t(d.g) << 8) | uint32_t(d.b);
        }
    }
};

// Composites `times` over the target.
void PixmanOver(sPixmanFrames& frames, int times, benchmark::State* state)
{
    pixman_image_t* source =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, frames.source.data(), kWidth * 4);
    pixman_image_t* target =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, frames.target.data(), kWidth * 4);
    const auto once = [&]
    {
        pixman_image_composite32(PIXMAN_OP_OVER, source, nullptr, target, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(frames.target.data());
        benchmark::ClobberMemory();
    };
    if (state != nullptr)
        for (auto _ : *state)
            once();
    for (int i = 0; i < times; ++i)
        once();
    pixman_image_unref(source);
    pixman_image_unref(target);
}

void BM_PixmanOver(benchmark::State& state)
{
    sPixmanFrames frames;
    PixmanOver(frames, 0, &state);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPixels));
}
BENCHMARK(BM_PixmanOver)->Unit(benchmark::kMillisecond);

// The largest difference of a colour byte between our output and pixman's, over the pixels whose source
// alpha lies in [low, high].
struct sBand
{
    const char* name;
    int low;
    int high;
    int largest = 0;
    size_t pixels = 0;
};

// Prints how far our output lies from pixman's in each band of alpha.
void ComparePixman()
{
    sStrataBlit blit;
    blit.Blit();
    const std::vector<Strata::Color32>& ours = blit.target;
    sPixmanFrames frames;
    PixmanOver(frames, 1, nullptr);
    sBand bands[] = {{"where both blend (alpha 16 to 239)", 16, 239},
                     {"where ours copies the source (alpha 240 and above)", 240, 255},
                     {"where ours keeps the target (alpha under 16)", 0, 15}};
    for (size_t i = 0; i < kPixels; ++i)
    {
        const int alpha = SourcePixels()[i].a;
        const uint32_t theirs = frames.target[i];
        const int differences[] = {std::abs(int(ours[i].r) - int((theirs >> 16) & 0xFF)),
                                   std::abs(int(ours[i].g) - int((theirs >> 8) & 0xFF)),
                                   std::abs(int(ours[i].b) - int(theirs & 0xFF))};
        for (sBand& band : bands)
            if (alpha >= band.low && alpha <= band.high)
            {
                ++band.pixels;
                for (const int difference : differences)
                    band.largest = std::max(band.largest, difference);
            }
    }
    std::printf("Output against pixman's, the largest difference of a colour byte:");
    const char* separator = " ";
    for (const sBand& band : bands)
    {
        std::printf("%s%d %s", separator, band.largest, band.name);
        separator = ", ";
    }
    std::printf(". Our rule blends by (alpha + 1) >> 8 where pixman divides by 255.\n");
}
#endif

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    RegisterRowVariants();
    ResultReporter reporter;
    RunBenchmarks(reporter);

    const double ours = reporter.Rate("BM_StrataAlphaBlend", kPixels, eClock::CPU);
    const double pixman = reporter.Rate("BM_PixmanOver", kPixels, eClock::CPU);
    // The blit draws its rows the fastest way this processor has; every x86-64 processor has SSE2, and
    // only some AVX2, so both are printed side by side.
    const char* used = "?";
    for (const Strata::Internal::AlphaRowVariant& variant : Strata::Internal::GetAlphaRowVariants())
        if (variant.row == Strata::Internal::GetAlphaRow())
            used = variant.name;
    std::printf("Frame %dx%d, %s. Strata blitter alpha blend (%s rows): %.1f Mpixel/s", kWidth, kHeight,
                ClockName(eClock::CPU), used, ours / 1e6);
    if (pixman > 0.0)
        std::printf(", %.2fx pixman OVER (%.1f Mpixel/s)", ours / pixman, pixman / 1e6);
    std::printf(". Rows alone:");
    for (const Strata::Internal::AlphaRowVariant& variant : Strata::Internal::GetAlphaRowVariants())
    {
        const double rows = reporter.Rate(std::string("BM_AlphaRows/") + variant.name, kPixels, eClock::CPU);
        std::printf(" %s %.1f Mpixel/s", variant.name, rows / 1e6);
        if (pixman > 0.0)
            std::printf(" (%.2fx pixman)", rows / pixman);
    }
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("BM_StrataAlphaBlend"));
#if STRATA_BENCH_PIXMAN
    ComparePixman();
#endif
    return 0;
}
