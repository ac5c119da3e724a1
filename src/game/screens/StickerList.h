#pragma once

// The sticker book's list: one button per sticker the profile has unlocked, laid out on pages of a grid
// that fills the list's area, with buttons to turn the pages. It connects to the click signals of its
// buttons and tells the book which sticker was chosen; locked stickers are not offered.

#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "scene/LazySignal.h"
#include "scene/SceneLayoutController.h"

#include <boost/signals2/connection.hpp>

#include <vector>

namespace Strata
{
class ButtonNode;
class SceneNode;
} // namespace Strata

namespace Yardcrew
{

class StickerList final : public Strata::SceneLayoutController
{
public:
    // One button per sticker the sticker manager holds unlocked, made from the slot layout, on pages of
    // as many rows and columns of buttons as fit in `area`. A missing slot layout is logged and leaves
    // the list empty.
    explicit StickerList(Strata::Vector2<float> area);

    Strata::SceneTreePtr GetLayoutNode() override;

    // Turns the pages with these buttons (either may be null): hidden while there is one page, disabled
    // at either end.
    void setPageButtons(Strata::ButtonNode* previous, Strata::ButtonNode* next);

    int getPageCount() const;
    int getPage() const { return mPage; }
    int getStickersPerPage() const { return mColumns * mRows; }
    // Shows that page, kept within the pages there are.
    void showPage(int page);

    // The stickers listed, by index, in the list's order; those on the page shown.
    const std::vector<int>& getStickers() const { return mStickers; }
    std::vector<int> getStickersShown() const;
    // The sticker's button and the picture on it; null when the sticker is not listed.
    Strata::ButtonNode* getStickerButton(int sticker) const;
    Strata::SceneNode* getStickerPicture(int sticker) const;

    // A sticker's button was clicked: the sticker and its picture.
    Strata::LazySignal<void(int sticker, Strata::SceneNode* picture)> stickerChosenSignal;

private:
    void layOut();
    Strata::ButtonNode* findButton(Strata::ObjectID id) const;

    Strata::SceneTreePtr mTree;
    std::vector<int> mStickers;
    // The buttons of mStickers, in the same order; they live as long as the list.
    std::vector<Strata::ButtonNode*> mButtons;
    Strata::Vector2<float> mArea;
    // Every slot is the size of the first.
    Strata::Vector2<float> mSlot{0.0f, 0.0f};
    int mColumns = 1;
    int mRows = 1;
    int mPage = 0;
    // The page buttons belong to the screen, which may outlive the list: held by identifier.
    Strata::ObjectID mPrevious;
    Strata::ObjectID mNext;
    boost::signals2::scoped_connection mPreviousClick;
    boost::signals2::scoped_connection mNextClick;
};

} // namespace Yardcrew
