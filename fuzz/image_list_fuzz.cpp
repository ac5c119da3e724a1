// Feeds arbitrary bytes to the image list and film strip factories as a manifest, over a few small image
// files (img0.gif, img1.png, walk1.png, walk2.gif, strip.png with strip_mask.gif). Every list and strip
// made is read back: each image of a list is, pixel for pixel, one of the files loaded on its own, and
// each pane of a strip lies inside its strip and shows the strip's pixels there. The file lists for
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
#include "graphics/ImageManager.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

// The files a list may name, each loaded on its own.
const std::vector<std::unique_ptr<Image>>& KnownImages()
{
    static const std::vector<std::unique_ptr<Image>> known = []
    {
        std::vector<std::unique_ptr<Image>> loaded;
        for (const wchar_t* name : {L"img0", L"img1", L"walk1", L"walk2", L"strip"})
        {
            loaded.push_back(ImageManager::LoadImage(name));
            Check(loaded.back() != nullptr);
        }
        return loaded;
    }();
    return known;
}

bool ShowsImage(const IImageList& list, int i, const Image& image)
{
    if (list.GetImageWidth(i) != image.GetWidth() || list.GetImageHeight(i) != image.GetHeight())
        return false;
    for (int y = 0; y < image.GetHeight(); ++y)
    {
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            const Color32 shown = list.GetImagePixel(i, x, y);
            const Color32 own = image.GetPixel(x, y);
            if (shown.r != own.r || shown.g != own.g || shown.b != own.b || shown.a != own.a ||
                list.GetImagePixelAlpha(i, x, y) != own.a)
                return false;
        }
    }
    return true;
}

void ReadBack(const IImageList& list)
{
    const int count = std::min(list.GetNumImages(), 64);
    for (int i = -1; i <= count; ++i)
    {
        const int width = list.GetImageWidth(i);
        const int height = list.GetImageHeight(i);
        Check(width >= 0 && height >= 0);
        if (i < 0 || i >= list.GetNumImages())
            Check(width == 0 && height == 0);
        else if (width > 0 && height > 0)
            Check(std::any_of(KnownImages().begin(), KnownImages().end(),
                              [&](const std::unique_ptr<Image>& image) { return ShowsImage(list, i, *image); }));
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
        if (i >= 64)
            continue;
        Check(strip.GetImageWidth(i) == pane.width && strip.GetImageHeight(i) == pane.height);
        for (int y = 0; y < pane.height; ++y)
        {
            for (int x = 0; x < pane.width; ++x)
            {
                const Color32 shown = strip.GetImagePixel(i, x, y);
                const Color32 own = image->GetPixel(pane.x + x, pane.y + y);
                Check(shown.r == own.r && shown.g == own.g && shown.b == own.b && shown.a == own.a);
            }
        }
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
        if (const auto* strip = dynamic_cast<const FilmStrip*>(resource.get()))
            CheckPanes(*strip);
        else if (const auto* list = dynamic_cast<const IImageList*>(resource.get()))
            ReadBack(*list);
    }
    manager->Unload(L"Lists");
    ListFiles(data, size);
    return 0;
}
