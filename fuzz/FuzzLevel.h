#pragma once

// What the level-reader fuzz targets share: arbitrary bytes read as one level element by a game's
// level reader.

#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "framework/ResourceManager.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

namespace Strata::Fuzzing
{

// The resource `Factory` makes of the first element of the bytes; null when there is no element.
template <class Factory>
std::unique_ptr<IResourceDescriptor> ReadLevel(const uint8_t* data, size_t size)
{
    ReadOnlyMemoryStream stream(L"level.xml", data, size);
    XMLElementList elements;
    try
    {
        std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);
        CopyAllElements(*reader, &elements);
    }
    catch (const std::exception&)
    {
        // A damaged document still hands over what was read before the damage.
    }
    if (elements.GetElements().empty())
        return nullptr;
    const XMLElement first = elements.GetElements().front();
    const Factory factory;
    return std::unique_ptr<IResourceDescriptor>(factory.CreateResource(L"fuzz", Label("FuzzLevel"), first, elements));
}

} // namespace Strata::Fuzzing
