#include "game/StickerManager.h"

#include "core/Log.h"
#include "core/Random.h"
#include "framework/Account.h"
#include "framework/ResourceDescriptor.h"
#include "game/AccountKeys.h"
#include "game/screens/StickerBookContent.h"
#include "graphics/ImageList.h"

namespace Yardcrew
{

namespace
{

constexpr const wchar_t* kUnlockArraySuffix = L"_StickerUnlockArray";
constexpr const wchar_t* kCountSuffix = L"_StickerCount";
constexpr const wchar_t* kArrayLengthKey = L"StickerArrayLength";
constexpr unsigned long kFlagBytes = StickerManager::kMaxStickers * 4;

int CountStickerImages()
{
    const char* const name = StickerBookContent::kStickers.name;
    const Strata::AutoResource<Strata::IImageList> list(name);
    if (list.Get() == nullptr)
    {
        // Every game's end would then show a complete book: say why, once.
        static bool told = false;
        if (!told)
            Strata::Internal::LogWrite("Sticker list \"%s\" is missing: no sticker can be won\n", name);
        told = true;
        return 0;
    }
    const int count = list->GetNumImages();
    if (count > StickerManager::kMaxStickers)
    {
        Strata::Internal::LogWrite("Sticker list \"%s\" holds %d images; only the first %d are used\n", name, count,
                                   StickerManager::kMaxStickers);
        return StickerManager::kMaxStickers;
    }
    return count < 0 ? 0 : count;
}

} // namespace

StickerManager::StickerManager() = default;

bool StickerManager::isLoadedProfileCurrent() const
{
    Strata::Account* account = GetCurrentProfileAccount();
    if (account != mLoadedAccount)
        return false;
    return account == nullptr || account->ReadValue(L"AccountID") == mLoadedAccountID;
}

void StickerManager::loadUnlockedStickerData()
{
    Strata::Account* account = GetCurrentProfileAccount();
    const int count = CountStickerImages();

    // Nothing of the previous profile may leak into this one, the all-unlocked flag least of all:
    // it would refuse the new profile its starters.
    mLoaded = true;
    mLoadedAccount = account;
    mLoadedAccountID = account != nullptr ? account->ReadValue(L"AccountID") : std::wstring();
    mUnlockedFlags.fill(0);
    mUnlockedBits.assign(static_cast<size_t>(count), false);
    mUnlockedCount = 0;
    mAllUnlocked = false;
    if (account == nullptr)
        return;

    // Stickers are only ever appended to the list, so flags stored for a shorter list stay valid.
    const int storedCount = account->ReadValue(kArrayLengthKey, 0);
    bool haveFlags = false;
    if (storedCount == count || (storedCount > 0 && storedCount < count))
    {
        uint8_t bytes[kFlagBytes] = {};
        const std::wstring key = MakeProfileKey(*account, kUnlockArraySuffix);
        if (account->ReadBinary(key.c_str(), bytes, kFlagBytes) == kFlagBytes)
        {
            for (int i = 0; i < storedCount; ++i)
            {
                const uint8_t* word = bytes + i * 4;
                mUnlockedFlags[static_cast<size_t>(i)] = (uint32_t(word[0]) << 24) | (uint32_t(word[1]) << 16) |
                                                         (uint32_t(word[2]) << 8) | uint32_t(word[3]);
            }
            haveFlags = true;
        }
        else
        {
            Strata::Log("Error loading level sticker data\n");
        }
    }
    if (!haveFlags)
        for (int starter = 0; starter < 3; ++starter)
            unlockNext();

    mUnlockedCount = 0;
    for (int i = 0; i < count; ++i)
    {
        const bool unlocked = mUnlockedFlags[static_cast<size_t>(i)] != 0;
        mUnlockedBits[static_cast<size_t>(i)] = unlocked;
        mUnlockedCount += unlocked ? 1 : 0;
    }
    mAllUnlocked = count > 0 && mUnlockedCount == count;

    if (!account->WriteValue(kArrayLengthKey, count))
        Strata::Log("Could not store the sticker list's length in the profile\n");
}

int StickerManager::unlockRandomSticker()
{
    if (!mLoaded || !isLoadedProfileCurrent())
        loadUnlockedStickerData();
    return unlockNext();
}

int StickerManager::unlockNext()
{
    if (mAllUnlocked)
        return -2;
    const int count = static_cast<int>(mUnlockedBits.size());
    if (count == 0)
        return -1;
    const int start = Strata::Random::GetIntRange(count - 1);
    for (int step = 0; step < count; ++step)
    {
        const int index = (start + step) % count;
        if (!mUnlockedBits[static_cast<size_t>(index)])
        {
            mUnlockedBits[static_cast<size_t>(index)] = true;
            mUnlockedFlags[static_cast<size_t>(index)] = 1;
            ++mUnlockedCount;
            storeFlags();
            return index;
        }
    }
    mAllUnlocked = true;
    return -1;
}

void StickerManager::storeFlags()
{
    Strata::Account* account = GetCurrentProfileAccount();
    if (account == nullptr || account != mLoadedAccount)
        return;
    uint8_t bytes[kFlagBytes];
    for (size_t i = 0; i < mUnlockedFlags.size(); ++i)
    {
        const uint32_t word = mUnlockedFlags[i];
        bytes[i * 4] = static_cast<uint8_t>(word >> 24);
        bytes[i * 4 + 1] = static_cast<uint8_t>(word >> 16);
        bytes[i * 4 + 2] = static_cast<uint8_t>(word >> 8);
        bytes[i * 4 + 3] = static_cast<uint8_t>(word);
    }
    const std::wstring key = MakeProfileKey(*account, kUnlockArraySuffix);
    const bool stored = account->WriteBinary(key.c_str(), bytes, kFlagBytes) == kFlagBytes;
    const bool counted = account->WriteValue(MakeProfileKey(*account, kCountSuffix), static_cast<int>(mUnlockedCount));
    if (!stored || !counted)
        Strata::Log("Could not store the unlocked stickers in the profile\n");
}

void StickerManager::resetUnlockedStickerData()
{
    mUnlockedCount = 0;
    if (Strata::Account* account = GetCurrentProfileAccount())
    {
        account->DeleteValue(MakeProfileKey(*account, kUnlockArraySuffix).c_str());
        account->DeleteValue(MakeProfileKey(*account, kCountSuffix).c_str());
    }
    // The book on screen must not keep showing the old stickers.
    loadUnlockedStickerData();
}

StickerManager& GetStickerManager()
{
    static StickerManager manager;
    return manager;
}

} // namespace Yardcrew
