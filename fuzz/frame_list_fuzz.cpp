// Feeds arbitrary bytes to the sprite-animation frame-list parser and checks what a damaged list must
// never cost: it either parses into at most kMaxAnimationFrames frames, or fails with a parse error
// carrying a message (or a conversion error for a number too large), and never hangs or overruns.

#include "scene/SpriteAnimation.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

using namespace Strata;

namespace
{

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string list(reinterpret_cast<const char*>(data), size);
    try
    {
        const std::vector<AnimFrame> frames = ParseFrameListString(list);
        Check(frames.size() <= kMaxAnimationFrames);

        // The same list through an animation: never empty, every duration usable by the controller.
        SpriteAnimation animation(Label("fuzz"));
        animation.SetFrameListString(list, 2.0f, true);
        Check(!animation.frames.empty() && animation.frames.size() <= kMaxAnimationFrames);
        for (const AnimFrame& frame : animation.frames)
            Check(frame.duration >= kMinFrameDuration);
    }
    catch (const AnimationParseError& error)
    {
        Check(!error.GetMessage().empty());
    }
    catch (const std::out_of_range&)
    {
    }
    return 0;
}
