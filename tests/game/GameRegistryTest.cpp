#include "game/GameRegistry.h"

#include "game/GameApplication.h"
#include "game/LevelManager.h"

#include "GameServicesTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using namespace Yardcrew;

namespace
{

using GameRegistryTest = GameTesting::GameServicesTest;

bool Lists(const sContentList& list, const char* name)
{
    return std::any_of(
        list.names.begin(), list.names.end(),
        [name](const sContentName& entry) { return std::strcmp(entry.name, name) == 0; });
}

TEST_F(GameRegistryTest, EveryCentralTableIsReadFromTheRegistrations)
{
    RegisterGames();
    RegisterGames();
    const std::vector<sGameRegistration>& games = GetRegisteredGames();
    ASSERT_EQ(games.size(), static_cast<size_t>(GameModeType_Count));

    // The start-up manifests end with the games' own, in registration order.
    const std::vector<std::wstring> manifests = GetStartupManifests(true);
    ASSERT_GE(manifests.size(), games.size());
    LevelManager levels;
    InstallRegisteredGames(*manager, levels);
    const sContentList* base = nullptr;
    for (const sContentList& list : GetContentLists())
        if (std::strcmp(list.owner, "MiniGameBase") == 0)
            base = &list;
    ASSERT_NE(base, nullptr);

    std::set<int> types;
    size_t built = 0;
    for (size_t i = 0; i < games.size(); ++i)
    {
        const sGameRegistration& game = games[i];
        SCOPED_TRACE(game.label);
        types.insert(game.type);
        EXPECT_EQ(FindRegisteredGame(game.type), &game);
        EXPECT_EQ(FindRegisteredGame(Strata::Label(game.label)), &game);
        EXPECT_EQ(manifests[manifests.size() - games.size() + i], game.manifest);
        EXPECT_EQ(std::count_if(LevelManager::kGameTypeNames.begin(), LevelManager::kGameTypeNames.end(),
                                [&](const LevelManager::GameTypeName& entry) {
                                    return entry.type == game.type &&
                                           Strata::Label(entry.name) == Strata::Label(game.storyName);
                                }),
                  1);
        // A built game's mode is made from its registration, and only a built game asks for its hints
        // and music (tracks are shared), so only its hints are in the base's content list.
        EXPECT_EQ(levels.hasGameModeConstructor(game.type), static_cast<bool>(game.makeMode));
        for (const char* name : {game.firstHint, game.laterHint})
            if (name != nullptr)
                EXPECT_EQ(Lists(*base, name), static_cast<bool>(game.makeMode)) << name;
        EXPECT_TRUE(!game.makeMode || Lists(*base, game.music));
        if (game.makeMode)
        {
            ++built;
            EXPECT_FALSE(game.content.empty());
            EXPECT_NE(game.makeMode(Strata::Label()), nullptr);
        }
    }
    EXPECT_EQ(types.size(), games.size());
    EXPECT_GE(built, 1u);
    EXPECT_EQ(LevelManager::kGameTypeNames.size(), games.size());
    EXPECT_EQ(manifests.back(), L"PaintTheHouseMode");
}

TEST_F(GameRegistryTest, AGameThatIsNotRegisteredIsRefusedCleanly)
{
    const size_t before = GetRegisteredGames().size();
    sGameRegistration again = GetRegisteredGames().front();
    sGameRegistration outOfRange = again;
    outOfRange.type = GameModeType_Count;
    sGameRegistration incomplete;
    incomplete.type = GameModeType_PaintIt;
    for (const sGameRegistration& game : {again, outOfRange, incomplete})
        EXPECT_FALSE(RegisterGame(game));
    EXPECT_EQ(GetRegisteredGames().size(), before);
    const std::string log = TakeLog();
    EXPECT_NE(log.find("is registered already"), std::string::npos) << log;
    EXPECT_NE(log.find("its type is out of range"), std::string::npos) << log;
    EXPECT_NE(log.find("its description is incomplete"), std::string::npos) << log;

    // Nothing finds a game nobody registered, and the story refuses it.
    EXPECT_EQ(FindRegisteredGame(GameModeType_Count), nullptr);
    EXPECT_EQ(FindRegisteredGame(Strata::Label("NoSuchGame")), nullptr);
    EXPECT_EQ(FindRegisteredGame(Strata::Label()), nullptr);
    EXPECT_FALSE(GetLevelManager().pushGameModeOfType(Strata::Label("NoSuchGame"), Strata::Label()));
    EXPECT_NE(TakeLog().find("No game type is called \"NoSuchGame\""), std::string::npos);
}

} // namespace
