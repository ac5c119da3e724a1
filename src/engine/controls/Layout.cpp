#include "controls/Layout.h"

#include "controls/LayoutInstance.h"
#include "controls/ObjectComponents.h"
#include "controls/ObjectFactory.h"
#include "core/Angle.h"
#include "core/Color.h"
#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/WideString.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Font.h"
#include "graphics/Window.h"

#include <cmath>

namespace Strata
{

namespace
{

// A design side that cannot be divided by (0, negative, huge or not a number) takes the default.
float SaneDesignSize(float value, float defaultValue)
{
    return std::isfinite(value) && value > 0.0f && value <= kMaxLayoutDesignSize ? value : defaultValue;
}

// An offset that is not a number moves nothing.
float SaneOffset(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

TextMode StringToTextMode(const std::wstring& text, TextMode current)
{
    if (text == L"normal")
        return TextMode_Normal;
    if (text == L"outline")
        return TextMode_Outline;
    if (text == L"dropshadow")
        return TextMode_DropShadow;
    return current;
}

Label MakeObjectName(Label instance, const IAttributeContainer& attributes)
{
    if (!attributes.HasAttribute(L"name"))
        return Label();
    const std::wstring name = attributes.GetAttribute(L"name");
    if (instance.IsNull())
        return Label::FromString(name);
    // Joined as wide text rather than formatted, so a name outside ASCII keeps its place ('?' for
    // each such character, as in any label) instead of failing the formatting and losing the name.
    return Label::FromString(ConvertStringASCIIToWide(instance.c_str()) + L"::" + name);
}

void ApplyCommonAttributes(Object* object, const IAttributeContainer& attributes, float sx, float sy)
{
    if (auto* drawable = dynamic_cast<IDrawable*>(object))
        drawable->SetLayer(attributes.GetAttribute(L"layer", 0.0f));

    auto* bounds = dynamic_cast<IBounds*>(object);
    if (bounds)
    {
        const Rect<float> current = bounds->GetBounds();
        bounds->SetBounds(Rect<float>(sx * attributes.GetAttribute(L"x", current.x),
                                      sy * attributes.GetAttribute(L"y", current.y),
                                      sx * attributes.GetAttribute(L"width", current.width),
                                      sy * attributes.GetAttribute(L"height", current.height)));
    }
    else if (auto* location = dynamic_cast<ILocation*>(object))
    {
        const Vector2<float> current = location->GetLocation();
        location->SetLocation(Vector2<float>(sx * attributes.GetAttribute(L"x", current.x),
                                             sy * attributes.GetAttribute(L"y", current.y)));
    }

    if (auto* visible = dynamic_cast<IVisible*>(object); visible && attributes.HasAttribute(L"visible"))
        visible->SetVisible(attributes.GetAttribute(L"visible", true));
    if (auto* enable = dynamic_cast<IEnable*>(object); enable && attributes.HasAttribute(L"enable"))
        enable->Enable(attributes.GetAttribute(L"enable", true));

    auto* color = dynamic_cast<IColor*>(object);
    if (color && attributes.HasAttribute(L"color"))
        color->SetColor(ColorF::FromString(attributes.GetAttribute(L"color")));
    else if (auto* alpha = dynamic_cast<IAlpha*>(object); alpha && attributes.HasAttribute(L"alpha"))
        alpha->SetAlpha(attributes.GetAttribute(L"alpha", 1.0f));

    if (auto* font = dynamic_cast<IFontComponent*>(object))
    {
        if (attributes.HasAttribute(L"font"))
        {
            // Held, so that unloading the font's manifest cannot free it under the object.
            const AutoResource<Font> found(Label::FromString(attributes.GetAttribute(L"font")));
            font->SetFont(found.Get(), found.GetDescriptor());
        }
        else
        {
            font->SetFont(nullptr);
        }
    }
    if (auto* mode = dynamic_cast<ITextModeComponent*>(object); mode && attributes.HasAttribute(L"mode"))
        mode->SetTextMode(StringToTextMode(attributes.GetAttribute(L"mode"), mode->GetTextMode()));
    if (auto* orientation = dynamic_cast<IOrientation*>(object); orientation && attributes.HasAttribute(L"orientation"))
        orientation->SetOrientation(Angle::FromDegrees(attributes.GetAttribute(L"orientation", 0.0f)));
    if (auto* alignment = dynamic_cast<IAlignment*>(object))
    {
        alignment->SetHAlignment(StringToHAlignment(attributes.GetAttribute(L"halign"), alignment->GetHAlignment()));
        alignment->SetVAlignment(StringToVAlignment(attributes.GetAttribute(L"valign"), alignment->GetVAlignment()));
    }
    if (auto* flip = dynamic_cast<IFlipState*>(object);
        flip && (attributes.HasAttribute(L"flipH") || attributes.HasAttribute(L"flipV")))
    {
        uint32_t flags = 0;
        if (attributes.GetAttribute(L"flipH", false))
            flags |= 1u;
        if (attributes.GetAttribute(L"flipV", false))
            flags |= 2u;
        flip->SetFlipState(flags);
    }
    if (auto* text = dynamic_cast<IText*>(object); text && attributes.HasAttribute(L"text"))
        text->SetText(attributes.GetAttribute(L"text"));
    if (auto* scale = dynamic_cast<IScale*>(object);
        scale && (attributes.HasAttribute(L"scaleX") || attributes.HasAttribute(L"scaleY") || bounds == nullptr))
    {
        const Vector2<float> current = scale->GetScale();
        scale->SetScale(sx * attributes.GetAttribute(L"scaleX", current.x),
                        sy * attributes.GetAttribute(L"scaleY", current.y));
    }
}

} // namespace

void Layout::ReadLayoutAttributes()
{
    mDesignWidth = SaneDesignSize(GetAttribute(L"screenWidth", 800.0f), 800.0f);
    mDesignHeight = SaneDesignSize(GetAttribute(L"screenHeight", 600.0f), 600.0f);
    mOffsetX = SaneOffset(GetAttribute(L"x", 0.0f));
    mOffsetY = SaneOffset(GetAttribute(L"y", 0.0f));
}

void Layout::AddObjectDescription(const std::wstring& type, const IAttributeContainer& attributes)
{
    mObjectAttributes.emplace_back(attributes.GetAttributes());
    mTypeNames.push_back(type);
}

Label Layout::GetInstanceName(Label instance) const
{
    if (instance.IsNull())
        return Label::FromStringF("Strata::LayoutInstance::%s", mName.c_str());
    return Label::FromStringF("Strata::LayoutInstance::%s::%s", mName.c_str(), instance.c_str());
}

LayoutInstance* Layout::GetInstance(Label instance)
{
    ObjectDatabase* database = GetObjectDatabase();
    if (database == nullptr)
        return nullptr;
    const Label name = GetInstanceName(instance);
    if (auto* existing = dynamic_cast<LayoutInstance*>(database->GetNamedObject(name)))
        return existing;
    auto* created = new LayoutInstance(name, this);
    database->AddObject(created);
    return created;
}

std::vector<ObjectID>& Layout::GetObjectIDs(Label instance)
{
    LayoutInstance* found = GetInstance(instance);
    if (found == nullptr)
        STRATA_THROW(RuntimeError, "no object database for the layout's instance");
    return found->GetObjectIDs();
}

bool Layout::IsLoaded(Label instance) const
{
    ObjectDatabase* database = GetObjectDatabase();
    if (database == nullptr)
        return false;
    auto* found = dynamic_cast<LayoutInstance*>(database->GetNamedObject(GetInstanceName(instance)));
    return found != nullptr && !found->GetObjectIDs().empty();
}

void Layout::Unload(Label instance)
{
    ObjectDatabase* database = GetObjectDatabase();
    if (database == nullptr)
        return;
    const Label name = GetInstanceName(instance);
    if (IsLoaded(instance))
    {
        auto* found = dynamic_cast<LayoutInstance*>(database->GetNamedObject(name));
        for (const ObjectID id : found->GetObjectIDs())
            database->DestroyObject(id);
    }
    database->DestroyNamedObject(name);
}

void Layout::Load(Label instance)
{
    ObjectDatabase* database = GetObjectDatabase();
    if (database == nullptr)
        return;
    if (IsLoaded(instance))
        Unload(instance);

    const sWindowConfig& window = Window::GetConfig();
    const float sx = static_cast<float>(window.width) / mDesignWidth;
    const float sy = static_cast<float>(window.height) / mDesignHeight;

    ObjectFactory* factories = GetObjectFactory();
    for (size_t i = 0; i < mTypeNames.size(); ++i)
    {
        const AttributeContainer& attributes = mObjectAttributes[i];
        Object* object = factories->CreateObject(mTypeNames[i], MakeObjectName(instance, attributes), attributes);
        if (object == nullptr)
            continue;
        ObjectID id;
        try
        {
            ApplyCommonAttributes(object, attributes, sx, sy);
            id = database->AddObject(object);
        }
        catch (...)
        {
            // Not yet owned by the database.
            delete object;
            throw;
        }
        GetObjectIDs(instance).push_back(id);
    }

    if (mOffsetX != 0.0f || mOffsetY != 0.0f)
        GetInstance(instance)->SetLocation(Vector2<float>(mOffsetX, mOffsetY));
}

IResourceDescriptor* LayoutResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                           const IAttributeContainer& attributes,
                                                           IXMLReader& element) const
{
    auto layout = std::make_unique<ResourceWrapper<Layout>>(manifest, name, attributes);
    Layout& target = *layout;
    target.SetName(name);
    target.SetAttributes(attributes.GetAttributes());
    target.ReadLayoutAttributes();

    // The layout element itself, then its descendants until the element's end.
    element.ReadElement();
    while (!element.IsEOF())
    {
        const XMLElement* item = element.ReadElement();
        if (item == nullptr)
            break;
        if (item->IsStartElement())
            target.AddObjectDescription(item->GetName(), *item);
    }
    return layout.release();
}

} // namespace Strata
