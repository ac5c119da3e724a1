#include "scene/SceneNodeFactory.h"

#include "scene/SceneNode.h"

namespace Strata
{

SceneLayoutManager& SceneLayoutManager::Instance()
{
    static SceneLayoutManager instance;
    return instance;
}

void SceneLayoutManager::AddSceneNodeFactory(const std::wstring& tag, std::unique_ptr<SceneNodeFactory> factory)
{
    std::shared_ptr<const SceneNodeFactory> shared(std::move(factory));
    std::lock_guard<std::mutex> lock(mMutex);
    if (tag.empty() || !shared)
    {
        mFactories.erase(tag);
        return;
    }
    mFactories[tag] = std::move(shared);
}

std::shared_ptr<const SceneNodeFactory> SceneLayoutManager::GetSceneNodeFactory(const std::wstring& tag) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    const auto found = mFactories.find(tag);
    return found == mFactories.end() ? nullptr : found->second;
}

} // namespace Strata
