#include "support/FakePlatform.h"

#include "core/RuntimeError.h"

namespace Strata::Testing
{

FakePlatform::FakePlatform(CallLog* log) : mLog(log != nullptr ? log : &mOwnLog)
{
    RegisterSingleton(this);
}

FakePlatform::~FakePlatform()
{
    UnregisterSingleton(this);
}

void FakePlatform::Setup()
{
    Record("Setup");
    if (throwInSetup)
        STRATA_THROW(RuntimeError, "FakePlatform::Setup failed on purpose.");
}

void FakePlatform::Destroy()
{
    Record("Destroy");
}

bool FakePlatform::EnforceSingleInstance()
{
    Record("EnforceSingleInstance");
    return anotherInstance;
}

void FakePlatform::CreateWindow(const sWindowConfig& config)
{
    Record("CreateWindow");
    createdWindows.push_back(config);
    if (onCreateWindow)
        onCreateWindow(config);
}

void FakePlatform::DestroyWindow()
{
    Record("DestroyWindow");
}

void FakePlatform::EnsureWindowVisible()
{
    Record("EnsureWindowVisible");
}

void FakePlatform::EnableHardwareCursor(bool enable)
{
    hardwareCursorEnables.push_back(enable);
}

void FakePlatform::SetHardwareCursor(eCursor cursor)
{
    hardwareCursorShapes.push_back(cursor);
}

IImage* FakePlatform::GetCustomCursorImage(eCursor cursor)
{
    customCursorQueries.push_back(cursor);
    return customCursorImage;
}

Vector2<int> FakePlatform::GetCustomCursorHotSpot(eCursor)
{
    return customCursorHotSpot;
}

void FakePlatform::SetCustomCursorImage(eCursor, IImage* image, const Vector2<int>& hotSpot)
{
    customCursorImage = image;
    customCursorHotSpot = hotSpot;
}

void FakePlatform::GetSupportedWindowConfig(sWindowConfig* config)
{
    if (onGetSupportedWindowConfig)
        onGetSupportedWindowConfig(config);
}

bool FakePlatform::IsActive()
{
    return active;
}

bool FakePlatform::IsQuitPending()
{
    if (onPass)
        onPass();
    return quitPending;
}

bool FakePlatform::IsEventPending()
{
    return eventPending || !mEvents.empty();
}

bool FakePlatform::IsRepaintPending()
{
    return repaintPending;
}

void FakePlatform::ClearPendingRepaint()
{
    ++clearRepaintCount;
    repaintPending = false;
}

void FakePlatform::HandleEvents(IInputEventSink* sink)
{
    ++handleEventsCount;
    eventPending = false;
    if (onHandleEvents)
        onHandleEvents();
    // One at a time: the sink may queue further events.
    while (!mEvents.empty())
    {
        const sInputEvent event = mEvents.front();
        mEvents.pop_front();
        sink->HandleEvent(event);
    }
}

void FakePlatform::WaitForEvent()
{
    Record("WaitForEvent");
    ++waitCount;
    if (onWaitForEvent)
        onWaitForEvent();
}

void FakePlatform::CaptureMouse()
{
    Record("CaptureMouse");
}

void FakePlatform::ReleaseMouse()
{
    Record("ReleaseMouse");
}

bool FakePlatform::LocateMouse(Vector2<int>* position)
{
    if (restingMouse)
        *position = *restingMouse;
    return restingMouse.has_value();
}

} // namespace Strata::Testing
