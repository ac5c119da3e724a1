#include "game/GameRegistry.h"

#include "framework/ApplicationMode.h"
#include "game/GameApplication.h"
#include "game/LevelManager.h"
#include "game/LevelProgression.h"

#include "GameServicesTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
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

TEST_F(GameRegistryTest, TheShippedStoryStartsEveryGameInItsOrder)
{
    RegisterGames();
    LevelManager levels;
    InstallRegisteredGames(*manager, levels);
    EXPECT_EQ(std::count_if(GetRegisteredGames().begin(), GetRegisteredGames().end(),
                            [](const sGameRegistration& game) { return static_cast<bool>(game.makeMode); }),
              GameModeType_Count)
        << "every game is built";

    std::vector<std::string> started;
    const auto record = [&started](std::unique_ptr<Strata::ApplicationMode> mode)
    { started.push_back(mode ? typeid(*mode).name() : "screen"); };
    levels.setModeQueue({record, record, [] {}});
    StoryScreenConstructors screens;
    screens.mainMenu = [] { return std::unique_ptr<Strata::ApplicationMode>(); };
    screens.stickerBook = [] { return std::unique_ptr<Strata::ApplicationMode>(); };
    screens.cutscene = [](Strata::Label) { return std::unique_ptr<Strata::ApplicationMode>(); };
    levels.setStoryScreenConstructors(screens);

    manager->AddResourceFactory(L"LevelProg", new LevelProgressionResourceFactory());
    std::ifstream file(std::filesystem::path(MENAGERIE_DATA_DIR) / "LevelProgression.xml", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    LoadManifest(L"LevelProgression", text.str());
    levels.setLevelProgression(Strata::Label("MenagerieStory"));
    const LevelProgressionData* story = levels.getLevelProgression();
    ASSERT_NE(story, nullptr);
    TakeLog();

    // One step at a time, each starts its own game or cut-scene; then the menu and the book.
    std::vector<std::string> expected;
    for (const LevelProgressionEntry& step : story->entries)
    {
        std::string kind = "screen";
        if (step.type == LevelProgressionEntry_Level)
        {
            const auto entry = std::find_if(LevelManager::kGameTypeNames.begin(), LevelManager::kGameTypeNames.end(),
                                            [&step](const LevelManager::GameTypeName& name)
                                            { return step.name == Strata::Label(name.name); });
            ASSERT_NE(entry, LevelManager::kGameTypeNames.end()) << step.name.c_str();
            const sGameRegistration* game = FindRegisteredGame(entry->type);
            ASSERT_TRUE(game != nullptr && game->makeMode) << step.name.c_str();
            const std::unique_ptr<Strata::ApplicationMode> mode = game->makeMode(Strata::Label());
            kind = typeid(*mode).name();
        }
        expected.push_back(kind);
    }
    for (size_t i = 0; i <= story->entries.size(); ++i)
        levels.beginNextLevelProgressionMode();
    expected.insert(expected.end(), {"screen", "screen"});
    EXPECT_EQ(started, expected);
    EXPECT_EQ(TakeLog().find("No mode is registered"), std::string::npos);
}
