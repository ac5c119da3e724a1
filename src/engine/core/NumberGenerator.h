#pragma once

#include "core/Angle.h"
#include "core/Vector2.h"

#include <memory>

namespace Strata
{

// A source of values that tasks draw their targets and durations from. Held through shared
// pointers; Clone gives an independent generator that continues from the same state.
template <class T>
class NumberGenerator
{
public:
    virtual ~NumberGenerator() = default;
    virtual T Generate() = 0;
    virtual std::shared_ptr<NumberGenerator<T>> Clone() const = 0;
};

template <class T>
class ConstNumberGenerator : public NumberGenerator<T>
{
public:
    explicit ConstNumberGenerator(T value) : mValue(value) {}

    T Generate() override { return mValue; }
    std::shared_ptr<NumberGenerator<T>> Clone() const override
    {
        return std::make_shared<ConstNumberGenerator<T>>(mValue);
    }

private:
    T mValue;
};

template <class T>
class IncrementNumberGenerator;

// Start, start + step, start + 2 step, ...: each step is drawn afresh from the step generator.
template <>
class IncrementNumberGenerator<Angle> : public NumberGenerator<Angle>
{
public:
    // Draws the start once, here. Throws a RuntimeError for a null generator.
    IncrementNumberGenerator(std::shared_ptr<NumberGenerator<Angle>> start,
                             std::shared_ptr<NumberGenerator<Angle>> step);
    IncrementNumberGenerator(Angle start, Angle step);

    Angle Generate() override;
    // Continues from the value the next Generate would return; shares the step generator.
    std::shared_ptr<NumberGenerator<Angle>> Clone() const override;

private:
    std::shared_ptr<NumberGenerator<Angle>> mStart;
    std::shared_ptr<NumberGenerator<Angle>> mStep;
    Angle mCurrent;
};

template <class T>
class Vector2Generator
{
public:
    virtual ~Vector2Generator() = default;
    virtual Vector2<T> Generate() = 0;
    virtual std::shared_ptr<Vector2Generator<T>> Clone() const = 0;
};

template <class T>
class Vector2ToVector2Generator;

// A vector of two generated numbers, x drawn before y.
template <>
class Vector2ToVector2Generator<float> : public Vector2Generator<float>
{
public:
    // Throws a RuntimeError for a null generator.
    Vector2ToVector2Generator(std::shared_ptr<NumberGenerator<float>> x, std::shared_ptr<NumberGenerator<float>> y);
    explicit Vector2ToVector2Generator(const Vector2<float>& value);

    Vector2<float> Generate() override;
    // Clones both generators.
    std::shared_ptr<Vector2Generator<float>> Clone() const override;

private:
    std::shared_ptr<NumberGenerator<float>> mX;
    std::shared_ptr<NumberGenerator<float>> mY;
};

// A generator that always yields `value`.
std::shared_ptr<Vector2Generator<float>> ConstVector2FGenerator(const Vector2<float>& value);

} // namespace Strata
