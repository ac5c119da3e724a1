#pragma once

#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

class StickerBookSurface;
class StickerList;

// The sticker book: the current profile's unlocked stickers in a list that turns its pages, and a page
// to stick them on. A click on a sticker takes a copy in hand; a click on the page sticks it there, a
// click anywhere else puts it back (a press on a button is the button's, after the sticker went back).
// What is stuck lasts while the book is open. The back button closes the book, which the main menu's
// Stickers button and the story's end open above the main menu.
class StickerBookMode : public MenuScreen
{
public:
    StickerBookMode();

    // Instantiates "StickerBookLayout", loads the current profile's stickers and fills the list from
    // them. Without the layout's "Page" or "StickerList" the book shows what it has.
    void Setup() override;
    // Notes where the click ends, so a sticker taken by it starts under the pointer.
    Strata::MessageResult OnMouseUp(Strata::MouseButton button, int x, int y) override;

    // Null when the layout had no place for them.
    StickerList* getStickerList() const;
    StickerBookSurface* getSurface() const;

    static const sMenuScreen kScreen;

private:
    void takeSticker(int sticker, Strata::SceneNode* picture);

    Strata::ObjectID mList;
    Strata::ObjectID mSurface;
    Strata::ObjectID mCarryLayer;
    Strata::Vector2<int> mPointer{0, 0};
};

} // namespace Yardcrew
