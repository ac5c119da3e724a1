#pragma once

struct SDL_Window;

namespace Linux
{

// The game draws a logical frame of this size whatever the window's size.
inline constexpr int kFrameWidth = 800;
inline constexpr int kFrameHeight = 600;

// Where the logical frame lies in a window: scaled to fit whole, centred, with black bars.
struct sFrameViewport
{
    int x = 0;
    int y = 0;
    int width = kFrameWidth;
    int height = kFrameHeight;
};

// The viewport for a window (or drawable) of the given size in pixels; the whole window when a size is
// not positive.
sFrameViewport ComputeFrameViewport(int windowWidth, int windowHeight);

// Maps a window position into the logical frame (positions in the bars fall outside 0..799 x 0..599).
void MapWindowToFrame(const sFrameViewport& viewport, int windowX, int windowY, int* frameX, int* frameY);

// The game's window, made by the application platform's CreateWindow; null when there is none.
SDL_Window* GetMainWindow();
// Set by the application platform when it makes or destroys the window.
void SetMainWindow(SDL_Window* window);

} // namespace Linux
