#include "game/HaulersDelivery/HaulersDeliveryGame.h"

#include "game/GameRegistry.h"
#include "game/HaulersDelivery/HaulersDeliveryContent.h"
#include "game/HaulersDelivery/HaulersDeliveryLevel.h"
#include "game/HaulersDelivery/HaulersDeliveryMode.h"
#include "game/MiniGameMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "HaulersDelivery";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MouseInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& HaulersDeliveryDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_HaulersDelivery;
        d.modeName = "HaulersDeliveryMode";
        d.label = kGameLabel;
        d.layout = HaulersDeliveryContent::kModeLayout.name;
        d.cursor = HaulersDeliveryContent::kCursor.name;
        d.cursorHotSpot = HaulersDeliveryContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.repeating = true;
        d.isPlayable = IsPlayableLevel<HaulersDeliveryLevel>;
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<HaulersDeliveryMode>(false, roundsLeft); };
        return d;
    }();
    return description;
}

void RegisterHaulersDelivery()
{
    sGameRegistration game;
    game.type = GameModeType_HaulersDelivery;
    game.label = kGameLabel;
    game.storyName = "HaulerDelivery";
    game.manifest = L"HaulersDeliveryMode";
    game.levelTag = L"HaulersDeliveryLevel";
    game.makeLevelReader = [] { return std::make_unique<HaulersDeliveryLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<HaulersDeliveryMode>();
    game.firstHint = HaulersDeliveryContent::kFirstHint.name;
    game.laterHint = HaulersDeliveryContent::kLaterHint.name;
    game.music = HaulersDeliveryContent::kMusic.name;
    game.content = HaulersDeliveryContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
