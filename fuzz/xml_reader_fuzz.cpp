// Feeds arbitrary bytes to the XML reader: every element of the document is read, and the sub-tree of the
// first start tag is replayed through an element reader into an element list. A document read whole is
// written again through the XML writer and read back: the same tags, attributes and text (white space
// aside, where the writer adds line breaks) must come out.

#include "core/MemoryStream.h"
#include "core/RuntimeError.h"
#include "core/XMLReader.h"
#include "core/XMLWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

// The elements with white space taken out of the text, empty text dropped and neighbouring text joined:
// what is left when the writer's line breaks are not counted.
std::vector<XMLElement> WithoutWhiteSpace(const std::vector<XMLElement>& elements)
{
    std::vector<XMLElement> kept;
    for (const XMLElement& element : elements)
    {
        if (!element.IsText())
        {
            kept.push_back(element);
            continue;
        }
        std::wstring text;
        for (const wchar_t c : element.GetName())
            if (c != L' ' && c != L'\t' && c != L'\r' && c != L'\n')
                text += c;
        if (text.empty())
            continue;
        if (!kept.empty() && kept.back().IsText())
            kept.back().SetName(kept.back().GetName() + text);
        else
            kept.emplace_back(XMLElement::ElementType_Text, text);
    }
    return kept;
}

bool IsXMLCharacter(wchar_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsName(const std::wstring& name)
{
    if (name.empty())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
    {
        const wchar_t c = name[i];
        const bool start = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' ||
                           (c >= 0xC0 && c != 0xD7 && c != 0xF7 && IsXMLCharacter(c));
        const bool more = (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' || c == 0xB7;
        if (!start && (i == 0 || !more))
            return false;
    }
    return true;
}

bool IsText(const std::wstring& text)
{
    for (const wchar_t c : text)
        if (!IsXMLCharacter(c))
            return false;
    return true;
}

// True for a document the writer can give back as it was read: XML names and characters only, and every
// end tag closing the element open last, since the writer closes what is open. The reader itself takes
// end tags as they come and is lenient with names and characters, by design.
bool CanComeBack(const std::vector<XMLElement>& elements)
{
    std::vector<std::wstring> open;
    for (const XMLElement& element : elements)
    {
        if (element.IsText())
        {
            if (!IsText(element.GetName()))
                return false;
            continue;
        }
        if (!IsName(element.GetName()))
            return false;
        for (const auto& [name, value] : element.GetAttributes())
            if (!IsName(name) || !IsText(value))
                return false;
        if (element.IsStartElement())
            open.push_back(element.GetName());
        else if (open.empty() || open.back() != element.GetName())
            return false;
        else
            open.pop_back();
    }
    return open.empty();
}

void CheckRoundTrip(const std::vector<XMLElement>& read)
{
    // A blank document reads as no element; written out it would be a declaration alone, no document.
    if (read.empty() || !CanComeBack(read))
        return;
    MemoryStream written(L"written.xml");
    {
        XMLWriter writer(&written);
        for (const XMLElement& element : read)
            writer.WriteElement(element);
    }
    written.Seek(SeekOrigin_Begin, 0);
    std::vector<XMLElement> reread;
    try
    {
        auto reader = CreateXMLReader(&written);
        while (!reader->IsEOF())
            reread.push_back(*reader->ReadElement());
    }
    catch (const RuntimeError&)
    {
        __builtin_trap(); // what the reader took whole, written out, must read again
    }
    const std::vector<XMLElement> expected = WithoutWhiteSpace(read);
    const std::vector<XMLElement> got = WithoutWhiteSpace(reread);
    if (expected.size() != got.size())
        __builtin_trap();
    for (size_t i = 0; i < expected.size(); ++i)
        if (expected[i].GetType() != got[i].GetType() || expected[i].GetName() != got[i].GetName() ||
            expected[i].GetAttributes() != got[i].GetAttributes())
            __builtin_trap();
}

void ReadWholeDocument(const uint8_t* data, size_t size)
{
    ReadOnlyMemoryStream stream(L"fuzz.xml", data, size);
    auto reader = CreateXMLReader(&stream);
    size_t count = 0;
    std::vector<XMLElement> read;
    while (!reader->IsEOF())
    {
        const XMLElement* element = reader->ReadElement();
        if (element == nullptr || ++count > size + 1)
            __builtin_trap(); // IsEOF promised an element; or more elements than bytes means a loop
        element->GetAttribute(L"name", 0);
        read.push_back(*element);
    }
    CheckRoundTrip(read);
    const float progress = reader->GetProgress();
    if (!(progress >= 0.0f && progress <= 1.0f))
        __builtin_trap();
    reader->GetCurLine();
}

void CopyFirstSubtree(const uint8_t* data, size_t size)
{
    MemoryStream stream(L"fuzz.xml");
    stream.Write(data, size);
    stream.Seek(SeekOrigin_Begin, 0);
    auto reader = CreateXMLReader(&stream);
    while (!reader->IsEOF())
    {
        const XMLElement* element = reader->ReadElement();
        if (element != nullptr && element->IsStartElement())
        {
            XMLElementReader subtree(reader.get());
            XMLElementList list;
            CopyAllElements(subtree, &list);
            while (!list.IsEOF())
                list.ReadElement();
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try
    {
        ReadWholeDocument(data, size);
    }
    catch (const RuntimeError&)
    {
    }
    try
    {
        CopyFirstSubtree(data, size);
    }
    catch (const RuntimeError&)
    {
    }
    return 0;
}
