#include "core/Threading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <memory>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace Strata;

namespace
{

// Runs until released; records the identifier it sees from the inside.
struct BlockingEntry : IEntryPoint
{
    void Execute() override
    {
        insideID = GetCurrentThreadID();
        started->Signal();
        release->Wait();
    }
    std::unique_ptr<IThreadSignal> started{CreateThreadSignal()};
    std::unique_ptr<IThreadSignal> release{CreateThreadSignal()};
    std::atomic<unsigned long> insideID{0};
};

struct ThrowingEntry : IEntryPoint
{
    explicit ThrowingEntry(bool standard) : standard(standard) {}
    void Execute() override
    {
        if (standard)
            throw std::runtime_error("entry failed");
        throw 42;
    }
    bool standard;
};

// Releases the entry from another thread after a short delay.
std::thread ReleaseLater(BlockingEntry& entry)
{
    return std::thread(
        [&entry]
        {
            Sleep(20);
            entry.release->Signal();
        });
}

} // namespace

TEST(ThreadSignal, LatchesUntilWaitOrTryWaitClearsIt)
{
    std::unique_ptr<IThreadSignal> signal(CreateThreadSignal());
    EXPECT_FALSE(signal->TryWait()) << "a new signal is not set";
    signal->Signal();
    signal->Signal(); // a set signal stays set once, not twice
    signal->Wait();   // must not block: the signal sent before was kept
    EXPECT_FALSE(signal->TryWait()) << "Wait clears";
    signal->Signal();
    EXPECT_TRUE(signal->TryWait());
    EXPECT_FALSE(signal->TryWait()) << "TryWait clears";

    std::thread waiter([&] { signal->Wait(); });
    Sleep(10);
    signal->Signal();
    waiter.join();
}

TEST(Mutex, IsReentrantAndExcludesOtherThreads)
{
    std::unique_ptr<IMutex> mutex(CreateMutex());
    mutex->Lock();
    mutex->Lock();
    std::atomic<bool> otherGotIt{false};
    std::thread other(
        [&]
        {
            ScopedLock lock(mutex.get());
            otherGotIt = true;
        });
    mutex->Unlock();
    Sleep(20);
    EXPECT_FALSE(otherGotIt) << "one Unlock of two Locks must keep the mutex held";
    mutex->Unlock();
    other.join();
    EXPECT_TRUE(otherGotIt);
}

TEST(Thread, StateGoesFromNotStartedToRunningToFinished)
{
    BlockingEntry entry;
    std::unique_ptr<IThread> thread(CreateThread(&entry, ThreadFlags_None));
    Sleep(5);
    EXPECT_EQ(thread->GetState(), ThreadState_NotStarted) << "no start flag, no start";
    EXPECT_TRUE(thread->WaitUntilFinished(0)) << "a thread never started has nothing to wait for";

    thread->Start();
    entry.started->Wait();
    EXPECT_EQ(thread->GetState(), ThreadState_Running);
    EXPECT_FALSE(thread->WaitUntilFinished(20)) << "a blocked thread times out";

    entry.release->Signal();
    EXPECT_TRUE(thread->WaitUntilFinished(10000));
    EXPECT_EQ(thread->GetState(), ThreadState_Finished);
}

TEST(Thread, HugeTimeoutWaitsForTheThread)
{
    // A time-out too long to add to the clock must mean "wait", not "give up at once".
    BlockingEntry entry;
    std::unique_ptr<IThread> thread(CreateThread(&entry, ThreadFlags_StartImmediately));
    entry.started->Wait();
    std::thread releaser = ReleaseLater(entry);
    const bool finished = thread->WaitUntilFinished(ULONG_MAX);
    releaser.join();
    EXPECT_TRUE(finished);
    EXPECT_EQ(thread->GetState(), ThreadState_Finished);
}

TEST(Thread, ExceptionFromEntryIsCaughtAndTheThreadFinishes)
{
    for (bool standard : {true, false})
    {
        ThrowingEntry entry(standard);
        std::unique_ptr<IThread> thread(CreateThread(&entry, ThreadFlags_StartImmediately));
        EXPECT_TRUE(thread->WaitUntilFinished(10000));
        EXPECT_EQ(thread->GetState(), ThreadState_Finished);
    }
}

TEST(Thread, DestroyingTheObjectJoinsTheThread)
{
    auto entry = std::make_unique<BlockingEntry>();
    IThread* thread = CreateThread(entry.get(), ThreadFlags_StartImmediately);
    entry->started->Wait();
    std::thread releaser = ReleaseLater(*entry);
    delete thread; // must wait for Execute to return
    releaser.join();
    entry.reset(); // a still-running Execute would now touch freed memory
}

TEST(ThreadID, UniqueAcrossThreadsAndStableWithinOne)
{
    const unsigned long mine = GetCurrentThreadID();
    EXPECT_NE(mine, 0u);
    EXPECT_EQ(GetCurrentThreadID(), mine);

    std::vector<std::unique_ptr<BlockingEntry>> entries(8);
    std::vector<std::unique_ptr<IThread>> threads;
    for (auto& entry : entries)
    {
        entry = std::make_unique<BlockingEntry>();
        threads.emplace_back(CreateThread(entry.get(), ThreadFlags_StartImmediately));
    }
    std::set<unsigned long> seen{mine};
    // All are alive at once, so no identifier can have been reused.
    for (size_t i = 0; i < entries.size(); ++i)
    {
        entries[i]->started->Wait();
        EXPECT_EQ(threads[i]->GetThreadID(), entries[i]->insideID) << "the object reports its thread's identifier";
        EXPECT_TRUE(seen.insert(entries[i]->insideID).second) << "identifier given twice";
    }
    for (auto& entry : entries)
        entry->release->Signal();
    for (auto& thread : threads)
        EXPECT_TRUE(thread->WaitUntilFinished(10000));
}

TEST(Thread, IdentifierIsKnownAsSoonAsStartReturns)
{
    BlockingEntry entry;
    std::unique_ptr<IThread> thread(CreateThread(&entry, ThreadFlags_None));
    thread->Start();
    const unsigned long id = thread->GetThreadID();
    EXPECT_NE(id, 0u);
    entry.started->Wait();
    EXPECT_EQ(entry.insideID.load(), id);
    EXPECT_NE(id, GetCurrentThreadID());
    entry.release->Signal();
    EXPECT_TRUE(thread->WaitUntilFinished());
}
