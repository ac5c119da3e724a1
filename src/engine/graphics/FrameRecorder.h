#pragma once

#include "graphics/Canvas.h"

#include <functional>

namespace Strata
{
class IImage;
}

// A still screen costs nothing: the screen drawing of a frame is recorded through the screen canvas
// proxy, compared with the last frame shown, and drawn (scene begun, calls replayed, scene ended) only
// when it differs. Anything the recording cannot stand for (a pixel read back from the screen, an image
// whose content has no stamp, a canvas ability it does not know) draws the frame at once instead, and
// the frame after it too. Main thread only.
namespace Strata::Graphics::FrameRecording
{

enum ePresentResult : int
{
    Present_Shown = 0,     // drawn and shown
    Present_Unchanged = 1, // the same as the frame on screen: nothing drawn
    Present_NoScreen = 2,  // no graphics platform, or it would not begin the scene
    Present_Replaced = 3   // the graphics platform changed during the frame: nothing shown
};

// Records what `draw` draws on the screen and shows it when it differs from the last frame shown or
// `force` is set (the window was exposed or resized). An exception from `draw` ends the recording and
// leaves the next frame to be drawn in full; it propagates.
ePresentResult DrawFrame(const std::function<void()>& draw, bool force);

// The next frame is drawn whatever it holds: the screen's pixels are no longer the last frame's.
void Invalidate();

// True between the start of a recorded frame and its end, on the thread that draws it.
bool IsRecording();

} // namespace Strata::Graphics::FrameRecording

namespace Strata::Internal
{

// The screen canvas proxy's QueryInterface while a frame is recorded: the recorder's own abilities,
// for exactly the names the screen canvas answers.
bool QueryRecordingInterface(ICanvas* screen, Label name, void** out);
// An image is going away: a recorded call that still draws it is drawn now.
void ForgetRecordedImage(const IImage* image);

} // namespace Strata::Internal
