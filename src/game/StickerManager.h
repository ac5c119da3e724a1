#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{
class Account;
}

namespace Yardcrew
{

// Keeps the current profile's unlocked stickers: a sticker is an image index of "AllStickersList".
// The flags are stored in the profile under "<AccountID>_StickerUnlockArray" as 150 big-endian 32-bit
// words; the sticker list only ever grows, so a profile keeps its flags when stickers are added.
// Main thread only.
class StickerManager
{
public:
    static constexpr int kMaxStickers = 150;

    StickerManager();

    // Loads the current profile's stickers, granting three starter stickers to a profile with none.
    // A damaged flags value is logged and read as no stickers; with no current account every sticker
    // reads as locked and nothing is stored.
    void loadUnlockedStickerData();
    // Unlocks the first locked sticker at or after a random position and stores the flags and the
    // count in the profile. Returns its index; -1 when none is left (the all-unlocked flag is then
    // set) or when there are no stickers at all (nothing changes); -2 once the all-unlocked flag is set.
    // Reloads first when the current profile is not the one loaded.
    int unlockRandomSticker();
    // Removes the profile's stored stickers and count, then loads it again (so it gets new starters).
    void resetUnlockedStickerData();

    // One entry per sticker image, true when unlocked; read by the sticker book.
    const std::vector<bool>& getUnlockedBits() const { return mUnlockedBits; }
    int getUnlockedCount() const { return mUnlockedCount; }
    bool isAllUnlocked() const { return mAllUnlocked; }

private:
    // The unlock itself, for the profile already loaded.
    int unlockNext();
    // Writes the flags and the count into the loaded profile; a failure is logged and play goes on.
    void storeFlags();
    bool isLoadedProfileCurrent() const;

    std::array<uint32_t, kMaxStickers> mUnlockedFlags{};
    std::vector<bool> mUnlockedBits;
    int32_t mUnlockedCount = 0;
    bool mAllUnlocked = false;
    // Whose stickers are held: the account and its "AccountID" text at the last load.
    const Strata::Account* mLoadedAccount = nullptr;
    std::wstring mLoadedAccountID;
    bool mLoaded = false;
};

StickerManager& GetStickerManager();

} // namespace Yardcrew
