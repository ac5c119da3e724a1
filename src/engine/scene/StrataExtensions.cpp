#include "scene/StrataExtensions.h"

#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNodeFactories.h"
#include "scene/SceneNodeFactory.h"
#include "scene/SpriteAnimation.h"
#include "scene/SpriteType.h"

#include <memory>

namespace Strata
{

void SetupStrataExtensions()
{
    ResourceManager* resources = GetResourceManager();
    resources->AddResourceFactory(L"spriteanimationlist", new SpriteAnimationListResourceFactory());
    resources->AddResourceFactory(L"spritetype", new SpriteTypeResourceFactory());
    resources->AddResourceFactory(L"scenelayout", new SceneLayoutResourceFactory());
    resources->AddResourceFactory(L"randomrange", new RandomRangeResourceFactory());

    SceneLayoutManager& layouts = SceneLayoutManager::Instance();
    layouts.AddSceneNodeFactory(L"sceneref", std::make_unique<SceneRefFactory>());
    layouts.AddSceneNodeFactory(L"scenenode", std::make_unique<BasicSceneNodeFactory>());
}

} // namespace Strata
