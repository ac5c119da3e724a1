#include "scene/NodeGridNode.h"

#include "core/AttributeContainer.h"
#include "scene/NodeResources.h"

#include <algorithm>
#include <vector>

namespace Strata
{

NodeGridNode::NodeGridNode(float hSpacing_, float vSpacing_, float maxWidth_, float maxHeight_,
                           GridGrowBehavior growBehavior_)
    : SceneNode(Label()), hSpacing(hSpacing_), vSpacing(vSpacing_), maxWidth(maxWidth_), maxHeight(maxHeight_),
      growBehavior(growBehavior_)
{
}

void NodeGridNode::ChildNodeAttached(SceneNode*)
{
    rebuildGrid();
}

void NodeGridNode::ChildNodeDetached(SceneNode*)
{
    rebuildGrid();
}

void NodeGridNode::rebuildGrid()
{
    if (growBehavior == verticalFirst)
        rebuildGridVertical();
    else
        rebuildGridHorizontal();
}

// A row's pitch is the tallest child placed so far in the whole grid, not only in that row.
void NodeGridNode::rebuildGridHorizontal()
{
    float x = 0.0f;
    float y = 0.0f;
    float rowWidth = 0.0f;
    float rowHeight = 0.0f;
    float widest = 0.0f;
    float rowsTotal = 0.0f;
    // A snapshot: sizes are read through the children, whose refresh runs no user code, but the list
    // is walked while locations change.
    const std::vector<SceneNode*> children(GetChildren().begin(), GetChildren().end());
    for (SceneNode* child : children)
    {
        const Rect<float> composite = child->GetCompositeBounds();
        const float width = composite.width * child->LocalGetScale().x;
        const float height = composite.height * child->LocalGetScale().y;
        if (x + width > maxWidth && maxWidth >= 0.0f)
        {
            y += rowHeight + vSpacing;
            widest = std::max(widest, rowWidth);
            x = 0.0f;
            rowsTotal += rowHeight + vSpacing;
        }
        child->LocalSetLocation(x, y);
        rowWidth = x + width;
        rowHeight = std::max(rowHeight, height);
        x += width + hSpacing;
    }
    SetWidth(std::max(widest, rowWidth));
    SetHeight(rowsTotal + rowHeight);
}

// A column's pitch is the widest child placed so far in the whole grid. Scale does not count here.
void NodeGridNode::rebuildGridVertical()
{
    float x = 0.0f;
    float y = 0.0f;
    float columnHeight = 0.0f;
    float columnWidth = 0.0f;
    float tallest = 0.0f;
    float columnsTotal = 0.0f;
    const std::vector<SceneNode*> children(GetChildren().begin(), GetChildren().end());
    for (SceneNode* child : children)
    {
        const Rect<float> composite = child->GetCompositeBounds();
        const float width = composite.width;
        const float height = composite.height;
        if (y + height > maxHeight && maxHeight >= 0.0f)
        {
            x += columnWidth + hSpacing;
            tallest = std::max(tallest, columnHeight);
            y = 0.0f;
            columnsTotal += columnWidth + hSpacing;
        }
        child->LocalSetLocation(x, y);
        columnHeight = y + height;
        columnWidth = std::max(columnWidth, width);
        y += height + vSpacing;
    }
    SetWidth(columnsTotal + columnWidth);
    SetHeight(std::max(tallest, columnHeight));
}

std::unique_ptr<SceneNodeDescriptor> NodeGridNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<NodeGridNodeDescriptor>();
    descriptor->growBehavior = element.GetAttribute(L"gridGrowBehavior") == L"verticalFirst"
                                   ? NodeGridNode::verticalFirst
                                   : NodeGridNode::horizontalFirst;
    descriptor->hSpacing = FiniteLayoutAttribute(element, L"hSpacing", 0.0f);
    descriptor->vSpacing = FiniteLayoutAttribute(element, L"vSpacing", 0.0f);
    descriptor->maxWidth = FiniteLayoutAttribute(element, L"maxWidth", -1.0f);
    descriptor->maxHeight = FiniteLayoutAttribute(element, L"maxHeight", -1.0f);
    return descriptor;
}

SceneTreePtr NodeGridNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const NodeGridNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    return SceneTreePtr(
        new NodeGridNode(own->hSpacing, own->vSpacing, own->maxWidth, own->maxHeight, own->growBehavior));
}

} // namespace Strata
