#pragma once

#include "core/Angle.h"
#include "core/NumberGenerator.h"
#include "core/Vector2.h"
#include "framework/TimedTask.h"
#include "scene/NodeMotionTasks.h"

#include <memory>

namespace Strata
{

// Tasks that change a scene node's rotation, scale or visibility. Like the motion tasks they read the
// node's current value at their first update, never at construction, and throw RuntimeError (a std::runtime_error)
// (changing nothing) when run on anything but a SceneNode.

// Turns the node to a generated angle, always the shorter way round (at most half a turn; exactly
// half a turn goes the way the raw angles point).
class NodeOrientationTask : public BetterInterpolatingTask
{
public:
    // Throw a RuntimeError for a null generator or interpolator.
    NodeOrientationTask(std::shared_ptr<NumberGenerator<Angle>> target,
                        std::shared_ptr<NumberGenerator<float>> duration, std::shared_ptr<Interpolator> interpolator);
    // Linear.
    NodeOrientationTask(std::shared_ptr<NumberGenerator<Angle>> target,
                        std::shared_ptr<NumberGenerator<float>> duration);
    // At once.
    explicit NodeOrientationTask(Angle target);
    // Linear over `seconds`.
    NodeOrientationTask(Angle target, float seconds);

    // Clones both generators: a clone driven by an increment generator aims one step further,
    // which is how a repeating rotation keeps turning.
    Task* Clone() const override;
    sTaskStatus Update(Object* object, float dt) override;

private:
    Angle mStart;
    Angle mTarget;
    std::shared_ptr<NumberGenerator<Angle>> mTargetGenerator;
};

// Scales the node to a generated pair of factors, each interpolated on its own.
class NodeScaleTask : public NodeVector2Task
{
public:
    // Throws a RuntimeError for a null generator or interpolator.
    NodeScaleTask(std::shared_ptr<Vector2Generator<float>> target, std::shared_ptr<NumberGenerator<float>> duration,
                  std::shared_ptr<Interpolator> interpolator);
    // At once.
    explicit NodeScaleTask(const Vector2<float>& target);

    Task* Clone() const override;

private:
    Vector2<float> GetProperty(const SceneNode& node) const override;
    void SetProperty(SceneNode& node, const Vector2<float>& scale) const override;
};

// Shows or hides the node and completes without using time, so the next task of a chain runs in the
// same update.
class NodeVisibleTask : public Task
{
public:
    explicit NodeVisibleTask(bool visible);
    // Throws a RuntimeError for a null generator.
    explicit NodeVisibleTask(std::shared_ptr<NumberGenerator<bool>> visible);

    Task* Clone() const override;
    sTaskStatus Update(Object* object, float dt) override;

private:
    std::shared_ptr<NumberGenerator<bool>> mGenerator;
};

} // namespace Strata
