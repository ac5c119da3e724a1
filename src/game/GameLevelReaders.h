#pragma once

// The level readers of the mini-games: each game reads its own level record and files it by its
// "difficulty". Each game's registration names its reader (game/GameRegistry.h).

#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "game/GameModeTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace Yardcrew
{

// The difficulty a "difficulty" attribute names, one of kGameModeDifficultyNames compared exactly (letter
// case counts); GameModeDifficulty_None when it names none.
GameModeDifficulty ParseGameModeDifficulty(const std::wstring& text);

// The shortest text that reads back as the same float, for log lines: 1e-30 stays 1e-30, not 0.000000.
std::string ShownNumber(float value);

// Files the level named `name` under its "difficulty" with the level manager, unless the difficulty is
// unknown or `problem` (what the game's own check found wrong) is not empty. One log line names the
// level and the manifest with the `notes` (values that were not numbers, see CheckedLevelElement) and
// the reason it is not filed, if any; a filed level without notes logs nothing. Answers whether it was
// filed.
bool FileLevelIfValid(GameModeType type, const std::wstring& manifest, Strata::Label name,
                      const Strata::IAttributeContainer& attributes, const std::vector<std::string>& notes,
                      const std::string& problem);

// One element of a level as its reader sees it. The number getters read as the engine's do (a text's
// leading digits, 0 without any), but a value that is not a number of the type asked for (empty, text,
// NaN, infinite, out of range, or not written as a whole number where one is wanted) also adds a note
// naming the attribute, the value as written and what it was read as. A whole number past the int
// range in any notation ("1e400") is read as the nearest int, not by its leading digits, so that the
// level's own bounds refuse it.
class CheckedLevelElement final : public Strata::XMLElement
{
public:
    // `notes` must outlive the element.
    CheckedLevelElement(const Strata::XMLElement& element, std::vector<std::string>& notes);
    // The level's own start tag, which the reader is handed as attributes only.
    CheckedLevelElement(const Strata::IAttributeContainer& attributes, std::vector<std::string>& notes);

    using XMLElement::GetAttribute;
    int GetAttribute(const std::wstring& name, const int& defaultValue) const override;
    float GetAttribute(const std::wstring& name, const float& defaultValue) const override;

private:
    void Note(const std::wstring& name, const char* why, const std::string& read) const;

    std::vector<std::string>& mNotes;
};

// The level reader of a game with its own level record `Level`, which provides
//   void ReadChild(const Strata::XMLElement& element);  // one start tag below the level element
//   std::string Validate() const;                        // empty when the game can play the level
// and, when its level element carries settings of its own,
//   void ReadAttributes(const Strata::IAttributeContainer& attributes);
// Both are handed a CheckedLevelElement, so every number they read that is not one is named in the
// level's log line. The resource made is a ResourceWrapper<Level>, made whether or not the level is filed.
template <class Level>
class GameLevelResourceFactory : public Strata::IResourceFactory
{
public:
    using LevelType = Level;

    explicit GameLevelResourceFactory(GameModeType type) : mType(type) {}

    Strata::IResourceDescriptor* CreateResource(const std::wstring& manifest, Strata::Label name,
                                                const Strata::IAttributeContainer& attributes,
                                                Strata::IXMLReader& element) const override
    {
        auto level = std::make_unique<Strata::ResourceWrapper<Level>>(manifest, name, attributes);
        std::vector<std::string> notes;
        if constexpr (requires(Level & l) { l.ReadAttributes(attributes); })
            level->ReadAttributes(CheckedLevelElement(attributes, notes));
        // The first read is the level's own start tag; every later one lies below it.
        for (const Strata::XMLElement* read = element.ReadElement(); read != nullptr && !element.IsEOF();)
        {
            read = element.ReadElement();
            if (read != nullptr && read->IsStartElement())
                level->ReadChild(CheckedLevelElement(*read, notes));
        }
        FileLevelIfValid(mType, manifest, name, attributes, notes, level->Validate());
        return level.release();
    }

    GameModeType GetGameModeType() const { return mType; }

private:
    GameModeType mType;
};

// The level reader of a game whose levels are `Level` records of type `Type`.
template <class Level, GameModeType Type>
class GameLevelReader final : public GameLevelResourceFactory<Level>
{
public:
    GameLevelReader() : GameLevelResourceFactory<Level>(Type) {}
};

} // namespace Yardcrew
