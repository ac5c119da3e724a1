#pragma once

// The counting game: a tipper drives in and asks for a number of items of one material; the child
// clicks the pile that holds exactly that. The digger fetches the right pile round to the tipper, which
// drives off and ends the round; for a wrong pile it drives there while the game says what is wrong.

#include "core/Label.h"
#include "framework/ObjectID.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/YardcrewGameMode.h"

#include <boost/signals2/connection.hpp>

#include <vector>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class DraggableMaterial;
class MaterialLoader;
class MaterialTarget;

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
    // Judges a press on a pile.
    void MaterialClicked(DraggableMaterial* pile);
    // Says why the pile is not the one asked for: the kind first, then too few or too many.
    void playIncorrectMaterialVO(DraggableMaterial* pile);
    // Speaks the request again, cutting off whatever voice is playing.
    void playAudioRequest();

    int getRoundsLeft() const { return mRoundsLeft; }
    bool isFirstRound() const { return mFirstRound; }
    Strata::Label getLevel() const { return mLevel; }
    // The pile in that place (0 to 4); null for an empty place.
    DraggableMaterial* getPile(size_t place) const;
    MaterialTarget* getTipper() const;
    MaterialLoader* getDigger() const;

private:
    void playIntroAnimation(MaterialData request);
    void playOutroAnimation(DraggableMaterial* pile);
    void playWrongClickAnimation(DraggableMaterial* pile);
    void queueSpokenRequest(const MaterialData& request) const;
    void forwardMaskedPress(int x, int y);

    bool mFirstRound;
    int mRoundsLeft;
    Strata::Label mLevel;
    Strata::ObjectID mTipper;
    std::vector<Strata::ObjectID> mPiles;
    boost::signals2::scoped_connection mSortConnection;
};

} // namespace Yardcrew
