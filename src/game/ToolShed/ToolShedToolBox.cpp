#include "game/ToolShed/ToolShedToolBox.h"

#include "game/HeldItem.h"
#include "game/ToolShed/ToolShedContent.h"
#include "game/ToolShed/ToolShedItem.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <memory>
#include <utility>

namespace Yardcrew
{

namespace
{

namespace Names = ToolShedContent;

const Strata::NodePathStep kBackPath[] = {"boxBack", Strata::NodePathTerminator()};
const Strata::NodePathStep kFrontPath[] = {"boxFront", Strata::NodePathTerminator()};
const Strata::NodePathStep kSignPath[] = {"sign", Strata::NodePathTerminator()};
const Strata::NodePathStep kContentsPath[] = {"contents", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"rolloverNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kDropPath[] = {"dropArea", Strata::NodePathTerminator()};

// (x, seconds) of each stroke of a shake, ending where it began.
constexpr std::pair<float, float> kShakeSteps[] = {
    {8.0f, 0.05f}, {-8.0f, 0.1f}, {8.0f, 0.1f}, {-8.0f, 0.1f}, {0.0f, 0.05f}};

void ShowFrame(Strata::SceneNode* node, const sContentName& list, int frame)
{
    if (auto* sprite = dynamic_cast<Strata::StaticSpriteNode*>(node))
        sprite->setImage(Strata::Label(list.name), frame);
}

} // namespace

ToolShedToolBox::ToolShedToolBox(const ToolShedTool& takes, ToolShedSort sortBy)
    : PlayfieldObject(Names::kBoxLayout.name), mTakes(takes)
{
    const bool byColor = sortBy == ToolShedSort_Color && takes.color >= 0 && takes.color < ToolShedToolColor_Count;
    const int frame = byColor ? static_cast<int>(takes.color) : Names::kPlainBoxFrame;
    ShowFrame(LayoutNode(kBackPath), Names::kBoxBack, frame);
    ShowFrame(LayoutNode(kFrontPath), Names::kBoxFront, frame);
    Strata::SceneNode* sign = LayoutNode(kSignPath);
    if (sortBy == ToolShedSort_Type && takes.type >= 0 && takes.type < ToolShedToolType_Count)
        ShowFrame(sign, Names::kBoxSign, takes.type);
    else if (sign != nullptr)
        sign->LocalSetVisible(false);
    showRollover(false);
    if (Strata::SceneNode* drop = getDropArea())
    {
        drop->hitTest = true;
        // The glow says where a carried tool would go; with nothing in hand the box is only a picture.
        drop->mouseEnterSignal.connect([this](Strata::SceneNode*)
                                       { showRollover(DragSource<ToolShedItem*>::GetHeldDragSource() != nullptr); });
        drop->mouseExitSignal.connect([this](Strata::SceneNode*) { showRollover(false); });
    }
}

Strata::Label ToolShedToolBox::GetRole() const
{
    static const Strata::Label kRole("ToolShed_ToolBox");
    return kRole;
}

void ToolShedToolBox::AddedToScene()
{
    // The drop record keeps the box by identifier, which it has only now.
    if (Strata::SceneNode* drop = getDropArea())
        ConnectDragTarget<ToolShedItem>(*this, *drop);
}

void ToolShedToolBox::DropActivated(ToolShedItem* item)
{
    showRollover(false);
    dropSignal(item);
}

Strata::SceneNode* ToolShedToolBox::getDropArea() const
{
    return LayoutNode(kDropPath);
}

Strata::SceneNode* ToolShedToolBox::getContentsNode() const
{
    return LayoutNode(kContentsPath);
}

void ToolShedToolBox::shake()
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr)
        return;
    // Side to side about its place on the shelf: a turn would not carry the tools inside with it.
    for (const auto& [x, seconds] : kShakeSteps)
        root->AddTask(std::make_unique<Strata::NodeLocationTask>(Strata::Vector2<float>(x, 0.0f), seconds));
}

void ToolShedToolBox::showRollover(bool show)
{
    if (Strata::SceneNode* rollover = LayoutNode(kRolloverPath))
        rollover->LocalSetVisible(show);
}

} // namespace Yardcrew
