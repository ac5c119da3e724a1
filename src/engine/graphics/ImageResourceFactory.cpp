#include "graphics/ImageResourceFactory.h"

#include "core/AttributeContainer.h"
#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Image.h"
#include "graphics/ImageManager.h"

#include <memory>

namespace Strata
{

void MakeImageRotations(Image& image, Label name, const IAttributeContainer& attributes)
{
    int rotations = attributes.GetAttribute(L"rotations", 0);
    if (rotations > kMaxImageRotations)
    {
        Internal::LogWrite("Image %s asks for %d rotations; %d are made.\n", name.c_str(), rotations,
                           kMaxImageRotations);
        rotations = kMaxImageRotations;
    }
    if (rotations <= 1)
        return;
    // Each turned copy is made when first drawn at its angle and kept. A shake draws two or three of
    // them; making every slot of every listed picture here would hold tens of megabytes for angles most
    // pictures never show.
    image.SetRotationCache(std::make_unique<ImageRotationCache>(rotations));
}

IResourceDescriptor* ImageResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                          const IAttributeContainer& attributes,
                                                          IXMLReader& /*element*/) const
{
    auto wrapper = std::make_unique<ResourceWrapper<Image>>(manifest, name, attributes);
    const std::wstring source = attributes.GetAttribute(L"src");
    Image* image = wrapper.get();
    if (!ImageManager::LoadImage(source.c_str(), image))
        return nullptr;

    MakeImageRotations(*image, name, attributes);
    return wrapper.release();
}

void ImageResourceFactory::GetFileListForResource(std::list<FileVariant>* files, const std::wstring& /*manifest*/,
                                                  Label /*name*/, const IAttributeContainer& attributes,
                                                  IXMLReader& /*element*/) const
{
    if (!files)
        return;
    const std::wstring source = attributes.GetAttribute(L"src");
    files->push_back(ImageManager::GetImageFileVariant(source));
    files->push_back(ImageManager::GetImageMaskFileVariant(source));
}

} // namespace Strata
