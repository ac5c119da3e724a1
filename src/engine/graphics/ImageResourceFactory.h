#pragma once

#include "framework/ResourceManager.h"

namespace Strata
{

class Image;

// Gives the image the rotation cache that the resource's "rotations" attribute asks for (none at 1 or
// less, at most kMaxImageRotations, logged naming `name` when capped), filled at once so that the
// software canvas can draw it turned.
void MakeImageRotations(Image& image, Label name, const IAttributeContainer& attributes);

// Makes the "image" resources of manifests: a ResourceWrapper<Image> filled from the file named by
// "src" (without extension, as GIF, JPEG or PNG with an optional "_mask" companion). With "rotations"
// above 1 the image gets a rotation cache of that many steps (at most kMaxImageRotations), filled at
// once so that the software canvas can draw it turned.
class ImageResourceFactory : public IResourceFactory
{
public:
    // Null when the image cannot be loaded; the loader has written the log line. Never throws for
    // bad content.
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
    // The image file and its optional mask, each with the extensions it may have.
    void GetFileListForResource(std::list<FileVariant>* files, const std::wstring& manifest, Label name,
                                const IAttributeContainer& attributes, IXMLReader& element) const override;
};

} // namespace Strata
