#include "ContentData.h"

#include "core/AttributeContainer.h"
#include "core/FileAddress.h"
#include "core/FileSystem.h"
#include "core/MemoryStream.h"
#include "core/Singleton.h"
#include "core/Stream.h"
#include "core/WideString.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "game/PlanAJob/PlanAJobContent.h"
#include "game/screens/CutsceneMode.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "platform/linux/FileSystemPartition.h"
#include "support/MemoryFileSystemPartition.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>

namespace Strata::Content
{

namespace
{

// The engine's audio extensions in the order a base name is resolved.
const wchar_t* const kAudioExtensions[] = {L".ogg", L".mp3", L".wav", L".aif", L".mod", L".s3m",
                                           L".xm",  L".it",  L".mo3", L".mtm", L".umx"};

std::string Narrow(const std::wstring& text)
{
    return TruncateStringWideToASCII(text.c_str());
}
std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// The first file of the engine's extension order that the file source opens, as name and extension.
std::string ResolveAudio(const std::string& src)
{
    if (src.empty())
        return {};
    IFileSource* source = GetFileSource();
    for (const wchar_t* extension : kAudioExtensions)
    {
        std::string bytes;
        if (source != nullptr && ReadDataFile(Widen(src), extension, &bytes))
            return src + Narrow(extension);
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
    explicit RecordingSoundFactory(bool random) : mRandom(random) {}

    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
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
        shape.description = (mRandom ? "a random sound of " + std::to_string(wrapper->files.size()) : "a sound") +
                            (wrapper->kind.empty() ? std::string() : " of type " + wrapper->kind);
        for (const SoundFile& file : wrapper->files)
            if (!file.file.empty())
                shape.files.push_back(file.file);
        Record(manifest, name, std::move(shape));
        return wrapper.release();
    }

private:
    void Add(RecordedSound& sound, const std::string& src) const
    {
        sound.files.push_back(SoundFile{src, ResolveAudio(src)});
    }

    bool mRandom;
};

class RecordingSoundListFactory final : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
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

    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override
    {
        // The sub-tree reader holds EOF until its first read.
        for (const XMLElement* read = element.ReadElement(); read != nullptr && !element.IsEOF();)
            read = element.ReadElement();
        auto wrapper = std::make_unique<ResourceWrapper<RecordedElement>>(manifest, name, attributes);
        wrapper->tag = mTag;
        return wrapper.release();
    }

private:
    std::string mTag;
};

// Adds the names a scene layout element refers to.
void AddLayoutReferences(const XMLElement& element, const std::string& where, std::vector<LayoutReference>& out)
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

// The images of a pattern list: "first" (0 when absent) to "last"; -1 when a bound is no number.
int PatternCount(const std::wstring& first, const std::string& last)
{
    const std::string from = first.empty() ? "0" : Narrow(first);
    int a = 0;
    int b = 0;
    const auto [endA, errorA] = std::from_chars(from.data(), from.data() + from.size(), a);
    const auto [endB, errorB] = std::from_chars(last.data(), last.data() + last.size(), b);
    if (errorA != std::errc() || errorB != std::errc() || endA != from.data() + from.size() ||
        endB != last.data() + last.size())
        return -1;
    return b - a + 1;
}

} // namespace

std::string DataFolder()
{
    return STRATA_CONTENT_DATA_DIR;
}

void ShippedDataTest::SetUp()
{
    Internal::DeleteAllSingletons();
    files = std::make_unique<DataFiles>(DataFolder());
    manager = GetResourceManager();
    CreateConstantResourceFactories();
    manager->AddResourceFactory(L"image", new ImageResourceFactory());
    RegisterImageListResourceFactories();
    RegisterRecordingFactories(*manager);
}

void ShippedDataTest::TearDown()
{
    manager->Cleanup();
    files.reset();
    Internal::DeleteAllSingletons();
}

DataFiles::DataFiles(const std::string& folder)
{
    // The file system registers itself for deletion with the engine's singletons.
    auto* fileSystem = new FileSystem();
    fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, new Linux::FileSystemPartition(folder));
    mSource.reset(CreateDefaultFileSource());
    RegisterSingleton(mSource.get());
}

DataFiles::~DataFiles() = default;

void DataFiles::AddManifest(const std::string& name, const std::string& text)
{
    auto partition = std::make_unique<Testing::MemoryFileSystemPartition>(L"content check");
    partition->AddFile(Widen(name) + L".xml", text);
    GetFileSystem()->AddFileSystemPartition(FileSystemPartition_Resources, partition.release());
}

bool ReadDataFile(const std::wstring& name, const std::wstring& extension, std::string* bytes)
{
    IFileSource* source = GetFileSource();
    if (source == nullptr)
        return false;
    IStream* stream = nullptr;
    try
    {
        stream = source->OpenFileStream(FileAddress(name.c_str(), extension.c_str()));
    }
    catch (const std::exception&)
    {
        return false;
    }
    if (stream == nullptr)
        return false;
    bytes->assign(stream->GetLength(), '\0');
    size_t got = 0;
    while (got < bytes->size())
    {
        const size_t read = stream->Read(bytes->data() + got, bytes->size() - got);
        if (read == 0)
            break;
        got += read;
    }
    bytes->resize(got);
    if (IFileSystem* fileSystem = GetFileSystem())
        fileSystem->CloseStream(stream);
    else
        delete stream;
    return true;
}

void RegisterRecordingFactories(ResourceManager& manager)
{
    {
        Recordings& recordings = GetRecordings();
        std::lock_guard<std::mutex> lock(recordings.mutex);
        recordings.shapes.clear();
    }
    manager.AddResourceFactory(L"sound", new RecordingSoundFactory(false));
    manager.AddResourceFactory(L"randomsound", new RecordingSoundFactory(true));
    manager.AddResourceFactory(L"soundlist", new RecordingSoundListFactory());
    for (const char* tag : {"scenelayout", "layout", "spritetype", "spriteanimationlist"})
        manager.AddResourceFactory(std::wstring(tag, tag + std::strlen(tag)).c_str(), new SkimmingFactory(tag));
}

std::map<std::string, SoundShape> RecordedShapes(const std::wstring& manifest)
{
    Recordings& recordings = GetRecordings();
    std::lock_guard<std::mutex> lock(recordings.mutex);
    const auto found = recordings.shapes.find(manifest);
    return found == recordings.shapes.end() ? std::map<std::string, SoundShape>() : found->second;
}

namespace
{

// libsndfile's virtual I/O over a byte string.
struct MemoryFile
{
    const std::string* bytes;
    sf_count_t position = 0;
};

sf_count_t MemoryLength(void* user)
{
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes->size());
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* user)
{
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t size = MemoryLength(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file->position : size;
    file->position = std::clamp<sf_count_t>(base + offset, 0, size);
    return file->position;
}

sf_count_t MemoryRead(void* out, sf_count_t count, void* user)
{
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t left = MemoryLength(user) - file->position;
    const sf_count_t take = std::clamp<sf_count_t>(count, 0, left);
    std::memcpy(out, file->bytes->data() + file->position, static_cast<size_t>(take));
    file->position += take;
    return take;
}

sf_count_t MemoryWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t MemoryTell(void* user)
{
    return static_cast<MemoryFile*>(user)->position;
}

} // namespace

AudioFacts DecodeAudio(const std::string& file)
{
    AudioFacts facts;
    const size_t dot = file.rfind('.');
    std::string bytes;
    if (dot == std::string::npos || !ReadDataFile(Widen(file.substr(0, dot)), Widen(file.substr(dot)), &bytes))
    {
        facts.error = "cannot be read";
        return facts;
    }
    MemoryFile memory{&bytes};
    SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
    SF_INFO info{};
    SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &memory);
    if (sound == nullptr)
    {
        facts.error = sf_strerror(nullptr);
        return facts;
    }
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> closer(sound, sf_close);
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
        const sf_count_t got = sf_readf_float(sound, buffer.data(), 4096);
        if (got <= 0)
            break;
        frames += got;
        for (sf_count_t i = 0; i < got * info.channels; ++i)
            facts.peak = std::max(facts.peak, static_cast<double>(std::fabs(buffer[static_cast<size_t>(i)])));
    }
    if (sf_error(sound) != SF_ERR_NO_ERROR)
        facts.error = sf_strerror(sound);
    facts.seconds = static_cast<double>(frames) / info.samplerate;
    return facts;
}

DeclaredNames ReadDeclaredNames(const std::string& dataFolder)
{
    DeclaredNames names;
    std::vector<std::filesystem::path> manifests;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dataFolder))
        if (entry.is_regular_file() && entry.path().extension() == ".xml")
            manifests.push_back(entry.path());
    std::sort(manifests.begin(), manifests.end());
    for (const auto& path : manifests)
    {
        const std::string manifest = path.stem().string();
        names.byManifest[manifest];
        // A Spanish manifest that is loaded instead of its English namesake (the voices, the loading
        // screen) names the same resources without declaring them twice.
        const bool swapsIn =
            manifest.size() > 3 && manifest.compare(manifest.size() - 3, 3, "_SP") == 0 &&
            std::filesystem::exists(path.parent_path() / (manifest.substr(0, manifest.size() - 3) + ".xml"));
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
            std::string randomSound;            // "manifest:name" of the random sound being read, if any
            Declaration* declaration = nullptr; // the resource being read, if any
            bool countChildren = false;         // its items are its child elements
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
                        declaration = &names.byManifest[manifest][name];
                        const std::string last = Narrow(element->GetAttribute(L"last"));
                        countChildren = last.empty();
                        *declaration = Declaration();
                        declaration->tag = tag;
                        declaration->count = countChildren ? 0 : PatternCount(element->GetAttribute(L"first"), last);
                        declaration->attributes = element->GetAttributes();
                        if (!names.kinds.emplace(name, tag).second && !swapsIn)
                            names.errors.push_back(manifest + ": " + name + " is declared twice");
                        if (tag == "scenelayout")
                        {
                            layout = name;
                            layoutDepth = depth;
                        }
                        if (tag == "randomsound")
                        {
                            randomSound = manifest + ":" + name;
                            names.randomVariants[randomSound] = 0;
                        }
                        if (tag == "spritetype")
                        {
                            const std::string images = Narrow(element->GetAttribute(L"images"));
                            if (!images.empty())
                                names.layoutReferences.push_back({manifest + ": spritetype " + name + " images",
                                                                  images,
                                                                  {"imagelist", "filmstrip"}});
                        }
                    }
                    else if (depth == 3 && !randomSound.empty() && element->GetName() == L"sound")
                    {
                        ++names.randomVariants[randomSound];
                    }
                    else if (!layout.empty() && depth > layoutDepth)
                    {
                        AddLayoutReferences(*element, manifest + ": " + layout, names.layoutReferences);
                    }
                    if (depth == 3 && declaration != nullptr)
                    {
                        declaration->count += countChildren ? 1 : 0;
                        declaration->children.push_back({Narrow(element->GetName()), element->GetAttributes()});
                    }
                    if (depth == 4 && declaration != nullptr)
                        ++declaration->grandchildren;
                }
                else if (element->IsEndElement())
                {
                    if (depth == 2)
                    {
                        randomSound.clear();
                        declaration = nullptr;
                    }
                    if (!layout.empty() && depth == layoutDepth)
                        layout.clear();
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

namespace
{

// What a kind of name must be declared as.
struct KindRule
{
    const char* words; // for the report
    std::function<bool(const std::string& tag)> accepts;
    bool localized = false; // declared as "<name>_EN" and "<name>_SP"
    bool spoken = false;    // declared in a manifest of one language, which the other language's replaces
};

bool IsConstantTag(std::string tag)
{
    static const std::set<std::string> kValues = {"bool",  "int",   "float",  "string", "vector2f",   "vector2i",
                                                  "rectf", "recti", "colorf", "colori", "randomrange"};
    if (tag.size() > 5 && tag.compare(tag.size() - 5, 5, "array") == 0)
        tag.resize(tag.size() - 5);
    return kValues.count(tag) != 0;
}

KindRule RuleOf(Yardcrew::eContentKind kind)
{
    const auto tags = [](std::set<std::string> accepted)
    { return [accepted](const std::string& tag) { return accepted.count(tag) != 0; }; };
    switch (kind)
    {
    case Yardcrew::ContentKind_Image:
        return {"an image", tags({"image"})};
    case Yardcrew::ContentKind_ImageList:
        return {"an image list", tags({"imagelist", "filmstrip"})};
    case Yardcrew::ContentKind_LocalizedImageList:
        return {"an image list", tags({"imagelist", "filmstrip"}), true};
    case Yardcrew::ContentKind_LocalizedImage:
        return {"an image", tags({"image"}), true};
    case Yardcrew::ContentKind_SceneLayout:
        return {"a scene layout", tags({"scenelayout"})};
    case Yardcrew::ContentKind_Sound:
        return {"a sound", tags({"sound"})};
    case Yardcrew::ContentKind_Voice:
        return {"a voice line", tags({"sound", "randomsound", "soundlist"}), false, true};
    case Yardcrew::ContentKind_RandomSound:
        return {"a random sound", tags({"randomsound"})};
    case Yardcrew::ContentKind_SoundList:
        return {"a sound list", tags({"soundlist"})};
    case Yardcrew::ContentKind_Constant:
        return {"a constant", IsConstantTag};
    case Yardcrew::ContentKind_SpriteType:
        return {"a sprite type", tags({"spritetype"})};
    case Yardcrew::ContentKind_LevelProgression:
        return {"a level progression", tags({"LevelProg"})};
    case Yardcrew::ContentKind_Count:
        break;
    }
    return {"a known kind of name", [](const std::string&) { return false; }};
}

// The keys the code looks up inside a declaration: a sound list's entries, a sprite type's animations.
std::set<std::string> MembersOf(const Declaration& declaration)
{
    const bool list = declaration.tag == "soundlist";
    std::set<std::string> members;
    for (const Declaration::Child& child : declaration.children)
    {
        const auto key = child.attributes.find(list ? L"event" : L"name");
        if (child.tag == (list ? "sound" : "animation") && key != child.attributes.end())
            members.insert(Narrow(key->second));
    }
    return members;
}

} // namespace

std::vector<std::string> CheckContentLists(const std::string& dataFolder, std::span<const Yardcrew::sContentList> lists)
{
    const DeclaredNames declared = ReadDeclaredNames(dataFolder);
    std::vector<std::string> problems = declared.errors;
    const auto has = [&](const std::string& manifest) { return declared.byManifest.count(manifest) != 0; };
    const auto swapsIn = [&](const std::string& manifest) // a Spanish manifest that replaces its namesake
    {
        return manifest.size() > 3 && manifest.compare(manifest.size() - 3, 3, "_SP") == 0 &&
               has(manifest.substr(0, manifest.size() - 3));
    };
    const struct
    {
        const char* language;
        const char* suffix;
        bool spanish;
    } kLanguages[] = {{"English", "_EN", false}, {"Spanish", "_SP", true}};
    for (const auto& language : kLanguages)
    {
        // Name -> its manifest and declaration, as the game of this language loads them.
        std::map<std::string, std::pair<std::string, const Declaration*>> loaded;
        for (const auto& [manifest, names] : declared.byManifest)
        {
            const bool spanishOnly = swapsIn(manifest);
            const bool englishOnly = has(manifest + "_SP");
            if (language.spanish ? englishOnly : spanishOnly)
                continue;
            for (const auto& [name, declaration] : names)
                loaded.emplace(name, std::make_pair(manifest, &declaration));
        }
        for (const Yardcrew::sContentList& list : lists)
        {
            for (const Yardcrew::sContentName& wanted : list.names)
            {
                const KindRule rule = RuleOf(wanted.kind);
                const std::string name = std::string(wanted.name) + (rule.localized ? language.suffix : "");
                const std::string where = std::string(list.owner) + " (" + language.language + "): " + name;
                const auto found = loaded.find(name);
                if (found == loaded.end())
                {
                    problems.push_back(where + ", " + rule.words + ", is missing");
                    continue;
                }
                const auto& [manifest, declaration] = found->second;
                if (!rule.accepts(declaration->tag))
                    problems.push_back(where + " is declared by <" + declaration->tag + "> in " + manifest +
                                       ", not as " + rule.words);
                else if (rule.spoken && !swapsIn(manifest) && !has(manifest + "_SP"))
                    problems.push_back(where + " is declared in " + manifest + ", which is no language's own");
                else if (declaration->count < wanted.atLeast || declaration->count > wanted.atMost)
                    problems.push_back(where + " has " + std::to_string(declaration->count) + " items, not " +
                                       std::to_string(wanted.atLeast) + " to " + std::to_string(wanted.atMost));
                if (wanted.members.empty())
                    continue;
                const std::set<std::string> members = MembersOf(*declaration);
                for (const char* member : wanted.members)
                    if (!members.count(member))
                        problems.push_back(where + " has no " +
                                           (declaration->tag == "soundlist" ? "entry " : "animation ") + member);
            }
        }
    }
    return problems;
}

namespace
{

// A resource a manifest declares, with every attribute of its element and of the elements below it.
struct Scanned
{
    std::string manifest;
    std::string name;
    std::string tag;
    std::vector<std::pair<std::string, std::string>> values; // attribute, value; its own name left out
};

std::vector<Scanned> ScanDeclarations(const std::string& dataFolder, std::vector<std::string>& errors)
{
    std::vector<Scanned> scanned;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dataFolder))
    {
        if (!entry.is_regular_file() || entry.path().extension() != ".xml")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        MemoryStream stream(entry.path().wstring());
        stream.Write(bytes.data(), bytes.size());
        stream.Seek(SeekOrigin_Begin, 0);
        try
        {
            const std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);
            int depth = 0;
            bool inside = false; // below a named element of the manifest
            while (!reader->IsEOF())
            {
                const XMLElement* element = reader->ReadElement();
                if (element == nullptr)
                    break;
                if (element->IsEndElement())
                {
                    inside = inside && depth > 2;
                    --depth;
                    continue;
                }
                if (!element->IsStartElement())
                    continue;
                ++depth;
                const std::string name = Narrow(element->GetAttribute(L"name"));
                if (depth == 2 && !name.empty())
                {
                    scanned.push_back({entry.path().stem().string(), name, Narrow(element->GetName()), {}});
                    inside = true;
                }
                if (!inside)
                    continue;
                for (const auto& [attribute, value] : element->GetAttributes())
                    if (depth > 2 || attribute != L"name")
                        scanned.back().values.emplace_back(Narrow(attribute), Narrow(value));
            }
        }
        catch (const std::exception& error)
        {
            errors.push_back(entry.path().stem().string() + ": " + error.what());
        }
    }
    return scanned;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

std::span<const char* const> EngineNames()
{
    static const char* const kNames[] = {
        "LoadingMode",           "Splash1",        "Splash2",         "LoadingBackground",
        "LoadingBarEmpty",       "LoadingBarFull", "GenericCheckbox", "GenericTextEditField",
        "GenericTextEditCursor", "GenericList",    "Verdana12",       "WidgetSounds"};
    return kNames;
}

std::vector<std::string> FindUnusedContent(const std::string& dataFolder, std::span<const Yardcrew::sContentList> lists,
                                           const std::set<std::string>& manifests,
                                           const std::set<std::string>& levelTags)
{
    std::vector<std::string> problems;
    const std::vector<Scanned> scanned = ScanDeclarations(dataFolder, problems);
    std::multimap<std::string, const Scanned*> byName; // the declarations of the loaded manifests
    for (const Scanned& declaration : scanned)
        if (manifests.count(declaration.manifest))
            byName.emplace(declaration.name, &declaration);

    std::set<std::string> asked;
    std::vector<std::string> pending;
    const auto ask = [&](const std::string& name)
    {
        if (byName.count(name) && asked.insert(name).second)
            pending.push_back(name);
    };
    for (const Yardcrew::sContentList& list : lists)
    {
        for (const Yardcrew::sContentName& wanted : list.names)
        {
            const bool localized = RuleOf(wanted.kind).localized;
            ask(std::string(wanted.name) + (localized ? "_EN" : ""));
            if (localized)
                ask(std::string(wanted.name) + "_SP");
        }
    }
    std::set<std::string> files; // lower-case base names
    // The engine's own resources ship under their own names, declared or not ("Verdana12": the
    // engine's controls name their font, which no manifest of the game declares).
    for (const char* name : EngineNames())
    {
        ask(name);
        files.insert(Lower(name));
    }
    for (const auto& [name, declaration] : byName)
        if (levelTags.count(declaration->tag))
            ask(name);

    // What the loaders open: "src" of a picture, font or sound, and an image list's numbered pattern.
    static const std::set<std::string> kLoadsFiles = {"image", "imagelist", "filmstrip",
                                                      "font",  "sound",     "randomsound"};
    while (!pending.empty())
    {
        const std::string name = pending.back();
        pending.pop_back();
        for (auto [at, end] = byName.equal_range(name); at != end; ++at)
        {
            const Scanned& declaration = *at->second;
            std::map<std::string, std::string> own;
            for (const auto& [attribute, value] : declaration.values)
            {
                ask(value);
                own.emplace(attribute, value);
                if (kLoadsFiles.count(declaration.tag) && attribute == "src")
                    files.insert(Lower(value));
            }
            const auto pattern = own.find("pattern");
            if (declaration.tag != "imagelist" || pattern == own.end())
                continue;
            const int count = PatternCount(Widen(own["first"]), own["last"]);
            int first = 0;
            const std::string from = own["first"].empty() ? "0" : own["first"];
            std::from_chars(from.data(), from.data() + from.size(), first);
            for (int number = first; number < first + count; ++number)
            {
                std::string file = pattern->second;
                if (const size_t slot = file.find("%1%"); slot != std::string::npos)
                    file.replace(slot, 3, std::to_string(number));
                files.insert(Lower(file));
            }
        }
    }

    static const std::set<std::string> kChecked = {".png", ".gif", ".jpg", ".ogg", ".mp3", ".wav", ".xml"};
    std::vector<std::string> unused;
    const std::filesystem::path root(dataFolder);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    {
        const std::string extension = Lower(entry.path().extension().string());
        if (!entry.is_regular_file() || !kChecked.count(extension))
            continue;
        const std::string stem = entry.path().stem().string();
        const std::string file = std::filesystem::relative(entry.path(), root).string();
        if (extension == ".xml" ? !manifests.count(stem) : !files.count(Lower(stem)))
            unused.push_back(file + (extension == ".xml" ? ", a manifest, is loaded by nothing"
                                                         : ", a file, is loaded by no resource asked for"));
    }
    for (const auto& [name, declaration] : byName)
        if (!asked.count(name))
            unused.push_back(declaration->manifest + ": " + name + " (<" + declaration->tag +
                             ">) is asked for by nothing");
    std::sort(unused.begin(), unused.end());
    problems.insert(problems.end(), unused.begin(), unused.end());
    return problems;
}

LevelDataNames::LevelDataNames(const std::string& dataFolder)
{
    const DeclaredNames declared = ReadDeclaredNames(dataFolder);
    for (const auto& [manifest, names] : declared.byManifest)
    {
        for (const auto& [name, declaration] : names)
        {
            std::vector<Yardcrew::sContentName> wanted;
            if (declaration.tag == "LevelProg")
            {
                for (const Declaration::Child& step : declaration.children)
                {
                    const auto id = step.attributes.find(L"cutsceneID");
                    if (step.tag != "Cutscene" || id == step.attributes.end())
                        continue;
                    const Label cutscene = Label::FromString(id->second);
                    const char* layout = Keep(Yardcrew::CutsceneMode::LayoutName(cutscene));
                    wanted.push_back({Yardcrew::ContentKind_SceneLayout, layout});
                    // One line per picture: as many as the layout shows, and at least one.
                    int pictures = 1;
                    for (const auto& [other, found] : declared.byManifest)
                        if (const auto at = found.find(layout); at != found.end())
                            pictures = std::max(1, at->second.grandchildren);
                    for (int number = 1; number <= pictures; ++number)
                        wanted.push_back(
                            {Yardcrew::ContentKind_Voice, Keep(Yardcrew::CutsceneMode::VoiceName(cutscene, number))});
                }
            }
            else if (Widen(declaration.tag) == Yardcrew::PlanAJobContent::kLevelTag)
            {
                Yardcrew::PlanAJobLevel& level = mJobs.emplace_back();
                level.ReadAttributes(AttributeContainer(declaration.attributes));
                wanted = Yardcrew::PlanAJobContent::LevelNames(level);
            }
            if (wanted.empty())
                continue;
            mNames.push_back(std::move(wanted));
            mLists.push_back({Keep(manifest + " " + name), mNames.back()});
        }
    }
}

const char* LevelDataNames::Keep(std::string text)
{
    return mTexts.emplace_back(std::move(text)).c_str();
}

std::vector<std::string> FindClashingFiles(const std::string& dataFolder)
{
    const auto kindOf = [](std::string extension)
    {
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* image : {".png", ".gif", ".jpg"})
            if (extension == image)
                return std::string("image");
        for (const wchar_t* audio : kAudioExtensions)
            if (Widen(extension) == audio)
                return std::string("audio");
        return extension;
    };
    std::map<std::string, std::vector<std::string>> byKey; // lower-case base name and kind -> files
    const std::filesystem::path root(dataFolder);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    {
        if (!entry.is_regular_file())
            continue;
        std::string stem = entry.path().stem().string();
        for (char& c : stem)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        byKey[stem + " " + kindOf(entry.path().extension().string())].push_back(
            std::filesystem::relative(entry.path(), root).string());
    }
    std::vector<std::string> clashes;
    for (auto& [key, files] : byKey)
    {
        if (files.size() < 2)
            continue;
        std::sort(files.begin(), files.end());
        std::string text;
        for (const auto& file : files)
            text += (text.empty() ? "" : ", ") + file;
        clashes.push_back(text);
    }
    return clashes;
}

} // namespace Strata::Content
