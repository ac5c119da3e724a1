#pragma once

namespace Strata
{
class IGraphicsPlatform;
}

namespace Linux
{

// A new graphics platform for the capability flags, registered as the graphics platform: the software
// renderer when flag 1 is set, else the OpenGL renderer. Owned by the caller; neither is set up yet.
Strata::IGraphicsPlatform* CreateGraphicsPlatform(unsigned long caps);

} // namespace Linux
