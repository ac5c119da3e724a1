#include "game/HammerTheNail/DraggableTool.h"

#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/Task.h"
#include "game/AudioManager.h"
#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/HammerTheNail/TargetNail.h"
#include "game/MiniGamePattern.h"
#include "game/YardcrewNames.h"
#include "scene/NodeAnimationTask.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneLayout.h"
#include "scene/SpriteNodes.h"

#include <memory>
#include <string>
#include <vector>

namespace Yardcrew
{

namespace
{

namespace Names = HammerTheNailContent;
using Point = Strata::Vector2<float>;

const Strata::NodePathStep kShapePath[] = {"shapeNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"shapeNode", "rolloverNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kWrenchPath[] = {"WrenchAnimNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kDriverPath[] = {"DriverAnimNode", Strata::NodePathTerminator()};

bool IsWrench(FixItToolType type)
{
    return type == FixItToolType_Wrench;
}

bool IsKnown(FixItToolType type, FixItToolColor color)
{
    return type >= 0 && type < FixItToolType_Count && color >= 0 && color < FixItToolColor_Count;
}

void PlaySound(const sContentName& sound)
{
    GetAudioManager()->playSFX(Strata::Label(sound.name));
}

Point Corner(Strata::SceneNode& node)
{
    const Strata::Rect<float>& bounds = node.GlobalGetBounds();
    return Point(bounds.x, bounds.y);
}

// The point of the tool in hand that turns the nail, from the picture's top left: the wrench's jaw at
// the middle of its left end, a screwdriver's tip at the middle of its bottom edge.
Point WorkingPoint(FixItToolType type, Strata::SceneNode& picture)
{
    const Strata::Rect<float>& bounds = picture.GlobalGetBounds();
    static constexpr float kJawDepth = 10.0f;
    static constexpr float kTipInset = 2.0f;
    return IsWrench(type) ? Point(kJawDepth, bounds.height / 2) : Point(bounds.width / 2, bounds.height - kTipInset);
}

} // namespace

DraggableTool::DraggableTool(FixItToolType type, FixItToolColor color)
    : PlayfieldObject(Names::kToolLayout.name), HeldDragSource<DraggableTool*>(this), mType(type), mColor(color)
{
    Strata::SceneNode* shape = getShapeNode();
    if (shape == nullptr)
        return;
    if (IsKnown(type, color))
    {
        if (auto* picture = dynamic_cast<Strata::StaticSpriteNode*>(shape))
            picture->setImage(
                Strata::Label::FromString(std::string(Names::kToolInBoxPrefix) + kFixItToolTypeNames[type]), color);
        if (auto* rollover = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kRolloverPath)))
            rollover->setImage(Strata::Label(Names::kToolRollover.name), type);
    }
    showRollover(false);
    // The nodes live no longer than this controller: the tree and the controller end together.
    shape->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { pressedSignal(); });
    shape->mouseEnterSignal.connect(
        [this](Strata::SceneNode*)
        {
            showRollover(true);
            PlaySound(Names::kRollover);
        });
    shape->mouseExitSignal.connect([this](Strata::SceneNode*) { showRollover(false); });
    acceptMouseInput(true);
}

Strata::SceneNode* DraggableTool::getShapeNode() const
{
    return LayoutNode(kShapePath);
}

Strata::SceneNode* DraggableTool::getAnimatedNode() const
{
    Strata::SceneNode* copy = const_cast<DraggableTool*>(this)->GetHeldItem().GetCarriedNode();
    if (copy == nullptr)
        return nullptr;
    return copy->GetDescendent(IsWrench(mType) ? Strata::NodePath(kWrenchPath) : Strata::NodePath(kDriverPath));
}

void DraggableTool::showRollover(bool show)
{
    if (Strata::SceneNode* rollover = LayoutNode(kRolloverPath))
        rollover->LocalSetVisible(show);
}

void DraggableTool::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* shape = getShapeNode())
        shape->hitTest = accept;
}

void DraggableTool::takeInHand(int x, int y)
{
    const Strata::AutoResource<Strata::SceneLayout> layout(Names::kFloatingToolLayout.name);
    Strata::SceneTreePtr copy = layout.Get() != nullptr ? layout->InstantiateLayout(nullptr) : nullptr;
    if (!copy || !IsKnown(mType, mColor))
        return;
    // One thing under the pointer at a time: a tool already in hand goes back to the box first, though
    // a swap sounds as the pick-up followed by the return to the box.
    DraggableTool* previous = nullptr;
    if (DragSource<DraggableTool*>* held = GetHeldDragSource_Mutable(); held != nullptr && held != this)
    {
        previous = held->GetDragItem();
        if (previous != nullptr)
            previous->mQuietReturn = true;
        held->Release();
        if (previous != nullptr)
            previous->mQuietReturn = false;
    }
    if (IsWrench(mType))
    {
        if (auto* wrench = dynamic_cast<Strata::StaticSpriteNode*>(copy->GetDescendent(kWrenchPath)))
        {
            wrench->setImage(Strata::Label(Names::kWrenchInHand.name), mColor);
            wrench->SetRotateAlignment(Strata::HAlignment_Left, Strata::VAlignment_Middle);
            wrench->LocalSetVisible(true);
        }
    }
    else if (auto* driver = dynamic_cast<Strata::AnimatedSpriteNode*>(copy->GetDescendent(kDriverPath)))
    {
        driver->SetSpriteType(Strata::Label::FromString(
            std::string(Names::kDriverSpritePrefix) + kFixItToolTypeNames[mType] + "_" + kFixItToolColorNames[mColor]));
        driver->SetAnimation(Strata::Label(Names::kDriverNormal), false);
        driver->LocalSetVisible(true);
    }
    PickUpCopy(std::move(copy), getShapeNode(), Strata::RootDescendent(kFXLayerPath), x, y);
    // The press counts at the pointer: the tool hangs from it by the point that works the nail.
    if (Strata::SceneNode* picture = getAnimatedNode())
        GetHeldItem().AimWith(WorkingPoint(mType, *picture) +
                              (Corner(*picture) - Corner(*GetHeldItem().GetCarriedNode())));
    if (previous != nullptr)
        PlaySound(Names::kToolbox);
}

void DraggableTool::DoOnStartDragging()
{
    PlaySound(Names::kStick);
    if (Strata::SceneNode* shape = getShapeNode())
        shape->LocalSetAlpha(0.0f);
    acceptMouseInput(false);
}

void DraggableTool::DoOnCancel()
{
    HeldDragSource<DraggableTool*>::DoOnCancel();
    putBack();
}

void DraggableTool::DoOnReleased()
{
    HeldDragSource<DraggableTool*>::DoOnReleased();
    putBack();
}

void DraggableTool::putBack()
{
    if (!mQuietReturn)
        PlaySound(Names::kToolbox);
    if (Strata::SceneNode* shape = getShapeNode())
        shape->LocalSetAlpha(1.0f);
    acceptMouseInput(true);
    arrivedSignal(nullptr);
}

bool DraggableTool::UseInPlace(DraggableTool* held)
{
    if (held == nullptr || held == this)
        return false;
    // takeInHand puts the one in hand back, after the game has heard of this pick-up.
    pressedSignal();
    return true;
}

Strata::SceneNode* DraggableTool::animateClickOnNail(const TargetNail& nail)
{
    Strata::SceneNode* copy = GetHeldItem().GetCarriedNode();
    Strata::SceneNode* animated = getAnimatedNode();
    Strata::SceneNode* nailRoot = nail.LayoutRoot();
    if (copy == nullptr || animated == nullptr || nailRoot == nullptr)
        return nullptr;
    const float spin = GameConstant<float>(Names::kSpinTime.name);
    const auto offsets =
        GameConstant<std::vector<Point>>((IsWrench(mType) ? Names::kWrenchOffset : Names::kScrewOffset).name);
    const auto strokes = static_cast<size_t>(nail.getStrokesLeft());
    const Point offset = strokes < offsets.size() ? offsets[strokes] : Point();

    PlaySound(Names::kScrew);
    GetHeldItem().SetFollowing(false);
    mHeldLocation = copy->LocalGetLocation();
    copy->LocalSetLocation(mHeldLocation + (Corner(*nailRoot) + offset - Corner(*copy)));
    if (IsWrench(mType))
    {
        // The wrench swings about its jaw at the left edge; the path keeps the jaw on the nail's head.
        animated->LocalSetOrientation(Strata::Angle::FromDegrees(-45.0f));
        auto turn = std::make_unique<Strata::ParallelTask>(Strata::ParallelTaskCompletion_All);
        turn->AddTask(std::make_unique<Strata::NodeOrientationTask>(Strata::Angle::FromDegrees(45.0f), spin));
        if (auto path = GameConstant<std::vector<Point>>(Names::kWrenchCounterRotationPath.name); !path.empty())
            turn->AddTask(std::make_unique<Strata::NodeCatmullRomPathTask>(std::move(path), spin));
        animated->AddTask(std::move(turn));
        animated->AddTask(std::make_unique<Strata::NodeOrientationTask>(Strata::Angle::FromDegrees(0.0f)));
        animated->AddTask(std::make_unique<Strata::NodeLocationTask>(Point()));
    }
    else
    {
        animated->AddTask(std::make_unique<Strata::NodeAnimationTask>(Strata::Label(Names::kDriverRotate),
                                                                      Strata::NodeAnimationTaskCompletion_WhenDone));
    }
    return animated;
}

void DraggableTool::returnToolToCursor()
{
    if (Strata::SceneNode* copy = GetHeldItem().GetCarriedNode())
        copy->LocalSetLocation(mHeldLocation);
    GetHeldItem().SetFollowing(true);
}

} // namespace Yardcrew
