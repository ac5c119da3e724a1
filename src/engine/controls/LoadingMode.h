#pragma once

#include "core/Threading.h"
#include "framework/Application.h"
#include "framework/ApplicationMode.h"
#include "framework/ObjectID.h"
#include "framework/ResourceLoading.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace Strata
{

class ILoadingTask;

// One weighted unit of the loading mode's work.
struct sLoadingTask
{
    ILoadingTask* task = nullptr; // owned by the mode
    unsigned long long weight = 0;
    // Microseconds the task ran; 0 until it has run.
    unsigned long long time = 0;
};

// The mode shown while the game's resources load. Its weighted loading tasks run one after the other
// on a worker thread while the splash images of its own layout cross-fade; once both are over the
// progress bar and percentage have shown and OnAfterLoad hands over to the next mode. While the worker
// runs the mode refuses to quit: it aborts the tasks instead and ends the main loop itself once the
// worker has stopped.
//
// Its own resources come from the manifest "Loading": the layout "LoadingMode" with the image sprites
// "Splash1" and "Splash2" (the cross-fade), "LoadingBackground", "LoadingEmpty" and "LoadingFull" (the
// bar, shown in proportion to the progress) and the text sprite "LoadingText" (the percentage), and
// the images "Splash1", "Splash2", ... shown in turn. Whatever is missing is left out.
//
// Threads: Setup, Update, Draw, CanQuit and Destroy run on the main thread; Execute, and through the
// tasks OnProgress and ShouldAbort, on the worker. The progress values are guarded by the mode's
// mutex; the abort flag is atomic.
class LoadingMode : public ApplicationMode, public IEntryPoint, public IResourceLoadProgress, public IQuitHandler
{
public:
    // `manifest` takes the place of "Loading", as a translation of it that names the same resources.
    explicit LoadingMode(const wchar_t* manifest = L"Loading");
    // Stops the worker (aborting its tasks and waiting for it) when Destroy has not, then deletes the
    // tasks.
    ~LoadingMode() override;
    LoadingMode(const LoadingMode&) = delete;
    LoadingMode& operator=(const LoadingMode&) = delete;

    // Appends a task of the given weight; the mode owns the task from the call on. Add tasks before
    // the mode is pushed. A null task is ignored. Throws a RuntimeError, without taking the task, once
    // the worker has been started.
    void AddLoadingTask(ILoadingTask* task, unsigned long long weight);

    // The share of the weighted work done, 0 to 100.
    float GetPercentageComplete() const;
    // True when the splash series has reached its end (or there is none).
    bool AreSplashScreensComplete() const;

    // Advances the objects, shows the progress, and once the worker has finished and the splash series
    // has ended hands over through OnAfterLoad (after a refused quit: ends the main loop as soon as the
    // worker has finished).
    void Update(float dt) override;
    // Opaque black over the screen, then the objects.
    void Draw() override;
    // Becomes a quit handler, loads the manifest "Loading" on this thread, loads the layout
    // "LoadingMode", starts the splash series and the worker. Throws what the manifest's or the
    // layout's loading throws, or a RuntimeError when the worker cannot be made; Destroy then releases
    // what was made.
    void Setup() override;
    // Stops the worker if it still runs (aborting its tasks and waiting for it), unloads "Loading" and
    // stops being a quit handler.
    void Destroy() override;

    // Called before the worker starts, and once everything has loaded. Nothing here.
    virtual void OnBeforeLoad();
    virtual void OnAfterLoad();
    // Builds the cross-fade of the splash images on the layout's objects.
    virtual void CycleSplashScreens();

    // The worker's body: runs every task with this mode as its progress sink. A task that throws is
    // logged and counts as done.
    void Execute() override;
    // The running task's progress, 0 to 1 (values outside are clamped; NaN counts as 0).
    void OnProgress(float fraction) override;
    bool ShouldAbort() override;
    // While the worker runs: aborts the tasks and refuses; otherwise agrees.
    virtual bool AllowQuit();
    bool CanQuit() override { return AllowQuit(); }

    // True from Setup until the finished worker has been reaped.
    bool IsLoading() const { return mThread != nullptr; }
    // Main thread, while the worker does not run.
    const std::vector<sLoadingTask>& GetLoadingTasks() const { return mTasks; }

protected:
    // The worker's eThreadState; ThreadState_NotStarted when there is none.
    int GetWorkerState() const { return mThread ? mThread->GetState() : ThreadState_NotStarted; }

private:
    // Aborts the tasks of a running worker and waits for it to end.
    void StopWorker();
    // Writes the measured times, releases the finished worker, and hands over or exits.
    void FinishLoading();
    void ShowProgress(float percentage);

    std::wstring mManifest;
    std::unique_ptr<IThread> mThread;
    std::unique_ptr<IMutex> mMutex;
    std::atomic<bool> mAbort{false};
    float mCurrentProgress = 0.0f;
    float mCurrentShare = 0.0f;
    float mCompletedShare = 0.0f;
    std::vector<sLoadingTask> mTasks;
    // The layout's objects, by identifier: an object destroyed meanwhile is simply not found.
    ObjectID mFullBar;
    ObjectID mPercentageText;
    bool mManifestLoaded = false;
    bool mQuitHandlerAdded = false;
};

} // namespace Strata
