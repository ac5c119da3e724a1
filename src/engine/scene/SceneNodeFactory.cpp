#include "scene/SceneNodeFactory.h"

#include "framework/ObjectDatabase.h"
#include "scene/SceneNode.h"

#include <vector>

namespace Strata
{

void SceneTreeDeleter::operator()(SceneNode* root) const
{
    if (root == nullptr)
        return;
    root->DetachFromParent();
    // Parents before children, so the walk backwards frees children first, each detached from a
    // parent that is still alive.
    std::vector<SceneNode*> nodes{root};
    for (size_t i = 0; i < nodes.size(); ++i)
        for (SceneNode* child : nodes[i]->GetChildren())
            nodes.push_back(child);
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
    {
        SceneNode* node = *it;
        node->DetachFromParent();
        // A node a database took (an add that failed part way) is the database's to delete.
        ObjectDatabase* database = node->GetDatabase();
        if (database == nullptr || database->GetObject(node->GetID()) != node)
            delete node;
    }
}

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
