#include "game/MiniGameKit.h"

#include "game/HaulersDelivery/HaulersDeliveryGame.h"
#include "game/HereToThere/HereToThereGame.h"
#include "game/HideAndSeek/HideAndSeekGame.h"
#include "game/PileOfLeaves/PileOfLeavesGame.h"
#include "game/SproutPuzzle/SproutPuzzleGame.h"
#include "game/StreetSigns/StreetSignsGame.h"

#include "GameServicesTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <typeinfo>

using namespace Yardcrew;

namespace
{

using MiniGameKitTest = GameTesting::GameServicesTest;

bool Same(const char* a, const char* b)
{
    return a == b || (a != nullptr && b != nullptr && std::strcmp(a, b) == 0);
}

// What the kit fills in where a game leaves it out, and what it keeps where a game gives its own.
TEST_F(MiniGameKitTest, EachGameGetsTheKitsDefaultsOnlyWhereItGaveNone)
{
    struct Case
    {
        const sMiniGameDescription& (*describe)();
        const char* storyName;
        // 1: one hint for every time; 0: a first and a later; -1: none.
        int hints;
        bool nextRoundIsFirst;
    };
    const Case cases[] = {
        {HaulersDeliveryDescription, "HaulerDelivery", 0, false}, // repeating, a story name of its own
        {StreetSignsDescription, "StreetSigns", 1, false},        // repeating, one hint
        {HereToThereDescription, "HereToThere", 0, true},         // a fresh mode each round
        {HideAndSeekDescription, "HideAndSeek", -1, true},        // no hints
        {PileOfLeavesDescription, "PileOfLeaves", 1, true},       // its own next round
        {SproutPuzzleDescription, "SproutPuzzle", 0, true},       // its own playable check
    };
    for (const Case& c : cases)
    {
        const sMiniGameDescription& mode = c.describe();
        SCOPED_TRACE(mode.label);
        const sGameRegistration* game = FindRegisteredGame(mode.type);
        ASSERT_NE(game, nullptr);
        EXPECT_STREQ(game->label, mode.label);
        EXPECT_STREQ(game->storyName, c.storyName);
        EXPECT_EQ(game->firstHint == nullptr, c.hints < 0);
        EXPECT_EQ(Same(game->firstHint, game->laterHint), c.hints != 0);

        ASSERT_NE(mode.isPlayable, nullptr);
        EXPECT_FALSE(mode.isPlayable(Strata::Label("NoSuchLevel")));
        ASSERT_NE(mode.nextRound, nullptr);
        const std::unique_ptr<YardcrewGameMode> next = mode.nextRound(2);
        const std::unique_ptr<Strata::ApplicationMode> made = game->makeMode(Strata::Label());
        ASSERT_NE(next, nullptr);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(typeid(*next), typeid(*made));
        const auto* round = dynamic_cast<MiniGameMode*>(next.get());
        ASSERT_NE(round, nullptr);
        EXPECT_EQ(round->isFirstRound(), c.nextRoundIsFirst);
        EXPECT_EQ(round->getRoundsLeft() > 0, mode.repeating);
    }
}

} // namespace
