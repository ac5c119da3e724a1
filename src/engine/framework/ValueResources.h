#pragma once

#include "core/Color.h"
#include "core/Label.h"
#include "core/Rect.h"
#include "core/Vector2.h"
#include "framework/RandomRange.h"
#include "framework/ResourceDescriptor.h"

#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace Strata
{

namespace Internal
{

// The descriptor of a typed value read from a manifest element.
template <class T>
class ValueWrapper : public ResourceDescriptor
{
public:
    ValueWrapper(const std::wstring& manifest, const Label& name, const IAttributeContainer& attributes)
        : ResourceDescriptor(manifest, name, attributes), mValue(InitialValue())
    {
    }

    const T& GetValue() const { return mValue; }
    void SetValue(const T& value) { mValue = value; }

private:
    static T InitialValue()
    {
        if constexpr (std::is_same_v<T, ColorF>)
            return ColorF(1.0f, 1.0f, 1.0f, 1.0f);
        else
            return T();
    }

    T mValue;
};

// Throws the RuntimeError for reading a constant that does not exist as a T.
[[noreturn]] void ThrowMissingConstant(Label name, const std::type_info& type);

} // namespace Internal

// A handle to the value resource of a name. It holds the value's resource only when that resource is
// a value of exactly this T, and shares ownership of it, so the value stays readable while the handle
// lives. Reading a handle that holds nothing throws a RuntimeError naming the constant and its type.
template <class T>
class Constant
{
public:
    explicit Constant(Label name) : mName(name) { Find(); }
    // A null name finds nothing.
    explicit Constant(const char* name) : mName(name) { Find(); }

    // True when the value exists as a T.
    bool IsValid() const { return mWrapper != nullptr; }
    explicit operator bool() const requires(!std::is_same_v<T, bool>) { return IsValid(); }

    // A copy of the value. Throws RuntimeError when the handle holds nothing.
    T GetValue() const
    {
        if (mWrapper == nullptr)
            Internal::ThrowMissingConstant(mName, typeid(T));
        return mWrapper->GetValue();
    }
    operator T() const { return GetValue(); }

    Label GetName() const { return mName; }

private:
    void Find()
    {
        if (!mName.IsNull())
            mWrapper = std::dynamic_pointer_cast<Internal::ValueWrapper<T>>(GetResourceManager()->GetResource(mName));
    }

    Label mName;
    std::shared_ptr<Internal::ValueWrapper<T>> mWrapper;
};

// The factories of the value tags. Each reads its element's attributes; none reads files, fails or
// returns null. Numbers are read in the C locale.
class BoolResourceFactory : public IResourceFactory
{
public:
    using ValueType = bool;
    // "value": "true" or "false", default false.
    static bool ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class IntResourceFactory : public IResourceFactory
{
public:
    using ValueType = int;
    // "value", default 0.
    static int ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class FloatResourceFactory : public IResourceFactory
{
public:
    using ValueType = float;
    // "value", default 0.
    static float ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class StringResourceFactory : public IResourceFactory
{
public:
    using ValueType = std::wstring;
    // "value" as stored, empty when absent.
    static std::wstring ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class Vector2FResourceFactory : public IResourceFactory
{
public:
    using ValueType = Vector2<float>;
    // "x", "y", default 0 each.
    static Vector2<float> ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class Vector2IResourceFactory : public IResourceFactory
{
public:
    using ValueType = Vector2<int>;
    // "x", "y", default 0 each.
    static Vector2<int> ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class RectFResourceFactory : public IResourceFactory
{
public:
    using ValueType = Rect<float>;
    // "x", "y", "w", "h", default 0 each.
    static Rect<float> ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class RectIResourceFactory : public IResourceFactory
{
public:
    using ValueType = Rect<int>;
    // "x", "y", "w", "h", default 0 each.
    static Rect<int> ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class ColorFResourceFactory : public IResourceFactory
{
public:
    using ValueType = ColorF;
    // "value" as "#RRGGBB" or "#RRGGBBAA" when present (any other text gives opaque black); otherwise
    // "r", "g", "b", "a" as floats, default 1 each, not clamped.
    static ColorF ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class ColorIResourceFactory : public IResourceFactory
{
public:
    using ValueType = ColorF;
    // "r", "g", "b", "a" as integers, default 255 each, each cut to its low 8 bits, divided by 255.
    static ColorF ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

class RandomRangeResourceFactory : public IResourceFactory
{
public:
    using ValueType = RandomRange;
    // "min", "max", default 0 each.
    static RandomRange ReadValue(const IAttributeContainer& attributes);
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

// A list of values: every start element inside the array element, at any depth and whatever its tag,
// is one item read as factory F reads its element, in document order.
template <class T, class F>
class ArrayResourceFactory : public IResourceFactory
{
public:
    static_assert(std::is_same_v<T, typename F::ValueType>, "the item factory makes values of the array's type");

    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

extern template class ArrayResourceFactory<bool, BoolResourceFactory>;
extern template class ArrayResourceFactory<int, IntResourceFactory>;
extern template class ArrayResourceFactory<float, FloatResourceFactory>;
extern template class ArrayResourceFactory<std::wstring, StringResourceFactory>;
extern template class ArrayResourceFactory<Vector2<float>, Vector2FResourceFactory>;
extern template class ArrayResourceFactory<Rect<float>, RectFResourceFactory>;
extern template class ArrayResourceFactory<Rect<int>, RectIResourceFactory>;
extern template class ArrayResourceFactory<ColorF, ColorFResourceFactory>;
extern template class ArrayResourceFactory<ColorF, ColorIResourceFactory>;

// Registers the value factories with the global resource manager: "bool", "int", "float", "string",
// "vector2f", "vector2i", "rectf", "recti", "colorf", "colori", the nine array tags ("boolarray",
// "intarray", "floatarray", "stringarray", "vector2farray", "rectfarray", "rectiarray", "colorfarray",
// "coloriarray"; there is none for Vector2<int>) and "randomrange".
void CreateConstantResourceFactories();

} // namespace Strata
