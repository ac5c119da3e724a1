#pragma once

namespace Strata
{

class IMutex;

// A last-error code for objects that must not throw across threads (jobs, transfers, HTTP streams).
// 0 means no error; negative codes are failures. Every access is whole under its own mutex.
class IErrorStatus
{
public:
    IErrorStatus();
    virtual ~IErrorStatus();
    IErrorStatus(const IErrorStatus&) = delete;
    IErrorStatus& operator=(const IErrorStatus&) = delete;

    virtual bool HasErrorOccurred();
    virtual int GetLastError();
    virtual void ClearError();
    virtual void SetLastError(int code);

private:
    IMutex* mMutex;
    int mLastError = 0;
};

} // namespace Strata
