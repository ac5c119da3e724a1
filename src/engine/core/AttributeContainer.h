#pragma once

#include <map>
#include <string>

namespace Strata
{

// The read-only view of an element's attributes: a map from name to text, with typed getters that
// fall back to the caller's default when the attribute is absent. Names are compared exactly.
class IAttributeContainer
{
public:
    using AttributeMap = std::map<std::wstring, std::wstring>;

    virtual ~IAttributeContainer() = default;
    virtual const AttributeMap& GetAttributes() const = 0;
    // True when the name is present, whatever its value (an empty value counts).
    virtual bool HasAttribute(const std::wstring& name) const = 0;
    // A copy of the value; empty when absent.
    virtual std::wstring GetAttribute(const std::wstring& name) const = 0;
    // The stored value's characters (valid while the container is unchanged), or `defaultValue` itself.
    virtual const wchar_t* GetAttribute(const std::wstring& name, const wchar_t* defaultValue) const = 0;
    // The value read as a base-10 integer (text without digits gives 0), or the default when absent.
    virtual int GetAttribute(const std::wstring& name, const int& defaultValue) const = 0;
    // The value read as a decimal number in the C locale (text with no number gives 0), or the default.
    virtual float GetAttribute(const std::wstring& name, const float& defaultValue) const = 0;
    // The value "true" or "false" (lower case, after optional leading white space); any other text, and
    // an absent attribute, give the default.
    virtual bool GetAttribute(const std::wstring& name, const bool& defaultValue) const = 0;
};

class AttributeContainer : public IAttributeContainer
{
public:
    AttributeContainer() = default;
    explicit AttributeContainer(const AttributeMap& attributes) : mAttributes(attributes) {}
    AttributeContainer(const AttributeContainer&) = default;
    AttributeContainer(AttributeContainer&&) noexcept = default;
    AttributeContainer& operator=(const AttributeContainer&) = default;
    AttributeContainer& operator=(AttributeContainer&&) noexcept = default;
    ~AttributeContainer() override = default;

    void SetAttributes(const AttributeMap& attributes) { mAttributes = attributes; }

    const AttributeMap& GetAttributes() const override { return mAttributes; }
    bool HasAttribute(const std::wstring& name) const override;
    std::wstring GetAttribute(const std::wstring& name) const override;
    const wchar_t* GetAttribute(const std::wstring& name, const wchar_t* defaultValue) const override;
    int GetAttribute(const std::wstring& name, const int& defaultValue) const override;
    float GetAttribute(const std::wstring& name, const float& defaultValue) const override;
    bool GetAttribute(const std::wstring& name, const bool& defaultValue) const override;

protected:
    AttributeMap mAttributes;
};

} // namespace Strata
