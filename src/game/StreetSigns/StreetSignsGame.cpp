#include "game/StreetSigns/StreetSignsGame.h"

#include "game/MiniGameKit.h"
#include "game/StreetSigns/StreetSignLevel.h"
#include "game/StreetSigns/StreetSignsContent.h"
#include "game/StreetSigns/StreetSignsMode.h"

namespace Yardcrew
{

namespace
{

namespace Names = StreetSignsContent;
using Kit = MiniGameKit<StreetSignsMode, StreetSignLevelResourceFactory>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MouseInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& StreetSignsDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_StreetSigns,
                                                                   .modeName = "StreetSignsMode",
                                                                   .label = "StreetSigns",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .repeating = true});
    return description;
}

void RegisterStreetSigns()
{
    Kit::Register(StreetSignsDescription(), {.manifest = L"StreetSignsMode",
                                             .levelTag = L"StreetSignLevel",
                                             .firstHint = Names::kHint.name,
                                             .music = Names::kMusic.name,
                                             .content = Names::List()});
}

} // namespace Yardcrew
