#include "game/PaintIt/HousePaintBucket.h"

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
    ConnectClickTarget(*image, kRolloverPath, Names::kClick.name, Names::kRollover.name);
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
