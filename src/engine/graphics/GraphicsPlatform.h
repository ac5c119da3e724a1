#pragma once

#include "core/Rect.h"
#include "framework/RenderPlatform.h"

namespace Strata
{

class Image;
class ICanvas;
class ITexture;

// A scene that draws only part of the frame anew.
struct sSceneArea
{
    // In screen canvas pixels; what lies outside keeps the last scene's pixels.
    Rect<int> area;
    // The scene's first draw writes every pixel of the area opaquely, so the area needs no clearing.
    bool covered = false;
    // The window lost what it showed (exposed or resized): all of it is shown again.
    bool wholeWindow = false;
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
    // Begins a scene in which only `scene.area` is drawn (cleared first unless covered) and shown; the
    // rest of the frame stays as the last scene begun here left it. 0 when begun; otherwise nothing was
    // begun (a renderer that keeps no frame, or an area short of the whole frame when it has none kept)
    // and BeginScene is the way.
    virtual int BeginSceneArea(const sSceneArea&) { return 1; }

    bool HasScreenCanvas() final { return GetScreenCanvas() != nullptr; }
};

// The registered renderer when it is a graphics platform; null when none is registered.
IGraphicsPlatform* GetGraphicsPlatform();
bool IsGraphicsPlatformRegistered();

} // namespace Strata
