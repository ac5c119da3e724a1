#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Keeps each benchmark's results, by function name, for the comparison line every benchmark program
// prints at its end.
class ResultReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations <= 0)
                continue;
            Result& result = mResults[run.run_name.function_name];
            result.nanosecondsPerIteration = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
            for (const auto& [name, counter] : run.counters)
                result.counters[name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // A counter such as "bytes_per_second" or "items_per_second"; 0 when the benchmark did not run.
    double Counter(const std::string& benchmark, const std::string& counter) const
    {
        const auto found = mResults.find(benchmark);
        if (found == mResults.end())
            return 0.0;
        const auto value = found->second.counters.find(counter);
        return value != found->second.counters.end() ? value->second : 0.0;
    }

    // Wall-clock time of one iteration; 0 when the benchmark did not run.
    double NanosecondsPerIteration(const std::string& benchmark) const
    {
        const auto found = mResults.find(benchmark);
        return found != mResults.end() ? found->second.nanosecondsPerIteration : 0.0;
    }

private:
    struct Result
    {
        double nanosecondsPerIteration = 0.0;
        std::map<std::string, double> counters;
    };
    std::map<std::string, Result> mResults;
};
