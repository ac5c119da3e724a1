#include "game/HereToThere/HereToThereObject.h"

#include "core/Random.h"
#include "game/AudioManager.h"
#include "game/HereToThere/HereToThereContent.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

namespace Yardcrew
{

namespace
{

namespace Names = HereToThereContent;

const Strata::NodePathStep kAnimalPath[] = {"animal", Strata::NodePathTerminator()};
const Strata::NodePathStep kCagePath[] = {"cartImageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kShapePath[] = {"cartImageNode", "shapeNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"cartImageNode", "rollover", Strata::NodePathTerminator()};
const Strata::NodePathStep kClickPath[] = {"clickRect", Strata::NodePathTerminator()};

} // namespace

const char* HereToThereShapeImage(HereToThereObjectShape shape)
{
    if (shape < 0 || shape >= HereToThereObjectShape_Count)
        return nullptr;
    return Names::kShapeImages[shape].name;
}

void ShowHereToThereMark(Strata::SceneNode* node, const HereToThereMark& mark)
{
    auto* sprite = dynamic_cast<Strata::StaticSpriteNode*>(node);
    const char* image = HereToThereShapeImage(mark.shape);
    if (sprite != nullptr && image != nullptr && mark.color >= 0 && mark.color < HereToThereObjectColor_Count)
        sprite->setImage(Strata::Label(image), mark.color);
}

HereToThereObject::HereToThereObject(const HereToThereMark& mark)
    : DragSource<HereToThereObject*>(this), PlayfieldObject(Names::kAnimalLayout.name), mMark(mark)
{
    if (auto* animal = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kAnimalPath)))
        animal->setImage(Strata::Label(Names::kAnimals.name),
                         Strata::Random::GetIntRange(Names::kNumHereToThereAnimals - 1));
    ShowHereToThereMark(LayoutNode(kShapePath), mark);
    if (Strata::SceneNode* rollover = getRolloverNode())
        rollover->LocalSetVisible(false);
    if (Strata::SceneNode* click = getClickNode())
    {
        // The nodes live no longer than this controller: the tree and the controller end together.
        click->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { pressedSignal(); });
        click->mouseEnterSignal.connect([this](Strata::SceneNode*) { handleMouseEnter(); });
        click->mouseExitSignal.connect(
            [this](Strata::SceneNode*)
            {
                if (Strata::SceneNode* rollover = getRolloverNode())
                    rollover->LocalSetVisible(false);
            });
    }
    acceptMouseInput(true);
}

Strata::Label HereToThereObject::GetRole() const
{
    static const Strata::Label kRole("HereToThere_Object");
    return kRole;
}

Strata::SceneNode* HereToThereObject::getClickNode() const
{
    return LayoutNode(kClickPath);
}

Strata::SceneNode* HereToThereObject::getCageNode() const
{
    return LayoutNode(kCagePath);
}

Strata::SceneNode* HereToThereObject::getRolloverNode() const
{
    return LayoutNode(kRolloverPath);
}

void HereToThereObject::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* click = getClickNode())
        click->hitTest = accept;
}

void HereToThereObject::hideCage()
{
    if (Strata::SceneNode* cage = getCageNode())
        cage->LocalSetVisible(false);
}

void HereToThereObject::DoOnStartDragging()
{
    if (Strata::SceneNode* rollover = getRolloverNode())
        rollover->LocalSetVisible(false);
    GetAudioManager()->playSFX(Strata::Label(Names::kSelect.name));
}

void HereToThereObject::handleMouseEnter()
{
    // While an animal is aboard the others are not to be chosen.
    if (GetHeldDragSource() != nullptr)
        return;
    if (Strata::SceneNode* rollover = getRolloverNode())
        rollover->LocalSetVisible(true);
    GetAudioManager()->playSFX(Strata::Label(Names::kRollover.name));
}

} // namespace Yardcrew
