#pragma once

// Seams of the content check: the committed data folder as the file source, recording factories for
// the resource types whose engine factories are not registered here, a libsndfile decoder, and a scan of
// the names every manifest declares and every scene layout refers to.

#include "core/AttributeContainer.h"
#include "framework/FileSource.h"
#include "game/ContentNames.h"
#include "game/PlanAJob/PlanAJobLevel.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace Strata
{
class ResourceManager;
}

namespace Strata::Content
{

// The data folder of the source tree.
std::string DataFolder();

// The data folder as the game sees it: a file system whose data partition is the Linux platform's
// partition over the folder (files found by bare name in any folder, ignoring letter case) and the
// engine's default file source, registered for the object's lifetime.
class DataFiles
{
public:
    explicit DataFiles(const std::string& folder);
    ~DataFiles();
    DataFiles(const DataFiles&) = delete;
    DataFiles& operator=(const DataFiles&) = delete;

    // A manifest the check writes itself, found after the data folder's files (never in their place).
    void AddManifest(const std::string& name, const std::string& text);

private:
    std::unique_ptr<IFileSource> mSource;
};

// A test over the committed data read through the engine's own loaders: constants, images, image lists
// and the recording factories, every singleton made afresh for each test.
class ShippedDataTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<DataFiles> files;
    ResourceManager* manager = nullptr;
};

// The bytes of a data file through the registered file source; false when it cannot be opened.
bool ReadDataFile(const std::wstring& name, const std::wstring& extension, std::string* bytes);

// One audio file variant: the manifest's "src" and the file it resolves to in the engine's extension
// order (name and extension; empty when none does).
struct SoundFile
{
    std::string src;
    std::string file;
};

// What a "sound" or "randomsound" element declares.
struct RecordedSound
{
    bool random = false;
    std::string kind;
    std::vector<SoundFile> files;
};

// What a "soundlist" element declares: entry -> the sound it names, and whether that sound had been
// declared before the list (the engine resolves entries when the list is built).
struct RecordedSoundList
{
    struct Entry
    {
        std::string src;
        bool resolved = false;
    };
    std::map<std::string, Entry> entries;
};

// A sound resource's shape, comparable across languages, and the files it plays.
struct SoundShape
{
    std::string description;
    bool isList = false; // a sound list names sounds, not files
    std::vector<std::string> files;
};

// What an element of a type the recording factories do not build (scene layouts, sprite types) declares.
struct RecordedElement
{
    std::string tag;
};

// Registers factories for "sound", "randomsound" and "soundlist" that record what they read, and for
// "scenelayout", "spritetype" and "spriteanimationlist" that only note their tag. Sound files are
// looked up through the registered file source.
void RegisterRecordingFactories(ResourceManager& manager);
// Name -> shape of every sound resource the recording factories made for the manifest.
std::map<std::string, SoundShape> RecordedShapes(const std::wstring& manifest);

struct AudioFacts
{
    std::string error; // empty when the file decoded
    int channels = 0;
    int rate = 0;
    double seconds = 0;
    double peak = 0; // largest absolute sample, 0 to 1
};
// Decodes a whole file (name and extension) read through the registered file source.
AudioFacts DecodeAudio(const std::string& file);

struct LayoutReference
{
    std::string where; // manifest, layout and attribute
    std::string name;
    std::set<std::string> acceptable; // element tags that may declare it
};

// A resource a manifest declares: its element's tag and how many items it holds (images of a pattern
// list, else child elements: variants, entries, array values), with what the level readers and the
// checks of sound list entries and animations read from it.
struct Declaration
{
    struct Child
    {
        std::string tag;
        Strata::IAttributeContainer::AttributeMap attributes;
    };
    std::string tag;
    int count = 0;
    Strata::IAttributeContainer::AttributeMap attributes;
    std::vector<Child> children;
    int grandchildren = 0; // elements two levels down: the pictures below a scene layout's root node
};

struct DeclaredNames
{
    std::map<std::string, std::string> kinds;                             // resource name -> declaring tag
    std::map<std::string, std::map<std::string, Declaration>> byManifest; // manifest -> name -> what
    std::vector<LayoutReference> layoutReferences;
    std::map<std::string, int> randomVariants; // "manifest:name" -> inner "sound" tags
    std::vector<std::string> errors;           // manifests that could not be read
};
// Reads every manifest (*.xml) below the data folder.
DeclaredNames ReadDeclaredNames(const std::string& dataFolder);

// Checks every name of the lists (the names the game's code asks for) against the manifests below the
// data folder, in each language as the game loads them: English without the "_SP" manifests that swap
// in for their English namesakes, Spanish with them instead. Returns one line per missing or wrong name,
// naming the list's owner and the language.
std::vector<std::string> CheckContentLists(const std::string& dataFolder,
                                           std::span<const Yardcrew::sContentList> lists);

// The names the game's code builds at run time from the data's own levels, as lists for
// CheckContentLists: each cut-scene a story names (its layout and a voice line per picture, the way the
// cut-scene screen builds them) and each job-order level's pictures and building. The lists and their
// names live as long as the object.
class LevelDataNames
{
public:
    explicit LevelDataNames(const std::string& dataFolder);
    LevelDataNames(const LevelDataNames&) = delete;
    LevelDataNames& operator=(const LevelDataNames&) = delete;

    std::span<const Yardcrew::sContentList> Lists() const { return mLists; }

private:
    const char* Keep(std::string text);

    std::deque<std::string> mTexts;
    std::deque<Yardcrew::PlanAJobLevel> mJobs;
    std::deque<std::vector<Yardcrew::sContentName>> mNames;
    std::vector<Yardcrew::sContentList> mLists;
};

// The names the engine's own code asks for, which no list of the game's declares: the loading screen's
// layout and pictures, the generic controls' looks and font, the widgets' sounds.
std::span<const char* const> EngineNames();

// The other direction of CheckContentLists: what the data folder holds that nothing asks for. A name is
// asked for when a list (the game's code), EngineNames or a name already asked for names it (a layout's
// node, a sprite type's pictures, a sound list's entries, a level's attributes), or when it is a level
// of a game (its tag is among `levelTags`: a game reads every level of its tag); a file is used when it is
// one of `manifests` (those the game loads) or a name asked for loads it ("src", an image list's
// pattern). Returns one line per picture, sound or manifest file nothing uses and per name of a loaded
// manifest nothing asks for.
std::vector<std::string> FindUnusedContent(const std::string& dataFolder, std::span<const Yardcrew::sContentList> lists,
                                           const std::set<std::string>& manifests,
                                           const std::set<std::string>& levelTags);

// Files below the data folder that the data partition could confuse: the same name ignoring letter
// case in two folders, or one base name with two extensions of the same kind (image or audio), where
// the engine takes the first extension it tries. Each entry names the clashing files.
std::vector<std::string> FindClashingFiles(const std::string& dataFolder);

} // namespace Strata::Content
