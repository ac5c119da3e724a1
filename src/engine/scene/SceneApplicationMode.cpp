#include "scene/SceneApplicationMode.h"

#include "framework/MainLoop.h"
#include "framework/ObjectInterfaces.h"
#include "scene/SceneNode.h"
#include "scene/SceneTraversal.h"

#include <memory>

namespace Strata
{

SceneApplicationMode::SceneApplicationMode() = default;

SceneApplicationMode::~SceneApplicationMode() = default;

SceneNode* SceneApplicationMode::LiveNode(ObjectID id) const
{
    return dynamic_cast<SceneNode*>(GetObject(id));
}

SceneNode* SceneApplicationMode::GetRootNode() const
{
    return LiveNode(mRootID);
}

SceneNode* SceneApplicationMode::GetCurSceneRootNode()
{
    auto* mode = dynamic_cast<SceneApplicationMode*>(MainLoop::GetContextMode());
    return mode ? mode->GetRootNode() : nullptr;
}

void SceneApplicationMode::Setup()
{
    if (GetRootNode())
        return;
    auto root = std::make_unique<SceneNode>();
    root->AddToDatabase(this);
    mRootID = root.release()->GetID();
}

void SceneApplicationMode::Update(float dt)
{
    ApplicationMode::Update(dt);
    if (SceneNode* root = GetRootNode())
        root->UpdateScene();
}

void SceneApplicationMode::Draw()
{
    if (SceneNode* root = GetRootNode())
        root->DrawScene();
}

SceneNode* SceneApplicationMode::GetMouseCapturingNode() const
{
    return dynamic_cast<SceneNode*>(GetCapture());
}

void SceneApplicationMode::SetMouseCapturingNode(SceneNode* node)
{
    SetCapture(node);
}

SceneNode* SceneApplicationMode::GetFocusedNode() const
{
    return LiveNode(mFocusedNode);
}

void SceneApplicationMode::SetFocusedNode(SceneNode* node)
{
    mFocusedNode = node ? node->GetID() : kInvalidObjectID;
}

SceneNode* SceneApplicationMode::GetHoveredNode() const
{
    return LiveNode(mHoveredNode);
}

void SceneApplicationMode::OnNodeEnter(SceneNode* node)
{
    if (!node)
        return;
    if (!mHoveredNode.IsInvalid() && node->GetID() == mHoveredNode && LiveNode(mHoveredNode) == node)
        return;
    OnNodeExit();
    mHoveredNode = node->GetID();
    node->OnMouseEnter();
}

void SceneApplicationMode::OnNodeExit()
{
    // Cleared first: an exit slot that moves the mouse state sees the hover already ended.
    SceneNode* hovered = LiveNode(mHoveredNode);
    mHoveredNode = kInvalidObjectID;
    if (hovered)
        hovered->OnMouseExit();
}

bool SceneApplicationMode::TakesNoHits(SceneNode* node)
{
    if (node->hitTest)
        return false;
    for (SceneNode* child : node->GetChildren())
        if (!TakesNoHits(child))
            return false;
    return true;
}

bool SceneApplicationMode::IsSceneNode(const ObjectDescriptor& slot)
{
    // Whether an Object is a SceneNode follows from its dynamic type alone.
    const std::type_info* type = &typeid(*slot.mObject);
    const uint32_t index = slot.mID.GetIndex();
    if (index < mSlotKinds.size() && mSlotKinds[index].type == type)
        return mSlotKinds[index].sceneNode;
    return LearnSlotKind(index, type, slot.mObject);
}

bool SceneApplicationMode::LearnSlotKind(uint32_t index, const std::type_info* type, Object* object)
{
    if (index >= mSlotKinds.size())
        mSlotKinds.resize(index + 1);
    mSlotKinds[index] = {type, dynamic_cast<SceneNode*>(object) != nullptr};
    return mSlotKinds[index].sceneNode;
}

MessageResult SceneApplicationMode::OfferToOtherHandlers(ObjectID skip, const InputCall& call)
{
    sIterator iterator;
    // The iterator reads each slot when it reaches it, so an object an earlier handler destroyed is
    // not returned.
    for (ObjectID id = GetNextObject(&iterator); !id.IsInvalid(); id = GetNextObject(&iterator))
    {
        if (id == skip)
            continue;
        const ObjectDescriptor& slot = GetObjectDescriptor(id);
        if (!slot.mInputHandler || IsSceneNode(slot))
            continue;
        // As the database routes: a disabled or hidden handler hears nothing.
        if ((slot.mEnable && !slot.mEnable->IsEnabled()) || (slot.mVisible && !slot.mVisible->IsVisible()))
            continue;
        if (call(slot.mInputHandler) == MessageResult_Handled)
            return MessageResult_Handled;
    }
    return MessageResult_Unhandled;
}

MessageResult SceneApplicationMode::RouteInputEvent(ObjectID target, bool exclusive, const InputCall& call)
{
    bool offered = false;
    if (IsValidObjectID(target))
    {
        if (IInputHandler* handler = GetObjectDescriptor(target).mInputHandler)
        {
            offered = true;
            if (call(handler) == MessageResult_Handled || exclusive)
                return MessageResult_Handled;
        }
    }
    if (SceneNode* root = GetRootNode())
    {
        // The target already had its turn: it is not offered the event twice.
        const bool handled = BottomUpSceneTraversal::TraverseUntil(root,
                                                                   [&](SceneNode* node)
                                                                   {
                                                                       if (offered && node->GetID() == target)
                                                                           return false;
                                                                       return call(node) == MessageResult_Handled;
                                                                   });
        if (handled)
            return MessageResult_Handled;
    }
    return OfferToOtherHandlers(offered ? target : kInvalidObjectID, call);
}

MessageResult SceneApplicationMode::OnKeyDown(int key)
{
    return RouteInputEvent(
        mFocusedNode, false, [key](IInputHandler* handler) { return handler->OnKeyDown(key); });
}

MessageResult SceneApplicationMode::OnKeyUp(int key)
{
    return RouteInputEvent(
        mFocusedNode, false, [key](IInputHandler* handler) { return handler->OnKeyUp(key); });
}

MessageResult SceneApplicationMode::OnTextInput(const std::wstring& text)
{
    if (SceneNode* focused = LiveNode(mFocusedNode))
    {
        if (focused->OnTextInput(text) == MessageResult_Handled)
            return MessageResult_Handled;
    }
    return ApplicationMode::OnTextInput(text);
}

MessageResult SceneApplicationMode::OnMouseDown(MouseButton button, int x, int y)
{
    Object* capture = GetCapture();
    return RouteInputEvent(capture ? capture->GetID() : kInvalidObjectID, true,
                           [button, x, y](IInputHandler* handler) { return handler->OnMouseDown(button, x, y); });
}

MessageResult SceneApplicationMode::OnMouseUp(MouseButton button, int x, int y)
{
    // The release goes to the holder like any button event and does not end the capture: a node that
    // took it on purpose keeps it until it lets go (the widgets let go on their own release).
    Object* capture = GetCapture();
    return RouteInputEvent(capture ? capture->GetID() : kInvalidObjectID, true,
                           [button, x, y](IInputHandler* handler) { return handler->OnMouseUp(button, x, y); });
}

MessageResult SceneApplicationMode::OnMouseMove(int x, int y)
{
    const Vector2<float> point(static_cast<float>(x), static_cast<float>(y));
    bool entered = false;
    const SceneNode* skip = nullptr;
    const auto process = [&](SceneNode* node)
    {
        if (node == skip)
            return false;
        const ObjectID id = node->GetID();
        if (!entered && node->HandlesMouseEnterExit() && node->GetDescendentAtLocation(point) != nullptr)
        {
            OnNodeEnter(node);
            entered = true;
            // The enter slots are user code: a node they destroyed hears nothing more.
            if (!id.IsInvalid() && LiveNode(id) != node)
                return false;
        }
        return node->OnMouseMove(x, y) == MessageResult_Handled;
    };

    bool handled = false;
    bool walkScene = true;
    if (Object* capture = GetCapture())
    {
        SceneNode* node = dynamic_cast<SceneNode*>(capture);
        if (node)
            process(node);
        else if (IInputHandler* handler = GetObjectDescriptor(capture->GetID()).mInputHandler)
            handler->OnMouseMove(x, y);
        handled = true;
        // A holder that takes no hits (a carried item) is not in the pointer's way: the nodes below it
        // still hover and see the move.
        walkScene = node != nullptr && LiveNode(node->GetID()) == node && TakesNoHits(node);
        if (walkScene)
            skip = node;
    }
    if (SceneNode* root = walkScene ? GetRootNode() : nullptr)
        handled = BottomUpSceneTraversal::TraverseUntil(root, process) || handled;
    if (!entered && !mHoveredNode.IsInvalid())
        OnNodeExit();
    if (handled)
        return MessageResult_Handled;
    return OfferToOtherHandlers(kInvalidObjectID,
                                [x, y](IInputHandler* handler) { return handler->OnMouseMove(x, y); });
}

} // namespace Strata
