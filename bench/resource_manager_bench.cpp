// Loading a manifest of 10,000 value resources through the resource manager, against reading the same
// document with the XML reader alone; Load's wall time is shown beside the loader thread's CPU time. The
// manifest is served from memory, so both measure parsing and, for the manager, the factories and the
// resource table; throughput is in bytes of input per second.

#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#include <pthread.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>

namespace
{

constexpr int kResourceCount = 10000;

// Every value tag in turn, with arrays of a few items.
const std::string& Document()
{
    static const std::string document = []
    {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<manifest>\n";
        for (int i = 0; i < kResourceCount; ++i)
        {
            const std::string n = std::to_string(i);
            switch (i % 8)
            {
            case 0:
                text += "  <int name=\"int_" + n + "\" value=\"" + n + "\"/>\n";
                break;
            case 1:
                text += "  <float name=\"float_" + n + "\" value=\"" + n + ".25\"/>\n";
                break;
            case 2:
                text += "  <string name=\"string_" + n + "\" value=\"Text number " + n + " &amp; more\"/>\n";
                break;
            case 3:
                text += "  <vector2f name=\"vector_" + n + "\" x=\"" + n + ".5\" y=\"-" + n + "\"/>\n";
                break;
            case 4:
                text += "  <recti name=\"rect_" + n + "\" x=\"1\" y=\"2\" w=\"" + n + "\" h=\"40\"/>\n";
                break;
            case 5:
                text += "  <colorf name=\"color_" + n + "\" value=\"#FF8000C0\"/>\n";
                break;
            case 6:
                text += "  <intarray name=\"ints_" + n + "\"><int value=\"1\"/><int value=\"2\"/><int value=\"" + n +
                        "\"/></intarray>\n";
                break;
            default:
                text += "  <bool name=\"bool_" + n + "\" value=\"true\"/>\n";
                break;
            }
        }
        text += "</manifest>\n";
        return text;
    }();
    return document;
}

// The CPU clock of the thread that opened the manifest last: the loader thread, for Load and LoadAsync.
std::atomic<clockid_t> gOpenerClock{CLOCK_THREAD_CPUTIME_ID};

// Serves the one generated manifest from memory.
class MemoryFileSource final : public Strata::IFileSource
{
public:
    Strata::IStream* OpenFileStream(const Strata::FileAddress&) const override
    {
        clockid_t clock = CLOCK_THREAD_CPUTIME_ID;
        if (pthread_getcpuclockid(pthread_self(), &clock) == 0)
            gOpenerClock = clock;
        const std::string& document = Document();
        return new Strata::ReadOnlyMemoryStream(L"Bench.xml", document.data(), document.size());
    }
};

double ThreadSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_XMLReaderOnly(benchmark::State& state)
{
    const std::string& document = Document();
    for (auto _ : state)
    {
        Strata::ReadOnlyMemoryStream stream(L"Bench.xml", document.data(), document.size());
        auto reader = Strata::CreateXMLReader(&stream);
        size_t touched = 0;
        while (!reader->IsEOF())
        {
            const Strata::XMLElement* element = reader->ReadElement();
            touched += element->GetName().size() + element->GetAttributes().size();
        }
        benchmark::DoNotOptimize(touched);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(BM_XMLReaderOnly)->Unit(benchmark::kMillisecond);

// Through the loader thread, as the game loads (the caller polls every 5 ms).
void BM_ResourceManagerLoad(benchmark::State& state)
{
    Strata::ResourceManager* manager = Strata::GetResourceManager();
    for (auto _ : state)
    {
        const auto job = manager->Load(L"Bench");
        if (job->GetStatus() != Strata::eLoadingJobStatus::Complete)
        {
            state.SkipWithError("the manifest did not load");
            break;
        }
        state.PauseTiming();
        manager->Unload(L"Bench");
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Document().size()));
}
BENCHMARK(BM_ResourceManagerLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

// The loader's own part of the same load: the loader thread's CPU time from the job being queued until it
// is complete. Read from the thread's own clock, it cannot count time the loader spent waiting for a core,
// so it stays below the load's wall time however many cores the run has.
void BM_ResourceManagerLoaderWork(benchmark::State& state)
{
    Strata::ResourceManager* manager = Strata::GetResourceManager();
    // One load first, so that the loader thread has opened the manifest and its clock is known.
    manager->Load(L"Bench");
    manager->Unload(L"Bench");
    const clockid_t loader = gOpenerClock;
    for (auto _ : state)
    {
        const double start = ThreadSeconds(loader);
        const auto job = manager->LoadAsync(L"Bench");
        // The loader's clock does not depend on how often the caller looks, so it looks seldom: frequent
        // wake-ups would take the loader's core from it and charge it the switches.
        while (!job->IsComplete())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        state.SetIterationTime(ThreadSeconds(loader) - start);
        const bool loaded = job->GetStatus() == Strata::eLoadingJobStatus::Complete;
        manager->Unload(L"Bench");
        if (!loaded)
        {
            state.SkipWithError("the manifest did not load");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Document().size()));
}
BENCHMARK(BM_ResourceManagerLoaderWork)->Unit(benchmark::kMillisecond)->UseManualTime();

// On the caller's thread, without the polling.
void BM_ResourceManagerLoadFromStream(benchmark::State& state)
{
    Strata::ResourceManager* manager = Strata::GetResourceManager();
    const std::string& document = Document();
    for (auto _ : state)
    {
        Strata::ReadOnlyMemoryStream stream(L"Bench.xml", document.data(), document.size());
        manager->LoadFromStream(&stream, L"Bench");
        state.PauseTiming();
        manager->Unload(L"Bench");
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(BM_ResourceManagerLoadFromStream)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    MemoryFileSource fileSource;
    Strata::RegisterSingleton(static_cast<Strata::IFileSource*>(&fileSource));
    Strata::CreateConstantResourceFactories();

    ResultReporter reporter;
    RunBenchmarks(reporter);

    Strata::GetResourceManager()->Cleanup();
    Strata::Internal::DeleteAllSingletons();
    Strata::RegisterSingleton(static_cast<Strata::IFileSource*>(nullptr));

    // Load waits for another thread, so its ratio is in wall time; the loader's work is the loader thread's
    // CPU time (recorded as the benchmark's manual time) against the reader's CPU time.
    const double bytes = static_cast<double>(Document().size());
    const auto rate = [&reporter, bytes](const char* benchmark, eClock clock)
    { return reporter.Rate(benchmark, bytes, clock) / 1e6; }; // MB/s
    const double reader = rate("BM_XMLReaderOnly", eClock::Wall);
    const double load = rate("BM_ResourceManagerLoad", eClock::Wall);
    const double fromStream = rate("BM_ResourceManagerLoadFromStream", eClock::Wall);
    const double readerCPU = rate("BM_XMLReaderOnly", eClock::CPU);
    const double loaderWork = rate("BM_ResourceManagerLoaderWork", eClock::Wall);
    std::printf("Manifest of %d value resources, %.2f MB. XML reader alone: %.1f MB/s in %s", kResourceCount,
                bytes / 1e6, reader, ClockName(eClock::Wall));
    if (reader > 0.0)
        std::printf(", resource manager Load: %.2fx of it (%.1f MB/s; %.2f ms a load), LoadFromStream: %.2fx of it "
                    "(%.1f MB/s)",
                    load / reader, load, reporter.NanosecondsPerIteration("BM_ResourceManagerLoad") / 1e6,
                    fromStream / reader, fromStream);
    if (readerCPU > 0.0)
        std::printf(". In %s, the loader thread works %.2f ms a load: %.2fx the reader's %.1f MB/s",
                    ClockName(eClock::CPU), reporter.NanosecondsPerIteration("BM_ResourceManagerLoaderWork") / 1e6,
                    loaderWork / readerCPU, readerCPU);
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("BM_XMLReaderOnly"));
    return 0;
}
