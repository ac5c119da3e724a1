#pragma once

#include <string>

namespace Strata
{

class IResourceLoadProgress;

// One unit of work of the loading mode, run on its worker thread.
class ILoadingTask
{
public:
    virtual ~ILoadingTask() = default;
    // Reports to, and stops early when asked by, `progress` (which may be null).
    virtual void Execute(IResourceLoadProgress* progress) = 0;
};

// Loads one manifest synchronously, holding the file system lock while it is read.
class ResourceLoadTask : public ILoadingTask
{
public:
    explicit ResourceLoadTask(const std::wstring& manifest);

    // A failed load is logged with the job's message; the task itself never throws for it.
    void Execute(IResourceLoadProgress* progress) override;

    const std::wstring& GetManifest() const { return mManifest; }

private:
    std::wstring mManifest;
};

} // namespace Strata
