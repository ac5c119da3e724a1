#include "core/Random.h"

#include <boost/random/mersenne_twister.hpp>
#include <boost/random/uniform_int_distribution.hpp>
#include <boost/random/uniform_real_distribution.hpp>

#include <cmath>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace Strata
{

namespace
{

// The integer and float sequences each have their own twister, so drawing one never moves the other.
class RandomNumberStream final : public IRandomNumberStream
{
public:
    explicit RandomNumberStream(unsigned int seed)
        : mIntGenerator(seed), mIntDistribution(0, 2147483647), mFloatGenerator(seed), mFloatDistribution(0.0f, 1.0f),
          mSeed(seed)
    {
    }

    unsigned int GetRandomSeed() override { return mSeed; }

    int GetInt() override { return mIntDistribution(mIntGenerator); }

    float GetFloat() override
    {
        for (;;)
        {
            const float f = mFloatDistribution(mFloatGenerator);
            if (f >= 0.0f && f < 1.0f)
                return f;
        }
    }

private:
    boost::random::mt19937 mIntGenerator;
    boost::random::uniform_int_distribution<int> mIntDistribution;
    boost::random::mt19937 mFloatGenerator;
    boost::random::uniform_real_distribution<float> mFloatDistribution;
    unsigned int mSeed;
};

std::map<int, std::unique_ptr<IRandomNumberStream>> gStreams;
std::vector<IRandomNumberStream*> gStack;
std::optional<unsigned int> gSeedOverride;

// f drawn from the current stream, or nothing when there is none.
std::optional<float> DrawFloat()
{
    IRandomNumberStream* stream = Random::GetCurrentStream();
    if (stream == nullptr)
        return std::nullopt;
    return stream->GetFloat();
}

} // namespace

void Random::Engine_Setup()
{
    const unsigned int seed = gSeedOverride ? *gSeedOverride : static_cast<unsigned int>(std::time(nullptr));
    // Make the new streams before dropping the old ones, so a failure leaves the old set in place.
    std::map<int, std::unique_ptr<IRandomNumberStream>> streams;
    for (int number = 0; number < 3; ++number)
        streams[number] = std::make_unique<RandomNumberStream>(seed);
    std::vector<IRandomNumberStream*> stack;
    stack.reserve(32);
    stack.push_back(streams[0].get());

    gStack.swap(stack);
    gStreams.swap(streams);
}

void Random::Engine_Destroy()
{
    gStack.clear();
    gStreams.clear();
}

void Random::SetSeedOverride(unsigned int seed)
{
    gSeedOverride = seed;
}

void Random::ClearSeedOverride()
{
    gSeedOverride.reset();
}

IRandomNumberStream* Random::CreateNewStream(unsigned int seed)
{
    return new RandomNumberStream(seed);
}

IRandomNumberStream* Random::GetNamedStream(int number)
{
    const auto found = gStreams.find(number);
    return found != gStreams.end() ? found->second.get() : nullptr;
}

IRandomNumberStream* Random::GetCurrentStream()
{
    return gStack.empty() ? nullptr : gStack.back();
}

void Random::PushStream(IRandomNumberStream* stream)
{
    if (stream != nullptr)
        gStack.push_back(stream);
}

void Random::PopStream()
{
    if (!gStack.empty())
        gStack.pop_back();
}

int Random::GetIntRange(int n)
{
    return GetIntRange(0, n);
}

int Random::GetIntRange(int low, int high)
{
    if (high < low)
        std::swap(low, high);
    const std::optional<float> f = DrawFloat();
    if (!f)
        return low;
    const float span = static_cast<float>(static_cast<long long>(high) - low + 1);
    // A float product may round up to the span itself: keep the result inside the range.
    const long long result = low + static_cast<long long>(std::trunc(*f * span));
    if (result > high)
        return high;
    if (result < low)
        return low;
    return static_cast<int>(result);
}

float Random::GetFloatRange(float x)
{
    const std::optional<float> f = DrawFloat();
    return f ? x * *f : 0.0f;
}

float Random::GetFloatRange(float low, float high)
{
    const std::optional<float> f = DrawFloat();
    return f ? low + (high - low) * *f : low;
}

bool Random::GetCoinFlip()
{
    const std::optional<float> f = DrawFloat();
    return f && std::trunc(2.0f * *f) == 0.0f;
}

} // namespace Strata
