#pragma once

#include "core/Label.h"
#include "framework/ResourceManager.h"
#include "scene/SpriteAnimation.h"

#include <map>

namespace Strata
{

// A named resource that ties an image list (the frames) to named animations over it. Built on the
// loader thread, read-only afterwards.
class SpriteType
{
public:
    SpriteType() = default;
    virtual ~SpriteType() = default;
    // Copies re-resolve their links into their own map.
    SpriteType(const SpriteType& other);
    SpriteType& operator=(const SpriteType& other);

    // Null when there is none of that name.
    const SpriteAnimation* GetAnimation(Label name) const;
    // Stores a copy, replacing one of the same name, then resolves every link again, so a link may name
    // an animation added later.
    void AddAnimation(const SpriteAnimation& animation);
    void AddAnimations(const std::map<Label, SpriteAnimation>& animations);
    // Points every animation's link at the entry its linked name names here; a null or empty linked
    // name, or one with no entry, links to nothing.
    void ResolveLinkedAnimations();

    const std::map<Label, SpriteAnimation>& GetAnimations() const { return mAnimations; }

    Label name;
    // The image-list resource whose images the frame indices name.
    Label images;

private:
    std::map<Label, SpriteAnimation> mAnimations;
};

// The manifest tag "spritetype": a ResourceWrapper<SpriteType> with "name", "images", the animations of
// the list named by "animationList" (when that list is loaded), then its "animation" children in
// document order. A bad animation throws its AnimationParseError named after the type (other errors
// pass unchanged); nothing is kept then.
class SpriteTypeResourceFactory : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override;
};

} // namespace Strata
