#include "core/XMLWriter.h"

#include "core/XMLElement.h"

#include <cwchar>

namespace Strata
{

XMLWriter::XMLWriter(IStream* stream) : TextWriter(stream)
{
    WriteLine(L"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
}

XMLWriter::~XMLWriter()
{
    try
    {
        while (!mOpenElements.empty())
        {
            WriteEndElement();
        }
    }
    catch (...)
    {
        // A stream that throws while the writer goes away loses the closing tags; nothing else can be done.
    }
}

void XMLWriter::WriteStartElement(const wchar_t* name)
{
    if (mStartTagOpen)
    {
        WriteLine(L">");
    }
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
    {
        WriteEscaped(value, std::wcslen(value), true);
    }
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
    WriteEscaped(text.data(), text.size(), false);
}

void XMLWriter::WriteEndElement()
{
    if (mOpenElements.empty())
    {
        return;
    }
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
        {
            WriteAttribute(name.c_str(), value.c_str());
        }
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

void XMLWriter::WriteEscaped(const wchar_t* text, size_t length, bool attribute)
{
    std::wstring escaped;
    escaped.reserve(length + length / 8);
    for (size_t i = 0; i < length; ++i)
    {
        const wchar_t c = text[i];
        switch (c)
        {
        case L'&':
            escaped += L"&amp;";
            break;
        case L'"':
            escaped += L"&quot;";
            break;
        case L'<':
            escaped += L"&lt;";
            break;
        case L'>':
            escaped += L"&gt;";
            break;
        default:
            if (c >= 0 && c < 32 && (attribute || (c != L'\t' && c != L'\n' && c != L'\r')))
            {
                escaped += L"&#";
                escaped += std::to_wstring(static_cast<int>(c));
                escaped += L';';
            }
            else
            {
                escaped += c;
            }
            break;
        }
    }
    Write(escaped);
}

} // namespace Strata
