#pragma once

// A game-services fixture: its own resource manager over in-memory manifests, an in-memory user
// partition for the profiles, a seeded random stream, and the log captured.

#include "core/FileSystem.h"
#include "core/Random.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "graphics/ImageList.h"

#include "engine/framework/ResourceTestSupport.h"
#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace GameTesting
{

using namespace Yardcrew;

// An image list of "count" empty images: all the sticker manager reads of "AllStickersList".
struct CountedImageList : Strata::IImageList
{
    int GetNumImages() const override { return count; }
    int GetImageWidth(int) const override { return 0; }
    int GetImageHeight(int) const override { return 0; }
    uint8_t GetImagePixelAlpha(int, int, int) const override { return 0; }
    Strata::Color32 GetImagePixel(int, int, int) const override { return {}; }
    int DrawImage(int, float, float, const Strata::Graphics::sDrawState&, Strata::ICanvas*) override { return 0; }
    int DrawStretchedImage(int, const Strata::Rect<float>&, const Strata::Graphics::sDrawState&,
                           Strata::ICanvas*) override
    {
        return 0;
    }
    int count = 0;
};

class CountedImageListFactory final : public Strata::IResourceFactory
{
public:
    Strata::IResourceDescriptor* CreateResource(const std::wstring& manifest, Strata::Label name,
                                                const Strata::IAttributeContainer& attributes,
                                                Strata::IXMLReader&) const override
    {
        auto* list = new Strata::ResourceWrapper<CountedImageList>(manifest, name, attributes);
        list->count = attributes.GetAttribute(L"count", 0);
        return list;
    }
};

// The levels of the game type filed at that difficulty: drawn until the draws repeat. Leaves the
// manager's difficulty at that one.
inline std::set<std::string> DrawnLevels(Yardcrew::GameModeType type, Yardcrew::GameModeDifficulty difficulty)
{
    std::set<std::string> seen;
    Yardcrew::LevelManager& levels = Yardcrew::GetLevelManager();
    levels.difficulty = difficulty;
    for (int i = 0; i < 400; ++i)
        if (const Strata::Label level = levels.getLevelForGameModeType(type))
            seen.insert(level.c_str());
    return seen;
}

// Every level of the game type that the level manager has filed, at any difficulty. Leaves the
// manager's difficulty at Hard.
inline std::set<std::string> FiledLevels(Yardcrew::GameModeType type)
{
    std::set<std::string> seen;
    for (int d = 0; d < Yardcrew::GameModeDifficulty_Count; ++d)
        seen.merge(DrawnLevels(type, static_cast<Yardcrew::GameModeDifficulty>(d)));
    return seen;
}

// The level reader's log line about the level of that manifest; empty when there is none, and
// "logged twice" when there is more than one.
inline std::string LevelLogLine(const std::string& log, const std::string& manifest, const std::string& level)
{
    const std::string line = "Level \"" + level + "\" in " + manifest + " ";
    const size_t at = log.find(line);
    if (at == std::string::npos)
        return std::string();
    if (log.find(line, at + 1) != std::string::npos)
        return "logged twice";
    return log.substr(at, log.find('\n', at) - at);
}

class GameServicesTest : public Strata::Testing::ResourceTest
{
protected:
    void SetUp() override
    {
        ResourceTest::SetUp();
        manager->AddResourceFactory(L"countedimagelist", new CountedImageListFactory());
        fileSystem = new Strata::FileSystem();
        user = new Strata::Testing::MemoryFileSystemPartition(L"user");
        fileSystem->AddFileSystemPartition(Strata::FileSystemPartition_User, user);
        Strata::Random::SetSeedOverride(11);
        Strata::Random::Engine_Setup();
        UseProfile(L"Player", L"101");
        testing::internal::CaptureStderr();
    }

    void TearDown() override
    {
        testing::internal::GetCapturedStderr();
        Strata::Random::Engine_Destroy();
        Strata::Random::ClearSeedOverride();
        ResourceTest::TearDown();
    }

    // Makes the profile of that name current, creating it with its "AccountID" when it is new.
    Strata::Account* UseProfile(const std::wstring& name, const std::wstring& accountID)
    {
        Strata::AccountManager* accounts = Strata::GetAccountManager();
        if (!accounts->IsExistingAccount(name))
            EXPECT_NE(accounts->NewAccount(name), nullptr);
        EXPECT_TRUE(accounts->SetCurrentAccount(name));
        Strata::Account* account = accounts->GetCurrentAccount();
        if (account->ReadValue(L"AccountID").empty())
            account->WriteValue(L"AccountID", accountID);
        return account;
    }

    Strata::Account* Current() { return Strata::GetAccountManager()->GetCurrentAccount(); }

    // Loads a game's manifest from the shipped data/ with only its levels filed, expecting none refused,
    // and answers the names drawn at each difficulty (every filed one, given the many draws).
    std::vector<std::set<std::string>> ShippedLevels(const std::wstring& manifest, Yardcrew::GameModeType type)
    {
        std::ifstream file(std::filesystem::path(MENAGERIE_DATA_DIR) / (manifest + L".xml"), std::ios::binary);
        EXPECT_TRUE(file.good());
        std::ostringstream text;
        text << file.rdbuf();
        files.AddFile(manifest + L".xml", text.str());
        Yardcrew::GetLevelManager().clearLevels();
        EXPECT_TRUE(manager->Load(manifest.c_str())->IsComplete());
        EXPECT_EQ(TakeLog().find("not filed"), std::string::npos);
        std::vector<std::set<std::string>> drawn;
        for (int d = 0; d < Yardcrew::GameModeDifficulty_Count; ++d)
            drawn.push_back(DrawnLevels(type, static_cast<Yardcrew::GameModeDifficulty>(d)));
        return drawn;
    }

    // What was logged since the last call.
    std::string TakeLog()
    {
        std::string text = testing::internal::GetCapturedStderr();
        testing::internal::CaptureStderr();
        return text;
    }

    void LoadManifest(const wchar_t* name, const std::string& body)
    {
        AddManifest(name, body);
        ASSERT_TRUE(manager->Load(name)->IsComplete());
    }

    Strata::FileSystem* fileSystem = nullptr;
    Strata::Testing::MemoryFileSystemPartition* user = nullptr;
};

// A row of a letter-pattern game's level table: the level's difficulty and children, the patterns read,
// and the reason logged (null when the level is filed).
struct sLetterPatternCase
{
    const char* name;
    const char* difficulty;
    const char* children;
    std::vector<std::vector<int32_t>> read;
    const char* logged;
};

// One game's level reader on the fixture's manager: `Factory` (a GameLevelResourceFactory) files the
// elements of its game's registered level tag.
template <class Factory>
class LevelReaderTest : public GameServicesTest
{
protected:
    using LevelType = typename Factory::LevelType;

    void SetUp() override
    {
        GameServicesTest::SetUp();
        const Yardcrew::sGameRegistration* game = Yardcrew::FindRegisteredGame(Factory().GetGameModeType());
        ASSERT_NE(game, nullptr);
        mGame = game;
        manager->AddResourceFactory(game->levelTag, new Factory());
        // Levels that earlier tests filed would count as this table's.
        Yardcrew::GetLevelManager().clearLevels();
    }

    const LevelType* Level(const char* name) const
    {
        return dynamic_cast<const LevelType*>(manager->GetResource(Strata::Label(name)).get());
    }

    // Loads one manifest of a level element per case, `<tag name="..." attributes>children</tag>` with
    // the attributes and children `element(c)` gives, and checks each case: its record is made and handed
    // to `check`, and it is filed exactly when `c.logged` is null, else logged once with that reason.
    template <class Cases, class Element, class Check>
    void ExpectFiledUnlessLogged(const wchar_t* manifest, const Cases& cases, Element element, Check check)
    {
        const std::string tag = Narrow(mGame->levelTag);
        std::string body;
        for (const auto& c : cases)
        {
            const auto [attributes, children] = element(c);
            body += "<" + tag + " name=\"" + c.name + "\" " + attributes + ">" + children + "</" + tag + ">\n";
        }
        LoadManifest(manifest, body);
        const std::string log = TakeLog();
        const std::set<std::string> filed = FiledLevels(mGame->type);
        for (const auto& c : cases)
        {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(filed.count(c.name) == 1, c.logged == nullptr);
            const std::string line = LevelLogLine(log, Narrow(manifest), c.name);
            if (c.logged == nullptr)
                EXPECT_EQ(line, "");
            else
                EXPECT_NE(line.find(c.logged), std::string::npos) << line;
            const LevelType* level = Level(c.name);
            ASSERT_NE(level, nullptr);
            check(c, *level);
        }
    }
    template <class Cases, class Element>
    void ExpectFiledUnlessLogged(const wchar_t* manifest, const Cases& cases, Element element)
    {
        ExpectFiledUnlessLogged(
            manifest, cases, element, [](const auto&, const LevelType&) {});
    }

    // A letter-pattern game's table, checked as above and for the patterns read.
    template <class Cases>
    void ExpectLetterPatterns(const wchar_t* manifest, const Cases& cases)
    {
        ExpectFiledUnlessLogged(
            manifest, cases,
            [](const sLetterPatternCase& c)
            { return std::pair(std::string("difficulty=\"") + c.difficulty + "\"", c.children); },
            [](const sLetterPatternCase& c, const LevelType& level) { EXPECT_EQ(level.patterns, c.read); });
    }

    // The game's levels in data/: at least three filed at each difficulty, every one playable.
    void ExpectShippedLevelsPlayable()
    {
        const std::vector<std::set<std::string>> drawn = ShippedLevels(mGame->manifest, mGame->type);
        for (size_t d = 0; d < drawn.size(); ++d)
        {
            EXPECT_GE(drawn[d].size(), 3u) << "difficulty " << d;
            for (const std::string& name : drawn[d])
            {
                const LevelType* level = Level(name.c_str());
                ASSERT_NE(level, nullptr) << name;
                EXPECT_EQ(level->Validate(), "") << name;
            }
        }
    }

private:
    static std::string Narrow(const wchar_t* text)
    {
        std::string narrow;
        for (; *text != L'\0'; ++text)
            narrow += static_cast<char>(*text);
        return narrow;
    }

    const Yardcrew::sGameRegistration* mGame = nullptr;
};

} // namespace GameTesting
