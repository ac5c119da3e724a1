#include "framework/ResourceDescriptor.h"

namespace Strata
{

ResourceDescriptor::ResourceDescriptor(const std::wstring& manifest, const Label& name,
                                       const IAttributeContainer& attributes)
    : AttributeContainer(attributes.GetAttributes()), mManifest(manifest), mName(name)
{
}

ResourceDescriptor::~ResourceDescriptor() = default;

std::wstring ResourceDescriptor::GetManifest() const
{
    return mManifest;
}

Label ResourceDescriptor::GetName() const
{
    return mName;
}

} // namespace Strata
