// Threads, mutexes and signals on the C++ standard library. They are the core's own, not a platform's:
// the label table locks a mutex before any platform is registered.
#include "core/Threading.h"

#include "core/Log.h"
#include "core/RuntimeError.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace
{

std::atomic<unsigned long> gNextThreadID{1};
thread_local unsigned long tThreadID = 0;

class Mutex final : public Strata::IMutex
{
public:
    void Lock() override { mMutex.lock(); }
    void Unlock() override { mMutex.unlock(); }

private:
    std::recursive_mutex mMutex;
};

class ThreadSignal final : public Strata::IThreadSignal
{
public:
    void Signal() override
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mSet = true;
        }
        mCondition.notify_one();
    }

    void Wait() override
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mCondition.wait(lock, [this] { return mSet; });
        mSet = false;
    }

    bool TryWait() override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        const bool wasSet = mSet;
        mSet = false;
        return wasSet;
    }

private:
    std::mutex mMutex;
    std::condition_variable mCondition;
    bool mSet = false;
};

class Thread final : public Strata::IThread
{
public:
    explicit Thread(Strata::IEntryPoint* entry) : mEntry(entry), mID(0) {}

    // Joins: a thread never outlives its object.
    ~Thread() override
    {
        if (mThread.joinable())
            mThread.join();
    }

    unsigned long GetThreadID() override { return mID.load(); }

    void Start() override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mState != Strata::ThreadState_NotStarted)
            return;
        mState = Strata::ThreadState_Running;
        // The identifier is known as soon as Start returns, before the new thread has run a line.
        mID = gNextThreadID.fetch_add(1);
        try
        {
            mThread = std::thread([this] { Run(); });
        }
        catch (const std::system_error& e)
        {
            mState = Strata::ThreadState_NotStarted;
            STRATA_THROW(Strata::RuntimeError, std::string("Could not create a thread: ") + e.what());
        }
    }

    bool WaitUntilFinished() override
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mFinished.wait(lock, [this] { return mState != Strata::ThreadState_Running; });
        return true;
    }

    bool WaitUntilFinished(unsigned long milliseconds) override
    {
        // Wait on a steady deadline; a huge time-out would overflow the clock's arithmetic, so it waits
        // without limit instead.
        constexpr unsigned long kLongestWait = 1000ul * 60 * 60 * 24 * 365;
        if (milliseconds > kLongestWait)
            return WaitUntilFinished();
        std::unique_lock<std::mutex> lock(mMutex);
        return mFinished.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                  [this] { return mState != Strata::ThreadState_Running; });
    }

    int GetState() override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mState;
    }

private:
    void Run()
    {
        tThreadID = mID.load();
        // Nothing escapes a thread silently: the failure is logged and the thread still ends as finished.
        try
        {
            if (mEntry)
                mEntry->Execute();
        }
        catch (const Strata::RuntimeError& e)
        {
            Strata::Internal::LogWrite("Thread ended by an error: %s (%s:%d, %s)\n", e.what(), e.GetFile().c_str(),
                                       e.GetLine(), e.GetFunction().c_str());
        }
        catch (const std::exception& e)
        {
            Strata::Internal::LogWrite("Thread ended by an exception: %s\n", e.what());
        }
        catch (...)
        {
            Strata::Internal::LogWrite("Thread ended by an unknown exception\n");
        }
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mState = Strata::ThreadState_Finished;
        }
        mFinished.notify_all();
    }

    Strata::IEntryPoint* mEntry;
    std::atomic<unsigned long> mID;
    std::mutex mMutex;
    std::condition_variable mFinished;
    int mState = Strata::ThreadState_NotStarted;
    std::thread mThread;
};

} // namespace

namespace Strata
{

IMutex* CreateMutex()
{
    return new Mutex();
}

IThreadSignal* CreateThreadSignal()
{
    return new ThreadSignal();
}

IThread* CreateThread(IEntryPoint* entry, eThreadFlags flags)
{
    auto* thread = new Thread(entry);
    if (flags & ThreadFlags_StartImmediately)
    {
        try
        {
            thread->Start();
        }
        catch (...)
        {
            delete thread;
            throw;
        }
    }
    return thread;
}

unsigned long GetCurrentThreadID()
{
    if (tThreadID == 0)
        tThreadID = gNextThreadID.fetch_add(1);
    return tThreadID;
}

void Sleep(unsigned long milliseconds)
{
    // Sleep in bounded slices: a huge count would overflow the clock's nanosecond arithmetic.
    constexpr unsigned long kSlice = 1000ul * 60 * 60 * 24;
    while (milliseconds > kSlice)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(kSlice));
        milliseconds -= kSlice;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace Strata
