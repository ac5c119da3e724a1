#include "framework/Task.h"

#include "FrameworkTestObjects.h"
#include "core/RuntimeError.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "framework/ObjectDatabase.h"
#include "framework/TimedTask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <new>
#include <stdexcept>

// Heap allocations of the calling thread while a test counts them.
namespace
{
thread_local size_t* gAllocations = nullptr;
}

void* operator new(size_t size)
{
    if (gAllocations != nullptr)
        ++*gAllocations;
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    throw std::bad_alloc();
}

// Arrays too: under the address sanitizer its own array new answers and would not be counted.
void* operator new[](size_t size)
{
    return operator new(size);
}

// Not inlined, or the compiler takes the free for a mismatch of the new expressions it sees.
__attribute__((noinline)) void operator delete(void* block) noexcept
{
    std::free(block);
}

__attribute__((noinline)) void operator delete(void* block, size_t) noexcept
{
    std::free(block);
}

__attribute__((noinline)) void operator delete[](void* block) noexcept
{
    std::free(block);
}

__attribute__((noinline)) void operator delete[](void* block, size_t) noexcept
{
    std::free(block);
}

namespace Strata
{
namespace
{

using Testing::ProbeTask;

// A task that completes at once without using time and counts its runs in a shared counter.
class InstantTask : public Task
{
public:
    explicit InstantTask(int* runs) : mRuns(runs) {}
    Task* Clone() const override { return new InstantTask(mRuns); }
    sTaskStatus Update(Object*, float) override
    {
        ++*mRuns;
        return CompletedAfter(0.0f);
    }

private:
    int* mRuns;
};

// A timed task that counts, in a counter its clones share, how many copies have finished.
class CountingTimedTask : public TimedTask
{
public:
    CountingTimedTask(float duration, int* done) : TimedTask(duration), mDone(done) {}
    Task* Clone() const override { return new CountingTimedTask(mDuration, mDone); }
    sTaskStatus Update(Object* object, float dt) override
    {
        const sTaskStatus status = TimedTask::Update(object, dt);
        if (status.IsComplete())
            ++*mDone;
        return status;
    }

private:
    int* mDone;
};

TEST(SerialTask, HandsUnusedTimeToTheNextChild)
{
    auto* first = new TimedTask(0.5f);
    auto* second = new TimedTask(0.5f);
    SerialTask serial(first, second);

    sTaskStatus status = serial.Update(nullptr, 0.375f);
    EXPECT_FALSE(status.IsComplete());

    status = serial.Update(nullptr, 0.375f);
    EXPECT_FALSE(status.IsComplete());
    EXPECT_TRUE(first->IsFinished()); // finished children stay until the serial task goes
    EXPECT_FLOAT_EQ(0.25f, second->GetElapsed());

    status = serial.Update(nullptr, 0.375f);
    EXPECT_TRUE(status.IsComplete());
    EXPECT_FLOAT_EQ(0.25f, status.time);
}

TEST(SerialTask, ChildCompletingWithTheWholeStepDelaysTheNext)
{
    auto* first = new ProbeTask(Task::Complete);
    auto* second = new ProbeTask(Task::Incomplete);
    SerialTask serial(first, second);
    serial.Update(nullptr, 0.02f);
    EXPECT_EQ(1, first->updates);
    EXPECT_EQ(0, second->updates);
    serial.Update(nullptr, 0.02f);
    EXPECT_EQ(1, first->updates);
    EXPECT_EQ(1, second->updates);

    // A remainder of exactly 0 still runs the next child, with dt 0.
    auto* exact = new ProbeTask(Task::CompletedAfter(0.02f));
    auto* next = new ProbeTask(Task::Incomplete);
    SerialTask chain(exact, next);
    chain.Update(nullptr, 0.02f);
    EXPECT_EQ(1, next->updates);
    EXPECT_EQ(0.0f, next->lastDt);
}

TEST(CompositeTasks, EmptyOnesCompleteAtOnceUsingNoTime)
{
    SerialTask serial;
    ParallelTask parallel(ParallelTaskCompletion_All);
    const sTaskStatus s = serial.Update(nullptr, 0.02f);
    const sTaskStatus p = parallel.Update(nullptr, 0.02f);
    EXPECT_TRUE(s.IsComplete());
    EXPECT_EQ(0.0f, s.time);
    EXPECT_TRUE(p.IsComplete());
    EXPECT_EQ(0.0f, p.time);
}

TEST(ParallelTask, RuleAnyFinishesWithTheFirstChild)
{
    int deleted = 0;
    {
        auto* quick = new TimedTask(0.02f);
        auto* slow = new ProbeTask(Task::Incomplete, &deleted);
        ParallelTask parallel(ParallelTaskCompletion_Any, quick, slow);
        const sTaskStatus status = parallel.Update(nullptr, 0.05f);
        EXPECT_TRUE(status.IsComplete());
        EXPECT_EQ(1, slow->updates);
        EXPECT_EQ(0, deleted);
    }
    EXPECT_EQ(1, deleted); // the unfinished child goes with the parallel task
}

TEST(ParallelTask, RuleAllCompletesOnTheUpdateAfterTheLastChild)
{
    ParallelTask parallel(ParallelTaskCompletion_All, new TimedTask(0.02f), new TimedTask(0.04f));
    EXPECT_FALSE(parallel.Update(nullptr, 0.02f).IsComplete());
    const sTaskStatus last = parallel.Update(nullptr, 0.02f);
    EXPECT_FALSE(last.IsComplete());
    EXPECT_FLOAT_EQ(0.02f, last.time);
    const sTaskStatus after = parallel.Update(nullptr, 0.02f);
    EXPECT_TRUE(after.IsComplete());
    EXPECT_EQ(0.0f, after.time);
    EXPECT_FALSE(parallel.Update(nullptr, -1.0f).IsComplete());
}

TEST(RepeatingTask, KeepsExactTimeAcrossRepetitions)
{
    int done = 0;
    RepeatingTask repeating(new CountingTimedTask(1.0f, &done));
    for (int i = 0; i < 7; ++i)
        EXPECT_FALSE(repeating.Update(nullptr, 0.5f).IsComplete());
    EXPECT_EQ(3, done);
    repeating.Update(nullptr, 0.5f); // the fourth copy was half way
    EXPECT_EQ(4, done);

    // Several copies within one step, the last one started with what was left.
    int quick = 0;
    RepeatingTask fast(new CountingTimedTask(0.25f, &quick));
    fast.Update(nullptr, 1.1f);
    EXPECT_EQ(4, quick);
    fast.Update(nullptr, 0.15f);
    EXPECT_EQ(5, quick);

    // A clone repeats only the copy in progress, afresh.
    std::unique_ptr<Task> clone(repeating.Clone());
    clone->Update(nullptr, 0.5f);
    EXPECT_EQ(4, done);
    clone->Update(nullptr, 0.5f);
    EXPECT_EQ(5, done);
}

// Asks, from inside its parent's walk, whether the parent can restart.
class AskingTask : public Task
{
public:
    AskingTask(const Task* const* parent, bool* answer) : mParent(parent), mAnswer(answer) {}
    Task* Clone() const override { return new AskingTask(mParent, mAnswer); }
    sTaskStatus Update(Object*, float) override
    {
        *mAnswer = (*mParent)->CanRestart();
        return CompletedAfter(0.0f);
    }

private:
    const Task* const* mParent;
    bool* mAnswer;
};

// Composites of a subclass: their Update is the same, but an object and a repeating task do not know
// their class and reach them through the virtual call.
class SubclassedSerial : public SerialTask
{
public:
    using SerialTask::SerialTask;
};

class SubclassedRepeating : public RepeatingTask
{
public:
    using RepeatingTask::RepeatingTask;
};

class SubclassedParallel : public ParallelTask
{
public:
    using ParallelTask::ParallelTask;
};

// A timed task that writes each step it is given, and the time it used when it finished, to a log; a
// message "Skip" finishes it. Restarts in place unless told not to.
class LoggingTimedTask : public TimedTask
{
public:
    LoggingTimedTask(float duration, std::vector<float>* log, bool restarts)
        : TimedTask(duration), mLog(log), mRestarts(restarts)
    {
    }
    Task* Clone() const override { return new LoggingTimedTask(mDuration, mLog, mRestarts); }
    bool CanRestart() const override { return mRestarts; }
    sTaskStatus Update(Object* object, float dt) override
    {
        mLog->push_back(dt);
        const sTaskStatus status = TimedTask::Update(object, dt);
        if (status.IsComplete())
            mLog->push_back(1000.0f + status.time);
        return status;
    }
    int ReceiveMessage(Object*, const ObjectMessage& message) override
    {
        mLog->push_back(-1000.0f);
        return message.GetName() == Label("Skip") ? 0 : 1;
    }

private:
    std::vector<float>* mLog;
    bool mRestarts;
};

// The chains an object runs, each built three ways and run side by side through a database, with
// messages finishing children on the way: of the engine's composites, which an object and a repeating task
// update without the virtual call and restart in place; of subclasses, which they update through it; and
// of leaves that cannot restart, which a repeating task clones. Their leaves see the same steps, and so do
// clones taken at the end.
TEST(RepeatingTask, ChainsRunAlikeInPlaceByClonesAndThroughTheVirtualCall)
{
    struct Kit
    {
        std::vector<float>* log;
        bool subclassed;
        bool restarts;
        Task* T(float d, bool restarts = true) const
        {
            return new LoggingTimedTask(d, log, restarts && this->restarts);
        }
        Task* Serial(Task* a, Task* b) const
        {
            return subclassed ? static_cast<Task*>(new SubclassedSerial(a, b)) : new SerialTask(a, b);
        }
        Task* Serial(Task* a, Task* b, Task* c, Task* d) const
        {
            return subclassed ? static_cast<Task*>(new SubclassedSerial(a, b, c, d)) : new SerialTask(a, b, c, d);
        }
        Task* Repeat(Task* child) const
        {
            return subclassed ? static_cast<Task*>(new SubclassedRepeating(child)) : new RepeatingTask(child);
        }
        Task* Parallel(ParallelTaskCompletion rule, Task* a, Task* b) const
        {
            return subclassed ? static_cast<Task*>(new SubclassedParallel(rule, a, b)) : new ParallelTask(rule, a, b);
        }
    };
    struct Case
    {
        const char* name;
        std::vector<Task*> (*make)(const Kit&);
    };
    const Case cases[] = {
        {"a repeating pair",
         [](const Kit& k) { return std::vector<Task*>{k.Repeat(k.Serial(k.T(0.1f), k.T(0.15f)))}; }},
        {"a repeating four, two taking no time", [](const Kit& k)
         { return std::vector<Task*>{k.Repeat(k.Serial(k.T(0.0f), k.T(0.3f), k.T(0.0f), k.T(0.05f)))}; }},
        {"a repeating pair that is cloned",
         [](const Kit& k) { return std::vector<Task*>{k.Repeat(k.Serial(k.T(0.12f, false), k.T(0.07f)))}; }},
        {"a chain once, then a repeating timer",
         [](const Kit& k) {
             return std::vector<Task*>{k.Serial(k.T(0.2f), k.T(0.3f)), k.Repeat(k.T(0.09f))};
         }},
        {"a repeating chain within a chain", [](const Kit& k)
         { return std::vector<Task*>{k.Serial(k.Repeat(k.Serial(k.T(0.05f), k.T(0.08f))), k.T(1.0f))}; }},
        {"a repeating chain of side-by-side tasks",
         [](const Kit& k)
         {
             return std::vector<Task*>{k.Repeat(k.Serial(
                 k.Parallel(ParallelTaskCompletion_Any, k.Serial(k.T(0.04f), k.T(0.06f)), k.T(0.13f)), k.T(0.02f)))};
         }},
        {"one repeating timer", [](const Kit& k) { return std::vector<Task*>{k.Repeat(k.T(0.25f))}; }},
        {"a repeating timer that takes no time", [](const Kit& k) { return std::vector<Task*>{k.Repeat(k.T(0.0f))}; }},
        {"a repeating side by side, all finishing", [](const Kit& k)
         { return std::vector<Task*>{k.Repeat(k.Parallel(ParallelTaskCompletion_All, k.T(0.2f), k.T(0.35f)))}; }},
        {"a repeating nest of chains",
         [](const Kit& k)
         {
             return std::vector<Task*>{k.Repeat(k.Serial(
                 k.Serial(k.T(0.05f), k.T(0.07f)), k.Parallel(ParallelTaskCompletion_All, k.T(0.11f), k.T(0.0f))))};
         }},
    };
    const float steps[] = {0.02f, 0.5f, 0.0f, 0.13f, 1.1f, 0.07f, -0.01f, 0.3f, 0.019f, 0.25f, 2.0f, 0.001f};
    for (const Case& c : cases)
    {
        ObjectDatabase db;
        std::vector<float> logs[3];
        const Kit kits[3] = {{&logs[0], false, true}, {&logs[1], true, true}, {&logs[2], false, false}};
        // The last task of every case runs to the end: its clones are compared after the run.
        Task* last[3] = {};
        for (int k = 0; k < 3; ++k)
        {
            auto* object = new Object();
            for (Task* task : c.make(kits[k]))
                object->AddTask(last[k] = task);
            db.AddObject(object);
        }
        for (int round = 0; round < 12; ++round)
            for (const float dt : steps)
            {
                if (round % 4 == 3 && dt == 0.0f)
                    db.SendMessage(ObjectMessage(Label("Skip")));
                db.Update(dt);
            }
        EXPECT_GT(logs[0].size(), 50u) << c.name;
        EXPECT_EQ(logs[0], logs[1]) << c.name << ": through the virtual call";
        EXPECT_EQ(logs[0], logs[2]) << c.name << ": by clones";

        std::unique_ptr<Task> inPlaceClone(last[0]->Clone());
        std::unique_ptr<Task> byClonesClone(last[2]->Clone());
        for (const float dt : steps)
            ASSERT_EQ(inPlaceClone->Update(nullptr, dt).time, byClonesClone->Update(nullptr, dt).time) << c.name;
    }
}

// Only tasks whose restart nothing could tell from a clone restart in place.
TEST(TaskRestart, OnlyWhereAFreshCloneWouldBeTheSame)
{
    const Task* parent = nullptr;
    bool askedDuringWalk = true;
    SerialTask walking(new AskingTask(&parent, &askedDuringWalk), new TimedTask(1.0f));
    parent = &walking;
    walking.Update(nullptr, 0.02f);
    EXPECT_FALSE(askedDuringWalk) << "a chain in the middle of its walk";

    struct Case
    {
        const char* name;
        std::unique_ptr<Task> task;
        bool restarts;
    };
    Case cases[] = {
        {"timed", std::make_unique<TimedTask>(1.0f), true},
        {"interpolating (its clone is a plain timed task)",
         std::make_unique<InterpolatingTask>(1.0f, std::make_shared<LinearInterpolator>()), false},
        {"alpha (takes its start again)", std::make_unique<AlphaTask>(0.5f, 1.0f), false},
        {"visible (no restart of its own)", std::make_unique<VisibleTask>(true), false},
        {"a chain with an alpha task",
         std::unique_ptr<Task>(new SerialTask(new TimedTask(1.0f), new AlphaTask(0.5f, 1.0f))), false},
        {"repeating", std::make_unique<RepeatingTask>(new TimedTask(1.0f)), false},
        {"an empty chain", std::make_unique<SerialTask>(), true},
    };
    for (Case& c : cases)
        EXPECT_EQ(c.task->CanRestart(), c.restarts) << c.name;

    // A restarted chain runs from its first child again, every flag cleared.
    SerialTask chain(new TimedTask(0.5f), new TimedTask(0.5f));
    chain.SetFlags(Task::Flag_Finished);
    EXPECT_TRUE(chain.Update(nullptr, 1.0f).IsComplete());
    chain.Restart();
    EXPECT_EQ(chain.GetFlags(), 0u);
    EXPECT_FALSE(chain.Update(nullptr, 0.75f).IsComplete());
    const sTaskStatus done = chain.Update(nullptr, 0.5f);
    EXPECT_TRUE(done.IsComplete());
    EXPECT_FLOAT_EQ(done.time, 0.25f);
}

TEST(RepeatingTask, ChildrenThatUseNoTimeRunOnceARound)
{
    int runs = 0;
    RepeatingTask repeating(new InstantTask(&runs));
    repeating.AddTask(new InstantTask(&runs));
    const sTaskStatus status = repeating.Update(nullptr, 0.02f);
    EXPECT_FALSE(status.IsComplete());
    EXPECT_EQ(2, runs);
    repeating.Update(nullptr, 0.02f);
    EXPECT_EQ(4, runs);

    // Inside a serial chain it does not hold the whole step either.
    int chained = 0;
    SerialTask serial(new RepeatingTask(new InstantTask(&chained)), new TimedTask(1.0f));
    EXPECT_FALSE(serial.Update(nullptr, 0.02f).IsComplete());
    EXPECT_EQ(1, chained);
}

TEST(RepeatingTask, MessageFinishingAChildDoesNotCloneForEver)
{
    int deleted = 0;
    auto* probe = new ProbeTask(Task::Incomplete, &deleted);
    probe->finishOn = Label("Stop");
    RepeatingTask repeating(probe);
    const ObjectMessage stop(Label("Stop"));
    EXPECT_EQ(1, repeating.ReceiveMessage(nullptr, stop));
    EXPECT_EQ(1, deleted); // replaced by one clone
    EXPECT_EQ(1, repeating.ReceiveMessage(nullptr, stop));
    EXPECT_EQ(2, deleted);
}

TEST(RepeatingTask, UncloneableChildFailsWhenItFirstFinishes)
{
    RepeatingTask repeating(new SelfDestructTask());
    try
    {
        repeating.Update(nullptr, 0.02f);
        FAIL() << "expected a RuntimeError";
    }
    catch (const RuntimeError& error)
    {
        EXPECT_NE(std::string::npos,
                  std::string(error.what()).find("SelfDestructTask does not implement Task::Clone."));
        // A reader of the log opens the file it names and finds the throw on the line it names.
        EXPECT_EQ(error.GetFile(), "src/engine/framework/Task.cpp");
        std::ifstream source(std::string(STRATA_SOURCE_DIR) + "/" + error.GetFile());
        ASSERT_TRUE(source.is_open()) << error.GetFile();
        std::string text;
        for (int i = 0; i < error.GetLine() && std::getline(source, text); ++i)
        {
        }
        EXPECT_NE(std::string::npos, text.find("Task::Clone")) << "line " << error.GetLine() << ": " << text;
        EXPECT_NE(std::string::npos, error.GetFunction().find("Clone"));
    }
}

// Objects running repeating chains (one of four children, past what a set holds in place) and drawn in
// changing layers: once every kind of task has been made and deleted, updates allocate nothing, and the
// chains keep their exact time.
TEST(RepeatingTask, SteadyUpdatesDoNotAllocate)
{
    ObjectDatabase database;
    int done = 0;
    std::vector<Testing::WidgetObject*> widgets;
    for (int i = 0; i < 20; ++i)
    {
        auto* widget = new Testing::WidgetObject(nullptr, "w" + std::to_string(i), static_cast<float>(i % 3));
        widget->AddTask(new RepeatingTask(new SerialTask(new CountingTimedTask(0.125f, &done), new TimedTask(0.0625f),
                                                         new TimedTask(0.0f), new TimedTask(0.0625f))));
        widget->AddTask(new TimedTask(100.0f));
        database.AddObject(widget);
        widgets.push_back(widget);
    }
    const auto run = [&](int steps)
    {
        for (int step = 0; step < steps; ++step)
        {
            widgets[static_cast<size_t>(step) % widgets.size()]->layer = static_cast<float>(step % 5);
            database.Update(0.03125f);
        }
    };
    run(64); // 2 s: eight repetitions of each chain
    EXPECT_EQ(done, 20 * 8);

    size_t allocations = 0;
    gAllocations = &allocations;
    run(128);
    gAllocations = nullptr;
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(done, 20 * 24);
    for (size_t i = 1; i < database.GetDrawList().size(); ++i)
        EXPECT_LE(database.GetLayer(database.GetDrawList()[i - 1]), database.GetLayer(database.GetDrawList()[i]));
}

TEST(TaskClone, CompositeClonesStartFresh)
{
    SerialTask serial(new TimedTask(0.5f), new TimedTask(0.5f));
    serial.Update(nullptr, 0.75f);
    std::unique_ptr<Task> clone(serial.Clone());
    EXPECT_FALSE(clone->Update(nullptr, 0.75f).IsComplete());
    const sTaskStatus done = clone->Update(nullptr, 0.5f);
    EXPECT_TRUE(done.IsComplete());
    EXPECT_FLOAT_EQ(0.25f, done.time);

    ParallelTask parallel(ParallelTaskCompletion_Any, new TimedTask(0.5f), new TimedTask(1.0f));
    std::unique_ptr<Task> parallelClone(parallel.Clone());
    EXPECT_FALSE(parallelClone->Update(nullptr, 0.25f).IsComplete());
    EXPECT_TRUE(parallelClone->Update(nullptr, 0.25f).IsComplete());
}

TEST(TaskMessages, SerialDeliversToEveryUnfinishedChild)
{
    auto* a = new ProbeTask();
    auto* b = new ProbeTask();
    b->finishOn = Label("Done");
    SerialTask serial(a, b);
    EXPECT_EQ(1, serial.ReceiveMessage(nullptr, ObjectMessage(Label("Hello"))));
    EXPECT_EQ(std::vector<std::string>{"Hello"}, a->messages);
    EXPECT_EQ(std::vector<std::string>{"Hello"}, b->messages);
    serial.ReceiveMessage(nullptr, ObjectMessage(Label("Done")));
    EXPECT_TRUE(b->IsFinished());
    serial.ReceiveMessage(nullptr, ObjectMessage(Label("Later")));
    EXPECT_EQ(2u, b->messages.size()); // finished children hear no more

    ParallelTask any(ParallelTaskCompletion_Any, new ProbeTask(), nullptr);
    auto* quitter = new ProbeTask();
    quitter->finishOn = Label("Done");
    any.AddTask(quitter);
    EXPECT_EQ(0, any.ReceiveMessage(nullptr, ObjectMessage(Label("Done"))));
}

TEST(TaskCollection, TasksAddedAndClearedDuringAWalk)
{
    int deleted = 0;
    TaskSet set;
    auto* adder = new ProbeTask(Task::CompletedAfter(0.0f), &deleted);
    adder->onUpdate = [&](Object*) { set.Add(new ProbeTask(Task::CompletedAfter(0.0f), &deleted)); };
    set.Add(adder);
    const sTaskStatus status = set.UpdateSerial(nullptr, 0.02f);
    EXPECT_TRUE(status.IsComplete()); // the appended task ran in the same walk
    EXPECT_EQ(2, deleted);
    EXPECT_TRUE(set.IsEmpty());

    auto* clearer = new ProbeTask(Task::Incomplete, &deleted);
    clearer->onUpdate = [&](Object*)
    {
        set.Clear();
        EXPECT_EQ(2, deleted); // not during the walk
    };
    set.Add(clearer);
    set.Add(new ProbeTask(Task::Incomplete, &deleted));
    set.UpdateParallel(nullptr, 0.02f, ParallelTaskCompletion_All);
    EXPECT_EQ(4, deleted);

    // A collection of busy depth 1 keeps finished tasks until it is destroyed.
    {
        TaskSet kept(1);
        kept.Add(new ProbeTask(Task::CompletedAfter(0.0f), &deleted));
        kept.UpdateSerial(nullptr, 0.02f);
        EXPECT_EQ(1u, kept.GetCount());
    }
    EXPECT_EQ(5, deleted);
}

// Sets of every size around the two tasks held in place: the order survives growth, purges of finished
// tasks anywhere and appends after a purge, and a serial walk runs them in that order.
TEST(TaskCollection, OrderSurvivesGrowthPurgesAndAppends)
{
    struct Case
    {
        size_t count;
        std::vector<size_t> finished;
        size_t appended;
    };
    const Case cases[] = {
        {1, {}, 1},    {2, {0}, 3},          {3, {1}, 0}, {5, {0, 4}, 4}, {9, {0, 1, 2, 3, 4, 5, 6, 7}, 2},
        {17, {16}, 0}, {4, {0, 1, 2, 3}, 3},
    };
    const Label stop("Stop");
    for (const Case& c : cases)
    {
        int deleted = 0;
        std::vector<int> ran;
        std::vector<int> expected;
        std::vector<ProbeTask*> tasks;
        {
            TaskSet set;
            const auto add = [&](int id, bool finishes)
            {
                auto* task = new ProbeTask(Task::Incomplete, &deleted);
                task->onUpdate = [&ran, id](Object*) { ran.push_back(id); };
                if (finishes)
                    task->finishOn = stop;
                else
                    tasks.push_back(task); // the others are deleted by the purge
                set.Add(task);
            };
            for (size_t i = 0; i < c.count; ++i)
            {
                const bool finishes = std::find(c.finished.begin(), c.finished.end(), i) != c.finished.end();
                add(static_cast<int>(i), finishes);
                if (!finishes)
                    expected.push_back(static_cast<int>(i));
            }
            EXPECT_EQ(set.ReceiveMessage(nullptr, ObjectMessage(stop), ParallelTaskCompletion_All), 1) << c.count;
            EXPECT_EQ(deleted, static_cast<int>(c.finished.size())) << c.count;
            for (size_t i = 0; i < c.appended; ++i)
            {
                add(static_cast<int>(100 + i), false);
                expected.push_back(static_cast<int>(100 + i));
            }
            ASSERT_EQ(set.GetCount(), expected.size()) << c.count;
            for (ProbeTask* task : tasks)
                task->answer = Task::CompletedAfter(0.0f);
            EXPECT_TRUE(set.UpdateSerial(nullptr, 0.02f).IsComplete()) << c.count;
            EXPECT_EQ(ran, expected) << c.count;
            EXPECT_TRUE(set.IsEmpty()) << c.count;
        }
        EXPECT_EQ(deleted, static_cast<int>(c.count + c.appended)) << c.count;
    }
}

// The pool behind tasks and their sets: a block holds every byte asked for (the address sanitizer watches
// the writes), and a freed block comes back for the next request of its size class, and only of its class.
TEST(TaskMemory, BlocksHoldWhatWasAskedAndReturnWithinTheirClass)
{
    for (size_t size = 0; size <= 300; ++size)
    {
        auto* first = static_cast<unsigned char*>(Internal::AllocateTaskMemory(size));
        auto* second = static_cast<unsigned char*>(Internal::AllocateTaskMemory(size));
        ASSERT_NE(first, second) << size;
        std::fill(first, first + size, 0xA5);
        std::fill(second, second + size, 0x5A);
        EXPECT_EQ(std::count(first, first + size, 0xA5), static_cast<std::ptrdiff_t>(size)) << size;
        Internal::ReleaseTaskMemory(second, size);
        Internal::ReleaseTaskMemory(first, size);
    }
    struct Case
    {
        size_t freed;
        size_t asked;
        bool reused;
    };
    const Case cases[] = {
        {1, 8, true},   {8, 9, false},   {9, 24, true},    {24, 25, false},   {40, 41, false},
        {57, 72, true}, {56, 72, false}, {249, 264, true}, {264, 265, false},
    };
    for (const Case& c : cases)
    {
        void* freed = Internal::AllocateTaskMemory(c.freed);
        Internal::ReleaseTaskMemory(freed, c.freed);
        void* asked = Internal::AllocateTaskMemory(c.asked);
        std::fill_n(static_cast<unsigned char*>(asked), c.asked, 0x11);
        EXPECT_EQ(asked == freed, c.reused) << c.freed << " then " << c.asked;
        Internal::ReleaseTaskMemory(asked, c.asked);
    }
}

// A task that throws from its update ends the walk, whether it ran first or later in the walk: the set is
// no longer busy, and the tasks that finished before it are deleted.
TEST(TaskCollection, TaskThrowingFromItsUpdateEndsTheWalk)
{
    for (const bool firstThrows : {true, false})
    {
        SCOPED_TRACE(firstThrows ? "the first task throws" : "the second task throws");
        int deleted = 0;
        bool fail = true;
        TaskSet set;
        auto* first = new ProbeTask(Task::CompletedAfter(0.01f), &deleted);
        auto* second = new ProbeTask(Task::Incomplete, &deleted);
        (firstThrows ? first : second)->onUpdate = [&fail](Object*)
        {
            if (fail)
                throw std::runtime_error("task failed");
        };
        set.Add(first);
        set.Add(second);
        EXPECT_THROW(set.UpdateSerial(nullptr, 0.02f), std::runtime_error);
        EXPECT_EQ(0, set.GetBusyDepth());
        EXPECT_EQ(firstThrows ? 0 : 1, deleted);
        fail = false;
        EXPECT_FALSE(set.UpdateSerial(nullptr, 0.02f).IsComplete());
        EXPECT_EQ(1, deleted);
        EXPECT_EQ(1u, set.GetCount());
    }
}

TEST(TaskCollection, NamedSetRunsInKeyOrderAndPurges)
{
    int deleted = 0;
    NamedTaskSet named;
    named.Add(Label("b"), new ProbeTask(Task::CompletedAfter(0.01f), &deleted));
    named.Add(Label("a"), new ProbeTask(Task::Incomplete, &deleted));
    const sTaskStatus status = named.UpdateParallel(nullptr, 0.02f, ParallelTaskCompletion_All);
    EXPECT_FALSE(status.IsComplete());
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(1u, named.GetCount());
}

TEST(SelfDestructTask, DestroysItsObjectInTheContextDatabase)
{
    ApplicationMode mode;
    auto* object = new Object();
    object->AddTask(new SelfDestructTask());
    const ObjectID id = mode.AddObject(object);
    MainLoop::AutoContext guard;
    MainLoop::WithinContext(&mode, guard);
    mode.Update(0.02f);
    EXPECT_FALSE(mode.IsValidObjectID(id));
}

} // namespace
} // namespace Strata
