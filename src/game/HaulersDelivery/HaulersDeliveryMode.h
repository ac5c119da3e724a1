#pragma once

// The cargo-pattern game: a train of six carts stands on the playfield, the first the hauler truck,
// the next four loaded after a pattern of letters and the last one empty. The child clicks the cargo
// that continues the pattern among five choices; the crane hook lifts it into the empty cart. Right:
// the train drives off and the round ends. Wrong: the hoist is sad, a voice says what differs, and the
// cargo is lifted away for good, leaving one choice fewer. Repeating rounds.

#include "framework/ObjectID.h"
#include "game/HaulersDelivery/HaulersDeliveryLevel.h"
#include "game/MiniGameMode.h"

#include <deque>
#include <vector>

namespace Yardcrew
{

class DeliveryCart;
class DeliveryObject;

// The carts of a train, the truck first; the last is the empty one.
constexpr int kHaulersDeliveryCarts = 6;
constexpr int kHaulersDeliveryChoices = 5;

class HaulersDeliveryMode final : public MiniGameModeOf<HaulersDeliveryLevel>
{
public:
    HaulersDeliveryMode(bool firstRound, int roundsLeft);

    // The base's set-up with the mask shown, then the hoist's voice on a click.
    void Setup() override;

    // Draws the pattern to play and the cargo types of this round: entries 0 to 2 stand for the
    // letters A to C, 3 and 4 are the decoys, all thirteen different. Answers the pattern's index.
    int generatePatternIndexMapping(const HaulersDeliveryLevel& level);
    // A click on a choice: ignored while a delivery runs, else the hook delivers it to the empty cart.
    // While it runs the other choices are dimmed; after a wrong one they take clicks again once the voice
    // has said so and the cargo has left the cart.
    void buttonClicked(DeliveryObject* cargo);
    // The right cargo lies in the empty cart: the train leaves.
    void patternComplete();
    // The train drives off and the round ends; once.
    void playOutroAnimation();
    void changeAllCartAnimations(const char* animation);

    const std::vector<HaulersDeliveryType>& getPatternIndexMapping() const { return mPatternIndexMapping; }
    // The carts in train order, the truck first.
    std::vector<DeliveryCart*> getCarts() const;
    // The choices still there, in the order of their places.
    std::vector<DeliveryObject*> getChoices() const;
    bool isDelivering() const { return mDelivering; }

protected:
    void initializeLevel(const HaulersDeliveryLevel& level) override;
    // The empty train still drives in.
    void startWithoutLevel() override { playIntroAnimation(); }

private:
    void setupDeliveryPatterns(const HaulersDeliveryLevel& level);
    void setupDeliveryButtons();
    void playIntroAnimation();
    void cargoRemoved(Strata::ObjectID cargo);
    // One part of a wrong answer's feedback is over; the last one opens the choices again.
    void feedbackPartEnded();
    void dimChoices(bool dim);

    std::vector<HaulersDeliveryType> mPatternIndexMapping;
    // The empty carts still to fill, in order; the database owns them.
    std::deque<Strata::ObjectID> mPendingCarts;
    std::vector<Strata::ObjectID> mCarts;
    std::vector<Strata::ObjectID> mChoices;
    bool mDelivering = false;
    // Parts of a wrong answer's feedback still running: the voice and the cargo's way out.
    int mFeedbackParts = 0;
};

} // namespace Yardcrew
