#include "graphics/FontResourceFactory.h"

#include "core/AttributeContainer.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/ImageFont.h"
#include "graphics/ImageManager.h"

#include <memory>

namespace Strata
{

IResourceDescriptor* FontResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                         const IAttributeContainer& attributes,
                                                         IXMLReader& /*element*/) const
{
    auto wrapper = std::make_unique<ResourceWrapper<ImageFont>>(manifest, name, attributes);
    if (!wrapper->Load(attributes.GetAttribute(L"src")))
        return nullptr;
    return wrapper.release();
}

void FontResourceFactory::GetFileListForResource(std::list<FileVariant>* files, const std::wstring& /*manifest*/,
                                                 Label /*name*/, const IAttributeContainer& attributes,
                                                 IXMLReader& /*element*/) const
{
    if (!files)
        return;
    const std::wstring source = attributes.GetAttribute(L"src");
    files->push_back(FileVariant{source, {L".txt"}});
    files->push_back(ImageManager::GetImageFileVariant(source));
    files->push_back(ImageManager::GetImageMaskFileVariant(source));
}

void RegisterFontResourceFactory()
{
    GetResourceManager()->AddResourceFactory(L"font", new FontResourceFactory());
}

} // namespace Strata
