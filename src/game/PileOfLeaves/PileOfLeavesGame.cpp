#include "game/PileOfLeaves/PileOfLeavesGame.h"

#include "game/MiniGameKit.h"
#include "game/PileOfLeaves/PileOfLeavesContent.h"
#include "game/PileOfLeaves/PileOfLeavesLevel.h"
#include "game/PileOfLeaves/PileOfLeavesMode.h"

namespace Yardcrew
{

namespace
{

using Kit = MiniGameKit<PileOfLeavesMode, PileOfLeavesLevelResourceFactory, PileOfLeavesContent::Declared>;

// Every round is made as a first one.
std::unique_ptr<YardcrewGameMode> NextRound(int roundsLeft)
{
    return std::make_unique<PileOfLeavesMode>(true, roundsLeft);
}

const sMiniGameRecord kRecord{
    .type = GameModeType_PileOfLeaves,
    .label = "PileOfLeaves",
    .content = PileOfLeavesContent::List,
    .mode = {
        .inputMask = "ClickMask", .instructionsAfterIntro = true, .musicWithoutLevel = false, .nextRound = NextRound}};

} // namespace

YARDCREW_MINI_GAME_ENTRY_POINTS(PileOfLeaves)

} // namespace Yardcrew
