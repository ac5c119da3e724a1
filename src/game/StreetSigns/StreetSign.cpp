#include "game/StreetSigns/StreetSign.h"

#include "game/MiniGameSequence.h"
#include "game/StreetSigns/StreetSignsContent.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = StreetSignsContent;
using Point = Strata::Vector2<float>;

const Strata::NodePathStep kImagePath[] = {"signNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kGlowPath[] = {"glowNode", Strata::NodePathTerminator()};

// A point hits the sign only where the picture is more opaque than this (not between plate and post).
constexpr int32_t kHitAlpha = 128;
constexpr float kHop = 30.0f;
constexpr float kHopSeconds = 0.25f;
// How high above both ends the arc into the truck rises.
constexpr float kArcHeight = 60.0f;
constexpr float kArcSeconds = 1.0f;
constexpr float kWobble = 9.0f;
constexpr float kWobbleSeconds = 0.06f;
constexpr int kWobbles = 3;

// A screen point as the location of a child of `parent` (the playfield is not scaled).
Point InFrameOf(Strata::SceneNode& parent, const Point& global)
{
    const Strata::Rect<float>& bounds = parent.GlobalGetBounds();
    return global - Point(bounds.x, bounds.y);
}

} // namespace

StreetSign::StreetSign(const sStreetSign& sign) : PlayfieldObject(Names::kSignLayout.name), mSign(sign)
{
    auto* image = dynamic_cast<Strata::AnimatedSpriteNode*>(getImageNode());
    if (image == nullptr)
        return;
    if (sign.shape >= 0 && sign.shape < StreetSignShape_Count)
        image->SetSpriteType(kStreetSignSpriteTypes[sign.shape]);
    if (sign.color >= 0 && sign.color < StreetSignColor_Count)
        image->SetAnimation(Strata::Label(kStreetSignColorNames[sign.color]), true);
    image->alphaSensitivity = kHitAlpha;
    // The nodes live no longer than this controller: the tree and the controller end together.
    image->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { pressedSignal(); });
    ConnectRollover(*image, kGlowPath, Names::kRollover.name);
    acceptMouseInput(true);
}

Strata::SceneNode* StreetSign::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* StreetSign::getGlowNode() const
{
    return LayoutNode(kGlowPath);
}

void StreetSign::showGlow(bool show)
{
    if (Strata::SceneNode* glow = getGlowNode())
        glow->LocalSetVisible(show);
}

void StreetSign::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept;
    if (!accept)
        showGlow(false);
}

void StreetSign::shake()
{
    Strata::SceneNode* image = getImageNode();
    if (image == nullptr)
        return;
    image->AddTask(PlayEffectTask(Names::kWobble.name));
    for (int i = 0; i < kWobbles; ++i)
    {
        image->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(-kWobble, 0), kWobbleSeconds));
        image->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(kWobble, 0), kWobbleSeconds));
    }
    image->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(0, 0), kWobbleSeconds));
}

void StreetSign::liftSignIntoTruck(Strata::SceneNode& slot)
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr || root->GetParent() == nullptr || mInTruck)
        return;
    mInTruck = true;
    acceptMouseInput(false);
    const Point hop = root->LocalGetLocation() - Point(0, kHop);
    // Where the sign stands after its hop, in the slot's frame; the truck stands still meanwhile.
    const Point start = InFrameOf(slot, root->LocalToGlobalPoint(hop));
    root->AddTask(PlayEffectTask(Names::kLift.name));
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(hop, kHopSeconds));
    QueueCall(*root, [this, &slot] { attachToTruckNode(slot); });
    const float top = std::min(start.y, 0.0f) - kArcHeight;
    root->AddTask(
        std::make_unique<Strata::NodeBezierLocationTask>(Point(0, 0), Point(start.x, top), Point(0, top), kArcSeconds));
    root->AddTask(PlayEffectTask(Names::kLand.name));
    QueueCall(*root, [this] { arrivedSignal(nullptr); });
}

void StreetSign::attachToTruckNode(Strata::SceneNode& slot)
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr || root->GetParent() == nullptr)
        return;
    const Point there = InFrameOf(slot, root->LocalToGlobalPoint(root->LocalGetLocation()));
    slot.AttachChild(root);
    root->LocalSetLocation(there);
}

} // namespace Yardcrew
