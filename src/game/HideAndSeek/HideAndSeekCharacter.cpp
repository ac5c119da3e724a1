#include "game/HideAndSeek/HideAndSeekCharacter.h"

#include "framework/ObjectDatabase.h"
#include "game/HideAndSeek/HideAndSeekContent.h"
#include "game/HideAndSeek/HideAndSeekObstacle.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>

namespace Yardcrew
{

namespace
{

namespace Names = HideAndSeekContent;
using Point = Strata::Vector2<float>;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};

// The cat stops this far above an obstacle's top-left corner.
constexpr float kHideRise = 10.0f;

HideAndSeekObstacle* FindObstacle(Strata::ObjectID id)
{
    Strata::ObjectDatabase* db = Strata::GetObjectDatabase();
    return db != nullptr ? dynamic_cast<HideAndSeekObstacle*>(db->GetObject(id)) : nullptr;
}

} // namespace

HideAndSeekCharacter::HideAndSeekCharacter(std::vector<Strata::ObjectID> obstacles, int numPreviewHides, float runSpeed,
                                           bool showTail)
    : PlayfieldObject(Names::kCharacterLayout.name), mObstacles(std::move(obstacles)), mRunSpeed(runSpeed),
      mShowTail(showTail), mNumPreviewHides(numPreviewHides)
{
    setAnimation(Names::kTabbyIdle);
    if (Strata::SceneNode* root = LayoutRoot())
        root->LocalSetLocation(GameConstant<Point>(Names::kStartLocation.name));
    setupNewHideSequence();
}

Strata::Label HideAndSeekCharacter::GetName() const
{
    static const Strata::Label kName("HideAndSeek_Character");
    return kName;
}

Strata::SceneNode* HideAndSeekCharacter::getImageNode() const
{
    return LayoutNode(kImagePath);
}

void HideAndSeekCharacter::setAnimation(const char* animation)
{
    if (auto* image = dynamic_cast<Strata::AnimatedSpriteNode*>(getImageNode()))
        image->SetAnimation(Strata::Label(animation), false);
}

void HideAndSeekCharacter::setupNewHideSequence()
{
    mHideCount = 0;
    mPath.clear();
    if (Strata::SceneNode* root = LayoutRoot())
        mPath.push_back(root->LocalGetLocation());
    for (int run = 0; run < mNumPreviewHides; ++run)
        QueueCall(*this, [this] { selectNewObstacle(); });
}

void HideAndSeekCharacter::selectNewObstacle()
{
    Strata::ObjectDatabase* db = Strata::GetObjectDatabase();
    if (db == nullptr)
        return;
    // Only the obstacles still there; one draw among those it is not at, so the pick always ends.
    const std::vector<HideAndSeekObstacle*> alive = LiveObjects<HideAndSeekObstacle>(*db, mObstacles);
    const auto at =
        std::find_if(alive.begin(), alive.end(),
                     [this](const HideAndSeekObstacle* obstacle) { return obstacle->GetID() == mCurrentObstacle; });
    const int index = DrawIndexOtherThan(static_cast<int>(alive.size()), static_cast<int>(at - alive.begin()));
    if (index < 0)
        return;
    HideAndSeekObstacle* next = alive[static_cast<size_t>(index)];
    mCurrentObstacle = next->GetID();
    animateToObstacle(*next);
}

void HideAndSeekCharacter::animateToObstacle(HideAndSeekObstacle& obstacle)
{
    Strata::SceneNode* root = LayoutRoot();
    Strata::SceneNode* target = obstacle.LayoutRoot();
    Strata::SceneNode* layer = root != nullptr ? root->GetParent() : nullptr;
    if (target == nullptr || layer == nullptr || mPath.empty())
        return;
    // The layer draws in list order: first, the cat is behind every obstacle.
    root->MoveToBottomOfParent();
    const Strata::Rect<float>& bounds = target->GlobalGetBounds();
    const Strata::Rect<float>& origin = layer->GlobalGetBounds();
    const Point to(bounds.x - origin.x, bounds.y - origin.y - kHideRise);
    const Point from = mPath.back();
    mPath.push_back(to);
    setAnimation(Names::kTabbyRun);
    const bool left = to.x < from.x;
    QueueCall(*root,
              [this, left]
              {
                  if (Strata::SceneNode* image = getImageNode())
                      image->LocalSetFlipH(left);
              });
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(to, TravelSeconds(from, to, mRunSpeed)));
    QueueCall(*root, [this] { hideComplete(); });
    Meet({root, this});
}

void HideAndSeekCharacter::hideComplete()
{
    if (++mHideCount < mNumPreviewHides)
        return;
    // The sequence is over: behind the last obstacle.
    mHidden = true;
    if (Strata::SceneNode* root = LayoutRoot())
        root->LocalSetVisible(false);
    HideAndSeekObstacle* obstacle = FindObstacle(mCurrentObstacle);
    if (obstacle != nullptr && mShowTail)
        obstacle->showTail(true);
    arrivedSignal(obstacle);
}

void HideAndSeekCharacter::getFound()
{
    mHidden = false;
    setAnimation(Names::kTabbyIdle);
    if (Strata::SceneNode* root = LayoutRoot())
        root->LocalSetVisible(true);
}

void HideAndSeekCharacter::runOffScreen()
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr)
        return;
    const Point to = GameConstant<Point>(Names::kEndLocation.name);
    const Point from = root->LocalGetLocation();
    setAnimation(Names::kTabbyRun);
    if (Strata::SceneNode* image = getImageNode())
        image->LocalSetFlipH(to.x < from.x);
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(to, TravelSeconds(from, to, mRunSpeed)));
    Meet({root, this});
}

} // namespace Yardcrew
