#pragma once

// The counting game: the tipper asks for a number of items of one material and the child clicks the
// pile that holds exactly that. A wrong pile is explained by voice; the right one ends the round.

#include "core/Label.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/YardcrewGameMode.h"

#include <boost/signals2/connection.hpp>

#include <vector>

namespace Strata
{
class SceneNode;
}

class CountTheMaterialsMode final : public YardcrewGameMode
{
public:
    // A run starts with (true, -1); each next round is made with (false, the rounds left).
    CountTheMaterialsMode(bool firstRound, int roundsLeft);
    ~CountTheMaterialsMode() override;

    // Builds the layout, draws a level of the current difficulty and starts the introduction.
    void Setup() override;
    // Replays the still pointer, so hover states follow nodes that move under it.
    void Update(float dt) override;
    void refreshMode() override;
    void setupCursor() override;

    // Builds the round from the level; a missing level leaves an empty playfield and one notice.
    void initializeLevel(Strata::Label level);
    // Judges a click on the pile in that place.
    void MaterialClicked(size_t place);
    // Speaks the request again, cutting off whatever voice is playing.
    void playAudioRequest();

    int getRoundsLeft() const { return mRoundsLeft; }
    bool isFirstRound() const { return mFirstRound; }
    Strata::Label getLevel() const { return mLevel; }
    // The piles in place order: place i holds pile i.
    const std::vector<MaterialData>& getPiles() const { return mPiles; }
    // The clickable node of the pile in that place; null past the last pile.
    Strata::SceneNode* getPileNode(size_t place) const;

private:
    void playIntroAnimation();
    void playOutroAnimation(size_t place);
    void playWrongClickAnimation(size_t place);
    void playIncorrectMaterialVO(const MaterialData& pile);
    void queueSpokenRequest();

    bool mFirstRound;
    int mRoundsLeft;
    Strata::Label mLevel;
    MaterialData mRequest;
    std::vector<MaterialData> mPiles;
    std::vector<Strata::SceneNode*> mPileNodes;
    bool mLevelOver = false;
    boost::signals2::scoped_connection mSortConnection;
};
