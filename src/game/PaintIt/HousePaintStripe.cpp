#include "game/PaintIt/HousePaintStripe.h"

#include "game/MiniGameSequence.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

namespace Yardcrew
{

namespace
{

namespace Names = PaintItContent;

const Strata::NodePathStep kImagePath[] = {"imageNode", Strata::NodePathTerminator()};
const Strata::NodePathStep kRolloverPath[] = {"imageNode", "rollover", Strata::NodePathTerminator()};

bool IsColor(HousePaintColor color)
{
    return color >= 0 && color < HousePaintColor_Count;
}

} // namespace

HousePaintStripe::HousePaintStripe(HousePaintColor color, bool painted)
    : PlayfieldObject(Names::kStripeLayout.name), mColor(color), mShown(color), mPainted(painted)
{
    if (auto* image = dynamic_cast<Strata::AnimatedSpriteNode*>(getImageNode()); image != nullptr && IsColor(color))
    {
        image->SetSpriteType(Strata::Label(Names::kFences[color].name));
        image->SetAnimation(Strata::Label(painted ? Names::kBoardPainted : Names::kBoardUnpainted), false);
    }
    showRollover(false);
}

Strata::Label HousePaintStripe::GetRole() const
{
    static const Strata::Label kRole("PaintIt_PaintStripe");
    return kRole;
}

Strata::SceneNode* HousePaintStripe::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* HousePaintStripe::getRolloverNode() const
{
    return LayoutNode(kRolloverPath);
}

void HousePaintStripe::showRollover(bool show)
{
    if (Strata::SceneNode* rollover = getRolloverNode())
        rollover->LocalSetVisible(show);
}

void HousePaintStripe::startPainting(HousePaintColor color)
{
    auto* image = dynamic_cast<Strata::AnimatedSpriteNode*>(getImageNode());
    if (image == nullptr || !IsColor(color))
        return;
    mShown = color;
    image->SetSpriteType(Strata::Label(Names::kFences[color].name));
    image->SetAnimation(Strata::Label(Names::kBoardUnpainted), false);
    playPaintAnimation("AddPaint");
}

void HousePaintStripe::removePaint()
{
    playPaintAnimation("RemovePaint");
}

void HousePaintStripe::playPaintAnimation(const char* animation)
{
    Strata::SceneNode* image = getImageNode();
    if (image == nullptr)
        return;
    Meet({image, this});
    image->AddTask(PlayEffectTask(Names::kPaint.name));
    image->AddTask(PlayAnimationTask(animation));
    Meet({image, this});
}

} // namespace Yardcrew
