#pragma once

#include <chrono>
#include <thread>

namespace Strata::Testing
{

// Polls `condition` every millisecond until it holds or `limit` has passed; whether it held. For what
// another thread or process brings about, where a test cannot be told when.
template <class Condition>
bool WaitUntil(Condition&& condition, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace Strata::Testing
