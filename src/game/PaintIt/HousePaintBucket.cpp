#include "game/PaintIt/HousePaintBucket.h"

#include "game/AudioManager.h"
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

} // namespace

HousePaintBucket::HousePaintBucket(HousePaintColor color) : PlayfieldObject(Names::kBucketLayout.name), mColor(color)
{
    auto* image = dynamic_cast<Strata::StaticSpriteNode*>(getImageNode());
    if (image == nullptr)
        return;
    if (color >= 0 && color < HousePaintColor_Count)
        image->setImage(Strata::Label(Names::kBuckets.name), color);
    // The nodes live no longer than this controller: the tree and the controller end together. Only the
    // press picks the colour; the release does nothing.
    image->mouseDownSignal.connect(
        [this](Strata::SceneNode*, Strata::MouseButton, int, int)
        {
            GetAudioManager()->playSFX(Strata::Label(Names::kClick.name));
            pressedSignal();
        });
    image->mouseEnterSignal.connect(
        [this](Strata::SceneNode*)
        {
            GetAudioManager()->playSFX(Strata::Label(Names::kRollover.name));
            if (Strata::SceneNode* rollover = getRolloverNode())
                rollover->LocalSetVisible(true);
        });
    image->mouseExitSignal.connect(
        [this](Strata::SceneNode*)
        {
            if (Strata::SceneNode* rollover = getRolloverNode())
                rollover->LocalSetVisible(false);
        });
    if (Strata::SceneNode* rollover = getRolloverNode())
        rollover->LocalSetVisible(false);
    acceptMouseInput(true);
}

Strata::SceneNode* HousePaintBucket::getImageNode() const
{
    return LayoutNode(kImagePath);
}

Strata::SceneNode* HousePaintBucket::getRolloverNode() const
{
    return LayoutNode(kRolloverPath);
}

void HousePaintBucket::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = getImageNode())
        image->hitTest = accept;
}

} // namespace Yardcrew
