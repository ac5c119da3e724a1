#include "game/PlayfieldObject.h"

#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

namespace Yardcrew
{

PlayfieldObject::PlayfieldObject(const char* layout)
{
    const Strata::AutoResource<Strata::SceneLayout> resource(layout);
    if (resource.Get() != nullptr)
        mTree = resource->InstantiateLayout(nullptr);
    if (!mTree)
        Strata::Internal::LogWrite("The layout \"%s\" is missing\n", layout);
}

Strata::SceneTreePtr PlayfieldObject::GetLayoutNode()
{
    return std::move(mTree);
}

Strata::SceneNode* PlayfieldObject::LayoutRoot() const
{
    return mTree ? mTree.get() : GetNode();
}

Strata::SceneNode* PlayfieldObject::LayoutNode(Strata::NodePath path) const
{
    Strata::SceneNode* root = LayoutRoot();
    return root != nullptr ? root->GetDescendent(path) : nullptr;
}

void PlayfieldObject::ConnectRollover(Strata::SceneNode& target, Strata::NodePath rollover, const char* sound)
{
    const auto show = [this, rollover](bool shown)
    {
        if (Strata::SceneNode* node = LayoutNode(rollover))
            node->LocalSetVisible(shown);
    };
    show(false);
    // The nodes live no longer than this object: the tree and the controller end together.
    target.mouseEnterSignal.connect(
        [show, sound](Strata::SceneNode*)
        {
            show(true);
            GetAudioManager()->playSFX(Strata::Label(sound));
        });
    target.mouseExitSignal.connect([show](Strata::SceneNode*) { show(false); });
}

void PlayfieldObject::ConnectClickTarget(Strata::SceneNode& target, Strata::NodePath rollover, const char* clickSound,
                                         const char* rolloverSound)
{
    ConnectRollover(target, rollover, rolloverSound);
    target.mouseDownSignal.connect(
        [this, clickSound](Strata::SceneNode*, Strata::MouseButton, int, int)
        {
            GetAudioManager()->playSFX(Strata::Label(clickSound));
            pressedSignal();
        });
}

} // namespace Yardcrew
