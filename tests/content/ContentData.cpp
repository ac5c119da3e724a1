#include "ContentData.h"

#include "core/AttributeContainer.h"
#include "core/FileAddress.h"
#include "core/MemoryStream.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>

namespace Strata::Content
{

namespace
{

// The engine's audio extensions in the order a base name is resolved.
const char* const kAudioExtensions[] = {".ogg", ".mp3", ".wav", ".aif", ".mod", ".s3m",
                                        ".xm",  ".it",  ".mo3", ".mtm", ".umx"};

std::string Narrow(const std::wstring& text)
{
    return TruncateStringWideToASCII(text.c_str());
}

std::string ResolveAudio(const std::string& dataFolder, const std::string& src)
{
    if (src.empty())
        return {};
    for (const char* extension : kAudioExtensions)
    {
        const std::filesystem::path path = std::filesystem::path(dataFolder) / (src + extension);
        if (std::filesystem::is_regular_file(path))
            return path.string();
    }
    return {};
}

// What the recording factories made, by manifest; the loader thread writes it, the test reads it.
struct Recordings
{
    std::mutex mutex;
    std::map<std::wstring, std::map<std::string, SoundShape>> shapes;
};

Recordings& GetRecordings()
{
    static Recordings recordings;
    return recordings;
}

void Record(const std::wstring& manifest, Label name, SoundShape shape)
{
    Recordings& recordings = GetRecordings();
    std::lock_guard<std::mutex> lock(recordings.mutex);
    recordings.shapes[manifest][name.c_str()] = std::move(shape);
}

class RecordingSoundFactory final : public IResourceFactory
{
  public:
    RecordingSoundFactory(std::string dataFolder, bool random)
        : mDataFolder(std::move(dataFolder)), mRandom(random)
    {
    }

    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name,
                                        const IAttributeContainer& attributes,
                                        IXMLReader& element) const override
    {
        auto wrapper = std::make_unique<ResourceWrapper<RecordedSound>>(manifest, name, attributes);
        wrapper->random = mRandom;
        wrapper->kind = Narrow(attributes.GetAttribute(L"type"));
        if (!mRandom)
        {
            Add(*wrapper, Narrow(attributes.GetAttribute(L"src")));
        }
        else
        {
            element.ReadElement(); // the "randomsound" element itself
            while (!element.IsEOF())
            {
                const XMLElement* item = element.ReadElement();
                if (item == nullptr)
                    break;
                if (item->IsStartElement() && item->GetName() == L"sound")
                    Add(*wrapper, Narrow(item->GetAttribute(L"src")));
            }
        }
        SoundShape shape;
        shape.description =
            (mRandom ? "a random sound of " + std::to_string(wrapper->files.size()) : "a sound") +
            (wrapper->kind.empty() ? std::string() : " of type " + wrapper->kind);
        for (const SoundFile& file : wrapper->files)
        {
            if (!file.path.empty())
                shape.files.push_back(file.path);
        }
        Record(manifest, name, std::move(shape));
        return wrapper.release();
    }

  private:
    void Add(RecordedSound& sound, const std::string& src) const
    {
        sound.files.push_back(SoundFile{src, ResolveAudio(mDataFolder, src)});
    }

    std::string mDataFolder;
    bool mRandom;
};

class RecordingSoundListFactory final : public IResourceFactory
{
  public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name,
                                        const IAttributeContainer& attributes,
                                        IXMLReader& element) const override
    {
        auto wrapper = std::make_unique<ResourceWrapper<RecordedSoundList>>(manifest, name, attributes);
        element.ReadElement(); // the "soundlist" element itself
        while (!element.IsEOF())
        {
            const XMLElement* item = element.ReadElement();
            if (item == nullptr)
                break;
            if (!item->IsStartElement() || item->GetName() != L"sound")
                continue;
            RecordedSoundList::Entry entry;
            entry.src = Narrow(item->GetAttribute(L"src"));
            // As the engine's list does: the sound must already be loaded when the list is built.
            entry.resolved = !entry.src.empty() && AutoResource<RecordedSound>(entry.src).Get() != nullptr;
            wrapper->entries[Narrow(item->GetAttribute(L"event"))] = entry;
        }
        SoundShape shape;
        shape.isList = true;
        shape.description = "a sound list of";
        for (const auto& [event, entry] : wrapper->entries)
            shape.description += " " + event + "=" + entry.src;
        Record(manifest, name, std::move(shape));
        return wrapper.release();
    }
};

// Reads an element's whole subtree, so that the manifest goes on after it, and notes its tag.
class SkimmingFactory final : public IResourceFactory
{
  public:
    explicit SkimmingFactory(std::string tag) : mTag(std::move(tag)) {}

    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name,
                                        const IAttributeContainer& attributes,
                                        IXMLReader& element) const override
    {
        while (!element.IsEOF() && element.ReadElement() != nullptr)
        {
        }
        auto wrapper = std::make_unique<ResourceWrapper<RecordedElement>>(manifest, name, attributes);
        wrapper->tag = mTag;
        return wrapper.release();
    }

  private:
    std::string mTag;
};

// Adds the names a scene layout element refers to.
void AddLayoutReferences(const XMLElement& element, const std::string& where,
                         std::vector<LayoutReference>& out)
{
    const std::wstring tag = element.GetName();
    const auto refer = [&](const wchar_t* attribute, std::set<std::string> acceptable)
    {
        const std::string name = Narrow(element.GetAttribute(attribute));
        if (!name.empty())
            out.push_back({where + " " + Narrow(tag) + " " + Narrow(attribute), name, std::move(acceptable)});
    };
    if (tag == L"staticspritenode" || tag == L"tiledspritenode")
        refer(L"src", {"image"});
    if (tag == L"animatedspritenode")
        refer(L"spriteType", {"spritetype"});
    if (tag == L"sceneref")
        refer(L"scenename", {"scenelayout"});
    refer(L"images", {"imagelist"});
    refer(L"font", {"font"});
    refer(L"sounds", {"soundlist"});
}

} // namespace

std::string DataFolder()
{
    return STRATA_CONTENT_DATA_DIR;
}

FolderFileSource::FolderFileSource(std::string folder) : mFolder(std::move(folder))
{
    RegisterSingleton(static_cast<IFileSource*>(this));
}

FolderFileSource::~FolderFileSource()
{
    if (GetFileSource() == this)
        RegisterSingleton(static_cast<IFileSource*>(nullptr));
}

IStream* FolderFileSource::OpenFileStream(const FileAddress& address) const
{
    std::filesystem::path path(mFolder);
    if (address.GetFolder() != nullptr && *address.GetFolder() != L'\0')
        path /= Narrow(address.GetFolder());
    path /= Narrow(std::wstring(address.GetName()) + address.GetExtension());
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto stream = std::make_unique<MemoryStream>(path.wstring());
    if (stream->Write(bytes.data(), bytes.size()) != bytes.size())
        return nullptr;
    stream->Seek(SeekOrigin_Begin, 0);
    return stream.release();
}

void RegisterRecordingFactories(ResourceManager& manager, const std::string& dataFolder)
{
    {
        Recordings& recordings = GetRecordings();
        std::lock_guard<std::mutex> lock(recordings.mutex);
        recordings.shapes.clear();
    }
    manager.AddResourceFactory(L"sound", new RecordingSoundFactory(dataFolder, false));
    manager.AddResourceFactory(L"randomsound", new RecordingSoundFactory(dataFolder, true));
    manager.AddResourceFactory(L"soundlist", new RecordingSoundListFactory());
    for (const char* tag : {"scenelayout", "spritetype", "spriteanimationlist"})
        manager.AddResourceFactory(std::wstring(tag, tag + std::strlen(tag)).c_str(),
                                   new SkimmingFactory(tag));
}

std::map<std::string, SoundShape> RecordedShapes(const std::wstring& manifest)
{
    Recordings& recordings = GetRecordings();
    std::lock_guard<std::mutex> lock(recordings.mutex);
    const auto found = recordings.shapes.find(manifest);
    return found == recordings.shapes.end() ? std::map<std::string, SoundShape>() : found->second;
}

AudioFacts DecodeAudio(const std::string& path)
{
    AudioFacts facts;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
    {
        facts.error = sf_strerror(nullptr);
        return facts;
    }
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> closer(file, sf_close);
    if (info.channels < 1 || info.samplerate < 1)
    {
        facts.error = "no channels or no sample rate";
        return facts;
    }
    facts.channels = info.channels;
    facts.rate = info.samplerate;
    std::vector<float> buffer(4096 * static_cast<size_t>(info.channels));
    sf_count_t frames = 0;
    for (;;)
    {
        const sf_count_t got = sf_readf_float(file, buffer.data(), 4096);
        if (got <= 0)
            break;
        frames += got;
        for (sf_count_t i = 0; i < got * info.channels; ++i)
            facts.peak = std::max(facts.peak, static_cast<double>(std::fabs(buffer[static_cast<size_t>(i)])));
    }
    if (sf_error(file) != SF_ERR_NO_ERROR)
        facts.error = sf_strerror(file);
    facts.seconds = static_cast<double>(frames) / info.samplerate;
    return facts;
}

DeclaredNames ReadDeclaredNames(const std::string& dataFolder)
{
    DeclaredNames names;
    std::vector<std::filesystem::path> manifests;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder))
    {
        if (entry.is_regular_file() && entry.path().extension() == ".xml")
            manifests.push_back(entry.path());
    }
    std::sort(manifests.begin(), manifests.end());
    for (const auto& path : manifests)
    {
        const std::string manifest = path.stem().string();
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        MemoryStream stream(path.wstring());
        stream.Write(bytes.data(), bytes.size());
        stream.Seek(SeekOrigin_Begin, 0);
        try
        {
            const std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);
            int depth = 0;
            std::string layout; // the scene layout being read, if any
            int layoutDepth = 0;
            std::vector<std::string> nodePath; // node names from the layout's root to the current node
            while (!reader->IsEOF())
            {
                const XMLElement* element = reader->ReadElement();
                if (element == nullptr)
                    break;
                if (element->IsStartElement())
                {
                    ++depth;
                    const std::string name = Narrow(element->GetAttribute(L"name"));
                    if (depth == 2 && !name.empty())
                    {
                        const std::string tag = Narrow(element->GetName());
                        // The Spanish voices are loaded instead of the English ones, never beside them.
                        if (manifest != "AudioResources_SP" && !names.kinds.emplace(name, tag).second)
                            names.errors.push_back(manifest + ": " + name + " is declared twice");
                        if (tag == "scenelayout")
                        {
                            layout = name;
                            layoutDepth = depth;
                        }
                        if (tag == "spritetype")
                        {
                            const std::string images = Narrow(element->GetAttribute(L"images"));
                            if (!images.empty())
                                names.layoutReferences.push_back(
                                    {manifest + ": spritetype " + name + " images",
                                     images,
                                     {"imagelist", "filmstrip"}});
                        }
                    }
                    else if (!layout.empty() && depth > layoutDepth)
                    {
                        AddLayoutReferences(*element, manifest + ": " + layout, names.layoutReferences);
                        const std::string nodeName = Narrow(element->GetAttribute(L"nodeName"));
                        nodePath.push_back(nodeName.empty() ? "?" : nodeName);
                        std::string joined;
                        for (const auto& step : nodePath)
                            joined += (joined.empty() ? "" : "/") + step;
                        names.layoutNodes[layout].push_back({joined, Narrow(element->GetName()), name});
                    }
                }
                else if (element->IsEndElement())
                {
                    if (!layout.empty() && depth == layoutDepth)
                        layout.clear();
                    else if (!layout.empty() && depth > layoutDepth && !nodePath.empty())
                        nodePath.pop_back();
                    --depth;
                }
            }
        }
        catch (const std::exception& error)
        {
            names.errors.push_back(manifest + ": " + error.what());
        }
    }
    return names;
}

} // namespace Strata::Content
