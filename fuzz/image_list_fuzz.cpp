// Feeds arbitrary bytes to the image list and film strip factories as a manifest, over a few small image
// files (img0.gif, img1.png, walk1.png, walk2.gif, strip.png with strip_mask.gif). Every list and strip
// made is read back: each image's pixels at its corners, each pane inside its strip. The file lists for
// streamed loading are asked of every element too.

#include "FuzzImages.h"
#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/XMLReader.h"
#include "framework/ResourceManager.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/ImageListResourceFactory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <list>
#include <memory>
#include <set>
#include <string>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

void ReadBack(const IImageList& list)
{
    const int count = std::min(list.GetNumImages(), 64);
    for (int i = -1; i <= count; ++i)
    {
        const int width = list.GetImageWidth(i);
        const int height = list.GetImageHeight(i);
        Check(width >= 0 && height >= 0);
        if (width > 0 && height > 0)
        {
            list.GetImagePixel(i, 0, 0);
            list.GetImagePixelAlpha(i, width - 1, height - 1);
        }
    }
}

void CheckPanes(const FilmStrip& strip)
{
    const IImage* image = strip.GetImage();
    const int count = std::min(strip.GetNumImages(), 4096);
    for (int i = 0; i < count && image != nullptr; ++i)
    {
        const Rect<int> pane = strip.GetPaneRect(i);
        Check(pane.x >= 0 && pane.y >= 0 && pane.width >= 0 && pane.height >= 0);
        Check(pane.x + pane.width <= image->GetWidth() && pane.y + pane.height <= image->GetHeight());
    }
}

// Asks each list and strip element for the files it would stream.
void ListFiles(const uint8_t* data, size_t size)
{
    static const ImageListResourceFactory lists;
    static const FilmStripResourceFactory strips;
    ReadOnlyMemoryStream stream(L"Lists.xml", data, size);
    try
    {
        auto reader = CreateXMLReader(&stream);
        while (!reader->IsEOF())
        {
            const XMLElement* element = reader->ReadElement();
            if (element == nullptr || !element->IsStartElement())
                continue;
            const IResourceFactory* factory = nullptr;
            if (element->GetName() == L"imagelist")
                factory = &lists;
            else if (element->GetName() == L"filmstrip")
                factory = &strips;
            if (factory != nullptr)
            {
                std::list<FileVariant> files;
                const XMLElement copy = *element;
                XMLElementReader subtree(reader.get());
                factory->GetFileListForResource(&files, L"Lists", Label("list"), copy, subtree);
                Check(files.size() <= 4 * 4096 + 64);
            }
        }
    }
    catch (const std::exception&)
    {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fuzzing::MemoryFiles files;
    static ResourceManager* const manager = []
    {
        files.Set(L"img0.gif", Fuzzing::SmallGif());
        files.Set(L"img1.png", Fuzzing::SmallPng());
        files.Set(L"walk1.png", Fuzzing::SmallPng());
        files.Set(L"walk2.gif", Fuzzing::SmallGif());
        files.Set(L"strip.png", Fuzzing::SmallPng());
        files.Set(L"strip_mask.gif", Fuzzing::SmallGif());
        return Fuzzing::ImageResourceManager(files);
    }();

    ReadOnlyMemoryStream stream(L"Lists.xml", data, size);
    try
    {
        manager->LoadFromStream(&stream, L"Lists");
    }
    catch (const std::exception&)
    {
    }
    const std::set<std::wstring> names = Fuzzing::NamesIn(data, size);
    for (const std::wstring& name : names)
    {
        const std::shared_ptr<IResourceDescriptor> resource = manager->GetResource(Label::FromString(name));
        if (const auto* list = dynamic_cast<const IImageList*>(resource.get()))
            ReadBack(*list);
        if (const auto* strip = dynamic_cast<const FilmStrip*>(resource.get()))
            CheckPanes(*strip);
    }
    manager->Unload(L"Lists");
    ListFiles(data, size);
    return 0;
}
