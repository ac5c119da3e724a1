#include "game/PileOfLeaves/Leaf.h"

#include "core/Angle.h"
#include "core/Random.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/TimedTask.h"
#include "game/MiniGamePattern.h"
#include "game/PileOfLeaves/PileOfLeavesContent.h"
#include "graphics/ImageList.h"
#include "scene/NodeMotionTasks.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <cmath>

namespace Yardcrew
{

namespace
{

namespace Names = PileOfLeavesContent;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};

// Off the left edge, where every leaf waits before it blows in.
const Strata::Vector2<float> kStart(-200.0f, 300.0f);

} // namespace

Leaf::Leaf(int x, int y, int radius) : PlayfieldObject(Names::kLeafLayout.name), mRadius(radius), mRest(x, y)
{
    if (auto* image = dynamic_cast<Strata::StaticSpriteNode*>(LayoutNode(kImagePath)))
    {
        const Strata::AutoResource<Strata::IImageList> list(Names::kLeaves.name);
        const int pictures = list.Get() != nullptr ? list->GetNumImages() : 0;
        if (pictures > 0)
            image->setImage(Strata::Label(Names::kLeaves.name), Strata::Random::GetIntRange(pictures - 1));
        image->LocalSetOrientation(Strata::Angle::FromDegrees(static_cast<float>(Strata::Random::GetIntRange(360))));
    }
    if (Strata::SceneNode* root = LayoutRoot())
        root->LocalSetLocation(kStart);
}

Strata::Label Leaf::GetRole() const
{
    static const Strata::Label kRole("PileOfLeaves_Leaf");
    return kRole;
}

void Leaf::flyToStablePosition()
{
    Strata::SceneNode* root = LayoutRoot();
    if (root == nullptr)
        return;
    const Strata::Vector2<float> rest(static_cast<float>(mRest.x), static_cast<float>(mRest.y));
    const float seconds = TravelSeconds(root->LocalGetLocation(), rest, GameConstant<float>(Names::kLeafSpeed.name));
    root->AddTask(std::make_unique<Strata::TimedTask>(
        Strata::Random::GetFloatRange(std::max(GameConstant<float>(Names::kLeafDelayMax.name), 0.0f))));
    root->AddTask(std::make_unique<Strata::NodeLocationTask>(rest, seconds));
}

bool Leaf::placeFor(const Strata::Vector2<int>& pointer, Strata::Vector2<int>& place) const
{
    const int dx = mRest.x - pointer.x;
    const int dy = mRest.y - pointer.y;
    if (mRadius <= 0)
        return false;
    place = mRest;
    if (dx == 0 && dy == 0)
    {
        // Straight on the leaf: it has no way to go but one, and goes the whole radius.
        place.x += mRadius;
        return true;
    }
    if (dx < -mRadius || dx > mRadius || dy < -mRadius || dy > mRadius)
        return false;
    const long long square = static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy;
    if (square < static_cast<long long>(mRadius) * mRadius)
    {
        const int length = static_cast<int>(std::sqrt(static_cast<double>(square)));
        const int push = mRadius - length;
        // Whole pixels, as the pointer's are; length is at least 1 here.
        place.x += dx * push / length;
        place.y += dy * push / length;
    }
    return true;
}

void Leaf::Update(float)
{
    // Most leaves of a deep pile are far from the pointer: the arithmetic goes before the node lookup.
    Strata::Vector2<int> place;
    if (!mTracking || !placeFor(Strata::MainLoop::GetLastMousePos(), place))
        return;
    Strata::SceneNode* root = LayoutRoot();
    // While the leaf is still blowing in, its flight goes first.
    if (root == nullptr || root->GetTaskQueue().GetTask(0) != nullptr)
        return;
    // A leaf that stays put leaves its node clean: a deep pile is hundreds of leaves every update.
    const Strata::Vector2<float> at(static_cast<float>(place.x), static_cast<float>(place.y));
    if (root->LocalGetLocation() != at)
        root->LocalSetLocation(at);
}

} // namespace Yardcrew
