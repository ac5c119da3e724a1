#pragma once

// Every resource name the sticker book's code asks for, declared once: the book, its list and its page
// read each name from here, and the book's screen description hands them to the content check.

#include "game/ContentNames.h"

namespace Yardcrew::StickerBookContent
{

// The stickers by index, as profiles store them: at most as many as a profile keeps flags for.
inline constexpr sContentName kStickers{ContentKind_ImageList, "AllStickersList", 1, 150};
// One place in the list: a button whose child "Picture" shows the sticker.
inline constexpr sContentName kSlotLayout{ContentKind_SceneLayout, "StickerSlotLayout"};
inline constexpr const char* kSlotPicture = "Picture";

inline constexpr sContentName kPickUp{ContentKind_Sound, "SFX_SelectItem"};
inline constexpr sContentName kStick{ContentKind_Sound, "SFX_ObjectStick"};
inline constexpr sContentName kPutBack{ContentKind_Sound, "SFX_Whoosh"};

// Spoken when the book opens, and once when the first sticker sticks.
inline constexpr sContentName kPrompt{ContentKind_Voice, "StickerBook_Prompt"};
inline constexpr sContentName kFirstStuck{ContentKind_Voice, "StickerBook_FirstSticker"};

} // namespace Yardcrew::StickerBookContent
