#pragma once

#include "framework/ResourceManager.h"

namespace Strata
{

// Makes the "font" resources of manifests: a ResourceWrapper<ImageFont> from the font image named by
// "src" (GIF, JPEG or PNG with an optional "_mask" companion) and its metrics file "src".txt.
class FontResourceFactory : public IResourceFactory
{
public:
    // Null when the image or the metrics cannot be loaded or the metrics are damaged; one log line says
    // why. Never throws for bad content.
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
    // The metrics file, then the font image and its optional mask, each with the extensions it may have.
    void GetFileListForResource(std::list<FileVariant>* files, const std::wstring& manifest, Label name,
                                const IAttributeContainer& attributes, IXMLReader& element) const override;
};

// Registers a FontResourceFactory for the tag "font" with the global resource manager (creating the
// manager when there is none yet).
void RegisterFontResourceFactory();

} // namespace Strata
