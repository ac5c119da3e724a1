#include "scene/AnimationController.h"

#include "scene/SpriteAnimation.h"

#include <algorithm>

namespace Strata
{

void AnimationController::SetAnimation(const SpriteAnimation* animation, bool restart)
{
    if (animation == mCurrent && !restart)
        return;
    mCurrent = animation;
    mReversed = false;
    mPosition = 0;
    mElapsed = 0.0f;
    mFrameStart = 0.0f;
    mFrameCount = 0;
    mPlaysLeft = 0;
    if (mCurrent)
        BeginAnimation();
    else
        mFrameIndex = 0;
}

void AnimationController::SetFrameIndex(int index)
{
    mCurrent = nullptr;
    mFrameIndex = index;
}

Label AnimationController::GetCurAnimationName() const
{
    return mCurrent ? mCurrent->name : Label();
}

void AnimationController::BeginAnimation()
{
    mFrameCount = static_cast<int32_t>(mCurrent->frames.size());
    mPosition = 0;
    mPlaysLeft = mCurrent->numPlays;
    mReversed = false;
    mFrameStart = 0.0f;
    mElapsed = 0.0f;
    ShowFrame();
}

void AnimationController::ShowFrame()
{
    if (mFrameCount <= 0)
    {
        // Animations always hold a frame; one emptied from code stops rather than read past its end.
        mCurrent = nullptr;
        return;
    }
    const AnimFrame& frame = mCurrent->frames[static_cast<size_t>(mPosition)];
    mFrameIndex = frame.index;
    mFrameDuration = std::max(frame.duration, kMinFrameDuration);
}

void AnimationController::Update(float seconds)
{
    if (!mCurrent)
        return;
    mElapsed += seconds;
    int steps = 0;
    while (mCurrent && mElapsed - mFrameStart > mFrameDuration)
    {
        if (++steps > kMaxStepsPerUpdate)
        {
            // The rest of the time is dropped: the current frame starts now.
            mFrameStart = mElapsed;
            break;
        }
        mFrameStart += mFrameDuration;
        AdvanceFrame();
    }
    // Only the difference counts; keeping both small keeps the sum exact however long it runs.
    mElapsed -= mFrameStart;
    mFrameStart = 0.0f;
}

void AnimationController::AdvanceFrame()
{
    mPosition += mReversed ? -1 : 1;
    const bool passEnded = mReversed ? mPosition < 0 : mPosition >= mFrameCount;
    if (!passEnded)
    {
        ShowFrame();
        return;
    }
    if (mPlaysLeft >= 0)
        --mPlaysLeft;
    if (mPlaysLeft == 0)
    {
        if (mCurrent->linked)
        {
            BeginLinkedAnimation();
        }
        else
        {
            // Stopped: the last frame shown stays.
            mCurrent = nullptr;
        }
        return;
    }
    if (mCurrent->pingPong)
    {
        mReversed = !mReversed;
        mPosition = mReversed ? mFrameCount - 2 : 1;
        mPosition = std::clamp(mPosition, 0, std::max(mFrameCount - 1, 0));
    }
    else
    {
        mPosition = 0;
    }
    ShowFrame();
}

void AnimationController::BeginLinkedAnimation()
{
    const float frameStart = mFrameStart;
    const float elapsed = mElapsed;
    SetAnimation(mCurrent->linked, true);
    mFrameStart = frameStart;
    mElapsed = elapsed;
}

} // namespace Strata
