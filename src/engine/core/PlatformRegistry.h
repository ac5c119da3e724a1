#pragma once

namespace Strata
{

// Defined by the layers that use them; the interfaces below only pass them along.
struct sWindowConfig;
class IInputEventSink;
class IImage;
class Image;
class ICanvas;
class ITexture;
template <class T> class Vector2;
template <class T> class Rect;
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
    virtual void SetApplicationTitle(const wchar_t* title);
};

// The renderer bound to the window. Registers itself like IPlatform.
class IGraphicsPlatform
{
  public:
    virtual ~IGraphicsPlatform() = default;
    virtual const wchar_t* GetName() = 0;
    virtual void GetSupportedWindowConfig(sWindowConfig* config) = 0;
    // The capability flags it was made with: 1 software, 2 hardware.
    virtual unsigned long GetCaps() = 0;
    // May throw engine or standard errors; the caller then tries its next fall-back.
    virtual void Setup(const sWindowConfig& config) = 0;
    virtual void Cleanup() = 0;
    // 0 when the frame may be drawn.
    virtual int BeginScene() = 0;
    virtual int EndScene() = 0;
    // Null when there is no screen canvas.
    virtual ICanvas* GetScreenCanvas() = 0;
    // A new texture for the image, reference count 1.
    virtual ITexture* CreateTexture(const Image* image, const Rect<int>* subRect) = 0;
};

// One slot each, holding the pointer without owning it. Register replaces any earlier pointer;
// Unregister clears the slot only when it holds that very pointer.
void RegisterSingleton(IPlatform* platform);
void UnregisterSingleton(IPlatform* platform);
bool IsPlatformRegistered();
IPlatform* GetPlatform(); // null when none is registered

void RegisterSingleton(IGraphicsPlatform* platform);
void UnregisterSingleton(IGraphicsPlatform* platform);
bool IsGraphicsPlatformRegistered();
IGraphicsPlatform* GetGraphicsPlatform(); // null when none is registered

} // namespace Strata
