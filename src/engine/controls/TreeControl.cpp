#include "controls/TreeControl.h"

#include "controls/ItemControlAttributes.h"
#include "core/AttributeContainer.h"
#include "core/Log.h"
#include "framework/ObjectDatabase.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"

namespace Strata
{

namespace
{

constexpr int kFrameImages = 9;

Label GetSelectionChangeMessageName()
{
    static const Label name("TreeSelectionChange");
    return name;
}

bool RectHolds(const Rect<float>& rect, float x, float y)
{
    return x >= rect.x && y >= rect.y && x < rect.x + rect.width && y < rect.y + rect.height;
}

Rect<int> TruncateRect(const Rect<float>& rect)
{
    return Rect<int>(Graphics::TruncateToInt(rect.x), Graphics::TruncateToInt(rect.y),
                     Graphics::TruncateToInt(rect.width), Graphics::TruncateToInt(rect.height));
}

} // namespace

// --- TreeNodeContainer ---------------------------------------------------------------------------

TreeNodeContainer::~TreeNodeContainer()
{
    RemoveAllNodes();
}

void TreeNodeContainer::AddNode(std::unique_ptr<TreeNode> node)
{
    if (node)
    {
        mChildren.push_back(node.get());
        node.release();
    }
}

TreeNode* TreeNodeContainer::GetNode(uint32_t index) const
{
    for (TreeNode* child : mChildren)
        if (index-- == 0)
            return child;
    return nullptr;
}

void TreeNodeContainer::RemoveAllNodes()
{
    // Emptied first, so nothing reached from a child's destructor sees a deleted child.
    std::list<TreeNode*> children;
    children.swap(mChildren);
    for (TreeNode* child : children)
        delete child;
}

uint32_t TreeNodeContainer::GetFlattenedNodeCount() const
{
    uint32_t count = 0;
    for (const TreeNode* child : mChildren)
        count += 1 + child->GetFlattenedNodeCount();
    return count;
}

TreeNode* TreeNodeContainer::GetFlattenedNode(uint32_t index) const
{
    for (TreeNode* child : mChildren)
    {
        if (index == 0)
            return child;
        const uint32_t below = child->GetFlattenedNodeCount();
        if (index - 1 < below)
            return child->GetFlattenedNode(index - 1);
        index -= 1 + below;
    }
    return nullptr;
}

TreeNode::~TreeNode() = default;

// --- TreeObject ----------------------------------------------------------------------------------

TreeObject::TreeObject(Label name) : ControlObject(name)
{
}

TreeObject::~TreeObject() = default;

Rect<float> TreeObject::GetInteriorRect() const
{
    if (mImages == nullptr)
        return mBounds;
    auto width = [this](int i) { return static_cast<float>(mImages->GetImageWidth(i)); };
    auto height = [this](int i) { return static_cast<float>(mImages->GetImageHeight(i)); };
    return Rect<float>(mBounds.x + width(3), mBounds.y + height(1), mBounds.width - (width(3) + width(5)),
                       mBounds.height - (height(1) + height(7)));
}

void TreeObject::SelectNodeInternal(const TreeNodeContainer& container, const TreeNode* node)
{
    for (TreeNode* child : container.mChildren)
    {
        child->mSelected = child == node;
        SelectNodeInternal(*child, node);
    }
}

void TreeObject::SelectNode(const TreeNode* node)
{
    SelectNodeInternal(*this, node);
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SendMessage(ObjectMessage(GetID(), GetSelectionChangeMessageName()));
}

bool TreeObject::IsReady()
{
    const bool frame = mImages && mImages->GetNumImages() >= kFrameImages;
    if (frame && mFont)
        return true;
    if (!mReportedNotReady)
    {
        mReportedNotReady = true;
        Internal::LogWrite("Tree %s has no %s\n", mName.c_str(), frame ? "font" : "frame images");
    }
    return false;
}

template <class Visit>
void TreeObject::ForEachRow(Visit&& visit) const
{
    const Rect<float> interior = GetInteriorRect();
    const float bottom = interior.y + interior.height;
    float top = interior.y;
    uint32_t position = 0;
    // Depth-first in one pass: looking each row up by its position would walk the tree once per row.
    auto walk = [&](auto& self, const TreeNodeContainer& container) -> bool
    {
        for (TreeNode* node : container.mChildren)
        {
            if (position++ >= mTopNode)
            {
                // Rows that start at or below the interior's bottom would only paint outside the tree.
                if (!(top < bottom))
                    return true;
                const float offset = static_cast<float>(node->mLevel) * mIndent;
                const Rect<float> row(interior.x + offset, top, interior.width - offset, node->GetHeight());
                top += row.height;
                if (visit(node, row))
                    return true;
            }
            if (self(self, *node))
                return true;
        }
        return false;
    };
    walk(walk, *this);
}

MessageResult TreeObject::OnMouseDown(MouseButton, int x, int y)
{
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    if (!RectHolds(GetInteriorRect(), px, py) || !IsReady())
        return MessageResult_Unhandled;
    // Nodes measure their rows in the state they are drawn in.
    Graphics::Context context = Graphics::GetContext();
    context.state.font = mFont;
    context.state.color = mColor;
    Graphics::PushContext(context);
    TreeNode* hit = nullptr;
    ForEachRow(
        [&](TreeNode* node, const Rect<float>& row)
        {
            if (RectHolds(row, px, py))
            {
                hit = node;
                return true;
            }
            return false;
        });
    Graphics::PopContext();
    if (hit == nullptr)
        return MessageResult_Unhandled;
    SelectNode(hit);
    return MessageResult_Handled;
}

void TreeObject::Draw()
{
    if (!mVisible || !IsReady())
        return;
    ICanvas* canvas = Graphics::GetCanvas();
    // The brush call takes the list as mutable; it only reads it.
    Graphics::DrawNineBrush(const_cast<IImageList*>(mImages.Get()), 0, mBounds.x, mBounds.y, mBounds.width,
                            mBounds.height, Graphics::GetDrawState(), canvas);

    Graphics::Context context = Graphics::GetContext();
    context.state.font = mFont;
    context.state.color = mColor;
    Graphics::PushContext(context);
    // Inside the clip already in force too, so the tree never paints outside its caller's clip.
    const Rect<int> interior = TruncateRect(GetInteriorRect()).getIntersection(context.state.clipRect);
    ForEachRow(
        [&](TreeNode* node, const Rect<float>& row)
        {
            Graphics::Context rowContext = Graphics::GetContext();
            rowContext.state.clipRect = TruncateRect(row).getIntersection(interior);
            if (rowContext.state.clipRect.isEmpty())
                return false;
            if (node->mSelected)
            {
                rowContext.state.color = mSelectedTextColor;
                rowContext.state.effectColor = mSelectedBackgroundColor;
            }
            Graphics::PushContext(rowContext);
            node->Draw(row);
            Graphics::PopContext();
            return false;
        });
    Graphics::PopContext();
}

Object* TreeObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto tree = std::make_unique<TreeObject>(name);
    ApplyItemControlAttributes(*tree, attributes);
    return tree.release();
}

} // namespace Strata
