#pragma once

#include "core/AttributeContainer.h"

#include <cstdint>
#include <string>

namespace Strata
{

// One item of an XML document: a start tag with its attributes, an end tag, or a run of text.
class XMLElement : public AttributeContainer
{
public:
    enum eElementType : int32_t
    {
        ElementType_Start = 0,
        ElementType_End = 1,
        ElementType_Text = 2
    };

    XMLElement() = default;
    XMLElement(int32_t type, const std::wstring& name) : mType(type), mName(name) {}
    XMLElement(int32_t type, const std::wstring& name, const AttributeMap& attributes)
        : AttributeContainer(attributes), mType(type), mName(name)
    {
    }

    int32_t GetType() const { return mType; }
    bool IsStartElement() const { return mType == ElementType_Start; }
    bool IsEndElement() const { return mType == ElementType_End; }
    bool IsText() const { return mType == ElementType_Text; }
    // The tag for start and end elements, the decoded text for a text element.
    const std::wstring& GetName() const { return mName; }

    void SetType(int32_t type) { mType = type; }
    void SetName(const std::wstring& name) { mName = name; }

protected:
    int32_t mType = ElementType_Text;
    std::wstring mName;
};

} // namespace Strata
