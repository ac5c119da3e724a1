#include "game/PileOfLeaves/PileOfLeavesGame.h"

#include "game/MiniGameKit.h"
#include "game/PileOfLeaves/PileOfLeavesContent.h"
#include "game/PileOfLeaves/PileOfLeavesLevel.h"
#include "game/PileOfLeaves/PileOfLeavesMode.h"

namespace Yardcrew
{

namespace
{

namespace Names = PileOfLeavesContent;
using Kit = MiniGameKit<PileOfLeavesMode, PileOfLeavesLevelResourceFactory>;

const Strata::NodePathStep kClickMaskPath[] = {"GameScreenRoot", "Playfield", "ClickMask",
                                               Strata::NodePathTerminator()};

// Every round is made as a first one.
std::unique_ptr<YardcrewGameMode> NextRound(int roundsLeft)
{
    return std::make_unique<PileOfLeavesMode>(true, roundsLeft);
}

} // namespace

const sMiniGameDescription& PileOfLeavesDescription()
{
    static const sMiniGameDescription description = Kit::Describe({.type = GameModeType_PileOfLeaves,
                                                                   .modeName = "PileOfLeavesMode",
                                                                   .label = "PileOfLeaves",
                                                                   .layout = Names::kModeLayout.name,
                                                                   .cursor = Names::kCursor.name,
                                                                   .cursorHotSpot = Names::kCursorHotSpot.name,
                                                                   .inputMask = kClickMaskPath,
                                                                   .instructionsAfterIntro = true,
                                                                   .musicWithoutLevel = false,
                                                                   .nextRound = NextRound});
    return description;
}

void RegisterPileOfLeaves()
{
    Kit::Register(PileOfLeavesDescription(), {.manifest = L"PileOfLeavesMode",
                                              .levelTag = L"PileOfLeavesLevel",
                                              .firstHint = Names::kHint.name,
                                              .music = Names::kMusic.name,
                                              .content = Names::List()});
}

} // namespace Yardcrew
