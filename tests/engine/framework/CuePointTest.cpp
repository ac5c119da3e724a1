#include "framework/CuePoint.h"

#include "FrameworkTestObjects.h"
#include "framework/ObjectDatabase.h"
#include "framework/TimedTask.h"

#include <gtest/gtest.h>

namespace Strata
{
namespace
{

// Notes that it has passed; the test owns the flag.
class ProbeCuePoint : public CuePoint
{
public:
    ProbeCuePoint(Label name, bool* passed, std::function<void()> onPassed = {})
        : CuePoint(name), mPassed(passed), mOnPassed(std::move(onPassed))
    {
    }
    void AllTasksPassed() override
    {
        *mPassed = true;
        if (mOnPassed)
            mOnPassed();
    }

private:
    bool* mPassed;
    std::function<void()> mOnPassed;
};

TEST(CuePoint, SingleTaskAtAFreshCuePointPassesAtOnce)
{
    const Label name("CueSingle");
    CuePointTask task(name);
    ASSERT_EQ(1u, CuePoint::gmCuePoints.count(name));
    EXPECT_EQ(1u, CuePoint::FromLabel(name)->GetRegisteredCount());
    const sTaskStatus status = task.Update(nullptr, 0.02f);
    EXPECT_TRUE(status.IsComplete());
    EXPECT_EQ(Task::Complete.time, status.time);
    EXPECT_EQ(CuePointStatus_Passed, task.GetStatus());
    EXPECT_EQ(0u, CuePoint::gmCuePoints.count(name)); // deleted with its last task
}

TEST(CuePoint, TwoChainsWaitForEachOtherAndPassTogether)
{
    const Label name("CueTwoChains");
    bool passed = false;
    new ProbeCuePoint(name, &passed);
    ObjectDatabase db;
    auto* early = new Object();
    auto* late = new Object();
    auto* earlyDone = new Testing::ProbeTask();
    auto* lateDone = new Testing::ProbeTask();
    early->AddTask(new SerialTask(new CuePointTask(name), earlyDone));
    late->AddTask(new SerialTask(new TimedTask(0.05f), new CuePointTask(name)));
    late->AddTask(lateDone);
    db.AddObject(early);
    db.AddObject(late);

    db.Update(0.02f);
    db.Update(0.02f);
    EXPECT_EQ(0, earlyDone->updates); // still waiting
    EXPECT_FALSE(passed);
    db.Update(0.02f); // the late chain arrives and passes; the early one passes at its next update
    EXPECT_EQ(0, earlyDone->updates);
    EXPECT_EQ(0, lateDone->updates); // passing used the rest of the step
    EXPECT_FALSE(passed);
    db.Update(0.02f);
    EXPECT_TRUE(passed);
    EXPECT_EQ(0u, CuePoint::gmCuePoints.count(name));
    EXPECT_EQ(0, earlyDone->updates);
    EXPECT_EQ(1, lateDone->updates);
    db.Update(0.02f);
    EXPECT_EQ(1, earlyDone->updates);
}

TEST(CuePoint, DestroyedPartnerReleasesTheWaitingChain)
{
    const Label name("CuePartnerGone");
    ObjectDatabase db;
    auto* waiting = new Object();
    auto* partner = new Object();
    auto* after = new Testing::ProbeTask();
    waiting->AddTask(new CuePointTask(name));
    waiting->AddTask(after);
    partner->AddTask(new TimedTask(10.0f));
    partner->AddTask(new CuePointTask(name));
    db.AddObject(waiting);
    const ObjectID partnerID = db.AddObject(partner);

    db.Update(0.02f);
    db.Update(0.02f);
    EXPECT_EQ(0, after->updates);
    db.DestroyObject(partnerID);
    db.Update(0.02f); // the partner's task is deleted at the end of this update
    db.Update(0.02f); // and the waiting task passes here
    db.Update(0.02f);
    EXPECT_EQ(1, after->updates);
    EXPECT_EQ(0u, CuePoint::gmCuePoints.count(name));
}

TEST(CuePoint, TaskDeletedWhileOnlyRegisteredCountsAsPassed)
{
    bool passed = false;
    auto* cue = new ProbeCuePoint(Label(), &passed);
    auto* kept = new CuePointTask(cue);
    delete new CuePointTask(cue);
    EXPECT_FALSE(passed);
    EXPECT_EQ(1u, cue->GetRegisteredCount());
    EXPECT_TRUE(kept->Update(nullptr, 0.02f).IsComplete());
    EXPECT_TRUE(passed); // and the cue point is gone: the task must not touch it again
    EXPECT_TRUE(kept->Update(nullptr, 0.02f).IsComplete());
    delete kept;
}

TEST(CuePoint, RegistryEntryIsRemovedOnlyByItsOwnCuePoint)
{
    const Label name("CueReplaced");
    auto* older = new CuePoint(name);
    auto* newer = new CuePoint(name);
    EXPECT_EQ(newer, CuePoint::FromLabel(name));
    delete older;
    EXPECT_EQ(newer, CuePoint::FromLabel(name));
    delete newer;
    EXPECT_EQ(0u, CuePoint::gmCuePoints.count(name));
}

TEST(CuePoint, FromLabelDuringAllTasksPassedMakesANewCuePoint)
{
    const Label name("CueReborn");
    bool passed = false;
    CuePointTask* next = nullptr;
    CuePoint* dying = new ProbeCuePoint(name, &passed, [&] { next = new CuePointTask(name); });
    CuePointTask task(dying);
    task.Update(nullptr, 0.02f);
    ASSERT_TRUE(passed);
    ASSERT_NE(nullptr, next);
    ASSERT_EQ(1u, CuePoint::gmCuePoints.count(name));
    EXPECT_EQ(1u, CuePoint::gmCuePoints[name]->GetRegisteredCount());
    EXPECT_TRUE(next->Update(nullptr, 0.02f).IsComplete());
    delete next;
    EXPECT_EQ(0u, CuePoint::gmCuePoints.count(name));
}

TEST(CuePoint, CannotBeRepeated)
{
    RepeatingTask repeating(new CuePointTask(CuePoint::Create()));
    EXPECT_THROW(repeating.Update(nullptr, 0.02f), std::runtime_error);
}

} // namespace
} // namespace Strata
