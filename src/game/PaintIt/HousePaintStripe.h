#pragma once

// One board of the fence: painted in its colour, or bare and waiting for the colour the pattern asks
// for. Painting and scraping are animations of the board's picture; each call appends them at once and
// makes the stripe object's own chain wait until the paint is on, or off, so whatever the game appends
// to the stripe afterwards runs only then.

#include "game/PaintIt/PaintItContent.h"
#include "game/PlayfieldObject.h"

namespace Yardcrew
{

class HousePaintStripe final : public PlayfieldObject
{
public:
    // `color` is the board's paint when `painted`, else the colour the pattern asks of it.
    HousePaintStripe(HousePaintColor color, bool painted);

    void Update(float) override {}
    Strata::Label GetRole() const override;

    HousePaintColor getColor() const { return mColor; }
    bool isPainted() const { return mPainted; }
    // The colour of the board's picture now: the last paint put on it, or its own colour.
    HousePaintColor getShownColor() const { return mShown; }

    void showRollover(bool show);
    // Shows the board bare in that colour's picture, then paints it ("AddPaint" to its end).
    void startPainting(HousePaintColor color);
    // Scrapes the paint off again ("RemovePaint" to its end), keeping the picture's colour.
    void removePaint();

    Strata::SceneNode* getImageNode() const;
    Strata::SceneNode* getRolloverNode() const;

private:
    void playPaintAnimation(const char* animation);

    HousePaintColor mColor;
    HousePaintColor mShown;
    bool mPainted;
};

} // namespace Yardcrew
