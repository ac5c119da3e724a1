#pragma once

#include "core/Label.h"

#include <cfloat>
#include <cstdint>
#include <map>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace Strata
{

class Object;
class ObjectMessage;

enum eTaskState : uint32_t
{
    TaskState_Complete = 0,
    TaskState_Incomplete = 1,
};

// The result of a task update: whether the task has finished and how much of the step it used.
struct sTaskStatus
{
    uint32_t state;
    float time;

    bool IsComplete() const { return state == TaskState_Complete; }
};

enum ParallelTaskCompletion
{
    ParallelTaskCompletion_All = 0, // finished when every child has finished
    ParallelTaskCompletion_Any = 1, // finished when one child finishes
};

// A unit of per-frame behaviour attached to an object.
class Task
{
public:
    enum : uint32_t
    {
        Flag_Finished = 1,
        Flag_Replaced = 2, // a repeating set has already appended this task's clone
    };

    // Finished, having used the whole step: a serial chain goes on at the next update.
    static constexpr sTaskStatus Complete{TaskState_Complete, FLT_MAX};
    static constexpr sTaskStatus Incomplete{TaskState_Incomplete, FLT_MAX};
    // Finished after using `seconds` of this step; the rest goes to the next task of a chain.
    static constexpr sTaskStatus CompletedAfter(float seconds) { return {TaskState_Complete, seconds}; }

    // Tasks come and go at every repetition of a repeating task; their memory is kept for the next ones
    // of the same size, so that a steady update does not allocate.
    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size);

    Task() = default;
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    virtual ~Task();

    // A fresh copy in its initial state. The base throws a RuntimeError naming the class.
    virtual Task* Clone() const;
    virtual sTaskStatus Update(Object* object, float dt);
    // 1 keeps the task running; any other value finishes it.
    virtual int ReceiveMessage(Object* object, const ObjectMessage& message);
    // Whether Restart would leave the task as its Clone starts, with nothing to tell the two apart (a
    // clone that draws anew, or is of another class, would differ). A repeating task then runs the same
    // task again instead of a clone. The base cannot.
    virtual bool CanRestart() const;
    // Puts the task back into its initial state, flags cleared; only where CanRestart answers true.
    virtual void Restart();

    uint32_t GetFlags() const { return mFlags; }
    void SetFlags(uint32_t flags) { mFlags |= flags; }
    bool IsFinished() const { return (mFlags & Flag_Finished) != 0; }

private:
    uint32_t mFlags = 0;
};

namespace Internal
{

// The memory behind Task's operator new and delete, for what is made and freed with tasks: blocks kept
// per thread by size for the next of the same size. Release takes the size the block was asked with.
void* AllocateTaskMemory(size_t size);
void ReleaseTaskMemory(void* block, size_t size);

// The tasks of a set in order, the first two held in place: most sets hold one or two tasks, and a
// set walked at every update should not send the walk to yet another block of memory.
class TaskList
{
public:
    using iterator = Task**;

    TaskList() = default;
    TaskList(const TaskList&) = delete;
    TaskList& operator=(const TaskList&) = delete;
    ~TaskList();

    Task** begin() { return Data(); }
    Task** end() { return Data() + mSize; }
    Task* const* begin() const { return Data(); }
    Task* const* end() const { return Data() + mSize; }
    size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    Task*& operator[](size_t index) { return Data()[index]; }
    Task* operator[](size_t index) const { return Data()[index]; }

    void push_back(Task* task)
    {
        if (mSize == mCapacity)
            Grow();
        Data()[mSize++] = task;
    }
    // Removes the tasks for which `remove` is true, keeping the order of the rest; appends them to `removed`.
    template <class Predicate>
    void MoveOut(Predicate&& remove, TaskList& removed)
    {
        Task** data = Data();
        uint32_t kept = 0;
        for (uint32_t i = 0; i < mSize; ++i)
            if (remove(data[i]))
                removed.push_back(data[i]);
            else
                data[kept++] = data[i];
        mSize = kept;
    }

private:
    // Doubles the capacity.
    void Grow();

    // The tasks are in place until they outgrow it; no pointer of its own says where, so that a composite
    // task with its set fits a smaller block.
    Task** Data() { return mCapacity == kInPlace ? mInPlace : mHeap; }
    Task* const* Data() const { return mCapacity == kInPlace ? mInPlace : mHeap; }

    static constexpr uint32_t kInPlace = 2;
    // The size first: a walk's step reads it beside the set's own counters, on the same cache line.
    uint32_t mSize = 0;
    uint32_t mCapacity = kInPlace;
    union
    {
        Task* mInPlace[kInPlace] = {};
        Task** mHeap;
    };
};

// Owns tasks and runs them. Finished tasks are only marked while the collection is busy and
// deleted when the outermost walk ends, so tasks may finish, be added or be cleared from any
// task or handler. A collection made with busy depth 1 never purges on its own.
template <class Container>
class TaskCollection
{
public:
    explicit TaskCollection(int busyDepth = 0) : mBusyDepth(static_cast<int16_t>(busyDepth)) {}
    TaskCollection(const TaskCollection&) = delete;
    TaskCollection& operator=(const TaskCollection&) = delete;
    // Not virtual: a collection is a member of its owner and never deleted through this class. Without a
    // table of its own it also takes a word less of the composite task it is part of.
    ~TaskCollection();

    // Every child runs with the same dt. Complete when no child ran, or when one finished under
    // the rule any; the time is the largest any child used.
    sTaskStatus UpdateParallel(Object* object, float dt, ParallelTaskCompletion rule);
    // Delivers the message to every unfinished task present when the delivery began.
    // 0 when no task was running or (rule any) one finished; otherwise 1.
    int ReceiveMessage(Object* object, const ObjectMessage& message, ParallelTaskCompletion rule);

    // Marks every task finished; deletes them unless a walk is in progress.
    void Clear();
    // Deletes every task marked finished.
    void Purge();

    bool IsEmpty() const
    {
        // A walk's start is one of the tasks: a set that has one is not empty, and the step that runs it
        // reads it next.
        if constexpr (std::is_same_v<Container, TaskList>)
            if (mWalkStart != nullptr)
                return false;
        return mTasks.empty();
    }
    size_t GetCount() const { return mTasks.size(); }
    int GetBusyDepth() const { return mBusyDepth; }

protected:
    void EnterWalk() { ++mBusyDepth; }
    void LeaveWalk()
    {
        if (--mBusyDepth == 0 && mHasFinished)
            Purge();
    }
    void Finish(Task* task);
    // Runs `step` within an entered walk, which a throw leaves on its way out.
    template <class Step>
    decltype(auto) WithinWalk(Step&& step)
    {
        try
        {
            return step();
        }
        catch (...)
        {
            LeaveWalk();
            throw;
        }
    }

    // What a walk's common step reads comes first, so that in a composite task it shares the cache line
    // of the task's own header.
    //
    // The task at mFinishedPrefix, null past the end (list form only): the walk's first task one load
    // away from the set, not two. Kept by SetFinishedPrefix and by whatever changes the list.
    Task* mWalkStart = nullptr;
    // Every task before this position is finished (kept by a set that never purges on its own), so a
    // serial walk starts here without looking at them again. Reset by a purge.
    uint32_t mFinishedPrefix = 0;
    // Two bytes, so that the set's header takes one word: a walk nested in itself that deeply would
    // have run out of stack long before.
    int16_t mBusyDepth;
    // Set when a task is marked finished, so that walks in which none finished skip the purge.
    bool mHasFinished = false;
    // A repeating set (list form only): a task that finishes first appends its clone to the set.
    bool mClonesFinished = false;
    Container mTasks;

    void SetFinishedPrefix(size_t prefix)
    {
        mFinishedPrefix = static_cast<uint32_t>(prefix);
        if constexpr (std::is_same_v<Container, TaskList>)
            mWalkStart = prefix < mTasks.size() ? mTasks[prefix] : nullptr;
    }
};

} // namespace Internal

// Tasks in insertion order.
class TaskSet : public Internal::TaskCollection<Internal::TaskList>
{
public:
    explicit TaskSet(int busyDepth = 0) : TaskCollection(busyDepth) {}

    // Takes ownership. A null task is ignored.
    void Add(Task* task);
    Task* GetTask(size_t index) const { return index < mTasks.size() ? mTasks[index] : nullptr; }

    // Runs the tasks one after another, each with the time the previous one left over. Tasks
    // appended during the walk are reached in the same walk. With `stopOnIdleCycle`, a walk in
    // which a whole round of the tasks finished without using any time ends there, incomplete:
    // a repeating set of zero-time tasks would otherwise clone itself for ever.
    sTaskStatus UpdateSerial(Object* object, float dt, bool stopOnIdleCycle = false)
    {
        return StepSerial(
            object, dt, stopOnIdleCycle, [](Task* task, Object* on, float step) { return task->Update(on, step); });
    }

    // The serial walk whose common step updates its task with `update(task, object, dt)`: a caller that
    // knows the task's exact class runs its Update without the virtual call, and inline.
    template <class UpdateTask>
    sTaskStatus StepSerial(Object* object, float dt, bool stopOnIdleCycle, UpdateTask&& update)
    {
        // The common step, inline so that nested sets cost one call each: the walk's first task runs on
        // past this update. A round counts only under `stopOnIdleCycle`, and is then this one task.
        Task* task = mWalkStart;
        if (task == nullptr || dt < 0.0f || task->IsFinished() ||
            (stopOnIdleCycle && mFinishedPrefix + 1 != mTasks.size()))
            return WalkSerial(object, dt, stopOnIdleCycle);
        const size_t index = mFinishedPrefix;
        EnterWalk();
        sTaskStatus status;
        try
        {
            status = update(task, object, dt);
        }
        catch (...)
        {
            LeaveWalk();
            throw;
        }
        if (status.IsComplete())
            return WalkOnAfter(object, task, index, dt, status, stopOnIdleCycle);
        LeaveWalk();
        return {TaskState_Incomplete, 0.0f + status.time};
    }

    // Whether every task can restart in place and no walk is in progress (the busy depth is `idleDepth`).
    bool CanRestartTasks(int idleDepth) const;
    // Restarts every task: the set is as a set of their clones would be.
    void RestartTasks();

    // Appends to `destination` a clone of every task whose flags share no bit with `mask`.
    // Throws what a task's Clone throws; the clones made before it stay in `destination`.
    void CloneTasks(TaskSet* destination, unsigned long mask) const;

protected:
    // Goes on after the task at `index`, run with `dt` within an entered walk, finished; leaves that walk.
    [[gnu::noinline]] sTaskStatus WalkOnAfter(Object* object, Task* task, size_t index, float dt, sTaskStatus status,
                                              bool stopOnIdleCycle);

private:
    struct sSerialWalk
    {
        float remaining;
        float time;
        bool stopOnIdleCycle;
        // A round is as many completions as there were unfinished tasks when the walk began.
        size_t roundLength;
        size_t roundDone = 0;
        float roundTime = 0.0f;
    };

    // The whole walk, for every case the inline step does not take. Never inlined, so that the step's
    // callers do not carry the walk's registers and stack.
    [[gnu::noinline]] sTaskStatus WalkSerial(Object* object, float dt, bool stopOnIdleCycle);
    // Runs the walk from `from` within an entered walk.
    sTaskStatus WalkFrom(Object* object, size_t from, sSerialWalk& walk);
    // Marks the task at `index` finished and counts the round; false when an idle round ends the walk.
    bool StepFinished(Task* task, size_t index, sTaskStatus status, sSerialWalk& walk);
};

// Tasks keyed by label, walked in key order.
class NamedTaskSet : public Internal::TaskCollection<std::multimap<Label, Task*>>
{
public:
    explicit NamedTaskSet(int busyDepth = 0) : TaskCollection(busyDepth) {}

    // Takes ownership. A null task is ignored.
    void Add(Label name, Task* task);
};

// Appends a clone of each child that finishes, so the children run again and again.
class RepeatingTaskSet : public TaskSet
{
public:
    // Finishing a child appends its clone, and throws what the child's Clone throws.
    RepeatingTaskSet() : TaskSet(0) { mClonesFinished = true; }

    // The serial walk of a repeating task. A sole child that can restart runs again in place each time it
    // finishes, with the time and the idle-round rule of the walk that clones it.
    sTaskStatus UpdateRepeating(Object* object, float dt);

private:
    // Goes on in the walk of a sole child that has just finished with `status`, run with `dt`: restarts
    // it in place while it can. Leaves the walk.
    [[gnu::noinline]] sTaskStatus RepeatAfter(Object* object, Task* task, float dt, sTaskStatus status);
    // The sole child's update within the entered walk, which a throw leaves.
    sTaskStatus UpdateChild(Task* task, Object* object, float dt);
};

// Children one after another.
class SerialTask : public Task
{
public:
    SerialTask() = default;
    SerialTask(Task* a, Task* b);
    SerialTask(Task* a, Task* b, Task* c, Task* d);

    // Takes ownership; the child runs after those added before it.
    void AddTask(Task* task) { mTasks.Add(task); }
    void AddTask(std::unique_ptr<Task> task) { mTasks.Add(task.release()); }

    Task* Clone() const override;
    sTaskStatus Update(Object* object, float dt) override { return mTasks.UpdateSerial(object, dt); }
    int ReceiveMessage(Object* object, const ObjectMessage& message) override;
    // When every child can.
    bool CanRestart() const override;
    void Restart() override;

private:
    TaskSet mTasks{1};
};

// Children side by side until all of them (or the first of them) have finished.
class ParallelTask : public Task
{
public:
    explicit ParallelTask(ParallelTaskCompletion completion);
    ParallelTask(ParallelTaskCompletion completion, Task* a, Task* b);

    void AddTask(Task* task) { mTasks.Add(task); }
    void AddTask(std::unique_ptr<Task> task) { mTasks.Add(task.release()); }
    ParallelTaskCompletion GetCompletion() const { return mCompletion; }

    Task* Clone() const override;
    sTaskStatus Update(Object* object, float dt) override;
    int ReceiveMessage(Object* object, const ObjectMessage& message) override;
    // When every child can.
    bool CanRestart() const override;
    void Restart() override;

private:
    ParallelTaskCompletion mCompletion;
    TaskSet mTasks{1};
};

// Restarts each child with a fresh clone when it finishes; never completes on its own.
class RepeatingTask : public Task
{
public:
    RepeatingTask() = default;
    explicit RepeatingTask(Task* child);

    void AddTask(Task* task) { mTasks.Add(task); }
    void AddTask(std::unique_ptr<Task> task) { mTasks.Add(task.release()); }

    Task* Clone() const override;
    // A pass in which a whole round of the children finished without using time ends there,
    // incomplete, so children that take no time cannot spin for ever within one update.
    sTaskStatus Update(Object* object, float dt) override { return mTasks.UpdateRepeating(object, dt); }
    int ReceiveMessage(Object* object, const ObjectMessage& message) override;

private:
    RepeatingTaskSet mTasks;
};

// Destroys the object it runs on (at the end of the database's next update).
class SelfDestructTask : public Task
{
public:
    sTaskStatus Update(Object* object, float dt) override;
};

namespace Internal
{

// Whether the task is exactly of class T, so that T's Update may be called without the virtual call:
// nested composites then cost no call of their own. A subclass, which may override Update, is not.
template <class T>
bool IsExactly(const Task& task)
{
    return &typeid(task) == &typeid(T);
}

} // namespace Internal

inline sTaskStatus RepeatingTaskSet::UpdateChild(Task* task, Object* object, float dt)
{
    try
    {
        // Most repeated children are chains.
        if (Internal::IsExactly<SerialTask>(*task))
            return static_cast<SerialTask*>(task)->SerialTask::Update(object, dt);
        return task->Update(object, dt);
    }
    catch (...)
    {
        LeaveWalk();
        throw;
    }
}

inline sTaskStatus RepeatingTaskSet::UpdateRepeating(Object* object, float dt)
{
    // The walk's start is the sole child unless a walk has passed it finished.
    Task* task = mWalkStart;
    if (mTasks.size() != 1 || mBusyDepth != 0 || task == nullptr || dt < 0.0f || task->IsFinished())
        return UpdateSerial(object, dt, true);
    // The steady step: the child runs on past this update.
    EnterWalk();
    const sTaskStatus status = UpdateChild(task, object, dt);
    if (status.IsComplete())
        return RepeatAfter(object, task, dt, status);
    LeaveWalk();
    return {TaskState_Incomplete, 0.0f + status.time};
}

} // namespace Strata
