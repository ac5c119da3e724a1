#include "game/ToolShed/ToolShedGame.h"

#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"
#include "game/ToolShed/ToolShedContent.h"
#include "game/ToolShed/ToolShedLevel.h"
#include "game/ToolShed/ToolShedMode.h"

namespace Yardcrew
{

namespace
{

constexpr const char* kGameLabel = "ToolShed";

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "ToolShed_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& ToolShedDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_ToolShed;
        d.modeName = "ToolShedMode";
        d.label = kGameLabel;
        d.layout = ToolShedContent::kModeLayout.name;
        d.cursor = ToolShedContent::kCursor.name;
        d.cursorHotSpot = ToolShedContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        // The tools are thrown up first; the pop-up opens once they have landed.
        d.instructionsAfterIntro = true;
        d.isPlayable = IsPlayableLevel<ToolShedLevel>;
        d.nextRound = [](int) -> std::unique_ptr<YardcrewGameMode> { return std::make_unique<ToolShedMode>(); };
        return d;
    }();
    return description;
}

void RegisterToolShed()
{
    sGameRegistration game;
    game.type = GameModeType_ToolShed;
    game.label = kGameLabel;
    game.storyName = kGameLabel;
    game.manifest = L"ToolShedMode";
    game.levelTag = L"ToolShedLevel";
    game.makeLevelReader = [] { return std::make_unique<ToolShedLevelResourceFactory>(); };
    game.makeMode = MakeGameModeConstructor<ToolShedMode>();
    game.firstHint = ToolShedContent::kFirstHint.name;
    game.laterHint = ToolShedContent::kLaterHint.name;
    game.music = ToolShedContent::kMusic.name;
    game.content = ToolShedContent::List();
    RegisterGame(std::move(game));
}

} // namespace Yardcrew
