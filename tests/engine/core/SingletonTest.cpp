#include "core/Singleton.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace Strata;

namespace
{

std::atomic<int> gDeleted{0};

struct Tracked
{
    ~Tracked() { ++gDeleted; }
};

// Registers a further singleton while it is being deleted.
struct Spawner
{
    ~Spawner() { AutoDeleteSingleton(new Tracked()); }
};

struct ThrowingRecord : Internal::SingletonDestructor
{
    void Destruct() override
    {
        delete this;
        throw std::runtime_error("cannot delete");
    }
};

struct Remover;

// A bare record; on its way out it tells the remover that would otherwise destruct it.
struct VictimRecord : Internal::SingletonDestructor
{
    ~VictimRecord() override;
    void Destruct() override
    {
        ++gDeleted;
        delete this;
    }
    Remover* remover = nullptr;
};

// Destructs its victim's record from its own destructor, in the middle of the deletion loop.
struct Remover
{
    ~Remover()
    {
        if (victim != nullptr)
        {
            ++removedByOthers;
            victim->Destruct();
        }
    }
    VictimRecord* victim = nullptr;
    static inline int removedByOthers = 0;
};

VictimRecord::~VictimRecord()
{
    if (remover != nullptr)
        remover->victim = nullptr;
}

class SingletonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Internal::DeleteAllSingletons();
        gDeleted = 0;
    }
    void TearDown() override { Internal::DeleteAllSingletons(); }
};

} // namespace

TEST_F(SingletonTest, DeletesEachObjectOnceAndRepeatsHarmlessly)
{
    Internal::DeleteAllSingletons(); // nothing registered
    for (int i = 0; i < 5; ++i)
        AutoDeleteSingleton(new Tracked());
    AutoDeleteSingleton<Tracked>(nullptr);
    Internal::DeleteAllSingletons();
    Internal::DeleteAllSingletons();
    EXPECT_EQ(gDeleted, 5);
}

TEST_F(SingletonTest, RecordsAddedDuringDeletionAreDeletedToo)
{
    AutoDeleteSingleton(new Spawner());
    Internal::DeleteAllSingletons();
    EXPECT_EQ(gDeleted, 1);
    AutoDeleteSingleton(new Tracked()); // registration works again after the set was freed
    Internal::DeleteAllSingletons();
    EXPECT_EQ(gDeleted, 2);
}

TEST_F(SingletonTest, RecordsRemovedDuringDeletionAreNotTouchedAgain)
{
    // Records go in address order; with both creation orders some removers run before their victims.
    constexpr int Pairs = 32;
    Remover::removedByOthers = 0;
    for (int i = 0; i < Pairs; ++i)
    {
        auto* remover = new Remover();
        if (i % 2 == 0)
            AutoDeleteSingleton(remover);
        remover->victim = new VictimRecord();
        remover->victim->remover = remover;
        if (i % 2 != 0)
            AutoDeleteSingleton(remover);
    }
    Internal::DeleteAllSingletons();
    EXPECT_EQ(gDeleted, Pairs) << "every victim destructed exactly once";
    EXPECT_GT(Remover::removedByOthers, 0) << "the order under test never happened";
}

TEST_F(SingletonTest, AThrowingRecordDoesNotStopTheOthers)
{
    for (int i = 0; i < 3; ++i)
        AutoDeleteSingleton(new Tracked());
    new ThrowingRecord();
    for (int i = 0; i < 3; ++i)
        AutoDeleteSingleton(new Tracked());
    EXPECT_NO_THROW(Internal::DeleteAllSingletons());
    EXPECT_EQ(gDeleted, 6);
}

TEST_F(SingletonTest, ConcurrentRegistrationLosesNothing)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
    {
        threads.emplace_back(
            []
            {
                for (int i = 0; i < 200; ++i)
                    AutoDeleteSingleton(new Tracked());
            });
    }
    for (auto& thread : threads)
        thread.join();
    Internal::DeleteAllSingletons();
    EXPECT_EQ(gDeleted, 8 * 200);
}
