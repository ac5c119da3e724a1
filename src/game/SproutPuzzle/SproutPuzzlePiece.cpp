#include "game/SproutPuzzle/SproutPuzzlePiece.h"

#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/SproutPuzzle/SproutPuzzleContent.h"
#include "game/SproutPuzzle/SproutPuzzlePieceSlot.h"
#include "game/YardcrewNames.h"
#include "scene/NodeEffects.h"
#include "scene/NodeMotionTasks.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = SproutPuzzleContent;
using Point = Strata::Vector2<float>;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};

// A point hits the piece only where its picture is this opaque, so the corners its neighbours' tabs
// fill reach the piece below.
constexpr int32_t kAlphaHitThreshold = 100;
// The glide back to the tray.
constexpr float kReturnSeconds = 0.3f;

void PlaySound(const sContentName& sound)
{
    GetAudioManager()->playSFX(Strata::Label(sound.name));
}

} // namespace

SproutPuzzlePiece::SproutPuzzlePiece(int index, Strata::Label pieces)
    : PlayfieldObject(Names::kPieceLayout.name), HeldDragSource<SproutPuzzlePiece*>(this), mIndex(index)
{
    GetHeldItem().SetReturnSeconds(kReturnSeconds);
    auto* image = dynamic_cast<Strata::StaticSpriteNode*>(getImageNode());
    if (image == nullptr)
        return;
    image->setImage(pieces, index);
    image->alphaSensitivity = kAlphaHitThreshold;
    // The nodes live no longer than this controller: the tree and the controller end together.
    image->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int x, int y) { pickUp(x, y); });
    image->mouseEnterSignal.connect(
        [](Strata::SceneNode* node)
        {
            // Pieces passed over while another is carried stay still.
            if (GetHeldDragSource() != nullptr)
                return;
            PlaySound(Names::kRollover);
            node->AddTask(Strata::getNodeItemPickUpAnimTask());
        });
    // Loose pieces take clicks once the game has scattered them.
    acceptMouseInput(false);
}

Strata::Label SproutPuzzlePiece::GetRole() const
{
    static const Strata::Label kRole("SproutPuzzle_Piece");
    return kRole;
}

Strata::SceneNode* SproutPuzzlePiece::getImageNode() const
{
    return LayoutNode(kImagePath);
}

void SproutPuzzlePiece::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept && !mPlaced;
}

Strata::SceneNode* SproutPuzzlePiece::scatterTo(Strata::SceneNode& spot, float delay, float seconds)
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr)
        return nullptr;
    // It leaves from where it stands on screen.
    const Point global = root->LocalToGlobalPoint(root->LocalGetLocation());
    spot.AttachChild(root);
    root->LocalSetLocation(root->GlobalToLocalPoint(global));
    root->AddTask(std::make_unique<Strata::TimedTask>(delay));
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(Point(), seconds));
    return root;
}

void SproutPuzzlePiece::pickUp(int x, int y)
{
    if (!mPlaced)
        PickUp(LayoutRoot(), Strata::RootDescendent(kFXLayerPath), x, y);
}

void SproutPuzzlePiece::snapInto(SproutPuzzlePieceSlot& slot)
{
    mPlaced = true;
    PutDown(slot.LayoutRoot(), Point());
    acceptMouseInput(false);
    PlaySound(Names::kSnap);
}

void SproutPuzzlePiece::DoOnStartDragging()
{
    acceptMouseInput(false);
    PlaySound(Names::kPickUp);
    pressedSignal();
}

void SproutPuzzlePiece::DoOnCancel()
{
    HeldDragSource<SproutPuzzlePiece*>::DoOnCancel();
    acceptMouseInput(true);
    arrivedSignal(nullptr);
}

void SproutPuzzlePiece::DoOnReleased()
{
    HeldDragSource<SproutPuzzlePiece*>::DoOnReleased();
    acceptMouseInput(true);
    if (mPlaced)
        return;
    // Turned away by a slot: it wobbles on its way back.
    if (Strata::SceneNode* image = getImageNode())
        image->AddTask(Strata::getNodeErrorShakeTask());
    arrivedSignal(nullptr);
}

} // namespace Yardcrew
