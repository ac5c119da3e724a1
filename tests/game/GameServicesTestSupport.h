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

} // namespace GameTesting
