#pragma once

#include "core/Angle.h"
#include "core/Color.h"
#include "core/Label.h"
#include "core/Rect.h"

namespace Strata
{

class IImage;

// A drawing target. Its drawing abilities are separate interfaces, asked for by name.
class ICanvas
{
public:
    static constexpr const char* kInterfaceName = "ICanvas";

    // Names the canvas class.
    virtual Label GetKind() const = 0;
    // The canvas area in pixels.
    virtual const Rect<int>& GetBounds() const = 0;
    // When the canvas implements the interface named `name`, stores a pointer to that interface of
    // this object in *out (to be cast back to exactly that interface type; a null `out` only asks)
    // and returns true; otherwise returns false and leaves *out untouched.
    virtual bool QueryInterface(Label name, void** out) = 0;

protected:
    virtual ~ICanvas() = default;
};

namespace Graphics
{

using Strata::ICanvas;
struct sDrawState;

// Result codes of every drawing operation.
enum eDrawResult : int
{
    DrawResult_Drawn = 0,
    DrawResult_Nothing = 1,       // nothing to draw: missing input, empty or clipped area, invisible
    DrawResult_ListTooShort = -1, // an image list holds fewer images than a brush needs
    DrawResult_Unsupported = -2   // the canvas lacks the ability
};

enum PrimitiveKind : int
{
    PrimitiveKind_TriangleStrip = 0,
    PrimitiveKind_TriangleFan = 1,
    PrimitiveKind_Triangles = 2
};

struct sPrimitiveVertex
{
    float x = 0.0f;
    float y = 0.0f;
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
    float u = 0.0f;
    float v = 0.0f;

    bool operator==(const sPrimitiveVertex&) const = default;
};

// A canvas that shows frames on the screen.
class IScreen
{
public:
    static constexpr const char* kInterfaceName = "IScreen";

    virtual int BeginFrame() = 0;
    virtual int EndFrame() = 0;
    virtual ~IScreen() = default;
};

class ILineDrawingCanvas
{
public:
    static constexpr const char* kInterfaceName = "ILineDrawingCanvas";

    virtual int DrawLine(float x1, float y1, float x2, float y2, const sDrawState& state) = 0;

protected:
    ~ILineDrawingCanvas() = default;
};

class IEllipseDrawingCanvas
{
public:
    static constexpr const char* kInterfaceName = "IEllipseDrawingCanvas";

    virtual int DrawLineCircle(float centerX, float centerY, float radius, const sDrawState& state) = 0;
    virtual int DrawFilledCircle(float centerX, float centerY, float radius, const sDrawState& state) = 0;
    virtual int DrawLineEllipse(const Rect<float>& bounds, const sDrawState& state) = 0;
    virtual int DrawFilledEllipse(const Rect<float>& bounds, const sDrawState& state) = 0;

protected:
    ~IEllipseDrawingCanvas() = default;
};

class IQuadDrawingCanvas
{
public:
    static constexpr const char* kInterfaceName = "IQuadDrawingCanvas";

    virtual int DrawFilledRect(const Rect<int>& rect, const sDrawState& state) = 0;
    virtual int DrawFilledRect(const Rect<float>& rect, const sDrawState& state) = 0;
    // (x, y) is the top-left corner.
    virtual int DrawImage(IImage* image, float x, float y, const sDrawState& state) = 0;
    virtual int DrawStretchedImage(IImage* image, const Rect<int>& destination, const sDrawState& state) = 0;
    // (x, y) is the centre of the image.
    virtual int DrawRotatedImage(IImage* image, float x, float y, Angle angle, const sDrawState& state) = 0;
    // The destination's x, y is the centre.
    virtual int DrawStretchedRotatedImage(IImage* image, const Rect<int>& destination, Angle angle,
                                          const sDrawState& state) = 0;
    virtual int DrawPrimitive(PrimitiveKind kind, IImage* image, int vertexCount, const sPrimitiveVertex* vertices,
                              const sDrawState& state) = 0;

protected:
    ~IQuadDrawingCanvas() = default;
};

class IPixelSettingCanvas
{
public:
    static constexpr const char* kInterfaceName = "IPixelSettingCanvas";

    virtual int SetPixel(float x, float y, Color32 color) = 0;
    virtual Color32 GetPixel(float x, float y) = 0;

protected:
    ~IPixelSettingCanvas() = default;
};

// Draws a whole line of text itself.
class ITextDrawingCanvas
{
public:
    static constexpr const char* kInterfaceName = "ITextDrawingCanvas";

    virtual int DrawTextLine(const wchar_t* text, float x, float y, const sDrawState& state) = 0;

protected:
    ~ITextDrawingCanvas() = default;
};

// The interface I of the canvas, or null when the canvas is null or lacks it. The name's label is
// interned once per interface.
template <class I>
I* QueryCanvas(ICanvas* canvas)
{
    if (!canvas)
        return nullptr;
    static const Label name(I::kInterfaceName);
    void* found = nullptr;
    if (!canvas->QueryInterface(name, &found))
        return nullptr;
    return static_cast<I*>(found);
}

// For a canvas's QueryInterface: stores `self` as interface I when `name` names I.
template <class I, class C>
bool AnswerInterface(C* self, Label name, void** out)
{
    static const Label interfaceName(I::kInterfaceName);
    if (name != interfaceName)
        return false;
    if (out)
        *out = static_cast<I*>(self);
    return true;
}

} // namespace Graphics
} // namespace Strata
