// One object-database update of 10,000 objects, each running a repeating serial chain of two timed
// tasks, against a plain loop that does the same timing arithmetic on the same count through one indirect
// call per object.
// Reported as time per object and as the ratio of the two.

#include "framework/Object.h"
#include "framework/ObjectDatabase.h"
#include "framework/Task.h"
#include "framework/TimedTask.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <functional>
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
        db.Update(kStep);
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_ObjectDatabaseUpdate);

// The same work without the engine: per object its own update and one task behind a real indirect call
// (a std::function, whose target the compiler cannot see from the loop, as it cannot see an object's
// tasks), running two timers in turn and restarting them when both are done.
struct PlainObject
{
    float mTotal = 0.0f;
    std::function<void(float)> mTask;
};

std::function<void(float)> MakeTimers(float first)
{
    return [durations = std::array<float, 2>{first, 0.15f}, elapsed = 0.0f, phase = 0](float dt) mutable
    {
        float remaining = dt;
        for (;;)
        {
            elapsed += remaining;
            if (elapsed < durations[static_cast<size_t>(phase)])
                break;
            remaining = elapsed - durations[static_cast<size_t>(phase)]; // the part this timer did not need
            elapsed = 0.0f;
            phase ^= 1;
            if (remaining <= 0.0f)
                break;
        }
    };
}

void BM_PlainIndirectLoop(benchmark::State& state)
{
    std::vector<PlainObject> objects(kObjects);
    for (int i = 0; i < kObjects; ++i)
        objects[static_cast<size_t>(i)].mTask = MakeTimers(0.1f + 0.001f * static_cast<float>(i % 50));
    benchmark::DoNotOptimize(objects.data());
    for (auto _ : state)
    {
        for (PlainObject& object : objects)
        {
            object.mTotal += kStep;
            object.mTask(kStep);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_PlainIndirectLoop);

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    ResultReporter reporter;
    RunBenchmarks(reporter);

    const double ours = reporter.NanosecondsPerIteration("BM_ObjectDatabaseUpdate", eClock::CPU) / kObjects;
    const double plain = reporter.NanosecondsPerIteration("BM_PlainIndirectLoop", eClock::CPU) / kObjects;
    std::printf("%d objects, %s. Object database update: %.1f ns per object", kObjects, ClockName(eClock::CPU), ours);
    if (plain > 0.0)
        std::printf(", %.2fx a plain loop of indirect calls (%.1f ns per object; goal at most 3x)", ours / plain,
                    plain);
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("BM_ObjectDatabaseUpdate"));
    return 0;
}
