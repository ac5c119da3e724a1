// Decoding and mixing 32 voices at once through the audio library layer on OpenAL Soft's loopback
// device: 16 Ogg Vorbis streams decoded as they play and 16 sample playbacks, each at its own pitch and
// pan. One iteration renders one second of output, so its time is the share of one core the audio
// takes; beside it the decoding of the 16 streams alone and the idle device's own cost. Beside the 32
// voices, the game's real mix: one music stream, one voice stream and four effect samples. Each mix's
// output must not be silent.

#include "audio/AudioLibrary.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// The loudest sample each benchmark rendered in its last second, by name.
std::map<std::string, float> gLoudest;

void RenderOneSecond(benchmark::State& state, const std::vector<Lib::Handle>& channels, const char* name)
{
    std::vector<float> out(static_cast<size_t>(kRate) * 2);
    for (auto _ : state)
    {
        for (const Lib::Handle channel : channels)
            Lib::ChannelPlay(channel, true);
        Lib::RenderLoopback(out.data(), kRate);
        benchmark::DoNotOptimize(out.data());
    }
    float loudest = 0.0f;
    for (const float sample : out)
        loudest = std::max(loudest, std::abs(sample));
    gLoudest[name] = loudest;
}

// A stream or a sample of a tone; 0 when it cannot be made. `files` keeps a stream's bytes alive.
Lib::Handle MakeVoice(std::vector<std::vector<uint8_t>>& files, bool stream, float hz)
{
    files.push_back(MakeTone(stream ? SF_FORMAT_OGG | SF_FORMAT_VORBIS : SF_FORMAT_WAV | SF_FORMAT_PCM_16, hz));
    if (stream)
        return Lib::StreamCreate(files.back().data(), files.back().size());
    return Lib::SampleGetChannel(Lib::SampleLoad(files.back().data(), files.back().size(), 32));
}

void BM_Mix32Voices(benchmark::State& state)
{
    Device device;
    std::vector<std::vector<uint8_t>> files;
    std::vector<Lib::Handle> channels;
    for (int i = 0; i < kVoices; ++i)
    {
        const Lib::Handle channel = MakeVoice(files, i % 2 == 0, 220.0f + 20.0f * static_cast<float>(i));
        if (channel == 0)
        {
            state.SkipWithError("a voice could not be made");
            return;
        }
        Lib::ChannelSetAttributes(channel, kRate * (80 + i) / 100, 50, i * 6 - 96);
        channels.push_back(channel);
    }
    RenderOneSecond(state, channels, __func__);
}
BENCHMARK(BM_Mix32Voices)->Unit(benchmark::kMillisecond);

// What the game plays at its busiest: music, a spoken word and four effects, at their own rates.
void BM_MixGameSounds(benchmark::State& state)
{
    Device device;
    std::vector<std::vector<uint8_t>> files;
    std::vector<Lib::Handle> channels;
    for (int i = 0; i < 6; ++i)
    {
        const Lib::Handle channel = MakeVoice(files, i < 2, 330.0f + 55.0f * static_cast<float>(i));
        if (channel == 0)
        {
            state.SkipWithError("a voice could not be made");
            return;
        }
        Lib::ChannelSetAttributes(channel, kRate, i == 0 ? 60 : 80, 0);
        channels.push_back(channel);
    }
    RenderOneSecond(state, channels, __func__);
}
BENCHMARK(BM_MixGameSounds)->Unit(benchmark::kMillisecond);

// libsndfile reading bytes in memory.
struct sMemoryFile
{
    const std::vector<uint8_t>* bytes = nullptr;
    sf_count_t position = 0;

    static sMemoryFile& Of(void* user) { return *static_cast<sMemoryFile*>(user); }
};

SF_VIRTUAL_IO MemoryIo()
{
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void* user) { return static_cast<sf_count_t>(sMemoryFile::Of(user).bytes->size()); };
    io.seek = [](sf_count_t offset, int whence, void* user)
    {
        sMemoryFile& file = sMemoryFile::Of(user);
        const auto length = static_cast<sf_count_t>(file.bytes->size());
        const sf_count_t base = whence == SEEK_CUR ? file.position : whence == SEEK_END ? length : 0;
        file.position = std::clamp<sf_count_t>(base + offset, 0, length);
        return file.position;
    };
    io.read = [](void* out, sf_count_t count, void* user)
    {
        sMemoryFile& file = sMemoryFile::Of(user);
        const sf_count_t n =
            std::clamp<sf_count_t>(count, 0, static_cast<sf_count_t>(file.bytes->size()) - file.position);
        std::memcpy(out, file.bytes->data() + file.position, static_cast<size_t>(n));
        file.position += n;
        return n;
    };
    io.write = [](const void*, sf_count_t, void*) -> sf_count_t { return 0; };
    io.tell = [](void* user) { return sMemoryFile::Of(user).position; };
    return io;
}

// The decoding alone of the 32 voices' 16 streams: one second of each from its start, as the library
// reads them when the mix restarts them.
void BM_Decode16Streams(benchmark::State& state)
{
    std::vector<std::vector<uint8_t>> files;
    for (int i = 0; i < kVoices; i += 2)
        files.push_back(MakeTone(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 220.0f + 20.0f * static_cast<float>(i)));
    SF_VIRTUAL_IO io = MemoryIo();
    std::vector<sMemoryFile> readers(files.size());
    std::vector<SNDFILE*> sounds;
    for (size_t i = 0; i < files.size(); ++i)
    {
        readers[i].bytes = &files[i];
        SF_INFO info{};
        sounds.push_back(sf_open_virtual(&io, SFM_READ, &info, &readers[i]));
    }
    std::vector<int16_t> piece(4096 * 2);
    for (auto _ : state)
    {
        for (SNDFILE* sound : sounds)
        {
            if (sound == nullptr || sf_seek(sound, 0, SEEK_SET) != 0)
            {
                state.SkipWithError("a stream could not be read");
                break;
            }
            for (sf_count_t left = kRate; left > 0;)
            {
                const sf_count_t read = sf_readf_short(sound, piece.data(), std::min<sf_count_t>(left, 4096));
                if (read <= 0)
                    break;
                left -= read;
            }
        }
    }
    for (SNDFILE* sound : sounds)
        if (sound != nullptr)
            sf_close(sound);
}
BENCHMARK(BM_Decode16Streams)->Unit(benchmark::kMillisecond);

void BM_IdleDevice(benchmark::State& state)
{
    Device device;
    RenderOneSecond(state, {}, __func__);
}
BENCHMARK(BM_IdleDevice)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    ResultReporter reporter;
    RunBenchmarks(reporter);

    // The loopback device mixes and decodes on the calling thread: one iteration is one second of
    // output, so its CPU time over a second is the share of one core.
    const auto share = [&reporter](const char* benchmark)
    { return reporter.NanosecondsPerIteration(benchmark, eClock::CPU) / 1e9 * 100.0; };
    std::printf("%s. %d voices decoded and mixed: %.2f%% of one core (goal under 2%%), %.2f%% of it the decoding "
                "of their %d Ogg Vorbis streams alone; the game's mix (music, a voice, 4 effects): %.2f%% (goal under "
                "1%%); idle device %.2f%%. Medians of %zu runs.\n",
                ClockName(eClock::CPU), kVoices, share("BM_Mix32Voices"), share("BM_Decode16Streams"), kVoices / 2,
                share("BM_MixGameSounds"), share("BM_IdleDevice"), reporter.Repetitions("BM_Mix32Voices"));
    bool heard = true;
    for (const char* benchmark : {"BM_Mix32Voices", "BM_MixGameSounds"})
    {
        const auto found = gLoudest.find(benchmark);
        if (found != gLoudest.end() && found->second < 1e-3f)
        {
            std::fprintf(stderr, "%s rendered silence: the figure measures no mixing.\n", benchmark);
            heard = false;
        }
    }
    return heard ? 0 : 1;
}
