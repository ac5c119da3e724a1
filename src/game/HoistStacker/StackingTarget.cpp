#include "game/HoistStacker/StackingTarget.h"

#include "framework/ObjectDatabase.h"
#include "game/AudioManager.h"
#include "game/HeldItem.h"
#include "game/HoistStacker/HoistStackerContent.h"
#include "game/HoistStacker/StackableObject.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = HoistStackerContent;

const Strata::NodePathStep kClickPath[] = {"clickNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kPlatformPath[] = {"Platform", Strata::NodePathTerminator()};

StackableObject* HeldObject()
{
    const DragSource<StackableObject*>* held = DragSource<StackableObject*>::GetHeldDragSource();
    return held != nullptr ? held->GetDragItem() : nullptr;
}

} // namespace

StackingTarget::StackingTarget(StackObjectColor color) : PlayfieldObject(Names::kTargetLayout.name), mColor(color)
{
    if (auto* platform = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kPlatformPath));
        platform != nullptr && color >= 0 && color < StackObjectColor_Count)
        platform->setImage(Strata::Label(Names::kPlatforms[color].name));
    Strata::SceneNode* click = getClickNode();
    if (click == nullptr)
        return;
    // The nodes live no longer than this controller: the tree and the controller end together.
    click->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int x, int y)
                                   { handleMouseDown(x, y); });
    click->mouseEnterSignal.connect([this](Strata::SceneNode*) { showTopRollover(true); });
    click->mouseExitSignal.connect([this](Strata::SceneNode*) { showTopRollover(false); });
    acceptMouseInput(true);
}

void StackingTarget::AddedToScene()
{
    // The drop record keeps the platform by identifier, which it has only now.
    if (Strata::SceneNode* click = getClickNode())
        ConnectDragTarget<StackableObject>(*this, *click);
}

Strata::Label StackingTarget::GetRole() const
{
    static const Strata::Label kRole("HoistStacker_StackableTarget");
    return kRole;
}

Strata::SceneNode* StackingTarget::getClickNode() const
{
    return LayoutNode(kClickPath);
}

void StackingTarget::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* click = getClickNode())
        click->hitTest = accept;
}

std::vector<StackableObject*> StackingTarget::getStack() const
{
    std::vector<StackableObject*> stack;
    if (Strata::ObjectDatabase* database = Strata::GetObjectDatabase())
        for (Strata::ObjectID id : mStack)
            if (auto* object = dynamic_cast<StackableObject*>(database->GetObject(id)))
                stack.push_back(object);
    return stack;
}

Strata::SceneNode* StackingTarget::getCurrentStackingPoint() const
{
    const std::string name = "StackPoint_" + std::to_string(mStack.size() + 1);
    const Strata::NodePathStep path[] = {"Platform", name.c_str(), Strata::NodePathTerminator()};
    return LayoutNode(path);
}

void StackingTarget::stackObjectOnThis(StackableObject& object, bool silent)
{
    if (getCurrentStackingPoint() == nullptr)
        return;
    object.moveToStack(*this, silent);
    mStack.push_back(object.GetID());
}

bool StackingTarget::shakeOutCurrentStack(bool force)
{
    const std::vector<StackableObject*> stack = getStack();
    size_t kept = 0;
    while (!force && kept < stack.size() && stack[kept]->getCorrectStackIndex() == static_cast<int>(kept))
        ++kept;
    // The top object starts its way back first.
    for (size_t place = stack.size(); place > kept; --place)
        stack[place - 1]->returnToGround();
    mStack.resize(std::min(mStack.size(), kept));
    GetAudioManager()->playSFX(Strata::Label(Names::kFall.name));
    return kept < stack.size();
}

void StackingTarget::DropActivated(StackableObject* object)
{
    if (object == nullptr)
        return;
    if (object->getData().color != mColor || getCurrentStackingPoint() == nullptr)
    {
        object->refuse();
        refusedSignal(object);
        return;
    }
    stackObjectOnThis(*object, false);
    if (object->getPlace() == StackableObject::Place::Stack)
        dropSignal(object);
}

void StackingTarget::handleMouseDown(int x, int y)
{
    // A press while an object is carried reaches the carrier, which drops it through DropActivated.
    if (HeldObject() != nullptr || mStack.empty())
        return;
    std::vector<StackableObject*> stack = getStack();
    mStack.pop_back();
    if (!stack.empty())
        stack.back()->pickupFromStack(x, y);
}

void StackingTarget::showTopRollover(bool show)
{
    if (HeldObject() != nullptr)
        return;
    const std::vector<StackableObject*> stack = getStack();
    if (!stack.empty())
        stack.back()->setRolloverVisible(show);
}

} // namespace Yardcrew
