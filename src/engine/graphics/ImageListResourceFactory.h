#pragma once

#include "framework/ResourceManager.h"

namespace Strata
{

// Makes the "imagelist" resources of manifests: a ResourceWrapper<ImageList> holding the images named
// by "pattern" (formatted with the index as its first argument, e.g. "walk%1%", for the indices from
// "first", default 0, to "last", default the largest int) and then one image per child element, each
// child made by the resource manager's factory for its tag. In the pattern, a missing image above
// index 0 ends the sequence; one at 0 or below is skipped. At most kMaxImageListPatternImages indices
// are tried. "rotations" gives each pattern image a rotation cache, as it does an "image".
class ImageListResourceFactory : public IResourceFactory
{
public:
    // Null, with one log line, when a child yields no resource, one that is not an image, or an error of
    // its factory (the image loader has logged a missing file already). Never throws for bad content; an
    // error reading a damaged document passes on to the resource manager.
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
    // For the pattern, the image file and its mask for each index whose file the file source has (the
    // first index above 0 without one ends the scan; indices at 0 or below are listed anyway). When
    // that lists nothing, the image file and mask named by "src" of each child element.
    void GetFileListForResource(std::list<FileVariant>* files, const std::wstring& manifest, Label name,
                                const IAttributeContainer& attributes, IXMLReader& element) const override;
};

// Makes the "filmstrip" resources: a ResourceWrapper<FilmStrip> over the image named by "src", cut into
// "cols" x "rows" panes (each default 1).
class FilmStripResourceFactory : public IResourceFactory
{
public:
    // Null when the image cannot be loaded; the loader has written the log line.
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
    // The image file and its optional mask.
    void GetFileListForResource(std::list<FileVariant>* files, const std::wstring& manifest, Label name,
                                const IAttributeContainer& attributes, IXMLReader& element) const override;
};

// Registers both factories with the resource manager (creating the manager and starting its loader
// thread when it does not exist yet) under "imagelist" and "filmstrip", replacing earlier ones.
void RegisterImageListResourceFactories();

} // namespace Strata
