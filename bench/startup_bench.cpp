// The game's start-up, from the main loop's set-up to the first frame of the title screen, against
// reading and decoding the same files by hand on one thread: every file the start-up manifests (and the
// loading screen's own) name, read whole, images decoded to pixels. Sounds are read whole and not
// decoded, as the game streams them. The game runs on the real Linux platform with SDL's dummy video,
// the software renderer and OpenAL Soft's null device; the clock moves fast while the loop sleeps, so
// the splashes' fixed showing time is left out and what remains is the engine's own work. That showing
// time is printed apart, as the game's own clock counts it: the sum of the steps the loading screen was
// updated with until the splash series was over. Also printed: the growth of the peak memory from
// before set-up to the title, against the decoded size of what was loaded.
//
// Both sides are timed in strict turns (reference, start-up, reference, ...) after one untimed pass of
// each has put the files in the page cache and made what a process makes once, and each figure is the
// median of its rounds. Each is read on two clocks: wall time, and the CPU time of the whole process (the
// start-up's loader and decoding threads included), which a busy machine stretches far less. The goal is
// judged on the wall time, what a player waits for; on a busy machine the reference's one thread and the
// start-up's several stretch by different amounts, so the CPU time is printed beside it. Once the
// splashes are over the loop really sleeps a tenth of what it asks (its clock still moves ten times
// that), as a real start's loop sleeps between steps, instead of spinning beside the loader.
// Command line: --rounds=N (default 11), and the benchmark library's flags, which are accepted and unused.

#include "controls/LoadingMode.h"
#include "framework/MainLoop.h"
#include "game/GameApplication.h"
#include "game/screens/TitleMode.h"
#include "graphics/ImageFiles.h"

#include "BenchReporter.h"
#include "GameBenchSupport.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace Yardcrew;

namespace
{

namespace fs = std::filesystem;

const std::string kDataFolder = MENAGERIE_DATA_DIR;

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The manifests the start-up loads, and every data file they name (by bare name, any extension).
const std::vector<fs::path>& StartupFiles()
{
    static const std::vector<fs::path> files = []
    {
        std::map<std::string, std::vector<fs::path>> byStem;
        for (const auto& entry : fs::recursive_directory_iterator(kDataFolder))
            if (entry.is_regular_file())
                byStem[entry.path().stem().string()].push_back(entry.path());
        std::vector<std::wstring> manifests = GetStartupManifests(true);
        manifests.insert(manifests.begin(), {L"Loading", L"resources"});
        std::vector<fs::path> out;
        std::set<fs::path> seen;
        const std::regex source("src=\"([^\"]+)\"");
        const std::regex frames("pattern=\"([^\"]+)\" first=\"([0-9]+)\" last=\"([0-9]+)\"");
        for (const std::wstring& manifest : manifests)
        {
            const fs::path path = fs::path(kDataFolder) / (fs::path(manifest).string() + ".xml");
            out.push_back(path);
            const std::string text = ReadFile(path);
            std::vector<std::string> names;
            for (std::sregex_iterator it(text.begin(), text.end(), source), end; it != end; ++it)
                names.push_back((*it)[1].str());
            // Image lists name their frames by a pattern over a range of indices.
            for (std::sregex_iterator it(text.begin(), text.end(), frames), end; it != end; ++it)
                for (int i = std::stoi((*it)[2].str()); i <= std::stoi((*it)[3].str()); ++i)
                    names.push_back(std::regex_replace((*it)[1].str(), std::regex("%1%"), std::to_string(i)));
            for (const std::string& name : names)
                for (const fs::path& file : byStem[name])
                    if (file.extension() != ".xml" && seen.insert(file).second)
                        out.push_back(file);
        }
        return out;
    }();
    return files;
}

// Reads every file and decodes the images; the decoded size in bytes.
size_t ReadAndDecode()
{
    size_t decoded = 0;
    for (const fs::path& path : StartupFiles())
    {
        const std::string bytes = ReadFile(path);
        if (path.extension() == ".png")
        {
            int width = 0, height = 0, channels = 0;
            const char* reason = nullptr;
            const auto pixels = Strata::Internal::DecodeStbImage(Strata::Internal::StbFormat::Png,
                                                                 reinterpret_cast<const uint8_t*>(bytes.data()),
                                                                 bytes.size(), width, height, channels, &reason);
            benchmark::DoNotOptimize(pixels.data());
            decoded += pixels.size() * sizeof(pixels[0]);
        }
        else
        {
            benchmark::DoNotOptimize(bytes.data());
            decoded += bytes.size();
        }
    }
    return decoded;
}

// The process's peak resident size so far, in bytes.
size_t PeakResident()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return static_cast<size_t>(std::strtoull(line.c_str() + 6, nullptr, 10)) * 1024;
    return 0;
}

// Wall time, the whole process's CPU time and the calling thread's, in seconds.
struct sTimes
{
    double wall = 0.0;
    double cpu = 0.0;
    double threadCpu = 0.0;
};

double CpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class Stopwatch
{
public:
    Stopwatch()
        : mWall(std::chrono::steady_clock::now()), mCpu(CpuSeconds(CLOCK_PROCESS_CPUTIME_ID)),
          mThreadCpu(CpuSeconds(CLOCK_THREAD_CPUTIME_ID))
    {
    }
    // On the thread that made it.
    sTimes Read() const
    {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - mWall).count(),
                CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - mCpu, CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mThreadCpu};
    }

private:
    std::chrono::steady_clock::time_point mWall;
    double mCpu;
    double mThreadCpu;
};

struct sStartupRun
{
    sTimes times;
    size_t peakGrowth = 0;
    bool reachedTitle = false;
    // The game time the loading screen had run when the splash series was over: their fixed showing
    // time, which a real start adds to the engine's work. The loop's clock is no measure of it: it moves
    // ten times the time slept, and the loop catches up at most two steps at a time.
    double splashSeconds = 0.0;
};

// Counts the game time of the mode it is added to: the steps its database is updated with.
class GameClockObject : public Strata::Object
{
public:
    explicit GameClockObject(double* seconds) : mSeconds(seconds) {}
    void Update(float dt) override { *mSeconds += dt; }

private:
    double* mSeconds;
};

// One start of the game up to the title screen, in a fresh per-user folder.
sStartupRun StartGame()
{
    sStartupRun run;
    uint32_t clock = 100000;
    double loadingSeconds = 0.0;
    Strata::LoadingMode* counted = nullptr;
    const size_t peakBefore = PeakResident();
    const Stopwatch stopwatch;
    RunGame(
        "menagerie_bench", [&clock] { return clock; },
        [&](unsigned long ms)
        {
            clock += 10 * static_cast<uint32_t>(ms);
            auto* loading = dynamic_cast<Strata::LoadingMode*>(Strata::MainLoop::GetTopMostMode(0));
            if (loading != nullptr && loading != counted)
            {
                // Before its first update: the splash series starts with the mode.
                loading->AddObject(new GameClockObject(&loadingSeconds));
                counted = loading;
            }
            if (run.splashSeconds == 0.0 && loading != nullptr && loading->AreSplashScreensComplete())
                run.splashSeconds = loadingSeconds;
            if (loading != nullptr && run.splashSeconds != 0.0)
                std::this_thread::sleep_for(std::chrono::microseconds(100 * ms));
            if (run.reachedTitle || !dynamic_cast<TitleMode*>(Strata::MainLoop::GetTopMostMode(0)))
                return;
            run.reachedTitle = true;
            run.times = stopwatch.Read();
            const size_t peak = PeakResident();
            run.peakGrowth = peak > peakBefore ? peak - peakBefore : 0;
            Strata::MainLoop::Exit();
        });
    return run;
}

sTimes TimeReadAndDecode()
{
    const Stopwatch stopwatch;
    benchmark::DoNotOptimize(ReadAndDecode());
    return stopwatch.Read();
}

double Median(const std::vector<sTimes>& samples, double sTimes::*clock)
{
    std::vector<double> values;
    for (const sTimes& sample : samples)
        values.push_back(sample.*clock);
    return ResultReporter::Median(values);
}

// Takes "--rounds=N" out of the command line; `rounds` is left as it is without one.
bool TakeRounds(int& argc, char** argv, int& rounds)
{
    const std::string flag = "--rounds=";
    int kept = 0;
    for (int i = 0; i < argc; ++i)
    {
        if (std::string(argv[i]).rfind(flag, 0) == 0)
        {
            rounds = std::atoi(argv[i] + flag.size());
            if (rounds < 1)
            {
                std::fprintf(stderr, "--rounds needs a count of at least 1\n");
                return false;
            }
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 11;
    if (!TakeRounds(argc, argv, rounds) || !InitializeBenchmarks(argc, argv))
        return 1;
    UseHeadlessGame("startup_bench");

    // The untimed first pass of each side; the memory figures come from this first start.
    const size_t decoded = ReadAndDecode();
    const sStartupRun first = StartGame();
    if (!first.reachedTitle)
    {
        std::fprintf(stderr, "The game did not reach the title screen.\n");
        return 1;
    }
    std::fprintf(stderr, "first start in the process: %.1f ms wall, %.1f ms CPU\n", first.times.wall * 1e3,
                 first.times.cpu * 1e3);

    std::vector<sTimes> reference;
    std::vector<sTimes> startup;
    for (int round = 1; round <= rounds; ++round)
    {
        reference.push_back(TimeReadAndDecode());
        const sStartupRun run = StartGame();
        if (!run.reachedTitle)
        {
            std::fprintf(stderr, "The game did not reach the title screen.\n");
            return 1;
        }
        startup.push_back(run.times);
        std::fprintf(stderr,
                     "round %d: reference %.1f ms wall, %.1f ms CPU; start-up %.1f ms wall, %.1f ms CPU (main thread "
                     "%.1f ms)\n",
                     round, reference.back().wall * 1e3, reference.back().cpu * 1e3, startup.back().wall * 1e3,
                     startup.back().cpu * 1e3, startup.back().threadCpu * 1e3);
    }

    const double startupWall = Median(startup, &sTimes::wall);
    const double referenceWall = Median(reference, &sTimes::wall);
    const double startupCpu = Median(startup, &sTimes::cpu);
    const double referenceCpu = Median(reference, &sTimes::cpu);
    const double mainThreadCpu = Median(startup, &sTimes::threadCpu);
    std::printf("Start-up to the title, %s: %.1f ms; reading and decoding its %zu files: %.1f ms",
                ClockName(eClock::Wall), startupWall * 1e3, StartupFiles().size(), referenceWall * 1e3);
    if (referenceWall > 0.0)
        std::printf(" (%.2fx; goal at most 1.5x)", startupWall / referenceWall);
    std::printf(". In the process's CPU time, every thread: %.1f ms against %.1f ms", startupCpu * 1e3,
                referenceCpu * 1e3);
    if (referenceCpu > 0.0)
        std::printf(" (%.2fx)", startupCpu / referenceCpu);
    std::printf(", of which the main thread's (set-up, the splash screens' and the title's frames) %.1f ms",
                mainThreadCpu * 1e3);
    std::printf(". The splash screens' fixed showing time, apart: %.1f s of game time (%.0f%% of a real start)",
                first.splashSeconds, 100.0 * first.splashSeconds / (first.splashSeconds + startupWall));
    std::printf(". Peak memory grew %.1f MB by the title, for %.1f MB decoded", first.peakGrowth / 1e6, decoded / 1e6);
    if (decoded > 0)
        std::printf(" (%.2fx; goal at most 1.5x)", static_cast<double>(first.peakGrowth) / decoded);
    std::printf(". Medians of %d rounds, the two sides in turn.\n", rounds);
    return 0;
}
