#include "framework/ResourceUtils.h"

#include "core/RuntimeError.h"
#include "framework/FileSystemLock.h"
#include "framework/ResourceManager.h"

#include <algorithm>
#include <string>

namespace Strata::ResourceUtils
{

void Reload(const wchar_t* manifest, IResourceLoadProgress* progress, bool lockFileSystem)
{
    if (manifest == nullptr || *manifest == L'\0')
        STRATA_THROW(RuntimeError, "Reload needs a manifest name.");
    FileSystemLock fileSystemLock(lockFileSystem);
    ResourceManager* manager = GetResourceManager();
    const int count = manager->GetLoadCount(manifest);
    for (int i = 0; i < count; ++i)
        manager->Unload(manifest);
    const ResourceFileStream stream(manifest, L".xml");
    if (stream.Get() == nullptr)
        return;
    // The first call reads the manifest; each further one only raises the load count.
    for (int i = 0; i < std::max(count, 1); ++i)
        manager->LoadFromStream(stream.Get(), manifest, progress, true);
}

} // namespace Strata::ResourceUtils
