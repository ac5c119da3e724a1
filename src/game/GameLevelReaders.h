#pragma once

// The level readers of the twelve mini-games. For now each one only files its levels with the level
// manager by their "difficulty"; each game completes its own reader with its level format.

#include "framework/ResourceManager.h"
#include "game/GameModeTypes.h"

// Files the level element under its resource name for one mini-game. The "difficulty" attribute is
// one of kGameModeDifficultyNames (letter case ignored); a level without a known difficulty is logged
// and not filed. The resource made is the element's attributes, so a game can read them later.
class LevelResourceFactory : public Strata::IResourceFactory
{
public:
    explicit LevelResourceFactory(GameModeType type) : mType(type) {}

    Strata::IResourceDescriptor* CreateResource(const std::wstring& manifest, Strata::Label name,
                                                const Strata::IAttributeContainer& attributes,
                                                Strata::IXMLReader& element) const override;

    GameModeType GetGameModeType() const { return mType; }

private:
    GameModeType mType;
};

// The difficulty a "difficulty" attribute names; GameModeDifficulty_None when it names none.
GameModeDifficulty ParseGameModeDifficulty(const std::wstring& text);

#define DECLARE_LEVEL_READER(Game, Type)                                                                               \
    class Game##LevelResourceFactory final : public LevelResourceFactory                                               \
    {                                                                                                                  \
    public:                                                                                                            \
        Game##LevelResourceFactory() : LevelResourceFactory(Type) {}                                                   \
    };

DECLARE_LEVEL_READER(StreetSign, GameModeType_StreetSigns)
DECLARE_LEVEL_READER(ToolShed, GameModeType_ToolShed)
DECLARE_LEVEL_READER(SproutPuzzle, GameModeType_SproutPuzzle)
DECLARE_LEVEL_READER(HideAndSeek, GameModeType_HideAndSeek)
DECLARE_LEVEL_READER(PlanAJob, GameModeType_PlanAJob)
DECLARE_LEVEL_READER(PileOfLeaves, GameModeType_PileOfLeaves)
DECLARE_LEVEL_READER(HoistStacker, GameModeType_HoistStacker)
DECLARE_LEVEL_READER(HammerTheNail, GameModeType_HammerTheNail)
DECLARE_LEVEL_READER(CountTheMaterials, GameModeType_CountTheMaterials)
DECLARE_LEVEL_READER(HereToThere, GameModeType_HereToThere)
DECLARE_LEVEL_READER(PaintIt, GameModeType_PaintIt)
DECLARE_LEVEL_READER(HaulersDelivery, GameModeType_HaulersDelivery)

#undef DECLARE_LEVEL_READER
