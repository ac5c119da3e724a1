#pragma once

#include "core/Rect.h"
#include "framework/RenderPlatform.h"

namespace Strata
{

class Image;
class ICanvas;
class ITexture;

// A scene that draws only part of the frame anew: a few rectangles, so that changes far apart do not
// redraw everything between them.
struct sSceneArea
{
    static constexpr int kMaxRects = 8;

    // In screen canvas pixels, none overlapping another; what lies outside them keeps the last scene's
    // pixels. None: nothing is drawn anew.
    Rect<int> rects[kMaxRects];
    int rectCount = 0;
    // The scene's first draw writes every pixel of the rectangles opaquely, so they need no clearing.
    bool covered = false;
    // The window lost what it showed (exposed or resized): all of it is shown again.
    bool wholeWindow = false;

    // A scene of the one rectangle (none when it is empty).
    explicit sSceneArea(const Rect<int>& area = Rect<int>())
    {
        if (!area.isEmpty())
            rects[rectCount++] = area;
    }
    // The bounding box of the rectangles.
    Rect<int> GetBounds() const
    {
        Rect<int> bounds;
        for (int i = 0; i < rectCount; ++i)
            bounds = bounds.getUnion(rects[i]);
        return bounds;
    }
};

// The renderer bound to the window, with the screen canvas and textures drawing needs. It registers
// in the render platform's slot (RegisterSingleton(IRenderPlatform*)).
class IGraphicsPlatform : public IRenderPlatform
{
public:
    // Null when there is no screen canvas.
    virtual ICanvas* GetScreenCanvas() = 0;
    // A new texture for the image, reference count 1.
    virtual ITexture* CreateTexture(const Image* image, const Rect<int>* subRect) = 0;
    // Begins a scene in which only the scene's rectangles are drawn (cleared first unless covered) and
    // shown; the rest of the frame stays as the last scene begun here left it. 0 when begun; otherwise
    // nothing was begun (a renderer that keeps no frame, or less than the whole frame when it has none
    // kept) and BeginScene is the way.
    virtual int BeginSceneArea(const sSceneArea&) { return 1; }

    bool HasScreenCanvas() final { return GetScreenCanvas() != nullptr; }
};

// The registered renderer when it is a graphics platform; null when none is registered.
IGraphicsPlatform* GetGraphicsPlatform();
bool IsGraphicsPlatformRegistered();

} // namespace Strata
