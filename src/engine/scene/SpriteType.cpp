#include "scene/SpriteType.h"

#include "core/AttributeContainer.h"
#include "core/WideString.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"

#include <memory>

namespace Strata
{

SpriteType::SpriteType(const SpriteType& other) : name(other.name), images(other.images), mAnimations(other.mAnimations)
{
    ResolveLinkedAnimations();
}

SpriteType& SpriteType::operator=(const SpriteType& other)
{
    name = other.name;
    images = other.images;
    mAnimations = other.mAnimations;
    ResolveLinkedAnimations();
    return *this;
}

const SpriteAnimation* SpriteType::GetAnimation(Label animationName) const
{
    const auto found = mAnimations.find(animationName);
    return found != mAnimations.end() ? &found->second : nullptr;
}

void SpriteType::AddAnimation(const SpriteAnimation& animation)
{
    mAnimations.insert_or_assign(animation.name, animation);
    ResolveLinkedAnimations();
}

void SpriteType::AddAnimations(const std::map<Label, SpriteAnimation>& animations)
{
    for (const auto& [key, animation] : animations)
        AddAnimation(animation);
}

void SpriteType::ResolveLinkedAnimations()
{
    for (auto& [key, animation] : mAnimations)
    {
        const Label link = animation.linkedAnimation;
        animation.linked = (link.IsNull() || *link.c_str() == '\0') ? nullptr : GetAnimation(link);
    }
}

IResourceDescriptor* SpriteTypeResourceFactory::CreateResource(const std::wstring& manifest, Label name,
                                                               const IAttributeContainer& attributes,
                                                               IXMLReader& element) const
{
    auto type = std::make_unique<ResourceWrapper<SpriteType>>(manifest, name, attributes);
    type->images = Label::FromString(attributes.GetAttribute(L"images"));
    type->name = Label::FromString(attributes.GetAttribute(L"name"));
    const AutoResource<SpriteAnimationList> shared(
        TruncateStringWideToASCII(attributes.GetAttribute(L"animationList").c_str()));
    if (shared.Get() != nullptr)
        type->AddAnimations(shared->GetAnimations());
    try
    {
        for (const SpriteAnimation& animation : ReadAnimationElements(element))
            type->AddAnimation(animation);
    }
    catch (AnimationParseError& error)
    {
        error.setSpriteTypeName(type->name.c_str());
        throw;
    }
    return type.release();
}

} // namespace Strata
