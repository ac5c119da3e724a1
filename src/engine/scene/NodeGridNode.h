#pragma once

#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <memory>

namespace Strata
{

// Lays its children out in rows or columns whenever one is attached or detached, one after the other
// with fixed spacings, wrapping when a row (or column) would pass its maximum, and takes the size of the
// area used. Draws nothing itself. The children's own locations are overwritten; their attach params
// still shift them.
class NodeGridNode : public SceneNode
{
public:
    enum GridGrowBehavior
    {
        horizontalFirst = 0, // rows left to right, wrapping downwards
        verticalFirst = 1    // columns top to bottom, wrapping to the right
    };

    // A negative maximum means no limit.
    NodeGridNode(float hSpacing, float vSpacing, float maxWidth, float maxHeight, GridGrowBehavior growBehavior);

    void ChildNodeAttached(SceneNode* child) override;
    void ChildNodeDetached(SceneNode* child) override;
    // Places every child again.
    void rebuildGrid();

    float hSpacing;
    float vSpacing;
    float maxWidth;
    float maxHeight;
    GridGrowBehavior growBehavior;

private:
    void rebuildGridHorizontal();
    void rebuildGridVertical();
};

class NodeGridNodeDescriptor : public SceneNodeDescriptor
{
public:
    float hSpacing = 0.0f;
    float vSpacing = 0.0f;
    float maxWidth = -1.0f;
    float maxHeight = -1.0f;
    NodeGridNode::GridGrowBehavior growBehavior = NodeGridNode::horizontalFirst;
};

// "nodegridnode": "gridGrowBehavior" ("horizontalFirst" or "verticalFirst"; other words horizontalFirst),
// "hSpacing", "vSpacing", "maxWidth" and "maxHeight" (default -1, no limit).
class NodeGridNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata
