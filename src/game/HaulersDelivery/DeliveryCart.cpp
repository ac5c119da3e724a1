#include "game/HaulersDelivery/DeliveryCart.h"

#include "game/AudioManager.h"
#include "game/HaulersDelivery/HaulersDeliveryContent.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

namespace Yardcrew
{

namespace
{

namespace Names = HaulersDeliveryContent;

const Strata::NodePathStep kCartPath[] = {"cart", Strata::NodePathTerminator()};
const Strata::NodePathStep kCargoPath[] = {"cargoImage", Strata::NodePathTerminator()};
const Strata::NodePathStep kFrontCargoPath[] = {"cargoImage_front", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"rolloverNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kFrontRolloverPath[] = {"rolloverNode_front", Strata::NodePathTerminator()};
const Strata::NodePathStep kTargetPath[] = {"cargoTarget", Strata::NodePathTerminator()};

void ShowFrame(Strata::SceneNode* node, const char* list, HaulersDeliveryType type)
{
    auto* sprite = dynamic_cast<Strata::StaticSpriteNode*>(node);
    if (sprite != nullptr && type >= 0 && type < HaulersDeliveryType_Count)
        sprite->setImage(Strata::Label(list), type);
}

void Show(Strata::SceneNode* node, bool visible)
{
    if (node != nullptr)
        node->LocalSetVisible(visible);
}

} // namespace

DeliveryCart::DeliveryCart(HaulersDeliveryType type, bool leadCart)
    : PlayfieldObject(Names::kCartLayout.name), mCargoType(type), mLeadCart(leadCart)
{
    ShowFrame(LayoutNode(kCargoPath), Names::kSmallCargo.name, type);
    ShowFrame(LayoutNode(kFrontCargoPath), Names::kSmallCargo.name, type);
    Show(LayoutNode(kCargoPath), !leadCart);
    Show(LayoutNode(kFrontCargoPath), leadCart);
    ShowFrame(LayoutNode(kRolloverPath), Names::kSmallRollover.name, type);
    ShowFrame(LayoutNode(kFrontRolloverPath), Names::kSmallRollover.name, type);
    if (!leadCart)
        return;
    auto* truck = dynamic_cast<Strata::AnimatedSpriteNode*>(LayoutNode(kCartPath));
    if (truck == nullptr)
        return;
    truck->SetSpriteType(Strata::Label(Names::kTruckSprite.name));
    setCartAnim("Drive-Left");
    // The node lives no longer than this cart: the tree and the controller end together.
    truck->mouseDownSignal.connect([](Strata::SceneNode*, Strata::MouseButton, int, int)
                                   { GetAudioManager()->playSFX(Strata::Label(Names::kHorn.name)); });
    truck->hitTest = true;
}

Strata::Label DeliveryCart::GetRole() const
{
    static const Strata::Label kRole("HaulersDelivery_Cart");
    return kRole;
}

void DeliveryCart::setCartAnim(const char* animation)
{
    auto* cart = dynamic_cast<Strata::AnimatedSpriteNode*>(LayoutNode(kCartPath));
    if (cart != nullptr && cart->GetSpriteType() != nullptr)
        cart->SetAnimation(Strata::Label(animation), false);
}

void DeliveryCart::showCartContents(bool show)
{
    mCartEmpty = !show;
    Show(LayoutNode(kCargoPath), show);
}

Strata::SceneNode* DeliveryCart::getCargoTarget() const
{
    return LayoutNode(kTargetPath);
}

} // namespace Yardcrew
