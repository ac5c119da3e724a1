#include "game/HereToThere/HereToThereCart.h"

#include "framework/ObjectDatabase.h"
#include "framework/Task.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/HereToThere/HereToThereContent.h"
#include "game/HereToThere/HereToThereObject.h"
#include "game/HereToThere/HereToThereTarget.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <list>
#include <memory>
#include <vector>

namespace Yardcrew
{

namespace
{

namespace Names = HereToThereContent;
using Point = Strata::Vector2<float>;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kAttachPath[] = {"ObjectAttachNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kAttachFlipPath[] = {"ObjectAttachNode_Flip", Strata::NodePathTerminator()};

Point RoadEnd(const char* constant, int road)
{
    const auto ends = GameConstant<std::vector<Point>>(constant);
    return road >= 0 && static_cast<size_t>(road) < ends.size() ? ends[static_cast<size_t>(road)] : Point();
}

template <class T>
T* Find(Strata::ObjectID id)
{
    Strata::ObjectDatabase* db = Strata::GetObjectDatabase();
    return db != nullptr ? dynamic_cast<T*>(db->GetObject(id)) : nullptr;
}

} // namespace

HereToThereCart::HereToThereCart() : PlayfieldObject(Names::kCartLayout.name)
{
    setHaulerAnims(false);
    if (Strata::SceneNode* image = getImageNode())
    {
        image->mouseDownSignal.connect([](Strata::SceneNode*, Strata::MouseButton, int, int)
                                       { GetAudioManager()->playSFX(Strata::Label(Names::kHorn.name)); });
        image->hitTest = true;
    }
}

Strata::Label HereToThereCart::GetName() const
{
    static const Strata::Label kName("HereToThere_Cart");
    return kName;
}

HereToThereObject* HereToThereCart::getLoadedObject() const
{
    return Find<HereToThereObject>(mLoaded);
}

Strata::SceneNode* HereToThereCart::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* HereToThereCart::getAttachNode(bool flipped) const
{
    return LayoutNode(flipped ? kAttachFlipPath : kAttachPath);
}

Point HereToThereCart::location() const
{
    Strata::SceneNode* root = LayoutRoot();
    return root != nullptr ? root->LocalGetLocation() : Point();
}

void HereToThereCart::setHaulerAnims(bool driving)
{
    if (auto* image = dynamic_cast<Strata::AnimatedSpriteNode*>(getImageNode()))
        image->SetAnimation(Strata::Label(driving ? Names::kTruckDrive : Names::kTruckIdle), false);
}

void HereToThereCart::setCartFacing(bool left)
{
    mFacingLeft = left;
    if (Strata::SceneNode* image = getImageNode())
        image->LocalSetFlipH(!left);
    Strata::SceneNode* from = getAttachNode(left);
    Strata::SceneNode* to = getAttachNode(!left);
    if (from == nullptr || to == nullptr)
        return;
    // A snapshot, first child first, so the drawing order is kept.
    const std::list<Strata::SceneNode*> children = from->GetChildren();
    for (Strata::SceneNode* child : children)
        to->AttachChild(child);
}

Point HereToThereCart::getEnterScreenStartPoint(const HereToThereTarget& house) const
{
    return RoadEnd(mFacingLeft ? Names::kRoadEndLeft.name : Names::kRoadEndRight.name, house.getRoad());
}

Point HereToThereCart::getOffscreenDestPoint(const Point& point) const
{
    return {GameConstant<float>(mFacingLeft ? Names::kOffscreenLeft.name : Names::kOffscreenRight.name), point.y};
}

void HereToThereCart::driveLeg(const Point& from, const Point& to, float speed)
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr)
        return;
    QueueCall(*root, [this] { setHaulerAnims(true); });
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(to, TravelSeconds(from, to, speed)));
    QueueCall(*root, [this] { setHaulerAnims(false); });
}

void HereToThereCart::startLoadingSequence(HereToThereObject* animal)
{
    Strata::SceneNode* root = LayoutRoot();
    Strata::SceneNode* animalNode = animal != nullptr ? animal->GetNode() : nullptr;
    if (root == nullptr || animalNode == nullptr)
        return;
    mLoaded = animal->GetID();
    GetAudioManager()->playSFX(Strata::Label(Names::kMoveShort.name));
    const Point here = location();
    // Along its row only.
    driveLeg(here, Point(animalNode->GlobalGetBounds().x, here.y), GameConstant<float>(Names::kLoadingSpeed.name));
    const Strata::ObjectID id = mLoaded;
    QueueCall(*root,
              [this, id]
              {
                  loadNewObject();
                  arrivedSignal(Find<HereToThereObject>(id));
              });
}

void HereToThereCart::loadNewObject()
{
    HereToThereObject* animal = getLoadedObject();
    Strata::SceneNode* attach = getAttachNode(!mFacingLeft);
    Strata::SceneNode* node = animal != nullptr ? animal->GetNode() : nullptr;
    if (node == nullptr || attach == nullptr)
        return;
    attach->AttachChild(node);
    node->LocalSetLocation(Point());
}

void HereToThereCart::startDeliverySequence(HereToThereTarget* house)
{
    Strata::SceneNode* root = LayoutRoot();
    Strata::SceneNode* houseNode = house != nullptr ? house->GetNode() : nullptr;
    if (root == nullptr || houseNode == nullptr)
        return;
    const Point entry = getEnterScreenStartPoint(*house);
    const Point here = location();
    const float houseLeft = houseNode->GlobalGetBounds().x;
    const bool ahead = mFacingLeft ? here.x >= houseLeft : here.x <= houseLeft;
    const float street = GameConstant<float>(Names::kStreetSpeed.name);
    if (here.y == entry.y && ahead)
    {
        GetAudioManager()->playSFX(Strata::Label(Names::kMoveShort.name));
        driveLeg(here, house->getCarPosition(), street);
    }
    else
    {
        // Out on the side it faces, and back in on the house's road from that same side, turned round;
        // the points are told with the facing before the turn.
        GetAudioManager()->playSFX(Strata::Label(Names::kMoveLong.name));
        driveLeg(here, getOffscreenDestPoint(here), GameConstant<float>(Names::kLoadingSpeed.name));
        const bool turned = !mFacingLeft;
        QueueCall(*root, [this, turned] { setCartFacing(turned); });
        root->AddTask(std::make_unique<Strata::NodeLocationTask>(entry));
        driveLeg(entry, house->getCarPosition(), street);
    }
    Meet({root, this});
    const Strata::ObjectID id = house->GetID();
    QueueCall(*this, [this, id] { arrivedSignal(Find<HereToThereTarget>(id)); });
}

void HereToThereCart::unloadCurrentObject(Strata::SceneNode* node)
{
    HereToThereObject* animal = getLoadedObject();
    Strata::SceneNode* animalNode = animal != nullptr ? animal->GetNode() : nullptr;
    Strata::SceneNode* layer = LayoutRoot() != nullptr ? LayoutRoot()->GetParent() : nullptr;
    if (animalNode == nullptr || node == nullptr || layer == nullptr)
        return;
    mLoaded = Strata::ObjectID();
    // Stands by the house, in the depth-sorted layer the truck drives in.
    const Strata::Rect<float> bounds = node->GlobalGetBounds();
    layer->AttachChild(animalNode);
    animalNode->LocalSetLocation(Point(bounds.x, bounds.y + 50));
    animal->hideCage();
    animal->AddTask(std::make_unique<Strata::TimedTask>(2.0f));
    animal->AddTask(std::make_unique<Strata::SelfDestructTask>());
    // The animal's wait ends with it, so the truck goes on once it is gone.
    Meet({animal, this});
}

void HereToThereCart::returnToLoadingArea(HereToThereTarget* house)
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr || house == nullptr)
        return;
    root->AddTask(PlayEffectTask(Names::kMoveLong.name));
    root->AddTask(std::make_unique<Strata::TimedTask>(0.5f));
    const float street = GameConstant<float>(Names::kStreetSpeed.name);
    const Point stop = house->getCarPosition();
    driveLeg(stop, getOffscreenDestPoint(stop), street);
    const auto rowEnd = GameConstant<Point>(Names::kLoadingRowEnd.name);
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(rowEnd));
    QueueCall(*root, [this] { setCartFacing(true); });
    driveLeg(rowEnd, GameConstant<Point>(Names::kIdle.name), street);
    Meet({root, this});
    QueueCall(*this, [this] { arrivedSignal(nullptr); });
}

} // namespace Yardcrew
