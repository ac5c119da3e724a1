#include "game/ToolShed/ToolShedItem.h"

#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/ToolShed/ToolShedContent.h"
#include "game/ToolShed/ToolShedToolBox.h"
#include "game/YardcrewNames.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = ToolShedContent;
using Point = Strata::Vector2<float>;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"rolloverNode", Strata::NodePathTerminator()};

// How far above the higher of its two ends a thrown tool flies.
constexpr float kThrowHeight = 260.0f;

void PlaySound(const sContentName& sound)
{
    GetAudioManager()->playSFX(Strata::Label(sound.name));
}

bool IsKnown(const ToolShedTool& tool)
{
    return tool.type >= 0 && tool.type < ToolShedToolType_Count && tool.color >= 0 &&
           tool.color < ToolShedToolColor_Count;
}

} // namespace

ToolShedItem::ToolShedItem(const ToolShedTool& tool)
    : PlayfieldObject(Names::kItemLayout.name), HeldDragSource<ToolShedItem*>(this), mTool(tool)
{
    auto* image = dynamic_cast<Strata::AnimatedSpriteNode*>(getImageNode());
    if (image != nullptr && IsKnown(tool))
    {
        image->SetSpriteType(kToolShedToolSpriteTypes[tool.type]);
        image->SetAnimation(Strata::Label(kToolShedToolColorNames[tool.color]), true);
        // The whole picture takes presses, not only its opaque pixels: a child presses the middle of
        // what is drawn (between the pliers' handles), and whatever a new drawing leaves open. The
        // floor's spots lie further apart than a picture is wide, so a press between two tools is still
        // a press on the floor.
        image->alphaSensitivity = 0;
    }
    if (auto* rollover = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kRolloverPath));
        rollover != nullptr && IsKnown(tool))
        rollover->setImage(Strata::Label(Names::kToolRollover.name), tool.type);
    showRollover(false);
    GetHeldItem().SetReturnSeconds(GameConstant<float>(Names::kReturnTime.name));
    if (image == nullptr)
        return;
    // The nodes live no longer than this controller: the tree and the controller end together.
    image->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int x, int y) { pickUp(x, y); });
    image->mouseEnterSignal.connect(
        [this](Strata::SceneNode*)
        {
            if (GetHeldDragSource() != nullptr)
                return;
            showRollover(true);
            PlaySound(Names::kRollover);
        });
    image->mouseExitSignal.connect([this](Strata::SceneNode*) { showRollover(false); });
    acceptMouseInput(true);
}

Strata::Label ToolShedItem::GetRole() const
{
    static const Strata::Label kRole("ToolShed_Item");
    return kRole;
}

Strata::SceneNode* ToolShedItem::getImageNode() const
{
    return LayoutNode(kImagePath);
}

void ToolShedItem::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept && !mInBox;
}

void ToolShedItem::showRollover(bool show)
{
    if (Strata::SceneNode* rollover = LayoutNode(kRolloverPath))
        rollover->LocalSetVisible(show);
}

Strata::Object* ToolShedItem::throwUp(Point from, float delay, float seconds)
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr)
        return nullptr;
    // The flight is told in the place's own frame; the place is where the tool lands.
    const Point start = root->GetParent() != nullptr ? root->GetParent()->GlobalToLocalPoint(from) : from;
    const float top = std::min(start.y, 0.0f) - kThrowHeight;
    root->LocalSetVisible(false);
    root->LocalSetLocation(start);
    root->AddTask(std::make_unique<Strata::TimedTask>(delay));
    root->AddTask(std::make_unique<Strata::NodeVisibleTask>(true));
    root->AddTask(PlayEffectTask(Names::kThrow.name));
    root->AddTask(
        std::make_unique<Strata::NodeBezierLocationTask>(Point(), Point(start.x, top), Point(0.0f, top), seconds));
    return root;
}

void ToolShedItem::putInBox(ToolShedToolBox& box, Point offset)
{
    showRollover(false);
    mInBox = true;
    // Put down, the carried subtree takes back the hit tests it had; in a box it takes none.
    PutDown(box.getContentsNode(), offset);
    acceptMouseInput(false);
    PlaySound(Names::kIntoBox);
}

void ToolShedItem::pickUp(int x, int y)
{
    showRollover(false);
    PickUp(LayoutRoot(), Strata::RootDescendent(kFXLayerPath), x, y);
}

void ToolShedItem::DoOnStartDragging()
{
    PlaySound(Names::kPickUp);
    acceptMouseInput(false);
    pressedSignal();
}

void ToolShedItem::DoOnCancel()
{
    HeldDragSource<ToolShedItem*>::DoOnCancel();
    acceptMouseInput(true);
    arrivedSignal(nullptr);
}

void ToolShedItem::DoOnReleased()
{
    HeldDragSource<ToolShedItem*>::DoOnReleased();
    acceptMouseInput(true);
    if (!mInBox)
        arrivedSignal(nullptr);
}

} // namespace Yardcrew
