#include "core/ErrorStatus.h"

#include "core/Threading.h"

namespace Strata
{

IErrorStatus::IErrorStatus() : mMutex(CreateMutex())
{
}

IErrorStatus::~IErrorStatus()
{
    delete mMutex;
}

bool IErrorStatus::HasErrorOccurred()
{
    return GetLastError() < 0;
}

int IErrorStatus::GetLastError()
{
    ScopedLock lock(mMutex);
    return mLastError;
}

void IErrorStatus::ClearError()
{
    SetLastError(0);
}

void IErrorStatus::SetLastError(int code)
{
    ScopedLock lock(mMutex);
    mLastError = code;
}

} // namespace Strata
