#include "game/HaulersDelivery/DeliveryObject.h"

#include "framework/Task.h"
#include "game/AudioManager.h"
#include "game/HaulersDelivery/DeliveryCart.h"
#include "game/HaulersDelivery/HaulersDeliveryContent.h"
#include "game/MiniGameSequence.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = HaulersDeliveryContent;
using Point = Strata::Vector2<float>;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"imageNode", "rolloverNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kHookPath[] = {"HookAssembly", Strata::NodePathTerminator()};

// A point passes the cargo's hit test only where the picture is more opaque than this.
constexpr int32_t kCargoAlphaThreshold = 128;

// The local y at which the node's top would stand at that screen y (the playfield is not scaled).
float LocalYAtScreenY(Strata::SceneNode& node, float screenY)
{
    return node.LocalGetLocation().y + screenY - node.GlobalGetBounds().y;
}

} // namespace

DeliveryObject::DeliveryObject(HaulersDeliveryType type) : PlayfieldObject(Names::kCargoLayout.name), mCargoType(type)
{
    showImages(Names::kLargeCargo.name, Names::kLargeRollover.name);
    if (auto* image = dynamic_cast<Strata::StaticSpriteNode*>(getImageNode()))
    {
        image->alphaSensitivity = kCargoAlphaThreshold;
        ConnectClickTarget(*image, kRolloverPath, Names::kClick.name, Names::kRollover.name);
    }
    acceptMouseInput(true);
}

Strata::SceneNode* DeliveryObject::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* DeliveryObject::getRolloverNode() const
{
    return LayoutNode(kRolloverPath);
}

Strata::SceneNode* DeliveryObject::getHookNode() const
{
    return LayoutNode(kHookPath);
}

void DeliveryObject::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept;
}

void DeliveryObject::showImages(const char* list, const char* rollover)
{
    if (mCargoType < 0 || mCargoType >= HaulersDeliveryType_Count)
        return;
    if (auto* image = dynamic_cast<Strata::StaticSpriteNode*>(getImageNode()))
        image->setImage(Strata::Label(list), mCargoType);
    if (auto* highlight = dynamic_cast<Strata::StaticSpriteNode*>(getRolloverNode()))
        highlight->setImage(Strata::Label(rollover), mCargoType);
}

void DeliveryObject::useSmallImage()
{
    showImages(Names::kSmallCargo.name, Names::kSmallRollover.name);
    if (Strata::SceneNode* hook = getHookNode())
        hook->LocalSetLocation(0, -40);
}

void DeliveryObject::getPickedUp()
{
    Strata::SceneNode* root = LayoutRoot();
    Strata::SceneNode* hook = getHookNode();
    if (root == nullptr || hook == nullptr)
        return;
    const Point up(root->LocalGetLocation().x, LocalYAtScreenY(*root, kCargoLiftScreenY));
    hook->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(0, -65), 1.0f));
    hook->AddTask(PlayEffectTask(Names::kToolbox.name));
    Meet({hook, root});
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(up, 2.0f));
    QueueCall(*root, [this] { useSmallImage(); });
    Meet({root, this});
}

void DeliveryObject::placeInCart(DeliveryCart& cart)
{
    Strata::SceneNode* root = LayoutRoot();
    Strata::SceneNode* target = cart.getCargoTarget();
    if (root == nullptr || target == nullptr)
        return;
    // The train only ever moves sideways, so the height taken now still holds when the cargo comes down.
    mLiftY = kCargoLiftScreenY - target->GlobalGetBounds().y;
    const float liftY = mLiftY;
    QueueCall(*root,
              [root, target, liftY]
              {
                  target->AttachChild(root);
                  root->LocalSetLocation(0, liftY);
              });
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(0, 0), 2.0f));
    root->AddTask(PlayEffectTask(Names::kBrickDrop.name));
    Meet({root, this});
}

void DeliveryObject::retractHook()
{
    Strata::SceneNode* hook = getHookNode();
    if (hook == nullptr)
        return;
    Meet({hook, this});
    QueueCall(*hook, [] { GetAudioManager()->playInGameFeedbackVocal(true); });
    hook->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(0, -600), 1.0f));
    Meet({hook, this});
}

void DeliveryObject::removeFromCartAndDestroy()
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr)
        return;
    Meet({root, this});
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(0, mLiftY), 2.0f));
    Meet({root, this});
    QueueCall(*this,
              [this, root]
              {
                  // Out of sight and out of reach for the one update before it goes.
                  acceptMouseInput(false);
                  root->LocalSetVisible(false);
                  arrivedSignal(nullptr);
              });
    AddTask(std::make_unique<Strata::SelfDestructTask>());
}

} // namespace Yardcrew
