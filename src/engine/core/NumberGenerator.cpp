#include "core/NumberGenerator.h"

#include "core/RuntimeError.h"

namespace Strata
{

IncrementNumberGenerator<Angle>::IncrementNumberGenerator(std::shared_ptr<NumberGenerator<Angle>> start,
                                                          std::shared_ptr<NumberGenerator<Angle>> step)
    : mStart(std::move(start)), mStep(std::move(step))
{
    if (!mStart || !mStep)
        STRATA_THROW(RuntimeError, "IncrementNumberGenerator needs a start and a step generator.");
    mCurrent = mStart->Generate();
}

IncrementNumberGenerator<Angle>::IncrementNumberGenerator(Angle start, Angle step)
    : mStart(std::make_shared<ConstNumberGenerator<Angle>>(start)),
      mStep(std::make_shared<ConstNumberGenerator<Angle>>(step)), mCurrent(start)
{
}

Angle IncrementNumberGenerator<Angle>::Generate()
{
    const Angle value = mCurrent;
    mCurrent += mStep->Generate();
    return value;
}

std::shared_ptr<NumberGenerator<Angle>> IncrementNumberGenerator<Angle>::Clone() const
{
    return std::make_shared<IncrementNumberGenerator<Angle>>(std::make_shared<ConstNumberGenerator<Angle>>(mCurrent),
                                                             mStep);
}

Vector2ToVector2Generator<float>::Vector2ToVector2Generator(std::shared_ptr<NumberGenerator<float>> x,
                                                            std::shared_ptr<NumberGenerator<float>> y)
    : mX(std::move(x)), mY(std::move(y))
{
    if (!mX || !mY)
        STRATA_THROW(RuntimeError, "Vector2ToVector2Generator needs an x and a y generator.");
}

Vector2ToVector2Generator<float>::Vector2ToVector2Generator(const Vector2<float>& value)
    : mX(std::make_shared<ConstNumberGenerator<float>>(value.x)),
      mY(std::make_shared<ConstNumberGenerator<float>>(value.y))
{
}

Vector2<float> Vector2ToVector2Generator<float>::Generate()
{
    const float x = mX->Generate();
    const float y = mY->Generate();
    return Vector2<float>(x, y);
}

std::shared_ptr<Vector2Generator<float>> Vector2ToVector2Generator<float>::Clone() const
{
    return std::make_shared<Vector2ToVector2Generator<float>>(mX->Clone(), mY->Clone());
}

std::shared_ptr<Vector2Generator<float>> ConstVector2FGenerator(const Vector2<float>& value)
{
    return std::make_shared<Vector2ToVector2Generator<float>>(value);
}

} // namespace Strata
