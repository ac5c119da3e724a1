#include "game/MiniGameKit.h"

#include "game/HaulersDelivery/HaulersDeliveryGame.h"
#include "game/HereToThere/HereToThereGame.h"
#include "game/HideAndSeek/HideAndSeekGame.h"
#include "game/HoistStacker/HoistStackerContent.h"
#include "game/PaintIt/PaintItGame.h"
#include "game/PileOfLeaves/PileOfLeavesGame.h"
#include "game/PlanAJob/PlanAJobGame.h"
#include "game/SproutPuzzle/SproutPuzzleGame.h"
#include "game/StreetSigns/StreetSignsContent.h"
#include "game/StreetSigns/StreetSignsGame.h"

#include "GameServicesTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

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
        const char* modeName;
        const wchar_t* levelTag;
        // 1: one hint for every time; 0: a first and a later; -1: none.
        int hints;
        bool nextRoundIsFirst;
    };
    const Case cases[] = {
        // Repeating, a story name of its own, one hint.
        {HaulersDeliveryDescription, "HaulerDelivery", "HaulersDeliveryMode", L"HaulersDeliveryLevel", 1, false},
        // Repeating, one hint, a level tag of its own.
        {StreetSignsDescription, "StreetSigns", "StreetSignsMode", L"StreetSignLevel", 1, false},
        // A fresh mode each round.
        {HereToThereDescription, "HereToThere", "HereToThereMode", L"HereToThereLevel", 0, true},
        // No hints.
        {HideAndSeekDescription, "HideAndSeek", "HideAndSeekMode", L"HideAndSeekLevel", -1, true},
        // Its own next round.
        {PileOfLeavesDescription, "PileOfLeaves", "PileOfLeavesMode", L"PileOfLeavesLevel", 1, true},
        // Its own playable check.
        {SproutPuzzleDescription, "SproutPuzzle", "SproutPuzzleMode", L"SproutPuzzleLevel", 0, true},
        // A mode named apart from its label.
        {PaintItDescription, "PaintIt", "PaintTheHouseMode", L"PaintItLevel", 0, false},
        // A level tag its content header names.
        {PlanAJobDescription, "PlanAJob", "PlanAJobMode", L"PlanAJobLevel", 0, true},
    };
    for (const Case& c : cases)
    {
        const sMiniGameDescription& mode = c.describe();
        SCOPED_TRACE(mode.label);
        const sGameRegistration* game = FindRegisteredGame(mode.type);
        ASSERT_NE(game, nullptr);
        EXPECT_EQ(game->description, &mode);
        EXPECT_STREQ(game->label, mode.label);
        EXPECT_STREQ(game->storyName, c.storyName);
        EXPECT_STREQ(mode.modeName, c.modeName);
        EXPECT_EQ(std::wstring(game->manifest), std::wstring(c.modeName, c.modeName + std::strlen(c.modeName)));
        EXPECT_EQ(std::wstring(game->levelTag), c.levelTag);
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

bool Lists(std::span<const sContentName> list, const char* name)
{
    return name != nullptr &&
           std::any_of(
               list.begin(), list.end(), [name](const sContentName& listed) { return Same(listed.name, name); });
}

// What a game reads by its content header's conventional names is in the list the content check
// holds against data/, and that list is every name the header declares, tables element by element.
TEST_F(MiniGameKitTest, EveryGameChecksTheNamesItsDescriptionAndRegistrationRead)
{
    for (const sGameRegistration& game : GetRegisteredGames())
    {
        SCOPED_TRACE(game.label);
        ASSERT_NE(game.makeMode, nullptr);
        const std::unique_ptr<Strata::ApplicationMode> made = game.makeMode(Strata::Label());
        ASSERT_NE(made, nullptr);
        EXPECT_TRUE(Lists(game.content, game.music));
        EXPECT_EQ(game.firstHint == nullptr, Same(game.label, "HideAndSeek"));
        if (game.firstHint != nullptr)
        {
            EXPECT_TRUE(Lists(game.content, game.firstHint));
            EXPECT_TRUE(Lists(game.content, game.laterHint));
        }
        ASSERT_NE(game.description, nullptr);
        const sMiniGameDescription& mode = *game.description;
        EXPECT_EQ(mode.type, game.type);
        EXPECT_STREQ(mode.label, game.label);
        for (const char* name : {mode.layout, mode.cursor, mode.cursorHotSpot})
        {
            ASSERT_NE(name, nullptr);
            EXPECT_TRUE(Lists(game.content, name)) << name;
        }
    }

    // A two-rank table is listed row by row, right after the names declared before it.
    const std::span<const sContentName> stacking = HoistStackerContent::Declared().names;
    const auto pictures = std::find_if(stacking.begin(), stacking.end(),
                                       [](const sContentName& name)
                                       { return Same(name.name, HoistStackerContent::kPictures[0][0].name); });
    ASSERT_GE(stacking.end() - pictures, 4);
    EXPECT_STREQ(pictures[-1].name, HoistStackerContent::kCursorHotSpot.name);
    EXPECT_STREQ(pictures[1].name, HoistStackerContent::kPictures[0][1].name);
    EXPECT_STREQ(pictures[2].name, HoistStackerContent::kPictures[1][0].name);
    EXPECT_STREQ(pictures[3].name, HoistStackerContent::kPictures[1][1].name);
    // A name the code reads but the list once left out is checked now.
    EXPECT_TRUE(Lists(StreetSignsContent::List(), StreetSignsContent::kAskPictures.name));
}

// The build lists a content header's names by reading the header: every name a declaration there
// spells, however it is laid out, must reach the game's list, and a built name's table must stay put.
TEST_F(MiniGameKitTest, EveryNameAContentHeaderDeclaresIsInItsGamesList)
{
    const std::filesystem::path games = std::filesystem::path(MENAGERIE_DATA_DIR).parent_path() / "src" / "game";
    for (const sGameRegistration& game : GetRegisteredGames())
    {
        SCOPED_TRACE(game.label);
        std::ifstream file(games / game.label / (std::string(game.label) + "Content.h"));
        ASSERT_TRUE(file.is_open());
        std::stringstream text;
        text << file.rdbuf();
        const std::string header = text.str();
        int spelled = 0;
        // Each declaration runs to its semicolon; every string literal in it is a name.
        for (size_t at = header.find("sContentName k"); at != std::string::npos;
             at = header.find("sContentName k", at + 1))
        {
            const size_t end = header.find(';', at);
            for (size_t open = header.find('"', at); open < end; open = header.find('"', open + 1))
            {
                const size_t close = header.find('"', open + 1);
                const std::string name = header.substr(open + 1, close - open - 1);
                EXPECT_TRUE(Lists(game.content, name.c_str())) << name;
                open = close;
                ++spelled;
            }
        }
        EXPECT_GT(spelled, 3);
    }

    std::vector<std::span<const char* const>> kept;
    for (int table = 0; table < 40; ++table)
        kept.push_back(KeepContentNames({"Kept_" + std::to_string(table), "Kept_" + std::to_string(table) + "b"}));
    for (int table = 0; table < 40; ++table)
    {
        ASSERT_EQ(kept[table].size(), 2u);
        EXPECT_EQ(kept[table][0], "Kept_" + std::to_string(table));
        EXPECT_EQ(kept[table][1], "Kept_" + std::to_string(table) + "b");
    }
}

} // namespace
