// Feeds arbitrary bytes to the XML reader: every element of the document is read, and the sub-tree of the
// first start tag is replayed through an element reader into an element list.

#include "core/MemoryStream.h"
#include "core/RuntimeError.h"
#include "core/XMLReader.h"

#include <cstddef>
#include <cstdint>

using namespace Strata;

namespace
{

void ReadWholeDocument(const uint8_t* data, size_t size)
{
    ReadOnlyMemoryStream stream(L"fuzz.xml", data, size);
    auto reader = CreateXMLReader(&stream);
    size_t count = 0;
    while (!reader->IsEOF())
    {
        const XMLElement* element = reader->ReadElement();
        if (element == nullptr || ++count > size + 1)
            __builtin_trap(); // IsEOF promised an element; or more elements than bytes means a loop
        element->GetAttribute(L"name", 0);
    }
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
