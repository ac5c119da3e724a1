#pragma once

#include "core/NumberGenerator.h"
#include "core/Vector2.h"
#include "framework/TimedTask.h"

#include <memory>
#include <vector>

namespace Strata
{

class SceneNode;

// Eases a two-coordinate property of a scene node (its location or scale) from its value at the first
// update to a generated target, each coordinate on its own, and lands exactly on the target at the end.
class NodeVector2Task : public BetterInterpolatingTask
{
public:
    // Throws RuntimeError (a std::runtime_error) with the message given at construction, changing nothing, for anything
    // but a SceneNode.
    sTaskStatus Update(Object* object, float dt) override;

protected:
    // Throws a RuntimeError with `nullTarget` for a null target generator, and one for a null duration
    // generator or interpolator. The messages are kept, not copied.
    NodeVector2Task(std::shared_ptr<Vector2Generator<float>> target, std::shared_ptr<NumberGenerator<float>> duration,
                    std::shared_ptr<Interpolator> interpolator, const char* nullTarget, const char* notANode);
    NodeVector2Task(const Vector2<float>& target, float seconds, std::shared_ptr<Interpolator> interpolator,
                    const char* notANode);

    virtual Vector2<float> GetProperty(const SceneNode& node) const = 0;
    virtual void SetProperty(SceneNode& node, const Vector2<float>& value) const = 0;

    std::shared_ptr<Vector2Generator<float>> mTargetGenerator;

private:
    const char* mNotANode;
    Vector2<float> mStart;
    Vector2<float> mTarget;
};

// Tasks that move a scene node's local location. Each takes its starting point from the node at its
// first update, never at construction, so it can wait in a serial chain behind other movements. Run
// on anything but a SceneNode, Update throws RuntimeError (a std::runtime_error) and changes nothing.

// A straight move to a generated target, eased by the interpolator.
class NodeLocationTask : public NodeVector2Task
{
public:
    // Throws a RuntimeError for a null generator or interpolator.
    NodeLocationTask(std::shared_ptr<Vector2Generator<float>> target, std::shared_ptr<NumberGenerator<float>> duration,
                     std::shared_ptr<Interpolator> interpolator);
    // At once.
    explicit NodeLocationTask(const Vector2<float>& target);
    NodeLocationTask(int x, int y);
    // Linear over `seconds`.
    NodeLocationTask(const Vector2<float>& target, float seconds);
    NodeLocationTask(float x, float y, float seconds);
    NodeLocationTask(int x, int y, float seconds);

    // Clones both generators and shares the interpolator: each clone draws its own target.
    Task* Clone() const override;

private:
    Vector2<float> GetProperty(const SceneNode& node) const override;
    void SetProperty(SceneNode& node, const Vector2<float>& location) const override;
};

// A move along the cubic Bezier curve from the node's location (P0) to `end` (P3), shaped by
// `control1` (P1, nearer the start) and `control2` (P2, nearer the end). Linear in time.
class NodeBezierLocationTask : public InterpolatingTask
{
public:
    NodeBezierLocationTask(const Vector2<float>& end, const Vector2<float>& control1, const Vector2<float>& control2,
                           float seconds);

    Task* Clone() const override;
    sTaskStatus Update(Object* object, float dt) override;

private:
    Vector2<float> mStart;
    Vector2<float> mEnd;
    Vector2<float> mControl1;
    Vector2<float> mControl2;
    // The curve in power form, a t^3 + b t^2 + c t + start, once the start is known.
    Vector2<float> mA;
    Vector2<float> mB;
    Vector2<float> mC;
    bool mStarted = false;
};

// A move along a uniform Catmull-Rom spline from the node's location through `points`, the same
// parameter time on each segment whatever its length. With automatic ends the phantom points
// beyond the two ends are the start location and the last point themselves.
class NodeCatmullRomPathTask : public InterpolatingTask
{
public:
    // Throw a RuntimeError for an empty point list or a null interpolator.
    NodeCatmullRomPathTask(std::vector<Vector2<float>> points, float seconds);
    NodeCatmullRomPathTask(std::vector<Vector2<float>> points, float seconds,
                           std::shared_ptr<Interpolator> interpolator);
    NodeCatmullRomPathTask(std::vector<Vector2<float>> points, const Vector2<float>& leading,
                           const Vector2<float>& trailing, float seconds, std::shared_ptr<Interpolator> interpolator);

    // Shares the interpolator; the clone builds its own control list when it starts.
    Task* Clone() const override;
    sTaskStatus Update(Object* object, float dt) override;

private:
    std::vector<Vector2<float>> mPoints;
    Vector2<float> mLeading;
    Vector2<float> mTrailing;
    bool mAutomaticEnds;
    // Leading point, start location, the points, trailing point: filled when the task starts.
    std::vector<Vector2<float>> mControls;
    bool mStarted = false;
};

} // namespace Strata
