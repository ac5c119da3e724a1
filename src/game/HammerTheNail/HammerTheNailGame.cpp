#include "game/HammerTheNail/HammerTheNailGame.h"

#include "game/HammerTheNail/HammerTheNailContent.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/MiniGameKit.h"

namespace Yardcrew
{

namespace
{

namespace Names = HammerTheNailContent;
using Kit = MiniGameKit<HammerTheNailMode, HammerTheNailLevelResourceFactory>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "MaskInput_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& HammerTheNailDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_HammerTheNail,
                                                                   .modeName = "HammerTheNailMode",
                                                                   .label = "HammerTheNail",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .repeating = true,
                                                                   .instructionsWithoutLevel = true});
    return description;
}

void RegisterHammerTheNail()
{
    Kit::Register(HammerTheNailDescription(), {.manifest = L"HammerTheNailMode",
                                               .levelTag = L"HammerTheNailLevel",
                                               .firstHint = Names::kFirstHint.name,
                                               .laterHint = Names::kLaterHint.name,
                                               .music = Names::kMusic.name,
                                               .content = Names::List()});
}

} // namespace Yardcrew
