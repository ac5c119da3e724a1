// One object-database update of 10,000 objects, each running a repeating serial chain of two timed
// tasks and its own update, against a plain loop that does the same work on the same count: per object
// its own update and the same timers, each behind one indirect call. Both sides count every timer that
// finishes, and a check run of both, side by side, must end with the same counts and totals.
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
// Steps and durations in whole 1/1024 s, so that both sides' sums are exact whatever their order.
constexpr float kStep = 1.0f / 64.0f;
constexpr float kSecondTimer = 160.0f / 1024.0f;
constexpr int kCheckSteps = 500;

// Staggered, so the copies do not all finish in the same update.
float FirstTimer(int object)
{
    return (96.0f + static_cast<float>(object % 50)) / 1024.0f;
}

class BenchObject : public Strata::Object
{
public:
    void Update(float dt) override { mTotal += dt; }
    float mTotal = 0.0f;
    int mTimersDone = 0;
};

// A timed task that counts in its object when it finishes; restarted in place like a plain one.
class CountingTimer : public Strata::TimedTask
{
public:
    explicit CountingTimer(float duration) : TimedTask(duration) {}
    Task* Clone() const override { return new CountingTimer(mDuration); }
    bool CanRestart() const override { return true; }
    Strata::sTaskStatus Update(Strata::Object* object, float dt) override
    {
        const Strata::sTaskStatus status = TimedTask::Update(object, dt);
        if (status.IsComplete())
            ++static_cast<BenchObject*>(object)->mTimersDone;
        return status;
    }
};

std::vector<BenchObject*> Populate(Strata::ObjectDatabase& db)
{
    std::vector<BenchObject*> objects;
    for (int i = 0; i < kObjects; ++i)
    {
        auto* object = new BenchObject();
        object->AddTask(new Strata::RepeatingTask(
            new Strata::SerialTask(new CountingTimer(FirstTimer(i)), new CountingTimer(kSecondTimer))));
        db.AddObject(object);
        objects.push_back(object);
    }
    return objects;
}

void BM_ObjectDatabaseUpdate(benchmark::State& state)
{
    Strata::ObjectDatabase db;
    Populate(db);
    for (auto _ : state)
        db.Update(kStep);
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_ObjectDatabaseUpdate);

// The same work without the engine: per object its own update and its timers, each behind a real
// indirect call (a std::function, whose target the compiler cannot see from the loop, as it cannot see
// an object's update or tasks), running two timers in turn and restarting them when both are done.
struct PlainObject
{
    float mTotal = 0.0f;
    int mTimersDone = 0;
    std::function<void(PlainObject&, float)> mUpdate;
    std::function<void(PlainObject&, float)> mTimers;
};

std::function<void(PlainObject&, float)> MakeTimers(float first)
{
    return [durations = std::array<float, 2>{first, kSecondTimer}, elapsed = 0.0f, phase = 0](PlainObject& object,
                                                                                              float dt) mutable
    {
        float remaining = dt;
        for (;;)
        {
            elapsed += remaining;
            if (elapsed < durations[static_cast<size_t>(phase)])
                break;
            remaining = elapsed - durations[static_cast<size_t>(phase)]; // the part this timer did not need
            ++object.mTimersDone;
            elapsed = 0.0f;
            phase ^= 1;
            if (remaining <= 0.0f)
                break;
        }
    };
}

std::vector<PlainObject> MakePlainObjects()
{
    std::vector<PlainObject> objects(kObjects);
    for (int i = 0; i < kObjects; ++i)
    {
        objects[static_cast<size_t>(i)].mUpdate = [](PlainObject& object, float dt) { object.mTotal += dt; };
        objects[static_cast<size_t>(i)].mTimers = MakeTimers(FirstTimer(i));
    }
    return objects;
}

// Not inlined, so that an instruction count can single out one update of the plain side.
[[gnu::noinline]] void UpdatePlain(std::vector<PlainObject>& objects)
{
    for (PlainObject& object : objects)
    {
        object.mTimers(object, kStep);
        object.mUpdate(object, kStep);
    }
}

void BM_PlainIndirectLoop(benchmark::State& state)
{
    std::vector<PlainObject> objects = MakePlainObjects();
    benchmark::DoNotOptimize(objects.data());
    for (auto _ : state)
    {
        UpdatePlain(objects);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_PlainIndirectLoop);

// Runs both sides the same number of steps; the objects whose totals or finished timers differ.
int CountDifferences()
{
    Strata::ObjectDatabase db;
    const std::vector<BenchObject*> engine = Populate(db);
    std::vector<PlainObject> plain = MakePlainObjects();
    for (int step = 0; step < kCheckSteps; ++step)
    {
        db.Update(kStep);
        UpdatePlain(plain);
    }
    int differences = 0;
    for (size_t i = 0; i < plain.size(); ++i)
        if (engine[i]->mTotal != plain[i].mTotal || engine[i]->mTimersDone != plain[i].mTimersDone)
            ++differences;
    return differences;
}

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    const int differences = CountDifferences();
    if (differences != 0)
    {
        std::printf("The object database and the plain loop disagree on %d of %d objects after %d steps.\n",
                    differences, kObjects, kCheckSteps);
        return 1;
    }
    ResultReporter reporter;
    RunBenchmarks(reporter);

    const double ours = reporter.NanosecondsPerIteration("BM_ObjectDatabaseUpdate", eClock::CPU) / kObjects;
    const double plain = reporter.NanosecondsPerIteration("BM_PlainIndirectLoop", eClock::CPU) / kObjects;
    std::printf("The object database and the plain loop agree on every object's timers after %d steps.\n", kCheckSteps);
    std::printf("%d objects, %s. Object database update: %.1f ns per object", kObjects, ClockName(eClock::CPU), ours);
    if (plain > 0.0)
        std::printf(", %.2fx a plain loop of indirect calls (%.1f ns per object; goal at most 3x)", ours / plain,
                    plain);
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("BM_ObjectDatabaseUpdate"));
    return 0;
}
