#include "controls/LoadingMode.h"

#include "controls/Layout.h"
#include "controls/SetImageTask.h"
#include "controls/Sprites.h"
#include "core/Log.h"
#include "core/Rect.h"
#include "core/RuntimeError.h"
#include "core/StringFormatter.h"
#include "core/Time.h"
#include "framework/AutoObject.h"
#include "framework/CuePoint.h"
#include "framework/LoadingTask.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "framework/TimedTask.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

namespace Strata
{

namespace
{

Label SplashCompleteCue()
{
    static const Label name("SplashComplete");
    return name;
}

} // namespace

LoadingMode::LoadingMode(const wchar_t* manifest) : mManifest(manifest), mMutex(CreateMutex())
{
}

LoadingMode::~LoadingMode()
{
    StopWorker();
    if (mQuitHandlerAdded)
        MainLoop::RemoveQuitHandler(this);
    for (sLoadingTask& record : mTasks)
        delete record.task;
}

void LoadingMode::AddLoadingTask(ILoadingTask* task, unsigned long long weight)
{
    if (task == nullptr)
        return;
    if (mThread)
        STRATA_THROW(RuntimeError, "LoadingMode::AddLoadingTask: the tasks are already running.");
    sLoadingTask record;
    record.task = task;
    record.weight = weight;
    mTasks.push_back(record);
}

float LoadingMode::GetPercentageComplete() const
{
    float percentage;
    {
        ScopedLock lock(mMutex.get());
        percentage = (mCurrentProgress * mCurrentShare + mCompletedShare) * 100.0f;
    }
    if (!(percentage > 0.0f))
        return 0.0f;
    return std::min(percentage, 100.0f);
}

bool LoadingMode::AreSplashScreensComplete() const
{
    // The cue point deletes itself once its tasks have passed, and never exists when nothing waited.
    const auto found = CuePoint::gmCuePoints.find(SplashCompleteCue());
    return found == CuePoint::gmCuePoints.end() || found->second->CanPass();
}

void LoadingMode::Setup()
{
    MainLoop::AddQuitHandler(this);
    mQuitHandlerAdded = true;

    // Loaded here, on the main thread: the splash screen needs its images before the first frame.
    GetResourceManager()->Load(mManifest.c_str(), nullptr, true);
    mManifestLoaded = true;

    if (AutoResource<Layout> layout("LoadingMode"); layout)
        layout->Load(Label());

    CycleSplashScreens();
    OnBeforeLoad();

    mThread.reset(CreateThread(this, ThreadFlags_StartImmediately));
}

void LoadingMode::CycleSplashScreens()
{
    ImageSpriteObject* front = AutoObject<ImageSpriteObject>(Label("Splash1")).Get();
    if (front == nullptr)
        return;
    front->SetAlpha(1.0f);
    ImageSpriteObject* back = AutoObject<ImageSpriteObject>(Label("Splash2")).Get();
    if (back == nullptr)
        return;
    back->SetAlpha(0.0f);

    // Each image fades in over the one before it and is held; the two sprites take turns in front.
    for (int i = 1;; ++i)
    {
        AutoResource<IImage> image(Label::FromStringF("Splash%d", i));
        if (image.Get() == nullptr)
            break;
        front->AddTask(new SetImageTask(image.Get()));
        front->AddTask(new AlphaTask(1.0f, 1.0f));
        back->AddTask(new AlphaTask(0.0f, 1.0f));
        front->AddTask(new TimedTask(1.5f));
        back->AddTask(new TimedTask(1.5f));
        std::swap(front, back);
    }

    CuePoint* cue = CuePoint::FromLabel(SplashCompleteCue());
    front->AddTask(new CuePointTask(cue));
    front->AddTask(new AlphaTask(0.0f, 0.5f));
    back->AddTask(new AlphaTask(0.0f, 0.5f));

    // The loading screen appears when the last splash image has been held.
    static const char* const kImageElements[] = {"LoadingBackground", "LoadingEmpty", "LoadingFull"};
    for (const char* name : kImageElements)
    {
        if (ImageSpriteObject* element = AutoObject<ImageSpriteObject>(Label(name)).Get())
        {
            element->SetVisible(false);
            element->AddTask(new CuePointTask(cue));
            element->AddTask(new VisibleTask(true));
            if (element->GetName() == Label("LoadingFull"))
                mFullBar = element->GetID();
        }
    }
    if (TextSpriteObject* text = AutoObject<TextSpriteObject>(Label("LoadingText")).Get())
    {
        text->SetVisible(false);
        text->AddTask(new CuePointTask(cue));
        text->AddTask(new VisibleTask(true));
        mPercentageText = text->GetID();
    }
}

void LoadingMode::Execute()
{
    // In floating point, so that no sum of weights can wrap.
    double total = 0.0;
    for (const sLoadingTask& record : mTasks)
        total += static_cast<double>(record.weight);

    for (sLoadingTask& record : mTasks)
    {
        // Tasks that all weigh nothing share the work equally.
        const double share =
            total > 0.0 ? static_cast<double>(record.weight) / total : 1.0 / static_cast<double>(mTasks.size());
        {
            ScopedLock lock(mMutex.get());
            mCurrentProgress = 0.0f;
            mCurrentShare = static_cast<float>(share);
        }
        const uint64_t start = GetTimeUS();
        try
        {
            record.task->Execute(this);
        }
        catch (const std::exception& error)
        {
            Internal::LogWrite("LoadingMode: a loading task failed: %s\n", error.what());
        }
        catch (...)
        {
            Internal::LogWrite("LoadingMode: a loading task failed.\n");
        }
        record.time = GetTimeUS() - start;
        {
            ScopedLock lock(mMutex.get());
            mCompletedShare += mCurrentShare;
            mCurrentProgress = 0.0f;
            mCurrentShare = 0.0f;
        }
    }

    if (!mAbort.load())
    {
        ScopedLock lock(mMutex.get());
        mCompletedShare = 1.0f;
    }
}

void LoadingMode::OnProgress(float fraction)
{
    if (!(fraction > 0.0f))
        fraction = 0.0f;
    fraction = std::min(fraction, 1.0f);
    ScopedLock lock(mMutex.get());
    mCurrentProgress = fraction;
}

bool LoadingMode::ShouldAbort()
{
    return mAbort.load();
}

bool LoadingMode::AllowQuit()
{
    if (mThread)
    {
        mAbort.store(true);
        return false;
    }
    return true;
}

void LoadingMode::Update(float dt)
{
    ApplicationMode::Update(dt);

    // Asked before the progress is read: a worker that ends in between must not leave the last
    // picture short of its end.
    const bool workerFinished = mThread && mThread->GetState() == ThreadState_Finished;
    ShowProgress(GetPercentageComplete());

    if (workerFinished && (mAbort.load() || AreSplashScreensComplete()))
        FinishLoading();
}

void LoadingMode::ShowProgress(float percentage)
{
    const int whole = static_cast<int>(percentage); // 0 to 100
    if (auto* text = dynamic_cast<TextSpriteObject*>(GetObject(mPercentageText)))
    {
        StringFormatter formatter(L"%1:.0%%%");
        formatter.Arg(whole);
        text->SetText(formatter.c_str());
    }
    if (auto* bar = dynamic_cast<ImageSpriteObject*>(GetObject(mFullBar)))
    {
        if (IImage* image = bar->GetImage())
        {
            const int width = static_cast<int>(percentage / 100.0f * static_cast<float>(image->GetWidth()));
            bar->SetSourceRect(true, Rect<int>(0, 0, width, image->GetHeight()));
        }
    }
}

void LoadingMode::FinishLoading()
{
    // Joining the finished thread makes its writes to the records visible here.
    mThread->WaitUntilFinished();
    Internal::LogDetail("LoadingMode Actual Load Times: \n");
    for (size_t i = 0; i < mTasks.size(); ++i)
        Internal::LogDetail("\tTask %zu - %llu\n", i, mTasks[i].time);
    mThread.reset();

    if (mAbort.load())
        MainLoop::Exit();
    else
        OnAfterLoad();
}

void LoadingMode::Draw()
{
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.color = ColorF(0.0f, 0.0f, 0.0f, 1.0f);
    Graphics::DrawFilledRect(Graphics::GetScreenCanvas()->GetBounds(), state, Graphics::GetCanvas());
    ApplicationMode::Draw();
}

void LoadingMode::StopWorker()
{
    if (mThread)
    {
        mAbort.store(true);
        mThread->WaitUntilFinished();
        mThread.reset();
    }
}

void LoadingMode::Destroy()
{
    // The worker's tasks use the resource manager, which the engine cleans up after the modes.
    StopWorker();
    if (mManifestLoaded)
    {
        mManifestLoaded = false;
        GetResourceManager()->Unload(mManifest.c_str());
    }
    if (mQuitHandlerAdded)
    {
        mQuitHandlerAdded = false;
        MainLoop::RemoveQuitHandler(this);
    }
}

void LoadingMode::OnBeforeLoad()
{
}

void LoadingMode::OnAfterLoad()
{
}

} // namespace Strata
