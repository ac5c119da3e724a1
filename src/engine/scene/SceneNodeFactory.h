#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace Strata
{

class IAttributeContainer;
class SceneNode;

// Deletes a node tree that is in no object database: the root is detached from its parent, then the
// whole subtree is taken apart and deleted, children before parents. Nodes already in a database
// belong to it and must never reach this deleter.
struct SceneTreeDeleter
{
    void operator()(SceneNode* root) const;
};

// Owns a node tree until it is handed to a database (AddToDatabase, then release()).
using SceneTreePtr = std::unique_ptr<SceneNode, SceneTreeDeleter>;

// The node-specific attributes of one layout element, read once when the layout is parsed. Each
// node type derives its own.
class SceneNodeDescriptor
{
public:
    virtual ~SceneNodeDescriptor() = default;
};

// Makes the nodes of one layout tag. Stateless: one instance serves every layout, on the loader
// thread (CreateDescriptor) and on the main thread (CreateNode) alike.
class SceneNodeFactory
{
public:
    virtual ~SceneNodeFactory() = default;
    // Reads the node type's own attributes. Runs on the loader thread; may throw a
    // SceneLayoutException, which fails the layout being parsed.
    virtual std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const = 0;
    // A new node (or node tree) with a null name, in no database, built from a descriptor this factory
    // made. Main thread only. Null when the descriptor is of another node type.
    virtual SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const = 0;
};

// The registry of node factories by layout tag (exact, case-sensitive). Filled on the main thread at
// start-up and read by the loader thread; a short lock makes a late registration safe as well.
class SceneLayoutManager
{
public:
    static SceneLayoutManager& Instance();

    SceneLayoutManager() = default;
    SceneLayoutManager(const SceneLayoutManager&) = delete;
    SceneLayoutManager& operator=(const SceneLayoutManager&) = delete;

    // Registers the factory under the tag, replacing an earlier one. Layouts parsed with the earlier
    // factory keep it alive, so their nodes can still be made. An empty tag or a null factory removes
    // the tag.
    void AddSceneNodeFactory(const std::wstring& tag, std::unique_ptr<SceneNodeFactory> factory);
    // Null when no factory has the tag.
    std::shared_ptr<const SceneNodeFactory> GetSceneNodeFactory(const std::wstring& tag) const;

private:
    mutable std::mutex mMutex;
    std::map<std::wstring, std::shared_ptr<const SceneNodeFactory>> mFactories;
};

} // namespace Strata
