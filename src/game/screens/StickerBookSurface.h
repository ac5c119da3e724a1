#pragma once

// The sticker book's page and the sticker in hand. A sticker chosen in the list becomes a Sticker: a
// copy of its picture that follows the pointer until the next click. A click on the page sticks it
// there, where it was dropped; a click anywhere else puts it back (the copy goes). The page keeps what
// was stuck on it for as long as the book is open.

#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "game/HeldItem.h"

#include <utility>
#include <vector>

namespace Strata
{
class ObjectDatabase;
class SceneNode;
} // namespace Strata

namespace Yardcrew
{

// One pick-up of a sticker; it ends itself once the sticker is put down or back.
class Sticker final : public HeldDragSource<Sticker*>
{
public:
    explicit Sticker(int sticker) : HeldDragSource<Sticker*>(this), mSticker(sticker) {}

    // A new sticker of that index in `database`, which owns it.
    static Sticker* AddTo(Strata::ObjectDatabase& database, int sticker);

    int getSticker() const { return mSticker; }
    // Picks up a copy of `picture` from the pointer at (x, y), carried under `layer`. False when nothing
    // could be picked up (a missing sticker image, or something already in hand); the sticker then ends.
    bool takeInHand(Strata::SceneNode& picture, Strata::SceneNode& layer, int x, int y);

private:
    void DoOnCancel() override;
    void DoOnReleased() override;

    int mSticker;
};

class StickerBookSurface final : public DragTarget<Sticker*>
{
public:
    struct sPlacedSticker
    {
        int sticker;
        // The top-left corner in the page's frame.
        Strata::Vector2<float> location;
    };

    // The surface of `page` in `database`, which owns it; the page then takes hits, and while the
    // pointer is over it the page is where a sticker goes.
    static StickerBookSurface* AddTo(Strata::ObjectDatabase& database, Strata::SceneNode& page);

    // Sticks the sticker where its copy was dropped, moved in just enough to lie wholly on the page.
    void DropActivated(Sticker* sticker) override;

    // What is stuck on the page, oldest first; stickers whose node is gone are left out.
    std::vector<sPlacedSticker> getPlacedStickers() const;
    Strata::SceneNode* getPage() const;

private:
    StickerBookSurface(Strata::ObjectDatabase& database, Strata::SceneNode& page);

    // The database that owns this surface, the page and the stickers on it.
    Strata::ObjectDatabase* mDatabase;
    Strata::ObjectID mPage;
    std::vector<std::pair<int, Strata::ObjectID>> mPlaced;
};

} // namespace Yardcrew
