// The content check: loads the game's committed data/ headless and proves that every resource name the
// game asks for exists there with the right type, in both languages where it is spoken, and that every
// file a manifest names can be read. Each test fails with the whole list of what is wrong.
//
// Sound manifests are read twice: through recording factories, which keep the file behind every
// variant for the decoding and language checks, and through the engine's own sound factories.
// Every manifest is also loaded through the engine's own factories alone, scene graph included, and
// every scene layout is instantiated into a node tree and drawn. The text scan of the layouts stays for
// what only the text shows: node paths, and names that resolve to a resource of the wrong kind.

#include "ContentData.h"

#include "audio/AudioLibrary.h"
#include "audio/OpenALAudioPlatform.h"
#include "audio/OpenALSound.h"
#include "audio/SoundList.h"
#include "core/Label.h"
#include "core/Singleton.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceLoading.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "game/ContentNames.h"
#include "game/GameRegistry.h"
#include "game/YardcrewNames.h"
#include "game/screens/ScreenContent.h"
#include "graphics/Context.h"
#include "graphics/Font.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/SoftwareCanvas.h"
#include "scene/ButtonNode.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"
#include "scene/StrataExtensions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using namespace Strata;
using namespace Strata::Content;

namespace
{

// The names the code asks for, what each must be, and in which manifest it is loaded.
enum class Want
{
    Image,
    ImageList,
    IntArray,
    Point,
    Sound,
    RandomSound,
    SoundList,
    SceneLayout,
    SpriteType,
};

struct Required
{
    std::string manifest;
    std::string name;
    Want want;
    int atLeast = 0; // images of a list, entries of an array, variants of a random sound
    int atMost = Yardcrew::kAnyContentCount;
};

// What the engine's own code asks for by name; the engine keeps no list of them.
const std::vector<Required> kEngine = {
    {"Loading", "Splash1", Want::Image},
    {"Loading", "Splash2", Want::Image},
    {"Loading", "LoadingBackground", Want::Image},
    {"Loading", "LoadingBarEmpty", Want::Image},
    {"Loading", "LoadingBarFull", Want::Image},
    // The engine's generic controls: check box states by focus, nine-slice frames and a caret.
    {"Generic", "GenericCheckbox", Want::ImageList, 10, 10},
    {"Generic", "GenericTextEditField", Want::ImageList, 9, 9},
    {"Generic", "GenericTextEditCursor", Want::Image},
    {"Generic", "GenericList", Want::ImageList, 9, 9},
};
// The button sounds by widget event, as the engine's buttons and check boxes look them up.
const char* const kWidgetSounds = "WidgetSounds";
const char* const kWidgetEvents[] = {"Hot", "Down", "Release", "Checked", "Unchecked", "Snap"};

// Every list the game's code registers.
const std::vector<Yardcrew::sContentList>& CodeLists()
{
    Yardcrew::RegisterGames();
    Yardcrew::RegisterScreenContent();
    return Yardcrew::GetContentLists();
}

// The names the code asks for, each where the data's manifests declare it (the language-independent
// manifest, or both voice manifests for a spoken name), in the engine's kinds; a localized image in
// both languages. Names the check cannot load as an engine resource here (level progressions, and
// constants other than integer arrays and points) are left to CheckContentLists.
std::vector<Required> CodeNames(const DeclaredNames& declared)
{
    std::vector<Required> names;
    std::set<std::string> seen;
    const auto add = [&](const std::string& name, int atLeast, int atMost)
    {
        for (const auto& [manifest, declarations] : declared.byManifest)
        {
            const auto found = declarations.find(name);
            if (found == declarations.end() || !seen.insert(manifest + ":" + name).second)
                continue;
            const std::string& tag = found->second.tag;
            const std::map<std::string, Want> kWants = {{"image", Want::Image},
                                                        {"imagelist", Want::ImageList},
                                                        {"filmstrip", Want::ImageList},
                                                        {"intarray", Want::IntArray},
                                                        {"vector2i", Want::Point},
                                                        {"sound", Want::Sound},
                                                        {"randomsound", Want::RandomSound},
                                                        {"soundlist", Want::SoundList},
                                                        {"scenelayout", Want::SceneLayout},
                                                        {"spritetype", Want::SpriteType}};
            if (const auto want = kWants.find(tag); want != kWants.end())
                names.push_back({manifest, name, want->second, atLeast, atMost});
        }
    };
    for (const Yardcrew::sContentList& list : CodeLists())
    {
        for (const Yardcrew::sContentName& wanted : list.names)
        {
            const bool localized = wanted.kind == Yardcrew::ContentKind_LocalizedImage ||
                                   wanted.kind == Yardcrew::ContentKind_LocalizedImageList;
            for (const char* suffix : {"_EN", "_SP"})
                if (localized || suffix[1] == 'E')
                    add(wanted.name + std::string(localized ? suffix : ""), wanted.atLeast, wanted.atMost);
        }
    }
    return names;
}

// Sound lists and the entries the code looks up in them.
std::map<std::string, std::vector<std::string>> ListEntries()
{
    std::map<std::string, std::vector<std::string>> entries{
        {kWidgetSounds, {std::begin(kWidgetEvents), std::end(kWidgetEvents)}}};
    for (const Yardcrew::sContentList& list : CodeLists())
        for (const Yardcrew::sContentName& wanted : list.names)
            if (wanted.kind == Yardcrew::ContentKind_Voice || wanted.kind == Yardcrew::ContentKind_SoundList)
                for (const char* member : wanted.members)
                    entries[wanted.name].push_back(member);
    return entries;
}

const char* const kVoiceManifests[] = {"AudioResources", "AudioResources_SP"};

class ContentCheck : public ShippedDataTest
{
protected:
    // Loads the manifest; a failure is recorded in `problems`.
    bool Load(const std::string& manifest)
    {
        const std::wstring wide(manifest.begin(), manifest.end());
        const auto job = manager->Load(wide.c_str());
        if (job->GetStatus() != eLoadingJobStatus::Complete)
        {
            problems.push_back("manifest " + manifest + " did not load");
            return false;
        }
        return true;
    }

    void Check(const Required& required, const std::string& where)
    {
        const Label name(required.name.c_str());
        const std::string what = where + required.name;
        const auto descriptor = manager->GetResource(name);
        if (!descriptor)
        {
            problems.push_back(what + " is missing");
            return;
        }
        int count = 1;
        switch (required.want)
        {
        case Want::Image:
        {
            const auto* image = dynamic_cast<const IImage*>(descriptor.get());
            if (!image)
                return problems.push_back(what + " is not an image");
            if (image->GetWidth() < 1 || image->GetHeight() < 1)
                problems.push_back(what + " is empty");
            break;
        }
        case Want::ImageList:
        {
            const auto* list = dynamic_cast<const ImageList*>(descriptor.get());
            if (!list)
                return problems.push_back(what + " is not an image list");
            count = list->GetNumImages();
            for (int i = 0; i < count; ++i)
                if (!list->GetImage(i) || list->GetImageWidth(i) < 1 || list->GetImageHeight(i) < 1)
                    problems.push_back(what + " image " + std::to_string(i) + " is empty");
            break;
        }
        case Want::IntArray:
        {
            const Constant<std::vector<int>> values(name);
            if (!values.IsValid())
                return problems.push_back(what + " is not a list of integers");
            count = static_cast<int>(values.GetValue().size());
            break;
        }
        case Want::Point:
            if (!Constant<Vector2<int>>(name).IsValid())
                problems.push_back(what + " is not a two-integer value");
            break;
        case Want::Sound:
        case Want::RandomSound:
        {
            const auto* sound = dynamic_cast<const RecordedSound*>(descriptor.get());
            if (!sound)
                return problems.push_back(what + " is not a sound");
            if (sound->random != (required.want == Want::RandomSound))
                problems.push_back(what + (sound->random ? " is a random sound" : " is not a random sound"));
            count = static_cast<int>(sound->files.size());
            for (const auto& file : sound->files)
                if (file.file.empty())
                    problems.push_back(what + " names " + file.src + ", which has no audio file");
            break;
        }
        case Want::SoundList:
        {
            const auto* list = dynamic_cast<const RecordedSoundList*>(descriptor.get());
            if (!list)
                return problems.push_back(what + " is not a sound list");
            count = static_cast<int>(list->entries.size());
            break;
        }
        case Want::SceneLayout:
        case Want::SpriteType:
        {
            const char* tag = required.want == Want::SceneLayout ? "scenelayout" : "spritetype";
            const auto* element = dynamic_cast<const RecordedElement*>(descriptor.get());
            if (!element || element->tag != tag)
                problems.push_back(what + " is not a " +
                                   (required.want == Want::SceneLayout ? "scene layout" : "sprite type"));
            break;
        }
        }
        if (count < required.atLeast || count > required.atMost)
            problems.push_back(what + " has " + std::to_string(count) + " items, not " +
                               std::to_string(required.atLeast) + " to " + std::to_string(required.atMost));
    }

    // Every entry the game asks for is in the list and names a sound of this manifest set.
    void CheckListEntries(const std::string& where)
    {
        for (const auto& [listName, entries] : ListEntries())
        {
            const auto* list =
                dynamic_cast<const RecordedSoundList*>(manager->GetResource(Label(listName.c_str())).get());
            if (!list)
                continue;
            for (const auto& entry : entries)
            {
                const auto found = list->entries.find(entry);
                if (found == list->entries.end())
                    problems.push_back(where + listName + " has no entry " + entry);
                else if (!found->second.resolved)
                    problems.push_back(where + listName + " entry " + entry + " names " + found->second.src +
                                       ", which is no sound declared before the list");
            }
        }
    }

    std::string Report() const
    {
        std::string text;
        for (const auto& problem : problems)
            text += "\n  " + problem;
        return text;
    }

    std::vector<std::string> problems;
};

} // namespace

TEST_F(ContentCheck, EveryNameTheCodeAsksForLoadsWithItsType)
{
    // The engine's own names, and every language-independent name of the code's lists, as the engine's
    // image, constant and recording factories make them; spoken names have their own test below.
    std::vector<Required> names = kEngine;
    for (Required& required : CodeNames(ReadDeclaredNames(DataFolder())))
        if (std::find(std::begin(kVoiceManifests), std::end(kVoiceManifests), required.manifest) ==
            std::end(kVoiceManifests))
            names.push_back(std::move(required));
    EXPECT_GT(names.size(), 200u);
    std::set<std::string> manifests;
    for (const auto& required : names)
        manifests.insert(required.manifest);
    for (const auto& manifest : manifests)
        Load(manifest);
    for (const auto& required : names)
        Check(required, required.manifest + ": ");
    CheckListEntries("AudioResources_General: ");
    EXPECT_TRUE(problems.empty()) << Report();
}

TEST_F(ContentCheck, CursorHotSpotsLieOnTheirCursors)
{
    // A hot spot off its image would make clicks land where the child does not point.
    const struct
    {
        const char* point;
        std::vector<const char*> cursors;
    } kCases[] = {
        {"DefaultCursorRegPt", {"cursor_default"}},
        {"HandCursorRegPt", {"cursor_hand"}},
        {"BrushCursorRegPt",
         {"cursor_brush_clean", "cursor_brush_red", "cursor_brush_green", "cursor_brush_blue", "cursor_brush_yellow"}},
    };
    ASSERT_TRUE(Load("GlobalConstants") && Load("resources")) << Report();
    for (const auto& c : kCases)
    {
        const Constant<Vector2<int>> spot(c.point);
        ASSERT_TRUE(spot.IsValid()) << c.point;
        const Vector2<int> at = spot.GetValue();
        for (const char* cursor : c.cursors)
        {
            const auto* image = dynamic_cast<const IImage*>(manager->GetResource(Label(cursor)).get());
            ASSERT_NE(nullptr, image) << cursor;
            EXPECT_TRUE(at.x >= 0 && at.y >= 0 && at.x < image->GetWidth() && at.y < image->GetHeight())
                << c.point << " (" << at.x << ", " << at.y << ") is off " << cursor;
        }
    }
}

TEST_F(ContentCheck, ListsOfImagesHaveFramesOfOneSize)
{
    // The widget states of a button, and the stickers in the book's grid, are drawn in one cell size.
    ASSERT_TRUE(Load("StickerBook") && Load("LocalizedImageResources") && Load("LocalizedImageResources_SP"))
        << Report();
    for (const char* name : {"AllStickersList", "Button_SkipCutscene_EN", "Button_SkipCutscene_SP"})
    {
        const auto* list = dynamic_cast<const ImageList*>(manager->GetResource(Label(name)).get());
        ASSERT_NE(nullptr, list) << name;
        for (int i = 1; i < list->GetNumImages(); ++i)
        {
            EXPECT_EQ(list->GetImageWidth(0), list->GetImageWidth(i)) << name << " image " << i;
            EXPECT_EQ(list->GetImageHeight(0), list->GetImageHeight(i)) << name << " image " << i;
        }
    }
    const auto* english = dynamic_cast<const ImageList*>(manager->GetResource(Label("Button_SkipCutscene_EN")).get());
    const auto* spanish = dynamic_cast<const ImageList*>(manager->GetResource(Label("Button_SkipCutscene_SP")).get());
    ASSERT_TRUE(english && spanish);
    EXPECT_EQ(english->GetNumImages(), spanish->GetNumImages());
}

TEST_F(ContentCheck, BothVoiceManifestsNameTheSameSoundsInTheirOwnLanguage)
{
    // The options screen swaps one manifest for the other: a name only one of them has goes silent in
    // the other language, and a line that points at the other language's file speaks the wrong one.
    std::map<std::string, std::map<std::string, std::string>> shapes; // manifest -> name -> shape
    std::map<std::string, std::set<std::string>> filesOf;
    const std::vector<Required> voices = CodeNames(ReadDeclaredNames(DataFolder()));
    for (const char* manifest : kVoiceManifests)
    {
        const std::string where = std::string(manifest) + ": ";
        if (!Load(manifest))
            continue;
        for (const auto& required : voices)
            if (required.manifest == manifest)
                Check(required, where);
        CheckListEntries(where);
        for (const auto& [name, shape] : RecordedShapes(std::wstring(manifest, manifest + strlen(manifest))))
        {
            shapes[manifest][name] = shape.description;
            filesOf[manifest].insert(shape.files.begin(), shape.files.end());
        }
        const std::wstring wide(manifest, manifest + strlen(manifest));
        manager->Unload(wide.c_str());
    }
    const auto& english = shapes["AudioResources"];
    const auto& spanish = shapes["AudioResources_SP"];
    for (const auto& [name, shape] : english)
    {
        const auto other = spanish.find(name);
        if (other == spanish.end())
            problems.push_back(name + " is only in English");
        else if (other->second != shape)
            problems.push_back(name + " is " + shape + " in English but " + other->second + " in Spanish");
    }
    for (const auto& [name, shape] : spanish)
        if (!english.count(name))
            problems.push_back(name + " is only in Spanish");
    for (const auto& file : filesOf["AudioResources"])
        if (filesOf["AudioResources_SP"].count(file))
            problems.push_back(file + " is spoken in both languages");
    EXPECT_FALSE(english.empty());
    EXPECT_TRUE(problems.empty()) << Report();
}

TEST_F(ContentCheck, EverySoundFileDecodesAndIsHeard)
{
    // A synthesiser that failed leaves a silent or empty file behind, which the game would play as
    // nothing at all; voices must also fit the size budget (mono, 22,050 Hz).
    std::set<std::string> decoded;
    for (const char* manifest : {"AudioResources_General", "AudioResources", "AudioResources_SP"})
    {
        if (!Load(manifest))
            continue;
        const bool voices = std::string(manifest) != "AudioResources_General";
        for (const auto& [name, shape] : RecordedShapes(std::wstring(manifest, manifest + strlen(manifest))))
        {
            for (const auto& file : shape.files)
            {
                if (!decoded.insert(file).second)
                    continue;
                const AudioFacts facts = DecodeAudio(file);
                const std::string what = std::string(manifest) + ": " + name + " (" + file + ")";
                if (!facts.error.empty())
                    problems.push_back(what + ": " + facts.error);
                else if (facts.seconds < 0.02 || facts.peak < 0.05)
                    problems.push_back(what + " is empty or silent");
                else if (voices && (facts.channels != 1 || facts.rate != 22050))
                    problems.push_back(what + " is not mono at 22,050 Hz");
            }
            if (shape.files.empty() && !shape.isList)
                problems.push_back(std::string(manifest) + ": " + name + " names no audio file");
        }
        const std::wstring wide(manifest, manifest + strlen(manifest));
        manager->Unload(wide.c_str());
    }
    EXPECT_GT(decoded.size(), 100u);
    EXPECT_TRUE(problems.empty()) << Report();
}

TEST_F(ContentCheck, NoTwoFilesShareAName)
{
    // The data partition finds a file by its name in any folder, ignoring letter case, and the loaders
    // take the first extension they try: two such files make one of them unreachable, as a Spanish voice
    // named like its English line would be.
    problems = FindClashingFiles(DataFolder());
    EXPECT_TRUE(problems.empty()) << Report();
}

TEST_F(ContentCheck, EveryNameALayoutUsesIsDeclaredOnce)
{
    // Scene layouts name their images, image lists and sound lists by resource name; a wrong name
    // draws nothing at run time without any error, so the names are checked here against everything
    // the data's manifests declare. A name two manifests declare fails the second manifest's load.
    const DeclaredNames declared = ReadDeclaredNames(DataFolder());
    problems = declared.errors;
    for (const auto& reference : declared.layoutReferences)
    {
        const auto found = declared.kinds.find(reference.name);
        if (found == declared.kinds.end())
            problems.push_back(reference.where + " names " + reference.name + ", which no manifest declares");
        else if (!reference.acceptable.count(found->second))
            problems.push_back(reference.where + " names " + reference.name + ", a " + found->second);
    }
    EXPECT_TRUE(problems.empty()) << Report();
}

namespace
{

// The sound manifests through the engine's own sound and sound-list factories, on OpenAL Soft's
// loopback device (no sound card), as the game loads them.
class EngineSoundCheck : public ContentCheck
{
protected:
    void SetUp() override
    {
        ContentCheck::SetUp();
        AudioLibrary::SetDeviceOverride(&devices);
        platform = std::make_unique<OpenALAudioPlatform>();
        platform->Setup(); // replaces the recording sound factories with the engine's
        ASSERT_TRUE(IsOpenALAudioPlatformInitialized());
    }

    void TearDown() override
    {
        manager->Cleanup();
        platform->Cleanup();
        platform.reset();
        AudioLibrary::SetDeviceOverride(nullptr);
        ContentCheck::TearDown();
    }

    AudioLibrary::sDeviceOverride devices;
    std::unique_ptr<OpenALAudioPlatform> platform;
};

} // namespace

TEST_F(EngineSoundCheck, TheEngineLoadsEverySoundWithAllItsVariants)
{
    // A variant whose file the engine cannot find or read is left out without a word: a random sound
    // then repeats itself, a plain sound plays nothing.
    const DeclaredNames declared = ReadDeclaredNames(DataFolder());
    // Every sound the manifest declares, so a sound the code names only in its own lists is checked too.
    for (const char* manifest : {"AudioResources_General", "AudioResources", "AudioResources_SP"})
    {
        const std::string where = std::string(manifest) + ": ";
        if (!Load(manifest))
            continue;
        const auto names = declared.byManifest.find(manifest);
        ASSERT_NE(names, declared.byManifest.end()) << manifest;
        for (const auto& [name, declaration] : names->second)
        {
            if (declaration.tag != "sound" && declaration.tag != "randomsound")
                continue;
            const auto* sound = dynamic_cast<const OpenALSound*>(manager->GetResource(Label(name.c_str())).get());
            if (!sound || !sound->GetData())
            {
                problems.push_back(where + name + " is no sound the engine made");
                continue;
            }
            const auto declaredVariants = declared.randomVariants.find(std::string(manifest) + ":" + name);
            const size_t wanted =
                declaredVariants == declared.randomVariants.end() ? 1u : static_cast<size_t>(declaredVariants->second);
            if (sound->GetData()->GetVariantCount() != wanted)
                problems.push_back(where + name + " has " + std::to_string(sound->GetData()->GetVariantCount()) +
                                   " playable variants of " + std::to_string(wanted));
            const char* kind = name.rfind("Music_", 0) == 0     ? "Music"
                               : name.rfind("Ambient_", 0) == 0 ? "Ambient"
                                                                : "Effect";
            if (sound->GetKind() != Label(kind))
                problems.push_back(where + name + " is not of the kind " + kind);
        }
        for (const auto& [listName, entries] : ListEntries())
        {
            const auto* list = dynamic_cast<const SoundList*>(manager->GetResource(Label(listName.c_str())).get());
            if ((listName == kWidgetSounds) != (std::string(manifest) == "AudioResources_General"))
                continue;
            if (!list)
            {
                problems.push_back(where + listName + " is no sound list the engine made");
                continue;
            }
            for (const auto& entry : entries)
                if (!list->GetSound(Label(entry.c_str())))
                    problems.push_back(where + listName + " gives no sound for " + entry);
        }
        const std::wstring wide(manifest, manifest + strlen(manifest));
        manager->Unload(wide.c_str());
    }
    EXPECT_TRUE(problems.empty()) << Report();
}

namespace
{

// Every manifest below the data folder by the name the game loads it by, sorted; a manifest that swaps
// in for another language's (its name ends in "_SP" and the other's does not) is listed in `swaps`.
struct Manifests
{
    std::vector<std::string> plain;
    std::vector<std::string> withLayouts;
    std::vector<std::pair<std::string, std::string>> swaps; // English, Spanish
};

Manifests FindManifests(const std::string& dataFolder)
{
    std::set<std::string> names;
    std::set<std::string> withLayouts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dataFolder))
    {
        if (!entry.is_regular_file() || entry.path().extension() != ".xml")
            continue;
        const std::string name = entry.path().stem().string();
        names.insert(name);
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (text.find("<scenelayout") != std::string::npos)
            withLayouts.insert(name);
    }
    Manifests found;
    for (const auto& name : names)
    {
        const size_t suffix = name.size() >= 3 ? name.size() - 3 : 0;
        if (name.compare(suffix, std::string::npos, "_SP") == 0 && names.count(name.substr(0, suffix)))
            found.swaps.emplace_back(name.substr(0, suffix), name);
        else if (withLayouts.count(name))
            found.withLayouts.push_back(name);
        else
            found.plain.push_back(name);
    }
    return found;
}

// Every manifest through the engine's factories alone: values, images, image lists, fonts, sounds on
// the loopback device, and the scene graph's resources and node types.
class EngineLoadCheck : public EngineSoundCheck
{
protected:
    void SetUp() override
    {
        EngineSoundCheck::SetUp();
        RegisterFontResourceFactory();
        SetupStrataExtensions(); // replaces the skimming scene-graph factories
        mode = std::make_unique<ApplicationMode>();
        context = std::make_unique<MainLoop::AutoContext>();
        MainLoop::WithinContext(mode.get(), *context);
    }

    void TearDown() override
    {
        context.reset();
        mode.reset();
        EngineSoundCheck::TearDown();
    }

    // Every manifest but the other language's, those with layouts after the art they draw from.
    void LoadAllManifests(const Manifests& manifests)
    {
        for (const auto& manifest : manifests.plain)
            LoadReporting(manifest);
        for (const auto& manifest : manifests.withLayouts)
            LoadReporting(manifest);
    }

    // Loads the manifest; a failure, with the engine's reason, is recorded in `problems`.
    void LoadReporting(const std::string& manifest)
    {
        const std::wstring wide(manifest.begin(), manifest.end());
        const auto job = manager->Load(wide.c_str());
        if (job->GetStatus() != eLoadingJobStatus::Complete)
            problems.push_back("manifest " + manifest + " did not load: " + job->GetFailureMessage());
    }

    std::unique_ptr<ApplicationMode> mode;
    std::unique_ptr<MainLoop::AutoContext> context;
};

// The node tree drawn on a transparent picture of the game's size.
std::unique_ptr<Image> Draw(SceneNode& root)
{
    auto target = std::make_unique<Image>(std::vector<Color32>(800 * 600, Color32()), 800, 600, true, false);
    ICanvas* canvas = Graphics::CreateImageCanvas(target.get());
    Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
    root.UpdateScene();
    root.DrawScene();
    Graphics::PopContext();
    Graphics::DestroyImageCanvas(canvas);
    return target;
}

// The lines of the engine's log that tell of something missing, refused or damaged.
std::vector<std::string> ComplaintsIn(const std::string& log)
{
    std::vector<std::string> complaints;
    size_t start = 0;
    while (start < log.size())
    {
        size_t end = log.find('\n', start);
        end = end == std::string::npos ? log.size() : end;
        const std::string line = log.substr(start, end - start);
        std::string lower = line;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* mark : {"not found", "refused", "could not", "cannot", "missing", "failed", "error"})
        {
            if (lower.find(mark) != std::string::npos)
            {
                complaints.push_back("log: " + line);
                break;
            }
        }
        start = end + 1;
    }
    return complaints;
}

} // namespace

TEST_F(EngineLoadCheck, EveryManifestLoadsAndEveryLayoutBecomesANodeTree)
{
    // A layout whose image, sprite type or sound list cannot be found loads without an error and draws
    // nothing where the child should see a foreman or a button: the engine's log is the only trace, so
    // the check reads it. Layouts are loaded after the manifests they draw from, as the game does.
    const Manifests manifests = FindManifests(DataFolder());
    const DeclaredNames declared = ReadDeclaredNames(DataFolder());
    ::testing::internal::CaptureStderr();
    LoadAllManifests(manifests);
    int layouts = 0;
    for (const auto& [name, tag] : declared.kinds)
    {
        if (tag != "scenelayout")
            continue;
        ++layouts;
        const SceneLayout* layout = AutoResource<SceneLayout>(name.c_str()).Get();
        if (layout == nullptr)
        {
            problems.push_back(name + " is no scene layout the engine made");
            continue;
        }
        try
        {
            SceneNode* root = layout->InstantiateLayout(mode.get(), nullptr);
            if (root == nullptr)
            {
                problems.push_back(name + " made no node tree");
                continue;
            }
            // Drawn at the game's size, so a node placed off the screen shows as nothing drawn.
            const auto target = Draw(*root);
            bool drawn = false;
            for (int i = 0; i < 800 * 600 && !drawn; ++i)
                drawn = target->GetPixels()[i].a != 0;
            // A pile gets its pictures from its material, a tool and a nail theirs from their type and
            // colour, a cargo load its own from its type (its hook waiting out of sight), a job's step
            // picture and blueprint place theirs from the level, a log or girder and a platform theirs
            // from their kind, size and colour, a street sign its own from its shape and colour, and the
            // far tipper waits out of sight until it drives: their games fill them.
            static const std::set<std::string> kFilledByTheirGame = {"MaterialSourceLayout",
                                                                     "TipperBGLayout",
                                                                     "ToolLayout",
                                                                     "FloatingToolLayout",
                                                                     "NailLayout",
                                                                     "DeliveryObjectLayout",
                                                                     "JobSequenceItemLayout",
                                                                     "JobSequenceSlotLayout",
                                                                     "SproutPuzzlePieceLayout",
                                                                     "SproutPuzzlePieceSlotLayout",
                                                                     "StackableObjectLayout",
                                                                     "StackTargetLayout",
                                                                     "LeafLayout",
                                                                     "LeafCoveredToolLayout",
                                                                     "StreetSignLayout"};
            if (!drawn && kFilledByTheirGame.count(name) == 0)
                problems.push_back(name + " draws nothing");
        }
        catch (const std::exception& error)
        {
            problems.push_back(name + " cannot be instantiated: " + error.what());
        }
    }
    // The Spanish manifests take the English ones' place: each must load in it.
    for (const auto& [english, spanish] : manifests.swaps)
    {
        manager->Unload(std::wstring(english.begin(), english.end()).c_str());
        LoadReporting(spanish);
    }
    for (const auto& complaint : ComplaintsIn(::testing::internal::GetCapturedStderr()))
        problems.push_back(complaint);
    EXPECT_GE(manifests.plain.size() + manifests.withLayouts.size() + manifests.swaps.size(), 10u);
    EXPECT_GE(layouts, 1);
    EXPECT_TRUE(problems.empty()) << Report();
}

TEST_F(EngineLoadCheck, LayoutsHoldTheNodesTheCodeLooksUp)
{
    // The code finds these nodes by path and tells buttons apart by object name; a renamed node
    // leaves a pop-up that cannot be closed or a foreman who never appears.
    const auto any = [](SceneNode*) { return true; };
    const auto animated = [](SceneNode* node) { return dynamic_cast<AnimatedSpriteNode*>(node) != nullptr; };
    const auto button = [](SceneNode* node) { return dynamic_cast<ButtonNode*>(node) != nullptr; };
    const struct
    {
        const char* layout;
        std::vector<const char*> path; // the root's node name first
        const char* type;
        std::function<bool(SceneNode*)> isOfType;
        const char* name;
    } kNodes[] = {
        {"ForemanInstructionModeLayout", {"ForemanInstructionMode"}, "scene node", any, ""},
        {"ForemanInstructionModeLayout",
         {"ForemanInstructionMode", "LevelIntroForeman"},
         "animated sprite",
         animated,
         ""},
        {"ForemanInstructionModeLayout", {"ForemanInstructionMode", "SkipButton"}, "button", button, "OkButton"},
        {"CutsceneLayout", {"CutsceneMode", "Pictures"}, "scene node", any, ""},
        {"CutsceneLayout", {"CutsceneMode", "SkipButton"}, "button", button, "SkipButton"},
    };
    ::testing::internal::CaptureStderr();
    LoadAllManifests(FindManifests(DataFolder()));
    ::testing::internal::GetCapturedStderr();
    for (const auto& wanted : kNodes)
    {
        std::string what = wanted.layout;
        const SceneLayout* layout = AutoResource<SceneLayout>(wanted.layout).Get();
        SceneNode* node = layout ? layout->InstantiateLayout(mode.get(), nullptr) : nullptr;
        if (node != nullptr && node->GetNodeName() != Label(wanted.path.front()))
            node = nullptr;
        for (size_t step = 1; node != nullptr && step < wanted.path.size(); ++step)
            node = node->GetChildByNodeName(Label(wanted.path[step]));
        for (const char* step : wanted.path)
            what += std::string(what == wanted.layout ? " " : "/") + step;
        if (node == nullptr)
            problems.push_back(what + " is missing");
        else if (!wanted.isOfType(node))
            problems.push_back(what + " is no " + wanted.type);
        else if (*wanted.name != '\0' && node->GetName() != Label(wanted.name))
            problems.push_back(what + " is named '" + node->GetName().c_str() + "', not '" + wanted.name + "'");
    }
    EXPECT_TRUE(problems.empty()) << Report();
}

TEST_F(EngineLoadCheck, EveryFontLoadsWithTheLettersOfBothLanguages)
{
    // A font the factory refuses draws no text at all, and a letter missing from its metrics leaves a
    // gap in a Spanish word or a child's name.
    const std::wstring kLetters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,:;!?'\"-()/"
                                  L"\u00e1\u00e9\u00ed\u00f3\u00fa\u00fc\u00f1\u00c1\u00c9\u00cd\u00d3\u00da\u00dc"
                                  L"\u00d1\u00bf\u00a1";
    std::vector<std::string> fonts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataFolder()))
    {
        const auto& path = entry.path();
        if (path.extension() == ".txt" &&
            std::filesystem::exists(std::filesystem::path(path).replace_extension(".png")))
            fonts.push_back(path.stem().string());
    }
    std::sort(fonts.begin(), fonts.end());
    std::string manifest = "<manifest>\n";
    for (const auto& font : fonts)
        manifest += "  <font name=\"" + font + "\" src=\"" + font + "\"/>\n";
    files->AddManifest("ContentCheckFonts", manifest + "</manifest>\n");
    ::testing::internal::CaptureStderr();
    LoadReporting("ContentCheckFonts");
    for (const auto& complaint : ComplaintsIn(::testing::internal::GetCapturedStderr()))
        problems.push_back(complaint);
    for (const auto& name : fonts)
    {
        const auto* font = dynamic_cast<const Font*>(manager->GetResource(Label(name.c_str())).get());
        if (font == nullptr)
        {
            problems.push_back(name + " is no font the engine made");
            continue;
        }
        if (font->GetGlyphHeight() < 1)
            problems.push_back(name + " has no line height");
        std::string missing;
        for (const wchar_t letter : kLetters)
        {
            Font::sGlyph glyph;
            font->GetGlyph(letter, &glyph);
            if (glyph.image == nullptr || glyph.width < 1 || glyph.height < 1 ||
                font->GetKernedLetterWidth(letter, L' ') < 1)
            {
                char code[16];
                std::snprintf(code, sizeof(code), letter < 0x80 ? " %c" : " U+%04X", static_cast<int>(letter));
                missing += code;
            }
        }
        if (!missing.empty())
            problems.push_back(name + " cannot draw" + missing);
    }
    EXPECT_GE(fonts.size(), 1u);
    EXPECT_TRUE(problems.empty()) << Report();
}

namespace
{

// Relative luminance, as contrast ratios are reckoned.
double Luminance(Color32 c)
{
    const auto linear = [](uint8_t v) { return v <= 10 ? v / 3294.6 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

// The colour most opaque pixels of the rectangle of a list's first picture have.
Color32 Commonest(const IImageList& images, int left, int top, int right, int bottom)
{
    std::map<std::tuple<int, int, int>, int> seen;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (const Color32 c = images.GetImagePixel(0, x, y); images.GetImagePixelAlpha(0, x, y) == 255)
                ++seen[{c.r, c.g, c.b}];
    const auto most =
        std::max_element(seen.begin(), seen.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == seen.end()
               ? Color32()
               : Color32(uint8_t(get<0>(most->first)), uint8_t(get<1>(most->first)), uint8_t(get<2>(most->first)), 255);
}

ButtonNode* FindButton(SceneNode* node, const char* name)
{
    if (node == nullptr)
        return nullptr;
    if (auto* button = dynamic_cast<ButtonNode*>(node); button != nullptr && node->GetName() == Label(name))
        return button;
    for (SceneNode* child : node->GetChildren())
        if (ButtonNode* found = FindButton(child, name))
            return found;
    return nullptr;
}

} // namespace

TEST_F(EngineLoadCheck, AnswersAndCornerButtonsAreTellableWithoutReading)
{
    ::testing::internal::CaptureStderr();
    LoadAllManifests(FindManifests(DataFolder()));
    ::testing::internal::GetCapturedStderr();
    const auto instantiate = [this](const std::string& name)
    {
        const SceneLayout* layout = AutoResource<SceneLayout>(name.c_str()).Get();
        return layout ? layout->InstantiateLayout(mode.get(), nullptr) : nullptr;
    };
    // Every yes/no question wears the one green tick and red cross.
    for (const char* question : {"AccountConfirmLayout", "QuitConfirmLayout"})
        for (const auto& [button, images, green] :
             {std::tuple{"YesButton", "Button_Yes", true}, {"NoButton", "Button_No", false}})
        {
            const ButtonNode* node = FindButton(instantiate(question), button);
            const IImageList* list = node ? node->GetImages() : nullptr;
            const Color32 mark = list ? Commonest(*list, list->GetImageWidth(0) / 3, list->GetImageHeight(0) / 3,
                                                  list->GetImageWidth(0) * 2 / 3, list->GetImageHeight(0) * 2 / 3)
                                      : Color32();
            if (list != AutoResource<IImageList>(images).Get() || (green ? mark.g - mark.r : mark.r - mark.g) < 80)
                problems.push_back(std::string(question) + "'s " + button + " is not the shared " + images);
        }
    // The Help and Quit buttons of every game screen: the card's body (its commonest colour) or its rim (that
    // of its left edge) reaches 3:1 against the mean of the backdrop behind (drawn while they stay hidden).
    int screens = 0;
    for (const auto& [name, tag] : ReadDeclaredNames(DataFolder()).kinds)
    {
        SceneNode* root = tag == "scenelayout" ? instantiate(name) : nullptr;
        ButtonNode* buttons[] = {FindButton(root, "HelpButton"), FindButton(root, "QuitButton")};
        if (buttons[0] == nullptr || buttons[1] == nullptr)
            continue;
        ++screens;
        const auto target = Draw(*root);
        for (ButtonNode* button : buttons)
        {
            const Rect<float>& at = button->GlobalGetBounds();
            double behind = 0;
            for (int y = int(at.y); y < int(at.y + at.height); ++y)
                for (int x = int(at.x); x < int(at.x + at.width); ++x)
                    behind += Luminance(target->GetPixel(x, y)) / (int(at.width) * int(at.height));
            const IImageList& list = *button->GetImages();
            const int w = list.GetImageWidth(0), h = list.GetImageHeight(0);
            double best = 0;
            for (const Color32 colour : {Commonest(list, 0, 0, w, h), Commonest(list, 0, h / 3, 8, h * 2 / 3)})
                best = std::max(best, (std::max(Luminance(colour), behind) + 0.05) /
                                          (std::min(Luminance(colour), behind) + 0.05));
            if (best < 3.0)
                problems.push_back(name + "'s " + button->GetName().c_str() + " stands out only " +
                                   std::to_string(best) + ":1");
        }
    }
    EXPECT_GE(screens, 5);
    EXPECT_TRUE(problems.empty()) << Report();
}

TEST_F(EngineLoadCheck, HoistStandsOnTheGroundNotInTheSky)
{
    ::testing::internal::CaptureStderr();
    LoadAllManifests(FindManifests(DataFolder()));
    ::testing::internal::GetCapturedStderr();
    const SceneLayout* layout = AutoResource<SceneLayout>("HoistStackerModeLayout").Get();
    SceneNode* root = layout ? layout->InstantiateLayout(mode.get(), nullptr) : nullptr;
    SceneNode* playfield = root ? root->GetChildByNodeName(Label("Playfield")) : nullptr;
    SceneNode* hoist = playfield ? playfield->GetChildByNodeName(Label("HoistAnimNode")) : nullptr;
    ASSERT_NE(hoist, nullptr);
    // Hoist's pixels are where the scene drawn with it differs from the scene drawn without it.
    const auto with = Draw(*root);
    hoist->LocalSetVisible(false);
    const auto without = Draw(*root);
    const Rect<float> at = hoist->GlobalGetBounds();
    int foot = -1, footX = -1;
    for (int y = std::max(0, int(at.y)); y < std::min(600, int(at.y + at.height)); ++y)
        for (int x = std::max(0, int(at.x)); x < std::min(800, int(at.x + at.width)); ++x)
            if (with->GetPixel(x, y) != without->GetPixel(x, y))
                foot = y, footX = x;
    ASSERT_GE(foot, 0) << "Hoist draws nothing";
    // Under its lowest drawn pixel lies ground, not the sky of the screen's top.
    EXPECT_NE(without->GetPixel(footX, std::min(599, foot + 2)), without->GetPixel(footX, 0))
        << "Hoist's tracks end at y " << foot << " over the sky";
}
