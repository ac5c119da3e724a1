#include "graphics/GraphicsPlatform.h"

namespace Strata
{

IGraphicsPlatform* GetGraphicsPlatform()
{
    return dynamic_cast<IGraphicsPlatform*>(GetRenderPlatform());
}

bool IsGraphicsPlatformRegistered()
{
    return GetGraphicsPlatform() != nullptr;
}

} // namespace Strata
