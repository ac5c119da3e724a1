#pragma once

// Gives a profile exactly the stickers a test needs, written as the game stores them: a flag word per
// sticker under "<AccountID>_StickerUnlockArray" and the list's length as it was when they were won.

#include "framework/Account.h"
#include "game/AccountKeys.h"
#include "game/StickerManager.h"

#include <cstdint>
#include <vector>

namespace GameTesting
{

inline bool GiveStickers(Strata::Account& profile, const std::vector<int>& stickers, int listLength)
{
    uint8_t flags[Yardcrew::StickerManager::kMaxStickers * 4] = {};
    for (int sticker : stickers)
        flags[sticker * 4 + 3] = 1; // big-endian words
    const std::wstring key = Yardcrew::MakeProfileKey(profile, L"_StickerUnlockArray");
    return profile.WriteBinary(key.c_str(), flags, sizeof flags) == sizeof flags &&
           profile.WriteValue(L"StickerArrayLength", listLength);
}

} // namespace GameTesting
