#pragma once

#include <cfloat>

namespace Strata
{

// A value tweened linearly from `from` to `to` over `duration` seconds, for code that is not a
// task. It runs while the duration is >= 0; the lowest float marks it idle.
template <class T>
struct Animating
{
    static constexpr float kIdle = -FLT_MAX;

    T value{};
    T from{};
    T to{};
    float elapsed = 0.0f;
    float duration = kIdle;

    Animating() = default;
    explicit Animating(T initial) : value(initial), from(initial), to(initial) {}

    bool IsAnimating() const { return duration >= 0.0f; }

    // Advances by dt; false when idle. The update that reaches the end sets the value to `to`
    // exactly and leaves the animation idle.
    bool Update(float dt)
    {
        if (!(duration >= 0.0f))
            return false;
        elapsed += dt;
        if (elapsed >= duration)
        {
            value = to;
            duration = kIdle;
        }
        else
        {
            value = from + (to - from) * (elapsed / duration);
        }
        return true;
    }
};

} // namespace Strata
