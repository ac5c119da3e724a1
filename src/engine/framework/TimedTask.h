#pragma once

#include "core/NumberGenerator.h"
#include "framework/Interpolator.h"
#include "framework/Task.h"

#include <memory>

namespace Strata
{

namespace Internal
{

// The status of a timed task whose elapsed time has just reached its duration within a step of dt.
sTaskStatus TimedTaskFinished(float dt, float elapsed, float duration);

} // namespace Internal

// Lasts a given time, then completes handing back the part of the step it did not need.
class TimedTask : public Task
{
public:
    explicit TimedTask(float duration) : mDuration(duration) {}

    Task* Clone() const override;
    // Inline, as most timed tasks run on past the step: a subclass's call of it costs no call of its own.
    sTaskStatus Update(Object*, float dt) override
    {
        mElapsed += dt;
        return mElapsed < mDuration ? Incomplete : Internal::TimedTaskFinished(dt, mElapsed, mDuration);
    }
    // A plain timed task only: a subclass's clone is of another class or holds more.
    bool CanRestart() const override;
    void Restart() override;

    float GetDuration() const { return mDuration; }
    float GetElapsed() const { return mElapsed; }

protected:
    float mDuration;
    float mElapsed = 0.0f;
};

// A timed task that turns its progress into a value. Its clone is a plain TimedTask unless a
// subclass says otherwise.
class InterpolatingTask : public TimedTask
{
public:
    // Throws a RuntimeError for a null interpolator.
    InterpolatingTask(float duration, std::shared_ptr<Interpolator> interpolator);

    float interpolate(float from, float to) const;
    const std::shared_ptr<Interpolator>& GetInterpolator() const { return mInterpolator; }

protected:
    std::shared_ptr<Interpolator> mInterpolator;
};

// Fades the object's alpha from its value at the first update to the target.
class AlphaTask : public InterpolatingTask
{
public:
    AlphaTask(float alpha, float duration);
    // Throws a RuntimeError for a null interpolator.
    AlphaTask(float alpha, float duration, std::shared_ptr<Interpolator> interpolator);

    Task* Clone() const override;
    // Throws RuntimeError (a std::runtime_error) when the object has no IAlpha.
    sTaskStatus Update(Object* object, float dt) override;

private:
    float mStartAlpha = 0.0f;
    float mTargetAlpha;
};

// Shows or hides the object and completes without using time.
class VisibleTask : public Task
{
public:
    explicit VisibleTask(bool visible) : mVisible(visible) {}

    Task* Clone() const override;
    // Throws RuntimeError (a std::runtime_error) when the object has no IVisible.
    sTaskStatus Update(Object* object, float dt) override;

private:
    bool mVisible;
};

// A timed task whose duration is drawn from a generator at its first update, so that each clone
// (in a repeating task, say) draws its own.
class BetterTimedTask : public Task
{
public:
    // Throws a RuntimeError for a null generator.
    explicit BetterTimedTask(std::shared_ptr<NumberGenerator<float>> duration);
    explicit BetterTimedTask(float duration);

    Task* Clone() const override;
    sTaskStatus Update(Object* object, float dt) override;

    float GetDuration() const { return mDuration; }
    float GetElapsed() const { return mElapsed; }

protected:
    std::shared_ptr<NumberGenerator<float>> mGenerator;
    float mDuration = 0.0f;
    float mElapsed = 0.0f;
    // Not "elapsed is 0": a first update with dt 0 must not make the next one draw again.
    bool mStarted = false;
};

// Its clone is a plain BetterTimedTask unless a subclass says otherwise.
class BetterInterpolatingTask : public BetterTimedTask
{
public:
    // Throw a RuntimeError for a null generator or interpolator.
    BetterInterpolatingTask(std::shared_ptr<NumberGenerator<float>> duration,
                            std::shared_ptr<Interpolator> interpolator);
    BetterInterpolatingTask(float duration, std::shared_ptr<Interpolator> interpolator);

    float interpolate(float from, float to) const;
    const std::shared_ptr<Interpolator>& GetInterpolator() const { return mInterpolator; }

protected:
    std::shared_ptr<Interpolator> mInterpolator;
};

} // namespace Strata
