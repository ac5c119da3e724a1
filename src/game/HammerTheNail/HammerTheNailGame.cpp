#include "game/HammerTheNail/HammerTheNailGame.h"

#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/MiniGameMode.h"

namespace Yardcrew
{

namespace
{

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MaskInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& HammerTheNailDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_HammerTheNail;
        d.modeName = "HammerTheNailMode";
        d.label = "HammerTheNail";
        d.layout = HammerTheNailContent::kModeLayout.name;
        d.cursor = HammerTheNailContent::kCursor.name;
        d.cursorHotSpot = HammerTheNailContent::kCursorHotSpot.name;
        d.inputMask = kClickMaskPath;
        d.repeating = true;
        d.isPlayable = IsPlayableLevel<HammerTheNailLevel>;
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<HammerTheNailMode>(false, roundsLeft); };
        return d;
    }();
    return description;
}

} // namespace Yardcrew
