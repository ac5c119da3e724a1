#pragma once

#include <utility>

namespace Yardcrew
{

// Something that may happen once: leaving a screen, closing a pop-up, moving the story on. Two clicks in
// one frame, or a click and a timer, both reach the code before the change they ask for is made; the
// first takes the guard and the second finds it taken.
class OnceGuard
{
public:
    // True for the first call only.
    bool Take() { return !std::exchange(mTaken, true); }
    bool IsTaken() const { return mTaken; }
    // Lets it happen again: a screen that another covered is back in charge.
    void Reset() { mTaken = false; }

private:
    bool mTaken = false;
};

} // namespace Yardcrew
