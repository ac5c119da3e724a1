#pragma once

namespace Strata
{

// The window the platform makes: mode (0 windowed, 1 full screen), resize policy, size in pixels.
struct sWindowConfig
{
    int mode;
    int resizePolicy;
    int width;
    int height;
};

} // namespace Strata
