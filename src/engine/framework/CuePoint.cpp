#include "framework/CuePoint.h"

namespace Strata
{

std::map<Label, CuePoint*> CuePoint::gmCuePoints;

CuePoint* CuePoint::FromLabel(Label name)
{
    auto it = gmCuePoints.find(name);
    if (it != gmCuePoints.end())
        return it->second;
    return new CuePoint(name);
}

CuePoint* CuePoint::Create()
{
    return new CuePoint();
}

CuePoint::CuePoint(Label name) : mName(name)
{
    if (!mName.IsNull())
        gmCuePoints[mName] = this;
}

CuePoint::~CuePoint()
{
    if (!mName.IsNull())
    {
        // Only our own entry: a newer cue point may have taken the name over.
        auto it = gmCuePoints.find(mName);
        if (it != gmCuePoints.end() && it->second == this)
            gmCuePoints.erase(it);
    }
}

void CuePoint::AllTasksPassed()
{
}

void CuePoint::OnStatusChange(eCuePointStatus status)
{
    switch (status)
    {
    case CuePointStatus_Registered:
        ++mRegistered;
        break;
    case CuePointStatus_Arrived:
        ++mArrived;
        break;
    case CuePointStatus_Passed:
        if (mRegistered > 0)
            --mRegistered;
        if (mArrived > 0)
            --mArrived;
        if (mRegistered == 0 && mArrived == 0)
        {
            // Out of the registry first, so a FromLabel from AllTasksPassed makes a new cue point
            // instead of returning this dying one.
            if (!mName.IsNull())
            {
                auto it = gmCuePoints.find(mName);
                if (it != gmCuePoints.end() && it->second == this)
                    gmCuePoints.erase(it);
            }
            AllTasksPassed();
            delete this;
        }
        break;
    default:
        break;
    }
}

CuePointTask::CuePointTask(CuePoint* cuePoint) : mCuePoint(cuePoint)
{
    SetStatus(CuePointStatus_Registered);
}

CuePointTask::CuePointTask(Label name) : CuePointTask(CuePoint::FromLabel(name))
{
}

CuePointTask::~CuePointTask()
{
    SetStatus(CuePointStatus_Passed);
}

void CuePointTask::SetStatus(eCuePointStatus target)
{
    while (mStatus < target)
    {
        mStatus = static_cast<eCuePointStatus>(mStatus + 1);
        if (mCuePoint)
        {
            CuePoint* cuePoint = mCuePoint;
            if (mStatus == CuePointStatus_Passed)
            {
                // Forgotten before the call that may delete it.
                mCuePoint = nullptr;
            }
            cuePoint->OnStatusChange(mStatus);
        }
    }
}

sTaskStatus CuePointTask::Update(Object*, float)
{
    SetStatus(CuePointStatus_Arrived);
    if (!mCuePoint || mCuePoint->CanPass())
    {
        SetStatus(CuePointStatus_Passed);
        return Complete;
    }
    return Incomplete;
}

} // namespace Strata
