#include "game/HammerTheNail/TargetNail.h"

#include "game/HammerTheNail/DraggableTool.h"
#include "game/HammerTheNail/HammerTheNailContent.h"
#include "scene/SpriteNodes.h"

#include <string>

namespace Yardcrew
{

namespace
{

const Strata::NodePathStep kShapePath[] = {"shapeNode", Strata::NodePathTerminator()};

} // namespace

TargetNail::TargetNail(FixItToolType type, FixItToolColor color, int32_t clickCount)
    : PlayfieldObject(HammerTheNailContent::kNailLayout.name), mType(type), mColor(color), mStrokesLeft(clickCount)
{
    showStrokes();
    if (Strata::SceneNode* shape = getShapeNode())
        shape->hitTest = true;
}

Strata::Label TargetNail::GetRole() const
{
    static const Strata::Label kRole("HammerTheNail_Nail");
    return kRole;
}

Strata::SceneNode* TargetNail::getShapeNode() const
{
    return LayoutNode(kShapePath);
}

bool TargetNail::fits(const DraggableTool& tool) const
{
    return tool.getType() == mType && tool.getColor() == mColor;
}

void TargetNail::showStrokes()
{
    auto* shape = dynamic_cast<Strata::StaticSpriteNode*>(getShapeNode());
    if (shape == nullptr || mType < 0 || mType >= FixItToolType_Count || mColor < 0 || mColor >= FixItToolColor_Count)
        return;
    shape->setImage(Strata::Label::FromString(std::string(HammerTheNailContent::kNailPrefix) +
                                              kFixItToolTypeNames[mType] + "_" + kFixItToolColorNames[mColor]),
                    mStrokesLeft > 0 ? mStrokesLeft : 0);
}

void TargetNail::decreaseNailSize()
{
    --mStrokesLeft;
    showStrokes();
}

bool TargetNail::UseInPlace(DraggableTool* tool)
{
    // Whatever the game makes of the stroke, the tool stays in hand.
    struckSignal(tool);
    return true;
}

} // namespace Yardcrew
