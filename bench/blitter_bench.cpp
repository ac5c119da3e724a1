// Our software blitter's alpha blend of a full 800 x 600 frame against pixman's OVER operator on the
// same pixels.
#include "graphics/AlphaBlendRow.h"
#include "graphics/DrawState.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#if STRATA_BENCH_PIXMAN
#include <pixman.h>
#endif

#include <cstdint>
#include <cstdio>
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

void BM_StrataAlphaBlend(benchmark::State& state)
{
    std::vector<Strata::Color32> sourcePixels = SourcePixels();
    Strata::Image source(std::move(sourcePixels), kWidth, kHeight, true, false);
    std::vector<Strata::Color32> target = BackgroundPixels();
    Strata::Graphics::BLIT_TARGET blitTarget;
    blitTarget.pixels = target.data();
    blitTarget.width = kWidth;
    blitTarget.height = kHeight;
    const Strata::Graphics::sDrawState& drawState = Strata::Graphics::sDrawState::GetDefaults();
    for (auto _ : state)
    {
        const int result = Strata::Graphics::BlitImage(&source, 0, 0, &blitTarget, drawState);
        if (result != 0)
        {
            state.SkipWithError("the blit drew nothing");
            break;
        }
        benchmark::DoNotOptimize(target.data());
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
void BM_PixmanOver(benchmark::State& state)
{
    // pixman works on premultiplied a8r8g8b8 words, which are our bytes blue, green, red, alpha on a
    // little-endian machine.
    std::vector<uint32_t> sourceBits(kPixels);
    std::vector<uint32_t> targetBits(kPixels);
    for (size_t i = 0; i < kPixels; ++i)
    {
        const Strata::Color32 p = SourcePixels()[i];
        const auto premultiply = [&p](uint8_t channel) { return uint32_t(channel * p.a / 255); };
        sourceBits[i] = (uint32_t(p.a) << 24) | (premultiply(p.r) << 16) | (premultiply(p.g) << 8) | premultiply(p.b);
        const Strata::Color32 d = BackgroundPixels()[i];
        targetBits[i] = (uint32_t(d.a) << 24) | (uint32_t(d.r) << 16) | (uint32_t(d.g) << 8) | uint32_t(d.b);
    }
    pixman_image_t* source = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, sourceBits.data(), kWidth * 4);
    pixman_image_t* target = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, targetBits.data(), kWidth * 4);
    for (auto _ : state)
    {
        pixman_image_composite32(PIXMAN_OP_OVER, source, nullptr, target, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(targetBits.data());
        benchmark::ClobberMemory();
    }
    pixman_image_unref(source);
    pixman_image_unref(target);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPixels));
}
BENCHMARK(BM_PixmanOver)->Unit(benchmark::kMillisecond);
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
    std::printf("Frame %dx%d, %s. Strata blitter alpha blend: %.1f Mpixel/s", kWidth, kHeight, ClockName(eClock::CPU),
                ours / 1e6);
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
    return 0;
}
