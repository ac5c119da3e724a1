#pragma once

// The street-signs game: signs of different colours and shapes stand by the road and the crew's truck
// drives up. The foreman names a colour or a shape; the child clicks the sign that has it, which is
// lifted into the truck, and the foreman names the next. A wrong sign wobbles, the voice says so and
// names the trait again. Once the level's asks are answered the truck drives off and the round ends.
// Repeating rounds.

#include "framework/ObjectID.h"
#include "game/MiniGameMode.h"
#include "game/StreetSigns/StreetSignLevel.h"

#include <vector>

namespace Yardcrew
{

class StreetSign;

class StreetSignsMode final : public MiniGameModeOf<StreetSignLevel>
{
public:
    // With loops -1 the rounds come from "RepeatedGameNumLoops" at the current difficulty; another
    // value n plays n - 1 more rounds after this one.
    StreetSignsMode(bool firstRound, int loops);

    // A click on a sign: ignored while a sign flies or once the truck leaves; else the right sign is
    // lifted into the truck and a wrong one wobbles.
    void streetSignClicked(StreetSign* sign);
    // A sign has landed in the truck: the next ask, or the outro after the last.
    void checkLevelEnding();
    // Speaks the current ask; nothing once every ask is answered.
    void playTraitVocal();
    // The driver's bubble shows the current ask; hidden once every ask is answered.
    void showCurrentAsk();
    // The truck honks and drives off and the round ends; once.
    void playOutroAnimation();

    const sStreetSignRound& getRound() const { return mRound; }
    // The ask waiting for an answer; the trait None once all are answered.
    sStreetSignAsk getCurrentAsk() const;
    int getAskIndex() const { return mAskIndex; }
    // The signs still alive, in their places' order (those in the truck too).
    std::vector<StreetSign*> getSigns() const;
    bool isLifting() const { return mLifting; }

protected:
    void initializeLevel(const StreetSignLevel& level) override;

private:
    void placeSigns();
    void playIntroAnimation();

    sStreetSignRound mRound;
    std::vector<Strata::ObjectID> mSigns;
    int mAskIndex = 0;
    bool mLifting = false;
};

} // namespace Yardcrew
