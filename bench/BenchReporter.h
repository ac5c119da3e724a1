#pragma once

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

// The clock a figure is read from. Every ratio line names its clock, and both sides of a ratio are read
// from the same one: CPU time (the benchmark thread's) for work on the calling thread alone, wall time
// where other threads or waiting are part of what is measured.
enum class eClock
{
    Wall,
    CPU,
};

inline const char* ClockName(eClock clock)
{
    return clock == eClock::Wall ? "wall time" : "CPU time";
}

// Keeps each benchmark's results, by function name, for the comparison line every benchmark program
// prints at its end. Every figure is the median of the benchmark's repetitions, so that one slow or
// lucky repetition does not decide the line.
class ResultReporter : public benchmark::ConsoleReporter
{
public:
    // Coloured only on a terminal, as the library's own reporter is by default.
    ResultReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations <= 0)
                continue;
            Samples& samples = mSamples[run.run_name.function_name];
            const double iterations = static_cast<double>(run.iterations);
            samples.nanosecondsPerIteration.push_back(run.real_accumulated_time * 1e9 / iterations);
            samples.cpuNanosecondsPerIteration.push_back(run.cpu_accumulated_time * 1e9 / iterations);
            for (const auto& [name, counter] : run.counters)
                samples.counters[name].push_back(counter.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The median of a counter such as "bytes_per_second" or "items_per_second"; 0 when the benchmark did
    // not run.
    double Counter(const std::string& benchmark, const std::string& counter) const
    {
        const auto found = mSamples.find(benchmark);
        if (found == mSamples.end())
            return 0.0;
        const auto values = found->second.counters.find(counter);
        return values != found->second.counters.end() ? Median(values->second) : 0.0;
    }

    // The median time of one iteration on that clock (a manual time counts as wall time); 0 when the
    // benchmark did not run.
    double NanosecondsPerIteration(const std::string& benchmark, eClock clock = eClock::Wall) const
    {
        const auto found = mSamples.find(benchmark);
        if (found == mSamples.end())
            return 0.0;
        return Median(clock == eClock::Wall ? found->second.nanosecondsPerIteration
                                            : found->second.cpuNanosecondsPerIteration);
    }

    // Units per second on that clock, from the median time of an iteration of `unitsPerIteration`; 0 when
    // the benchmark did not run.
    double Rate(const std::string& benchmark, double unitsPerIteration, eClock clock) const
    {
        const double nanoseconds = NanosecondsPerIteration(benchmark, clock);
        return nanoseconds > 0.0 ? unitsPerIteration * 1e9 / nanoseconds : 0.0;
    }

    // How many repetitions the figures of a benchmark come from.
    size_t Repetitions(const std::string& benchmark) const
    {
        const auto found = mSamples.find(benchmark);
        return found != mSamples.end() ? found->second.nanosecondsPerIteration.size() : 0;
    }

    static double Median(std::vector<double> values)
    {
        if (values.empty())
            return 0.0;
        const size_t middle = values.size() / 2;
        std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
        if (values.size() % 2 != 0)
            return values[middle];
        const double upper = values[middle];
        return (*std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle)) + upper) / 2;
    }

private:
    struct Samples
    {
        std::vector<double> nanosecondsPerIteration;
        std::vector<double> cpuNanosecondsPerIteration;
        std::map<std::string, std::vector<double>> counters;
    };
    std::map<std::string, Samples> mSamples;
};

// Reads the benchmark library's command line. Unless it says otherwise, each benchmark runs five times,
// the repetitions of all of them shuffled together, so that a busy moment of the machine falls on ours
// and on the reference alike. Returns false, having printed why, when the command line holds an argument
// the library does not know.
inline bool InitializeBenchmarks(int argc, char** argv)
{
    static std::vector<char*> arguments;
    arguments.assign(argv, argv + argc);
    const auto given = [](const char* flag)
    {
        return std::any_of(arguments.begin(), arguments.end(),
                           [flag](const char* argument)
                           { return std::strncmp(argument, flag, std::strlen(flag)) == 0; });
    };
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    if (!given("--benchmark_repetitions"))
        arguments.push_back(repetitions);
    if (!given("--benchmark_enable_random_interleaving"))
        arguments.push_back(interleaving);
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    return !benchmark::ReportUnrecognizedArguments(count, arguments.data());
}

// Runs the benchmarks the command line selects into `reporter`.
inline void RunBenchmarks(ResultReporter& reporter)
{
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
