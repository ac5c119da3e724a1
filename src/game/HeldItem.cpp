#include "game/HeldItem.h"

#include "game/YardcrewGameMode.h"
#include "scene/NodeMotionTasks.h"
#include "scene/PressableNode.h"
#include "scene/SceneApplicationMode.h"

#include <memory>
#include <utility>

namespace Yardcrew
{

namespace
{

using Strata::SceneNode;
using Strata::Vector2;

// Follows the pointer. It takes no hits itself, so while it holds the capture the scene mode still
// lets the nodes below hover. It notes whether the press that picked the item up has dragged it.
class Carrier : public SceneNode
{
public:
    Strata::MessageResult OnMouseMove(int x, int y) override
    {
        const Vector2<float> pointer(static_cast<float>(x), static_cast<float>(y));
        const Vector2<float> moved = pointer - pickedAt;
        if (pickUpPressHeld &&
            moved.x * moved.x + moved.y * moved.y > HeldItem::kDragDistance * HeldItem::kDragDistance)
            dragged = true;
        if (!pinned)
            LocalSetLocation(GlobalToLocalPoint(pointer));
        return Strata::MessageResult_Unhandled;
    }

    bool pinned = false;
    // Until the first release or press after the pick-up, the button that picked it up may be held (a
    // pick-up made by a release sees a press first).
    bool pickUpPressHeld = true;
    bool dragged = false;
    Vector2<float> pickedAt;
};

// The enabled button (a pressable node) that `node` is part of; null for none.
Strata::PressableNode* ButtonOf(SceneNode* node)
{
    for (; node != nullptr; node = node->GetParent())
        if (auto* button = dynamic_cast<Strata::PressableNode*>(node))
            return button->IsEnabled() ? button : nullptr;
    return nullptr;
}

// The node that acts on a press made on `node`: it or the nearest of its parents that takes hits and has
// a press handler of its own; null for none, or when that is a disabled button (playfield then).
SceneNode* PressTakerOf(SceneNode* node)
{
    for (; node != nullptr; node = node->GetParent())
        if (node->hitTest && !node->mouseDownSignal.empty())
        {
            auto* button = dynamic_cast<Strata::PressableNode*>(node);
            return button == nullptr || button->IsEnabled() ? node : nullptr;
        }
    return nullptr;
}

Vector2<float> GlobalCorner(SceneNode& node)
{
    const Strata::Rect<float>& bounds = node.GlobalGetBounds();
    return Vector2<float>(bounds.x, bounds.y);
}

// Moves `node` by what it takes to have its corner at `global`, whatever anchoring its parent applies.
void PlaceAtGlobal(SceneNode& node, Vector2<float> global)
{
    node.LocalSetLocation(node.LocalGetLocation() + (global - GlobalCorner(node)));
}

void TurnHitTestsOff(SceneNode& node, std::vector<std::pair<Strata::ObjectID, bool>>& kept)
{
    kept.emplace_back(node.GetID(), node.hitTest);
    node.hitTest = false;
    for (SceneNode* child : node.GetChildren())
        TurnHitTestsOff(*child, kept);
}

// The scene mode of `layer` when nothing is carried in it yet; else null.
Strata::SceneApplicationMode* FreeModeOf(SceneNode* layer)
{
    auto* mode = layer != nullptr ? dynamic_cast<Strata::SceneApplicationMode*>(layer->GetDatabase()) : nullptr;
    return mode != nullptr && dynamic_cast<Carrier*>(mode->GetMouseCapturingNode()) == nullptr ? mode : nullptr;
}

} // namespace

HeldItem::HeldItem() = default;

HeldItem::~HeldItem()
{
    PutBack();
}

SceneNode* HeldItem::Find(Strata::ObjectID id) const
{
    return mDatabase != nullptr ? dynamic_cast<SceneNode*>(mDatabase->GetObject(id)) : nullptr;
}

SceneNode* HeldItem::PressTaker(Strata::ObjectID id) const
{
    return PressTakerOf(Find(id));
}

SceneNode* HeldItem::GetCarriedNode() const
{
    return IsCarrying() ? Find(mNode) : nullptr;
}

bool HeldItem::Carry(SceneNode* node, SceneNode* layer, int x, int y)
{
    if (node == nullptr || node->GetDatabase() == nullptr)
        return false;
    return Start(node, layer, x, y, false);
}

bool HeldItem::CarryCopy(Strata::SceneTreePtr copy, SceneNode* original, SceneNode* layer, int x, int y)
{
    if (!copy || original == nullptr || IsCarrying() || FreeModeOf(layer) == nullptr)
        return false;
    copy->LocalSetLocation(GlobalCorner(*original));
    copy->AddToDatabase(layer->GetDatabase());
    return Start(copy.release(), layer, x, y, true); // the database owns the copy
}

bool HeldItem::Start(SceneNode* node, SceneNode* layer, int x, int y, bool copy)
{
    Strata::SceneApplicationMode* mode = FreeModeOf(layer);
    if (IsCarrying() || mode == nullptr)
        return false;
    const Vector2<float> from = copy ? node->LocalGetLocation() : GlobalCorner(*node);
    const Vector2<float> pointer(static_cast<float>(x), static_cast<float>(y));

    auto owned = std::make_unique<Carrier>();
    owned->AddToDatabase(mode);
    Carrier* carrier = owned.release(); // the database owns it
    layer->AttachChild(carrier);
    carrier->LocalSetLocation(carrier->GlobalToLocalPoint(pointer));

    mDatabase = mode;
    mCarrier = carrier->GetID();
    mNode = node->GetID();
    mCopy = copy;
    SceneNode* home = node->GetParent();
    mHome = home != nullptr ? home->GetID() : Strata::ObjectID();
    mHomeLocation = node->LocalGetLocation();
    mHitTests.clear();
    TurnHitTestsOff(*node, mHitTests);
    carrier->AttachChild(node);
    PlaceAtGlobal(*node, from);

    carrier->pickedAt = pointer;
    mPress = carrier->captureMouseDownSignal.connect([this](SceneNode*, Strata::MouseButton button, int px, int py)
                                                     { OnPress(button, px, py, false); });
    mRelease = carrier->captureMouseUpSignal.connect([this](SceneNode*, Strata::MouseButton button, int px, int py)
                                                     { OnRelease(button, px, py); });
    carrier->Capture();
    return true;
}

void HeldItem::OnPress(Strata::MouseButton button, int x, int y, bool release)
{
    if (auto* carrier = dynamic_cast<Carrier*>(Find(mCarrier)))
        carrier->pickUpPressHeld = false;
    auto* mode = dynamic_cast<Strata::SceneApplicationMode*>(mDatabase);
    SceneNode* root = mode != nullptr ? mode->GetRootNode() : nullptr;
    SceneNode* under = root != nullptr
                           ? root->GetDescendentAtLocation(Vector2<float>(static_cast<float>(x), static_cast<float>(y)))
                           : nullptr;
    if (ButtonOf(under) != nullptr)
    {
        // A drag's release there only sends the item home, on its usual way, as the button saw no
        // press of its own; a press is passed on and the item is home before the button acts.
        mYielding = !release;
        yieldSignal();
        PutBack();
        mYielding = false;
        if (!release)
            mode->OnMouseDown(button, x, y);
        return;
    }
    if (auto* game = dynamic_cast<YardcrewGameMode*>(mode); game != nullptr && game->eatsMouseInput(under))
        return;
    const Strata::ObjectID underID = under != nullptr ? under->GetID() : Strata::ObjectID();
    mPassPressOn = false;
    pressSignal(button, x, y);
    // Sent home from nowhere by a press on something that takes presses (another item): that press
    // is the child's, and takes it at once. What lay below the carried item is found again by
    // identifier, and never by a new hit test, which would find the item itself back home.
    if (!release && std::exchange(mPassPressOn, false) && !IsCarrying())
        if (SceneNode* taker = PressTaker(underID))
            taker->OnMouseDown(button, x, y);
}

void HeldItem::OnRelease(Strata::MouseButton button, int x, int y)
{
    auto* carrier = dynamic_cast<Carrier*>(Find(mCarrier));
    if (carrier == nullptr || !carrier->pickUpPressHeld)
        return;
    if (carrier->dragged)
        OnPress(button, x, y, true);
    else
        carrier->pickUpPressHeld = false;
}

void HeldItem::AimWith(Vector2<float> aim)
{
    SceneNode* carrier = IsCarrying() ? Find(mCarrier) : nullptr;
    SceneNode* node = IsCarrying() ? Find(mNode) : nullptr;
    if (carrier != nullptr && node != nullptr)
        PlaceAtGlobal(*node, GlobalCorner(*carrier) - aim);
}

void HeldItem::SetFollowing(bool follow)
{
    if (auto* carrier = IsCarrying() ? dynamic_cast<Carrier*>(Find(mCarrier)) : nullptr)
        carrier->pinned = !follow;
}

void HeldItem::PutDown(SceneNode* parent, Vector2<float> location)
{
    End(parent, location, parent == nullptr);
}

void HeldItem::PutBack()
{
    End(nullptr, Vector2<float>(), true);
}

void HeldItem::End(SceneNode* parent, Vector2<float> location, bool back)
{
    if (!IsCarrying())
        return;
    SceneNode* carrier = Find(mCarrier);
    SceneNode* node = Find(mNode);
    SceneNode* home = Find(mHome);
    mCarrier = Strata::ObjectID();
    mPress.disconnect();
    mRelease.disconnect();
    for (const auto& [id, hitTest] : mHitTests)
        if (SceneNode* part = Find(id))
            part->hitTest = hitTest;
    mHitTests.clear();

    if (node != nullptr && !back)
    {
        parent->AttachChild(node);
        node->LocalSetLocation(location);
    }
    else if (node != nullptr && mCopy)
    {
        node->DestroySelf();
    }
    else if (node != nullptr && home != nullptr)
    {
        // Without a home the node stays with the carrier and goes with it.
        const Vector2<float> global = GlobalCorner(*node);
        home->AttachChild(node);
        if (mReturnSeconds > 0.0f && !mYielding)
        {
            PlaceAtGlobal(*node, global);
            node->AddTask(std::make_unique<Strata::NodeLocationTask>(mHomeLocation, mReturnSeconds));
        }
        else
        {
            node->LocalSetLocation(mHomeLocation);
        }
    }
    if (carrier != nullptr)
    {
        carrier->ReleaseCapture();
        carrier->DestroySelf();
    }
}

} // namespace Yardcrew
