#pragma once

namespace Strata
{

// A re-entrant lock: the thread that holds it may lock it again (each lock matched by an unlock).
class IMutex
{
public:
    virtual ~IMutex() = default;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

// Locks a mutex for the life of a scope.
class ScopedLock
{
public:
    explicit ScopedLock(IMutex* mutex) : mMutex(mutex) { mMutex->Lock(); }
    ~ScopedLock() { mMutex->Unlock(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    IMutex* mMutex;
};

// What a thread runs.
class IEntryPoint
{
public:
    virtual ~IEntryPoint() = default;
    virtual void Execute() = 0;
};

enum eThreadState
{
    ThreadState_NotStarted = 0,
    ThreadState_Running = 1,
    ThreadState_Finished = 2
};

enum eThreadFlags
{
    ThreadFlags_None = 0,
    ThreadFlags_StartImmediately = 1
};

class IThread
{
public:
    virtual ~IThread() = default;
    virtual unsigned long GetThreadID() = 0;
    virtual void Start() = 0;
    // Both return true when the thread has finished (or was never started); a time-out is no error.
    virtual bool WaitUntilFinished() = 0;
    virtual bool WaitUntilFinished(unsigned long milliseconds) = 0;
    // ThreadState_NotStarted before Start, Running while Execute runs, Finished once it has returned.
    virtual int GetState() = 0;
};

// A latching binary signal: a Signal sent before Wait is not lost.
class IThreadSignal
{
public:
    virtual ~IThreadSignal() = default;
    virtual void Signal() = 0;
    // Blocks until the signal is set, then clears it.
    virtual void Wait() = 0;
    // Tests and clears without blocking; true when it was set.
    virtual bool TryWait() = 0;
};

// Each returns a new object owned by the caller. Creation failure throws RuntimeError.
IMutex* CreateMutex();
IThread* CreateThread(IEntryPoint* entry, eThreadFlags flags);
IThreadSignal* CreateThreadSignal();

// An identifier of the calling thread from our own counter: unique for the life of the process.
unsigned long GetCurrentThreadID();

// Blocks the calling thread for the given number of milliseconds.
void Sleep(unsigned long milliseconds);

} // namespace Strata
