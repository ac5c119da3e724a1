// Decoding and mixing 32 voices at once through the audio library layer on OpenAL Soft's loopback
// device: 16 Ogg Vorbis streams decoded as they play and 16 sample playbacks, each at its own pitch and
// pan. One iteration renders one second of output, so its time is the share of one core the audio
// takes; the idle device's own cost is measured beside it.

#include "audio/AudioLibrary.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

namespace
{

namespace Lib = Strata::AudioLibrary;

constexpr int kRate = Lib::kOutputRate;
constexpr int kVoices = 32;

// Three seconds of a tone in the given format, made through a temporary file of this process's own:
// two runs at once (two checkouts on one machine) must not write into each other's tones.
std::vector<uint8_t> MakeTone(int format, float hz)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("strata_audio_bench_" + std::to_string(getpid()) + ".snd");
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return {};
    std::vector<float> frames(static_cast<size_t>(kRate) * 3 * 2);
    for (size_t i = 0; i < frames.size() / 2; ++i)
    {
        const float v = 0.1f * std::sin(2.0f * std::numbers::pi_v<float> * hz * static_cast<float>(i) / kRate);
        frames[2 * i] = v;
        frames[2 * i + 1] = v;
    }
    sf_writef_float(file, frames.data(), static_cast<sf_count_t>(frames.size() / 2));
    sf_close(file);
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return bytes;
}

class Device
{
public:
    Device()
    {
        Lib::sDeviceOverride devices;
        Lib::SetDeviceOverride(&devices);
        Lib::Init(Lib::kDefaultDevice, kRate);
    }
    ~Device()
    {
        Lib::Free();
        Lib::SetDeviceOverride(nullptr);
    }
};

void RenderOneSecond(benchmark::State& state, const std::vector<Lib::Handle>& channels)
{
    std::vector<float> out(static_cast<size_t>(kRate) * 2);
    for (auto _ : state)
    {
        for (const Lib::Handle channel : channels)
            Lib::ChannelPlay(channel, true);
        Lib::RenderLoopback(out.data(), kRate);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_Mix32Voices(benchmark::State& state)
{
    Device device;
    std::vector<std::vector<uint8_t>> files;
    std::vector<Lib::Handle> channels;
    for (int i = 0; i < kVoices; ++i)
    {
        const bool stream = i % 2 == 0;
        files.push_back(MakeTone(stream ? SF_FORMAT_OGG | SF_FORMAT_VORBIS : SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                 220.0f + 20.0f * static_cast<float>(i)));
        Lib::Handle channel = 0;
        if (stream)
            channel = Lib::StreamCreate(files.back().data(), files.back().size());
        else
            channel = Lib::SampleGetChannel(Lib::SampleLoad(files.back().data(), files.back().size(), 32));
        if (channel == 0)
        {
            state.SkipWithError("a voice could not be made");
            return;
        }
        Lib::ChannelSetAttributes(channel, kRate * (80 + i) / 100, 50, i * 6 - 96);
        channels.push_back(channel);
    }
    RenderOneSecond(state, channels);
}
BENCHMARK(BM_Mix32Voices)->Unit(benchmark::kMillisecond);

void BM_IdleDevice(benchmark::State& state)
{
    Device device;
    RenderOneSecond(state, {});
}
BENCHMARK(BM_IdleDevice)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    ResultReporter reporter;
    RunBenchmarks(reporter);

    // One iteration is one second of output: its time over a second is the share of one core.
    const double voices = reporter.NanosecondsPerIteration("BM_Mix32Voices") / 1e9;
    const double idle = reporter.NanosecondsPerIteration("BM_IdleDevice") / 1e9;
    std::printf("%d voices decoded and mixed: %.2f%% of one core in real time (goal under 2%%); idle device "
                "%.2f%%. Medians of %zu runs.\n",
                kVoices, voices * 100.0, idle * 100.0, reporter.Repetitions("BM_Mix32Voices"));
    return 0;
}
