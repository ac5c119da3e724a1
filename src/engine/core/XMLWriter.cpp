#include "core/XMLWriter.h"

#include "core/XMLElement.h"

#include <algorithm>
#include <iterator>

namespace Strata
{

namespace
{

struct sEntity
{
    wchar_t character;
    const wchar_t* entity;
};

constexpr sEntity kEntities[] = {{L'&', L"&amp;"}, {L'"', L"&quot;"}, {L'<', L"&lt;"}, {L'>', L"&gt;"}};

bool EscapesControl(wchar_t c, eXMLEscape escape)
{
    if (escape == XMLEscape_Markup || c < 0 || c >= 32)
        return false;
    return escape == XMLEscape_Attribute || (c != L'\t' && c != L'\n' && c != L'\r');
}

} // namespace

std::wstring EscapeXML(std::wstring_view text, eXMLEscape escape)
{
    std::wstring escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const wchar_t c : text)
    {
        const auto entity = std::find_if(std::begin(kEntities), std::end(kEntities),
                                         [c](const sEntity& e) { return e.character == c; });
        if (entity != std::end(kEntities))
        {
            escaped += entity->entity;
        }
        else if (EscapesControl(c, escape))
        {
            escaped += L"&#";
            escaped += std::to_wstring(static_cast<int>(c));
            escaped += L';';
        }
        else
        {
            escaped += c;
        }
    }
    return escaped;
}

XMLWriter::XMLWriter(IStream* stream) : TextWriter(stream)
{
    WriteLine(L"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
}

XMLWriter::~XMLWriter()
{
    try
    {
        while (!mOpenElements.empty())
            WriteEndElement();
    }
    catch (...)
    {
        // A stream that throws while the writer goes away loses the closing tags; nothing else can be done.
    }
}

void XMLWriter::WriteStartElement(const wchar_t* name)
{
    if (mStartTagOpen)
        WriteLine(L">");
    const wchar_t* tag = name != nullptr ? name : L"";
    Write(L'<');
    Write(tag);
    mOpenElements.emplace_back(tag);
    mStartTagOpen = true;
}

void XMLWriter::WriteAttribute(const wchar_t* name, const wchar_t* value)
{
    Write(L' ');
    Write(name);
    Write(L"=\"");
    if (value != nullptr)
        Write(EscapeXML(value, XMLEscape_Attribute));
    Write(L'"');
}

void XMLWriter::WriteText(const wchar_t* text)
{
    WriteText(std::wstring(text != nullptr ? text : L""));
}

void XMLWriter::WriteText(const std::wstring& text)
{
    if (mStartTagOpen)
    {
        Write(L'>');
        mStartTagOpen = false;
    }
    Write(EscapeXML(text, XMLEscape_Text));
}

void XMLWriter::WriteEndElement()
{
    if (mOpenElements.empty())
        return;
    if (mStartTagOpen)
    {
        WriteLine(L"/>");
    }
    else
    {
        Write(L"</");
        Write(mOpenElements.back());
        WriteLine(L">");
    }
    mOpenElements.pop_back();
    mStartTagOpen = false;
}

void XMLWriter::WriteElement(const XMLElement& element)
{
    switch (element.GetType())
    {
    case XMLElement::ElementType_Start:
        WriteStartElement(element.GetName().c_str());
        for (const auto& [name, value] : element.GetAttributes())
            WriteAttribute(name.c_str(), value.c_str());
        break;
    case XMLElement::ElementType_End:
        WriteEndElement();
        break;
    case XMLElement::ElementType_Text:
        WriteText(element.GetName());
        break;
    default:
        break;
    }
}

} // namespace Strata
