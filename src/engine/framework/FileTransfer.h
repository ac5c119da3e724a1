#pragma once

#include "core/ErrorStatus.h"
#include "core/Label.h"
#include "core/Referenced.h"
#include "core/StreamCopy.h"

namespace Strata
{

// The caller's handle to one download into the per-user cache. Error codes: -2 no HTTP stream,
// -3 no cache file, -4 aborted, or the failing stream's own code.
class IFileTransfer : public IDataTransferProgressQuery, public IErrorStatus, public IReferenced
{
public:
    virtual void Abort() = 0;
    virtual Label GetID() = 0;
    ~IFileTransfer() override = default;
};

} // namespace Strata
