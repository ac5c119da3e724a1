// Feeds arbitrary bytes to the layout factory as a manifest, with every engine control type registered
// and a few small images to name. Each layout read is loaded into a mode (its objects made by their
// factories from the attributes), updated once and unloaded again; every attribute value is also read
// as a vector and as a colour, as the controls read them. Once every layout is unloaded, no object is
// left in the mode.

#include "FuzzImages.h"
#include "FuzzSupport.h"

#include "controls/Layout.h"
#include "controls/ObjectFactory.h"
#include "core/Color.h"
#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/Vector2.h"
#include "core/XMLReader.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "framework/ResourceManager.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <set>
#include <string>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

// The "name" of every start element (up to a fault), after reading each attribute value as the
// controls' text readers do.
std::set<std::wstring> ReadAttributes(const uint8_t* data, size_t size)
{
    std::set<std::wstring> names;
    ReadOnlyMemoryStream stream(L"Layouts.xml", data, size);
    try
    {
        auto reader = CreateXMLReader(&stream);
        while (!reader->IsEOF())
        {
            const XMLElement* element = reader->ReadElement();
            if (element == nullptr || !element->IsStartElement())
                continue;
            for (const auto& [name, value] : element->GetAttributes())
            {
                const ColorF color = ColorF::FromString(value);
                Check(!std::isnan(color.r) && !std::isnan(color.g) && !std::isnan(color.b) && !std::isnan(color.a));
                Vector2<int>::FromString(value);
            }
            if (element->HasAttribute(L"name") && names.size() < 64)
                names.insert(element->GetAttribute(L"name"));
        }
    }
    catch (const std::exception&)
    {
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fuzzing::MemoryFiles files;
    static ResourceManager* const manager = []
    {
        files.Set(L"img0.gif", Fuzzing::SmallGif());
        files.Set(L"img1.png", Fuzzing::SmallPng());
        files.Set(L"strip.png", Fuzzing::SmallPng());
        ResourceManager* created = Fuzzing::ImageResourceManager(files);
        CreateLayoutFactories();
        // Images and lists the layouts may name, loaded once.
        static const char kImages[] = "<manifest><image name=\"img0\" src=\"img0\"/><image name=\"img1\" src=\"img1\"/>"
                                      "<filmstrip name=\"strip\" src=\"strip\" cols=\"2\"/>"
                                      "<imagelist name=\"list\"><image src=\"img0\"/><image src=\"img1\"/></imagelist>"
                                      "</manifest>";
        ReadOnlyMemoryStream images(L"Images.xml", kImages, sizeof(kImages) - 1);
        created->LoadFromStream(&images, L"Images");
        return created;
    }();
    static ApplicationMode mode;

    const std::set<std::wstring> names = ReadAttributes(data, size);
    ReadOnlyMemoryStream stream(L"Layouts.xml", data, size);
    try
    {
        manager->LoadFromStream(&stream, L"Layouts");
    }
    catch (const std::exception&)
    {
    }
    {
        MainLoop::AutoContext context;
        MainLoop::WithinContext(&mode, context);
        for (const std::wstring& name : names)
        {
            const auto layout = std::dynamic_pointer_cast<Layout>(manager->GetResource(Label::FromString(name)));
            if (layout == nullptr)
                continue;
            try
            {
                layout->Load();
                layout->Load(Label("again"));
                mode.Update(0.02f);
            }
            catch (const std::exception&)
            {
                // A control's factory may refuse what it reads; the objects made before stay.
            }
            layout->Unload(Label("again"));
            layout->Unload();
            Check(!layout->IsLoaded());
        }
        // Unloading takes every object a layout made, parts of controls (a scroll bar's arrows) too;
        // destroyed objects go at the end of an update.
        mode.Update(0.0f);
        ObjectDatabase::sIterator iterator;
        Check(!mode.IsValidObjectID(mode.GetNextObject(&iterator)));
    }
    manager->Unload(L"Layouts");
    return 0;
}
