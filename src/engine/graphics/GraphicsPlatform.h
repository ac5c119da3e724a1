#pragma once

#include "framework/RenderPlatform.h"

namespace Strata
{

class Image;
class ICanvas;
class ITexture;
template <class T>
class Rect;

// The renderer bound to the window, with the screen canvas and textures drawing needs. It registers
// in the render platform's slot (RegisterSingleton(IRenderPlatform*)).
class IGraphicsPlatform : public IRenderPlatform
{
public:
    // Null when there is no screen canvas.
    virtual ICanvas* GetScreenCanvas() = 0;
    // A new texture for the image, reference count 1.
    virtual ITexture* CreateTexture(const Image* image, const Rect<int>* subRect) = 0;

    bool HasScreenCanvas() final { return GetScreenCanvas() != nullptr; }
};

// The registered renderer when it is a graphics platform; null when none is registered.
IGraphicsPlatform* GetGraphicsPlatform();
bool IsGraphicsPlatformRegistered();

} // namespace Strata
