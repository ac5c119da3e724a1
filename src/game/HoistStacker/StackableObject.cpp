#include "game/HoistStacker/StackableObject.h"

#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/HoistStacker/HoistStackerContent.h"
#include "game/HoistStacker/StackingTarget.h"
#include "game/MiniGameSequence.h"
#include "game/YardcrewNames.h"
#include "scene/NodeEffects.h"
#include "scene/NodeMotionTasks.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = HoistStackerContent;
using Point = Strata::Vector2<float>;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"imageNode", "rollover", Strata::NodePathTerminator()};

// A point hits the object only where its picture is this opaque.
constexpr int32_t kAlphaHitThreshold = 100;
// The flight back from a stack, after the wobble.
constexpr float kReturnSeconds = 1.0f;

void PlaySound(const sContentName& sound)
{
    GetAudioManager()->playSFX(Strata::Label(sound.name));
}

bool IsKnown(const StackableObjectData& data)
{
    return data.color >= 0 && data.color < StackObjectColor_Count && data.size >= 1 &&
           data.size <= kHoistStackerMaxSize;
}

// Any kind but a log is a girder.
int KindIndex(StackObjectType type)
{
    return type == StackObjectType_Log ? StackObjectType_Log : StackObjectType_Girder;
}

} // namespace

StackableObject::StackableObject(const StackableObjectData& data, Strata::SceneNode* ground)
    : PlayfieldObject(Names::kObjectLayout.name), HeldDragSource<StackableObject*>(this), mData(data), mGround(ground)
{
    showPicture(LayoutRoot());
    if (auto* rollover = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kRolloverPath));
        rollover != nullptr && IsKnown(data))
        rollover->setImage(Strata::Label(Names::kRollovers[KindIndex(data.type)].name), data.size - 1);
    setRolloverVisible(false);
    Strata::SceneNode* image = getImageNode();
    if (image == nullptr)
        return;
    if (auto* sprite = dynamic_cast<Strata::StaticSpriteNode*>(image))
        sprite->alphaSensitivity = kAlphaHitThreshold;
    // The nodes live no longer than this controller: the tree and the controller end together.
    image->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int x, int y) { pickUp(x, y); });
    image->mouseEnterSignal.connect(
        [this](Strata::SceneNode*)
        {
            PlaySound(Names::kRollover);
            setRolloverVisible(true);
        });
    image->mouseExitSignal.connect([this](Strata::SceneNode*) { setRolloverVisible(false); });
    acceptMouseInput(true);
}

Strata::Label StackableObject::GetRole() const
{
    static const Strata::Label kRole("HoistStacker_StackableObject");
    return kRole;
}

Strata::SceneNode* StackableObject::getImageNode() const
{
    return LayoutNode(kImagePath);
}

void StackableObject::showPicture(Strata::SceneNode* root) const
{
    auto* image = root != nullptr ? dynamic_cast<Strata::StaticSpriteNode*>(root->GetDescendent(kImagePath)) : nullptr;
    if (image != nullptr && IsKnown(mData))
        image->setImage(Strata::Label(Names::kPictures[KindIndex(mData.type)][mData.color].name), mData.size - 1);
}

void StackableObject::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept;
}

void StackableObject::setRolloverVisible(bool visible)
{
    if (Strata::SceneNode* rollover = LayoutNode(kRolloverPath))
        rollover->LocalSetVisible(visible);
}

int StackableObject::getCorrectStackIndex()
{
    if (mCorrectStackIndex >= 0)
        return mCorrectStackIndex;
    mCorrectStackIndex = 0;
    if (Strata::ObjectDatabase* database = Strata::GetObjectDatabase())
        for (Strata::ObjectID id : database->GetObjectsWithRole(GetRole()))
        {
            const auto* other = dynamic_cast<const StackableObject*>(database->GetObject(id));
            mCorrectStackIndex +=
                other != nullptr && other->mData.color == mData.color && other->mData.size > mData.size;
        }
    return mCorrectStackIndex;
}

void StackableObject::pickUp(int x, int y)
{
    const Strata::AutoResource<Strata::SceneLayout> layout(Names::kObjectLayout.name);
    Strata::SceneTreePtr copy = layout.Get() != nullptr ? layout->InstantiateLayout(nullptr) : nullptr;
    if (!copy)
        return;
    showPicture(copy.get());
    if (Strata::SceneNode* rollover = copy->GetDescendent(kRolloverPath))
        rollover->LocalSetVisible(false);
    PickUpCopy(std::move(copy), LayoutRoot(), Strata::RootDescendent(kFXLayerPath), x, y);
}

void StackableObject::DoOnStartDragging()
{
    mDroppedOn = nullptr;
    mRefused = false;
    acceptMouseInput(false);
    PlaySound(Names::kStick);
    if (Strata::SceneNode* image = getImageNode())
        image->LocalSetAlpha(0.0f);
    pressedSignal();
}

void StackableObject::DoOnCancel()
{
    HeldDragSource<StackableObject*>::DoOnCancel();
    acceptMouseInput(true);
    if (Strata::SceneNode* image = getImageNode())
        image->LocalSetAlpha(1.0f);
    arrivedSignal(nullptr);
}

void StackableObject::DoOnReleased()
{
    // The copy under the pointer goes with the carry; a turned-away object leaves from where it was.
    Strata::SceneNode* copy = GetHeldItem().GetCarriedNode();
    const bool refused = mRefused && copy != nullptr;
    const Point from = copy != nullptr ? copy->LocalToGlobalPoint(copy->LocalGetLocation()) : Point();
    mRefused = false;
    HeldDragSource<StackableObject*>::DoOnReleased();
    // On a stack it takes clicks only through its platform.
    acceptMouseInput(mPlace == Place::Ground);
    if (Strata::SceneNode* image = getImageNode())
        image->LocalSetAlpha(1.0f);
    StackingTarget* platform = mDroppedOn;
    mDroppedOn = nullptr;
    if (refused)
        flyHomeFrom(from);
    arrivedSignal(platform);
}

void StackableObject::moveToStack(StackingTarget& platform, bool silent)
{
    Strata::SceneNode* point = platform.getCurrentStackingPoint();
    Strata::SceneNode* root = LayoutRoot();
    if (point == nullptr || root == nullptr)
        return;
    if (!silent)
        PlaySound(Names::kDrop);
    mPlace = Place::Stack;
    mCorrectlyPlaced = static_cast<int>(platform.getStack().size()) == getCorrectStackIndex();
    mDroppedOn = &platform;
    point->AttachChild(root);
}

void StackableObject::pickupFromStack(int x, int y)
{
    // The copy starts on the stack, where the pointer took it; the object itself waits on the ground.
    mPlace = Place::Ground;
    mCorrectlyPlaced = false;
    setRolloverVisible(false);
    pickUp(x, y);
    if (Strata::SceneNode* root = LayoutRoot(); root != nullptr && mGround != nullptr)
    {
        mGround->AttachChild(root);
        root->LocalSetLocation(Point());
    }
}

void StackableObject::returnToGround()
{
    // It leaves from where it stands on screen.
    if (Strata::SceneNode* root = LayoutRoot())
        flyHomeFrom(root->LocalToGlobalPoint(root->LocalGetLocation()));
}

void StackableObject::flyHomeFrom(Point global)
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr || mGround == nullptr)
        return;
    setRolloverVisible(false);
    acceptMouseInput(false);
    mPlace = Place::Falling;
    mCorrectlyPlaced = false;
    mGround->AttachChild(root);
    const Point from = root->GlobalToLocalPoint(global);
    root->LocalSetLocation(from);
    root->AddTask(Strata::getNodeErrorShakeTask());
    root->AddTask(std::make_unique<Strata::NodeBezierLocationTask>(Point(), Point(0.5f * from.x, 1.3f * from.y),
                                                                   Point(0.0f, from.x / 5.0f), kReturnSeconds));
    QueueCall(*root, [this] { land(); });
}

void StackableObject::land()
{
    mPlace = Place::Ground;
    acceptMouseInput(true);
    PlaySound(Names::kDrop);
}

} // namespace Yardcrew
