#pragma once

#include <cstdint>

namespace Strata
{

// Fixed to int: platforms may report further buttons (3 and up), which reach the modes unchanged.
enum MouseButton : int
{
    MouseButton_Left = 0,
    MouseButton_Right = 1,
    MouseButton_Middle = 2
};

// What an sInputEvent reports. Types above InputEvent_MouseWheel are ignored by the main loop.
enum eInputEventType : uint32_t
{
    InputEvent_MouseMove = 0,
    InputEvent_MouseUp = 1,
    InputEvent_MouseDown = 2,
    InputEvent_KeyUp = 3,
    InputEvent_KeyDown = 4,
    InputEvent_MouseLeave = 5,
    // Platform state changes; no mode hears them.
    InputEvent_Activate = 6,
    InputEvent_Deactivate = 7,
    InputEvent_Text = 8,
    InputEvent_MouseWheel = 9,
};

// One input event, filled by the platform layer. Coordinates are window pixels.
struct sInputEvent
{
    uint32_t type = InputEvent_MouseMove;
    int32_t x = 0;
    int32_t y = 0;
    // The mouse button, the key code (Windows virtual-key numbering) or the signed wheel amount.
    uint32_t code = 0;
    // InputEvent_Text: a null-terminated text that lives until HandleEvent returns.
    const wchar_t* text = nullptr;
    // InputEvent_MouseWheel: the amount is code / wheelDivisor.
    int32_t wheelDivisor = 1;
};

// Where the platform layer delivers input events.
class IInputEventSink
{
public:
    virtual ~IInputEventSink() = default;
    virtual void HandleEvent(const sInputEvent& event) = 0;
};

} // namespace Strata
