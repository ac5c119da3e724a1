// A step of a screen where nothing happens allocates nothing on the main thread: no update, drawing,
// frame recording, audio update or event look may reach the heap 50 times a second on a still title.

#include "game/GameOnXServerFixture.h"
#include "game/screens/TitleMode.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

namespace
{

std::atomic<bool> gCounting{false};
std::atomic<std::thread::id> gCounted{};
std::atomic<long> gAllocations{0};

void* Allocate(std::size_t size)
{
    if (gCounting.load(std::memory_order_relaxed) && std::this_thread::get_id() == gCounted.load())
        gAllocations.fetch_add(1);
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace
{

using Strata::MainLoop::GetTopMostMode;

class StillStepTest : public GameOnXServerFixture
{
protected:
    static constexpr int kSettleSteps = 150; // the title's entrance played out, its music started
    static constexpr int kCountedSteps = 250;

    void SetUp() override { StartGame("menagerie_still_step_tests", 2026); }

    void OnFrame() override
    {
        if (mTitleSteps < 0)
        {
            if (dynamic_cast<Yardcrew::TitleMode*>(GetTopMostMode(0)) != nullptr)
                mTitleSteps = 0;
            else if (std::chrono::steady_clock::now() > mDeadline) // loading runs on the real clock
                Strata::MainLoop::Exit();
            return;
        }
        ++mTitleSteps;
        if (mTitleSteps == kSettleSteps)
        {
            gCounted = std::this_thread::get_id();
            gCounting = true;
        }
        else if (mTitleSteps == kSettleSteps + kCountedSteps)
        {
            gCounting = false;
            Strata::MainLoop::Exit();
        }
    }

    const std::chrono::steady_clock::time_point mDeadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int mTitleSteps = -1;
};

TEST_F(StillStepTest, TheStillTitlesStepsAllocateNothingOnTheMainThread)
{
    if (IsSkipped())
        return;
    ASSERT_NO_THROW(Strata::MainLoop::Execute());
    gCounting = false;
    ASSERT_GE(mTitleSteps, kSettleSteps + kCountedSteps) << "the title was not reached or the game ended early";
    EXPECT_EQ(gAllocations.load(), 0) << "allocations in " << kCountedSteps << " still steps";
}

} // namespace
