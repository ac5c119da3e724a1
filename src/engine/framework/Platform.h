#pragma once

namespace Strata
{

struct sWindowConfig;
class IInputEventSink;
// The graphics layer's image; the platform only stores and hands back the pointer.
class IImage;
template <class T>
class Vector2;
enum eCursor : int;

// The application platform: window, events, cursors. Its implementation registers itself with
// RegisterSingleton when constructed and unregisters when destroyed.
class IPlatform
{
public:
    virtual ~IPlatform() = default;
    virtual void Setup() = 0;
    virtual void Destroy() = 0;
    // True when another instance of the program already runs.
    virtual bool EnforceSingleInstance() = 0;
    // Throws a RuntimeError when the window cannot be made.
    virtual void CreateWindow(const sWindowConfig& config) = 0;
    virtual void DestroyWindow() = 0;
    virtual void EnsureWindowVisible() = 0;
    virtual void EnableHardwareCursor(bool enable) = 0;
    virtual void SetHardwareCursor(eCursor cursor) = 0;
    virtual IImage* GetCustomCursorImage(eCursor cursor) = 0;
    virtual Vector2<int> GetCustomCursorHotSpot(eCursor cursor) = 0;
    // Adjusts the requested configuration in place to what the platform can do.
    virtual void GetSupportedWindowConfig(sWindowConfig* config) = 0;
    virtual bool IsActive() = 0;
    virtual bool IsQuitPending() = 0;
    virtual bool IsEventPending() = 0;
    virtual bool IsRepaintPending() = 0;
    virtual void ClearPendingRepaint() = 0;
    virtual void HandleEvents(IInputEventSink* sink) = 0;
    virtual void WaitForEvent() = 0;
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // Where the mouse is now, asked of the system rather than taken from the last event, in the frame's
    // coordinates: for the frames drawn before the mouse first moves. False when the mouse is not over
    // the window or the platform cannot tell; the default cannot.
    virtual bool LocateMouse(Vector2<int>* position);
    virtual void SetApplicationTitle(const wchar_t* title);
    // The application's own picture (not owned; it must outlive its use) and hot spot for a cursor shape,
    // which GetCustomCursorImage and GetCustomCursorHotSpot then give. The default keeps nothing.
    virtual void SetCustomCursorImage(eCursor cursor, IImage* image, const Vector2<int>& hotSpot);
};

// One slot holding the pointer without owning it. Register replaces any earlier pointer;
// Unregister clears the slot only when it holds that very pointer.
void RegisterSingleton(IPlatform* platform);
void UnregisterSingleton(IPlatform* platform);
bool IsPlatformRegistered();
IPlatform* GetPlatform(); // null when none is registered

} // namespace Strata
