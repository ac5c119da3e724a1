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

namespace Strata
{

namespace
{

// Calls `visit` with the name the pattern gives each index from "first" to "last", at most
// kMaxImageListPatternImages times, until it returns false. Logs when the cap cut the range short.
void ForEachPatternName(const IAttributeContainer& attributes, Label listName,
                        const std::function<bool(int, const std::wstring&)>& visit)
{
    const std::wstring pattern = attributes.GetAttribute(L"pattern");
    const long long first = attributes.GetAttribute(L"first", 0);
    const long long last = attributes.GetAttribute(L"last", INT_MAX);
    long long tried = 0;
    for (long long i = first; i <= last; ++i)
    {
        if (tried == kMaxImageListPatternImages)
        {
            Internal::LogWrite("Image list %s stops after %d indices of its pattern.\n", listName.c_str(),
                               kMaxImageListPatternImages);
            return;
        }
        ++tried;
        StringFormatter formatter(pattern);
        formatter.Arg(static_cast<int>(i));
        if (!visit(static_cast<int>(i), formatter.c_str()))
            return;
    }
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
    {
        ForEachPatternName(
            attributes, name,
            [&](int index, const std::wstring& file)
            {
                std::unique_ptr<Image> image = ImageManager::LoadImage(file.c_str());
                if (!image)
                {
                    // Numbering may start at 1 although "first" says 0.
                    return index <= 0;
                }
                MakeImageRotations(*image, name, attributes);
                list.AddOwnedImage(image.release());
                return true;
            });
    }

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
        ForEachPatternName(
            attributes, name,
            [&](int index, const std::wstring& file)
            {
                if (index > 0 && !HasAnyFile(ImageManager::GetImageFileVariant(file)))
                    return false;
                AddImageFiles(files, file);
                return true;
            });
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
