#pragma once

namespace Strata
{

// Turns elapsed time into a value between two ends. Shared through std::shared_ptr.
class Interpolator
{
public:
    virtual ~Interpolator() = default;
    // The value at `elapsed` of `duration` seconds; elapsed beyond the duration gives `to`.
    virtual float interpolate(float from, float to, float elapsed, float duration) const = 0;
};

class LinearInterpolator : public Interpolator
{
public:
    float interpolate(float from, float to, float elapsed, float duration) const override;
};

// Always the end value.
class ImmediateInterpolator : public Interpolator
{
public:
    float interpolate(float from, float to, float elapsed, float duration) const override;
};

// k = 0 eases in and out; k > 0 starts fast and ends slowly (1 - (1 - u)^k); k < 0 starts slowly
// and ends fast (u^-k).
class SmoothInterpolator : public Interpolator
{
public:
    explicit SmoothInterpolator(float k) : mK(k) {}
    float interpolate(float from, float to, float elapsed, float duration) const override;
    float GetK() const { return mK; }

private:
    float mK;
};

} // namespace Strata
