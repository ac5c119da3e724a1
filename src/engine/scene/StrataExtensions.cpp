#include "scene/StrataExtensions.h"

#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "scene/ButtonNode.h"
#include "scene/CheckBoxNode.h"
#include "scene/ListNode.h"
#include "scene/MeterNodes.h"
#include "scene/NodeGridNode.h"
#include "scene/RadioButtonNode.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNodeFactories.h"
#include "scene/SceneNodeFactory.h"
#include "scene/ScrollBarNode.h"
#include "scene/ShapeNodes.h"
#include "scene/SliderNode.h"
#include "scene/SpriteAnimation.h"
#include "scene/SpriteNodes.h"
#include "scene/SpriteType.h"
#include "scene/TextEditNode.h"
#include "scene/TextSpriteNodes.h"

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
    layouts.AddSceneNodeFactory(L"backgroundnode", std::make_unique<BackgroundNodeFactory>());
    layouts.AddSceneNodeFactory(L"buttonnode", std::make_unique<ButtonNodeFactory>());
    layouts.AddSceneNodeFactory(L"checkboxnode", std::make_unique<CheckBoxNodeFactory>());
    layouts.AddSceneNodeFactory(L"listnode", std::make_unique<ListNodeFactory>());
    layouts.AddSceneNodeFactory(L"radiobuttonnode", std::make_unique<RadioButtonNodeFactory>());
    layouts.AddSceneNodeFactory(L"scrollbarnode", std::make_unique<ScrollBarNodeFactory>());
    layouts.AddSceneNodeFactory(L"slidernode", std::make_unique<SliderNodeFactory>());
    layouts.AddSceneNodeFactory(L"staticspritenode", std::make_unique<StaticSpriteNodeFactory>());
    layouts.AddSceneNodeFactory(L"texteditnode", std::make_unique<TextEditNodeFactory>());
    layouts.AddSceneNodeFactory(L"textspritenode", std::make_unique<TextSpriteNodeFactory>());
    layouts.AddSceneNodeFactory(L"animatedspritenode", std::make_unique<AnimatedSpriteNodeFactory>());
    layouts.AddSceneNodeFactory(L"meterbarnode", std::make_unique<MeterBarNodeFactory>());
    layouts.AddSceneNodeFactory(L"discretemeterbarnode", std::make_unique<DiscreteMeterBarNodeFactory>());
    layouts.AddSceneNodeFactory(L"nodegridnode", std::make_unique<NodeGridNodeFactory>());
    layouts.AddSceneNodeFactory(L"rectnode", std::make_unique<RectNodeFactory>());
    layouts.AddSceneNodeFactory(L"ellipsenode", std::make_unique<EllipseNodeFactory>());
    layouts.AddSceneNodeFactory(L"styledtextspritenode", std::make_unique<StyledTextSpriteNodeFactory>());
    layouts.AddSceneNodeFactory(L"fractiontextmeternode", std::make_unique<FractionTextMeterNodeFactory>());
    layouts.AddSceneNodeFactory(L"tiledspritenode", std::make_unique<TiledSpriteNodeFactory>());
}

} // namespace Strata
