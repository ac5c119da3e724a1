#include "game/PaintIt/PaintTheHouseMode.h"

#include "core/Random.h"
#include "framework/TimedTask.h"
#include "game/AudioManager.h"
#include "game/EnumTypeDeck.h"
#include "game/MiniGamePattern.h"
#include "game/MiniGameSequence.h"
#include "game/PaintIt/HousePaintBucket.h"
#include "game/PaintIt/HousePaintStripe.h"
#include "game/PaintIt/PaintItGame.h"
#include "scene/NodeMotionTasks.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include <algorithm>
#include <memory>
#include <string>

namespace Yardcrew
{

namespace
{

namespace Names = PaintItContent;
using Point = Strata::Vector2<float>;

// Boards stand this far apart under "HouseRoot".
constexpr float kStripeSpacing = 70;
constexpr float kDriveSeconds = 1.0f;
constexpr float kWrongPause = 2.0f;
constexpr float kOutroPause = 2.0f;

Strata::SceneNode* PlayfieldPlace(const std::string& name)
{
    return PlayfieldNode(name);
}

// The truck raises the foreman and starts painting, then waits for the board.
void QueueRaise(Strata::SceneNode& truck)
{
    truck.AddTask(PlayEffectTask(Names::kReachArm.name));
    truck.AddTask(PlayAnimationTask("Raise"));
    truck.AddTask(StartAnimationTask(Names::kTruckForemanPaint));
}

void QueueLower(Strata::SceneNode& truck)
{
    truck.AddTask(PlayEffectTask(Names::kReachArm.name));
    truck.AddTask(PlayAnimationTask("Lower"));
}

} // namespace

PaintTheHouseMode::PaintTheHouseMode(bool firstRound, int roundsLeft)
    : MiniGameModeOf(PaintItDescription(), firstRound, roundsLeft)
{
}

void PaintTheHouseMode::Setup()
{
    MiniGameMode::Setup();
    // The buckets stand above the mask, so a colour picked while the truck works is never lost: the
    // next board is painted with it.
    if (Strata::SceneNode* mask = getInputMask(); mask != nullptr && mask->GetParent() != nullptr)
        for (int place = 0; place < kPaintItBuckets; ++place)
            if (Strata::SceneNode* bucket = PlayfieldPlace("Bucket" + std::to_string(place + 1));
                bucket != nullptr && bucket->GetParent() == mask->GetParent())
            {
                bucket->DetachFromParent();
                mask->GetParent()->AttachChild(bucket);
            }
    // With no level the fence stays connected but finds no board, so a click does nothing.
    if (Strata::SceneNode* fence = getFenceClickArea())
    {
        fence->mouseEnterSignal.connect([this](Strata::SceneNode*) { mouseEnterFence(); });
        fence->mouseExitSignal.connect([this](Strata::SceneNode*) { mouseExitFence(); });
        fence->mouseDownSignal.connect([this](Strata::SceneNode*, Strata::MouseButton, int, int)
                                       { mouseClickOnFence(); });
        fence->hitTest = true;
    }
}

void PaintTheHouseMode::initializeLevel(const PaintItLevel& level)
{
    setupFenceBoards(level);
    setupPaintBuckets();
    if (Strata::SceneNode* truck = getTruck())
    {
        mTruckHome = truck->LocalGetLocation();
        const std::vector<HousePaintStripe*> bare = getStripesToPaint();
        if (!bare.empty())
            mTruckHome = truckPlace(*bare.front());
        truck->LocalSetLocation(mTruckHome);
    }
    maskMouseInput(false);
}

void PaintTheHouseMode::setupFenceBoards(const PaintItLevel& level)
{
    // A playable level has a pattern and every pattern a letter, so every board has a colour.
    if (level.patterns.empty())
        return;
    const int last = static_cast<int>(level.patterns.size()) - 1;
    const std::vector<int32_t>& pattern =
        level.patterns[static_cast<size_t>(std::clamp(Strata::Random::GetIntRange(0, last), 0, last))];
    EnumTypeDeck<HousePaintColor> colors(HousePaintColor_Count);
    mBucketColors.clear();
    while (colors.getRemaining() > 0)
        mBucketColors.push_back(colors.DrawCard());

    Strata::SceneNode* house = PlayfieldNode("HouseRoot");
    for (int k = 0; k < kPaintItStripes; ++k)
    {
        const int32_t letter = PaintItLevel::LetterAt(pattern, static_cast<size_t>(k));
        if (letter < 0 || letter >= kLetterPatternLetters)
            return;
        const bool painted = k < kPaintItPaintedStripes;
        auto* stripe = addPlayfieldObject<HousePaintStripe>(house, "HouseRoot",
                                                            mBucketColors[static_cast<size_t>(letter)], painted);
        if (stripe == nullptr)
            return;
        if (Strata::SceneNode* node = stripe->LayoutRoot())
            node->LocalSetLocation(kStripeSpacing * static_cast<float>(k), 0);
        mStripes.push_back(stripe->GetID());
        if (!painted)
            mStripesToPaint.push_back(stripe->GetID());
    }
}

void PaintTheHouseMode::setupPaintBuckets()
{
    if (mBucketColors.size() < static_cast<size_t>(kPaintItBuckets))
        return;
    // Which place holds letter A's colour changes from round to round.
    EnumTypeDeck<int> order(kPaintItBuckets);
    for (int place = 0; place < kPaintItBuckets; ++place)
    {
        const std::string name = "Bucket" + std::to_string(place + 1);
        auto* bucket = addPlayfieldObject<HousePaintBucket>(PlayfieldPlace(name), name,
                                                            mBucketColors[static_cast<size_t>(order.DrawCard())]);
        if (bucket == nullptr)
            continue;
        mBuckets.push_back(bucket->GetID());
        bucket->pressedSignal.connect([this, bucket] { bucketClicked(bucket); });
    }
}

std::vector<HousePaintStripe*> PaintTheHouseMode::getStripes() const
{
    return LiveObjects<HousePaintStripe>(*this, mStripes);
}

std::vector<HousePaintStripe*> PaintTheHouseMode::getStripesToPaint() const
{
    return LiveObjects<HousePaintStripe>(*this, {mStripesToPaint.begin(), mStripesToPaint.end()});
}

std::vector<HousePaintBucket*> PaintTheHouseMode::getBuckets() const
{
    return LiveObjects<HousePaintBucket>(*this, mBuckets);
}

Strata::SceneNode* PaintTheHouseMode::getFenceClickArea() const
{
    return PlayfieldNode("FenceClickRect");
}

Strata::SceneNode* PaintTheHouseMode::getTruck() const
{
    return PlayfieldNode("AnimNodeRoot");
}

Strata::AnimatedSpriteNode* PaintTheHouseMode::getTruckSprite() const
{
    return PlayfieldNode<Strata::AnimatedSpriteNode>("AnimNodeRoot", "ReachAnimNode");
}

Point PaintTheHouseMode::truckPlace(const HousePaintStripe& stripe) const
{
    // The truck and the fence share the playfield's frame; the truck keeps its own height.
    const Strata::SceneNode* house = PlayfieldNode("HouseRoot");
    const Strata::SceneNode* board = stripe.LayoutRoot();
    const Strata::SceneNode* truck = getTruck();
    if (house == nullptr || board == nullptr || truck == nullptr)
        return mTruckHome;
    return Point(house->LocalGetLocation().x + board->LocalGetLocation().x, truck->LocalGetLocation().y);
}

void PaintTheHouseMode::setupCursor()
{
    if (mSelectedColor == HousePaintColor_None)
        MiniGameMode::setupCursor();
    else
        SetGameCursor(Names::kBrushes[mSelectedColor].name, Names::kCursorHotSpot.name);
}

void PaintTheHouseMode::bucketClicked(HousePaintBucket* bucket)
{
    if (bucket == nullptr || bucket->getColor() < 0 || bucket->getColor() >= HousePaintColor_Count)
        return;
    resetHintTimer(2);
    mSelectedColor = bucket->getColor();
    setupCursor();
}

void PaintTheHouseMode::mouseEnterFence()
{
    if (HousePaintStripe* next =
            mStripesToPaint.empty() ? nullptr : dynamic_cast<HousePaintStripe*>(GetObject(mStripesToPaint.front())))
        next->showRollover(true);
}

void PaintTheHouseMode::mouseExitFence()
{
    if (HousePaintStripe* next =
            mStripesToPaint.empty() ? nullptr : dynamic_cast<HousePaintStripe*>(GetObject(mStripesToPaint.front())))
        next->showRollover(false);
}

void PaintTheHouseMode::mouseClickOnFence()
{
    if (mPainting || mOutroStarted || mStripesToPaint.empty())
        return;
    resetHintTimer(1);
    if (mSelectedColor == HousePaintColor_None)
    {
        GetAudioManager()->playSFX(Strata::Label(Names::kFirstHint.name));
        return;
    }
    startPaintingSequence();
}

void PaintTheHouseMode::startPaintingSequence()
{
    auto* stripe =
        mStripesToPaint.empty() ? nullptr : dynamic_cast<HousePaintStripe*>(GetObject(mStripesToPaint.front()));
    Strata::AnimatedSpriteNode* truck = getTruckSprite();
    if (stripe == nullptr || truck == nullptr)
        return;
    mPainting = true;
    mPaintingColor = mSelectedColor;
    maskMouseInput(true);
    stripe->showRollover(false);
    // The board is painted while the foreman is up, and the truck comes down only once the paint is on.
    QueueRaise(*truck);
    Meet({truck, stripe});
    stripe->startPainting(mSelectedColor);
    Meet({truck, stripe});
    QueueLower(*truck);
    QueueCall(*truck, [this] { finishPaintingSequence(); });
}

void PaintTheHouseMode::finishPaintingSequence()
{
    auto* stripe =
        mStripesToPaint.empty() ? nullptr : dynamic_cast<HousePaintStripe*>(GetObject(mStripesToPaint.front()));
    Strata::AnimatedSpriteNode* truck = getTruckSprite();
    Strata::SceneNode* root = getTruck();
    Strata::SceneNode* mask = getInputMask();
    if (stripe == nullptr || truck == nullptr || root == nullptr)
        return;
    // Judged by the paint on the board: a bucket pressed meanwhile is for the next board.
    if (mPaintingColor == stripe->getColor())
    {
        mStripesToPaint.pop_front();
        GetAudioManager()->playInGameFeedbackVocal(true);
        GetAudioManager()->playSFX(Strata::Label(Names::kReachMove.name));
        truck->AddTask(StartAnimationTask(Names::kTruckDrive));
        const std::vector<HousePaintStripe*> left = getStripesToPaint();
        root->AddTask(std::make_unique<Strata::NodeLocationTask>(left.empty() ? mTruckHome : truckPlace(*left.front()),
                                                                 kDriveSeconds));
        Meet({root, truck});
        truck->AddTask(StartAnimationTask(Names::kTruckIdle));
    }
    else
    {
        // The same board stays next and the brush keeps its colour: the child may try another bucket.
        GetAudioManager()->playSpecificSoundVocal(Strata::Label(Names::kWrongColor.name));
        truck->AddTask(std::make_unique<Strata::TimedTask>(kWrongPause));
        QueueRaise(*truck);
        Meet({truck, stripe});
        stripe->removePaint();
        Meet({truck, stripe});
        QueueLower(*truck);
    }
    if (mStripesToPaint.empty())
    {
        // The mask stays up; the closing words play while the truck drives back.
        playOutroAnimation();
        return;
    }
    Meet({truck, mask});
    QueueCall(mask != nullptr ? static_cast<Strata::Object&>(*mask) : *truck,
              [this]
              {
                  mPainting = false;
                  maskMouseInput(false);
              });
}

void PaintTheHouseMode::playOutroAnimation()
{
    auto* sequence = GetObject(getSequenceObjectID());
    if (mOutroStarted || sequence == nullptr)
        return;
    mOutroStarted = true;
    const bool last = getRoundsLeft() <= 0;
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(last ? Names::kGameComplete.name : Names::kKeepGoing.name));
    sequence->AddTask(std::make_unique<Strata::TimedTask>(kOutroPause));
    queueEndOfRound(*sequence);
}

} // namespace Yardcrew
