#pragma once

#include "core/Label.h"
#include "framework/Task.h"

#include <cstdint>
#include <map>

namespace Strata
{

enum eCuePointStatus : uint32_t
{
    CuePointStatus_NotRegistered = 0,
    CuePointStatus_Registered = 1,
    CuePointStatus_Arrived = 2,
    CuePointStatus_Passed = 3,
};

// A rendezvous of task chains: every CuePointTask registered here waits until all have arrived,
// then all pass together. A cue point deletes itself when its last task has passed, so it must be
// made with new (FromLabel and Create do that).
class CuePoint
{
public:
    // The registered cue point of that name, or a new one entered under it.
    static CuePoint* FromLabel(Label name);
    // A new unnamed cue point, shared by pointer.
    static CuePoint* Create();

    // A non-null name enters the registry, replacing an earlier entry of that name.
    explicit CuePoint(Label name = Label());
    CuePoint(const CuePoint&) = delete;
    CuePoint& operator=(const CuePoint&) = delete;
    virtual ~CuePoint();

    // Called when the last waiting task has passed, just before the cue point deletes itself.
    virtual void AllTasksPassed();

    bool CanPass() const { return mArrived == mRegistered; }
    Label GetName() const { return mName; }
    uint32_t GetRegisteredCount() const { return mRegistered; }
    uint32_t GetArrivedCount() const { return mArrived; }

    // A task's status rose by one to `status`. Reaching Passed may delete this cue point: the caller
    // must not touch it afterwards.
    void OnStatusChange(eCuePointStatus status);

    // The named cue points (not owned).
    static std::map<Label, CuePoint*> gmCuePoints;

private:
    Label mName;
    uint32_t mRegistered = 0;
    uint32_t mArrived = 0;
};

// Waits at its cue point until every task registered there has arrived. Cannot be cloned.
class CuePointTask : public Task
{
public:
    // Registers at once. A null cue point lets the task pass at its first update.
    explicit CuePointTask(CuePoint* cuePoint);
    explicit CuePointTask(Label name);
    // A task deleted before it passed still passes, so it never blocks the others.
    ~CuePointTask() override;

    sTaskStatus Update(Object* object, float dt) override;

    eCuePointStatus GetStatus() const { return mStatus; }

private:
    void SetStatus(eCuePointStatus target);

    CuePoint* mCuePoint;
    eCuePointStatus mStatus = CuePointStatus_NotRegistered;
};

} // namespace Strata
