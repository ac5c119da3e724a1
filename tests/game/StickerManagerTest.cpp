#include "game/StickerManager.h"

#include "GameServicesTestSupport.h"

#include <set>

using namespace GameTesting;

namespace
{

class StickerManagerTest : public GameServicesTest
{
protected:
    void LoadStickers(int count, const wchar_t* manifest = L"stickers")
    {
        if (manager->GetLoadCount(L"stickers") > 0)
            manager->Unload(L"stickers");
        if (manager->GetLoadCount(L"stickers2") > 0)
            manager->Unload(L"stickers2");
        LoadManifest(manifest,
                     "<countedimagelist name=\"AllStickersList\" count=\"" + std::to_string(count) + "\"/>\n");
        TakeLog();
    }

    std::set<int> Unlocked() const
    {
        std::set<int> indices;
        for (size_t i = 0; i < stickers.getUnlockedBits().size(); ++i)
            if (stickers.getUnlockedBits()[i])
                indices.insert(static_cast<int>(i));
        return indices;
    }

    StickerManager stickers;
};

TEST_F(StickerManagerTest, ANewProfileGetsThreeStartersStoredAsBigEndianWords)
{
    LoadStickers(10);
    stickers.loadUnlockedStickerData();
    const std::set<int> starters = Unlocked();
    EXPECT_EQ(starters.size(), 3u);
    EXPECT_EQ(stickers.getUnlockedCount(), 3);
    EXPECT_FALSE(stickers.isAllUnlocked());
    EXPECT_EQ(Current()->ReadValue(L"StickerArrayLength", 0), 10);
    EXPECT_EQ(Current()->ReadValue(L"101_StickerCount", 0), 3);

    uint8_t bytes[600] = {};
    ASSERT_EQ(Current()->ReadBinary(L"101_StickerUnlockArray", bytes, 600), 600u);
    for (int i = 0; i < 150; ++i)
    {
        const bool unlocked = starters.count(i) != 0;
        EXPECT_EQ(bytes[i * 4 + 3], unlocked ? 1 : 0) << i;
        EXPECT_EQ(bytes[i * 4] | bytes[i * 4 + 1] | bytes[i * 4 + 2], 0) << i;
    }
    EXPECT_EQ(TakeLog(), "");

    // Loading again reads the same stickers back and grants nothing.
    StickerManager again;
    again.loadUnlockedStickerData();
    EXPECT_EQ(again.getUnlockedBits(), stickers.getUnlockedBits());
}

TEST_F(StickerManagerTest, TheLastLockedStickerIsFoundFromAnyStartThenTheBookIsComplete)
{
    LoadStickers(5);
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u})
    {
        SCOPED_TRACE(seed);
        stickers.resetUnlockedStickerData();
        std::set<int> unlocked = Unlocked();
        ASSERT_EQ(unlocked.size(), 3u);
        unlocked.insert(stickers.unlockRandomSticker());
        ASSERT_EQ(unlocked.size(), 4u);
        int missing = 0;
        while (unlocked.count(missing) != 0)
            ++missing;
        Strata::Random::SetSeedOverride(seed);
        Strata::Random::Engine_Setup();
        EXPECT_EQ(stickers.unlockRandomSticker(), missing);
        EXPECT_EQ(stickers.unlockRandomSticker(), -1);
        EXPECT_TRUE(stickers.isAllUnlocked());
        EXPECT_EQ(stickers.unlockRandomSticker(), -2);
        EXPECT_EQ(stickers.unlockRandomSticker(), -2);
        EXPECT_EQ(Current()->ReadValue(L"101_StickerCount", 0), 5);
    }
}

TEST_F(StickerManagerTest, EachProfileKeepsItsOwnStickersAndANewOneAfterAFullOneGetsStarters)
{
    LoadStickers(3);
    stickers.loadUnlockedStickerData();
    EXPECT_EQ(stickers.unlockRandomSticker(), -2) << "three stickers: the starters fill the book";
    EXPECT_TRUE(stickers.isAllUnlocked());

    // The profile changes without a load: unlocking reloads first, so the new profile gets its starters
    // and its own book, and the full profile's flags are left alone.
    UseProfile(L"Second", L"202");
    EXPECT_EQ(stickers.unlockRandomSticker(), -2);
    EXPECT_EQ(stickers.getUnlockedCount(), 3);
    EXPECT_EQ(Current()->ReadValue(L"202_StickerCount", 0), 3);

    LoadStickers(8, L"stickers2");
    UseProfile(L"Third", L"303");
    const int won = stickers.unlockRandomSticker();
    EXPECT_GE(won, 0);
    EXPECT_EQ(stickers.getUnlockedCount(), 4);
    const std::vector<bool> third = stickers.getUnlockedBits();

    UseProfile(L"Second", L"202");
    stickers.loadUnlockedStickerData();
    EXPECT_EQ(Unlocked(), (std::set<int>{0, 1, 2})) << "the list grew: the flags stay";
    UseProfile(L"Third", L"303");
    stickers.loadUnlockedStickerData();
    EXPECT_EQ(stickers.getUnlockedBits(), third);
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(StickerManagerTest, AShrunkListOrADamagedArrayGivesNewStarters)
{
    struct Case
    {
        const char* what;
        int storedLength;
        std::string storedArray;
        bool errorLine;
    };
    const Case cases[] = {{"list shrank", 12, std::string(600, '\0'), false},
                          {"array cut short", 10, std::string(599, '\x01'), true},
                          {"array missing", 10, std::string(), true}};
    LoadStickers(10);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Current()->WriteValue(L"StickerArrayLength", c.storedLength);
        Current()->DeleteValue(L"101_StickerUnlockArray");
        if (!c.storedArray.empty())
            Current()->WriteBinary(L"101_StickerUnlockArray", c.storedArray.data(), c.storedArray.size());
        TakeLog();
        stickers.loadUnlockedStickerData();
        EXPECT_EQ(Unlocked().size(), 3u);
        EXPECT_EQ(TakeLog().find("Error loading level sticker data\n") != std::string::npos, c.errorLine);
        EXPECT_EQ(Current()->ReadValue(L"StickerArrayLength", 0), 10);
    }
}

TEST_F(StickerManagerTest, NothingIsReadOrWrittenBeforeAProfileIsChosen)
{
    LoadStickers(10);
    // The account of a fresh start, before any profile is chosen in it.
    Current()->DeleteValue(L"AccountID");
    TakeLog();
    stickers.loadUnlockedStickerData();
    EXPECT_GE(stickers.unlockRandomSticker(), 0) << "won for this run only";
    stickers.resetUnlockedStickerData();
    EXPECT_EQ(Current()->ReadValue(L"_StickerCount"), L"");
    EXPECT_EQ(Current()->ReadValue(L"_StickerUnlockArray"), L"");
    EXPECT_EQ(Current()->ReadValue(L"StickerArrayLength"), L"");
    EXPECT_EQ(TakeLog().find("Error loading level sticker data"), std::string::npos);

    // Once chosen, the profile gets its starters under its own prefix.
    Current()->WriteValue(L"AccountID", L"101");
    EXPECT_GE(stickers.unlockRandomSticker(), 0);
    EXPECT_EQ(Current()->ReadValue(L"101_StickerCount", 0), 4);
}

TEST_F(StickerManagerTest, OddListSizesAndFailedWritesNeverStopTheGame)
{
    // No list at all: nothing to win, nothing stored.
    stickers.loadUnlockedStickerData();
    EXPECT_EQ(stickers.unlockRandomSticker(), -1);
    EXPECT_FALSE(stickers.isAllUnlocked());
    EXPECT_EQ(Current()->ReadValue(L"101_StickerUnlockArray"), L"");

    LoadStickers(200);
    stickers.loadUnlockedStickerData();
    EXPECT_EQ(stickers.getUnlockedBits().size(), 150u);
    EXPECT_NE(TakeLog().find("only the first 150 are used"), std::string::npos);
    EXPECT_EQ(Current()->ReadValue(L"StickerArrayLength", 0), 150);

    user->SetFailRename(true);
    EXPECT_GE(stickers.unlockRandomSticker(), 0);
    EXPECT_EQ(stickers.getUnlockedCount(), 4);
    EXPECT_NE(TakeLog().find("Could not store the unlocked stickers"), std::string::npos);
}

} // namespace
