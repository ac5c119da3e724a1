#include "platform/linux/GraphicsPlatforms.h"

#include "platform/linux/OpenGLGraphicsPlatform.h"
#include "platform/linux/SoftwareGraphicsPlatform.h"

namespace Linux
{

Strata::IGraphicsPlatform* CreateGraphicsPlatform(unsigned long caps)
{
    if (caps & 1ul)
        return new SoftwareGraphicsPlatform(caps);
    return new OpenGLGraphicsPlatform(caps);
}

} // namespace Linux
