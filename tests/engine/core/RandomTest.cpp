#include "core/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

using namespace Strata;

namespace
{

// Answers GetFloat with a value the test chooses.
class FixedStream : public IRandomNumberStream
{
public:
    unsigned int GetRandomSeed() override { return 0; }
    int GetInt() override { return 0; }
    float GetFloat() override { return mValue; }
    float mValue = 0.0f;
};

// Leaves the module without streams or override whatever a test did.
class RandomTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        Random::ClearSeedOverride();
        Random::Engine_Destroy();
    }
};

} // namespace

TEST_F(RandomTest, StreamsWithOneSeedRepeatAndIntAndFloatAdvanceApart)
{
    std::unique_ptr<IRandomNumberStream> a(Random::CreateNewStream(1234));
    std::unique_ptr<IRandomNumberStream> b(Random::CreateNewStream(1234));
    std::unique_ptr<IRandomNumberStream> other(Random::CreateNewStream(1235));
    EXPECT_EQ(a->GetRandomSeed(), 1234u);

    // Interleaving float draws on one stream does not shift its integer sequence.
    bool differs = false;
    std::vector<float> floats;
    for (int i = 0; i < 200; ++i)
    {
        const int x = a->GetInt();
        floats.push_back(a->GetFloat());
        EXPECT_EQ(x, b->GetInt());
        differs = differs || x != other->GetInt();
        EXPECT_GE(x, 0);
    }
    // Likewise b's 200 integer draws did not shift its float sequence.
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(floats[i], b->GetFloat());
    EXPECT_TRUE(differs);
}

TEST_F(RandomTest, SetupMakesThreeStreamsFromTheSeedOverride)
{
    EXPECT_EQ(Random::GetCurrentStream(), nullptr);
    Random::SetSeedOverride(99);
    Random::Engine_Setup();
    ASSERT_NE(Random::GetNamedStream(0), nullptr);
    ASSERT_NE(Random::GetNamedStream(1), nullptr);
    ASSERT_NE(Random::GetNamedStream(2), nullptr);
    EXPECT_EQ(Random::GetNamedStream(3), nullptr);
    EXPECT_EQ(Random::GetCurrentStream(), Random::GetNamedStream(0));
    EXPECT_EQ(Random::GetNamedStream(2)->GetRandomSeed(), 99u);

    std::unique_ptr<IRandomNumberStream> same(Random::CreateNewStream(99));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(Random::GetNamedStream(1)->GetInt(), same->GetInt());
}

TEST_F(RandomTest, SecondSetupReplacesTheStreamsAndDestroyEmptiesEverything)
{
    Random::SetSeedOverride(5);
    Random::Engine_Setup();
    Random::GetCurrentStream()->GetFloat();
    Random::SetSeedOverride(6);
    Random::Engine_Setup();
    // The current stream is one of the new set, not a freed one of the old.
    EXPECT_EQ(Random::GetCurrentStream(), Random::GetNamedStream(0));
    EXPECT_EQ(Random::GetCurrentStream()->GetRandomSeed(), 6u);
    Random::GetIntRange(10);

    Random::Engine_Destroy();
    EXPECT_EQ(Random::GetCurrentStream(), nullptr);
    EXPECT_EQ(Random::GetNamedStream(0), nullptr);
    Random::Engine_Destroy(); // harmless twice
}

TEST_F(RandomTest, RangeHelpersWithoutAStreamGiveTheLowEnd)
{
    EXPECT_EQ(Random::GetIntRange(10), 0);
    EXPECT_EQ(Random::GetIntRange(3, 8), 3);
    EXPECT_EQ(Random::GetFloatRange(4.0f), 0.0f);
    EXPECT_EQ(Random::GetFloatRange(2.0f, 5.0f), 2.0f);
    EXPECT_FALSE(Random::GetCoinFlip());
}

TEST_F(RandomTest, RangeHelpersStayInTheirRanges)
{
    Random::SetSeedOverride(42);
    Random::Engine_Setup();
    std::set<int> seen;
    bool heads = false;
    bool tails = false;
    for (int i = 0; i < 2000; ++i)
    {
        EXPECT_EQ(Random::GetIntRange(0), 0);
        EXPECT_EQ(Random::GetIntRange(5, 5), 5);
        const int r = Random::GetIntRange(2, 4);
        ASSERT_GE(r, 2);
        ASSERT_LE(r, 4);
        seen.insert(r);
        const float x = Random::GetFloatRange(-1.0f, 3.0f);
        ASSERT_GE(x, -1.0f);
        ASSERT_LT(x, 3.0f);
        (Random::GetCoinFlip() ? heads : tails) = true;
    }
    EXPECT_EQ(seen, (std::set<int>{2, 3, 4}));
    EXPECT_TRUE(heads);
    EXPECT_TRUE(tails);
}

TEST_F(RandomTest, RangeArithmeticOnChosenDraws)
{
    FixedStream fixed;
    Random::PushStream(&fixed);
    EXPECT_EQ(Random::GetCurrentStream(), &fixed);

    fixed.mValue = 0.0f;
    EXPECT_EQ(Random::GetIntRange(2, 4), 2);
    EXPECT_TRUE(Random::GetCoinFlip());
    fixed.mValue = std::nextafter(0.5f, 0.0f);
    EXPECT_TRUE(Random::GetCoinFlip());
    fixed.mValue = 0.5f;
    EXPECT_FALSE(Random::GetCoinFlip());
    EXPECT_EQ(Random::GetIntRange(9), 5);
    EXPECT_EQ(Random::GetFloatRange(4.0f), 2.0f);
    EXPECT_EQ(Random::GetFloatRange(2.0f, 6.0f), 4.0f);
    fixed.mValue = std::nextafter(1.0f, 0.0f);
    EXPECT_EQ(Random::GetIntRange(2, 4), 4);
    EXPECT_EQ(Random::GetIntRange(-2147483647 - 1, 2147483647), 2147483647 - 255);

    // A stream that breaks its promise and answers 1 still cannot push a result past the range.
    fixed.mValue = 1.0f;
    EXPECT_EQ(Random::GetIntRange(2, 4), 4);
    EXPECT_EQ(Random::GetIntRange(7), 7);
    EXPECT_EQ(Random::GetIntRange(-2147483647 - 1, 2147483647), 2147483647);

    // Reversed bounds are taken the other way round.
    fixed.mValue = 0.0f;
    EXPECT_EQ(Random::GetIntRange(4, 2), 2);

    Random::PopStream();
    EXPECT_EQ(Random::GetCurrentStream(), nullptr);
    Random::PopStream(); // harmless on an empty stack
    Random::PushStream(nullptr);
    EXPECT_EQ(Random::GetCurrentStream(), nullptr);
}
