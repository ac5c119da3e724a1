#pragma once

// The resource names a game's or a screen's code asks for, declared once beside that code. The code
// reads each name from its declaration, and the content check reads every registered list, so a name
// removed from data/ (in either language) fails the check instead of a child's game.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace Yardcrew
{

// What a name must be in data/. Sounds and localized images are looked up in each language's manifests.
enum eContentKind : int
{
    ContentKind_Image,
    ContentKind_ImageList,
    // An image list named "<name>_EN" and "<name>_SP".
    ContentKind_LocalizedImageList,
    // An image named "<name>_EN" and "<name>_SP".
    ContentKind_LocalizedImage,
    ContentKind_SceneLayout,
    // A sound of the language-independent sound manifests (effects, music, ambience).
    ContentKind_Sound,
    // A spoken sound, random sound or sound list entry that each language's voice manifest must have.
    ContentKind_Voice,
    ContentKind_RandomSound,
    ContentKind_SoundList,
    // A tuning constant of the game's manifests: an integer, float, point or array value.
    ContentKind_Constant,
    // A sprite type, with the animations the code starts.
    ContentKind_SpriteType,
    // A story or park of levels and cut-scenes (a "LevelProg" element).
    ContentKind_LevelProgression,
    ContentKind_Count
};

inline constexpr int kAnyContentCount = 1 << 30;

// One name the code asks for. `atLeast`/`atMost` bound the images of a list, the variants of a random
// sound or the entries of an array constant; a plain name leaves them open. `members` are the keys the
// code looks up inside it: the entries of a sound list, the animations of a sprite type.
struct sContentName
{
    eContentKind kind;
    const char* name;
    int atLeast = 0;
    int atMost = kAnyContentCount;
    std::span<const char* const> members = {};
};

// What a game's content header declares, gathered by the build from the header itself (the game's
// generated <Game>ContentTable.cpp defines its Declared()): every sContentName constant in order, arrays
// element by element, and the ones the game kit reads by their conventional names (kModeLayout,
// kCursor, kCursorHotSpot, kMusic, kFirstHint, kLaterHint), null where the header has none.
struct sDeclaredContent
{
    std::span<const sContentName> names;
    const sContentName* layout = nullptr;
    const sContentName* cursor = nullptr;
    const sContentName* cursorHotSpot = nullptr;
    const sContentName* music = nullptr;
    const sContentName* firstHint = nullptr;
    const sContentName* laterHint = nullptr;
};

// Appends a declared name, or every element of a declared table of any rank, in order.
inline void AppendContentNames(std::vector<sContentName>& list, const sContentName& name)
{
    list.push_back(name);
}

template <class Element, std::size_t Count>
void AppendContentNames(std::vector<sContentName>& list, const Element (&table)[Count])
{
    for (const Element& element : table)
        AppendContentNames(list, element);
}

// The names one game or screen asks for; `owner` names it in the check's messages.
struct sContentList
{
    const char* owner;
    std::span<const sContentName> names;
};

// Keeps names built at run time for the life of the program and gives them as a table a content
// name's `members` can hold.
std::span<const char* const> KeepContentNames(std::vector<std::string> names);

// Adds a list for the content check. The names must outlive the program (static tables). A second list
// under the same owner replaces the first, so registering twice is harmless.
void RegisterContentList(const sContentList& list);
// Every list registered so far, in the order first registered.
const std::vector<sContentList>& GetContentLists();

} // namespace Yardcrew
