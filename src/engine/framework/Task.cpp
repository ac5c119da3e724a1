#include "framework/Task.h"

#include "core/RuntimeError.h"
#include "framework/ObjectDatabase.h"

#include <cxxabi.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace Strata
{

namespace
{

std::string TypeName(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

Task* GetTaskOf(Task* task)
{
    return task;
}
Task* GetTaskOf(const std::pair<const Label, Task*>& entry)
{
    return entry.second;
}

} // namespace

namespace
{

// Freed blocks by size class, per thread, up to kMaxPooled each; the rest go back to the heap. The classes
// are 8 bytes short of a 16-byte step: the heap puts a word of its own before each block and rounds the
// two up to 16, so a block of 16n + 8 bytes takes no more room than the task needs. Tasks of a chain then
// lie closer together, and a walk over many objects reads fewer cache lines.
constexpr size_t kGranule = 16;
constexpr size_t kHeapWord = 8;
constexpr size_t kLargestPooled = 264;
constexpr size_t kMaxPooled = 4096;

struct FreeBlock
{
    FreeBlock* next;
};

// Set when this thread's pool is gone: a task deleted later in the thread's exit (by a static object, say)
// goes straight back to the heap.
thread_local bool gPoolGone = false;

class TaskMemoryPool
{
public:
    ~TaskMemoryPool()
    {
        gPoolGone = true;
        for (FreeBlock*& head : mFree)
            while (head != nullptr)
            {
                FreeBlock* block = head;
                Unpoison(block, sizeof(FreeBlock));
                head = block->next;
                ::operator delete(block);
            }
    }

    void* Allocate(size_t size)
    {
        const size_t slot = SlotOf(size);
        if (slot >= kSlots)
            return ::operator new(size);
        if (FreeBlock* block = mFree[slot])
        {
            Unpoison(block, BlockSize(slot));
            mFree[slot] = block->next;
            --mCount[slot];
            return block;
        }
        return ::operator new(BlockSize(slot));
    }

    void Release(void* memory, size_t size)
    {
        const size_t slot = SlotOf(size);
        if (slot >= kSlots || mCount[slot] >= kMaxPooled)
        {
            ::operator delete(memory);
            return;
        }
        auto* block = static_cast<FreeBlock*>(memory);
        block->next = mFree[slot];
        mFree[slot] = block;
        ++mCount[slot];
        // A task used after its deletion is still caught by the address sanitizer.
        Poison(block, BlockSize(slot));
    }

private:
    static constexpr size_t kSlots = (kLargestPooled - kHeapWord) / kGranule + 1;
    static size_t SlotOf(size_t size) { return (size + kGranule - kHeapWord - 1) / kGranule; }
    static size_t BlockSize(size_t slot) { return slot * kGranule + kHeapWord; }
#if defined(__SANITIZE_ADDRESS__)
    static void Poison(void* block, size_t size)
    {
        __asan_poison_memory_region(block, size);
    }
    static void Unpoison(void* block, size_t size)
    {
        __asan_unpoison_memory_region(block, size);
    }
#else
    static void Poison(void*, size_t)
    {
    }
    static void Unpoison(void*, size_t)
    {
    }
#endif

    FreeBlock* mFree[kSlots] = {};
    size_t mCount[kSlots] = {};
};

TaskMemoryPool& Pool()
{
    thread_local TaskMemoryPool pool;
    return pool;
}

} // namespace

namespace Internal
{

void* AllocateTaskMemory(size_t size)
{
    return gPoolGone ? ::operator new(size) : Pool().Allocate(size);
}

void ReleaseTaskMemory(void* block, size_t size)
{
    if (gPoolGone)
        ::operator delete(block);
    else
        Pool().Release(block, size);
}

} // namespace Internal

void* Task::operator new(size_t size)
{
    return Internal::AllocateTaskMemory(size);
}

void Task::operator delete(void* block, size_t size)
{
    Internal::ReleaseTaskMemory(block, size);
}

Task::~Task() = default;

Task* Task::Clone() const
{
    STRATA_THROW(RuntimeError, TypeName(typeid(*this)) + " does not implement Task::Clone.");
}

sTaskStatus Task::Update(Object*, float)
{
    return Complete;
}

int Task::ReceiveMessage(Object*, const ObjectMessage&)
{
    return 1;
}

bool Task::CanRestart() const
{
    return false;
}

void Task::Restart()
{
    mFlags = 0;
}

namespace Internal
{

TaskList::~TaskList()
{
    if (mCapacity != kInPlace)
        ReleaseTaskMemory(mHeap, mCapacity * sizeof(Task*));
}

void TaskList::Grow()
{
    // From the tasks' pool: a chain of more tasks than are held in place is cloned, and its list grown,
    // at every repetition.
    auto** grown = static_cast<Task**>(AllocateTaskMemory(mCapacity * 2 * sizeof(Task*)));
    std::copy(Data(), Data() + mSize, grown);
    if (mCapacity != kInPlace)
        ReleaseTaskMemory(mHeap, mCapacity * sizeof(Task*));
    mHeap = grown;
    mCapacity *= 2;
}

namespace
{

void MoveOutFinished(TaskList& tasks, TaskList& finished)
{
    tasks.MoveOut([](Task* task) { return task->IsFinished(); }, finished);
}

void MoveOutFinished(std::multimap<Label, Task*>& tasks, TaskList& finished)
{
    for (auto it = tasks.begin(); it != tasks.end();)
    {
        if (it->second->IsFinished())
        {
            finished.push_back(it->second);
            it = tasks.erase(it);
        }
        else
        {
            ++it;
        }
    }
}

} // namespace

template <class Container>
TaskCollection<Container>::~TaskCollection()
{
    mBusyDepth = 0;
    Clear();
}

template <class Container>
void TaskCollection<Container>::Finish(Task* task)
{
    if constexpr (std::is_same_v<Container, TaskList>)
        if (mClonesFinished && (task->GetFlags() & Task::Flag_Replaced) == 0)
        {
            // Before the task is marked: a clone that throws leaves it running.
            if (Task* clone = task->Clone())
            {
                mTasks.push_back(clone);
                SetFinishedPrefix(mFinishedPrefix);
            }
            task->SetFlags(Task::Flag_Replaced);
        }
    task->SetFlags(Task::Flag_Finished);
    mHasFinished = true;
}

template <class Container>
void TaskCollection<Container>::Clear()
{
    for (auto& entry : mTasks)
    {
        GetTaskOf(entry)->SetFlags(Task::Flag_Finished);
        mHasFinished = true;
    }
    if (mBusyDepth == 0)
        Purge();
}

template <class Container>
void TaskCollection<Container>::Purge()
{
    mHasFinished = false;
    // Detach first: a task's destructor may run code that adds tasks to this very collection.
    TaskList finished;
    MoveOutFinished(mTasks, finished);
    SetFinishedPrefix(0);
    for (Task* task : finished)
        delete task;
}

namespace
{

// Walks the tasks present when the walk began, by position, so that tasks added meanwhile are
// neither reached nor able to invalidate the walk.
template <class Function>
void ForEachInitialTask(TaskList& tasks, Function&& function)
{
    const size_t count = tasks.size();
    for (size_t i = 0; i < count && i < tasks.size(); ++i)
        if (!function(tasks[i]))
            return;
}

// Multimap entries are never erased during a walk (erasing waits for the purge) and insertions
// leave iterators valid; entries added meanwhile are skipped by remembering which existed.
template <class Function>
void ForEachInitialTask(std::multimap<Label, Task*>& tasks, Function&& function)
{
    if (tasks.empty())
        return;
    std::vector<Task*> snapshot;
    snapshot.reserve(tasks.size());
    for (auto& entry : tasks)
        snapshot.push_back(entry.second);
    for (Task* task : snapshot)
        if (!function(task))
            return;
}

} // namespace

template <class Container>
sTaskStatus TaskCollection<Container>::UpdateParallel(Object* object, float dt, ParallelTaskCompletion rule)
{
    if (dt < 0.0f)
        return {TaskState_Incomplete, 0.0f};
    if (mTasks.empty())
        return {TaskState_Complete, 0.0f};
    EnterWalk();
    bool ran = false;
    bool finishedOne = false;
    float time = 0.0f;
    const auto visit = [&](Task* task)
    {
        if (task->IsFinished())
            return true;
        const sTaskStatus status = task->Update(object, dt);
        time = ran ? std::max(time, status.time) : status.time;
        ran = true;
        if (status.IsComplete())
        {
            Finish(task);
            finishedOne = true;
        }
        return true;
    };
    WithinWalk([&] { ForEachInitialTask(mTasks, visit); });
    LeaveWalk();
    const bool complete = !ran || (finishedOne && rule == ParallelTaskCompletion_Any);
    return {complete ? TaskState_Complete : TaskState_Incomplete, time};
}

template <class Container>
int TaskCollection<Container>::ReceiveMessage(Object* object, const ObjectMessage& message, ParallelTaskCompletion rule)
{
    if (mTasks.empty())
        return 0;
    EnterWalk();
    bool ran = false;
    bool finishedOne = false;
    const auto visit = [&](Task* task)
    {
        if (task->IsFinished())
            return true;
        ran = true;
        if (task->ReceiveMessage(object, message) != 1)
        {
            Finish(task);
            finishedOne = true;
        }
        return true;
    };
    WithinWalk([&] { ForEachInitialTask(mTasks, visit); });
    LeaveWalk();
    return (!ran || (finishedOne && rule == ParallelTaskCompletion_Any)) ? 0 : 1;
}

template class TaskCollection<TaskList>;
template class TaskCollection<std::multimap<Label, Task*>>;

} // namespace Internal

void TaskSet::Add(Task* task)
{
    if (task)
    {
        mTasks.push_back(task);
        SetFinishedPrefix(mFinishedPrefix);
    }
}

sTaskStatus TaskSet::WalkSerial(Object* object, float dt, bool stopOnIdleCycle)
{
    EnterWalk();
    sSerialWalk walk{dt, 0.0f, stopOnIdleCycle, 0};
    if (stopOnIdleCycle)
        for (size_t i = mFinishedPrefix; i < mTasks.size(); ++i)
            walk.roundLength += mTasks[i]->IsFinished() ? 0 : 1;
    const sTaskStatus result = WithinWalk([&] { return WalkFrom(object, mFinishedPrefix, walk); });
    LeaveWalk();
    return result;
}

sTaskStatus TaskSet::WalkOnAfter(Object* object, Task* task, size_t index, float dt, sTaskStatus status,
                                 bool stopOnIdleCycle)
{
    // The inline step ran the only unfinished task when a round counts.
    sSerialWalk walk{dt - status.time, 0.0f + status.time, stopOnIdleCycle, stopOnIdleCycle ? 1u : 0u};
    const sTaskStatus result = WithinWalk(
        [&]() -> sTaskStatus
        {
            if (StepFinished(task, index, status, walk))
                return WalkFrom(object, index + 1, walk);
            return {TaskState_Incomplete, walk.time};
        });
    LeaveWalk();
    return result;
}

sTaskStatus TaskSet::WalkFrom(Object* object, size_t from, sSerialWalk& walk)
{
    // By index: tasks appended during the walk (a repeating set's clones) are reached too.
    for (size_t i = from; i < mTasks.size(); ++i)
    {
        Task* task = mTasks[i];
        if (task->IsFinished())
        {
            if (mFinishedPrefix == i)
                SetFinishedPrefix(i + 1);
            continue;
        }
        if (walk.remaining < 0.0f)
            return {TaskState_Incomplete, walk.time};
        const sTaskStatus status = task->Update(object, walk.remaining);
        walk.remaining -= status.time;
        walk.time += status.time;
        if (!status.IsComplete() || !StepFinished(task, i, status, walk))
            return {TaskState_Incomplete, walk.time};
    }
    return {TaskState_Complete, walk.time};
}

bool TaskSet::StepFinished(Task* task, size_t index, sTaskStatus status, sSerialWalk& walk)
{
    Finish(task);
    if (mFinishedPrefix == index)
        SetFinishedPrefix(index + 1);
    if (!walk.stopOnIdleCycle || walk.roundLength == 0)
        return true;
    walk.roundTime += status.time > 0.0f ? status.time : 0.0f;
    if (++walk.roundDone < walk.roundLength)
        return true;
    if (walk.roundTime <= 0.0f)
        return false;
    walk.roundDone = 0;
    walk.roundTime = 0.0f;
    return true;
}

bool TaskSet::CanRestartTasks(int idleDepth) const
{
    if (mBusyDepth != idleDepth)
        return false;
    for (const Task* task : mTasks)
        if (!task->CanRestart())
            return false;
    return true;
}

void TaskSet::RestartTasks()
{
    for (Task* task : mTasks)
        task->Restart();
    mHasFinished = false;
    SetFinishedPrefix(0);
}

void TaskSet::CloneTasks(TaskSet* destination, unsigned long mask) const
{
    // By index: cloning into this very set must not disturb the walk.
    const size_t count = mTasks.size();
    for (size_t i = 0; i < count; ++i)
    {
        const Task* task = mTasks[i];
        if ((task->GetFlags() & mask) == 0)
            destination->Add(task->Clone());
    }
}

void NamedTaskSet::Add(Label name, Task* task)
{
    if (task)
        mTasks.emplace(name, task);
}

sTaskStatus RepeatingTaskSet::RepeatAfter(Object* object, Task* task, float dt, sTaskStatus status)
{
    // As the walk that clones: the finished task's clone runs with what is left of the step, unless the
    // task used no time (a round of one task that was idle ends the walk) or none is left.
    float remaining = dt;
    float time = 0.0f;
    for (;;)
    {
        if (task->IsFinished() || mTasks.size() != 1 || !task->CanRestart())
        {
            // The walk that clones takes over: the task cannot restart, or meanwhile a message finished it
            // or tasks were added.
            sTaskStatus rest = WalkOnAfter(object, task, 0, remaining, status, true);
            rest.time += time;
            return rest;
        }
        remaining -= status.time;
        time += status.time;
        task->Restart();
        if (!(status.time > 0.0f) || remaining < 0.0f)
        {
            LeaveWalk();
            return {TaskState_Incomplete, time};
        }
        status = UpdateChild(task, object, remaining);
        if (!status.IsComplete())
        {
            LeaveWalk();
            return {TaskState_Incomplete, time + status.time};
        }
    }
}

SerialTask::SerialTask(Task* a, Task* b)
{
    mTasks.Add(a);
    mTasks.Add(b);
}

SerialTask::SerialTask(Task* a, Task* b, Task* c, Task* d)
{
    mTasks.Add(a);
    mTasks.Add(b);
    mTasks.Add(c);
    mTasks.Add(d);
}

Task* SerialTask::Clone() const
{
    auto clone = std::make_unique<SerialTask>();
    mTasks.CloneTasks(&clone->mTasks, 0);
    return clone.release();
}

int SerialTask::ReceiveMessage(Object* object, const ObjectMessage& message)
{
    return mTasks.ReceiveMessage(object, message, ParallelTaskCompletion_All);
}

bool SerialTask::CanRestart() const
{
    return mTasks.CanRestartTasks(1);
}

void SerialTask::Restart()
{
    Task::Restart();
    mTasks.RestartTasks();
}

ParallelTask::ParallelTask(ParallelTaskCompletion completion) : mCompletion(completion)
{
}

ParallelTask::ParallelTask(ParallelTaskCompletion completion, Task* a, Task* b) : mCompletion(completion)
{
    mTasks.Add(a);
    mTasks.Add(b);
}

Task* ParallelTask::Clone() const
{
    auto clone = std::make_unique<ParallelTask>(mCompletion);
    mTasks.CloneTasks(&clone->mTasks, 0);
    return clone.release();
}

sTaskStatus ParallelTask::Update(Object* object, float dt)
{
    return mTasks.UpdateParallel(object, dt, mCompletion);
}

int ParallelTask::ReceiveMessage(Object* object, const ObjectMessage& message)
{
    return mTasks.ReceiveMessage(object, message, mCompletion);
}

bool ParallelTask::CanRestart() const
{
    return mTasks.CanRestartTasks(1);
}

void ParallelTask::Restart()
{
    Task::Restart();
    mTasks.RestartTasks();
}

RepeatingTask::RepeatingTask(Task* child)
{
    mTasks.Add(child);
}

Task* RepeatingTask::Clone() const
{
    auto clone = std::make_unique<RepeatingTask>();
    mTasks.CloneTasks(&clone->mTasks, Task::Flag_Replaced);
    return clone.release();
}

int RepeatingTask::ReceiveMessage(Object* object, const ObjectMessage& message)
{
    return mTasks.ReceiveMessage(object, message, ParallelTaskCompletion_All);
}

sTaskStatus SelfDestructTask::Update(Object* object, float)
{
    ObjectDatabase* database = GetObjectDatabase();
    if (database && object)
        database->DestroyObject(object->GetID());
    return Complete;
}

} // namespace Strata
