#pragma once

#include "core/Color.h"
#include "core/Rect.h"
#include "core/Vector2.h"
#include "framework/AutoObject.h"
#include "framework/ObjectInterfaces.h"
#include "framework/TextComponent.h"
#include "graphics/DrawState.h"
#include "graphics/FontComponent.h"

#include <cstdint>
#include <string>

namespace Strata
{

class Font;

// The interfaces that need graphics types; the others are in framework/ObjectInterfaces.h, the text
// mix-in in framework/TextComponent.h and the font mix-ins in graphics/FontComponent.h. Objects get
// them by deriving from the components below and are reached with a run-time cast (GetObject<I>,
// GetObjects and AutoObject<T> are in framework/AutoObject.h).

// A location relative to a parent frame; the root frame has no parent.
struct ReferenceFrame
{
    Vector2<float> location;
    ReferenceFrame* parent = nullptr;

    // The sum of the locations of the frame and its ancestors; (0, 0) for null.
    static Vector2<float> GetRootOffset(const ReferenceFrame* frame);
    // `point` taken from frame `from` into frame `to` (null is the root).
    static Vector2<float> Convert(const Vector2<float>& point, const ReferenceFrame* from, const ReferenceFrame* to);
};

// The default components: each stores its value and nothing more.

class DrawableComponent : public IDrawable
{
public:
    explicit DrawableComponent(float layer = 0.0f) : mLayer(layer) {}
    float GetLayer() override { return mLayer; }
    void SetLayer(float layer) override { mLayer = layer; }
    // Draws nothing; drawable objects override it.
    void Draw() override {}

protected:
    float mLayer;
};

class LocationComponent : public ILocation, public IScreenLocation
{
public:
    LocationComponent() = default;
    explicit LocationComponent(const Vector2<float>& location) { mFrame.location = location; }
    Vector2<float>& GetLocation() override { return mFrame.location; }
    void SetLocation(const Vector2<float>& location) override { mFrame.location = location; }
    // The location plus the root offset of the parent frame.
    Vector2<float> GetScreenLocation() override;

    // The component's own frame: its location and its parent (not owned; null at the root).
    ReferenceFrame& GetFrame() { return mFrame; }
    void SetParentFrame(ReferenceFrame* parent) { mFrame.parent = parent; }

protected:
    ReferenceFrame mFrame;
};

class BoundsComponent : public IBounds
{
public:
    BoundsComponent() = default;
    explicit BoundsComponent(const Rect<float>& bounds) : mBounds(bounds) {}
    // The top-left corner of the bounds.
    Vector2<float>& GetLocation() override;
    // Keeps the size; goes through the virtual SetBounds.
    void SetLocation(const Vector2<float>& location) override;
    Rect<float>& GetBounds() override { return mBounds; }
    void SetBounds(const Rect<float>& bounds) override { mBounds = bounds; }
    bool BoundsContains(float x, float y) override;
    // Each goes through the virtual SetBounds, so an override sees every change.
    void SetWidth(float width);
    void SetHeight(float height);

protected:
    Rect<float> mBounds;
    // The corner GetLocation hands out by reference, refreshed on every call.
    Vector2<float> mCorner;
};

class AlphaComponent : public IAlpha
{
public:
    explicit AlphaComponent(float alpha = 1.0f) : mAlpha(alpha) {}
    float GetAlpha() override { return mAlpha; }
    void SetAlpha(float alpha) override { mAlpha = alpha; }

protected:
    float mAlpha;
};

// The alpha is the colour's alpha channel.
class ColorComponent : public IColor
{
public:
    ColorComponent() = default;
    explicit ColorComponent(const ColorF& color) : mColor(color) {}
    float GetAlpha() override { return mColor.a; }
    void SetAlpha(float alpha) override { mColor.a = alpha; }
    ColorF& GetColor() override { return mColor; }
    void SetColor(const ColorF& color) override { mColor = color; }

protected:
    ColorF mColor{1.0f, 1.0f, 1.0f, 1.0f};
};

class VisibleComponent : public IVisible
{
public:
    explicit VisibleComponent(bool visible = true) : mVisible(visible) {}
    bool IsVisible() override { return mVisible; }
    void SetVisible(bool visible) override { mVisible = visible; }

protected:
    bool mVisible;
};

class ScaleComponent : public IScale
{
public:
    ScaleComponent() = default;
    Vector2<float>& GetScale() override { return mScale; }
    void SetScale(const Vector2<float>& scale) override { mScale = scale; }
    void SetScale(float x, float y) override { mScale = Vector2<float>(x, y); }
    void SetScale(float both) override { mScale = Vector2<float>(both, both); }

protected:
    Vector2<float> mScale{1.0f, 1.0f};
};

class AlignmentComponent : public IAlignment
{
public:
    AlignmentComponent() = default;
    HAlignment GetHAlignment() override { return mHAlignment; }
    void SetHAlignment(HAlignment alignment) override { mHAlignment = alignment; }
    VAlignment GetVAlignment() override { return mVAlignment; }
    void SetVAlignment(VAlignment alignment) override { mVAlignment = alignment; }

protected:
    HAlignment mHAlignment = HAlignment_Left;
    VAlignment mVAlignment = VAlignment_Top;
};

// Bit 0 flips horizontally, bit 1 vertically.
class FlipStateComponent : public IFlipState
{
public:
    uint32_t GetFlipState() override { return mFlipState; }
    void SetFlipState(uint32_t flags) override { mFlipState = flags; }

protected:
    uint32_t mFlipState = 0;
};

} // namespace Strata
