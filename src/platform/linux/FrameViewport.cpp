#include "platform/linux/FrameViewport.h"

#include <cstdint>

namespace Linux
{

namespace
{
SDL_Window* gMainWindow = nullptr;
}

SDL_Window* GetMainWindow()
{
    return gMainWindow;
}

void SetMainWindow(SDL_Window* window)
{
    gMainWindow = window;
}

sFrameViewport ComputeFrameViewport(int windowWidth, int windowHeight)
{
    sFrameViewport viewport;
    if (windowWidth <= 0 || windowHeight <= 0)
        return viewport;
    // Compare the aspect ratios in integers: the frame fills the window's width or its height.
    const int64_t byWidth = static_cast<int64_t>(windowWidth) * kFrameHeight;
    const int64_t byHeight = static_cast<int64_t>(windowHeight) * kFrameWidth;
    if (byWidth <= byHeight)
    {
        viewport.width = windowWidth;
        viewport.height = static_cast<int>(byWidth / kFrameWidth);
    }
    else
    {
        viewport.height = windowHeight;
        viewport.width = static_cast<int>(byHeight / kFrameHeight);
    }
    viewport.x = (windowWidth - viewport.width) / 2;
    viewport.y = (windowHeight - viewport.height) / 2;
    return viewport;
}

void MapWindowToFrame(const sFrameViewport& viewport, int windowX, int windowY, int* frameX, int* frameY)
{
    const int width = viewport.width > 0 ? viewport.width : 1;
    const int height = viewport.height > 0 ? viewport.height : 1;
    // Floor division, so that a position just left of the frame maps to -1, not 0.
    const int64_t dx = static_cast<int64_t>(windowX - viewport.x) * kFrameWidth;
    const int64_t dy = static_cast<int64_t>(windowY - viewport.y) * kFrameHeight;
    *frameX = static_cast<int>(dx >= 0 ? dx / width : -((-dx + width - 1) / width));
    *frameY = static_cast<int>(dy >= 0 ? dy / height : -((-dy + height - 1) / height));
}

} // namespace Linux
