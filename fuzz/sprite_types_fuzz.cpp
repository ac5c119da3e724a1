// Feeds arbitrary bytes to the sprite factories as a manifest ("spriteanimationlist", "spritetype" and the
// image lists they name), over small image files (img0.gif, img1.png). Every animation kept has frames
// within the limit, each lasting a finite time no shorter than the least; every resolved link stays inside
// its sprite type, so following links (loops included) never leaves it.

#include "FuzzImages.h"
#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/XMLReader.h"
#include "framework/ResourceManager.h"
#include "scene/SpriteAnimation.h"
#include "scene/SpriteType.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

void CheckAnimations(const std::map<Label, SpriteAnimation>& animations, bool linksResolved)
{
    for (const auto& [name, animation] : animations)
    {
        Check(animation.name == name);
        Check(!animation.frames.empty() && animation.frames.size() <= kMaxAnimationFrames);
        for (const AnimFrame& frame : animation.frames)
            Check(std::isfinite(frame.duration) && frame.duration >= kMinFrameDuration);
        if (!linksResolved)
        {
            Check(animation.linked == nullptr);
            continue;
        }
        // Links point at entries of the same map, whatever loops they make.
        const SpriteAnimation* next = &animation;
        for (int step = 0; step < 16 && next != nullptr; ++step)
        {
            const auto found = animations.find(next->name);
            Check(found != animations.end() && &found->second == next);
            next = next->linked;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fuzzing::MemoryFiles files;
    static ResourceManager* const manager = []
    {
        files.Set(L"img0.gif", Fuzzing::SmallGif());
        files.Set(L"img1.png", Fuzzing::SmallPng());
        ResourceManager* created = Fuzzing::ImageResourceManager(files);
        created->AddResourceFactory(L"spriteanimationlist", new SpriteAnimationListResourceFactory());
        created->AddResourceFactory(L"spritetype", new SpriteTypeResourceFactory());
        return created;
    }();

    ReadOnlyMemoryStream stream(L"Sprites.xml", data, size);
    try
    {
        manager->LoadFromStream(&stream, L"Sprites");
    }
    catch (const std::exception&)
    {
    }
    const std::set<std::wstring> names = Fuzzing::NamesIn(data, size);
    for (const std::wstring& name : names)
    {
        const std::shared_ptr<IResourceDescriptor> resource = manager->GetResource(Label::FromString(name));
        if (const auto* type = dynamic_cast<const SpriteType*>(resource.get()))
        {
            CheckAnimations(type->GetAnimations(), true);
            // A copy resolves its links into its own map.
            const SpriteType copy(*type);
            CheckAnimations(copy.GetAnimations(), true);
        }
        if (const auto* list = dynamic_cast<const SpriteAnimationList*>(resource.get()))
            CheckAnimations(list->GetAnimations(), false);
    }
    manager->Unload(L"Sprites");
    for (const std::wstring& name : names)
        Check(manager->GetResource(Label::FromString(name)) == nullptr);
    return 0;
}
