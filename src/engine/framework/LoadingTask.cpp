#include "framework/LoadingTask.h"

#include "core/Log.h"
#include "framework/ResourceManager.h"

namespace Strata
{

ResourceLoadTask::ResourceLoadTask(const std::wstring& manifest) : mManifest(manifest)
{
}

void ResourceLoadTask::Execute(IResourceLoadProgress* progress)
{
    const boost::intrusive_ptr<ILoadingJob> job = GetResourceManager()->Load(mManifest.c_str(), progress, true);
    if (job->GetStatus() == eLoadingJobStatus::Failed)
    {
        const std::string message = job->GetFailureMessage();
        Internal::LogWrite("Resource file %ls failed to load%s%s\n", mManifest.c_str(), message.empty() ? "" : ": ",
                           message.c_str());
    }
}

} // namespace Strata
