#include "controls/ObjectFactory.h"

#include "controls/BrushObjects.h"
#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/Layout.h"
#include "controls/ListControl.h"
#include "controls/RadioButton.h"
#include "controls/ScrollBar.h"
#include "controls/Slider.h"
#include "controls/Sprites.h"
#include "controls/TextEdit.h"
#include "controls/TreeControl.h"
#include "core/Singleton.h"
#include "framework/FrameHooks.h"
#include "framework/ResourceManager.h"

namespace Strata
{

namespace
{
ObjectFactory* gObjectFactory = nullptr;
}

ObjectFactory::~ObjectFactory()
{
    if (gObjectFactory == this)
        gObjectFactory = nullptr;
}

void ObjectFactory::AddObjectFactory(const wchar_t* type, IObjectFactory* factory)
{
    std::shared_ptr<IObjectFactory> owned(factory);
    if (type == nullptr)
        return;
    if (!owned)
    {
        mFactories.erase(type);
        return;
    }
    mFactories[type] = std::move(owned);
}

Object* ObjectFactory::CreateObject(const std::wstring& type, Label name, const IAttributeContainer& attributes)
{
    const auto found = mFactories.find(type);
    if (found == mFactories.end())
        return nullptr;
    // Held while it runs, so a factory that re-registers its own type cannot delete itself.
    const std::shared_ptr<IObjectFactory> factory = found->second;
    return factory->CreateObject(name, attributes);
}

bool ObjectFactory::HasObjectFactory(const std::wstring& type) const
{
    return mFactories.count(type) != 0;
}

ObjectFactory* GetObjectFactory()
{
    if (gObjectFactory == nullptr)
    {
        auto* factory = new ObjectFactory();
        gObjectFactory = factory;
        AutoDeleteSingleton(factory);
    }
    return gObjectFactory;
}

void CreateLayoutFactories()
{
    GetResourceManager()->AddResourceFactory(L"layout", new LayoutResourceFactory());

    ObjectFactory* factories = GetObjectFactory();
    factories->AddObjectFactory(L"background", new BackgroundObjectFactory());
    factories->AddObjectFactory(L"button", new ButtonObjectFactory());
    factories->AddObjectFactory(L"textsprite", new TextSpriteObjectFactory());
    factories->AddObjectFactory(L"imagesprite", new ImageSpriteObjectFactory());
    factories->AddObjectFactory(L"animsprite", new AnimationSpriteObjectFactory());
    factories->AddObjectFactory(L"ninebrush", new NineBrushObjectFactory());
    factories->AddObjectFactory(L"threebrush", new ThreeBrushObjectFactory());
    factories->AddObjectFactory(L"scrollbar", new ScrollBarObjectFactory());
    factories->AddObjectFactory(L"list", new ListObjectFactory());
    factories->AddObjectFactory(L"checkbox", new CheckBoxObjectFactory());
    factories->AddObjectFactory(L"radiobutton", new RadioButtonObjectFactory());
    factories->AddObjectFactory(L"slider", new SliderObjectFactory());
    factories->AddObjectFactory(L"textedit", new TextEditObjectFactory());
    factories->AddObjectFactory(L"tree", new TreeObjectFactory());
}

namespace
{
// The main loop's set-up calls it on every platform, after the value factories.
[[maybe_unused]] const bool gLayoutFactoriesAdded = (AddFactoryRegistrar(&CreateLayoutFactories), true);
} // namespace

} // namespace Strata
