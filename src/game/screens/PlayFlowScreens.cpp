#include "game/screens/PlayFlowScreens.h"

#include "framework/ResourceDescriptor.h"
#include "game/LevelManager.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/ScreenSupport.h"
#include "game/screens/StickerUnlockMode.h"
#include "graphics/ImageList.h"
#include "scene/ButtonNode.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <string>

namespace Yardcrew
{

void RegisterPlayFlowScreens(LevelManager& levels)
{
    StoryScreenConstructors screens = levels.getStoryScreens();
    screens.stickerUnlock = [](int stickerIndex) { return std::make_unique<StickerUnlockMode>(stickerIndex); };
    screens.freePlaySelect = [] { return std::make_unique<FreePlaySelectMode>(); };
    screens.quitConfirm = [](bool inGame) { return std::make_unique<QuitConfirmMode>(inGame); };
    levels.setStoryScreenConstructors(std::move(screens));
}

const char* PlayFlowLanguageSuffix()
{
    return ProfileSpeaksEnglish() ? "_EN" : "_SP";
}

void ShowLocalizedImage(Strata::SceneNode* root, Strata::NodePath path, const char* base)
{
    Strata::SceneNode* node = root != nullptr ? root->GetDescendent(path) : nullptr;
    if (node == nullptr)
        return;
    const std::string name = std::string(base) + PlayFlowLanguageSuffix();
    if (auto* sprite = dynamic_cast<Strata::StaticSpriteNode*>(node))
        sprite->setImage(Strata::Label(name.c_str()));
    else if (auto* button = dynamic_cast<Strata::ButtonNode*>(node))
    {
        const Strata::AutoResource<Strata::IImageList> images(name.c_str());
        // Single images, one per state: the width only matters to three-slice strips.
        button->SetImages(images.Get(), 0.0f, images.GetDescriptor());
    }
}

} // namespace Yardcrew
