#include "graphics/ImageListResourceFactory.h"

#include "core/AttributeContainer.h"
#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "core/Stream.h"
#include "core/StringFormatter.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/FileSource.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/ImageManager.h"
#include "graphics/ImageResourceFactory.h"

#include <climits>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Strata
{

namespace
{

// Calls `visit` with the name the pattern gives each index from "first" to "last", at most
// kMaxImageListPatternImages times, until it returns false. True when the cap cut the range short: the
// caller logs it (LogCapped) once what it does with the names is over.
bool ForEachPatternName(const IAttributeContainer& attributes,
                        const std::function<bool(int, const std::wstring&)>& visit)
{
    const std::wstring pattern = attributes.GetAttribute(L"pattern");
    const long long first = attributes.GetAttribute(L"first", 0);
    const long long last = attributes.GetAttribute(L"last", INT_MAX);
    long long tried = 0;
    for (long long i = first; i <= last; ++i)
    {
        if (tried == kMaxImageListPatternImages)
            return true;
        ++tried;
        StringFormatter formatter(pattern);
        formatter.Arg(static_cast<int>(i));
        if (!visit(static_cast<int>(i), formatter.c_str()))
            return false;
    }
    return false;
}

void LogCapped(Label listName)
{
    Internal::LogWrite("Image list %s stops after %d indices of its pattern.\n", listName.c_str(),
                       kMaxImageListPatternImages);
}

// One picture of a pattern list on its way, with the index it has in the pattern.
struct PatternFrame
{
    int index;
    std::unique_ptr<PendingImage> image;
};

// Loads the pattern's pictures into the list as LoadImage would one after the other (stopping at the
// first one after index 0 that fails, logging what that would log, in its order), with the pictures
// decoded on several threads: their files are found and read here first, in order.
void LoadPatternImages(ImageList& list, Label name, const IAttributeContainer& attributes)
{
    std::vector<PatternFrame> frames;
    const bool capped = ForEachPatternName(attributes,
                                           [&](int index, const std::wstring& file)
                                           {
                                               auto image = std::make_unique<PendingImage>(file);
                                               const bool found = image->Read();
                                               frames.push_back({index, std::move(image)});
                                               // Numbering may start at 1 although "first" says 0.
                                               return found || index <= 0;
                                           });
    std::vector<PendingImage*> pending;
    pending.reserve(frames.size());
    for (const PatternFrame& frame : frames)
        pending.push_back(frame.image.get());
    PendingImage::DecodeAll(pending, PendingImage::GetDecodeThreads());
    for (PatternFrame& frame : frames)
    {
        auto image = std::make_unique<Image>();
        if (frame.image->Finish(image.get()) == nullptr)
        {
            if (frame.index <= 0)
                continue;
            return;
        }
        frame.image.reset();
        MakeImageRotations(*image, name, attributes);
        list.AddOwnedImage(image.release());
    }
    if (capped)
        LogCapped(name);
}

// True when the file source has one of the variant's files: the streamable source does not call it
// missing, or else the plain source opens it.
bool HasAnyFile(const FileVariant& variant)
{
    IFileSource* source = GetFileSource();
    if (!source)
        return false;
    IStreamable* streamable = GetStreamableFileSource();
    for (const std::wstring& extension : variant.extensions)
    {
        try
        {
            const FileAddress address(variant.name.c_str(), extension.c_str());
            if (streamable)
            {
                if (streamable->GetFileStatus(address) != 2)
                    return true;
                continue;
            }
            if (IStream* stream = source->OpenFileStream(address))
            {
                if (FileSystem* fileSystem = GetFileSystem())
                    fileSystem->CloseStream(stream);
                else
                    delete stream;
                return true;
            }
        }
        catch (const std::exception&)
        {
            // A name too long for an address, or a source that failed: not there.
        }
    }
    return false;
}

void AddImageFiles(std::list<FileVariant>* files, const std::wstring& name)
{
    files->push_back(ImageManager::GetImageFileVariant(name));
    files->push_back(ImageManager::GetImageMaskFileVariant(name));
}

} // namespace

IResourceDescriptor* ImageListResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                              const IAttributeContainer& attributes,
                                                              IXMLReader& element) const
{
    auto wrapper = std::make_unique<ResourceWrapper<ImageList>>(manifest, name, attributes);
    ImageList& list = *wrapper;

    if (attributes.HasAttribute(L"pattern"))
        LoadPatternImages(list, name, attributes);

    // The first element is the list's own start tag; every start element directly inside it is an image.
    // Each child is recorded whole before it is made, so whatever its factory reads, this reader stays
    // at the child's end and grandchildren are never taken for children.
    bool failed = false;
    element.ReadElement();
    while (!element.IsEOF())
    {
        const XMLElement* item = element.ReadElement();
        if (item == nullptr)
            break;
        if (!item->IsStartElement())
            continue;
        XMLElementList child;
        XMLElementReader subtree(&element);
        CopyAllElements(subtree, &child);
        if (failed)
            continue;
        child.ReadElement();
        const std::string tag = TruncateStringWideToASCII(child.GetElements().front().GetName().c_str());
        IResourceDescriptor* made = nullptr;
        try
        {
            made = GetResourceManager()->LoadResource(manifest.c_str(), child);
        }
        catch (const std::exception& error)
        {
            Internal::LogWrite("Image list %s could not be loaded. (its item %s failed: %s)\n", name.c_str(),
                               tag.c_str(), error.what());
            failed = true;
            continue;
        }
        IImage* image = dynamic_cast<IImage*>(made);
        if (!image)
        {
            Internal::LogWrite("Image list %s could not be loaded. (its item %s %s)\n", name.c_str(), tag.c_str(),
                               made ? "is not an image" : "could not be made");
            delete made;
            failed = true;
            continue;
        }
        list.AddOwnedImage(image);
    }
    if (failed)
        return nullptr;
    return wrapper.release();
}

void ImageListResourceFactory::GetFileListForResource(std::list<FileVariant>* files, const std::wstring& /*manifest*/,
                                                      Label name, const IAttributeContainer& attributes,
                                                      IXMLReader& element) const
{
    if (!files)
        return;
    if (attributes.HasAttribute(L"pattern"))
    {
        const bool capped =
            ForEachPatternName(attributes,
                               [&](int index, const std::wstring& file)
                               {
                                   if (index > 0 && !HasAnyFile(ImageManager::GetImageFileVariant(file)))
                                       return false;
                                   AddImageFiles(files, file);
                                   return true;
                               });
        if (capped)
            LogCapped(name);
    }
    if (!files->empty())
        return;
    int depth = 0;
    do
    {
        const XMLElement* item = element.ReadElement();
        if (item == nullptr)
            break;
        if (item->IsStartElement())
        {
            const std::wstring source = item->GetAttribute(L"src");
            if (depth == 1 && !source.empty())
                AddImageFiles(files, source);
            ++depth;
        }
        else if (item->IsEndElement())
        {
            --depth;
        }
    } while (!element.IsEOF());
}

IResourceDescriptor* FilmStripResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                              const IAttributeContainer& attributes,
                                                              IXMLReader& /*element*/) const
{
    const std::wstring source = attributes.GetAttribute(L"src");
    std::unique_ptr<Image> image = ImageManager::LoadImage(source.c_str());
    if (!image)
        return nullptr;
    auto wrapper = std::make_unique<ResourceWrapper<FilmStrip>>(manifest, name, attributes);
    wrapper->Init(std::move(image), attributes.GetAttribute(L"cols", 0), attributes.GetAttribute(L"rows", 0));
    return wrapper.release();
}

void FilmStripResourceFactory::GetFileListForResource(std::list<FileVariant>* files, const std::wstring& /*manifest*/,
                                                      Label /*name*/, const IAttributeContainer& attributes,
                                                      IXMLReader& /*element*/) const
{
    if (!files)
        return;
    AddImageFiles(files, attributes.GetAttribute(L"src"));
}

void RegisterImageListResourceFactories()
{
    ResourceManager* manager = GetResourceManager();
    manager->AddResourceFactory(L"imagelist", new ImageListResourceFactory());
    manager->AddResourceFactory(L"filmstrip", new FilmStripResourceFactory());
}

} // namespace Strata
