#include "scene/StrataExtensions.h"

#include "framework/ResourceManager.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNodeFactories.h"
#include "scene/SceneNodeFactory.h"

#include <memory>

namespace Strata
{

void SetupStrataExtensions()
{
    GetResourceManager()->AddResourceFactory(L"scenelayout", new SceneLayoutResourceFactory());

    SceneLayoutManager& layouts = SceneLayoutManager::Instance();
    layouts.AddSceneNodeFactory(L"sceneref", std::make_unique<SceneRefFactory>());
    layouts.AddSceneNodeFactory(L"scenenode", std::make_unique<BasicSceneNodeFactory>());
}

} // namespace Strata
