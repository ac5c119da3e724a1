#pragma once

#include "core/TextWriter.h"

#include <string>
#include <string_view>
#include <vector>

namespace Strata
{

class IStream;
class XMLElement;

// Which characters below 32 EscapeXML writes as numeric references; "&", '"', "<" and ">" always become
// entities.
enum eXMLEscape
{
    // None: for text read back as styled-text markup, which keeps control characters as they are.
    XMLEscape_Markup,
    // All but tab, line feed and carriage return, which text content keeps.
    XMLEscape_Text,
    // All, so that a reader's normalising of white space in attribute values cannot change them.
    XMLEscape_Attribute
};

// The text as XML character data: the markup characters as entities, control characters as `escape` says.
std::wstring EscapeXML(std::wstring_view text, eXMLEscape escape);

// Writes UTF-8 XML one start tag, attribute, text run and end tag at a time, with CR LF line breaks and no
// indentation. Everything it escapes the XML reader decodes. What the stream fails to take is lost; the
// stream's own error state tells.
class XMLWriter : public TextWriter
{
public:
    // Writes the XML declaration. The stream is not owned and must outlive the writer.
    explicit XMLWriter(IStream* stream);
    // Closes every element still open, innermost first.
    ~XMLWriter() override;

    // A null name is written as an empty one.
    void WriteStartElement(const wchar_t* name);
    // Only meaningful while a start tag is open. Null text is written as empty text.
    void WriteAttribute(const wchar_t* name, const wchar_t* value);
    void WriteText(const wchar_t* text);
    void WriteText(const std::wstring& text);
    // Closes the innermost open element; does nothing when none is open.
    void WriteEndElement();
    // A start element with its attributes in ascending name order, an end element, or text.
    void WriteElement(const XMLElement& element);

private:
    bool mStartTagOpen = false;
    std::vector<std::wstring> mOpenElements;
};

} // namespace Strata
