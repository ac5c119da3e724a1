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

namespace Yardcrew
{

// The difficulty a "difficulty" attribute names, one of kGameModeDifficultyNames compared exactly (letter
// case counts); GameModeDifficulty_None when it names none.
GameModeDifficulty ParseGameModeDifficulty(const std::wstring& text);

// Files the level named `name` under its "difficulty" with the level manager, unless the difficulty is
// unknown or `problem` (what the game's own check found wrong) is not empty: then one log line names
// the level, the manifest and the reason, and the level is not filed. Answers whether it was filed.
bool FileLevelIfValid(GameModeType type, const std::wstring& manifest, Strata::Label name,
                      const Strata::IAttributeContainer& attributes, const std::string& problem);

// The level reader of a game with its own level record `Level`, which provides
//   void ReadChild(const Strata::XMLElement& element);  // one start tag below the level element
//   std::string Validate() const;                        // empty when the game can play the level
// and, when its level element carries settings of its own,
//   void ReadAttributes(const Strata::IAttributeContainer& attributes);
// The resource made is a ResourceWrapper<Level>, made whether or not the level is filed.
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
        if constexpr (requires(Level & l) { l.ReadAttributes(attributes); })
            level->ReadAttributes(attributes);
        // The first read is the level's own start tag; every later one lies below it.
        for (const Strata::XMLElement* read = element.ReadElement(); read != nullptr && !element.IsEOF();)
        {
            read = element.ReadElement();
            if (read != nullptr && read->IsStartElement())
                level->ReadChild(*read);
        }
        FileLevelIfValid(mType, manifest, name, attributes, level->Validate());
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
