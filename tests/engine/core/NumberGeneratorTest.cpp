#include "core/NumberGenerator.h"

#include "core/RuntimeError.h"

#include <gtest/gtest.h>

#include <string>

namespace Strata
{
namespace
{

// Logs each draw, so the order of x and y can be seen.
class TaggedGenerator : public NumberGenerator<float>
{
public:
    TaggedGenerator(std::string* log, char tag, float value) : mLog(log), mTag(tag), mValue(value) {}
    float Generate() override
    {
        *mLog += mTag;
        return mValue;
    }
    std::shared_ptr<NumberGenerator<float>> Clone() const override
    {
        return std::make_shared<TaggedGenerator>(mLog, mTag, mValue);
    }

private:
    std::string* mLog;
    char mTag;
    float mValue;
};

TEST(NumberGenerator, ConstantsOfEachType)
{
    ConstNumberGenerator<float> f(2.5f);
    ConstNumberGenerator<bool> b(true);
    ConstNumberGenerator<Angle> a(Angle(1.5f));
    EXPECT_EQ(2.5f, f.Generate());
    EXPECT_EQ(2.5f, f.Clone()->Generate());
    EXPECT_TRUE(b.Generate());
    EXPECT_TRUE(b.Clone()->Generate());
    EXPECT_EQ(1.5f, a.Clone()->Generate().GetValue());
}

TEST(NumberGenerator, IncrementContinuesInItsClone)
{
    IncrementNumberGenerator<Angle> gen(Angle(0.0f), Angle(0.5f));
    EXPECT_EQ(0.0f, gen.Generate().GetValue());
    EXPECT_EQ(0.5f, gen.Generate().GetValue());
    auto clone = gen.Clone();
    EXPECT_EQ(1.0f, clone->Generate().GetValue());
    EXPECT_EQ(1.5f, clone->Generate().GetValue());
    EXPECT_EQ(1.0f, gen.Generate().GetValue()); // not advanced by the clone
    // No wrapping into one turn.
    for (int i = 0; i < 20; ++i)
        gen.Generate();
    EXPECT_GT(gen.Generate().GetValue(), Angle::circle());

    // From generators: the start is drawn once, at construction; steps afresh each time.
    auto steps = std::make_shared<IncrementNumberGenerator<Angle>>(Angle(1.0f), Angle(1.0f));
    IncrementNumberGenerator<Angle> growing(std::make_shared<ConstNumberGenerator<Angle>>(Angle(10.0f)), steps);
    EXPECT_EQ(10.0f, growing.Generate().GetValue());
    EXPECT_EQ(11.0f, growing.Generate().GetValue());
    EXPECT_EQ(13.0f, growing.Generate().GetValue());
    EXPECT_THROW(IncrementNumberGenerator<Angle>(nullptr, steps), RuntimeError);
}

TEST(NumberGenerator, VectorDrawsXBeforeY)
{
    std::string log;
    Vector2ToVector2Generator<float> gen(std::make_shared<TaggedGenerator>(&log, 'x', 1.0f),
                                         std::make_shared<TaggedGenerator>(&log, 'y', 2.0f));
    const Vector2<float> v = gen.Generate();
    EXPECT_EQ(1.0f, v.x);
    EXPECT_EQ(2.0f, v.y);
    gen.Clone()->Generate();
    EXPECT_EQ("xyxy", log);

    const Vector2<float> fixed = ConstVector2FGenerator(Vector2<float>(3.0f, -4.0f))->Generate();
    EXPECT_EQ(3.0f, fixed.x);
    EXPECT_EQ(-4.0f, fixed.y);
    EXPECT_THROW(Vector2ToVector2Generator<float>(nullptr, nullptr), RuntimeError);
}

} // namespace
} // namespace Strata
