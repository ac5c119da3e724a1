#include "game/PaintIt/PaintItGame.h"

#include "game/MiniGameKit.h"
#include "game/PaintIt/PaintItContent.h"
#include "game/PaintIt/PaintItLevel.h"
#include "game/PaintIt/PaintTheHouseMode.h"

namespace Yardcrew
{

namespace
{

namespace Names = PaintItContent;
using Kit = MiniGameKit<PaintTheHouseMode, PaintItLevelResourceFactory>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MouseInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& PaintItDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_PaintIt,
                                                                   .modeName = "PaintTheHouseMode",
                                                                   .label = "PaintIt",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .repeating = true,
                                                                   .instructionsWithoutLevel = true});
    return description;
}

void RegisterPaintIt()
{
    Kit::Register(PaintItDescription(), {.manifest = L"PaintTheHouseMode",
                                         .levelTag = L"PaintItLevel",
                                         .firstHint = Names::kFirstHint.name,
                                         .laterHint = Names::kLaterHint.name,
                                         .music = Names::kMusic.name,
                                         .content = Names::List()});
}

} // namespace Yardcrew
