// One object-database update of 10,000 objects, each running a repeating serial chain of two timed
// tasks, against a plain loop of virtual calls doing the same timing arithmetic on the same count.
// Reported as time per object and as the ratio of the two.

#include "framework/Object.h"
#include "framework/ObjectDatabase.h"
#include "framework/Task.h"
#include "framework/TimedTask.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr int kObjects = 10000;
constexpr float kStep = 0.02f;

class BenchObject : public Strata::Object
{
public:
    void Update(float dt) override { mTotal += dt; }
    float mTotal = 0.0f;
};

void BM_ObjectDatabaseUpdate(benchmark::State& state)
{
    Strata::ObjectDatabase db;
    for (int i = 0; i < kObjects; ++i)
    {
        auto* object = new BenchObject();
        // Staggered durations so the copies do not all finish in the same update.
        const float first = 0.1f + 0.001f * static_cast<float>(i % 50);
        object->AddTask(new Strata::RepeatingTask(
            new Strata::SerialTask(new Strata::TimedTask(first), new Strata::TimedTask(0.15f))));
        db.AddObject(object);
    }
    for (auto _ : state)
    {
        db.Update(kStep);
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_ObjectDatabaseUpdate);

// The same work without the engine: two timers in turn per entry, restarted when both are done.
class PlainEntry
{
public:
    explicit PlainEntry(float first) : mDurations{first, 0.15f} {}
    virtual ~PlainEntry() = default;

    virtual void Update(float dt)
    {
        float remaining = dt;
        for (;;)
        {
            mElapsed += remaining;
            if (mElapsed < mDurations[mPhase])
            {
                break;
            }
            remaining = mElapsed - mDurations[mPhase]; // the part this timer did not need
            mElapsed = 0.0f;
            mPhase ^= 1;
            if (remaining <= 0.0f)
            {
                break;
            }
        }
        mTotal += dt;
    }

    float mTotal = 0.0f;

private:
    float mDurations[2];
    float mElapsed = 0.0f;
    int mPhase = 0;
};

void BM_PlainVirtualLoop(benchmark::State& state)
{
    std::vector<std::unique_ptr<PlainEntry>> entries;
    for (int i = 0; i < kObjects; ++i)
    {
        entries.push_back(std::make_unique<PlainEntry>(0.1f + 0.001f * static_cast<float>(i % 50)));
    }
    for (auto _ : state)
    {
        for (auto& entry : entries)
        {
            entry->Update(kStep);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_PlainVirtualLoop);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
    {
        return 1;
    }
    ResultReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double ours = reporter.NanosecondsPerIteration("BM_ObjectDatabaseUpdate") / kObjects;
    const double plain = reporter.NanosecondsPerIteration("BM_PlainVirtualLoop") / kObjects;
    std::printf("%d objects. Object database update: %.1f ns per object", kObjects, ours);
    if (plain > 0.0)
    {
        std::printf(", %.2fx a plain virtual loop (%.1f ns per object)", ours / plain, plain);
    }
    std::printf("\n");
    return 0;
}
