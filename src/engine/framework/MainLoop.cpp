#include "framework/MainLoop.h"

#include "core/Label.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/RuntimeError.h"
#include "core/Singleton.h"
#include "core/Threading.h"
#include "core/Time.h"
#include "framework/Application.h"
#include "framework/ApplicationMode.h"
#include "framework/AudioPlatform.h"
#include "framework/DownloadManager.h"
#include "framework/FileSource.h"
#include "framework/FrameHooks.h"
#include "framework/InputEvent.h"
#include "framework/Platform.h"
#include "framework/RenderPlatform.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace Strata
{

namespace
{

enum ApplicationModeTransition
{
    Transition_Change = 0, // pop the top, then push the mode
    Transition_Push = 1,
    Transition_UnwindTo = 2, // pop until the mode is on top; push it if the stack empties first
    Transition_Pop = 3,
};

struct ApplicationModeChange
{
    ApplicationMode* mode;
    ApplicationModeTransition transition;
};

// The resource manager's and the download manager's clean-ups: their loader and download threads
// must end before the file source and the platforms go.
void CleanupResourceServices()
{
    if (IsResourceManagerCreated())
        GetResourceManager()->Cleanup();
    if (IsDownloadManagerRegistered())
        GetDownloadManager()->Cleanup();
}

using PlatformFactory = IPlatform* (*)();
constinit PlatformFactory gPlatformFactory = nullptr;

// How far set-up got, so that tear-down undoes exactly that.
struct sSetupProgress
{
    bool platform = false;
    bool audio = false;
    bool application = false;
};

class Looper final : public IInputEventSink
{
public:
    static constexpr int kOffWindow = -50;
    static constexpr uint32_t kDrawIntervalMS = 200;

    void Execute(IApplication* application);

    void Queue(ApplicationMode* mode, ApplicationModeTransition transition);
    ApplicationMode* GetTopMostMode(int n) const;
    ApplicationMode* GetContextMode() const;
    ApplicationMode* GetRawContext() const { return mContext; }
    bool IsRunning() const { return mRunning; }
    void SetContext(ApplicationMode* mode) { mContext = mode; }
    Vector2<int> GetLastMousePos() const { return Vector2<int>(mMouseX, mMouseY); }
    void SetQuit() { mQuit = 1; }
    void RequestQuit();
    void AddQuitHandler(IQuitHandler* handler);
    void RemoveQuitHandler(IQuitHandler* handler);

    void HandleEvent(const sInputEvent& event) override;

    void SetTimeSource(std::function<uint32_t()> now, std::function<void(unsigned long)> sleep)
    {
        mNow = std::move(now);
        mSleep = std::move(sleep);
    }
    void SetProcessRelease(bool release) { mReleaseProcessState = release; }
    void Reset();

private:
    bool SetUp(IApplication* application, sSetupProgress& progress);
    void Run(IApplication* application, IPlatform* platform);
    // True when it updated and the draw is still to come.
    bool UpdateOrDraw(IApplication* application, IPlatform* platform);
    void Update(IApplication* application, float dt);
    void Draw(IApplication* application, IPlatform* platform);
    void DrawScene(IApplication* application, IPlatform* platform, IRenderPlatform* graphics);
    void DrawModes();
    bool ProcessTransitions(IApplication* application);
    void TearDown(IApplication* application, const sSetupProgress& progress, std::exception_ptr& failure);
    void TearDownModes(std::exception_ptr& failure);
    void DeleteQueuedModes();

    void PushOnStack(ApplicationMode* mode);
    void PopTop();
    bool IsOnStack(const ApplicationMode* mode) const;
    bool IsQueued(const ApplicationMode* mode) const;
    ApplicationMode* Top() const { return mStack.empty() ? nullptr : mStack.back(); }
    void DeleteMode(ApplicationMode* mode);

    uint32_t Now() const { return mNow ? mNow() : GetTimeMS(); }
    void Pause(unsigned long milliseconds) const
    {
        if (mSleep)
            mSleep(milliseconds);
        else
            Sleep(milliseconds);
    }

    uint32_t mStepMS = 20;
    float mStepSeconds = 0.02f;
    uint32_t mLastUpdate = 0;
    uint32_t mLastDraw = 0;
    std::vector<ApplicationMode*> mStack; // bottom first; owns its modes
    std::deque<ApplicationModeChange> mQueue;
    ApplicationMode* mContext = nullptr;
    int32_t mQuit = 0;
    int32_t mMouseX = kOffWindow;
    int32_t mMouseY = kOffWindow;
    // The buttons whose press the top mode was given; a release of another press (one that began on
    // a screen since closed, or was dropped during a transition) is not the top mode's.
    uint32_t mPressedButtons = 0;
    std::vector<IQuitHandler*> mQuitHandlers;

    // The top mode that has had Enter and not yet Exit.
    ApplicationMode* mEnteredMode = nullptr;
    // Non-zero while a mode is being deleted: there is no context mode then.
    int mDeletingModes = 0;
    bool mRunning = false;
    bool mReleaseProcessState = true;
    std::function<uint32_t()> mNow;
    std::function<void(unsigned long)> mSleep;
};

Looper& GetLooper()
{
    static Looper looper;
    return looper;
}

// True when time a is later than time b on the wrapping millisecond clock.
bool IsLater(uint32_t a, uint32_t b)
{
    return static_cast<int32_t>(a - b) > 0;
}

// Runs one tear-down step; a failure is logged and kept as the one to report when none is yet.
template <class Step>
void Attempt(const char* what, std::exception_ptr& failure, Step&& step)
{
    try
    {
        step();
    }
    catch (const std::exception& error)
    {
        Internal::LogWrite("MainLoop: %s failed during tear-down: %s\n", what, error.what());
        if (!failure)
            failure = std::current_exception();
    }
    catch (...)
    {
        Internal::LogWrite("MainLoop: %s failed during tear-down\n", what);
        if (!failure)
            failure = std::current_exception();
    }
}

// Calls one operation of a mode with the mode as the context mode.
template <class Call>
void WithModeContext(ApplicationMode* mode, Call&& call)
{
    MainLoop::AutoContext guard;
    MainLoop::WithinContext(mode, guard);
    call(mode);
}

void Looper::Execute(IApplication* application)
{
    mRunning = true;
    mQuit = 0;
    sSetupProgress progress;
    std::exception_ptr failure;
    try
    {
        if (SetUp(application, progress))
            Run(application, GetPlatform());
    }
    catch (...)
    {
        failure = std::current_exception();
    }
    TearDown(application, progress, failure);
    mRunning = false;
    if (failure)
        std::rethrow_exception(failure);
}

bool Looper::SetUp(IApplication* application, sSetupProgress& progress)
{
    Random::Engine_Setup();

    if (!IsPlatformRegistered())
    {
        IPlatform* platform = gPlatformFactory();
        if (platform == nullptr)
            STRATA_THROW(RuntimeError, "MainLoop: the platform factory made no platform.");
        AutoDeleteSingleton(platform);
        RegisterSingleton(platform);
    }
    IPlatform* platform = GetPlatform();
    progress.platform = true;
    platform->Setup();

    // Before anything else starts, so a second instance leaves no threads or files behind.
    if (application->GetConfig().singleInstance != 0 && platform->EnforceSingleInstance())
        return false;

    application->RegisterSingletons();

    if (!IsFileSourceRegistered())
    {
        IFileSource* fileSource = CreateDefaultFileSource();
        AutoDeleteSingleton(fileSource);
        RegisterSingleton(fileSource);
    }

    if (IsAudioPlatformRegistered())
    {
        progress.audio = true;
        GetAudioPlatform()->Setup();
    }

    // Makes the graphics platform and the window.
    if (const auto applyWindowConfig = GetFrameHooks().applyWindowConfig)
        applyWindowConfig(application->GetDefaultWindowConfig());

    CreateConstantResourceFactories();
    // The layout object factories and whatever else the libraries above add.
    RunFactoryRegistrars();

    progress.application = true;
    application->Setup();
    return true;
}

void Looper::Run(IApplication* application, IPlatform* platform)
{
    const uint32_t now = Now();
    mLastDraw = now;
    mLastUpdate = now - mStepMS;
    // The first frames come before any event: the pointer is drawn, and the first mode told, where the
    // mouse already rests.
    if (Vector2<int> mouse; platform->LocateMouse(&mouse))
    {
        mMouseX = mouse.x;
        mMouseY = mouse.y;
    }
    ProcessTransitions(application);
    Update(application, mStepSeconds);
    Draw(application, platform);

    // A pass that updated is followed at once by the one that draws: events are looked for once a step,
    // after its pause, not again in between (on a still screen that look was a third of the loop's cost).
    bool updated = false;
    while (mQuit == 0 && !platform->IsQuitPending())
    {
        if (!updated && platform->IsEventPending())
            platform->HandleEvents(this);
        updated = false;

        if (platform->IsActive() || application->GetConfig().runInBackground != 0)
        {
            updated = UpdateOrDraw(application, platform);
        }
        else if (platform->IsRepaintPending())
        {
            Draw(application, platform);
        }
        else
        {
            platform->WaitForEvent();
            mLastDraw = Now();
            mLastUpdate = mLastDraw - mStepMS;
        }
    }
}

bool Looper::UpdateOrDraw(IApplication* application, IPlatform* platform)
{
    const bool changed = ProcessTransitions(application);

    // Differences of the wrapping clock, never absolute comparisons.
    const uint32_t now = Now();
    const uint32_t sinceDraw = now - mLastDraw;
    const uint32_t sinceUpdate = now - mLastUpdate;
    const bool drawDue = sinceDraw >= kDrawIntervalMS;

    if (changed || (sinceUpdate >= mStepMS && !drawDue))
    {
        uint32_t elapsed = std::min(sinceUpdate, 2 * mStepMS);
        if (changed && elapsed < mStepMS)
        {
            Update(application, static_cast<float>(elapsed / 1000.0));
            elapsed = 0;
        }
        // A mode that queues a transition ends the catch-up: the change comes first. So does asking to
        // exit: no mode is updated after it has asked the loop to end.
        while (elapsed >= mStepMS && mQueue.empty() && mQuit == 0)
        {
            Update(application, mStepSeconds);
            elapsed -= mStepMS;
        }
        mLastUpdate = now - elapsed;
        return true;
    }

    // Nothing changed since the last picture.
    if (sinceUpdate < mStepMS && !drawDue && IsLater(mLastDraw, mLastUpdate))
        return false;

    Draw(application, platform);
    mLastDraw = now;
    const uint32_t sinceUpdateNow = Now() - mLastUpdate;
    if (sinceUpdateNow < mStepMS)
        Pause(mStepMS - sinceUpdateNow);
    return false;
}

void Looper::Update(IApplication* application, float dt)
{
    if (IAudioPlatform* audio = GetAudioPlatform())
        audio->Update(dt);
    application->Update(dt);
    if (ApplicationMode* top = Top())
        top->Update(dt);
}

void Looper::Draw(IApplication* application, IPlatform* platform)
{
    // An exposed or resized window lost the frame it showed.
    const bool repaint = platform->IsRepaintPending();
    platform->ClearPendingRepaint();
    // Without a renderer there is no frame to draw.
    IRenderPlatform* graphics = GetRenderPlatform();
    if (graphics == nullptr)
        return;
    // The graphics layer shows only a frame that differs from the one on screen.
    if (const auto drawFrame = GetFrameHooks().drawFrame)
    {
        // One reference captured: the call fits in std::function's own storage, with no allocation a frame.
        struct sScene
        {
            Looper* looper;
            IApplication* application;
            IPlatform* platform;
            IRenderPlatform* graphics;
        } scene{this, application, platform, graphics};
        drawFrame([&scene] { scene.looper->DrawScene(scene.application, scene.platform, scene.graphics); }, repaint);
        return;
    }
    if (graphics->BeginScene() != 0)
        return;
    DrawScene(application, platform, graphics);
    // A renderer replaced during the frame (a window-mode change) never began this scene.
    if (GetRenderPlatform() == graphics)
        graphics->EndScene();
}

void Looper::DrawScene(IApplication* application, IPlatform* platform, IRenderPlatform* graphics)
{
    if (graphics->HasScreenCanvas() && !mStack.empty())
        DrawModes();
    application->Draw();
    // Above everything; an inactive application leaves the pointer to the system.
    if (const auto drawCustomCursor = GetFrameHooks().drawCustomCursor; drawCustomCursor && platform->IsActive())
        drawCustomCursor();
}

void Looper::DrawModes()
{
    const size_t topIndex = mStack.size() - 1;
    size_t opaque = 0;
    for (size_t i = topIndex + 1; i-- > 0;)
    {
        if (i < mStack.size() && mStack[i]->IsOpaque())
        {
            opaque = i;
            break;
        }
    }
    if (opaque < topIndex)
    {
        for (size_t i = opaque; i < topIndex && i < mStack.size(); ++i)
            WithModeContext(mStack[i], [](ApplicationMode* m) { m->Draw(); });
        if (ApplicationMode* top = Top())
            WithModeContext(top, [](ApplicationMode* m) { m->DrawBackground(); });
    }
    if (ApplicationMode* top = Top())
        WithModeContext(top, [](ApplicationMode* m) { m->Draw(); });
}

bool Looper::ProcessTransitions(IApplication* application)
{
    if (mQueue.empty())
        return false;

    if (ApplicationMode* entered = std::exchange(mEnteredMode, nullptr))
        WithModeContext(entered, [](ApplicationMode* m) { m->Exit(); });

    // Requests made by the calls below join the queue and are carried out in this pass.
    while (!mQueue.empty())
    {
        const ApplicationModeChange change = mQueue.front();
        mQueue.pop_front();
        switch (change.transition)
        {
        case Transition_Change:
        case Transition_Push:
            if (IsOnStack(change.mode))
            {
                Internal::LogWrite("MainLoop: a mode already on the stack was not pushed again.\n");
                break;
            }
            if (change.transition == Transition_Change)
                PopTop();
            PushOnStack(change.mode);
            break;
        case Transition_UnwindTo:
            while (!mStack.empty() && mStack.back() != change.mode)
                PopTop();
            if (mStack.empty())
                PushOnStack(change.mode);
            break;
        case Transition_Pop:
            PopTop();
            break;
        }
    }

    ApplicationMode* top = Top();
    if (top == nullptr)
        return true;
    mEnteredMode = top;
    mPressedButtons = 0;
    WithModeContext(top, [](ApplicationMode* m) { m->Enter(); });
    if (ApplicationMode* current = Top())
        current->OnMouseMove(mMouseX, mMouseY);
    application->OnEnterMode();
    return true;
}

void Looper::PushOnStack(ApplicationMode* mode)
{
    try
    {
        mStack.push_back(mode);
    }
    catch (...)
    {
        if (!IsQueued(mode))
            DeleteMode(mode);
        throw;
    }
    WithModeContext(mode, [](ApplicationMode* m) { m->Setup(); });
}

void Looper::PopTop()
{
    if (mStack.empty())
        return;
    ApplicationMode* mode = mStack.back();
    mStack.pop_back();
    if (mEnteredMode == mode)
        mEnteredMode = nullptr;
    // A later request that names the mode takes it over instead of a dangling pointer.
    try
    {
        WithModeContext(
            mode, [](ApplicationMode* m) { m->Destroy(); });
    }
    catch (...)
    {
        if (!IsQueued(mode))
            DeleteMode(mode);
        throw;
    }
    if (!IsQueued(mode))
        DeleteMode(mode);
}

// The objects a mode deletes with itself must not reach it through the context mode once it is
// only partly alive, nor reach another mode's database instead: they find none.
void Looper::DeleteMode(ApplicationMode* mode)
{
    ++mDeletingModes;
    delete mode;
    --mDeletingModes;
}

bool Looper::IsOnStack(const ApplicationMode* mode) const
{
    return std::find(mStack.begin(), mStack.end(), mode) != mStack.end();
}

bool Looper::IsQueued(const ApplicationMode* mode) const
{
    return std::any_of(
        mQueue.begin(), mQueue.end(), [mode](const ApplicationModeChange& change) { return change.mode == mode; });
}

void Looper::TearDown(IApplication* application, const sSetupProgress& progress, std::exception_ptr& failure)
{
    TearDownModes(failure);

    if (progress.application)
        Attempt(
            "the application's clean-up", failure, [&] { application->Cleanup(); });
    Attempt(
        "the resource services' clean-up", failure, [] { CleanupResourceServices(); });
    Attempt("the file source's clean-up", failure,
            []
            {
                if (IFileSource* fileSource = GetFileSource())
                    fileSource->Cleanup();
            });
    if (IRenderPlatform* graphics = GetRenderPlatform())
    {
        Attempt("the graphics platform's clean-up", failure, [graphics] { graphics->Cleanup(); });
        UnregisterSingleton(graphics);
        Attempt("the graphics platform's deletion", failure, [graphics] { delete graphics; });
    }
    if (progress.audio)
    {
        Attempt(
            "the audio platform's clean-up", failure,
            []
            {
                if (IAudioPlatform* audio = GetAudioPlatform())
                    audio->Cleanup();
            });
    }
    if (progress.platform)
    {
        if (IPlatform* platform = GetPlatform())
        {
            Attempt(
                "the platform's window", failure, [platform] { platform->DestroyWindow(); });
            Attempt("the platform's clean-up", failure, [platform] { platform->Destroy(); });
        }
    }
    if (mReleaseProcessState)
    {
        Attempt(
            "the singletons' deletion", failure, [] { Internal::DeleteAllSingletons(); });
        Attempt(
            "the label table's release", failure, [] { Label::Shutdown(); });
        Attempt("the random streams' release", failure, [] { Random::Engine_Destroy(); });
    }
}

void Looper::TearDownModes(std::exception_ptr& failure)
{
    if (ApplicationMode* entered = std::exchange(mEnteredMode, nullptr))
    {
        if (entered == Top())
            Attempt(
                "a mode's exit", failure,
                [entered]
                {
                    WithModeContext(
                        entered, [](ApplicationMode* m) { m->Exit(); });
                });
    }
    // A mode's Destroy may still queue requests; their modes are deleted too.
    do
    {
        // PopTop takes the mode off the stack before it calls out, so every round makes progress.
        while (!mStack.empty())
            Attempt(
                "a mode's removal", failure, [this] { PopTop(); });
        Attempt("the deletion of queued modes", failure, [this] { DeleteQueuedModes(); });
    } while (!mStack.empty() || !mQueue.empty());
}

// Deletes the modes of the queue that are not on the stack, each once, and empties the queue.
void Looper::DeleteQueuedModes()
{
    while (!mQueue.empty())
    {
        std::vector<ApplicationMode*> modes;
        for (const ApplicationModeChange& change : mQueue)
            if (change.mode != nullptr && !IsOnStack(change.mode) &&
                std::find(modes.begin(), modes.end(), change.mode) == modes.end())
                modes.push_back(change.mode);
        mQueue.clear();
        for (ApplicationMode* mode : modes)
            DeleteMode(mode);
    }
}

void Looper::Queue(ApplicationMode* mode, ApplicationModeTransition transition)
{
    if (mode == nullptr && transition != Transition_Pop)
    {
        Internal::LogWrite("MainLoop: a null mode was not queued.\n");
        return;
    }
    mQueue.push_back(ApplicationModeChange{mode, transition});
}

ApplicationMode* Looper::GetTopMostMode(int n) const
{
    if (n < 0 || static_cast<size_t>(n) >= mStack.size())
        return nullptr;
    return mStack[mStack.size() - 1 - static_cast<size_t>(n)];
}

ApplicationMode* Looper::GetContextMode() const
{
    if (mDeletingModes > 0)
        return nullptr;
    return mContext != nullptr ? mContext : Top();
}

void Looper::RequestQuit()
{
    // Handlers may add or remove handlers while they are asked: walk a copy, and skip one that an
    // earlier handler removed.
    const std::vector<IQuitHandler*> handlers = mQuitHandlers;
    for (IQuitHandler* handler : handlers)
    {
        if (std::find(mQuitHandlers.begin(), mQuitHandlers.end(), handler) == mQuitHandlers.end())
            continue;
        if (!handler->CanQuit())
        {
            if (IPlatform* platform = GetPlatform())
                platform->EnsureWindowVisible();
            return;
        }
    }
    mQuit = 1;
}

void Looper::AddQuitHandler(IQuitHandler* handler)
{
    if (handler != nullptr)
        mQuitHandlers.push_back(handler);
}

void Looper::RemoveQuitHandler(IQuitHandler* handler)
{
    std::erase(mQuitHandlers, handler);
}

void Looper::HandleEvent(const sInputEvent& event)
{
    // The pointer's position is kept even while the event goes to no mode, so the mode entered
    // after a transition is told where the pointer really is.
    if (event.type == InputEvent_MouseMove)
    {
        mMouseX = event.x;
        mMouseY = event.y;
    }
    else if (event.type == InputEvent_MouseLeave)
    {
        mMouseX = kOffWindow;
        mMouseY = kOffWindow;
    }

    ApplicationMode* top = Top();
    if (top == nullptr || !mQueue.empty())
        return;

    switch (event.type)
    {
    case InputEvent_MouseMove:
        top->OnMouseMove(event.x, event.y);
        break;
    case InputEvent_MouseUp:
    case InputEvent_MouseDown:
    {
        // Buttons beyond the middle one go on as well; a mode ignores what it does not know.
        const MouseButton button = static_cast<MouseButton>(event.code);
        const uint32_t bit = event.code < 32 ? (1u << event.code) : 0u;
        if (event.type == InputEvent_MouseUp)
        {
            // The release of a press that closed a screen never reaches what lay beneath it.
            if (bit != 0 && (mPressedButtons & bit) == 0)
                break;
            mPressedButtons &= ~bit;
            top->OnMouseUp(button, event.x, event.y);
        }
        else
        {
            mPressedButtons |= bit;
            top->OnMouseDown(button, event.x, event.y);
        }
        break;
    }
    case InputEvent_KeyUp:
        top->OnKeyUp(static_cast<int>(event.code));
        break;
    case InputEvent_KeyDown:
        top->OnKeyDown(static_cast<int>(event.code));
        break;
    case InputEvent_MouseLeave:
        top->OnMouseLeave();
        break;
    case InputEvent_Text:
        if (event.text != nullptr)
            top->OnTextInput(std::wstring(event.text));
        break;
    case InputEvent_MouseWheel:
    {
        // A divisor of 0 would make the amount infinite; it counts as 1.
        const int32_t divisor = event.wheelDivisor != 0 ? event.wheelDivisor : 1;
        const float amount = static_cast<float>(static_cast<int32_t>(event.code)) / static_cast<float>(divisor);
        top->OnMouseWheel(amount, event.x, event.y);
        break;
    }
    default: // platform state changes and unknown types
        break;
    }
}

void Looper::Reset()
{
    std::vector<ApplicationMode*> modes = mStack;
    for (const ApplicationModeChange& change : mQueue)
        if (change.mode != nullptr && std::find(modes.begin(), modes.end(), change.mode) == modes.end())
            modes.push_back(change.mode);
    mQueue.clear();
    mStack.clear();
    mEnteredMode = nullptr;
    mContext = nullptr;
    for (ApplicationMode* mode : modes)
        DeleteMode(mode);
    mQuitHandlers.clear();
    mQuit = 0;
    mMouseX = kOffWindow;
    mMouseY = kOffWindow;
    mPressedButtons = 0;
    mLastUpdate = 0;
    mLastDraw = 0;
}

} // namespace

namespace MainLoop
{

void Execute()
{
    IApplication* application = GetApplication();
    if (application == nullptr)
        STRATA_THROW(RuntimeError, "MainLoop::Execute: no application exists.");
    if (!IsPlatformRegistered() && gPlatformFactory == nullptr)
        STRATA_THROW(RuntimeError, "MainLoop::Execute: no platform is registered and none can be made.");
    if (GetLooper().IsRunning())
        STRATA_THROW(RuntimeError, "MainLoop::Execute: the loop is already running.");
    GetLooper().Execute(application);
}

void SetPlatformFactory(IPlatform* (*factory)())
{
    gPlatformFactory = factory;
}

void PushMode(ApplicationMode* mode)
{
    GetLooper().Queue(mode, Transition_Push);
}

void ChangeMode(ApplicationMode* mode)
{
    GetLooper().Queue(mode, Transition_Change);
}

void UnwindToMode(ApplicationMode* mode)
{
    GetLooper().Queue(mode, Transition_UnwindTo);
}

void PopMode()
{
    GetLooper().Queue(nullptr, Transition_Pop);
}

ApplicationMode* GetTopMostMode(int n)
{
    return GetLooper().GetTopMostMode(n);
}

ApplicationMode* GetContextMode()
{
    return GetLooper().GetContextMode();
}

AutoContext::AutoContext() : mSaved(GetLooper().GetRawContext())
{
}

AutoContext::~AutoContext()
{
    GetLooper().SetContext(mSaved);
}

void WithinContext(ApplicationMode* mode, const AutoContext&)
{
    GetLooper().SetContext(mode);
}

void MoveMouseForTesting(const Vector2<int>& position)
{
    sInputEvent event{};
    event.type = InputEvent_MouseMove;
    event.x = position.x;
    event.y = position.y;
    GetLooper().HandleEvent(event);
}

Vector2<int> GetLastMousePos()
{
    return GetLooper().GetLastMousePos();
}

void Exit()
{
    GetLooper().SetQuit();
}

void RequestQuit()
{
    GetLooper().RequestQuit();
}

void AddQuitHandler(IQuitHandler* handler)
{
    GetLooper().AddQuitHandler(handler);
}

void RemoveQuitHandler(IQuitHandler* handler)
{
    GetLooper().RemoveQuitHandler(handler);
}

void SetTimeSourceForTesting(std::function<uint32_t()> now, std::function<void(unsigned long)> sleep)
{
    GetLooper().SetTimeSource(std::move(now), std::move(sleep));
}

void SetProcessReleaseForTesting(bool release)
{
    GetLooper().SetProcessRelease(release);
}

void ResetForTesting()
{
    GetLooper().Reset();
}

} // namespace MainLoop

} // namespace Strata
