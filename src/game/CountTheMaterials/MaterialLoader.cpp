#include "game/CountTheMaterials/MaterialLoader.h"

#include "framework/ObjectDatabase.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/CountTheMaterials/CountTheMaterialsContent.h"
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialTarget.h"
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

namespace Names = CountTheMaterialsContent;
using Point = Strata::Vector2<float>;
using Points = std::vector<Point>;

const Strata::NodePathStep kTruckPath[] = {"truckImage", Strata::NodePathTerminator()};
const Strata::NodePathStep kShovelPath[] = {"truckImage", "ShovelNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kAttachPath[] = {"truckImage", "materialAttach", Strata::NodePathTerminator()};
const Strata::NodePathStep kAttachFlipPath[] = {"truckImage", "materialAttach_flip", Strata::NodePathTerminator()};

float Speed()
{
    return GameConstant<float>(Names::kTipperSpeed.name);
}

// The pile by identifier at the time a step runs: it may have gone with its game in the meantime.
DraggableMaterial* FindPile(Strata::ObjectID id)
{
    Strata::ObjectDatabase* db = Strata::GetObjectDatabase();
    return db != nullptr ? dynamic_cast<DraggableMaterial*>(db->GetObject(id)) : nullptr;
}

} // namespace

void MoveAllChildren(Strata::SceneNode& from, Strata::SceneNode& to)
{
    // A snapshot: a child that refuses to move must not keep the walk going for ever.
    const std::list<Strata::SceneNode*> children = from.GetChildren();
    for (Strata::SceneNode* child : children)
        to.AttachChild(child);
}

MaterialLoader::MaterialLoader() : PlayfieldObject(Names::kDiggerLayout.name)
{
    if (Strata::SceneNode* truck = LayoutNode(kTruckPath))
    {
        truck->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { pressedSignal(); });
        truck->hitTest = true;
    }
}

Strata::Label MaterialLoader::GetName() const
{
    static const Strata::Label kName("CountTheMaterials_MaterialLoader");
    return kName;
}

Strata::SceneNode* MaterialLoader::getTruckImage() const
{
    return LayoutNode(kTruckPath);
}

Strata::SceneNode* MaterialLoader::getAttachNode(bool flipped) const
{
    return LayoutNode(flipped ? kAttachFlipPath : kAttachPath);
}

void MaterialLoader::setShovelAnimation(const char* name)
{
    if (auto* shovel = dynamic_cast<Strata::AnimatedSpriteNode*>(LayoutNode(kShovelPath)))
        shovel->SetAnimation(Strata::Label(name), true);
}

Point MaterialLoader::pickUpPoint(DraggableMaterial& pile) const
{
    Strata::SceneNode* pileNode = pile.GetNode();
    Strata::SceneNode* digger = LayoutRoot();
    if (pileNode == nullptr || digger == nullptr)
        return digger != nullptr ? digger->LocalGetLocation() : Point();
    const auto offset = GameConstant<Point>(Names::kPickupOffset.name);
    const Strata::Rect<float> bounds = pileNode->GlobalGetBounds();
    // Told on the screen, moved in the digger's own frame.
    return digger->GlobalToLocalPoint(Point(bounds.x + offset.x, bounds.y + bounds.height + offset.y));
}

void MaterialLoader::enterScreen()
{
    Strata::SceneNode* digger = LayoutRoot();
    Strata::SceneNode* truck = getTruckImage();
    if (digger == nullptr || truck == nullptr)
        return;
    const auto start = GameConstant<Point>(Names::kDiggerStart.name);
    const auto idle = GameConstant<Point>(Names::kDiggerIdle.name);
    digger->LocalSetLocation(start);
    digger->AddTask(std::make_unique<Strata::NodeLocationTask>(idle, TravelSeconds(start, idle, Speed())));
    Meet({digger, truck});
    truck->AddTask(StartAnimationTask(Names::kIdleRight));
}

void MaterialLoader::driveToMaterial(DraggableMaterial* pile)
{
    Strata::SceneNode* digger = LayoutRoot();
    Strata::SceneNode* truck = getTruckImage();
    if (digger == nullptr || truck == nullptr || pile == nullptr)
        return;
    truck->AddTask(std::make_unique<Strata::TimedTask>(0.6f));
    truck->AddTask(StartAnimationTask(Names::kDriveRightDown));
    truck->AddTask(PlayEffectTask(Names::kDiggerMove.name));
    Meet({digger, truck});
    const Point point = pickUpPoint(*pile);
    digger->AddTask(std::make_unique<Strata::NodeLocationTask>(
        point, TravelSeconds(point, GameConstant<Point>(Names::kDiggerIdle.name), Speed())));
    Meet({digger, this});
    Meet({truck, this});
    truck->AddTask(StartAnimationTask(Names::kDriveRightUp));
    QueueCall(*truck, [this] { setShovelAnimation(Names::kDriveRightUp); });
    const Strata::ObjectID id = pile->GetID();
    QueueCall(*this, [this, id] { pickUpMaterial(FindPile(id)); });
}

void MaterialLoader::pickUpMaterial(DraggableMaterial* pile)
{
    if (pile == nullptr)
        return;
    arrivedSignal(pile);
    GetAudioManager()->playInGameFeedbackVocal(true);
    // The load keeps its count picture: the digger carries and tips exactly the number picked.
    Strata::SceneNode* attach = getAttachNode(false);
    if (Strata::SceneNode* pileNode = pile->GetNode(); pileNode != nullptr && attach != nullptr)
        attach->AttachChild(pileNode);
}

void MaterialLoader::driveOffScreen(const Point& from)
{
    Strata::SceneNode* digger = LayoutRoot();
    if (digger == nullptr)
        return;
    const auto exit = GameConstant<Point>(Names::kDiggerExit.name);
    digger->AddTask(std::make_unique<Strata::NodeLocationTask>(exit, TravelSeconds(from, exit, Speed())));
    Meet({digger, this});
}

void MaterialLoader::flipDiggerFacing()
{
    Strata::SceneNode* from = getAttachNode(false);
    Strata::SceneNode* to = getAttachNode(true);
    if (from != nullptr && to != nullptr)
        MoveAllChildren(*from, *to);
}

void MaterialLoader::startLoadSequence()
{
    Strata::SceneNode* digger = LayoutRoot();
    Strata::SceneNode* truck = getTruckImage();
    if (digger == nullptr || truck == nullptr)
        return;
    QueueCall(*digger, [this] { flipDiggerFacing(); });
    Meet({digger, truck});
    truck->AddTask(StartAnimationTask(Names::kDriveLeftUp));
    truck->AddTask(PlayEffectTask(Names::kDiggerMove.name));
    QueueCall(*truck, [this] { setShovelAnimation(Names::kDriveLeftUp); });

    const auto enter = GameConstant<Point>(Names::kDiggerRoadEnter.name);
    const auto road = GameConstant<Points>(Names::kDiggerRoadIn.name);
    digger->AddTask(std::make_unique<Strata::NodeLocationTask>(enter));
    if (!road.empty())
        digger->AddTask(
            std::make_unique<Strata::NodeCatmullRomPathTask>(road, TravelSeconds(enter, road.back(), Speed())));
    digger->AddTask(std::make_unique<Strata::TimedTask>(0.5f));
    digger->AddTask(PlayEffectTask(Names::kBrickDrop.name));
    Meet({digger, this});
    QueueCall(*this, [this] { giveMaterials(); });
}

void MaterialLoader::giveMaterials()
{
    Strata::ObjectDatabase* db = Strata::GetObjectDatabase();
    auto* tipper =
        db != nullptr
            ? dynamic_cast<MaterialTarget*>(db->GetNamedObject(Strata::Label("CountTheMaterials_MaterialTarget")))
            : nullptr;
    Strata::SceneNode* cart = tipper != nullptr ? tipper->getCartNode() : nullptr;
    Strata::SceneNode* load = getAttachNode(true);
    if (cart != nullptr && load != nullptr)
        MoveAllChildren(*load, *cart);
}

void MaterialLoader::endLoadSequence()
{
    Strata::SceneNode* digger = LayoutRoot();
    if (digger == nullptr)
        return;
    const auto roadIn = GameConstant<Points>(Names::kDiggerRoadIn.name);
    const auto roadOut = GameConstant<Points>(Names::kDiggerRoadOut.name);
    if (roadOut.empty())
        return;
    const Point from = roadIn.empty() ? GameConstant<Point>(Names::kDiggerRoadEnter.name) : roadIn.back();
    digger->AddTask(
        std::make_unique<Strata::NodeCatmullRomPathTask>(roadOut, TravelSeconds(from, roadOut.back(), Speed())));
}

void MaterialLoader::driveToIncorrectMaterial(DraggableMaterial* pile)
{
    Strata::SceneNode* digger = LayoutRoot();
    Strata::SceneNode* truck = getTruckImage();
    if (digger == nullptr || truck == nullptr || pile == nullptr)
        return;
    const auto idle = GameConstant<Point>(Names::kDiggerIdle.name);
    const Point point = pickUpPoint(*pile);
    const float seconds = TravelSeconds(point, idle, Speed());
    const Strata::ObjectID id = pile->GetID();

    truck->AddTask(StartAnimationTask(Names::kDriveRightDown));
    truck->AddTask(PlayEffectTask(Names::kDiggerMove.name));
    Meet({digger, truck});
    digger->AddTask(std::make_unique<Strata::NodeLocationTask>(point, seconds));
    QueueCall(*digger, [this, id] { arrivedSignal(FindPile(id)); });
    Meet({digger, truck});
    truck->AddTask(StartAnimationTask(Names::kIdleRight));
    digger->AddTask(std::make_unique<Strata::TimedTask>(1.0f));
    Meet({digger, truck});
    truck->AddTask(StartAnimationTask(Names::kReverseRightDown));
    digger->AddTask(std::make_unique<Strata::NodeLocationTask>(idle, seconds));
    Meet({digger, truck});
    truck->AddTask(StartAnimationTask(Names::kIdleRight));
    Meet({digger, this});
}

} // namespace Yardcrew
