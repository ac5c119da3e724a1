#pragma once

#include <string>
#include <string_view>

namespace Strata
{
class IGraphicsPlatform;
}

namespace Linux
{

// A new graphics platform for the capability flags, registered as the graphics platform: the software
// renderer when flag 1 is set, else the OpenGL renderer. Owned by the caller; neither is set up yet.
Strata::IGraphicsPlatform* CreateGraphicsPlatform(unsigned long caps);

// The renderer the game draws with, as CreateGraphicsPlatform makes it, except that hardware
// rendering becomes the software renderer when OpenGL on this display is itself a software rasterizer
// (then the image canvas is much cheaper and looks the same). "-opengl" on the command line keeps
// OpenGL. The choice is logged the first time it is made.
Strata::IGraphicsPlatform* ChooseGraphicsPlatform(unsigned long caps);

// True when an OpenGL renderer string names one of Mesa's rasterizers that run on the processor
// (llvmpipe, softpipe, swrast), whatever the letter case.
bool IsSoftwareRasterizer(std::string_view renderer);

// The GL_RENDERER of an OpenGL context on the display of the running SDL video, asked once per process.
// On X the context is made in a short-lived child process with a connection of its own, so that the
// driver's threads, caches and memory never enter this one; elsewhere a 2.1 context on a hidden window.
// Empty, and asked again next time, when SDL's video is not started, no context can be made, or the
// child fails or does not answer within 5 s (it is then killed).
std::string QueryOpenGLRenderer();

// Starts asking that question in the child process at once, so that the answer is ready by the time the
// renderer is chosen; nothing when it has been answered, is being asked, or the video is not X's.
void StartOpenGLRendererProbe();
// Ends a question started and not yet answered, killing its child; for shutting down.
void EndOpenGLRendererProbe();

} // namespace Linux
