#include "framework/ValueResources.h"

#include "core/RuntimeError.h"
#include "core/XMLReader.h"

#include <boost/core/demangle.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <typeindex>

namespace Strata
{

namespace
{

template <class F>
IResourceDescriptor* MakeValue(const std::wstring& manifest, Label name, const IAttributeContainer& attributes)
{
    auto wrapper = std::make_unique<Internal::ValueWrapper<typename F::ValueType>>(manifest, name, attributes);
    wrapper->SetValue(F::ReadValue(attributes));
    return wrapper.release();
}

} // namespace

namespace
{

// The value types by the names code spells them; others by their demangled name.
std::string ValueTypeName(const std::type_info& type)
{
    static const std::map<std::type_index, std::string> names = {
        {typeid(bool), "bool"},
        {typeid(int), "int"},
        {typeid(float), "float"},
        {typeid(std::wstring), "std::wstring"},
        {typeid(Vector2<int>), "Vector2<int>"},
        {typeid(Vector2<float>), "Vector2<float>"},
        {typeid(Rect<int>), "Rect<int>"},
        {typeid(Rect<float>), "Rect<float>"},
        {typeid(ColorF), "ColorF"},
        {typeid(RandomRange), "RandomRange"},
        {typeid(std::vector<bool>), "std::vector<bool>"},
        {typeid(std::vector<int>), "std::vector<int>"},
        {typeid(std::vector<float>), "std::vector<float>"},
        {typeid(std::vector<std::wstring>), "std::vector<std::wstring>"},
        {typeid(std::vector<Vector2<float>>), "std::vector<Vector2<float>>"},
        {typeid(std::vector<Rect<float>>), "std::vector<Rect<float>>"},
        {typeid(std::vector<Rect<int>>), "std::vector<Rect<int>>"},
        {typeid(std::vector<ColorF>), "std::vector<ColorF>"},
    };
    const auto found = names.find(std::type_index(type));
    return found != names.end() ? found->second : boost::core::demangle(type.name());
}

} // namespace

[[noreturn]] void Internal::ThrowMissingConstant(Label name, const std::type_info& type)
{
    STRATA_THROW(RuntimeError, std::string("The constant '") + name.c_str() + "' of type " + ValueTypeName(type) +
                                   " does not exist.");
}

bool BoolResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    return attributes.GetAttribute(L"value", false);
}

int IntResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    return attributes.GetAttribute(L"value", 0);
}

float FloatResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    return attributes.GetAttribute(L"value", 0.0f);
}

std::wstring StringResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    return attributes.GetAttribute(L"value");
}

Vector2<float> Vector2FResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    return Vector2<float>(attributes.GetAttribute(L"x", 0.0f), attributes.GetAttribute(L"y", 0.0f));
}

Vector2<int> Vector2IResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    return Vector2<int>(attributes.GetAttribute(L"x", 0), attributes.GetAttribute(L"y", 0));
}

Rect<float> RectFResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    return Rect<float>(attributes.GetAttribute(L"x", 0.0f), attributes.GetAttribute(L"y", 0.0f),
                       attributes.GetAttribute(L"w", 0.0f), attributes.GetAttribute(L"h", 0.0f));
}

Rect<int> RectIResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    return Rect<int>(attributes.GetAttribute(L"x", 0), attributes.GetAttribute(L"y", 0),
                     attributes.GetAttribute(L"w", 0), attributes.GetAttribute(L"h", 0));
}

ColorF ColorFResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    if (attributes.HasAttribute(L"value"))
        return ColorF::FromString(attributes.GetAttribute(L"value"));
    return ColorF(attributes.GetAttribute(L"r", 1.0f), attributes.GetAttribute(L"g", 1.0f),
                  attributes.GetAttribute(L"b", 1.0f), attributes.GetAttribute(L"a", 1.0f));
}

ColorF ColorIResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    // Only the low 8 bits of each channel count: 256 reads as 0 and -1 as 255.
    const auto channel = [&attributes](const wchar_t* key)
    { return static_cast<uint8_t>(static_cast<unsigned int>(attributes.GetAttribute(key, 255))); };
    return ColorF(Color32(channel(L"r"), channel(L"g"), channel(L"b"), channel(L"a")));
}

RandomRange RandomRangeResourceFactory::ReadValue(const IAttributeContainer& attributes)
{
    RandomRange range;
    range.min = attributes.GetAttribute(L"min", 0.0f);
    range.max = attributes.GetAttribute(L"max", 0.0f);
    return range;
}

#define STRATA_VALUE_FACTORY_CREATE(Factory)                                                                           \
    IResourceDescriptor* Factory::CreateResource(const std::wstring& manifest, Label name,                             \
                                                 const IAttributeContainer& attributes, IXMLReader&) const             \
    {                                                                                                                  \
        return MakeValue<Factory>(manifest, name, attributes);                                                         \
    }

STRATA_VALUE_FACTORY_CREATE(BoolResourceFactory)
STRATA_VALUE_FACTORY_CREATE(IntResourceFactory)
STRATA_VALUE_FACTORY_CREATE(FloatResourceFactory)
STRATA_VALUE_FACTORY_CREATE(StringResourceFactory)
STRATA_VALUE_FACTORY_CREATE(Vector2FResourceFactory)
STRATA_VALUE_FACTORY_CREATE(Vector2IResourceFactory)
STRATA_VALUE_FACTORY_CREATE(RectFResourceFactory)
STRATA_VALUE_FACTORY_CREATE(RectIResourceFactory)
STRATA_VALUE_FACTORY_CREATE(ColorFResourceFactory)
STRATA_VALUE_FACTORY_CREATE(ColorIResourceFactory)
STRATA_VALUE_FACTORY_CREATE(RandomRangeResourceFactory)

#undef STRATA_VALUE_FACTORY_CREATE

template <class T, class F>
IResourceDescriptor* ArrayResourceFactory<T, F>::CreateResource(const std::wstring& manifest, Label name,
                                                                const IAttributeContainer& attributes,
                                                                IXMLReader& element) const
{
    auto wrapper = std::make_unique<Internal::ValueWrapper<std::vector<T>>>(manifest, name, attributes);
    std::vector<T> values;
    // The first element is the array element itself; every start element after it is an item.
    element.ReadElement();
    while (!element.IsEOF())
    {
        const XMLElement* item = element.ReadElement();
        if (item == nullptr)
            break;
        if (item->IsStartElement())
            values.push_back(F::ReadValue(*item));
    }
    wrapper->SetValue(values);
    return wrapper.release();
}

template class ArrayResourceFactory<bool, BoolResourceFactory>;
template class ArrayResourceFactory<int, IntResourceFactory>;
template class ArrayResourceFactory<float, FloatResourceFactory>;
template class ArrayResourceFactory<std::wstring, StringResourceFactory>;
template class ArrayResourceFactory<Vector2<float>, Vector2FResourceFactory>;
template class ArrayResourceFactory<Rect<float>, RectFResourceFactory>;
template class ArrayResourceFactory<Rect<int>, RectIResourceFactory>;
template class ArrayResourceFactory<ColorF, ColorFResourceFactory>;
template class ArrayResourceFactory<ColorF, ColorIResourceFactory>;

void CreateConstantResourceFactories()
{
    ResourceManager* manager = GetResourceManager();
    manager->AddResourceFactory(L"bool", new BoolResourceFactory());
    manager->AddResourceFactory(L"int", new IntResourceFactory());
    manager->AddResourceFactory(L"float", new FloatResourceFactory());
    manager->AddResourceFactory(L"string", new StringResourceFactory());
    manager->AddResourceFactory(L"vector2f", new Vector2FResourceFactory());
    manager->AddResourceFactory(L"vector2i", new Vector2IResourceFactory());
    manager->AddResourceFactory(L"rectf", new RectFResourceFactory());
    manager->AddResourceFactory(L"recti", new RectIResourceFactory());
    manager->AddResourceFactory(L"colorf", new ColorFResourceFactory());
    manager->AddResourceFactory(L"colori", new ColorIResourceFactory());
    manager->AddResourceFactory(L"boolarray", new ArrayResourceFactory<bool, BoolResourceFactory>());
    manager->AddResourceFactory(L"intarray", new ArrayResourceFactory<int, IntResourceFactory>());
    manager->AddResourceFactory(L"floatarray", new ArrayResourceFactory<float, FloatResourceFactory>());
    manager->AddResourceFactory(L"stringarray", new ArrayResourceFactory<std::wstring, StringResourceFactory>());
    manager->AddResourceFactory(L"vector2farray", new ArrayResourceFactory<Vector2<float>, Vector2FResourceFactory>());
    manager->AddResourceFactory(L"rectfarray", new ArrayResourceFactory<Rect<float>, RectFResourceFactory>());
    manager->AddResourceFactory(L"rectiarray", new ArrayResourceFactory<Rect<int>, RectIResourceFactory>());
    manager->AddResourceFactory(L"colorfarray", new ArrayResourceFactory<ColorF, ColorFResourceFactory>());
    manager->AddResourceFactory(L"coloriarray", new ArrayResourceFactory<ColorF, ColorIResourceFactory>());
    manager->AddResourceFactory(L"randomrange", new RandomRangeResourceFactory());
}

} // namespace Strata
