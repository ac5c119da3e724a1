#include "game/ToolShed/ToolShedGame.h"

#include "game/MiniGameKit.h"
#include "game/ToolShed/ToolShedContent.h"
#include "game/ToolShed/ToolShedLevel.h"
#include "game/ToolShed/ToolShedMode.h"

namespace Yardcrew
{

namespace
{

namespace Names = ToolShedContent;
using Kit = MiniGameKit<ToolShedMode, ToolShedLevelResourceFactory>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "ToolShed_ClickMask",
                                               Strata::NodePathTerminator()};

} // namespace

const sMiniGameDescription& ToolShedDescription()
{
    // The tools are thrown up first; the pop-up opens once they have landed.
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_ToolShed,
                                                                   .modeName = "ToolShedMode",
                                                                   .label = "ToolShed",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .instructionsAfterIntro = true});
    return description;
}

void RegisterToolShed()
{
    Kit::Register(ToolShedDescription(), {.manifest = L"ToolShedMode",
                                          .levelTag = L"ToolShedLevel",
                                          .firstHint = Names::kFirstHint.name,
                                          .laterHint = Names::kLaterHint.name,
                                          .music = Names::kMusic.name,
                                          .content = Names::List()});
}

} // namespace Yardcrew
