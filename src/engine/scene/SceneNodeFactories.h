#pragma once

#include "core/Label.h"
#include "scene/SceneNodeFactory.h"

#include <memory>

namespace Strata
{

class IResourceDescriptor;
class SceneLayout;

// "scenenode": a plain node of a given size.
class BasicSceneNodeDescriptor : public SceneNodeDescriptor
{
public:
    float width = 0.0f;
    float height = 0.0f;
};

class BasicSceneNodeFactory : public SceneNodeFactory
{
public:
    // "width" and "height", floats, 0 when absent or not finite.
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// "sceneref": another scene layout embedded as a subtree.
class SceneRefDescriptor : public SceneNodeDescriptor
{
public:
    Label sceneName;
    // The layout as it was when the reference was read. It keeps the layout alive, so a reference
    // still instantiates after the referenced layout's manifest was unloaded.
    std::shared_ptr<IResourceDescriptor> held;
};

class SceneRefFactory : public SceneNodeFactory
{
public:
    // "scenename" names a layout that must already be loaded; otherwise throws a
    // SceneLayoutException `sceneref: layout "<name>" not found`.
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    // The referenced layout instantiated without a parent: the layout loaded under the name now, or,
    // when it has gone, the one read with the reference.
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata
