#pragma once

#include "core/Color.h"
#include "core/Rect.h"
#include "core/Vector2.h"
#include "framework/InputEvent.h"
#include "framework/Object.h"

#include <cstdint>
#include <string>

namespace Strata
{

class Angle;

// Small mix-in interfaces an object class derives from; the database and the layout code reach
// them from an Object by a run-time cast.

class IDrawable
{
public:
    virtual ~IDrawable() = default;
    virtual float GetLayer() = 0;
    virtual void SetLayer(float layer) = 0;
    virtual void Draw() = 0;
};

class ILocation
{
public:
    virtual ~ILocation() = default;
    virtual Vector2<float>& GetLocation() = 0;
    virtual void SetLocation(const Vector2<float>& location) = 0;
};

class IScreenLocation
{
public:
    virtual ~IScreenLocation() = default;
    virtual Vector2<float> GetScreenLocation() = 0;
};

// The location of an object with bounds is its bounds' top-left corner.
class IBounds : public ILocation
{
public:
    virtual Rect<float>& GetBounds() = 0;
    virtual void SetBounds(const Rect<float>& bounds) = 0;
    // Left and top edges inside, right and bottom edges outside.
    virtual bool BoundsContains(float x, float y) = 0;
};

class IAlpha
{
public:
    virtual ~IAlpha() = default;
    virtual float GetAlpha() = 0;
    virtual void SetAlpha(float alpha) = 0;
};

// The alpha of a coloured object is its colour's alpha channel.
class IColor : public IAlpha
{
public:
    virtual ColorF& GetColor() = 0;
    virtual void SetColor(const ColorF& color) = 0;
};

class IVisible
{
public:
    virtual ~IVisible() = default;
    virtual bool IsVisible() = 0;
    virtual void SetVisible(bool visible) = 0;
};

class IEnable
{
public:
    virtual ~IEnable() = default;
    virtual bool IsEnabled() = 0;
    virtual void Enable(bool enable) = 0;
};

class IScale
{
public:
    virtual ~IScale() = default;
    virtual Vector2<float>& GetScale() = 0;
    virtual void SetScale(const Vector2<float>& scale) = 0;
    virtual void SetScale(float x, float y) = 0;
    virtual void SetScale(float both) = 0;
};

// Declared here so the interface needs no graphics header; the values (0 left, 1 centre, 2 right;
// 0 top, 1 middle, 2 bottom) are defined with the draw state in graphics/DrawState.h.
enum HAlignment : int;
enum VAlignment : int;

class IAlignment
{
public:
    virtual ~IAlignment() = default;
    virtual HAlignment GetHAlignment() = 0;
    virtual void SetHAlignment(HAlignment alignment) = 0;
    virtual VAlignment GetVAlignment() = 0;
    virtual void SetVAlignment(VAlignment alignment) = 0;
};

// Bit 0 flips horizontally, bit 1 vertically.
class IFlipState
{
public:
    virtual ~IFlipState() = default;
    virtual uint32_t GetFlipState() = 0;
    virtual void SetFlipState(uint32_t flags) = 0;
};

class IOrientation
{
public:
    virtual ~IOrientation() = default;
    virtual void SetOrientation(const Angle& angle) = 0;
};

// What the database routes input to. Each handler answers MessageResult_Handled when it consumed
// the event.
class IInputHandler
{
public:
    virtual ~IInputHandler() = default;
    virtual MessageResult OnKeyDown(int key) = 0;
    virtual MessageResult OnKeyUp(int key) = 0;
    virtual MessageResult OnTextInput(const std::wstring& text) = 0;
    virtual MessageResult OnMouseMove(int x, int y) = 0;
    virtual MessageResult OnMouseDown(MouseButton button, int x, int y) = 0;
    virtual MessageResult OnMouseUp(MouseButton button, int x, int y) = 0;
    virtual MessageResult OnMouseWheel(float delta, int x, int y) = 0;
    virtual bool CanFocus() = 0;
};

// The default enabled mix-in: stores the flag, enabled at first.
class EnableComponent : public IEnable
{
public:
    explicit EnableComponent(bool enabled = true) : mEnabled(enabled) {}
    bool IsEnabled() override { return mEnabled; }
    void Enable(bool enable) override { mEnabled = enable; }

protected:
    bool mEnabled;
};

// Handles nothing and may take the focus.
class InputHandlerComponent : public IInputHandler
{
public:
    MessageResult OnKeyDown(int) override { return MessageResult_Unhandled; }
    MessageResult OnKeyUp(int) override { return MessageResult_Unhandled; }
    MessageResult OnTextInput(const std::wstring&) override { return MessageResult_Unhandled; }
    MessageResult OnMouseMove(int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseDown(MouseButton, int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseUp(MouseButton, int, int) override { return MessageResult_Unhandled; }
    MessageResult OnMouseWheel(float, int, int) override { return MessageResult_Unhandled; }
    bool CanFocus() override { return true; }
};

} // namespace Strata
