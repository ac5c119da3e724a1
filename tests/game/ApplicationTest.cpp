#include "game/GameApplication.h"

#include "GameServicesTestSupport.h"
#include "core/WideString.h"
#include "framework/LoadingTask.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/LevelProgression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace Yardcrew;

namespace
{

using ApplicationTest = GameTesting::GameServicesTest;

std::vector<std::wstring> QueuedManifests(const LoadingMode& mode)
{
    std::vector<std::wstring> manifests;
    for (const Strata::sLoadingTask& entry : mode.GetLoadingTasks())
    {
        EXPECT_EQ(entry.weight, 1u);
        const auto* load = dynamic_cast<const Strata::ResourceLoadTask*>(entry.task);
        manifests.push_back(load != nullptr ? load->GetManifest() : L"<not a manifest load>");
    }
    return manifests;
}

TEST_F(ApplicationTest, StartupQueueHoldsThirtyLoadsWithTheVoicesOfTheAccountsLanguage)
{
    const struct
    {
        std::optional<bool> english;
        const wchar_t* voices;
    } cases[] = {{std::nullopt, L"AudioResources"}, {true, L"AudioResources"}, {false, L"AudioResources_SP"}};
    int profile = 0;
    for (const auto& c : cases)
    {
        const std::wstring name = L"Child" + std::to_wstring(++profile);
        Strata::Account* account = UseProfile(name, std::to_wstring(200 + profile));
        if (c.english)
            ASSERT_TRUE(account->WriteValue(L"EnglishLanguage", *c.english));

        const std::vector<std::wstring> manifests = QueuedManifests(*MakeStartupLoadingMode());
        ASSERT_EQ(manifests.size(), 30u) << "profile " << profile;
        EXPECT_EQ(manifests.front(), L"resources");
        EXPECT_EQ(manifests[1], L"GlobalConstants");
        EXPECT_EQ(manifests[4], c.voices) << "profile " << profile;
        EXPECT_EQ(manifests.back(), L"PaintTheHouseMode");
        // Both picture languages load whatever the voices.
        EXPECT_EQ(std::count(manifests.begin(), manifests.end(), L"LocalizedImageResources_SP"), 1);
        EXPECT_EQ(std::count(manifests.begin(), manifests.end(), L"AudioResources") +
                      std::count(manifests.begin(), manifests.end(), L"AudioResources_SP"),
                  1);
    }
}

TEST_F(ApplicationTest, WindowIsFullScreenUnlessTheAccountChoseWindowed)
{
    const struct
    {
        const wchar_t* stored; // null: no value
        int mode;
    } cases[] = {{nullptr, 1}, {L"0", 0}, {L"1", 1}, {L"7", 1}, {L"-1", 1}};
    Application application;
    int profile = 0;
    for (const auto& c : cases)
    {
        ++profile;
        Strata::Account* account = UseProfile(L"Window" + std::to_wstring(profile), std::to_wstring(300 + profile));
        if (c.stored != nullptr)
            ASSERT_TRUE(account->WriteValue(L"Strata::Window::Mode", std::wstring(c.stored)));
        const Strata::sWindowConfig config = application.GetDefaultWindowConfig();
        EXPECT_EQ(config.mode, c.mode) << "stored " << (c.stored ? c.stored : L"nothing");
        EXPECT_EQ(config.width, 800);
        EXPECT_EQ(config.height, 600);
        EXPECT_EQ(config.resizePolicy, 1);
    }
}

TEST_F(ApplicationTest, LevelReadersFileEachGamesLevelsByDifficulty)
{
    RegisterGameResourceFactories();
    const std::vector<sGameRegistration>& games = GetRegisteredGames();
    const char* const difficulties[] = {"Easy", "Medium", "Hard"};
    // A level a built game can play; the plain readers pass over what they do not know.
    const std::string playable = "<Request material=\"Plant\" number=\"1\"/><Material type=\"Plant\" number=\"1\"/>"
                                 "<Animal type=\"Star\" color=\"Blue\"/>"
                                 "<Nail type=\"Wrench\" color=\"Red\" clickCount=\"1\" x=\"10\" y=\"10\"/>"
                                 "<Pattern order=\"AB\"/><Obstacle/><Obstacle/>"
                                 "<Box color=\"Red\"/><Box color=\"Blue\"/><Tool type=\"Wrench\" color=\"Red\"/>"
                                 "<StackObject size=\"1\" color=\"Red\" type=\"Log\"/>"
                                 "<Ask trait=\"Color\"/>";
    const std::string settings =
        " numPreviewHides=\"1\" runSpeed=\"300\" sortBy=\"Color\" imageList=\"Job\" numEmpty=\"1\""
        " picture=\"Pond\" columns=\"2\" rows=\"2\" numTools=\"4\" signs=\"3\"";
    std::string body;
    int n = 0;
    for (const auto& game : games)
    {
        const std::string tag = Strata::TruncateStringWideToASCII(game.levelTag);
        const std::string name = tag + "_" + std::to_string(n);
        // A level's own elements are its game's business, never resources of the manifest, even
        // where their tag and name would make one.
        body += "<" + tag + " name=\"" + name + "\" difficulty=\"" + difficulties[n % 3] + "\"" + settings +
                "><Row><Cell/></Row><LevelProg name=\"" + name + "_piece\"/>" + playable + "</" + tag + ">\n";
        ++n;
    }
    body += "<PaintItLevel name=\"NoDifficulty\"/>\n<PaintItLevel name=\"Unknown\" difficulty=\"Expert\"/>\n"
            "<PaintItLevel name=\"LowerCase\" difficulty=\"easy\"/>\n";
    body += "<LevelProg name=\"Story\"><Level gameType=\"PaintIt\"/></LevelProg>\n";
    LoadManifest(L"Levels", body);

    LevelManager& levels = GetLevelManager();
    n = 0;
    for (const auto& game : games)
    {
        const std::string name = Strata::TruncateStringWideToASCII(game.levelTag) + "_" + std::to_string(n);
        for (int d = 0; d < GameModeDifficulty_Count; ++d)
        {
            levels.difficulty = static_cast<GameModeDifficulty>(d);
            EXPECT_EQ(levels.getLevelForGameModeType(game.type),
                      d == n % 3 ? Strata::Label(name.c_str()) : Strata::Label())
                << name << " at difficulty " << d;
        }
        EXPECT_NE(manager->GetResource(Strata::Label(name.c_str())), nullptr) << name;
        EXPECT_EQ(manager->GetResource(Strata::Label((name + "_piece").c_str())), nullptr) << name;
        ++n;
    }
    const std::string log = TakeLog();
    EXPECT_NE(log.find("\"NoDifficulty\""), std::string::npos) << log;
    EXPECT_NE(log.find("\"Unknown\" in Levels has no known difficulty (\"Expert\")"), std::string::npos) << log;
    // Difficulty names are compared exactly.
    EXPECT_NE(log.find("\"LowerCase\" in Levels has no known difficulty (\"easy\")"), std::string::npos) << log;
    const auto* story = dynamic_cast<const LevelProgressionData*>(manager->GetResource(Strata::Label("Story")).get());
    ASSERT_NE(story, nullptr);
    EXPECT_EQ(story->entries.size(), 1u);
    levels.clearLevels(); // the level manager outlives the test; later tests file their own
    levels.difficulty = GameModeDifficulty_Medium;
}

} // namespace
