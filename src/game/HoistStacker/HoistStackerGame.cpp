#include "game/HoistStacker/HoistStackerGame.h"

#include "game/GameRegistry.h"
#include "game/HoistStacker/HoistStackerContent.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/HoistStacker/HoistStackerMode.h"
#include "game/MiniGameMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "HoistStacker";

} // namespace

const sMiniGameDescription& HoistStackerDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_HoistStacker;
        d.modeName = "HoistStackerMode";
        d.label = kGameLabel;
        d.layout = HoistStackerContent::kModeLayout.name;
        d.cursor = HoistStackerContent::kCursor.name;
        d.cursorHotSpot = HoistStackerContent::kCursorHotSpot.name;
        d.repeating = true;
        d.isPlayable = IsPlayableLevel<HoistStackerLevel>;
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<HoistStackerMode>(false, roundsLeft); };
        return d;
    }();
    return description;
}

void RegisterHoistStacker()
{
    sGameRegistration game;
    game.type = GameModeType_HoistStacker;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"HoistStackerMode";
    game.levelTag = L"HoistStackerLevel";
    game.makeLevelReader = [] { return std::make_unique<HoistStackerLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<HoistStackerMode>();
    game.firstHint = HoistStackerContent::kFirstHint.name;
    game.laterHint = HoistStackerContent::kLaterHint.name;
    game.music = HoistStackerContent::kMusic.name;
    game.content = HoistStackerContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
