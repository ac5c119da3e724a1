#include "game/CountTheMaterials/DraggableMaterial.h"

#include "game/AudioManager.h"
#include "game/CountTheMaterials/CountTheMaterialsContent.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

namespace Yardcrew
{

namespace
{

bool IsKnown(BuildingMaterial material)
{
    return material >= 0 && material < BuildingMaterial_Count;
}

} // namespace

DraggableMaterial::DraggableMaterial(BuildingMaterial material, int32_t number)
    : PlayfieldObject(CountTheMaterialsContent::kPileLayout.name), mMaterial(material), mNumber(number)
{
    if (LayoutRoot() == nullptr)
        return;
    // Frame n - 1 of a count list shows n items; a frame out of range leaves the picture unset.
    if (IsKnown(material))
    {
        if (auto* image = dynamic_cast<Strata::StaticSpriteNode*>(child("imageNode")))
            image->setImage(Strata::Label(kBuildingMaterialSpriteTypes[material]), number - 1);
        if (auto* highlight = dynamic_cast<Strata::StaticSpriteNode*>(child("highlightNode")))
            highlight->setImage(Strata::Label(kBuildingMaterialRolloverSpriteTypes[material]), number - 1);
    }
    if (Strata::SceneNode* highlight = child("highlightNode"))
        highlight->LocalSetVisible(false);
    setupMouseHandling();
    acceptMouseInput(true);
}

Strata::Label DraggableMaterial::GetRole() const
{
    static const Strata::Label kRole("CountTheMaterials_MaterialObject");
    return kRole;
}

Strata::SceneNode* DraggableMaterial::child(const char* name) const
{
    Strata::SceneNode* root = LayoutRoot();
    return root != nullptr ? root->GetChildByNodeName(Strata::Label(name)) : nullptr;
}

Strata::SceneNode* DraggableMaterial::getImageNode() const
{
    return child("imageNode");
}

Strata::SceneNode* DraggableMaterial::getHighlightNode() const
{
    return child("highlightNode");
}

void DraggableMaterial::acceptMouseInput(bool accept)
{
    if (Strata::SceneNode* image = child("imageNode"))
        image->hitTest = accept;
}

void DraggableMaterial::setupMouseHandling()
{
    Strata::SceneNode* image = child("imageNode");
    if (image == nullptr)
        return;
    // The nodes live no longer than this controller: the tree and the controller end together.
    image->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int) { handleMouseDown(); });
    image->mouseEnterSignal.connect([this](Strata::SceneNode*) { handleMouseEnter(); });
    image->mouseExitSignal.connect([this](Strata::SceneNode*) { handleMouseExit(); });
}

void DraggableMaterial::handleMouseDown()
{
    GetAudioManager()->playSFX(Strata::Label(CountTheMaterialsContent::kSelect.name));
    pressedSignal();
}

void DraggableMaterial::handleMouseEnter()
{
    if (Strata::SceneNode* highlight = child("highlightNode"))
        highlight->LocalSetVisible(true);
    GetAudioManager()->playSFX(Strata::Label(CountTheMaterialsContent::kRollover.name));
}

void DraggableMaterial::handleMouseExit()
{
    if (Strata::SceneNode* highlight = child("highlightNode"))
        highlight->LocalSetVisible(false);
}

} // namespace Yardcrew
