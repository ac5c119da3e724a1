#include "game/PlanAJob/JobSequenceItem.h"

#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/PlanAJob/PlanAJobContent.h"
#include "game/YardcrewNames.h"
#include "scene/NodeEffects.h"
#include "scene/NodeMotionTasks.h"
#include "scene/SceneLayout.h"
#include "scene/SpriteNodes.h"

#include <memory>
#include <utility>

namespace Yardcrew
{

namespace
{

namespace Names = PlanAJobContent;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"rollover", Strata::NodePathTerminator()};

constexpr float kReturnSeconds = 0.3f;

std::optional<Strata::Vector2<float>> CarriedCorner(Strata::SceneNode* copy)
{
    if (copy == nullptr)
        return std::nullopt;
    const Strata::Rect<float>& bounds = copy->GlobalGetBounds();
    return Strata::Vector2<float>(bounds.x, bounds.y);
}

void ShowStep(Strata::SceneNode* node, const std::string& imageList, int32_t step)
{
    if (auto* picture = dynamic_cast<Strata::StaticSpriteNode*>(node))
        picture->setImage(Strata::Label::FromString(imageList), step);
}

} // namespace

JobSequenceItem::JobSequenceItem(std::string imageList, int32_t step)
    : PlayfieldObject(Names::kItemLayout.name), HeldDragSource<JobSequenceItem*>(this),
      mImageList(std::move(imageList)), mStep(step)
{
    Strata::SceneNode* image = getImageNode();
    if (image == nullptr)
        return;
    ShowStep(image, mImageList, mStep);
    // The nodes live no longer than this controller: the tree and the controller end together.
    image->mouseDownSignal.connect(
        [this](Strata::SceneNode*, Strata::MouseButton, int x, int y)
        {
            mPressedAt = Strata::Vector2<int>(x, y);
            pressedSignal();
        });
    ConnectRollover(*image, kRolloverPath, Names::kRollover.name);
    acceptMouseInput(true);
}

Strata::Label JobSequenceItem::GetRole() const
{
    static const Strata::Label kRole("PlanAJob_DropItem");
    return kRole;
}

Strata::SceneNode* JobSequenceItem::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* JobSequenceItem::getCarriedCopy() const
{
    return const_cast<JobSequenceItem*>(this)->GetHeldItem().GetCarriedNode();
}

void JobSequenceItem::showRollover(bool show)
{
    if (Strata::SceneNode* rollover = LayoutNode(kRolloverPath))
        rollover->LocalSetVisible(show);
}

void JobSequenceItem::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept;
}

void JobSequenceItem::pickUp()
{
    const Strata::AutoResource<Strata::SceneLayout> layout(Names::kItemLayout.name);
    Strata::SceneTreePtr copy = layout.Get() != nullptr ? layout->InstantiateLayout(nullptr) : nullptr;
    if (!copy || isHeld())
        return;
    // One picture under the pointer at a time: the one carried before goes back first.
    if (DragSource<JobSequenceItem*>* held = GetHeldDragSource_Mutable())
        held->Release();
    ShowStep(copy->GetDescendent(kImagePath), mImageList, mStep);
    if (Strata::SceneNode* rollover = copy->GetDescendent(kRolloverPath))
        rollover->LocalSetVisible(false);
    PickUpCopy(std::move(copy), LayoutRoot(), Strata::RootDescendent(kFXLayerPath), mPressedAt.x, mPressedAt.y);
    if (Strata::SceneNode* carried = getCarriedCopy())
        carried->AddTask(Strata::getNodeItemPickUpAnimTask());
}

void JobSequenceItem::startErrorShake()
{
    if (!isHeld())
        return;
    mShakeOnReturn = true;
    Cancel();
}

bool JobSequenceItem::UseInPlace(JobSequenceItem* held)
{
    if (held == nullptr || held == this)
        return false;
    // The carried picture holds the pointer, so this one saw no press of its own.
    mPressedAt = Strata::MainLoop::GetLastMousePos();
    pressedSignal();
    return true;
}

void JobSequenceItem::DoOnStartDragging()
{
    GetAudioManager()->playSFX(Strata::Label(Names::kStick.name));
    showRollover(false);
    if (Strata::SceneNode* root = LayoutRoot())
    {
        if (!mHome)
            mHome = root->LocalGetLocation();
        root->LocalSetVisible(false);
    }
    acceptMouseInput(false);
}

void JobSequenceItem::DoOnCancel()
{
    const std::optional<Strata::Vector2<float>> from = CarriedCorner(getCarriedCopy());
    HeldDragSource<JobSequenceItem*>::DoOnCancel();
    putBack(from);
}

void JobSequenceItem::DoOnReleased()
{
    const std::optional<Strata::Vector2<float>> from = CarriedCorner(getCarriedCopy());
    HeldDragSource<JobSequenceItem*>::DoOnReleased();
    putBack(from);
}

void JobSequenceItem::putBack(std::optional<Strata::Vector2<float>> from)
{
    // After a drop the place has destroyed this picture and its nodes, so nothing shows again.
    Strata::SceneNode* root = LayoutRoot();
    if (root != nullptr)
    {
        root->LocalSetVisible(true);
        root->RemoveAllTasks();
        if (from && mHome && !GetHeldItem().IsYielding())
        {
            // Shown where the copy was, so the picture visibly leaves that place for its own.
            const Strata::Rect<float>& bounds = root->GlobalGetBounds();
            root->LocalSetLocation(root->LocalGetLocation() + (*from - Strata::Vector2<float>(bounds.x, bounds.y)));
            if (mShakeOnReturn)
                root->AddTask(Strata::getNodeErrorShakeTask());
            root->AddTask(std::make_unique<Strata::NodeLocationTask>(*mHome, kReturnSeconds));
        }
        else if (mHome)
        {
            root->LocalSetLocation(*mHome);
        }
    }
    mShakeOnReturn = false;
    acceptMouseInput(true);
    arrivedSignal(nullptr);
}

} // namespace Yardcrew
