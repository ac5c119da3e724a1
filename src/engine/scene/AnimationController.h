#pragma once

#include "core/Label.h"
#include "framework/Object.h"

#include <cstdint>
#include <memory>

namespace Strata
{

class SpriteAnimation;

// Plays one sprite animation: advances its frames as time passes, runs ping-pong passes, counts plays
// and hands over to the linked animation. Lives in an object database, which calls Update every frame.
// The animation is not owned: whoever sets it keeps it alive (HoldResource helps). Main thread only.
class AnimationController : public Object
{
public:
    // Frames one Update may pass at most; time beyond them is dropped, so a long pause cannot hang
    // the update loop.
    static constexpr int kMaxStepsPerUpdate = 10000;

    AnimationController() = default;

    // The null label: controllers are never named.
    Label GetName() const override { return mName; }
    void Update(float seconds) override;

    // Starts `animation` from its first frame, unless it is already playing and `restart` is false.
    // Null stops and shows image 0.
    void SetAnimation(const SpriteAnimation* animation, bool restart);
    // Shows the image index as a still frame; stops any animation.
    void SetFrameIndex(int index);
    // Keeps the resource that holds the animations alive as long as this controller.
    void HoldResource(std::shared_ptr<const void> resource) { mHeld = std::move(resource); }

    // The playing animation's name; null when idle.
    Label GetCurAnimationName() const;
    const SpriteAnimation* GetCurrentAnimation() const { return mCurrent; }
    bool IsPlaying() const { return mCurrent != nullptr; }
    // The image index shown now.
    int GetFrameIndex() const { return mFrameIndex; }
    int GetPosition() const { return mPosition; }
    int GetPlaysLeft() const { return mPlaysLeft; }

private:
    void BeginAnimation();
    void BeginLinkedAnimation();
    void AdvanceFrame();
    void ShowFrame();

    Label mName;
    const SpriteAnimation* mCurrent = nullptr;
    int32_t mPosition = 0;
    int32_t mFrameCount = 0;
    int32_t mFrameIndex = 0;
    float mFrameDuration = 1.0f;
    int32_t mPlaysLeft = 0;
    bool mReversed = false;
    // Time into the animation at which the current frame began, and time since the animation began.
    // Both are moved back together as frames pass, so they stay small however long the animation runs.
    float mFrameStart = 0.0f;
    float mElapsed = 0.0f;
    std::shared_ptr<const void> mHeld;
};

} // namespace Strata
