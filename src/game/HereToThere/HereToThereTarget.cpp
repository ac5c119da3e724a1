#include "game/HereToThere/HereToThereTarget.h"

#include "core/Random.h"
#include "framework/ResourceDescriptor.h"
#include "game/HeldItem.h"
#include "game/HereToThere/HereToThereContent.h"
#include "game/HereToThere/HereToThereObject.h"
#include "game/MiniGamePattern.h"
#include "graphics/ImageList.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <vector>

namespace Yardcrew
{

namespace
{

namespace Names = HereToThereContent;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kShapePath[] = {"imageNode", "flag", "shapeNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kCagePath[] = {"imageNode", "cageAttach", Strata::NodePathTerminator()};

} // namespace

HereToThereTarget::HereToThereTarget(const HereToThereMark& mark, int road)
    : PlayfieldObject(Names::kHouseLayout.name), mMark(mark), mRoad(road)
{
    Strata::SceneNode* image = getImageNode();
    if (auto* sprite = dynamic_cast<Strata::StaticSpriteNode*>(image))
    {
        const Strata::AutoResource<Strata::ImageList> houses(Names::kHouses.name);
        const int count = houses.Get() != nullptr ? houses->GetNumImages() : 1;
        sprite->setImage(Strata::Label(Names::kHouses.name), Strata::Random::GetIntRange(count - 1));
    }
    ShowHereToThereMark(LayoutNode(kShapePath), mark);
    if (image != nullptr)
        image->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { pressedSignal(); });
    acceptMouseInput(true);
}

void HereToThereTarget::AddedToScene()
{
    // The drop record keeps the house by identifier, which it has only now.
    if (Strata::SceneNode* image = getImageNode())
        ConnectDragTarget<HereToThereObject>(*this, *image);
}

Strata::Label HereToThereTarget::GetRole() const
{
    static const Strata::Label kRole("HereToThere_Target");
    return kRole;
}

void HereToThereTarget::DropActivated(HereToThereObject* animal)
{
    dropSignal(animal);
}

Strata::SceneNode* HereToThereTarget::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* HereToThereTarget::getCageAttach() const
{
    return LayoutNode(kCagePath);
}

void HereToThereTarget::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept;
}

Strata::Vector2<float> HereToThereTarget::getCarPosition() const
{
    Strata::Vector2<float> position;
    if (Strata::SceneNode* root = LayoutRoot())
    {
        const Strata::Rect<float> bounds = root->GlobalGetBounds();
        position.x = bounds.x + bounds.width / 2;
    }
    const auto roads = GameConstant<std::vector<Strata::Vector2<float>>>(Names::kRoadEndRight.name);
    if (mRoad >= 0 && static_cast<size_t>(mRoad) < roads.size())
        position.y = roads[static_cast<size_t>(mRoad)].y;
    return position;
}

} // namespace Yardcrew
