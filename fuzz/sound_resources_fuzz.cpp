// Feeds arbitrary bytes to the sound factories as a manifest ("sound", "randomsound", "soundlist"), over a
// short valid WAV (beep.wav), damaged sound files (bad.ogg, bad.wav) and a damaged module (tune.xm). Every
// sound made keeps its defaults in range and holds no more variants than its tag had; every list answers
// for its events; unloading leaves none of them.

#include "FuzzSounds.h"
#include "FuzzSupport.h"

#include "audio/OpenALSound.h"
#include "audio/SoundList.h"
#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/XMLReader.h"
#include "framework/ResourceManager.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

// The tags the input holds, with the count of inner "sound" tags of each, by name.
std::map<std::wstring, int> NamedTags(const uint8_t* data, size_t size)
{
    std::map<std::wstring, int> names;
    ReadOnlyMemoryStream stream(L"Sounds.xml", data, size);
    try
    {
        auto reader = CreateXMLReader(&stream);
        std::wstring current;
        int depth = 0;
        while (!reader->IsEOF() && names.size() < 64)
        {
            const XMLElement* element = reader->ReadElement();
            if (element == nullptr)
                break;
            if (element->IsStartElement())
            {
                ++depth;
                if (element->HasAttribute(L"name"))
                    names.emplace(element->GetAttribute(L"name"), 0);
                if (element->GetName() == L"sound")
                    for (auto& [name, count] : names)
                        ++count;
            }
            else if (element->IsEndElement())
            {
                --depth;
            }
        }
    }
    catch (const std::exception&)
    {
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fuzzing::MemoryFiles files;
    static ResourceManager* const manager = []
    {
        files.Set(L"beep.wav", Fuzzing::Beep());
        files.Set(L"bad.wav", Fuzzing::Beep().substr(0, 30));
        files.Set(L"bad.ogg", "OggS\0\0garbage");
        files.Set(L"tune.xm", "Extended Module: damaged");
        static Fuzzing::MemoryFileSource source(files);
        RegisterSingleton(&source);
        ResourceManager* created = GetResourceManager();
        created->AddResourceFactory(L"sound", new OpenALSoundResourceFactory());
        created->AddResourceFactory(L"randomsound", new OpenALRandomSoundResourceFactory());
        created->AddResourceFactory(L"soundlist", new SoundListResourceFactory());
        return created;
    }();

    ReadOnlyMemoryStream stream(L"Sounds.xml", data, size);
    try
    {
        manager->LoadFromStream(&stream, L"Sounds");
    }
    catch (const std::exception&)
    {
    }
    const std::map<std::wstring, int> names = NamedTags(data, size);
    for (const auto& [name, inner] : names)
    {
        const std::shared_ptr<IResourceDescriptor> resource = manager->GetResource(Label::FromString(name));
        if (const auto* sound = dynamic_cast<const OpenALSound*>(resource.get()))
        {
            Check(sound->GetDefaultVolume() >= 0.0f && sound->GetDefaultVolume() <= 1.0f);
            Check(sound->GetDefaultPan() >= -1.0f && sound->GetDefaultPan() <= 1.0f);
            Check(std::isfinite(sound->GetDefaultRate()) && sound->GetDefaultRate() > 0.0f);
            Check(sound->GetDefaultLoopCount() >= 0);
            Check(!sound->GetKind().IsNull());
            const auto* variants = dynamic_cast<const OpenALSoundData*>(sound->GetSoundData());
            Check(variants != nullptr && variants->GetVariantCount() <= static_cast<size_t>(inner) + 1);
        }
        if (const auto* list = dynamic_cast<const SoundList*>(resource.get()))
        {
            Check(list->GetCount() <= static_cast<size_t>(inner));
            for (const char* event : {"Hot", "Down", "", "beep"})
                list->GetSound(Label(event));
        }
    }
    manager->Unload(L"Sounds");
    for (const auto& [name, inner] : names)
        Check(manager->GetResource(Label::FromString(name)) == nullptr);
    return 0;
}
