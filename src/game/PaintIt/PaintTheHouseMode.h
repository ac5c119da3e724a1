#pragma once

// The fence-painting game: a fence of ten boards, the six on the left painted after a pattern of
// letters, the four on the right bare. The child picks one of three paint buckets (the pointer becomes
// a brush of that colour) and clicks the fence: the lift truck raises the foreman, who paints the
// leftmost bare board. Right: the paint stays and the truck drives on to the next bare board. Wrong: a
// voice says so and the paint is scraped off again. The fourth right board ends the round. Repeating
// rounds.

#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "game/MiniGameMode.h"
#include "game/PaintIt/PaintItContent.h"
#include "game/PaintIt/PaintItLevel.h"

#include <deque>
#include <vector>

namespace Strata
{
class AnimatedSpriteNode;
}

namespace Yardcrew
{

class HousePaintBucket;
class HousePaintStripe;

constexpr int kPaintItBuckets = 3;

class PaintTheHouseMode final : public MiniGameModeOf<PaintItLevel>
{
public:
    PaintTheHouseMode(bool firstRound, int roundsLeft);

    // The base's set-up, then the fence's click area connected.
    void Setup() override;
    // The clean brush until a colour is picked, then the brush of that colour.
    void setupCursor() override;

    // A bucket was pressed: its colour is the brush's from now on, also while the truck works (the board
    // being painted keeps the colour it was started with).
    void bucketClicked(HousePaintBucket* bucket);
    // The pointer over the fence lights the next board to paint; nothing when none is left.
    void mouseEnterFence();
    void mouseExitFence();
    // With a colour, the truck paints the next bare board; without one, the first hint is spoken.
    // Nothing while painting or when no board is left.
    void mouseClickOnFence();

    HousePaintColor getSelectedColor() const { return mSelectedColor; }
    // The colours of the letters A, B and C, then the fourth colour, shown nowhere.
    const std::vector<HousePaintColor>& getBucketColors() const { return mBucketColors; }
    // The ten boards from left to right.
    std::vector<HousePaintStripe*> getStripes() const;
    // The bare boards still to paint, the next first.
    std::vector<HousePaintStripe*> getStripesToPaint() const;
    // The buckets in the order of their places.
    std::vector<HousePaintBucket*> getBuckets() const;
    Strata::SceneNode* getFenceClickArea() const;
    // The lift truck: the node moved from board to board and its animated sprite.
    Strata::SceneNode* getTruck() const;
    Strata::AnimatedSpriteNode* getTruckSprite() const;
    bool isPainting() const { return mPainting; }

protected:
    void initializeLevel(const PaintItLevel& level) override;

private:
    // Draws the round's pattern and bucket colours and puts up the ten boards, the first six painted.
    void setupFenceBoards(const PaintItLevel& level);
    // One bucket per colour of the pattern, in places shuffled each round.
    void setupPaintBuckets();
    void startPaintingSequence();
    void finishPaintingSequence();
    void playOutroAnimation();
    // Where the truck stands to paint that board.
    Strata::Vector2<float> truckPlace(const HousePaintStripe& stripe) const;

    HousePaintColor mSelectedColor = HousePaintColor_None;
    // The colour of the board being painted.
    HousePaintColor mPaintingColor = HousePaintColor_None;
    std::vector<HousePaintColor> mBucketColors;
    // The database owns the boards and the buckets.
    std::vector<Strata::ObjectID> mStripes;
    std::deque<Strata::ObjectID> mStripesToPaint;
    std::vector<Strata::ObjectID> mBuckets;
    // Where the truck stands at the start, before the first bare board.
    Strata::Vector2<float> mTruckHome{0, 0};
    bool mPainting = false;
};

} // namespace Yardcrew
