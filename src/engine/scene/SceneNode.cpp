#include "scene/SceneNode.h"

#include "framework/ObjectDatabase.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/PixelMath.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneTraversal.h"

#include <cmath>
#include <vector>

namespace Strata
{

namespace
{

// The share of a size that an alignment names: none, half or all of it.
float AlignedPart(int alignment, float size)
{
    return alignment == 1 ? size * 0.5f : (alignment == 2 ? size : 0.0f);
}

ObjectDatabase* DatabaseOf(const SceneNode* node)
{
    ObjectDatabase* database = node->GetDatabase();
    return database ? database : GetObjectDatabase();
}

SceneApplicationMode* SceneModeOf(const SceneNode* node)
{
    return dynamic_cast<SceneApplicationMode*>(DatabaseOf(node));
}

} // namespace

NodeAttributes::NodeAttributes(const Rect<float>& bounds_, bool visible_, const ColorF& color_,
                               const Vector2<float>& scale_, Angle orientation_)
    : bounds(bounds_), visible(visible_), color(color_), scale(scale_), orientation(orientation_)
{
}

NodeAttributes NodeAttributes::combineWith(const NodeAttributes& parentGlobal) const
{
    NodeAttributes combined = *this;
    combined.bounds.x = bounds.x + parentGlobal.bounds.x;
    combined.bounds.y = bounds.y + parentGlobal.bounds.y;
    combined.visible = visible && parentGlobal.visible;
    combined.color.a = color.a * parentGlobal.color.a;
    combined.scale = Vector2<float>(scale.x * parentGlobal.scale.x, scale.y * parentGlobal.scale.y);
    combined.orientation = orientation + parentGlobal.orientation;
    return combined;
}

SceneNode::SceneNode(Label name) : mName(name)
{
}

// Fires nothing and touches no other node: a database deletes its nodes in slot order, so the
// parent or the children may already be gone.
SceneNode::~SceneNode() = default;

Label SceneNode::GetName() const
{
    return mName;
}

void SceneNode::ReceiveMessage(const ObjectMessage& message)
{
    if (message.GetName() == GetRemoveMessageName())
    {
        HandleRemove();
    }
    else if (message.GetName() == GetAddMessageName() && !mDatabase)
    {
        // Added directly rather than through AddToDatabase: the context database is the one when it
        // holds this node.
        ObjectDatabase* database = GetObjectDatabase();
        if (database && database->GetObject(GetID()) == this)
            mDatabase = database;
    }
}

void SceneNode::HandleRemove()
{
    if (mRemoved)
        return;
    mRemoved = true;
    DetachFromParent();

    // The children leave the tree before any user code runs, so hooks and signals below see a
    // consistent tree and cannot reach this node's list while it is walked.
    std::list<SceneNode*> children;
    children.swap(mChildren);
    mChildrenByNodeName.clear();
    std::vector<SceneTraversal::Entry> doomed;
    doomed.reserve(children.size());
    for (SceneNode* child : children)
    {
        doomed.push_back(SceneTraversal::Entry{child, nullptr, child->mDatabase, child->GetID()});
        child->mParent = nullptr;
        child->mPositionInParent = {};
        child->mDirtyFlags = NodeDirty_All;
    }
    for (const SceneTraversal::Entry& entry : doomed)
    {
        // A child outside any database belongs to its creator: it is only detached. A child destroyed
        // meanwhile by user code is not touched again.
        if (!entry.database || entry.id.IsInvalid() || entry.database->GetObject(entry.id) != entry.node)
            continue;
        if (!entry.node->mParent)
            entry.node->ParentNodeChanged(nullptr);
        entry.database->DestroyObject(entry.id);
    }

    if (Object* controller = mLayoutControllerObject)
    {
        mLayoutController = nullptr;
        mLayoutControllerObject = nullptr;
        if (ObjectDatabase* database = DatabaseOf(this))
            database->DestroyObject(controller->GetID());
    }
    NodeDestroyed();
    destroyedSignal(this);
}

void SceneNode::SetNodeName(Label nodeName)
{
    if (nodeName == mNodeName)
        return;
    const Label oldName = mNodeName;
    mNodeName = nodeName;
    if (mParent)
    {
        mParent->RefileName(oldName);
        if (!mNodeName.IsNull())
            mParent->mChildrenByNodeName.emplace(mNodeName, this);
    }
}

// After a child left the entry under `name` (or was renamed), the entry passes to the first remaining
// child of that name, so a later sibling of the same name is still found.
void SceneNode::RefileName(Label name)
{
    if (name.IsNull())
        return;
    auto entry = mChildrenByNodeName.find(name);
    if (entry == mChildrenByNodeName.end())
        return;
    SceneNode* holder = entry->second;
    if (holder->mParent == this && holder->mNodeName == name)
        return;
    mChildrenByNodeName.erase(entry);
    for (SceneNode* child : mChildren)
    {
        if (child->mNodeName == name && child->mParent == this)
        {
            mChildrenByNodeName.emplace(name, child);
            return;
        }
    }
}

bool SceneNode::CanFocus()
{
    return true;
}

bool SceneNode::HandlesMouseEnterExit()
{
    return !mouseEnterSignal.empty() || !mouseExitSignal.empty();
}

void SceneNode::OnMouseEnter()
{
    mouseEnterSignal(this);
}

void SceneNode::OnMouseExit()
{
    mouseExitSignal(this);
}

MessageResult SceneNode::HandleMouseButton(MouseSignal& hitSignal, MouseSignal& captureSignal, MouseButton button,
                                           int x, int y)
{
    const int index = static_cast<int>(button);
    const uint32_t bit = (index >= 0 && index < 32) ? (1u << index) : 0u;
    if (!hitSignal.empty() && (mouseButtons & bit) != 0 &&
        GetDescendentAtLocation(Vector2<float>(static_cast<float>(x), static_cast<float>(y))) != nullptr)
    {
        hitSignal(this, button, x, y);
        return MessageResult_Handled;
    }
    if (HasCapture())
    {
        captureSignal(this, button, x, y);
        return MessageResult_Handled;
    }
    return MessageResult_Unhandled;
}

MessageResult SceneNode::OnMouseDown(MouseButton button, int x, int y)
{
    return HandleMouseButton(mouseDownSignal, captureMouseDownSignal, button, x, y);
}

MessageResult SceneNode::OnMouseUp(MouseButton button, int x, int y)
{
    return HandleMouseButton(mouseUpSignal, captureMouseUpSignal, button, x, y);
}

MessageResult SceneNode::OnKeyDown(int key)
{
    if (keyDownSignal.empty())
        return MessageResult_Unhandled;
    keyDownSignal(this, key);
    return MessageResult_Handled;
}

MessageResult SceneNode::OnKeyUp(int key)
{
    if (keyUpSignal.empty())
        return MessageResult_Unhandled;
    keyUpSignal(this, key);
    return MessageResult_Handled;
}

bool SceneNode::GlobalPointIntersects(const Vector2<float>& point)
{
    return GlobalBoundsContains(point.x, point.y);
}

void SceneNode::DrawAt(const Vector2<float>&)
{
}

void SceneNode::NodeDestroyed()
{
}

void SceneNode::ChildNodeAttached(SceneNode*)
{
}

void SceneNode::ChildNodeDetached(SceneNode*)
{
}

void SceneNode::ParentNodeChanged(SceneNode*)
{
}

void SceneNode::LocalSetLocation(const Vector2<float>& location)
{
    LocalSetLocation(location.x, location.y);
}

void SceneNode::LocalSetLocation(float x, float y)
{
    mLocal.bounds.x = x;
    mLocal.bounds.y = y;
    mDirtyFlags |= NodeDirty_Placement;
}

void SceneNode::SetWidth(float width)
{
    mLocal.bounds.width = width;
    mDirtyFlags |= NodeDirty_Placement;
}

void SceneNode::SetHeight(float height)
{
    mLocal.bounds.height = height;
    mDirtyFlags |= NodeDirty_Placement;
}

void SceneNode::SetNodeAttachParams(const NodeAttachParams& params)
{
    mAttachParams = params;
    mDirtyFlags |= NodeDirty_Placement;
}

void SceneNode::LocalSetVisible(bool visible)
{
    mLocal.visible = visible;
    mDirtyFlags |= NodeDirty_Visibility;
}

void SceneNode::LocalSetColor(const ColorF& color)
{
    mLocal.color = color;
    mDirtyFlags |= NodeDirty_Color;
}

void SceneNode::LocalSetAlpha(float alpha)
{
    mLocal.color.a = alpha;
    mDirtyFlags |= NodeDirty_Color;
}

void SceneNode::LocalSetScale(const Vector2<float>& scale)
{
    mLocal.scale = scale;
    mDirtyFlags |= NodeDirty_Scale;
}

void SceneNode::LocalSetOrientation(Angle orientation)
{
    mLocal.orientation = orientation;
    mDirtyFlags |= NodeDirty_Orientation;
}

void SceneNode::SetRotateAlignment(HAlignment hAlign, VAlignment vAlign)
{
    mRotateHAlign = hAlign;
    mRotateVAlign = vAlign;
}

void SceneNode::SetScaleAlignment(HAlignment hAlign, VAlignment vAlign)
{
    mScaleHAlign = hAlign;
    mScaleVAlign = vAlign;
}

Vector2<float> SceneNode::LocalGetLocationCenter() const
{
    return Vector2<float>(mLocal.bounds.x + mLocal.bounds.width * 0.5f, mLocal.bounds.y + mLocal.bounds.height * 0.5f);
}

// The top-most node on the way to the root whose dirty flags hold one of `bits` is refreshed with its
// whole subtree. The top of the tree counts too, so a detached node reads its own changes at once.
void SceneNode::RefreshIfDirty(uint32_t bits)
{
    SceneNode* stale = nullptr;
    for (SceneNode* node = this; node != nullptr; node = node->mParent)
        if ((node->mDirtyFlags & bits) != 0)
            stale = node;
    if (stale)
        stale->UpdateScene();
}

const Rect<float>& SceneNode::GlobalGetBounds()
{
    RefreshIfDirty(NodeDirty_Placement);
    return mGlobal.bounds;
}

bool SceneNode::GlobalIsVisible()
{
    RefreshIfDirty(NodeDirty_Visibility);
    return mGlobal.visible;
}

const ColorF& SceneNode::GlobalGetColor()
{
    RefreshIfDirty(NodeDirty_Color);
    return mGlobal.color;
}

const Vector2<float>& SceneNode::GlobalGetScale()
{
    RefreshIfDirty(NodeDirty_Scale);
    return mGlobal.scale;
}

Angle SceneNode::GlobalGetOrientation()
{
    RefreshIfDirty(NodeDirty_Orientation);
    return mGlobal.orientation;
}

float SceneNode::GetScaledWidth()
{
    return mLocal.bounds.width * GlobalGetScale().x;
}

float SceneNode::GetScaledHeight()
{
    return mLocal.bounds.height * GlobalGetScale().y;
}

bool SceneNode::GlobalBoundsContains(float x, float y)
{
    const Rect<float>& bounds = GlobalGetBounds();
    return x >= bounds.x && y >= bounds.y && x < bounds.x + bounds.width && y < bounds.y + bounds.height;
}

Rect<float> SceneNode::GetCompositeBounds()
{
    Rect<float> composite = GlobalGetBounds();
    for (SceneNode* child : mChildren)
        composite = composite.getUnion(child->GetCompositeBounds());
    return composite;
}

Vector2<float> SceneNode::LocalToGlobalPoint(const Vector2<float>& point)
{
    const Rect<float>& global = GlobalGetBounds();
    return point + Vector2<float>(global.x - mLocal.bounds.x, global.y - mLocal.bounds.y);
}

Vector2<float> SceneNode::GlobalToLocalPoint(const Vector2<float>& point)
{
    const Rect<float>& global = GlobalGetBounds();
    return point + Vector2<float>(mLocal.bounds.x - global.x, mLocal.bounds.y - global.y);
}

Vector2<int> SceneNode::GlobalToLocalPoint(const Vector2<int>& point)
{
    const Rect<float>& global = GlobalGetBounds();
    return point + Vector2<int>(Graphics::TruncateToInt(mLocal.bounds.x - global.x),
                                Graphics::TruncateToInt(mLocal.bounds.y - global.y));
}

bool SceneNode::IsAncestorOf(const SceneNode* node) const
{
    for (const SceneNode* up = node; up != nullptr; up = up->mParent)
        if (up == this)
            return true;
    return false;
}

void SceneNode::AttachChild(SceneNode* child)
{
    if (!child || mRemoved || child->mRemoved || child->mParent == this || child->IsAncestorOf(this))
        return;
    if (child->mParent)
    {
        child->DetachFromParent();
        // The detach hooks are user code; a child they attached elsewhere stays there.
        if (child->mParent || child->IsAncestorOf(this))
            return;
    }
    child->mParent = this;
    child->mDirtyFlags = NodeDirty_All;
    if (!child->mNodeName.IsNull())
    {
        // The first child with a name keeps the entry.
        mChildrenByNodeName.emplace(child->mNodeName, child);
    }
    mChildren.push_back(child);
    child->mPositionInParent = std::prev(mChildren.end());
    child->ParentNodeChanged(this);
    ChildNodeAttached(child);
}

void SceneNode::AttachChild(SceneNode* child, const NodeAttachParams& params)
{
    AttachChild(child);
    if (child && child->mParent == this)
        child->SetNodeAttachParams(params);
}

void SceneNode::DetachFromParent()
{
    SceneNode* parent = mParent;
    if (!parent)
        return;
    parent->mChildren.erase(mPositionInParent);
    mParent = nullptr;
    mPositionInParent = {};
    mDirtyFlags = NodeDirty_All;
    parent->RefileName(mNodeName);
    parent->ChildNodeDetached(this);
    ParentNodeChanged(nullptr);
}

void SceneNode::MoveToBottomOfParent()
{
    if (!mParent)
        return;
    mParent->mChildren.splice(mParent->mChildren.begin(), mParent->mChildren, mPositionInParent);
}

void SceneNode::AddToDatabase(ObjectDatabase* db)
{
    if (!db)
        return;
    // A snapshot: the "Add" handlers of the children are user code.
    const std::vector<SceneNode*> children(mChildren.begin(), mChildren.end());
    for (SceneNode* child : children)
        if (child->mParent == this)
            child->AddToDatabase(db);
    // Known before "Add" arrives, so a node type's handler can create what it owns there.
    mDatabase = db;
    try
    {
        db->AddObject(this);
    }
    catch (...)
    {
        mDatabase = nullptr;
        throw;
    }
}

void SceneNode::UpdateNode()
{
    mGlobal = mParent ? mLocal.combineWith(mParent->mGlobal) : mLocal;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    if (mParent)
    {
        // The parent's unscaled size: anchors do not follow a parent's scale.
        offsetX += AlignedPart(mAttachParams.parentHAlign, mParent->mLocal.bounds.width);
        offsetY += AlignedPart(mAttachParams.parentVAlign, mParent->mLocal.bounds.height);
    }
    offsetX -= AlignedPart(mAttachParams.selfHAlign, mLocal.bounds.width);
    offsetY -= AlignedPart(mAttachParams.selfVAlign, mLocal.bounds.height);
    mGlobal.bounds.x += offsetX;
    mGlobal.bounds.y += offsetY;
    mDirtyFlags = 0;
}

void SceneNode::UpdateScene()
{
    // No user code runs here, so the tree cannot change under the walk.
    SceneTraversal::SpareStack<SceneNode*> stack;
    std::vector<SceneNode*>& pending = stack.Get();
    pending.push_back(this);
    while (!pending.empty())
    {
        SceneNode* node = pending.back();
        pending.pop_back();
        node->UpdateNode();
        for (auto it = node->mChildren.rbegin(); it != node->mChildren.rend(); ++it)
            pending.push_back(*it);
    }
}

void SceneNode::DrawScene()
{
    TopDownSceneTraversal::Traverse(
        this, [](SceneNode* node) { node->DrawNode(); });
}

void SceneNode::DrawNode()
{
    DrawNode(Vector2<float>(0.0f, 0.0f));
}

void SceneNode::DrawNode(const Vector2<float>& offset)
{
    drawSignal(this);
    DrawAt(offset);
}

Vector2<float> SceneNode::GetScaledDrawOffset()
{
    const float width = mLocal.bounds.width;
    const float height = mLocal.bounds.height;
    const float scaledWidth = GetScaledWidth();
    const float scaledHeight = GetScaledHeight();
    return Vector2<float>(AlignedPart(mScaleHAlign, width) - AlignedPart(mScaleHAlign, scaledWidth),
                          AlignedPart(mScaleVAlign, height) - AlignedPart(mScaleVAlign, scaledHeight));
}

Vector2<float> SceneNode::GetRotatedDrawOffset()
{
    return Vector2<float>(AlignedPart(mRotateHAlign, mLocal.bounds.width),
                          AlignedPart(mRotateVAlign, mLocal.bounds.height));
}

void SceneNode::DrawImage(const IImage* constImage, const Vector2<float>& position, bool snapToPixel)
{
    if (!constImage)
        return;
    // The drawing calls take images as changeable (a canvas may cache a texture with one); drawing
    // never changes the pixels.
    IImage* image = const_cast<IImage*>(constImage);
    RefreshIfDirty(NodeDirty_All);
    const Vector2<float> scale = mGlobal.scale;
    const Angle orientation = mGlobal.orientation;
    const bool scaled = scale.x != 1.0f || scale.y != 1.0f;
    const bool rotated = orientation.GetValue() != 0.0f;

    Graphics::sDrawState state = Graphics::GetDrawState();
    state.imageColor = mGlobal.color;
    if (clipEnabled)
        state.clipRect = clipRect;
    if (flipH)
        state.flags |= Graphics::DrawFlag_FlipH;
    if (flipV)
        state.flags |= Graphics::DrawFlag_FlipV;
    Graphics::ICanvas* canvas = Graphics::GetCanvas();
    const float x = mGlobal.bounds.x + position.x;
    const float y = mGlobal.bounds.y + position.y;
    const auto snap = [snapToPixel](float value) { return snapToPixel ? std::floor(value + 0.5f) : value; };

    if (scaled && rotated)
    {
        // Stretched as when only scaled, then turned about the rotation pivot of the scaled quad.
        const Vector2<float> offset = GetScaledDrawOffset();
        const Rect<float> quad(x + offset.x, y + offset.y, GetScaledWidth(), GetScaledHeight());
        const Vector2<float> pivot(quad.x + AlignedPart(mRotateHAlign, quad.width),
                                   quad.y + AlignedPart(mRotateVAlign, quad.height));
        Graphics::DrawStretchedRotatedImage(image, quad, pivot, orientation, state, canvas);
    }
    else if (scaled)
    {
        const Vector2<float> offset = GetScaledDrawOffset();
        const Rect<int> destination(Graphics::TruncateToInt(x + offset.x), Graphics::TruncateToInt(y + offset.y),
                                    Graphics::TruncateToInt(GetScaledWidth()),
                                    Graphics::TruncateToInt(GetScaledHeight()));
        Graphics::DrawStretchedImage(image, destination, state, canvas);
    }
    else if (rotated)
    {
        const Vector2<float> pivot = GetRotatedDrawOffset();
        state.hAlign = mRotateHAlign;
        state.vAlign = mRotateVAlign;
        Graphics::DrawRotatedImage(image, snap(x + pivot.x), snap(y + pivot.y), orientation, state, canvas);
    }
    else
    {
        Graphics::DrawImage(image, snap(x), snap(y), state, canvas);
    }
}

bool SceneNode::HitTestInternal(const Vector2<float>& point)
{
    return hitTest && GlobalIsVisible() && GlobalPointIntersects(point);
}

SceneNode* SceneNode::GetDescendentAtLocation(const Vector2<float>& point)
{
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it)
        if (SceneNode* hit = (*it)->GetDescendentAtLocation(point))
            return hit;
    return HitTestInternal(point) ? this : nullptr;
}

void SceneNode::Capture()
{
    if (SceneApplicationMode* mode = SceneModeOf(this))
        mode->SetMouseCapturingNode(this);
}

void SceneNode::ReleaseCapture()
{
    SceneApplicationMode* mode = SceneModeOf(this);
    if (mode && mode->GetMouseCapturingNode() == this)
        mode->SetMouseCapturingNode(nullptr);
}

bool SceneNode::HasCapture()
{
    SceneApplicationMode* mode = SceneModeOf(this);
    return mode && mode->GetMouseCapturingNode() == this;
}

void SceneNode::Focus()
{
    if (SceneApplicationMode* mode = SceneModeOf(this))
        mode->SetFocusedNode(this);
}

bool SceneNode::HasFocus()
{
    SceneApplicationMode* mode = SceneModeOf(this);
    return mode && mode->GetFocusedNode() == this;
}

SceneNode* SceneNode::GetChildByNodeName(Label nodeName) const
{
    auto entry = mChildrenByNodeName.find(nodeName);
    return entry != mChildrenByNodeName.end() ? entry->second : nullptr;
}

SceneNode* SceneNode::GetChild(const NodePathStep& step)
{
    return std::visit(NodePathVisitor(this), step.GetValue());
}

SceneNode* SceneNode::GetDescendent(std::span<const NodePathStep> path)
{
    SceneNode* node = this;
    for (size_t i = 0; node != nullptr && i < path.size(); ++i)
    {
        if (path[i].IsTerminator())
            break;
        node = node->GetChild(path[i]);
    }
    return node;
}

NodeAttachNPI& NodeAttachNPI::CenterOnParent()
{
    parentHAlign = HAlignment_Center;
    parentVAlign = VAlignment_Middle;
    selfHAlign = HAlignment_Center;
    selfVAlign = VAlignment_Middle;
    return *this;
}

NodeAttachNPI& NodeAttachNPI::ParentAlign(HAlignment hAlign, VAlignment vAlign)
{
    parentHAlign = hAlign;
    parentVAlign = vAlign;
    return *this;
}

NodeAttachNPI& NodeAttachNPI::SelfAlign(HAlignment hAlign, VAlignment vAlign)
{
    selfHAlign = hAlign;
    selfVAlign = vAlign;
    return *this;
}

} // namespace Strata
