#pragma once

// Seams of the content check: the committed data folder as the file source, recording factories for
// the resource types whose engine factories are not registered here, a libsndfile decoder, and a scan of
// the names every manifest declares and every scene layout refers to.

#include "framework/FileSource.h"

#include <map>
#include <set>
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

// Opens files below a host folder, by the address's folder, name and extension, exactly as spelt.
// Registered as the file source for its lifetime.
class FolderFileSource final : public IFileSource
{
  public:
    explicit FolderFileSource(std::string folder);
    ~FolderFileSource() override;
    FolderFileSource(const FolderFileSource&) = delete;
    FolderFileSource& operator=(const FolderFileSource&) = delete;
    IStream* OpenFileStream(const FileAddress& address) const override;

  private:
    std::string mFolder;
};

// One audio file variant: the manifest's "src" and the file it resolves to (empty when none does).
struct SoundFile
{
    std::string src;
    std::string path;
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

// What an element of a type this check does not build (scene layouts, sprite types) declares.
struct RecordedElement
{
    std::string tag;
};

// Registers factories for "sound", "randomsound" and "soundlist" that record what they read, and for
// "scenelayout", "spritetype" and "spriteanimationlist" that only note their tag. Files are resolved
// below `dataFolder` in the engine's extension order.
void RegisterRecordingFactories(ResourceManager& manager, const std::string& dataFolder);
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
AudioFacts DecodeAudio(const std::string& path);

struct LayoutReference
{
    std::string where; // manifest, layout and attribute
    std::string name;
    std::set<std::string> acceptable; // element tags that may declare it
};

// One node of a scene layout: its path of node names from the layout's root (the root's own name
// first; "?" for a node without one), its tag and its object name.
struct LayoutNode
{
    std::string path;
    std::string tag;
    std::string name;
};

struct DeclaredNames
{
    std::map<std::string, std::string> kinds; // resource name -> declaring tag
    std::vector<LayoutReference> layoutReferences;
    std::map<std::string, std::vector<LayoutNode>> layoutNodes; // layout name -> its nodes
    std::vector<std::string> errors;                            // manifests that could not be read
};
// Reads every manifest (*.xml) directly in the data folder.
DeclaredNames ReadDeclaredNames(const std::string& dataFolder);

} // namespace Strata::Content
