// Every level shipped in data/ played through its own game's mode over the real data, under the
// sanitizers; and the level fuzz targets' player plays exactly the levels its reader files.

#include "LevelPlayer.h"

#include "game/GameRegistry.h"
#include "game/LevelManager.h"

#include "GameServicesTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace GameTesting;
using namespace Yardcrew;

namespace
{

TEST(LevelPlayerTest, EveryShippedLevelPlaysThroughItsMode)
{
    RegisterGames();
    for (const sGameRegistration& game : GetRegisteredGames())
    {
        SCOPED_TRACE(game.label);
        LevelPlayer player(game.type, MENAGERIE_DATA_DIR);
        ASSERT_TRUE(player.IsLoaded());
        std::vector<std::set<std::string>> drawn;
        for (int d = 0; d < GameModeDifficulty_Count; ++d)
            drawn.push_back(DrawnLevels(game.type, static_cast<GameModeDifficulty>(d)));
        for (size_t d = 0; d < drawn.size(); ++d)
        {
            EXPECT_GE(drawn[d].size(), 3u) << "difficulty " << d;
            for (const std::string& name : drawn[d])
            {
                SCOPED_TRACE(name);
                player.Play(Strata::Label(name.c_str()), static_cast<GameModeDifficulty>(d));
            }
        }
    }
}

// The bytes a fuzz target gives: played only when the reader files the level, the record handed back
// whenever there is an element.
TEST(LevelPlayerTest, PlaysOnlyWhatTheReaderFiles)
{
    struct sCase
    {
        const char* name;
        std::string bytes;
        bool made;
        bool played;
    };
    const sCase cases[] = {
        {"empty", "", false, false},
        {"two nails", R"(<HammerTheNailLevel difficulty="Easy"><Nail type="Wrench" color="Red"/>
            <Nail type="DriverPlus" color="Blue" clickCount="2"/></HammerTheNailLevel>)",
         true, true},
        {"later elements ignored",
         R"(<HammerTheNailLevel difficulty="Hard"><Nail type="Wrench" color="Red" clickCount="1"/>
            </HammerTheNailLevel><image name="Stray" src="missing"/>)",
         true, true},
        {"unknown difficulty", R"(<HammerTheNailLevel difficulty="Tricky"><Nail type="Wrench" color="Red"/>
            </HammerTheNailLevel>)",
         true, false},
        {"no nail", R"(<HammerTheNailLevel difficulty="Easy"/>)", true, false},
    };
    LevelPlayer player(GameModeType_HammerTheNail, MENAGERIE_DATA_DIR);
    ASSERT_TRUE(player.IsLoaded());
    for (const sCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        bool played = true;
        const auto level = player.Read(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), &played);
        EXPECT_EQ(level != nullptr, c.made);
        EXPECT_EQ(played, c.played);
        // Nothing the bytes held stays behind for the next run.
        EXPECT_EQ(Strata::GetResourceManager()->GetResource(Strata::Label("FuzzLevel")), nullptr);
        EXPECT_EQ(Strata::GetResourceManager()->GetResource(Strata::Label("Stray")), nullptr);
        EXPECT_TRUE(GetLevelManager().getLevelForGameModeType(GameModeType_HammerTheNail).IsNull());
    }
}

} // namespace
