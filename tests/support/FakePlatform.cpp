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

void FakePlatform::CreateWindow(const sWindowConfig&)
{
    Record("CreateWindow");
}

void FakePlatform::DestroyWindow()
{
    Record("DestroyWindow");
}

void FakePlatform::EnsureWindowVisible()
{
    Record("EnsureWindowVisible");
}

void FakePlatform::EnableHardwareCursor(bool) {}

void FakePlatform::SetHardwareCursor(eCursor) {}

IImage* FakePlatform::GetCustomCursorImage(eCursor)
{
    return nullptr;
}

Vector2<int> FakePlatform::GetCustomCursorHotSpot(eCursor)
{
    return Vector2<int>(0, 0);
}

void FakePlatform::GetSupportedWindowConfig(sWindowConfig*) {}

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

} // namespace Strata::Testing
