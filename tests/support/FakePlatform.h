#pragma once

#include "core/Vector2.h"
#include "framework/Cursor.h"
#include "framework/InputEvent.h"
#include "framework/Platform.h"
#include "framework/WindowConfig.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Strata::Testing
{

// The names of calls in the order they were made, shared by fakes when a test wants one order.
using CallLog = std::vector<std::string>;

// An application platform scripted by the test. Registers itself when constructed and unregisters
// when destroyed. Lifecycle calls ("Setup", "Destroy", "EnforceSingleInstance", "CreateWindow",
// "DestroyWindow", "EnsureWindowVisible", "WaitForEvent", "CaptureMouse", "ReleaseMouse") are
// logged by name; the polling calls are only counted.
class FakePlatform : public IPlatform
{
public:
    // Logs into `log` when given, else into a log of its own.
    explicit FakePlatform(CallLog* log = nullptr);
    ~FakePlatform() override;
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // --- script ---
    // Delivered, in order, by the next HandleEvents.
    void QueueEvent(const sInputEvent& event) { mEvents.push_back(event); }
    bool active = true;
    bool quitPending = false;
    bool repaintPending = false;  // cleared by ClearPendingRepaint
    bool eventPending = false;    // reported besides a non-empty event queue
    bool anotherInstance = false; // the answer of EnforceSingleInstance
    bool throwInSetup = false;    // Setup throws a RuntimeError
    // Called at every IsQuitPending, which the main loop asks once a pass: a test scripts passes here.
    std::function<void()> onPass;
    // Called by WaitForEvent (a test advances its clock or makes the platform active here).
    std::function<void()> onWaitForEvent;
    // Called at every HandleEvents before the queued events are delivered.
    std::function<void()> onHandleEvents;
    // Called by CreateWindow after it is logged (a test throws here to fail the window).
    std::function<void(const sWindowConfig&)> onCreateWindow;
    // Called by GetSupportedWindowConfig to adjust the configuration.
    std::function<void(sWindowConfig*)> onGetSupportedWindowConfig;
    // The answers of GetCustomCursorImage and GetCustomCursorHotSpot, whatever the shape.
    IImage* customCursorImage = nullptr;
    Vector2<int> customCursorHotSpot;
    // The answer of LocateMouse: where the mouse rests, or none to tell.
    std::optional<Vector2<int>> restingMouse;

    // --- record ---
    const CallLog& Calls() const { return *mLog; }
    int handleEventsCount = 0;
    int clearRepaintCount = 0;
    int waitCount = 0;
    // The configurations CreateWindow was given, in order.
    std::vector<sWindowConfig> createdWindows;
    // The arguments of the cursor calls, in order.
    std::vector<bool> hardwareCursorEnables;
    std::vector<eCursor> hardwareCursorShapes;
    std::vector<eCursor> customCursorQueries;

    void Setup() override;
    void Destroy() override;
    bool EnforceSingleInstance() override;
    void CreateWindow(const sWindowConfig& config) override;
    void DestroyWindow() override;
    void EnsureWindowVisible() override;
    void EnableHardwareCursor(bool enable) override;
    void SetHardwareCursor(eCursor cursor) override;
    IImage* GetCustomCursorImage(eCursor cursor) override;
    Vector2<int> GetCustomCursorHotSpot(eCursor cursor) override;
    // Sets the answers above, for every shape.
    void SetCustomCursorImage(eCursor cursor, IImage* image, const Vector2<int>& hotSpot) override;
    void GetSupportedWindowConfig(sWindowConfig* config) override;
    bool IsActive() override;
    bool IsQuitPending() override;
    bool IsEventPending() override;
    bool IsRepaintPending() override;
    void ClearPendingRepaint() override;
    void HandleEvents(IInputEventSink* sink) override;
    void WaitForEvent() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    bool LocateMouse(Vector2<int>* position) override;

private:
    void Record(const char* call) { mLog->push_back(call); }

    CallLog mOwnLog;
    CallLog* mLog;
    std::deque<sInputEvent> mEvents;
};

} // namespace Strata::Testing
